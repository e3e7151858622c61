#include "conversion/ordinary_line.h"

#include "conversion/walk_table.h"
#include "words/number_text.h"
#include "words/word_format.h"

namespace ncabs {

namespace {

// Longer lines always take the full route.
constexpr std::size_t kOrdinaryLengthLimit = 1024;

// Room the walk makes sure of before each word: the word, and the rest of
// the line with its CR LF.
constexpr std::size_t kRoomBeforeWord = kWordRoom + kOrdinaryLengthLimit + 2;

// A G28, G30 or G53 to G59: a line the body pass treats apart.
bool is_exempting_g(char tens, char ones) {
    return (tens == '5' && ones >= '3' && ones <= '9') || (tens == '2' && ones == '8') || (tens == '3' && ones == '0');
}

// Whether a G whose next two characters are tens and ones needs the
// line's facts: one that selects a mode, or one that exempts the line.
bool is_deciding_g(char tens, char ones) {
    return (tens == '9' && (ones == '0' || ones == '1')) || is_exempting_g(tens, ones);
}

// The number of the word whose letter is at letter. The data ends in a LF
// and has slack after it, so the common reading needs no end checks.
const char* read_number(const char* letter, const char* data_end, double& value) {
    const char* after = nullptr;
    if (little_endian_target && read_common_number(letter + 1, after, value)) return after;
    return detail::read_word_number_slowly(letter, data_end, value);
}

// Converts the ordinary line at line (within the block, data ending at
// data_end) and returns the position after its LF, or returns nullptr,
// having written nothing and changed nothing, when the line is not
// ordinary. The line is written at the output's end and committed only
// when it is done.
const char* convert_line(const char* line, const char* data_end, OutputStream& out, ConversionState& state) {
    if (kOutputBlockSize - out.used < kRoomBeforeWord) flush_output(out);
    char* const start = out.block + out.used;
    char* const room_end = out.block + kOutputBlockSize;
    char* w = start;  // where the next byte goes
    const Position saved_position = state.position;
    auto give_up = [&]() -> const char* {
        state.position = saved_position;
        return nullptr;
    };

    bool motion = false;    // holds G90, G91, X, Y or Z, comments included
    bool seen_g91 = false;  // the first G91 is written already
    const char* p = line;
    const char* run = p;  // start of the plain run not yet written
    for (;;) {
        WalkClass cls = kWalk.of[static_cast<unsigned char>(*p)];
        if (cls == Plain) {
            ++p;
            continue;
        }
        // Whatever is written next fits: the line so far is within the
        // limit, and each word checks its room.
        if (static_cast<std::size_t>(p - line) > kOrdinaryLengthLimit) return give_up();
        if (cls == LineEnd) break;
        if (cls == GWord) {
            // The two characters after a G lie within the line and its LF,
            // or in the slack; only digits count, and a LF is none.
            char tens = p[1];
            char ones = p[2];
            if (tens == '9' && (ones == '0' || ones == '1')) {
                motion = true;
                if (ones == '1' && !seen_g91) {
                    // The first G91 becomes G90; in Incremental it changes
                    // nothing else.
                    if (state.mode != InputMode::Incremental) return give_up();
                    seen_g91 = true;
                    w = copy_run(w, run, static_cast<std::size_t>(p + 2 - run));
                    *w++ = '0';
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
            // and Z make the line a motion line; a G in it counts as
            // anywhere else, so one that decides sends the line the full
            // route.
            ++p;
            while (*p != ')' && *p != '\n') {
                if (*p == 'X' || *p == 'Y' || *p == 'Z') motion = true;
                if (*p == 'G' && is_deciding_g(p[1], p[2])) return give_up();
                ++p;
            }
            if (*p == ')') ++p;
            continue;
        }
        // A word: room for it and for the rest of the line, or give up.
        if (static_cast<std::size_t>(room_end - w) < kRoomBeforeWord) return give_up();
        w = copy_run(w, run, static_cast<std::size_t>(p - run));
        char letter = *p;
        double value = 0.0;
        p = read_number(p, data_end, value);
        if (cls == AxisWord) {
            motion = true;
            int axis = axis_index(letter);
            move_axis(state, axis, value);
            w = write_axis_word(w, letter, state.position.xyz[axis]);
        } else {
            w = write_arc_word(w, letter, value);
        }
        run = p;
    }

    // p is at a LF: the line's own, or the mark after the data when the
    // line does not end in this block. A CR before the LF belongs to the
    // line end.
    if (p == data_end) return give_up();
    const char* body_end = p > line && p[-1] == '\r' ? p - 1 : p;
    if (body_end == line) return give_up();  // a blank line
    if (!motion) {
        // Not a motion line after all: its I, J, K and R stay as written.
        w = start;
        run = line;
    }
    w = copy_run(w, run, static_cast<std::size_t>(body_end - run));
    *w++ = '\r';
    *w++ = '\n';
    commit_output(out, static_cast<std::size_t>(w - start));
    return p + 1;
}

}  // namespace

void convert_ordinary_lines(InputStream& in, OutputStream& out, ConversionState& state) {
    const char* block = reinterpret_cast<const char*>(in.block);
    const char* data_end = block + in.end;
    while (in.pos < in.end) {
        const char* line = block + in.pos;
        if (*line == '(') return;  // a comment line
        const char* next = convert_line(line, data_end, out, state);
        if (next == nullptr) return;
        in.pos = static_cast<std::size_t>(next - block);
        in.last_was_cut = false;
    }
}

}  // namespace ncabs
