// Word numbers: the number text after a word letter and its value.
//
// A word is a letter followed at once by its number text (X10.5, Y-2500,
// I.25). Number characters are the digits, "-" and ".", nothing else: no
// "+", no blank, no exponent letter. A text without a decimal point counts
// thousandths of the unit, as on controls whose least input increment is
// 0.001 (X100 is 0.1); a text with a point is read at face value.
#pragma once

#include <cstddef>

namespace ncabs {

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
// in value and returns the position after the number text.
const char* read_word_number(const char* letter, const char* line_end, double& value);

}  // namespace ncabs
