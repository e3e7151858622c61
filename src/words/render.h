// Rendering a value with a fixed number of decimals, by the tool's rule:
//
//   1. a zero of either sign is 0 (0.000); any other value keeps its sign,
//      also where every written digit is 0 (-0.0003 with no decimals is -0);
//   2. the magnitude's exact decimal expansion is rounded to 17 significant
//      digits, half up (only the 18th digit decides);
//   3. that 17-digit number is rounded to the decimals, half up again (only
//      the first dropped digit decides; places past the 17 digits are 0).
//
// So 1.0625 is 1.063 (a tie rounds up), 0.1235 is 0.124 (its double is just
// below, but its 17-digit form is 0.12350000000000000), and 2^64 with no
// decimals is 18446744073709552000. A plain printf("%.3f") rounds the exact
// binary value with ties to even and does not meet this rule.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ncabs {

// Enough for "-", the 309 integer digits of DBL_MAX, "." and 3 decimals.
inline constexpr std::size_t kRenderedCapacity = 320;

// Writes value rendered with decimals (0 or 3) decimals to out, which has
// room for kRenderedCapacity bytes, and returns the count written. Writes no
// terminator. Infinity is written as +-DBL_MAX and NaN as 0; the conversion
// never produces either.
std::size_t render_fixed(double value, int decimals, char* out);

namespace detail {
std::uint64_t rule_thousandths_exactly(double magnitude);
}

// The value's thousandths under the rule, for a magnitude from 2^-11 up to
// (not including) 10^13: the three-decimal rendering as a whole number.
// The formatters' fast path for the positions of real programs.
inline std::uint64_t rule_thousandths(double magnitude) {
    // Below 10^9 the product t = magnitude * 1000 is within 2^-13 of the
    // exact product. The rule rounds the exact product up exactly when its
    // fraction is at least 1/2 - 1/(2 * 10^f), a bound between 0.45 and
    // 1/2; so a fraction of t below 0.44 or above 0.51 decides alone (also
    // when the exact product lies across the whole number from t). Real
    // positions lie near whole thousandths and end here.
    //
    // Taken from the nearest whole number n, so that one well-predicted
    // test decides: t - n (exact) is the fraction when it is below 1/2 and
    // the fraction less 1 otherwise. A t just below a half may round to the
    // number above; t - n is then about -1/2 and goes the exact way.
    if (magnitude < 1e9) {
        double t = magnitude * 1000.0;
        auto nearest = static_cast<std::int64_t>(t + 0.5);
        double offset = t - static_cast<double>(nearest);
        if (offset < 0.44 && offset > -0.49) return static_cast<std::uint64_t>(nearest);
    }
    return detail::rule_thousandths_exactly(magnitude);
}

// The same rule worked on the exact decimal expansion of the value with
// multi-word integers: slow, for values the fast path does not take.
std::size_t render_fixed_exact(double value, int decimals, char* out);

}  // namespace ncabs
