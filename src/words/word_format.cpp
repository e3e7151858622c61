#include "words/word_format.h"

#include <cmath>
#include <cstdint>

#include "words/digits.h"
#include "words/render.h"

namespace ncabs {

namespace {

constexpr double kBareBelow = 0.0001;
constexpr double kPointFractionBelow = 0.0005;
constexpr double kPointFractionFrom = 0.99999;

// Magnitude of the fractional part, the value minus its integer part taken
// toward zero. Exact for every double: from 2^52 up every double is whole,
// and below it the integer conversion truncates exactly.
double fraction_magnitude(double value) {
    double a = std::fabs(value);
    if (!(a < 4503599627370496.0)) return 0.0;
    return a - static_cast<double>(static_cast<std::int64_t>(a));
}

// Letter, rendered digits and an optional trailing point, straight into the
// output buffer.
void write_word(OutputStream& out, char letter, double value, int decimals, bool point) {
    char* p = reserve_output(out, kRenderedCapacity + 2);
    p[0] = letter;
    std::size_t n = 1 + render_fixed(value, decimals, p + 1);
    if (point) p[n++] = '.';
    commit_output(out, n);
}

// The magnitudes of real programs' positions, served in 64-bit integers.
constexpr double kFastFrom = 0x1p-11;
constexpr double kFastBelow = 1e13;

// Writes the word for a magnitude a from kFastFrom up to kFastBelow. The
// point form holds the whole part, or, under the axis rule, the next whole
// number when the fraction reaches 0.99999: rounding such a fraction by the
// rule always carries, and one below 0.0005 never does.
void write_common_word(OutputStream& out, char letter, double value, double a, bool axis_rule) {
    char* p = reserve_output(out, kRenderedCapacity + 2);
    char* q = p;
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
    commit_output(out, static_cast<std::size_t>(q - p));
}

}  // namespace

void format_axis_word(OutputStream& out, char letter, double value) {
    double a = std::fabs(value);
    if (a >= kFastFrom && a < kFastBelow) {
        write_common_word(out, letter, value, a, true);
        return;
    }
    if (a < kBareBelow) {
        write_word(out, letter, value, 0, false);
        return;
    }
    double f = fraction_magnitude(value);
    if (f < kPointFractionBelow || f >= kPointFractionFrom) {
        write_word(out, letter, value, 0, true);
        return;
    }
    write_word(out, letter, value, 3, false);
}

void format_arc_word(OutputStream& out, char letter, double value) {
    double a = std::fabs(value);
    if (a >= kFastFrom && a < kFastBelow) {
        write_common_word(out, letter, value, a, false);
        return;
    }
    if (value == 0.0) {
        write_word(out, letter, 0.0, 0, false);
        return;
    }
    if (fraction_magnitude(value) < kPointFractionBelow) {
        write_word(out, letter, value, 0, true);
        return;
    }
    write_word(out, letter, value, 3, false);
}

}  // namespace ncabs
