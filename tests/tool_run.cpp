#include "tool_run.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace ncabs_test {

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        path_ = std::filesystem::temp_directory_path() / ("ncabs-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(path_)) break;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const { write_file(path_ / name, bytes); }

std::string TempDir::read(const std::string& name) const { return read_file(path_ / name); }

bool TempDir::exists(const std::string& name) const {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path_ / name, ec));
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string shell_quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

ToolRun run_tool(const TempDir& dir, const std::string& args, const Stdin& input, const std::string& prefix) {
    // The run's own files sit in a folder beside the work folder, so that
    // the tool's view of its folder holds only what the test put there.
    TempDir io;
    io.write("stdin", input.bytes);
    std::string command = "cd " + shell_quote(dir.path().string()) + " && " + prefix + shell_quote(NCABS_BINARY) + " " +
                          args + (input.closed ? " <&-" : " < " + shell_quote((io / "stdin").string())) +
                          " > " + shell_quote((io / "stdout").string()) + " 2> " +
                          shell_quote((io / "stderr").string());
    int raw = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    run.console = io.read("stdout");
    run.errors = io.read("stderr");
    return run;
}

}  // namespace ncabs_test

namespace ncabs_test {

long peak_rss_kib(const TempDir& dir, const std::string& args) {
    if (!std::filesystem::exists("/usr/bin/time")) return -1;
    TempDir io;
    std::string report = (io / "rss").string();
    ToolRun run = run_tool(dir, args, {}, "/usr/bin/time -f %M -o " + shell_quote(report) + " ");
    if (run.status != 0) return -1;
    return std::atol(read_file(report).c_str());
}

}  // namespace ncabs_test
