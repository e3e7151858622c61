// The input text stream: line pieces, CR LF across block boundaries, the
// end-of-file indicator and read failures.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "driver/run_files.h"
#include "driver/run_passes.h"
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

namespace {

// A stream that delivers its text, then fails instead of ending.
struct FailingSource {
    std::string text;
    std::size_t at = 0;
};

ssize_t read_then_fail(void* cookie, char* buf, std::size_t size) {
    auto* source = static_cast<FailingSource*>(cookie);
    if (source->at == source->text.size()) {
        errno = EIO;
        return -1;
    }
    std::size_t n = std::min(size, source->text.size() - source->at);
    std::memcpy(buf, source->text.data() + source->at, n);
    source->at += n;
    return static_cast<ssize_t>(n);
}

}  // namespace

TEST(RunFiles, AReadErrorDuringTheRunMakesTheRunAFailure) {
    // NOTE: the lines read before the failure are converted and written,
    // but the run does not report success: its status is -1 (255).
    FailingSource source{"G92 X0 Y0 Z0\nG91 X1.\n"};
    cookie_io_functions_t io = {read_then_fail, nullptr, nullptr, nullptr};
    std::FILE* in = fopencookie(&source, "r", io);
    ASSERT_NE(in, nullptr);
    std::setvbuf(in, nullptr, _IONBF, 0);
    ncabs_test::TempDir dir;
    std::FILE* out = std::fopen((dir / "out.nc").c_str(), "wb");
    auto files = std::make_unique<RunFiles>();
    auto line = std::make_unique<LineBuffer>();
    attach_input(files->input, in);
    files->output.file = out;
    ConversionState state;
    Console console{stdin, stdout};
    EXPECT_TRUE(run_conversion_passes(*files, console, *line, state));
    EXPECT_EQ(close_run_files(*files), -1);
    EXPECT_EQ(dir.read("out.nc"), "G92 X0 Y0 Z0\r\nG90 X1.\r\n");
}
