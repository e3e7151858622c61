// One end-to-end case: a program and answers in, output file, console and
// exit status out. Checked through the built binary.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tool_run.h"

namespace ncabs_test {

struct ConversionCase {
    const char* what;
    std::string program;   // input file bytes
    std::string typed;     // standard input
    std::string output;    // expected output file, with LF line ends (CR LF on disk)
    std::string console;   // expected standard output
    int status = 0;
};

inline const std::string kStartPrompts = "\nINPUT START-X:\nINPUT START-Y:\nINPUT START-Z:";
inline const std::string kWarning = "Warning:in input file the location of G92/G90/G91 maybe wrong!\n";

inline void check_conversion(const ConversionCase& c) {
    TempDir dir;
    dir.write("in.nc", c.program);
    ToolRun run = run_tool(dir, "in.nc out.nc", {c.typed});
    EXPECT_EQ(run.status, c.status) << c.what;
    EXPECT_EQ(run.console, c.console) << c.what;
    EXPECT_EQ(run.errors, "") << c.what;
    EXPECT_EQ(dir.read("out.nc"), crlf(c.output)) << c.what;
    EXPECT_EQ(dir.read("in.nc"), c.program) << c.what;
}

}  // namespace ncabs_test
