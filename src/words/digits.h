// Writing whole numbers as decimal digits, two digits per division.
#pragma once

#include <bit>
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

// Up to eight digits of v (below 10^8) as characters packed in a word, the
// first digit in the lowest byte (the first in memory); returns how many.
// Building the digits in a register and storing them at once avoids
// reading back bytes just stored one by one.
inline int pack_digits(std::uint64_t v, std::uint64_t& packed) {
    auto pair = [](std::uint64_t two) {
        std::uint16_t chars;
        std::memcpy(&chars, kDigitPairs.text + 2 * two, 2);
        return std::uint64_t{chars};
    };
    std::uint64_t high = v / 10000;
    std::uint64_t low = v % 10000;
    packed = pair(high / 100) | pair(high % 100) << 16 | pair(low / 100) << 32 | pair(low % 100) << 48;
    int n = 1 + (v >= 10) + (v >= 100) + (v >= 1000) + (v >= 10000) + (v >= 100000) + (v >= 1000000) +
            (v >= 10000000);
    packed >>= 8 * (8 - n);  // drop the leading zeros
    return n;
}

// Writes the digits of v (at least one). out needs room for 8 bytes even
// when fewer digits are written.
inline char* write_integer(char* out, std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) {
        if (v < 100000000) {
            std::uint64_t packed;
            int n = pack_digits(v, packed);
            std::memcpy(out, &packed, 8);
            return out + n;
        }
    }
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

// Writes thousandths as the whole part, "." and three decimals. out needs
// room for 12 bytes even when fewer are written.
inline char* write_three_decimals(char* out, std::uint64_t thousandths) {
    std::uint64_t whole = thousandths / 1000;
    unsigned frac = static_cast<unsigned>(thousandths - whole * 1000);
    out = write_integer(out, whole);
    out[0] = '.';
    out[1] = static_cast<char>('0' + frac / 100);
    std::memcpy(out + 2, kDigitPairs.text + 2 * (frac % 100), 2);
    return out + 4;
}

}  // namespace ncabs
