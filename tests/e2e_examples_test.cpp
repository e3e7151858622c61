// The bundled example programs, converted and compared byte for byte with
// their expected outputs. A program NAME.nc has NAME.expected beside it, and
// NAME.answers when it takes its start position from the prompts.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e_case.h"

using namespace ncabs_test;
namespace fs = std::filesystem;

TEST(Examples, ConvertToTheirExpectedOutputs) {
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(NCABS_EXAMPLES_DIR)) {
        fs::path program = entry.path();
        if (program.extension() != ".nc") continue;
        ++seen;
        fs::path expected = fs::path(program).replace_extension(".expected");
        fs::path answers = fs::path(program).replace_extension(".answers");
        ASSERT_TRUE(fs::exists(expected)) << program;

        TempDir dir;
        dir.write("in.nc", read_file(program));
        std::string typed = fs::exists(answers) ? read_file(answers) : "";
        ToolRun run = run_tool(dir, "in.nc out.nc", {typed});
        EXPECT_EQ(run.status, 0) << program;
        EXPECT_EQ(run.console, fs::exists(answers) ? kStartPrompts : "") << program;
        EXPECT_EQ(dir.read("out.nc"), read_file(expected)) << program;
    }
    EXPECT_GE(seen, 3);
}
