// Running the built ncabs binary on real files, for end-to-end tests.
#pragma once

#include <filesystem>
#include <string>

namespace ncabs_test {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

  private:
    std::filesystem::path path_;
};

struct ToolRun {
    int status = -1;        // exit status, 0..255
    std::string console;    // everything written to standard output
    std::string errors;     // everything written to standard error (always empty)
};

// Standard input of a run: bytes fed to it, or closed altogether.
struct Stdin {
    std::string bytes;
    bool closed = false;
};

// Runs ncabs in dir with the shell-quoted arguments args. A prefix, such
// as a timing command, stands in front of the binary.
ToolRun run_tool(const TempDir& dir, const std::string& args, const Stdin& input = {},
                 const std::string& prefix = "");

// Peak resident set of one run in KiB, measured by /usr/bin/time; -1 when
// that program is missing.
long peak_rss_kib(const TempDir& dir, const std::string& args);

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

// Single-quotes text for the shell.
std::string shell_quote(const std::string& text);

// Turns every LF into CR LF: how an output text is expected on disk.
std::string crlf(const std::string& text);

}  // namespace ncabs_test
