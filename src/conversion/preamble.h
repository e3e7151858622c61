// Preamble pass and start position.
//
// The preamble is every line before the program's mode line: the first line
// that holds "G90", "G91" or "G92" and does not begin with "(". Its lines
// are copied as they stand. The start position then comes from the mode
// line when it is a G92 line, else from three console prompts.
#pragma once

#include "conversion/conversion_state.h"
#include "driver/console.h"
#include "driver/run_files.h"

namespace ncabs {

enum class PreambleEnd {
    ModeLine,       // the mode line waits, unwritten, in the line buffer
    InputEnded,     // the input ended (or a read failed) before a mode line
    EarlyPosition,  // an X, Y or Z stood before the mode line; warning written
};

// Copies the preamble to the output and returns with the mode line in line.
// On any other end the caller stops the run with status 1: nothing more is
// written, and for an early X, Y or Z the console has the warning.
PreambleEnd copy_preamble(RunFiles& files, const Console& console, LineBuffer& line);

// Settles the start position from the mode line in line. A G92 line gives
// it (the first X, Y and Z of the line, comments included) and is written
// unchanged; the mode is Absolute. Otherwise the console is asked for
// START-X, START-Y and START-Z, nothing is written, and the mode is
// StartLinePending so that the body pass converts the mode line first.
// Values follow the thousandths rule in both routes.
void establish_start_position(const LineBuffer& line, OutputStream& out, const Console& console,
                              ConversionState& state);

}  // namespace ncabs
