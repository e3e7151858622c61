// Body pass: every line after the start position, sorted into motion lines
// (rewritten) and pass-through lines (copied).
#pragma once

#include "conversion/conversion_state.h"
#include "conversion/line_facts.h"
#include "driver/run_files.h"

namespace ncabs {

// Converts the rest of the program. On the prompt route the mode line that
// waits in line is taken up first, without a read. Ends when no further
// line can be read, or after a last line without line end. A G28 or G30
// line holding G91 is copied and followed by the line G90; it leaves the
// mode and the position as they were.
void run_body_pass(RunFiles& files, LineBuffer& line, ConversionState& state);

// Converts one line of the body by its facts: a motion line is rewritten,
// any other line copied, a work-offset line tracked, a G28 or G30 line
// holding G91 followed by the line G90. The line is the one just read.
void convert_body_line(LineBuffer& line, OutputStream& out, ConversionState& state);

// A motion line holds "G90", "G91", "X", "Y" or "Z"; holds none of "G28",
// "G30" and "G53" to "G59"; and does not begin with "(".
bool classify_line(const LineFacts& facts, const LineBuffer& line);

// For a work-offset line (a pass-through line holding one of G53 to G59,
// already copied): "G91" selects Incremental and gets the line G90 written
// after it; then "G90" selects Absolute. Every X, Y and Z of the line,
// comments included, then moves the position under the mode so left.
// Writes nothing else.
void track_work_offset_line(const LineBuffer& line, const LineFacts& facts, OutputStream& out,
                            ConversionState& state);

}  // namespace ncabs
