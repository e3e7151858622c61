// Word numbers: the number text after a word letter and its value.
//
// A word is a letter followed at once by its number text (X10.5, Y-2500,
// I.25). Number characters are the digits, "-" and ".", nothing else: no
// "+", no blank, no exponent letter. A text without a decimal point counts
// thousandths of the unit, as on controls whose least input increment is
// 0.001 (X100 is 0.1); a text with a point is read at face value.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ncabs {

inline constexpr bool little_endian_target = std::endian::native == std::endian::little;

// The number characters collected after one word letter: a view into the
// line, which they never outlast.
struct NumberText {
    const char* begin = nullptr;
    const char* end = nullptr;
};

inline bool is_number_char(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Collects the number characters that stand directly after the word letter
// at letter, up to line_end (exclusive), into text. Returns the position of
// the first character after them, which the caller handles next.
inline const char* scan_number_text(const char* letter, const char* line_end, NumberText& text) {
    const char* p = letter + 1;
    while (p < line_end && is_number_char(*p)) ++p;
    text.begin = letter + 1;
    text.end = p;
    return p;
}

// The value of the number that text [begin, end) begins with, before the
// thousandths rule: an optional sign, a mantissa of digits with at most one
// point, an optional exponent (e, E, d or D, optional sign, digits). A text
// that begins with no number is 0. The value is the double nearest to the
// decimal value (ties to even); beyond the largest double it saturates to
// +-DBL_MAX.
double text_value(const char* begin, const char* end);

// The value of a word's number text under the thousandths rule: a text that
// holds a "." anywhere is worth its text_value; any other is worth its
// text_value divided by 1000 (in double precision).
double word_value(const char* begin, const char* end);

inline double word_value(const NumberText& text) { return word_value(text.begin, text.end); }

// scan_number_text() and word_value() in one pass, for the walks over a
// line: stores the word_value of the number text after the letter at letter
// in value and returns the position after the number text. Bytes from
// line_end up to readable_end may be read but never count: a line buffer
// has slack after every line, so the common numbers are read eight
// characters at a time.
const char* read_word_number(const char* letter, const char* line_end, const char* readable_end, double& value);

namespace detail {

// Eight characters at p, as digit values less "0": the count of leading
// digits (0 to 8) and, in digits, their values from the lowest byte up.
inline int leading_digits(const char* p, std::uint64_t& digits) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    // Bytes before the first non-digit subtract without a borrow; a
    // non-digit becomes 10 or more, or wraps past 0x80.
    digits = v - 0x3030303030303030ULL;
    std::uint64_t non_digit = ((digits + 0x7676767676767676ULL) | digits) & 0x8080808080808080ULL;
    return non_digit == 0 ? 8 : std::countr_zero(non_digit) / 8;
}

// The number that the first n (1 to 8) digit values in digits make.
inline std::uint64_t digits_value(std::uint64_t digits, int n) {
    std::uint64_t d = digits << (8 * (8 - n));  // n digits at the top: leading zeros below
    d = d * 10 + (d >> 8);                       // pairs: 10 * a + b in every other byte
    d = (((d & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((d >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
        32;
    return d;
}

// Exact powers of ten as doubles: 10^0 .. 10^22 are all representable.
inline constexpr double kExactPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr std::uint64_t kIntegerPowersOfTen[9] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

const char* read_word_number_slowly(const char* letter, const char* line_end, double& value);

}  // namespace detail

inline const char* read_word_number(const char* letter, const char* line_end, const char* readable_end,
                                    double& value) {
    using namespace detail;
    const char* p = letter + 1;
    // Room for "-", eight digits, "." and eight more.
    if (little_endian_target && readable_end - p >= 18) {
        bool negative = p < line_end && *p == '-';
        const char* q = p + (negative ? 1 : 0);
        std::uint64_t raw = 0;
        int whole_count = leading_digits(q, raw);
        if (whole_count > line_end - q) whole_count = q < line_end ? static_cast<int>(line_end - q) : 0;
        if (whole_count < 8) {
            std::uint64_t whole = whole_count > 0 ? digits_value(raw, whole_count) : 0;
            const char* r = q + whole_count;
            if (r < line_end && *r == '.') {
                const char* f = r + 1;
                int fraction_count = leading_digits(f, raw);
                if (fraction_count > line_end - f) fraction_count = f < line_end ? static_cast<int>(line_end - f) : 0;
                const char* stop = f + fraction_count;
                if (fraction_count < 8 && whole_count + fraction_count > 0 &&
                    (stop == line_end || !is_number_char(*stop))) {
                    std::uint64_t n = whole * kIntegerPowersOfTen[fraction_count] +
                                      (fraction_count > 0 ? digits_value(raw, fraction_count) : 0);
                    // Both exact doubles: one correctly rounded division.
                    double v = static_cast<double>(n) / kExactPowersOfTen[fraction_count];
                    value = negative && n != 0 ? -v : v;
                    return stop;
                }
            } else if (whole_count > 0 && (r == line_end || !is_number_char(*r))) {
                double v = static_cast<double>(whole) / 1000.0;  // no point: thousandths
                value = negative && whole != 0 ? -v : v;
                return r;
            }
        }
    }
    return read_word_number_slowly(letter, line_end, value);
}

}  // namespace ncabs
