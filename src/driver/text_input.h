// Input text stream of the NC program, and the one line read of the passes.
//
// The file is read in large blocks through one fixed buffer, with the text
// rules of the program format applied on the way:
//   - CR LF is delivered as a single LF; a CR without LF stays a CR;
//   - a byte 0x1A (Ctrl-Z) ends the input: nothing from it on is read;
//   - every other byte, NUL included, is delivered unchanged.
// A line is everything up to and including its LF, at most kMaxLineLength
// characters counted after the CR LF rule; a longer line arrives in pieces.
#pragma once

#include <cstddef>
#include <cstdio>

namespace ncabs {

inline constexpr std::size_t kInputBlockSize = 256 * 1024;
inline constexpr std::size_t kMaxLineLength = 65535;

// Bytes after the input block and the line storage, so that the walks over
// a line may read (never use) up to this far past its end without leaving
// the array: short runs are copied 16 bytes at once, numbers read 8 at once.
inline constexpr std::size_t kLineSlack = 32;
static_assert(kLineSlack >= 16, "put_run() reads 16 bytes past a short run");

struct InputStream {
    std::FILE* file = nullptr;
    std::size_t pos = 0;       // next unread byte in block
    std::size_t end = 0;       // bytes held in block
    bool data_ended = false;   // no more blocks: end of file, a failed read, or 0x1A
    bool eof = false;          // end-of-file indicator: a read ran into the end of the data
    bool failed = false;       // a read of the file failed
    bool last_was_cut = false; // the line delivered last stopped at the length limit
    // After the data held, block[end] is a LF that is no part of it: a
    // walk over the block meets a LF there at the latest.
    unsigned char block[kInputBlockSize + kLineSlack] = {};
};

// One line of the program as the passes see it. Its text is a view, either
// into the input's block or into storage when the line straddled two blocks.
// The passes may change the text in place (the G91 of a motion line).
struct LineBuffer {
    char* text = nullptr;
    std::size_t length = 0;            // characters, the line end included
    bool completes_cut_line = false;   // the previous piece stopped at the limit
    char storage[kMaxLineLength + kLineSlack] = {};
};

inline bool line_has_end(const LineBuffer& line) {
    return line.length > 0 && line.text[line.length - 1] == '\n';
}

// How far past the line's text its walks may read.
inline const char* line_readable_end(const LineBuffer& line) { return line.text + line.length + kLineSlack; }

// Length of the line without its LF.
inline std::size_t line_body_length(const LineBuffer& line) {
    return line_has_end(line) ? line.length - 1 : line.length;
}

// Starts reading file from its beginning.
void attach_input(InputStream& in, std::FILE* file);

// Reads the next line into line. Stops after a LF, after kMaxLineLength
// characters, or where the data ends. Returns false, leaving line as it was,
// when nothing could be read. Sets in.eof on the read that runs into the end
// of the data, also when that read still returns a last line without LF.
bool read_input_line(InputStream& in, LineBuffer& line);

}  // namespace ncabs
