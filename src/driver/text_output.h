// Output text stream of the converted program.
//
// The output file is written through one fixed buffer in large blocks. The
// file format wants CR LF line ends whatever the input had, so every LF that
// goes out becomes the pair CR LF: the writers take text without LF, and
// put_line_end() writes the line end. Every other byte, CR and NUL
// included, is written as it is.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace ncabs {

inline constexpr std::size_t kOutputBlockSize = 256 * 1024;

// put_run() moves a short run as one copy of this width.
inline constexpr std::size_t kWideCopy = 16;

struct OutputStream {
    std::FILE* file = nullptr;
    std::size_t used = 0;  // bytes waiting in block
    bool failed = false;   // a write to the file fell short at some point
    char block[kOutputBlockSize + kWideCopy];  // room past the end for put_run()'s wide copies
};

// Writes the buffered bytes to the file. Returns false when the write fell
// short; the failure is also remembered in out.failed.
bool flush_output(OutputStream& out);

// Returns room for at least n bytes (n <= kOutputBlockSize) at the end of
// the buffer, flushing first if needed. The caller fills some of it and
// then calls commit_output() with the count it wrote.
inline char* reserve_output(OutputStream& out, std::size_t n) {
    if (kOutputBlockSize - out.used < n) flush_output(out);
    return out.block + out.used;
}

inline void commit_output(OutputStream& out, std::size_t n) { out.used += n; }

// Copies n bytes that the caller knows hold no LF (a plain run of a line).
void put_bytes_slowly(OutputStream& out, const char* bytes, std::size_t n);
inline void put_bytes(OutputStream& out, const char* bytes, std::size_t n) {
    if (kOutputBlockSize - out.used < n) {
        put_bytes_slowly(out, bytes, n);
        return;
    }
    std::memcpy(out.block + out.used, bytes, n);
    out.used += n;
}

// Copies n bytes of a line's text to to and returns the end of the copy.
// The text lies in a line buffer or the input block, which have kLineSlack
// readable bytes past any line, so a short run goes as one wide copy; to
// needs kWideCopy bytes of room, as the output block has past its end.
inline char* copy_run(char* to, const char* text, std::size_t n) {
    if (n <= kWideCopy) {
        std::memcpy(to, text, kWideCopy);
    } else {
        std::memcpy(to, text, n);
    }
    return to + n;
}

// Copies a run of a line's text that holds no LF.
inline void put_run(OutputStream& out, const char* text, std::size_t n) {
    if (kOutputBlockSize - out.used >= n) {
        copy_run(out.block + out.used, text, n);
        out.used += n;
        return;
    }
    put_bytes_slowly(out, text, n);
}

// The output's line end: CR LF.
inline void put_line_end(OutputStream& out) { put_bytes(out, "\r\n", 2); }

}  // namespace ncabs
