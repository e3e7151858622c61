// The one-walk conversion of ordinary lines against the full route (facts
// first, then the line's class), over generated programs larger than an
// input block, rich in what decides: G words that change the mode or exempt
// the line, comments holding them, arc words on lines that are no motion
// lines, CR LF and lone CR, blank lines, a last line without LF.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "conversion/body_pass.h"
#include "conversion/ordinary_line.h"

using namespace ncabs;

namespace {

// Tokens of ordinary motion lines, and tokens that send a line the full
// route or test the walk's edges.
const char* const kOrdinaryTokens[] = {"X", "Y", "Z", "I", "J", "R", "N10", "F800", " ", " ", "G01", "G91", "G02",
                                       "1.5", "-2.25", "100", "12345678", ".5", "-.001", "3.", "99999.9995", "(ROUGH)"};
const char* const kWildTokens[] = {
    "G91", "G90", "G9",  "G910", "G901", "G28", "G30", "G54", "G59", "G53", "G5", "G",   "K",  "(",    ")",
    "(G91)", "(X)", "(G54", "-",  ".",    "0",   "7",   "1e3", "\r",  "H",   "[",  "g91", "M3", "\r\n", "\n",
};

std::string random_program(std::mt19937_64& rng, std::size_t size) {
    std::string text;
    while (text.size() < size) {
        bool wild = rng() % 4 == 0;
        int tokens = static_cast<int>(rng() % 10);
        for (int i = 0; i < tokens; ++i) {
            text += wild && rng() % 2 == 0 ? kWildTokens[rng() % std::size(kWildTokens)]
                                           : kOrdinaryTokens[rng() % std::size(kOrdinaryTokens)];
        }
        text += rng() % 8 == 0 ? "\r\n" : "\n";
    }
    if (rng() % 2 == 0) text += "X1 Y2";  // a last line without LF
    return text;
}

struct BodyRun {
    std::string output;
    ConversionState state;
};

// Runs the body pass over text from start: as built, or line by line by
// the full route alone.
BodyRun run_body(const std::string& text, const ConversionState& start, bool full_route_only) {
    static RunFiles files;
    static LineBuffer line;
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), in);
    std::rewind(in);
    attach_input(files.input, in);
    files.output.file = out;
    files.output.used = 0;
    files.output.failed = false;

    BodyRun run;
    run.state = start;
    if (full_route_only) {
        while (!files.input.eof && read_input_line(files.input, line)) convert_body_line(line, files.output, run.state);
    } else {
        run_body_pass(files, line, run.state);
    }
    flush_output(files.output);
    long size = std::ftell(out);
    run.output.resize(static_cast<std::size_t>(size));
    std::rewind(out);
    std::size_t got = std::fread(run.output.data(), 1, run.output.size(), out);
    run.output.resize(got);
    std::fclose(in);
    std::fclose(out);
    return run;
}

bool same_state(const ConversionState& a, const ConversionState& b) {
    return a.mode == b.mode && std::memcmp(&a.position, &b.position, sizeof a.position) == 0;
}

}  // namespace

TEST(OrdinaryLines, TheBodyPassWritesWhatTheFullRouteWrites) {
    const double positions[] = {0.0, -0.0, 1.5, -250.125, 99999.9995, 1e300, -1e-300};
    std::mt19937_64 rng(6983);
    for (int program = 0; program < 6; ++program) {
        std::string text = random_program(rng, 700000);  // nearly three input blocks
        ConversionState start;
        start.mode = program % 2 == 0 ? InputMode::Absolute : InputMode::Incremental;
        for (double& axis : start.position.xyz) axis = positions[rng() % std::size(positions)];
        BodyRun built = run_body(text, start, false);
        BodyRun reference = run_body(text, start, true);
        ASSERT_EQ(built.output.size(), reference.output.size()) << "program " << program;
        ASSERT_TRUE(built.output == reference.output) << "program " << program;
        EXPECT_TRUE(same_state(built.state, reference.state)) << "program " << program;
    }
}

TEST(OrdinaryLines, GiveUpRatherThanFlushWhatTheyMayTakeBack) {
    // A line of words whose positions are the largest doubles, with the
    // output block nearly full: the walk must not flush a half-written line
    // it may still take back, so it leaves the line to the full route.
    static InputStream in;
    static OutputStream out;
    std::string text;
    for (int i = 0; i < 40; ++i) text += "X ";
    text += '\n';
    std::memcpy(in.block, text.data(), text.size());
    in.block[text.size()] = '\n';
    in.pos = 0;
    in.end = text.size();
    out.file = nullptr;
    out.used = kOutputBlockSize - 3000;
    ConversionState state;
    state.mode = InputMode::Incremental;
    state.position = {{1.7976931348623157e308, 0.0, 0.0}};
    ConversionState start = state;

    convert_ordinary_lines(in, out, state);
    EXPECT_EQ(in.pos, 0u);
    EXPECT_EQ(out.used, kOutputBlockSize - 3000);
    EXPECT_FALSE(out.failed);
    EXPECT_TRUE(same_state(state, start));
}
