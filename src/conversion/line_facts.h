// What a line holds, found in one pass over its text.
//
// A line holds a word when the word stands anywhere in its text as a plain,
// case-sensitive substring, comments included: G910 holds "G91", g91 does
// not. Every test of the passes (mode line, early position, classes,
// work-offset lines, the mode step) is read off these facts.
#pragma once

#include <cstddef>

#include "driver/text_input.h"
#include "driver/text_output.h"

namespace ncabs {

struct LineFacts {
    bool g90 = false;
    bool g91 = false;
    bool g92 = false;
    bool g28 = false;
    bool g30 = false;
    bool work_offset = false;  // holds one of G53 to G59
    bool axis_letter = false;  // holds an upper-case X, Y or Z
    bool paren = false;        // holds a "("
    std::size_t first_g91 = 0; // offset of the first "G91", when g91
};

LineFacts scan_line_facts(const char* text, std::size_t length);

inline LineFacts scan_line_facts(const LineBuffer& line) { return scan_line_facts(line.text, line.length); }

inline bool is_comment_line(const LineBuffer& line) { return line.length > 0 && line.text[0] == '('; }

// Writes the line unchanged, with its LF as CR LF. Drops a blank line (a
// lone LF), but not the LF that completes a line cut at the length limit.
void copy_line(const LineBuffer& line, OutputStream& out);

// Writes an inserted one-word line ("G90" or "G91") after line, on a line
// of its own even when line has no line end.
void write_inserted_line(const LineBuffer& line, OutputStream& out, const char* word);

}  // namespace ncabs
