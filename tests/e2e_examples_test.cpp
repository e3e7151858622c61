// The bundled example programs and the test fixtures, converted and
// compared byte for byte with their expected outputs. A program NAME.nc has
// NAME.expected beside it, and NAME.answers when it takes its start
// position from the prompts.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e_case.h"

using namespace ncabs_test;
namespace fs = std::filesystem;

namespace {

// Converts every program in folder; returns how many there were.
int check_programs_in(const char* folder) {
    int seen = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        fs::path program = entry.path();
        if (program.extension() != ".nc") continue;
        ++seen;
        fs::path expected = fs::path(program).replace_extension(".expected");
        fs::path answers = fs::path(program).replace_extension(".answers");
        EXPECT_TRUE(fs::exists(expected)) << program;

        TempDir dir;
        dir.write("in.nc", read_file(program));
        std::string typed = fs::exists(answers) ? read_file(answers) : "";
        ToolRun run = run_tool(dir, "in.nc out.nc", {typed});
        EXPECT_EQ(run.status, 0) << program;
        EXPECT_EQ(run.console, fs::exists(answers) ? kStartPrompts : "") << program;
        EXPECT_EQ(dir.read("out.nc"), read_file(expected)) << program;
    }
    return seen;
}

}  // namespace

TEST(Examples, ConvertToTheirExpectedOutputs) { EXPECT_GE(check_programs_in(NCABS_EXAMPLES_DIR), 3); }

// Preamble and body tables, binary bytes, a line cut at the length limit
// and the prompt route, as whole files.
TEST(Fixtures, ConvertToTheirExpectedOutputs) { EXPECT_GE(check_programs_in(NCABS_FIXTURES_DIR), 1); }
