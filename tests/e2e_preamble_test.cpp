// End to end: the preamble pass and the start position.

#include <gtest/gtest.h>

#include "e2e_case.h"

using namespace ncabs_test;

TEST(Preamble, IsCopiedUpToTheG92Line) {
    check_conversion({"preamble ending in G92",
                      "%\n\nO0001 (PART)\n(G54 G90)\nT1 M06\nG28 X0 Y0\nG92 X0 Y0 Z50.\nG91 X1. Y1. Z1.\n",
                      "",
                      "%\nO0001 (PART)\n(G54 G90)\nG91\nT1 M06\nG28 X0 Y0\nG92 X0 Y0 Z50.\nG90 X1. Y1. Z51.\n",
                      ""});
}

TEST(Preamble, LinesThatDoNotEndIt) {
    const ConversionCase cases[] = {
        {"exempt position lines and lower case are copied",
         "G00 X0 Y0 (START)\nG28 X0 Y0\nG30 Z0\nG54 X0 Y0\ng00 x0 y0\nG92 X0 Y0 Z0\n", "",
         "G00 X0 Y0 (START)\nG28 X0 Y0\nG30 Z0\nG54 X0 Y0\ng00 x0 y0\nG92 X0 Y0 Z0\n", ""},
        {"a comment line holding G90 G92 is copied", "(G90 G92 SET)\nG92 X1. Y2. Z3.\nG91 X0 Y0 Z0\n", "",
         "(G90 G92 SET)\nG92 X1. Y2. Z3.\nG90 X1. Y2. Z3.\n", ""},
        {"a line of one blank is copied; a blank line is dropped", " \n\n\r\nG92 X0 Y0 Z0\n", "",
         " \nG92 X0 Y0 Z0\n", ""},
        {"a blank before the comment makes it the mode line", "%\n (G90)\n", "0 0 0\n", "%\n (G90)\n",
         kStartPrompts},
    };
    for (const ConversionCase& c : cases) check_conversion(c);
}

TEST(Preamble, StopsWithStatus1) {
    const ConversionCase cases[] = {
        {"a position word before the mode line", "%\nO1\nG00 X0 Y0\nG92 X0 Y0 Z0\n", "", "%\nO1\n", kWarning, 1},
        {"no mode line: silent, output kept", "%\nO1\n", "", "%\nO1\n", "", 1},
        {"an empty input", "", "", "", "", 1},
        {"only a Ctrl-Z", "\x1A%\nG92 X0 Y0 Z0\n", "", "", "", 1},
        // NOTE: an inserted line always starts a line of its own.
        {"a work-offset comment as last line without line end", "%\n(G54 G90)", "", "%\n(G54 G90)\nG91\n", "", 1},
    };
    for (const ConversionCase& c : cases) check_conversion(c);
}

TEST(StartPosition, FromTheG92Line) {
    // The line after the G92 line adds nothing and shows the start.
    const ConversionCase cases[] = {
        {"thousandths", "G92 X100 Y-20 Z5.5\nG91 X Y Z\n", "", "G92 X100 Y-20 Z5.5\nG90 X0.100 Y-0.020 Z5.500\n", ""},
        {"no blanks", "G92X10.Y20.Z30.\nG91 X Y Z\n", "", "G92X10.Y20.Z30.\nG90 X10. Y20. Z30.\n", ""},
        {"the first X of the line is in the comment", "N1 G92 (FIXTURE) X1. Y2. Z3.\nG91 X Y Z\n", "",
         "N1 G92 (FIXTURE) X1. Y2. Z3.\nG90 X0 Y2. Z3.\n", ""},
        // NOTE: an axis missing from the G92 line starts at 0.
        {"a missing axis", "G92 X1. Y2.\nG91 X Y Z\n", "", "G92 X1. Y2.\nG90 X1. Y2. Z0\n", ""},
        {"G92 decides over G91: written unchanged, mode absolute", "G91 G92 X0 Y0 Z0\nX5.\n", "",
         "G91 G92 X0 Y0 Z0\nX5.\n", ""},
        {"G92 as the last line without line end", "%\nG92 X0 Y0 Z0", "", "%\nG92 X0 Y0 Z0", ""},
    };
    for (const ConversionCase& c : cases) check_conversion(c);
}

TEST(StartPosition, FromThePrompts) {
    const ConversionCase cases[] = {
        {"the Part's example", "%\nO0002\nG91 G00 X10. Y5.\n", "100\n50.\n0\n", "%\nO0002\nG90 G00 X10.100 Y55.\n",
         kStartPrompts},
        {"answers on one line", "G91 X Y Z\n", "1500 -2.5 abc\n", "G90 X1.500 Y-2.500 Z0\n", kStartPrompts},
        {"typed numbers", "G91 X Y Z\n", "+5 1e3 1.e3\n", "G90 X0.005 Y1. Z1000.\n", kStartPrompts},
        // NOTE: standard input that ends before an answer gives 0.
        {"input ends after one answer", "G91 X Y Z\n", "7.\n", "G90 X7. Y0 Z0\n", kStartPrompts},
        {"the mode line is the last line, without line end", "G91 X1.", "1. 0 0", "G90 X2.", kStartPrompts},
    };
    for (const ConversionCase& c : cases) check_conversion(c);
}

TEST(StartPosition, ClosedStandardInputAtTheStartPrompts) {
    TempDir dir;
    dir.write("in.nc", "G91 X1.\n");
    ToolRun run = run_tool(dir, "in.nc out.nc", {"", true});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.console, kStartPrompts);
    EXPECT_EQ(dir.read("out.nc"), "G90 X1.\r\n");
}
