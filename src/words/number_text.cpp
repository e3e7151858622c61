#include "words/number_text.h"

#include <cfloat>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace ncabs {

namespace {

bool is_digit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

// Exact powers of ten as doubles: 10^0 .. 10^22 are all representable.
constexpr double kExactPowersOfTen[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Significant digits kept for the exact conversion. Deciding the nearest
// double never needs more than 768 of them; any nonzero digit beyond is
// stood for by a single sticky 1, which keeps halfway cases apart.
constexpr int kKeptDigits = 800;

// Large enough that any exponent beyond it overflows or underflows for any
// mantissa of kKeptDigits digits; exponents saturate here.
constexpr std::int64_t kExponentLimit = 100000;

}  // namespace

double text_value(const char* begin, const char* end) {
    const char* p = begin;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }

    // Mantissa: digits with at most one point. Leading zeros carry no
    // significance; the first 19 significant digits also go into an integer
    // for the fast path.
    const char* mantissa_begin = p;
    std::uint64_t fast_digits = 0;
    int significant = 0;          // significant digits seen
    std::int64_t point_shift = 0; // decimal exponent of the last significant digit kept in fast_digits
    int digit_count = 0;
    bool seen_point = false;
    for (; p < end; ++p) {
        char c = *p;
        if (is_digit(c)) {
            ++digit_count;
            if (significant == 0 && c == '0') {
                if (seen_point) --point_shift;
                continue;
            }
            if (significant < 19) {
                fast_digits = fast_digits * 10 + static_cast<unsigned>(c - '0');
                if (seen_point) --point_shift;
            } else if (!seen_point) {
                ++point_shift;
            }
            ++significant;
        } else if (c == '.' && !seen_point) {
            seen_point = true;
        } else {
            break;
        }
    }
    if (digit_count == 0) return 0.0;
    const char* mantissa_end = p;

    // Exponent: a letter, an optional sign and at least one digit; without
    // the digits the letter is not part of the number.
    std::int64_t exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
        const char* q = p + 1;
        bool exponent_negative = false;
        if (q < end && (*q == '+' || *q == '-')) {
            exponent_negative = *q == '-';
            ++q;
        }
        if (q < end && is_digit(*q)) {
            for (; q < end && is_digit(*q); ++q) {
                if (exponent < kExponentLimit) exponent = exponent * 10 + (*q - '0');
            }
            if (exponent_negative) exponent = -exponent;
        }
    }

    if (significant == 0) return 0.0;  // -0 and -.0 give a zero

    // Fast path: an exactly representable mantissa times an exactly
    // representable power of ten, one correctly rounded operation.
    std::int64_t decimal_exponent = point_shift + exponent;
    if (significant <= 19 && fast_digits <= (std::uint64_t{1} << 53) &&
        decimal_exponent >= -22 && decimal_exponent <= 22) {
        double m = static_cast<double>(fast_digits);
        double v = decimal_exponent >= 0 ? m * kExactPowersOfTen[decimal_exponent]
                                         : m / kExactPowersOfTen[-decimal_exponent];
        return negative ? -v : v;
    }

    // Exact path: the significant digits, a sticky digit for the rest, and a
    // decimal exponent, handed to the correctly rounded standard conversion.
    char digits[kKeptDigits + 1 + 1 + 24];
    int kept = 0;
    bool dropped_nonzero = false;
    std::int64_t scale = exponent;  // value = digits * 10^scale
    bool started = false;
    bool after_point = false;
    for (const char* d = mantissa_begin; d < mantissa_end; ++d) {
        if (*d == '.') {
            after_point = true;
            continue;
        }
        if (!started && *d == '0') {
            if (after_point) --scale;
            continue;
        }
        started = true;
        if (kept < kKeptDigits) {
            digits[kept++] = *d;
            if (after_point) --scale;
        } else {
            if (*d != '0') dropped_nonzero = true;
            if (!after_point) ++scale;
        }
    }
    if (dropped_nonzero) {
        digits[kept++] = '1';
        --scale;
    }
    if (scale > kExponentLimit) scale = kExponentLimit;
    if (scale < -kExponentLimit) scale = -kExponentLimit;
    int length = kept;
    digits[length++] = 'e';
    auto written = std::to_chars(digits + length, digits + sizeof digits, scale);
    length = static_cast<int>(written.ptr - digits);

    double v = 0.0;
    auto result = std::from_chars(digits, digits + length, v, std::chars_format::scientific);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range one way or the other: the magnitude's order decides.
        v = (kept - 1 + scale > 0) ? DBL_MAX : 0.0;
    }
    return negative ? -v : v;
}

double word_value(const char* begin, const char* end) {
    if (begin == end) return 0.0;
    double value = text_value(begin, end);
    if (std::memchr(begin, '.', static_cast<std::size_t>(end - begin)) != nullptr) return value;
    return value / 1000.0;
}

}  // namespace ncabs
