// The one-walk conversion of ordinary lines against the full route (facts
// first, then the line's class), on generated lines rich in what decides:
// G words that change the mode or exempt the line, comments holding them,
// arc words on lines that are no motion lines, signs, points, and digits in
// the slack after the line.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "conversion/body_pass.h"
#include "conversion/ordinary_line.h"

using namespace ncabs;

namespace {

const char* const kTokens[] = {
    "G91", "G90", "G9", "G910", "G901", "G28", "G30", "G54", "G59", "G53", "G5", "G1", "G01", "G",  "X",
    "Y",   "Z",   "I",  "J",    "K",    "R",   "N10", "F800", " ",  " ",   "(",  ")",  "(G91)", "(X)", "(ROUGH G01)",
    "-",   ".",   "0",  "7",    "1.5",  "-2.25", "100", "12345678", ".5", "-.001", "3.", "1e3", "99999.9995", "\r", "H",
    "[",   "g91", "M3",
};

std::string random_line(std::mt19937_64& rng) {
    std::string text;
    int tokens = static_cast<int>(rng() % 10);
    for (int i = 0; i < tokens; ++i) text += kTokens[rng() % std::size(kTokens)];
    if (rng() % 20 != 0) text += '\n';  // now and then a last line without LF
    return text;
}

// text in line's storage, followed by digits in the slack: a walk that
// read past the line would take them into a number.
void load_line(LineBuffer& line, const std::string& text) {
    std::memcpy(line.storage, text.data(), text.size());
    std::memset(line.storage + text.size(), '7', kLineSlack);
    line.text = line.storage;
    line.length = text.size();
    line.completes_cut_line = false;
}

bool same_state(const ConversionState& a, const ConversionState& b) {
    return a.mode == b.mode && std::memcmp(&a.position, &b.position, sizeof a.position) == 0;
}

std::string written(const OutputStream& out) { return std::string(out.block, out.used); }

}  // namespace

TEST(OrdinaryLine, WritesWhatTheFullRouteWritesOrNothingAtAll) {
    static LineBuffer fast_line;
    static LineBuffer full_line;
    static OutputStream fast_out;
    static OutputStream full_out;
    const double positions[] = {0.0, -0.0, 1.5, -250.125, 99999.9995, 1e300, -1e-300, 0.0005};
    std::mt19937_64 rng(6983);
    int taken = 0;
    int given_up = 0;
    for (int i = 0; i < 200000; ++i) {
        std::string text = random_line(rng);
        if (text.empty()) continue;
        ConversionState start;
        start.mode = rng() % 2 == 0 ? InputMode::Absolute : InputMode::Incremental;
        for (double& axis : start.position.xyz) axis = positions[rng() % std::size(positions)];

        ConversionState fast_state = start;
        load_line(fast_line, text);
        fast_out.used = 0;
        if (!convert_ordinary_line(fast_line, fast_out, fast_state)) {
            ++given_up;
            ASSERT_EQ(fast_out.used, 0u) << text;
            ASSERT_TRUE(same_state(fast_state, start)) << text;
            continue;
        }
        ++taken;
        ConversionState full_state = start;
        load_line(full_line, text);
        full_out.used = 0;
        convert_body_line(full_line, full_out, full_state);
        ASSERT_EQ(written(fast_out), written(full_out)) << text;
        ASSERT_TRUE(same_state(fast_state, full_state)) << text;
    }
    // Both routes must be exercised for the comparison to mean anything.
    EXPECT_GT(taken, 50000);
    EXPECT_GT(given_up, 20000);
}

TEST(OrdinaryLine, GivesUpRatherThanFlushWhatItMayTakeBack) {
    // A line of words whose positions are the largest doubles, in an
    // output block nearly full: the walk must not flush a half-written
    // line it may still take back, so it gives up and the full route
    // writes the line whole.
    static LineBuffer line;
    static OutputStream out;
    std::string text;
    for (int i = 0; i < 40; ++i) text += "X ";
    text += '\n';
    load_line(line, text);
    out.file = nullptr;
    out.used = kOutputBlockSize - 3000;
    std::memset(out.block, 'A', out.used);
    ConversionState state;
    state.mode = InputMode::Incremental;
    state.position = {{1.7976931348623157e308, 0.0, 0.0}};
    ConversionState start = state;
    EXPECT_FALSE(convert_ordinary_line(line, out, state));
    EXPECT_TRUE(same_state(state, start));
    EXPECT_EQ(out.used, kOutputBlockSize - 3000);
}
