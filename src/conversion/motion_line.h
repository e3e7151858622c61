// Motion line rewriting: the conversion of one line to absolute coordinates.
#pragma once

#include "conversion/conversion_state.h"
#include "conversion/line_facts.h"
#include "driver/text_input.h"
#include "driver/text_output.h"

namespace ncabs {

// Writes the motion line in line converted:
//   - its first "G91", wherever it stands, becomes "G90" (changed in place)
//     and selects Incremental; else a "G90" anywhere selects Absolute; else
//     the mode stays. The mode so set covers every word of the line;
//   - X, Y and Z words are written as absolute positions (axis rule);
//   - I, J, K and R words keep their values (arc rule);
//   - a comment is copied through its first ")", or to the line end;
//   - every other byte is copied unchanged.
// facts are the line's own, from scan_line_facts().
void rewrite_motion_line(LineBuffer& line, const LineFacts& facts, OutputStream& out, ConversionState& state);

}  // namespace ncabs
