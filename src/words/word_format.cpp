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

// Letter, rendered digits and an optional trailing point.
char* write_word(char* q, char letter, double value, int decimals, bool point) {
    *q++ = letter;
    q += render_fixed(value, decimals, q);
    if (point) *q++ = '.';
    return q;
}

}  // namespace

char* detail::write_axis_word_slowly(char* q, char letter, double value) {
    double a = std::fabs(value);
    if (a < kBareBelow) return write_word(q, letter, value, 0, false);
    double f = fraction_magnitude(value);
    if (f < kPointFractionBelow || f >= kPointFractionFrom) return write_word(q, letter, value, 0, true);
    return write_word(q, letter, value, 3, false);
}

char* detail::write_arc_word_slowly(char* q, char letter, double value) {
    if (value == 0.0) return write_word(q, letter, 0.0, 0, false);
    if (fraction_magnitude(value) < kPointFractionBelow) return write_word(q, letter, value, 0, true);
    return write_word(q, letter, value, 3, false);
}

}  // namespace ncabs
