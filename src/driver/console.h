// The console: prompts and messages out, whitespace-delimited answers in.
//
// All prompts share one token stream, so words typed ahead answer the next
// prompts. Every prompt is flushed before the answer is read, so that it is
// on the screen although it ends without a line end.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace ncabs {

struct Console {
    std::FILE* in = stdin;
    std::FILE* out = stdout;
};

// Writes text (n bytes, which may hold NULs) to the console and flushes it.
void console_write(const Console& console, const char* text, std::size_t n);
void console_write(const Console& console, const char* text);

// Reads the next token: skips blanks, tabs, LF, VT, FF and CR, then takes
// every byte up to the next of these or the end of the input. The byte
// that ended the token stays unread. When the input ends (or fails) before
// a token, token is left as it was and false is returned.
bool read_console_token(const Console& console, std::string& token);

}  // namespace ncabs
