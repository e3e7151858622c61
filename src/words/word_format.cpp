#include "words/word_format.h"

#include <cmath>
#include <cstdint>

#include "words/render.h"

namespace ncabs {

namespace {

constexpr double kBareBelow = 0.0001;
using detail::kPointFractionBelow;
using detail::kPointFractionFrom;

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

}  // namespace

void detail::format_axis_word_slowly(OutputStream& out, char letter, double value) {
    double a = std::fabs(value);
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

void detail::format_arc_word_slowly(OutputStream& out, char letter, double value) {
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
