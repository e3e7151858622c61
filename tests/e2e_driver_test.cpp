// End to end: file names, prompts, messages, exit statuses and the text
// stream rules, through the built binary.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tool_run.h"

using namespace ncabs_test;

namespace {

// A short program that takes its start from G92, and its converted form.
const std::string kProgram = "%\nO0001\nG92 X0 Y0 Z0\nG91 G00 X10. Y5.\nG01 Z-2. F100\nM30\n%\n";
const std::string kConverted = crlf("%\nO0001\nG92 X0 Y0 Z0\nG90 G00 X10. Y5.\nG01 Z-2. F100\nM30\n%\n");

// A program that asks for its start, and its form for the start (1, 2, 3).
const std::string kPromptProgram = "%\nG91 G01 X1. Y1. Z1.\n%\n";
const std::string kPromptConverted = crlf("%\nG90 G01 X2. Y3. Z4.\n%\n");

const std::string kInputPrompt = "\nINPUT-FILE NAME:";
const std::string kOutputPrompt = "\nOUTPUT-FILE NAME:";
const std::string kStartPrompts = "\nINPUT START-X:\nINPUT START-Y:\nINPUT START-Z:";
const std::string kSameFiles = "ERROR: input output files are same\n";

}  // namespace

TEST(Names, ComeFromArgumentsOrPrompts) {
    struct Case {
        const char* what;
        std::string args;
        std::string typed;
        std::string console;
    };
    const Case cases[] = {
        {"no argument", "", "in.nc\nout.nc\n", kInputPrompt + kOutputPrompt},
        {"one argument", "in.nc", "out.nc\n", kOutputPrompt},
        {"two arguments", "in.nc out.nc", "", ""},
        {"three arguments: the third is ignored", "in.nc out.nc extra.nc", "", ""},
        {"both names typed on one line", "", "in.nc out.nc\n", kInputPrompt + kOutputPrompt},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("in.nc", kProgram);
        ToolRun run = run_tool(dir, c.args, {c.typed});
        EXPECT_EQ(run.status, 0) << c.what;
        EXPECT_EQ(run.console, c.console) << c.what;
        EXPECT_EQ(run.errors, "") << c.what;
        EXPECT_EQ(dir.read("out.nc"), kConverted) << c.what;
        EXPECT_FALSE(dir.exists("extra.nc")) << c.what;
    }
}

TEST(Names, WordsTypedAheadAnswerEveryPrompt) {
    TempDir dir;
    dir.write("in.nc", kPromptProgram);
    ToolRun run = run_tool(dir, "", {"in.nc out.nc 1. 2. 3.\n"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.console, kInputPrompt + kOutputPrompt + kStartPrompts);
    EXPECT_EQ(dir.read("out.nc"), kPromptConverted);
}

TEST(Names, AreUsedExactlyAsGiven) {
    TempDir dir;
    // An option-like argument is a file name.
    dir.write("-h", kProgram);
    EXPECT_EQ(run_tool(dir, "-h out.nc").status, 0);
    EXPECT_EQ(dir.read("out.nc"), kConverted);

    // Names differing only in case are different files here.
    dir.write("part.nc", kProgram);
    EXPECT_EQ(run_tool(dir, "part.nc PART.NC").status, 0);
    EXPECT_EQ(dir.read("PART.NC"), kConverted);
    EXPECT_EQ(dir.read("part.nc"), kProgram);

    // A name with blanks, given as a quoted argument.
    dir.write("my part.nc", kProgram);
    EXPECT_EQ(run_tool(dir, "'my part.nc' 'my out.nc'").status, 0);
    EXPECT_EQ(dir.read("my out.nc"), kConverted);

    // NOTE: names are never cut, whatever their length, typed or given.
    std::string long_in = std::string(100, 'i') + ".nc";
    std::string long_out = std::string(120, 'o') + ".nc";
    dir.write(long_in, kProgram);
    ToolRun typed = run_tool(dir, "", {long_in + "\n" + long_out + "\n"});
    EXPECT_EQ(typed.status, 0);
    EXPECT_EQ(dir.read(long_out), kConverted);
}

TEST(Names, AnExistingOutputIsEmptiedAndWrittenAnew) {
    TempDir dir;
    dir.write("in.nc", kProgram);
    dir.write("out.nc", std::string(100000, 'x'));
    EXPECT_EQ(run_tool(dir, "in.nc out.nc").status, 0);
    EXPECT_EQ(dir.read("out.nc"), kConverted);
}

TEST(Refusals, ReportTheFileAndStopWithStatus1) {
    struct Case {
        const char* what;
        std::string args;
        std::string typed;
        std::string console;
        const char* absent;  // a file that must not have been created
    };
    const Case cases[] = {
        {"missing input", "nope.nc out.nc", "", "\nCan't open nope.nc\n", "out.nc"},
        {"missing input, prompted: no output prompt", "", "nope.nc out.nc\n",
         kInputPrompt + "\nCan't open nope.nc\n", "out.nc"},
        {"same missing name: the input's message", "same.nc same.nc", "", "\nCan't open same.nc\n", "same.nc"},
        {"input is a directory", "folder out.nc", "", "\nCan't open folder\n", "out.nc"},
        {"output is a directory", "in.nc folder", "", "\nCan't open folder\n", nullptr},
        {"output in a missing folder", "in.nc nowhere/out.nc", "", "\nCan't open nowhere/out.nc\n", "nowhere"},
        // NOTE: standard input that ends before a name gives the empty name.
        {"input ended before the input name", "", "", kInputPrompt + "\nCan't open \n", nullptr},
        {"input ended before the output name", "in.nc", "  \n", kOutputPrompt + "\nCan't open \n", nullptr},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("in.nc", kProgram);
        std::filesystem::create_directory(dir / "folder");
        ToolRun run = run_tool(dir, c.args, {c.typed});
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_EQ(run.console, c.console) << c.what;
        EXPECT_EQ(run.errors, "") << c.what;
        if (c.absent != nullptr) {
            EXPECT_FALSE(dir.exists(c.absent)) << c.what;
        }
        EXPECT_EQ(dir.read("in.nc"), kProgram) << c.what;
    }
}

TEST(Refusals, ClosedStandardInputAtANamePrompt) {
    TempDir dir;
    dir.write("in.nc", kProgram);
    ToolRun run = run_tool(dir, "", {"", true});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.console, kInputPrompt + "\nCan't open \n");
}

TEST(Refusals, TheSameFileByAnyNameIsNeverOpenedForWriting) {
    struct Case {
        const char* what;
        std::string args;
        std::string typed;
        std::string console;
    };
    TempDir dir;
    dir.write("part.nc", kProgram);
    std::filesystem::create_symlink("part.nc", dir / "link.nc");
    std::filesystem::create_hard_link(dir / "part.nc", dir / "hard.nc");
    std::string absolute = (dir / "part.nc").string();
    const Case cases[] = {
        {"same text", "part.nc part.nc", "", kSameFiles},
        {"same text, prompted", "", "part.nc\npart.nc\n", kInputPrompt + kOutputPrompt + kSameFiles},
        // NOTE: another text for the same file is refused the same way.
        {"through ./", "part.nc ./part.nc", "", kSameFiles},
        {"absolute path", "part.nc " + shell_quote(absolute), "", kSameFiles},
        {"symbolic link", "part.nc link.nc", "", kSameFiles},
        {"hard link", "hard.nc part.nc", "", kSameFiles},
    };
    for (const Case& c : cases) {
        ToolRun run = run_tool(dir, c.args, {c.typed});
        EXPECT_EQ(run.status, 1) << c.what;
        EXPECT_EQ(run.console, c.console) << c.what;
        EXPECT_EQ(dir.read("part.nc"), kProgram) << c.what;
    }
}

TEST(ExitStatus, AFailedWriteIsNeverReportedAsSuccess) {
    TempDir dir;
    dir.write("in.nc", kProgram);
    ToolRun run = run_tool(dir, "in.nc /dev/full");
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.console, "");
    EXPECT_EQ(run.errors, "");
}

TEST(TextStreams, CrLfAndLfInputsGiveTheSameCrLfOutput) {
    TempDir dir;
    dir.write("lf.nc", kProgram);
    dir.write("crlf.nc", crlf(kProgram));
    EXPECT_EQ(run_tool(dir, "lf.nc a.nc").status, 0);
    EXPECT_EQ(run_tool(dir, "crlf.nc b.nc").status, 0);
    EXPECT_EQ(dir.read("a.nc"), kConverted);
    EXPECT_EQ(dir.read("b.nc"), kConverted);
}

TEST(TextStreams, CtrlZEndsTheInput) {
    TempDir dir;
    dir.write("in.nc", "%\r\nG92 X0 Y0 Z0\r\nG91 X1.\r\nM30\x1A\r\nG91 X5.\r\n%\r\n");
    EXPECT_EQ(run_tool(dir, "in.nc out.nc").status, 0);
    // M30 is the last line and has no line end.
    EXPECT_EQ(dir.read("out.nc"), "%\r\nG92 X0 Y0 Z0\r\nG90 X1.\r\nM30");
}

TEST(TextStreams, LoneCarriageReturnsAreNoLineEnds) {
    TempDir dir;
    // One line to the tool: it holds G92, so it is written as it stands.
    const std::string cr_only = "%\rG92 X0 Y0 Z0\rG91 X1.\rM30\r";
    dir.write("in.nc", cr_only);
    EXPECT_EQ(run_tool(dir, "in.nc out.nc").status, 0);
    EXPECT_EQ(dir.read("out.nc"), cr_only);
}

TEST(TextStreams, CrBeforeCrLfStaysACr) {
    TempDir dir;
    dir.write("in.nc", "%\r\r\nG92 X0 Y0 Z0\r\n(A\rB)\r\n");
    EXPECT_EQ(run_tool(dir, "in.nc out.nc").status, 0);
    EXPECT_EQ(dir.read("out.nc"), "%\r\r\nG92 X0 Y0 Z0\r\n(A\rB)\r\n");
}
