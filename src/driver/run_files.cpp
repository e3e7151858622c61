#include "driver/run_files.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace ncabs {

namespace {

void report_cannot_open(const Console& console, const std::string& name) {
    console_write(console, "\nCan't open ");
    console_write(console, name.data(), name.size());
    console_write(console, "\n");
}

// A name is handed to the file system whole. One holding a NUL byte cannot
// name a file (the C interface would cut it there and open another file).
bool is_usable_name(const std::string& name) {
    return name.find('\0') == std::string::npos;
}

// NOTE: beyond equal texts, an output name that reaches the input file by
// another path (./part.nc, an absolute path, a symbolic or a hard link) is
// the same file too: opening it for writing would empty the program.
bool names_same_file(const std::string& input_name, const std::string& output_name) {
    if (input_name == output_name) return true;
    std::error_code ec;
    bool same = std::filesystem::equivalent(input_name, output_name, ec);
    return !ec && same;
}

std::FILE* open_input(const std::string& name) {
    if (!is_usable_name(name)) return nullptr;
    std::error_code ec;
    // A directory opens for reading on some systems but has no program text.
    if (std::filesystem::is_directory(name, ec)) return nullptr;
    return std::fopen(name.c_str(), "rb");
}

std::FILE* open_output(const std::string& name) {
    if (!is_usable_name(name)) return nullptr;
    return std::fopen(name.c_str(), "wb");
}

}  // namespace

void open_run_files(int argc, char** argv, const Console& console, RunFiles& files) {
    files.input.file = nullptr;
    files.output.file = nullptr;

    // NOTE: a name read at a prompt is left empty when standard input ends
    // before a token; opening the empty name then fails and is reported.
    std::string input_name;
    if (argc < 2) {
        console_write(console, "\nINPUT-FILE NAME:");
        read_console_token(console, input_name);
    } else {
        input_name = argv[1];
    }

    std::FILE* input = open_input(input_name);
    if (input == nullptr) {
        report_cannot_open(console, input_name);
        stop_run(files, console, 1);
    }
    std::setvbuf(input, nullptr, _IONBF, 0);  // the stream reads whole blocks itself
    attach_input(files.input, input);

    std::string output_name;
    if (argc < 3) {
        console_write(console, "\nOUTPUT-FILE NAME:");
        read_console_token(console, output_name);
    } else {
        output_name = argv[2];
    }

    if (names_same_file(input_name, output_name)) {
        console_write(console, "ERROR: input output files are same\n");
        stop_run(files, console, 1);
    }

    std::FILE* output = open_output(output_name);
    if (output == nullptr) {
        report_cannot_open(console, output_name);
        stop_run(files, console, 1);
    }
    std::setvbuf(output, nullptr, _IONBF, 0);  // the stream writes whole blocks itself
    files.output.file = output;
    files.output.used = 0;
    files.output.failed = false;
}

void stop_run(RunFiles& files, const Console& console, int status) {
    if (files.output.file != nullptr) {
        flush_output(files.output);
        std::fclose(files.output.file);
        files.output.file = nullptr;
    }
    std::fflush(console.out);
    std::exit(status);
}

int close_run_files(RunFiles& files) {
    if (files.input.file != nullptr) std::fclose(files.input.file);
    files.input.file = nullptr;

    bool ok = flush_output(files.output);
    if (files.output.file != nullptr && std::fclose(files.output.file) != 0) ok = false;
    files.output.file = nullptr;

    // NOTE: a failed read of the input, or any write of the output that fell
    // short during the run, is a failure too: the output may be incomplete.
    if (files.input.failed || files.output.failed) ok = false;
    return ok ? 0 : -1;
}

}  // namespace ncabs
