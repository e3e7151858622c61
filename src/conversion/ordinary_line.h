// Ordinary lines: motion lines converted in a single walk over the input
// block.
//
// Most lines of a program are motion lines in the mode already selected:
// words, perhaps a G91 or G90 that changes nothing, no comment line, no
// reference return, no work offset. One walk over such a line, straight in
// the input block, finds its end and writes its conversion at once, without
// first finding the line's facts. Anything the walk meets that needs the
// facts (a G91 or G90 that changes the mode, a G28, G30 or G53 to G59, such
// a G inside a comment), a blank or comment line, a line that does not end
// within the block, and a line too long for the walk make it give up: the
// output and the position go back to where they were, and the line is left
// to be read and converted by the full route.
#pragma once

#include "conversion/conversion_state.h"
#include "driver/text_input.h"
#include "driver/text_output.h"

namespace ncabs {

// Converts, as the body pass would, the ordinary lines that stand next in
// in's block, and consumes them. Stops before the first line that is not
// ordinary or does not end within the block.
void convert_ordinary_lines(InputStream& in, OutputStream& out, ConversionState& state);

}  // namespace ncabs
