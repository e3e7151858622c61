#include "driver/console.h"

#include <cstring>

namespace ncabs {

namespace {

bool is_token_space(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

void console_write(const Console& console, const char* text, std::size_t n) {
    std::fwrite(text, 1, n, console.out);
    std::fflush(console.out);
}

void console_write(const Console& console, const char* text) {
    console_write(console, text, std::strlen(text));
}

bool read_console_token(const Console& console, std::string& token) {
    int c = std::fgetc(console.in);
    while (c != EOF && is_token_space(c)) c = std::fgetc(console.in);
    if (c == EOF) return false;
    token.clear();
    while (c != EOF && !is_token_space(c)) {
        token.push_back(static_cast<char>(c));
        c = std::fgetc(console.in);
    }
    if (c != EOF) std::ungetc(c, console.in);
    return true;
}

}  // namespace ncabs
