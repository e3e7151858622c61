#include "conversion/motion_line.h"

#include <cstring>

#include "conversion/walk_table.h"
#include "words/number_text.h"
#include "words/word_format.h"

namespace ncabs {

void rewrite_motion_line(LineBuffer& line, const LineFacts& facts, OutputStream& out, ConversionState& state) {
    // Mode step, before anything is written.
    if (facts.g91) {
        line.text[facts.first_g91 + 2] = '0';
        state.mode = InputMode::Incremental;
    } else if (facts.g90) {
        state.mode = InputMode::Absolute;
    }

    // Walk. The LF, if any, is the line's last character; the walk stops
    // before it and writes the line end last.
    const char* p = line.text;
    const char* end = line.text + line_body_length(line);
    const char* readable_end = line_readable_end(line);
    const char* run = p;  // start of the plain run not yet written
    while (p < end) {
        // The facts are found already, so a G is plain here; the line's
        // only LF lies at end.
        WalkClass cls = kWalk.of[static_cast<unsigned char>(*p)];
        if (cls != AxisWord && cls != ArcWord && cls != CommentStart) {
            ++p;
            continue;
        }
        put_run(out, run, static_cast<std::size_t>(p - run));
        if (cls == CommentStart) {
            // No nesting: the first ")" closes; an unclosed comment runs to the line end.
            const void* close = std::memchr(p + 1, ')', static_cast<std::size_t>(end - (p + 1)));
            const char* stop = close != nullptr ? static_cast<const char*>(close) + 1 : end;
            put_run(out, p, static_cast<std::size_t>(stop - p));
            p = stop;
        } else {
            char letter = *p;
            double value = 0.0;
            const char* after = read_word_number(p, end, readable_end, value);
            if (cls == AxisWord) {
                int axis = axis_index(letter);
                move_axis(state, axis, value);
                format_axis_word(out, letter, state.position.xyz[axis]);
            } else {
                format_arc_word(out, letter, value);
            }
            p = after;
        }
        run = p;
    }
    put_run(out, run, static_cast<std::size_t>(p - run));
    if (line_has_end(line)) put_line_end(out);
}

}  // namespace ncabs
