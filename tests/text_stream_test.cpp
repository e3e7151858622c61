// The input text stream: line pieces, CR LF across block boundaries, the
// end-of-file indicator and read failures.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "driver/text_input.h"
#include "tool_run.h"

using namespace ncabs;

namespace {

struct Piece {
    std::string text;
    bool eof_after;  // the end-of-file indicator after this read
};

// Reads every line of bytes, as the passes would.
std::vector<Piece> read_all(const std::string& bytes) {
    ncabs_test::TempDir dir;
    dir.write("in", bytes);
    std::FILE* f = std::fopen((dir / "in").c_str(), "rb");
    auto in = std::make_unique<InputStream>();
    auto line = std::make_unique<LineBuffer>();
    attach_input(*in, f);
    std::vector<Piece> pieces;
    while (read_input_line(*in, *line)) pieces.push_back({std::string(line->text, line->length), in->eof});
    EXPECT_TRUE(in->eof);
    std::fclose(f);
    return pieces;
}

}  // namespace

TEST(ReadInputLine, DeliversLinesWithTheTextRules) {
    auto pieces = read_all("A\r\nB\n\rC\r\r\nD");
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].text, "A\n");
    EXPECT_EQ(pieces[1].text, "B\n");
    EXPECT_EQ(pieces[2].text, "\rC\r\n");
    EXPECT_EQ(pieces[3].text, "D");
    EXPECT_FALSE(pieces[2].eof_after);
    EXPECT_TRUE(pieces[3].eof_after);  // the read that ran into the end
}

TEST(ReadInputLine, CrLfAcrossEveryBlockBoundaryIsOneLf) {
    // Lines of every length around the block size put the CR LF pair, and
    // the pair's two bytes, on both sides of a block boundary.
    std::string bytes;
    std::vector<std::string> want;
    std::size_t line_length = 1000;
    while (bytes.size() < 3 * kInputBlockSize) {
        std::string body(line_length % 997 + 1, 'a' + static_cast<char>(want.size() % 26));
        bytes += body + "\r\n";
        want.push_back(body + "\n");
        ++line_length;
    }
    auto pieces = read_all(bytes);
    ASSERT_EQ(pieces.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) ASSERT_EQ(pieces[i].text, want[i]) << i;
}

TEST(ReadInputLine, CutsOverlongLinesIntoPiecesOfTheLimit) {
    std::string body(2 * kMaxLineLength + 10, 'x');
    auto pieces = read_all(body + "\r\nnext\n");
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0].text.size(), kMaxLineLength);
    EXPECT_EQ(pieces[1].text.size(), kMaxLineLength);
    EXPECT_EQ(pieces[2].text, std::string(10, 'x') + "\n");
    EXPECT_EQ(pieces[3].text, "next\n");

    // A CR LF pair never splits at the limit: it is one LF, inside it.
    auto exact = read_all(std::string(kMaxLineLength - 1, 'y') + "\r\nz");
    ASSERT_EQ(exact.size(), 2u);
    EXPECT_EQ(exact[0].text, std::string(kMaxLineLength - 1, 'y') + "\n");
    EXPECT_EQ(exact[1].text, "z");
}

TEST(ReadInputLine, AFailedReadEndsTheInputAndIsRemembered) {
    // Reading a directory fails: the stream ends and records the failure.
    std::FILE* f = std::fopen(".", "rb");
    ASSERT_NE(f, nullptr);
    auto in = std::make_unique<InputStream>();
    auto line = std::make_unique<LineBuffer>();
    attach_input(*in, f);
    EXPECT_FALSE(read_input_line(*in, *line));
    EXPECT_TRUE(in->failed);
    EXPECT_FALSE(in->eof);
    std::fclose(f);
}
