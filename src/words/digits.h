// Writing whole numbers as decimal digits, two digits per division.
#pragma once

#include <cstdint>
#include <cstring>

namespace ncabs {

struct DigitPairs {
    char text[200] = {};
    constexpr DigitPairs() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
inline constexpr DigitPairs kDigitPairs;

// Digits of v; 0 has none.
inline int digit_count(std::uint64_t v) {
    if (v == 0) return 0;
    int n = 1;
    for (std::uint64_t limit = 10; v >= limit; limit *= 10) {
        if (++n == 20) break;  // 10^19 is the last power below 2^64
    }
    return n;
}

// Writes the digits of v (at least one) from the last, straight into place.
inline char* write_integer(char* out, std::uint64_t v) {
    int n = v == 0 ? 1 : digit_count(v);
    char* p = out + n;
    while (v >= 100) {
        p -= 2;
        std::memcpy(p, kDigitPairs.text + 2 * (v % 100), 2);
        v /= 100;
    }
    if (v >= 10) {
        std::memcpy(p - 2, kDigitPairs.text + 2 * v, 2);
    } else {
        p[-1] = static_cast<char>('0' + v);
    }
    return out + n;
}

// Writes thousandths as the whole part, "." and three decimals. The whole
// part is built in a scratch buffer and moved with one fixed 16-byte copy,
// so out needs room for 20 bytes whatever the count written.
inline char* write_three_decimals(char* out, std::uint64_t thousandths) {
    std::uint64_t whole = thousandths / 1000;
    unsigned frac = static_cast<unsigned>(thousandths - whole * 1000);
    if (whole >= 10000000000000000ULL) {  // more than 16 digits: no scratch copy
        out = write_integer(out, whole);
    } else {
        char scratch[32];
        char* end = scratch + 16;
        char* p = end;
        while (whole >= 100) {
            p -= 2;
            std::memcpy(p, kDigitPairs.text + 2 * (whole % 100), 2);
            whole /= 100;
        }
        if (whole >= 10) {
            p -= 2;
            std::memcpy(p, kDigitPairs.text + 2 * whole, 2);
        } else {
            *--p = static_cast<char>('0' + whole);
        }
        std::memcpy(out, p, 16);
        out += end - p;
    }
    out[0] = '.';
    out[1] = static_cast<char>('0' + frac / 100);
    std::memcpy(out + 2, kDigitPairs.text + 2 * (frac % 100), 2);
    return out + 4;
}

}  // namespace ncabs
