// Word numbers: scanning, values, the thousandths rule, the rendering rule
// and the three written forms, as tables of cases.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "words/digits.h"
#include "words/number_text.h"
#include "words/render.h"
#include "words/word_format.h"

using namespace ncabs;

namespace {

double value_of(const std::string& text) { return word_value(text.data(), text.data() + text.size()); }

double text_value_of(const std::string& text) { return text_value(text.data(), text.data() + text.size()); }

std::string render(double value, int decimals) {
    char buf[kRenderedCapacity];
    return std::string(buf, render_fixed(value, decimals, buf));
}

// What a formatter writes, taken from the output buffer (never flushed:
// one word is far smaller than a block).
template <typename Formatter>
std::string formatted(Formatter format, char letter, double value) {
    static OutputStream out;
    out.file = nullptr;
    out.used = 0;
    format(out, letter, value);
    return std::string(out.block, out.used);
}

std::string axis_word(char letter, double value) { return formatted(format_axis_word, letter, value); }
std::string arc_word(char letter, double value) { return formatted(format_arc_word, letter, value); }

}  // namespace

// --- scanning --------------------------------------------------------------

TEST(ScanNumberText, CollectsNumberCharactersAfterTheLetterOnly) {
    struct Case {
        std::string line;
        std::string text;  // collected number text
        std::size_t stop;  // offset where the caller goes on
    };
    const Case cases[] = {
        {"X10.5Y2.", "10.5", 5},   // the next word's letter ends the number
        {"X+5.", "", 1},           // "+" is not a number character
        {"X1e3", "1", 2},          // nor is an exponent letter
        {"X 10.", "", 1},          // the number must follow at once
        {"X", "", 1},              // end of the text
        {"X12\n", "12", 3},        // the newline ends it
        {"X1-2..3 F1", "1-2..3", 7},  // collected whatever the order
        {std::string("X5\0Y", 4), "5", 2},  // NUL is an ordinary byte, not a number character
    };
    for (const Case& c : cases) {
        NumberText text;
        const char* stop = scan_number_text(c.line.data(), c.line.data() + c.line.size(), text);
        EXPECT_EQ(std::string(text.begin, text.end), c.text) << c.line;
        EXPECT_EQ(static_cast<std::size_t>(stop - c.line.data()), c.stop) << c.line;
    }
}

TEST(ScanNumberText, NeverReadsPastTheGivenEnd) {
    const std::string line = "X123456";
    NumberText text;
    const char* stop = scan_number_text(line.data(), line.data() + 4, text);
    EXPECT_EQ(std::string(text.begin, text.end), "123");
    EXPECT_EQ(stop, line.data() + 4);
}

// --- values ----------------------------------------------------------------

TEST(TextValue, ReadsTheNumberTheTextBeginsWith) {
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"5", 5},        {"5.", 5},        {".5", 0.5},   {"5.25", 5.25}, {"-2.5", -2.5},
        {"+5", 5},       {"5-3", 5},       {"1.2.3", 1.2}, {"1e3", 1000},  {"1.5e2", 150},
        {"2D3", 2000},   {"2d-3", 0.002},  {"1E+2", 100}, {"5e", 5},      {"5e+", 5},
        {"5,", 5},       {"", 0},          {"-", 0},      {".", 0},       {"-.", 0},
        {"--5", 0},      {"+-1", 0},       {"abc", 0},    {"-0", 0},      {"-.0", 0},
        {"007.50", 7.5}, {"0.000", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(text_value_of(c.text), c.value) << c.text;
}

TEST(TextValue, IsTheNearestDoubleForLongAndExtremeTexts) {
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        {"0.1000000000000000055511151231257827021181583404541015625", 0.1},
        {"9007199254740993", 9007199254740992.0},  // halfway: ties to even
        {"9007199254740995", 9007199254740996.0},
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"1e23", 1e23},
        {"4e-320", 4e-320},  // subnormal
        {"2.4703282292062328e-324", 4.9406564584124654e-324},
        {"1.7976931348623157e308", DBL_MAX},
        // NOTE: beyond the largest double the value saturates, never infinity.
        {"1e400", DBL_MAX},
        {"-1e400", -DBL_MAX},
        {"1e99999999999999999999", DBL_MAX},
        {"1e-400", 0},
        {"-1e-400", 0},
        {"1.e-99999999999999999999", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(text_value_of(c.text), c.value) << c.text;

    // Thousands of digits: only the leading ones and whether the rest is
    // all zeros can matter.
    std::string big = "1" + std::string(10000, '0') + ".";
    EXPECT_EQ(text_value_of(big), DBL_MAX);
    std::string tiny = "0." + std::string(10000, '0') + "1";
    EXPECT_EQ(text_value_of(tiny), 0.0);
    std::string long_one = "1." + std::string(10000, '0') + "1";
    EXPECT_EQ(text_value_of(long_one), 1.0);
    // Just above the halfway point between 1 and the next double: the digit
    // far beyond the 800th still decides the rounding.
    std::string above_half = "1.00000000000000011102230246251565404236316680908203125" + std::string(2000, '0') + "1";
    EXPECT_EQ(text_value_of(above_half), std::nextafter(1.0, 2.0));
}

TEST(WordValue, AppliesTheThousandthsRule) {
    struct Case {
        std::string text;
        double value;
    };
    const Case cases[] = {
        // number texts of words
        {"10.", 10},        {"10", 0.01},       {"10.5", 10.5},   {"100", 0.1},     {"1", 0.001},
        {"12345", 12.345},  {"-2500", -2.5},    {"-.5", -0.5},    {"0", 0},         {"-0", 0},
        {"", 0},            {"-", 0},           {".", 0},         {"--5", 0},       {"5-3", 0.005},
        {"5-3.", 5},        {"1.2.3", 1.2},     {"2.0004", 2.0004}, {"9.999995", 9.999995},
        // typed start coordinates
        {"+5", 0.005},      {"1e3", 1},         {"1.e3", 1000},   {"1.5e2", 150},   {"2D3", 2},
        {"5e", 0.005},      {"5,", 0.005},      {"abc", 0},       {"1e3.", 1000},   {"1500", 1.5},
        // saturation comes before the division
        {"1e400", DBL_MAX / 1000},
    };
    for (const Case& c : cases) EXPECT_EQ(value_of(c.text), c.value) << c.text;
}

// --- rendering -------------------------------------------------------------

TEST(RenderFixed, RoundsTo17DigitsThenHalfUp) {
    struct Case {
        double value;
        int decimals;
        std::string text;
    };
    const Case cases[] = {
        {10.5, 3, "10.500"},
        {2.9996, 3, "3.000"},     // carry into the integer part
        {1.0625, 3, "1.063"},     // a tie rounds up
        {0.3125, 3, "0.313"},
        {-1.0625, 3, "-1.063"},   // away from zero
        {0.1235, 3, "0.124"},     // 17-digit form 0.12350000000000000
        {2.9995, 3, "2.999"},     // 17-digit form 2.9994999999999998
        {1.2345, 3, "1.234"},
        {-2.5, 3, "-2.500"},
        {-0.0003, 0, "-0"},       // the sign stays
        {-0.00005, 0, "-0"},
        {-0.0003, 3, "-0.000"},
        {0.0, 3, "0.000"},
        {-0.0, 0, "0"},           // a zero never gets a sign
        {9.999995, 0, "10"},
        {0.5, 0, "1"},
        {0.49999999999999994, 0, "0"},  // 17-digit form 0.49999999999999994
        {18446744073709551616.0, 0, "18446744073709552000"},  // 2^64
        {1e13 + 0.0625, 3, "10000000000000.063"},
        {123456789012.3455, 3, "123456789012.346"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(render(c.value, c.decimals), c.text) << c.value;
    }
}

TEST(RenderFixed, WritesTheLargestDoubleWith17SignificantDigits) {
    std::string digits = "17976931348623157" + std::string(292, '0');
    EXPECT_EQ(render(DBL_MAX, 0), digits);
    EXPECT_EQ(render(-DBL_MAX, 3), "-" + digits + ".000");
    EXPECT_EQ(render(INFINITY, 0), digits);  // never produced; written as the largest double
}

// --- written forms ---------------------------------------------------------

TEST(WordForms, FollowTheAxisAndArcRules) {
    struct Case {
        std::string text;  // number text after the letter
        std::string axis;  // X word for its value
        std::string arc;   // I word for its value
    };
    const Case cases[] = {
        {"10.", "X10.", "I10."},
        {"10", "X0.010", "I0.010"},
        {"10.5", "X10.500", "I10.500"},
        {"100", "X0.100", "I0.100"},
        {"1", "X0.001", "I0.001"},
        {"12345", "X12.345", "I12.345"},
        {"-2500", "X-2.500", "I-2.500"},
        {"-.5", "X-0.500", "I-0.500"},
        {"0", "X0", "I0"},
        {"-0", "X0", "I0"},
        {"", "X0", "I0"},
        {"-", "X0", "I0"},
        {".", "X0", "I0"},
        {"--5", "X0", "I0"},
        {"5-3", "X0.005", "I0.005"},
        {"5-3.", "X5.", "I5."},
        {"1.2.3", "X1.200", "I1.200"},
        {"2.0004", "X2.", "I2."},
        {"-2.0004", "X-2.", "I-2."},
        {"2.9996", "X3.000", "I3.000"},
        {"9.999995", "X10.", "I10.000"},
        {"-9.999995", "X-10.", "I-10.000"},
        {"9.99998", "X10.000", "I10.000"},
        {"0.0001", "X0.", "I0."},
        {"0.0003", "X0.", "I0."},
        {"-0.0003", "X-0.", "I-0."},
        {"0.00005", "X0", "I0."},
        {"-0.00005", "X-0", "I-0."},
        {"1.0625", "X1.063", "I1.063"},
        {"-1.0625", "X-1.063", "I-1.063"},
        {"0.1235", "X0.124", "I0.124"},
        {"2.9995", "X2.999", "I2.999"},
        {"0.0005", "X0.001", "I0.001"},   // fraction exactly the double nearest 0.0005
        {"0.99999", "X1.", "I1.000"},     // fraction exactly the double nearest 0.99999
        {"0.00001", "X0", "I0."},
    };
    for (const Case& c : cases) {
        double v = value_of(c.text);
        EXPECT_EQ(axis_word('X', v), c.axis) << c.text;
        EXPECT_EQ(arc_word('I', v), c.arc) << c.text;
    }
}

TEST(WordForms, BoundariesOfTheAxisRule) {
    EXPECT_EQ(axis_word('X', 0.0001), "X0.");
    EXPECT_EQ(axis_word('X', std::nextafter(0.0001, 0.0)), "X0");
    EXPECT_EQ(axis_word('Y', std::nextafter(0.0005, 0.0)), "Y0.");
    EXPECT_EQ(axis_word('Z', std::nextafter(0.99999, 0.0)), "Z1.000");
    EXPECT_EQ(axis_word('X', 5.0005), "X5.");  // its fraction is just below the double 0.0005
    EXPECT_EQ(axis_word('X', 0.3 + -0.1 + -0.2), "X-0");  // a tiny negative sum
    EXPECT_EQ(axis_word('X', 18446744073709551616.0), "X18446744073709552000.");
    EXPECT_EQ(axis_word('X', DBL_MAX), "X17976931348623157" + std::string(292, '0') + ".");
    EXPECT_EQ(arc_word('R', -0.0), "R0");
    EXPECT_EQ(arc_word('K', -1e-300), "K-0.");
}

// --- digits ----------------------------------------------------------------

TEST(Digits, WholeNumbersAndThousandthsAtEveryLengthBoundary) {
    // Each digit count, both sides of the eight-digit register path, and
    // the largest 64-bit value. write_three_decimals(t) is t / 1000 with
    // three decimals.
    std::vector<std::uint64_t> cases = {0, 1, 7, 42, 505, 1000, 100100, 12345678, 87654321, 10000001, 18446744073709551615ULL};
    std::uint64_t power = 1;
    for (int digits = 1; digits <= 19; ++digits) {
        power *= 10;
        cases.push_back(power - 1);
        cases.push_back(power);
    }
    for (std::uint64_t v : cases) {
        char buf[40];
        std::string want = std::to_string(v);
        EXPECT_EQ(std::string(buf, write_integer(buf, v)), want) << v;
        std::string whole = std::to_string(v / 1000);
        std::string decimals = std::to_string(1000 + v % 1000).substr(1);
        EXPECT_EQ(std::string(buf, write_three_decimals(buf, v)), whole + "." + decimals) << v;
    }
}

// --- one-pass reading in line buffers --------------------------------------

TEST(ReadWordNumber, AgreesWithScanAndValueWhateverFollowsTheLine) {
    // Lines as they sit in a line buffer: the text, then slack bytes that
    // may be read but never count. Digits and points in the slack must not
    // join the number.
    const std::string cases[] = {
        "X1.902 Y2.403", "X-2.155", "X424", "X3458 ", "X0.138\n", "X12345678", "X123456789", "X1234567.1234567",
        "X.5", "X5.", "X-", "X.", "X-.", "X-0", "X5-3", "X1.2.3", "X00000001.00000001", "X12345678.1234567",
        "X99999999", "X-12.5Y", "X", "X7", "X.12345678", "X.1234567", "X-.123456789", "X1.1234567", "X12.1234567",
        "X1234.5678-", "X-0.0", "X0.", "Y-.5",
    };
    for (const std::string& c : cases) {
        for (const char* slack : {"00000000000000000000000000000000", "................................",
                                  "--------------------------------"}) {
            std::string buffer = c + slack;
            const char* begin = buffer.data();
            const char* end = begin + c.size();
            NumberText text;
            const char* want_stop = scan_number_text(begin, end, text);
            double want = word_value(text);
            double got = -1.0;
            const char* stop = read_word_number(begin, end, end + 32, got);
            EXPECT_EQ(stop, want_stop) << c;
            EXPECT_EQ(got, want) << c;
        }
    }
}
