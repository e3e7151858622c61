// End to end: inputs and surroundings a shop floor produces by accident:
// truncated or binary files, huge lines, absurd numbers, closed standard
// input, pipes, unreadable files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cfloat>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "e2e_case.h"

using namespace ncabs_test;

namespace {

const std::string kStart = "G92 X10. Y5. Z-2.\n";

}  // namespace

TEST(Hostile, ClosedStandardInputAtTheOutputPrompt) {
    TempDir dir;
    dir.write("in.nc", kStart);
    ToolRun run = run_tool(dir, "in.nc", {"", true});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.console, "\nOUTPUT-FILE NAME:\nCan't open \n");
    EXPECT_EQ(dir.read("in.nc"), kStart);
}

TEST(Hostile, AnUnreadableInputIsReported) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root; a directory input covers the refusal";
    TempDir dir;
    dir.write("locked.nc", kStart);
    std::filesystem::permissions(dir / "locked.nc", std::filesystem::perms::none);
    ToolRun run = run_tool(dir, "locked.nc out.nc");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.console, "\nCan't open locked.nc\n");
    EXPECT_FALSE(dir.exists("out.nc"));
}

TEST(Hostile, AbsurdStartAnswers) {
    const std::string digits(10000, '7');
    const std::string max = "17976931348623157" + std::string(292, '0') + ".";
    const ConversionCase cases[] = {
        // NOTE: beyond the largest double a number saturates there.
        {"10,000 digits with a point", "G91 X Y Z\n", digits + ". 0 0", "G90 X" + max + " Y0 Z0\n", kStartPrompts},
        {"10,000 digits: thousandths of the largest double", "G91 X Y Z\n", digits + " 0 0",
         "G90 X17976931348623156" + std::string(289, '0') + ". Y0 Z0\n", kStartPrompts},
        {"1e400 and -1e-400", "G91 X Y Z\n", "1.e400 -1e-400 -1.e400", "G90 X" + max + " Y0 Z-" + max + "\n",
         kStartPrompts},
    };
    for (const ConversionCase& c : cases) check_conversion(c);
}

TEST(Hostile, BinaryBytesInAMotionLine) {
    std::string line = "G91 X1.\x80\xFF";
    line += '\0';
    line += "Y1.";
    std::string out = "G90 X11.\x80\xFF";
    out += '\0';
    out += "Y6.";
    check_conversion({"0x80-0xFF and NUL are plain", kStart + line + "\n", "", kStart + out + "\n", ""});
    // Ctrl-Z ends the input in the middle of the line.
    check_conversion({"Ctrl-Z inside a motion line", kStart + "G91 X1.\x1AY1.\n", "", kStart + "G90 X11.", ""});
}

TEST(Hostile, AHundredMegabyteLineStreamsInBoundedMemory) {
    TempDir dir;
    const std::string head = kStart + "G91 X1.\n";
    std::string body(100 * 1000 * 1000, 'A');
    for (std::size_t i = 0; i < body.size(); i += 1000) body[i] = ' ';
    dir.write("huge.nc", head + body);
    dir.write("small.nc", head);

    ToolRun run = run_tool(dir, "huge.nc out.nc");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.console, "");
    // The pieces of the line are plain text, copied as they stand.
    EXPECT_EQ(dir.read("out.nc"), crlf(kStart + "G90 X11.\n") + body);

    if (std::getenv("NCABS_UNDER_SANITIZER") != nullptr) return;  // the sanitizers' own memory dominates
    long huge = peak_rss_kib(dir, "huge.nc out2.nc");
    long small = peak_rss_kib(dir, "small.nc out3.nc");
    if (huge < 0 || small < 0) GTEST_SKIP() << "/usr/bin/time is needed to measure memory";
    EXPECT_LE(huge, small + 1024) << "peak RSS in KiB";
}

TEST(Hostile, ANamedPipeAsTheInput) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.nc").c_str(), 0600), 0);
    const std::string program = kStart + "G91 X1.\nM30\n";
    std::thread writer([&] { write_file(dir / "pipe.nc", program); });
    ToolRun run = run_tool(dir, "pipe.nc out.nc");
    writer.join();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(dir.read("out.nc"), crlf(kStart + "G90 X11.\nM30\n"));
}

TEST(Hostile, StandardInputAsTheProgram) {
    TempDir dir;
    ToolRun run = run_tool(dir, "/dev/stdin out.nc", {kStart + "G91 Z1.\n"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(dir.read("out.nc"), crlf(kStart + "G90 Z-1.\n"));
}

TEST(Hostile, ClosedStandardStreamsNeverReachTheFiles) {
    // With standard input and output closed, the program and the output
    // file would otherwise take their places: the answers would be read
    // from the program and the prompts written into the output.
    TempDir dir;
    dir.write("in.nc", "G91 X1.\n");
    std::string command = "cd " + shell_quote(dir.path().string()) + " && " + shell_quote(NCABS_BINARY) +
                          " in.nc out.nc <&- >&- 2>&-";
    int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    EXPECT_EQ(dir.read("out.nc"), "G90 X1.\r\n");
}
