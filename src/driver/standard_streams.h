// The three standard streams of the process.
#pragma once

namespace ncabs {

// NOTE: a tool started with standard input, output or error closed would
// get its program or its output file in that slot, and would then read its
// answers from the program or write its prompts into the output. Each
// closed one is opened on the null device first.
void guard_standard_streams();

}  // namespace ncabs
