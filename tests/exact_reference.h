// A slow, plainly exact model of the number rendering rule, for tests.
//
// It works on the decimal expansion of the double's exact binary value,
// m * 2^e = (m * 5^-e) / 10^-e, held as a string of decimal digits, and
// applies the rule's steps literally: 17 significant digits half up by the
// 18th, then the decimals half up by the first dropped digit.
#pragma once

#include <string>

namespace ncabs_test {

// The exact decimal expansion of |value| (finite, nonzero): digits without
// leading zeros, and scale, the count of those digits that stand after the
// decimal point.
std::string exact_digits(double value, int& scale);

// The rendering of value with decimals (0 or 3) decimals by the rule.
std::string reference_render(double value, int decimals);

}  // namespace ncabs_test
