// End to end: the body pass and the rewriting of motion lines.

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "e2e_case.h"

using namespace ncabs_test;

namespace {

// The state a line leaves shows in the words of a following line. Two runs
// read it off: "X Y Z" adds nothing in Incremental mode (the position is
// written) and zeroes every axis in Absolute mode; "G91 X Y Z" writes the
// position whatever the mode was.
void check_state_after(const char* what, const std::string& program, const std::string& output,
                       bool incremental, const std::string& position) {
    check_conversion({what, program + "X Y Z\n", "", output + (incremental ? position : "X0 Y0 Z0") + "\n", ""});
    check_conversion({what, program + "G91 X Y Z\n", "", output + "G90 " + position + "\n", ""});
}

const std::string kStart = "G92 X10. Y5. Z-2.\n";  // Absolute, at (10, 5, -2)

}  // namespace

TEST(MotionLines, WorkedExamples) {
    struct Row {
        bool incremental_before;
        std::string input;
        std::string output;
        bool incremental_after;
        std::string position;  // after the line, as words
    };
    const bool I = true, A = false;
    const Row rows[] = {
        {I, "G91 G01 X10. Y-5. F200", "G90 G01 X20. Y0 F200", I, "X20. Y0 Z-2."},
        {A, "G91 G01 X10. Y-5. F200", "G90 G01 X20. Y0 F200", I, "X20. Y0 Z-2."},
        {I, "X100 Y250", "X10.100 Y5.250", I, "X10.100 Y5.250 Z-2."},
        {A, "X100 Y250", "X0.100 Y0.250", A, "X0.100 Y0.250 Z-2."},
        {I, "G02 X5. Y5. I5. J0 F100", "G02 X15. Y10. I5. J0 F100", I, "X15. Y10. Z-2."},
        {I, "G03 X1. I-.5 J.25", "G03 X11. I-0.500 J0.250", I, "X11. Y5. Z-2."},
        {I, "G03 X-5. Y5. R5", "G03 X5. Y10. R0.005", I, "X5. Y10. Z-2."},
        {I, "G90 X1.5 Z-1", "G90 X1.500 Z-0.001", A, "X1.500 Y5. Z-0.001"},
        {I, "X1.Y2.", "X11.Y7.", I, "X11. Y7. Z-2."},
        {I, "X10Y20Z30", "X10.010Y5.020Z-1.970", I, "X10.010 Y5.020 Z-1.970"},
        {I, "G01 X5.(X5 MORE)", "G01 X15.(X5 MORE)", I, "X15. Y5. Z-2."},
        {I, "N1 (A (B) X1)", "N1 (A (B) X10.001)", I, "X10.001 Y5. Z-2."},
        {I, "N20 X10. (END", "N20 X20. (END", I, "X20. Y5. Z-2."},
        {I, "G01 X10. ; X5", "G01 X20. ; X20.005", I, "X20.005 Y5. Z-2."},
        {I, "X+5.", "X10.+5.", I, "X10. Y5. Z-2."},
        {A, "X+5.", "X0+5.", A, "X0 Y5. Z-2."},
        {I, "X 10.", "X10. 10.", I, "X10. Y5. Z-2."},
        {A, "MSG EXIT", "MSG EX0I0T", A, "X0 Y5. Z-2."},
        {A, "G91.1 X1.", "G90.1 X11.", I, "X11. Y5. Z-2."},
        {A, "N5 (G91) G91 X1.", "N5 (G90) G91 X11.", I, "X11. Y5. Z-2."},
        {A, "G90 G91 X1.", "G90 G90 X11.", I, "X11. Y5. Z-2."},
        {A, "X10. G91", "X20. G90", I, "X20. Y5. Z-2."},
        {I, "X1. (G90)", "X1. (G90)", A, "X1. Y5. Z-2."},
        {I, "A90. X1.", "A90. X11.", I, "X11. Y5. Z-2."},
        {I, "G91 x10. Y1.", "G90 x10. Y6.", I, "X10. Y6. Z-2."},
        {I, "G04 X1.", "G04 X11.", I, "X11. Y5. Z-2."},
        {I, "G92 X0 Y0", "G92 X10. Y5.", I, "X10. Y5. Z-2."},
        {I, "G81 R2. Z-5.", "G81 R2. Z-7.", I, "X10. Y5. Z-7."},
        {A, "G91", "G90", I, "X10. Y5. Z-2."},
        {I, "G90", "G90", A, "X10. Y5. Z-2."},
        // NOTE: NUL, 0x80-0xFF and other bytes are plain text, never words.
        {I, std::string("G01 X1.\0Y1.\xFF\x80Z1.", 16), std::string("G01 X11.\0Y6.\xFF\x80Z-1.", 18), I,
         "X11. Y6. Z-1."},
    };
    for (const Row& r : rows) {
        std::string before = kStart + (r.incremental_before ? "G91\n" : "");
        std::string before_out = kStart + (r.incremental_before ? "G90\n" : "");
        check_state_after(r.input.c_str(), before + r.input + "\n", before_out + r.output + "\n", r.incremental_after,
                          r.position);
    }
}

TEST(MotionLines, ALastLineWithoutLineEndGetsNone) {
    check_conversion({"last motion line", kStart + "G91 X1.", "", kStart + "G90 X11.", ""});
}

TEST(MotionLines, LongLinesAreConvertedWhole) {
    // NOTE: lines are whole up to 65,535 characters, so no word is cut in two.
    std::string in = kStart + "G91";
    std::string out = kStart + "G90";
    for (int i = 1; i <= 15000; ++i) {
        in += " X1.";
        out += " X" + std::to_string(10 + i) + ".";
    }
    check_conversion({"a 60,003-character motion line", in + "\n", "", out + "\n", ""});
}

TEST(MotionLines, SumsBeyondTheLargestDoubleAreHeldThere) {
    // NOTE: a sum past the largest double stays at the largest double; no
    // infinity is ever written. 1e308 has 17 significant digits 1000...0.
    const std::string e308 = std::string("1") + std::string(308, '0') + ".";
    const std::string max = "17976931348623157" + std::string(292, '0') + ".";
    const std::string max_less_e308 = "79769313486231570" + std::string(291, '0') + ".";
    check_conversion({"overflow", kStart + "G91 X" + e308 + "\nX" + e308 + "\nX-" + e308 + "\n", "",
                      kStart + "G90 X" + e308 + "\nX" + max + "\nX" + max_less_e308 + "\n", ""});
}

TEST(BodyPass, TheTableOfBodyLines) {
    struct Row {
        std::string input;
        std::string output;
        bool incremental_after;
        std::string position;
    };
    const Row rows[] = {
        {"G91\n", "G90\n", true, "X10. Y5. Z-2."},
        {"M05\n", "M05\n", true, "X10. Y5. Z-2."},
        {"\n", "", true, "X10. Y5. Z-2."},
        {"G90 G54 X0 Y0\n", "G90 G54 X0 Y0\n", false, "X0 Y0 Z-2."},
        {"G91 G55 X5.\n", "G91 G55 X5.\nG90\n", true, "X5. Y0 Z-2."},
        // NOTE: the G90 after a reference return that holds G91 keeps the
        // machine reading absolute words; the mode and position stay.
        {"G28 G91 Z0\n", "G28 G91 Z0\nG90\n", true, "X5. Y0 Z-2."},
        {"(G54 X100)\n", "(G54 X100)\n", true, "X5.100 Y0 Z-2."},
        {"G91 G54 G90\n", "G91 G54 G90\nG90\n", false, "X5.100 Y0 Z-2."},
        {"G00 X1.\n", "G00 X1.\n", false, "X1. Y0 Z-2."},
    };
    std::string program = kStart;
    std::string output = kStart;
    for (const Row& r : rows) {
        program += r.input;
        output += r.output;
        check_state_after(r.input.c_str(), program, output, r.incremental_after, r.position);
    }
}

TEST(BodyPass, ClassesOfSingleLines) {
    // In Incremental mode at (10, 5, -2): a motion line shows its class by
    // the converted words; a pass-through line is copied unchanged.
    struct Row {
        std::string input;
        std::string output;
    };
    const Row rows[] = {
        {"G01 X10. F100", "G01 X20. F100"},
        {"M30", "M30"},
        {"%", "%"},
        {"F100 (FEED)", "F100 (FEED)"},
        {"G30 X0", "G30 X0"},
        {"G30 G91 Z0 (G91 comment)", "G30 G91 Z0 (G91 comment)\nG90"},
        {"(G28 G91 Z0)", "(G28 G91 Z0)"},
        {"G54 X0 Y0", "G54 X0 Y0"},
        {"(G91 X10.)", "(G91 X10.)"},
        {" (G91 X10.)", " (G90 X10.)"},
        {"G92 X0 Y0", "G92 X10. Y5."},
        {"R5 I5 K5", "R5 I5 K5"},  // arc words alone do not make a motion line
    };
    for (const Row& r : rows) {
        check_conversion({r.input.c_str(), kStart + "G91\n" + r.input + "\n", "", kStart + "G90\n" + r.output + "\n", ""});
    }
}

TEST(BodyPass, TheWaitingModeLineOnThePromptRoute) {
    const ConversionCase cases[] = {
        {"a work-offset mode line", "G90 G54 X0 Y0\nX Y Z\n", "1. 2. 3.\n", "G90 G54 X0 Y0\nX0 Y0 Z0\n", kStartPrompts},
        {"a work-offset mode line, then incremental", "G90 G54 X0 Y0\nG91 X Y Z\n", "1. 2. 3.\n",
         "G90 G54 X0 Y0\nG90 X0 Y0 Z3.\n", kStartPrompts},
        {"a G28 mode line keeps Incremental", "G91 G28 Z0\nX Y Z\n", "1. 2. 3.\n", "G91 G28 Z0\nG90\nX1. Y2. Z3.\n",
         kStartPrompts},
    };
    for (const ConversionCase& c : cases) check_conversion(c);
}

TEST(BodyPass, WorkOffsetWords) {
    const ConversionCase cases[] = {
        {"a letter without number: Absolute", kStart + "G54 (MAX)\nG91 X Y Z\n", "",
         kStart + "G54 (MAX)\nG90 X0 Y5. Z-2.\n", ""},
        {"a letter without number: Incremental", kStart + "G91\nG54 (MAX)\nX Y Z\n", "",
         kStart + "G90\nG54 (MAX)\nX10. Y5. Z-2.\n", ""},
        {"thousandths: Absolute", kStart + "G54 X500 Y-250\nG91 X Y Z\n", "",
         kStart + "G54 X500 Y-250\nG90 X0.500 Y-0.250 Z-2.\n", ""},
        {"thousandths: Incremental", kStart + "G91\nG54 X500 Y-250\nX Y Z\n", "",
         kStart + "G90\nG54 X500 Y-250\nX10.500 Y4.750 Z-2.\n", ""},
        // NOTE: the inserted G90 starts a line of its own.
        {"G91 work-offset line as last line without line end", kStart + "G91 G55 X5.", "",
         kStart + "G91 G55 X5.\nG90\n", ""},
    };
    for (const ConversionCase& c : cases) check_conversion(c);
}

TEST(BodyPass, LongAndCutLines) {
    std::string comment = std::string("(") + std::string(298, 'X') + ")";  // 300 characters
    check_conversion({"a 300-character comment line", kStart + comment + "\nG91 X1.\n", "",
                      kStart + comment + "\nG90 X11.\n", ""});

    // A line of exactly 65,535 characters before its line end arrives as
    // that piece and a piece holding only the LF. NOTE: that LF is written,
    // so the cut line does not run into the next one.
    std::string exact = std::string("(") + std::string(65533, 'A') + ")";
    check_conversion({"a 65,535-character line", kStart + exact + "\nG91 X1.\n", "", kStart + exact + "\nG90 X11.\n", ""});

    // A longer line arrives in pieces of 65,535; each is a line to the passes.
    std::string longer = std::string("(") + std::string(65534, 'A') + "X1.)";
    check_conversion({"a 65,539-character comment", kStart + "G91\n" + longer + "\n", "",
                      kStart + "G90\n(" + std::string(65534, 'A') + "X11.)\n", ""});
}

TEST(WholeProgram, TheTypicalRun) {
    check_conversion({"typical run",
                      "%\nO0001\nG92 X0 Y0 Z0\nG91 G00 X10. Y5.\nG01 Z-2. F100\nG02 X10. Y0 I5. J0\nM30\n%\n", "",
                      "%\nO0001\nG92 X0 Y0 Z0\nG90 G00 X10. Y5.\nG01 Z-2. F100\nG02 X20. Y5. I5. J0\nM30\n%\n", ""});
}
