// The written forms of X, Y, Z and of I, J, K, R words.
//
//   three-decimal form  X10.500   the value with exactly three decimals
//   point form          X10.      the value rounded to a whole number, and "."
//   bare form           X0        the value rounded to a whole number
#pragma once

#include "driver/text_output.h"

namespace ncabs {

// Axis rule: bare form below 0.0001 in magnitude (X0, or X-0 for a
// negative value); point form when the fractional part is below 0.0005 or
// at least 0.99999 in magnitude; the three-decimal form otherwise.
void format_axis_word(OutputStream& out, char letter, double value);

// Arc rule: bare form for a zero (I0); point form when the fractional part
// is below 0.0005 in magnitude; the three-decimal form otherwise. There is
// no tiny-value or 0.99999 test: 0.00001 is I0. and 9.999995 is I10.000.
void format_arc_word(OutputStream& out, char letter, double value);

}  // namespace ncabs
