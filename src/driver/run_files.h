// The run's two files: set-up, early stop and closing.
#pragma once

#include "driver/console.h"
#include "driver/text_input.h"
#include "driver/text_output.h"

namespace ncabs {

// The input and output text streams, owned by the driver for the whole run.
struct RunFiles {
    InputStream input;
    OutputStream output;
};

// Obtains the input name (first argument, else the "INPUT-FILE NAME:"
// prompt), opens the input, obtains the output name (second argument, else
// the "OUTPUT-FILE NAME:" prompt), refuses an output that is the input, and
// opens (creates or empties) the output. Returns only when both are open;
// every failure writes its message and ends the run with status 1.
void open_run_files(int argc, char** argv, const Console& console, RunFiles& files);

// Writes out what is buffered for the output file and the console, then
// ends the process with status. Adds no message and keeps the partial output.
[[noreturn]] void stop_run(RunFiles& files, const Console& console, int status);

// Closes the input, then the output. Returns 0 when the whole run read its
// input and wrote its output without a failure, -1 otherwise.
int close_run_files(RunFiles& files);

}  // namespace ncabs
