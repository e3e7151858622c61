#include "driver/text_input.h"

#include <cstring>

namespace ncabs {

namespace {

constexpr unsigned char kEndOfText = 0x1A;  // Ctrl-Z: the end of a DOS text file

// Reads the next block. Returns false when the data has ended.
bool refill(InputStream& in) {
    in.pos = 0;
    in.end = 0;
    if (in.data_ended || in.file == nullptr) {
        in.data_ended = true;
        return false;
    }
    std::size_t n = std::fread(in.block, 1, kInputBlockSize, in.file);
    if (n < kInputBlockSize) {
        // fread gives a short count only at the end of the file or on an error.
        in.data_ended = true;
        if (std::ferror(in.file)) in.failed = true;
    }
    const void* stop = std::memchr(in.block, kEndOfText, n);
    if (stop != nullptr) {
        n = static_cast<std::size_t>(static_cast<const unsigned char*>(stop) - in.block);
        in.data_ended = true;
    }
    in.end = n;
    in.block[n] = '\n';  // the stop mark after the data
    return n > 0;
}

// The text stream's character read: CR LF comes out as LF. Returns -1 at
// the end of the data, and only then sets the end-of-file indicator (unless
// the read failed, which sets the error indicator instead).
int next_char(InputStream& in) {
    if (in.pos == in.end && !refill(in)) {
        if (!in.failed) in.eof = true;
        return -1;
    }
    unsigned char c = in.block[in.pos++];
    if (c == '\r') {
        if (in.pos == in.end && !refill(in)) return '\r';
        if (in.block[in.pos] == '\n') {
            ++in.pos;
            return '\n';
        }
    }
    return c;
}

// Character by character into storage: lines that straddle blocks, overlong
// lines and the last line of the data.
bool read_line_slowly(InputStream& in, LineBuffer& line) {
    std::size_t n = 0;
    bool ended_at_lf = false;
    while (n < kMaxLineLength) {
        int c = next_char(in);
        if (c < 0) break;
        line.storage[n++] = static_cast<char>(c);
        if (c == '\n') {
            ended_at_lf = true;
            break;
        }
    }
    if (n == 0) return false;
    line.text = line.storage;
    line.length = n;
    line.completes_cut_line = in.last_was_cut;
    in.last_was_cut = !ended_at_lf && n == kMaxLineLength;
    return true;
}

}  // namespace

void attach_input(InputStream& in, std::FILE* file) {
    in.file = file;
    in.pos = 0;
    in.end = 0;
    in.data_ended = false;
    in.eof = false;
    in.failed = false;
    in.last_was_cut = false;
}

bool read_input_line(InputStream& in, LineBuffer& line) {
    // Fast path: the whole line, LF included, lies in the current block and
    // is within the length limit; it is delivered as a view into the block.
    std::size_t avail = in.end - in.pos;
    std::size_t window = avail < kMaxLineLength + 1 ? avail : kMaxLineLength + 1;
    unsigned char* start = in.block + in.pos;
    const void* lf = window > 0 ? std::memchr(start, '\n', window) : nullptr;
    if (lf != nullptr) {
        std::size_t raw = static_cast<std::size_t>(static_cast<const unsigned char*>(lf) - start) + 1;
        bool crlf = raw >= 2 && start[raw - 2] == '\r';
        std::size_t length = crlf ? raw - 1 : raw;
        if (length <= kMaxLineLength) {
            if (crlf) start[raw - 2] = '\n';
            line.text = reinterpret_cast<char*>(start);
            line.length = length;
            line.completes_cut_line = in.last_was_cut;
            in.last_was_cut = false;
            in.pos += raw;
            return true;
        }
    }
    return read_line_slowly(in, line);
}

}  // namespace ncabs
