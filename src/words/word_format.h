// The written forms of X, Y, Z and of I, J, K, R words.
//
//   three-decimal form  X10.500   the value with exactly three decimals
//   point form          X10.      the value rounded to a whole number, and "."
//   bare form           X0        the value rounded to a whole number
//
// The positions of real programs take an inline path of integer arithmetic;
// every other value is rendered by the exact rule out of line.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "driver/text_output.h"
#include "words/digits.h"
#include "words/render.h"

namespace ncabs {

// The most one word takes: letter, rendering and point.
inline constexpr std::size_t kWordRoom = kRenderedCapacity + 2;

namespace detail {

inline constexpr double kPointFractionBelow = 0.0005;
inline constexpr double kPointFractionFrom = 0.99999;

// The magnitudes of real programs' positions, served in 64-bit integers.
inline constexpr double kFastFrom = 0x1p-11;
inline constexpr double kFastBelow = 1e13;

// Writes the word for a magnitude a from kFastFrom up to kFastBelow at q
// and returns its end. The point form holds the whole part, or, under the
// axis rule, the next whole number when the fraction reaches 0.99999:
// rounding such a fraction by the rule always carries, and one below
// 0.0005 never does.
inline char* write_common_word(char* q, char letter, double value, double a, bool axis_rule) {
    *q++ = letter;
    *q = '-';
    q += value < 0;  // signs follow no pattern: no branch
    // Below 10^13 a signed conversion truncates exactly (and is one
    // instruction, where an unsigned one is not).
    auto whole = static_cast<std::uint64_t>(static_cast<std::int64_t>(a));
    double f = a - static_cast<double>(static_cast<std::int64_t>(whole));
    if (f < kPointFractionBelow) {
        q = write_integer(q, whole);
        *q++ = '.';
    } else if (axis_rule && f >= kPointFractionFrom) {
        q = write_integer(q, whole + 1);
        *q++ = '.';
    } else {
        q = write_three_decimals(q, rule_thousandths(a));
    }
    return q;
}

char* write_axis_word_slowly(char* q, char letter, double value);
char* write_arc_word_slowly(char* q, char letter, double value);

}  // namespace detail

// Axis rule: bare form below 0.0001 in magnitude (X0, or X-0 for a
// negative value); point form when the fractional part is below 0.0005 or
// at least 0.99999 in magnitude; the three-decimal form otherwise. Writes
// the word at q, which has room for kWordRoom bytes, and returns its end.
inline char* write_axis_word(char* q, char letter, double value) {
    double a = std::fabs(value);
    if (a >= detail::kFastFrom && a < detail::kFastBelow) return detail::write_common_word(q, letter, value, a, true);
    return detail::write_axis_word_slowly(q, letter, value);
}

// Arc rule: bare form for a zero (I0); point form when the fractional part
// is below 0.0005 in magnitude; the three-decimal form otherwise. There is
// no tiny-value or 0.99999 test: 0.00001 is I0. and 9.999995 is I10.000.
inline char* write_arc_word(char* q, char letter, double value) {
    double a = std::fabs(value);
    if (a >= detail::kFastFrom && a < detail::kFastBelow) return detail::write_common_word(q, letter, value, a, false);
    return detail::write_arc_word_slowly(q, letter, value);
}

// The same words written to the output stream.
inline void format_axis_word(OutputStream& out, char letter, double value) {
    char* p = reserve_output(out, kWordRoom);
    commit_output(out, static_cast<std::size_t>(write_axis_word(p, letter, value) - p));
}

inline void format_arc_word(OutputStream& out, char letter, double value) {
    char* p = reserve_output(out, kWordRoom);
    commit_output(out, static_cast<std::size_t>(write_arc_word(p, letter, value) - p));
}

}  // namespace ncabs
