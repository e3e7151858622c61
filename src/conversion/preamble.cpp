#include "conversion/preamble.h"

#include <cstring>
#include <string>

#include "conversion/line_facts.h"
#include "words/number_text.h"

namespace ncabs {

namespace {

bool is_mode_line(const LineFacts& facts, const LineBuffer& line) {
    return (facts.g90 || facts.g91 || facts.g92) && !is_comment_line(line);
}

// A position word before the mode line means the program's G90/G91/G92
// stands too late. Reference returns, work offsets and lines with a
// comment are exempt.
bool is_early_position(const LineFacts& facts) {
    return facts.axis_letter && !facts.paren && !facts.g28 && !facts.g30 && !facts.work_offset;
}

// The value of the number after the first occurrence of letter in the
// line. NOTE: a G92 line without that letter starts the axis at 0.
double g92_axis_value(const LineBuffer& line, char letter) {
    const char* end = line.text + line.length;
    const void* at = std::memchr(line.text, letter, line.length);
    if (at == nullptr) return 0.0;
    NumberText text;
    scan_number_text(static_cast<const char*>(at), end, text);
    return word_value(text);
}

// NOTE: when standard input ends before an answer, the answer is the empty
// text, worth 0.
double prompt_axis_value(const Console& console, const char* prompt) {
    console_write(console, prompt);
    std::string answer;
    read_console_token(console, answer);
    return word_value(answer.data(), answer.data() + answer.size());
}

}  // namespace

PreambleEnd copy_preamble(RunFiles& files, const Console& console, LineBuffer& line) {
    if (!read_input_line(files.input, line)) return PreambleEnd::InputEnded;
    for (;;) {
        LineFacts facts = scan_line_facts(line);
        if (is_mode_line(facts, line)) return PreambleEnd::ModeLine;
        if (is_early_position(facts)) {
            console_write(console, "Warning:in input file the location of");
            console_write(console, " G92/G90/G91 maybe wrong!\n");
            return PreambleEnd::EarlyPosition;
        }
        copy_line(line, files.output);
        // Only a comment line gets here holding "G90". One that names a work
        // offset and G90 is followed by G91, for the incremental body.
        if (facts.work_offset && facts.g90) write_inserted_line(line, files.output, "G91");
        if (!read_input_line(files.input, line)) return PreambleEnd::InputEnded;
    }
}

void establish_start_position(const LineBuffer& line, OutputStream& out, const Console& console,
                              ConversionState& state) {
    LineFacts facts = scan_line_facts(line);
    if (facts.g92) {
        state.mode = InputMode::Absolute;
        state.position.xyz[AxisX] = g92_axis_value(line, 'X');
        state.position.xyz[AxisY] = g92_axis_value(line, 'Y');
        state.position.xyz[AxisZ] = g92_axis_value(line, 'Z');
        copy_line(line, out);
        return;
    }
    state.mode = InputMode::StartLinePending;
    state.position.xyz[AxisX] = prompt_axis_value(console, "\nINPUT START-X:");
    state.position.xyz[AxisY] = prompt_axis_value(console, "\nINPUT START-Y:");
    state.position.xyz[AxisZ] = prompt_axis_value(console, "\nINPUT START-Z:");
}

}  // namespace ncabs
