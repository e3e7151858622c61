// Writes the large, realistic incremental NC program that bench/run
// converts (see program_text.h).
//
//   make_program OUTPUT [MEGABYTES]     (200 MB by default)

#include <cstdio>
#include <cstdlib>
#include <string>

#include "program_text.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_program OUTPUT [MEGABYTES]\n");
        return 2;
    }
    long long target = (argc > 2 ? std::atoll(argv[2]) : 200) * 1000000LL;
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::string text;
    auto write_out = [out](std::string& s) {
        std::fwrite(s.data(), 1, s.size(), out);
        s.clear();
    };
    ncabs_bench::make_program_text(target, text, write_out);
    write_out(text);
    return std::fclose(out) == 0 ? 0 : 1;
}
