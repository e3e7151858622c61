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

const char* read_word_number_slowly(const char* letter, const char* line_end, double& value);

// c, known to be no digit, is still a number character.
inline bool continues_number(char c) { return c == '-' || c == '.'; }

// n (below 2^63), negated when negative: arithmetic rather than a branch,
// as the signs in a program follow no pattern.
inline std::int64_t with_sign(std::uint64_t n, bool negative) {
    std::int64_t mask = -static_cast<std::int64_t>(negative);
    return (static_cast<std::int64_t>(n) ^ mask) - mask;
}

// The low n (0 to 7) bytes of v.
inline std::uint64_t low_bytes(std::uint64_t v, int n) { return v & ((std::uint64_t{1} << (8 * n)) - 1); }

}  // namespace detail

// The common number texts after a sign: up to eight digits with or
// without a point, as in, Y.25, Z3., X1500. Reads sixteen bytes from
// text, and needs a character that is no number character to end the
// number within them (as it ends the line at the latest). Stores the
// word_value and the position after the number text and returns true; or
// returns false for any other text.
inline bool read_common_number(const char* text, const char*& after, double& value) {
    using namespace detail;
    bool negative = *text == '-';
    const char* q = text + (negative ? 1 : 0);
    std::uint64_t whole_digits = 0;
    int whole_count = leading_digits(q, whole_digits);
    const char* r = q + whole_count;
    if (whole_count < 8 && *r == '.') {
        std::uint64_t fraction_digits = 0;
        int fraction_count = leading_digits(r + 1, fraction_digits);
        const char* stop = r + 1 + fraction_count;
        int count = whole_count + fraction_count;
        if (count >= 1 && count <= 8 && fraction_count < 8 && !continues_number(*stop)) {
            // The digits without the point, as one integer n: the value is
            // n / 10^fraction_count, both exact doubles, in one correctly
            // rounded division. The sign goes on n, which keeps -0 a +0
            // and the division's rounding symmetric, without a branch.
            std::uint64_t all = low_bytes(whole_digits, whole_count) | fraction_digits << (8 * whole_count);
            std::int64_t n = with_sign(digits_value(all, count), negative);
            value = static_cast<double>(n) / kExactPowersOfTen[fraction_count];
            after = stop;
            return true;
        }
    } else if (whole_count >= 1 && whole_count < 8 && !continues_number(*r)) {
        std::int64_t n = with_sign(digits_value(whole_digits, whole_count), negative);
        value = static_cast<double>(n) / 1000.0;  // no point: thousandths
        after = r;
        return true;
    }
    return false;
}

inline const char* read_word_number(const char* letter, const char* line_end, const char* readable_end,
                                    double& value) {
    // When the character at the line end is no number character (the LF,
    // or slack that happens not to be one), it ends every number as the
    // line end would, and the common reading needs no end checks.
    const char* after = nullptr;
    if (little_endian_target && readable_end - letter >= 20 && !is_number_char(*line_end) &&
        read_common_number(letter + 1, after, value))
        return after;
    return detail::read_word_number_slowly(letter, line_end, value);
}

}  // namespace ncabs
