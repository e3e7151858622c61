#include "conversion/body_pass.h"

#include "conversion/motion_line.h"
#include "conversion/ordinary_line.h"
#include "words/number_text.h"

namespace ncabs {

bool classify_line(const LineFacts& facts, const LineBuffer& line) {
    bool selects_or_moves = facts.g90 || facts.g91 || facts.axis_letter;
    bool exempt = facts.g28 || facts.g30 || facts.work_offset;
    return selects_or_moves && !exempt && !is_comment_line(line);
}

void track_work_offset_line(const LineBuffer& line, const LineFacts& facts, OutputStream& out,
                            ConversionState& state) {
    if (facts.g91) {
        state.mode = InputMode::Incremental;
        // The offset line keeps its G91 as the machine reads it; the G90
        // after it keeps the converted program absolute.
        write_inserted_line(line, out, "G90");
    }
    if (facts.g90) state.mode = InputMode::Absolute;

    const char* p = line.text;
    const char* end = line.text + line_body_length(line);
    while (p < end) {
        char c = *p;
        if (c != 'X' && c != 'Y' && c != 'Z') {
            ++p;
            continue;
        }
        double value = 0.0;
        const char* after = read_word_number(p, end, line_readable_end(line), value);
        move_axis(state, axis_index(c), value);
        p = after;
    }
}

void convert_body_line(LineBuffer& line, OutputStream& out, ConversionState& state) {
    LineFacts facts = scan_line_facts(line);
    if (classify_line(facts, line)) {
        rewrite_motion_line(line, facts, out, state);
        return;
    }
    copy_line(line, out);
    if (facts.work_offset) {
        track_work_offset_line(line, facts, out, state);
    } else if ((facts.g28 || facts.g30) && facts.g91 && !is_comment_line(line)) {
        // NOTE: a reference return such as G28 G91 Z0 is copied as it
        // stands, and its G91 would leave the machine reading the
        // absolute words that follow as increments. The G90 after it
        // restores absolute reading, as after a work-offset line.
        write_inserted_line(line, out, "G90");
    }
}

void run_body_pass(RunFiles& files, LineBuffer& line, ConversionState& state) {
    for (;;) {
        if (state.mode == InputMode::StartLinePending) {
            state.mode = InputMode::Incremental;  // the waiting mode line comes first
        } else {
            convert_ordinary_lines(files.input, files.output, state);
            if (files.input.eof) return;  // the last read already met the end of the data
            if (!read_input_line(files.input, line)) return;
        }
        convert_body_line(line, files.output, state);
    }
}

}  // namespace ncabs
