#include "words/number_text.h"

#include <cfloat>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace ncabs {

namespace {

bool is_digit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

using detail::kExactPowersOfTen;

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

namespace {

// Reads the texts that programs hold: an optional "-", then digits with at
// most one point, at most 15 digits in all. Both the digits and the power
// of ten are then exact doubles, so one division rounds correctly, exactly
// as the general reading does. Returns false for any other text; stop is
// where the reading ended.
bool read_plain_number(const char* p, const char* end, double& value, const char*& stop) {
    bool negative = p < end && *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    const char* first = p;
    while (p < end && is_digit(*p)) digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
    std::ptrdiff_t count = p - first;
    std::ptrdiff_t decimals = -1;  // no point
    if (p < end && *p == '.') {
        const char* fraction = ++p;
        while (p < end && is_digit(*p)) digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
        decimals = p - fraction;
        count += decimals;
    }
    stop = p;
    if (count < 1 || count > 15) return false;
    double v = static_cast<double>(digits);
    if (decimals > 0) v /= kExactPowersOfTen[decimals];
    if (negative && digits != 0) v = -v;
    value = decimals >= 0 ? v : v / 1000.0;  // the thousandths rule
    return true;
}

}  // namespace

double word_value(const char* begin, const char* end) {
    double value = 0.0;
    const char* stop = begin;
    if (read_plain_number(begin, end, value, stop) && stop == end) return value;

    if (begin == end) return 0.0;
    value = text_value(begin, end);
    if (std::memchr(begin, '.', static_cast<std::size_t>(end - begin)) != nullptr) return value;
    return value / 1000.0;
}

const char* detail::read_word_number_slowly(const char* letter, const char* line_end, double& value) {
    NumberText text;
    const char* stop = scan_number_text(letter, line_end, text);
    value = word_value(text);
    return stop;
}

}  // namespace ncabs
