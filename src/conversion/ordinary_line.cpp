#include "conversion/ordinary_line.h"

#include <cstring>

#include "conversion/line_facts.h"
#include "words/number_text.h"
#include "words/render.h"
#include "words/word_format.h"

namespace ncabs {

namespace {

enum WalkClass : unsigned char { Plain = 0, AxisWord, ArcWord, CommentStart, GWord };

struct WalkTable {
    WalkClass of[256] = {};
    constexpr WalkTable() {
        of[static_cast<unsigned char>('X')] = AxisWord;
        of[static_cast<unsigned char>('Y')] = AxisWord;
        of[static_cast<unsigned char>('Z')] = AxisWord;
        of[static_cast<unsigned char>('I')] = ArcWord;
        of[static_cast<unsigned char>('J')] = ArcWord;
        of[static_cast<unsigned char>('K')] = ArcWord;
        of[static_cast<unsigned char>('R')] = ArcWord;
        of[static_cast<unsigned char>('(')] = CommentStart;
        of[static_cast<unsigned char>('G')] = GWord;
    }
};
constexpr WalkTable kWalk;

// Longer lines always take the full route.
constexpr std::size_t kOrdinaryLengthLimit = 1024;

// The most one word writes: letter, rendering and point.
constexpr std::size_t kWordRoom = kRenderedCapacity + 2;

// A G28, G30 or G53 to G59: a line the body pass treats apart.
bool is_exempting_g(char tens, char ones) {
    return (tens == '5' && ones >= '3' && ones <= '9') || (tens == '2' && ones == '8') || (tens == '3' && ones == '0');
}

}  // namespace

bool convert_ordinary_line(const LineBuffer& line, OutputStream& out, ConversionState& state) {
    // Lines without LF (the last line, pieces of an overlong line), blank
    // lines and comment lines go the full route.
    if (line.length < 2 || line.length > kOrdinaryLengthLimit || !line_has_end(line) || line.text[0] == '(')
        return false;
    if (kOutputBlockSize - out.used < kOrdinaryLengthLimit + kWordRoom) flush_output(out);

    const std::size_t saved_used = out.used;
    const Position saved_position = state.position;
    auto give_up = [&] {
        out.used = saved_used;
        state.position = saved_position;
        return false;
    };

    bool motion = false;     // holds G90, G91, X, Y or Z, comments included
    bool seen_g91 = false;   // the first G91 is written already
    const char* p = line.text;
    const char* end = line.text + line.length - 1;  // the LF
    const char* readable_end = line_readable_end(line);
    const char* run = p;  // start of the plain run not yet written
    while (p < end) {
        WalkClass cls = kWalk.of[static_cast<unsigned char>(*p)];
        if (cls == Plain) {
            ++p;
            continue;
        }
        if (cls == GWord) {
            // The two characters after a G are inside the line or its LF
            // and slack; only digits count, and the LF is none.
            char tens = p[1];
            char ones = p[2];
            if (tens == '9' && (ones == '0' || ones == '1')) {
                motion = true;
                if (ones == '1' && !seen_g91) {
                    // The first G91 becomes G90; in Incremental it changes
                    // nothing else.
                    if (state.mode != InputMode::Incremental) return give_up();
                    seen_g91 = true;
                    put_run(out, run, static_cast<std::size_t>(p + 2 - run));
                    put_bytes(out, "0", 1);
                    run = p + 3;
                } else if (ones == '0' && !seen_g91 && state.mode != InputMode::Absolute) {
                    return give_up();  // a later G91 may still decide
                }
                p += 3;
                continue;
            }
            if (is_exempting_g(tens, ones)) return give_up();
            ++p;
            continue;
        }
        if (cls == CommentStart) {
            // Copied through its first ")", or to the line end. Its X, Y
            // and Z make the line a motion line; its G words count as
            // anywhere else, so any that matters sends the line the full
            // route.
            const void* close = std::memchr(p + 1, ')', static_cast<std::size_t>(end - (p + 1)));
            const char* stop = close != nullptr ? static_cast<const char*>(close) + 1 : end;
            for (const char* c = p + 1; c < stop; ++c) {
                if (*c == 'X' || *c == 'Y' || *c == 'Z') motion = true;
                if (*c == 'G' && ((c[1] == '9' && (c[2] == '0' || c[2] == '1')) || is_exempting_g(c[1], c[2])))
                    return give_up();
            }
            p = stop;
            continue;
        }
        // A word: room for it and for the rest of the line, or give up.
        if (kOutputBlockSize - out.used < kWordRoom + line.length) return give_up();
        put_run(out, run, static_cast<std::size_t>(p - run));
        char letter = *p;
        double value = 0.0;
        p = read_word_number(p, end, readable_end, value);
        if (cls == AxisWord) {
            motion = true;
            int axis = axis_index(letter);
            move_axis(state, axis, value);
            format_axis_word(out, letter, state.position.xyz[axis]);
        } else {
            format_arc_word(out, letter, value);
        }
        run = p;
    }
    if (!motion) {
        // Not a motion line after all: its I, J, K and R stay as written.
        out.used = saved_used;
        copy_line(line, out);
        return true;
    }
    put_run(out, run, static_cast<std::size_t>(p - run));
    put_line_end(out);
    return true;
}

}  // namespace ncabs
