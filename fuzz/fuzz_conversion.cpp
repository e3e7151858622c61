// Fuzz target: the whole conversion in one process.
//
// Input layout: the first byte n, then n bytes of console answers (the
// start coordinates), then the program. Checks on every input:
//   - no crash, no sanitizer report, no read outside the program's bytes;
//   - the same input converts to the same bytes twice: once as built, and
//     once with every line of the body taken by the full route (facts
//     first, then the line's class), without the one-walk conversion of
//     ordinary lines;
//   - every LF of the output is preceded by CR;
//   - for programs without "(", ";", NUL or overlong lines: with every
//     X/Y/Z/I/J/K/R word and its number removed, G91 read as G90 and the
//     inserted G90/G91 lines left out, the output is the input (or, after a
//     stop, a leading part of it).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conversion/body_pass.h"
#include "conversion/conversion_state.h"
#include "conversion/preamble.h"
#include "driver/console.h"
#include "driver/run_files.h"
#include "driver/run_passes.h"
#include "words/number_text.h"

namespace {

struct Result {
    std::string output;
    bool complete = false;
    int status = 0;
};

// The passes as the tool runs them, or with the body line by line by the
// full route.
bool run_passes(ncabs::RunFiles& files, const ncabs::Console& console, ncabs::LineBuffer& line,
                ncabs::ConversionState& state, bool full_route_only) {
    if (!full_route_only) return ncabs::run_conversion_passes(files, console, line, state);
    if (ncabs::copy_preamble(files, console, line) != ncabs::PreambleEnd::ModeLine) return false;
    ncabs::establish_start_position(line, files.output, console, state);
    if (state.mode == ncabs::InputMode::StartLinePending) {
        state.mode = ncabs::InputMode::Incremental;
        ncabs::convert_body_line(line, files.output, state);
    }
    while (!files.input.eof && ncabs::read_input_line(files.input, line))
        ncabs::convert_body_line(line, files.output, state);
    return true;
}

Result convert(const std::string& program, const std::string& answers, bool full_route_only) {
    // Buffers as large as the tool's own, reused from run to run.
    static auto files = std::make_unique<ncabs::RunFiles>();
    static auto line = std::make_unique<ncabs::LineBuffer>();
    ncabs::ConversionState state;

    // The program is read from a private copy of exactly its bytes, so that
    // a read past its end is a sanitizer report.
    std::unique_ptr<char[]> program_bytes(new char[program.size() + 1]);
    std::memcpy(program_bytes.get(), program.data(), program.size());
    std::unique_ptr<char[]> answer_bytes(new char[answers.size() + 1]);
    std::memcpy(answer_bytes.get(), answers.data(), answers.size());

    std::FILE* in = fmemopen(program_bytes.get(), program.size(), "r");
    std::FILE* console_in = fmemopen(answer_bytes.get(), answers.size(), "r");
    std::FILE* console_out = std::fopen("/dev/null", "w");
    char* out_text = nullptr;
    std::size_t out_size = 0;
    std::FILE* out = open_memstream(&out_text, &out_size);
    if (in == nullptr || console_in == nullptr || console_out == nullptr || out == nullptr) std::abort();

    ncabs::attach_input(files->input, in);
    files->output.file = out;
    ncabs::Console console{console_in, console_out};

    Result result;
    result.complete = run_passes(*files, console, *line, state, full_route_only);
    if (!result.complete) ncabs::flush_output(files->output);
    // close_run_files closes both streams; memstream's text is then final.
    result.status = ncabs::close_run_files(*files);
    result.output.assign(out_text, out_size);
    std::free(out_text);
    std::fclose(console_in);
    std::fclose(console_out);
    return result;
}

// The program as the passes see it, with words and modes taken out.
std::vector<std::string> skeleton(const std::string& text) {
    std::string t;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == 0x1A) break;
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        t += c;
    }
    std::vector<std::string> lines;
    std::string cur;
    auto finish = [&] {
        if (!cur.empty() && cur != "G90") lines.push_back(cur);
        cur.clear();
    };
    for (std::size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (c == '\n') {
            finish();
        } else if (c != '\0' && std::strchr("XYZIJKR", c) != nullptr) {
            while (i + 1 < t.size() && ncabs::is_number_char(t[i + 1])) ++i;
        } else if (c == 'G' && t.compare(i, 3, "G91") == 0) {
            cur += "G90";
            i += 2;
        } else {
            cur += c;
        }
    }
    finish();
    return lines;
}

bool plain_program(const std::string& program) {
    if (program.find_first_of(std::string("(;\0", 3)) != std::string::npos) return false;
    std::size_t run = 0;
    for (char c : program) {
        run = c == '\n' ? 0 : run + 1;
        if (run > 1000) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::size_t n = data[0];
    if (n > size - 1) n = size - 1;
    std::string answers(reinterpret_cast<const char*>(data) + 1, n);
    std::string program(reinterpret_cast<const char*>(data) + 1 + n, size - 1 - n);

    Result first = convert(program, answers, false);
    Result second = convert(program, answers, true);
    if (first.output != second.output || first.complete != second.complete) std::abort();
    if (first.complete && first.status != 0) std::abort();

    const std::string& out = first.output;
    for (std::size_t i = 0; i < out.size(); ++i)
        if (out[i] == '\n' && (i == 0 || out[i - 1] != '\r')) std::abort();

    if (plain_program(program)) {
        std::vector<std::string> want = skeleton(program);
        std::vector<std::string> got = skeleton(out);
        if (got.size() > want.size()) std::abort();
        if (first.complete && got.size() != want.size()) std::abort();
        for (std::size_t i = 0; i < got.size(); ++i)
            if (got[i] != want[i]) std::abort();
    }
    return 0;
}
