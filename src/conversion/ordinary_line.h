// Ordinary lines: motion lines converted in a single walk.
//
// Most lines of a program are motion lines in the mode already selected:
// words, perhaps a G91 or G90 that changes nothing, no comment line, no
// reference return, no work offset. One walk over such a line writes its
// conversion at once, without first finding the line's facts. Anything the
// walk meets that needs the facts (a G91 or G90 that changes the mode, a
// G28, G30 or G53 to G59, such a G inside a comment) or an output block too
// full to hold the line makes it give up: the output and the position go
// back to where they were, and the line takes the full route.
#pragma once

#include "conversion/conversion_state.h"
#include "driver/text_input.h"
#include "driver/text_output.h"

namespace ncabs {

// Converts line as the body pass would, when the line is ordinary, and
// returns true. Otherwise returns false, having written nothing and changed
// nothing. A line that holds no G90, G91, X, Y or Z is copied.
bool convert_ordinary_line(const LineBuffer& line, OutputStream& out, ConversionState& state);

}  // namespace ncabs
