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

// The eight decimal digits of v (below 10^8, leading zeros included) as
// byte values 0 to 9, the first digit in the lowest byte (the first in
// memory). Three rounds of multiply and shift split v into halves, then
// pairs, then digits, all lanes at once: (x * 10486) >> 20 is x / 100 for
// x below 10^4, and (x * 103) >> 10 is x / 10 for x below 100.
inline std::uint64_t eight_digit_values(std::uint64_t v) {
    std::uint64_t halves = v / 10000 | (v % 10000) << 32;
    std::uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007FULL;
    std::uint64_t pairs = hundreds | (halves - hundreds * 100) << 16;
    std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000FULL;
    return tens | (pairs - tens * 10) << 8;
}

inline constexpr std::uint64_t kZeroCharacters = 0x3030303030303030ULL;

// Leading zero digits among eight digit values, at most keep_from.
inline int leading_zero_digits(std::uint64_t values, int keep_from) {
    int zeros = std::countr_zero(values) / 8;  // 8 when every digit is 0
    return zeros < keep_from ? zeros : keep_from;
}

// Up to eight digits of v (below 10^8) as characters packed in a word, the
// first digit in the lowest byte (the first in memory); returns how many.
// Building the digits in a register and storing them at once avoids
// reading back bytes just stored one by one.
inline int pack_digits(std::uint64_t v, std::uint64_t& packed) {
    std::uint64_t values = eight_digit_values(v);
    int zeros = leading_zero_digits(values, 7);
    packed = (values + kZeroCharacters) >> (8 * zeros);
    return 8 - zeros;
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
    if constexpr (std::endian::native == std::endian::little) {
        if (thousandths < 100000000) {
            // Five whole digits and three decimals in one register: store
            // the whole part (keeping at least one digit), then ".", then
            // the decimals over what followed it.
            std::uint64_t values = eight_digit_values(thousandths);
            int zeros = leading_zero_digits(values, 4);
            std::uint64_t characters = values + kZeroCharacters;
            std::uint64_t whole = characters >> (8 * zeros);
            std::memcpy(out, &whole, 8);
            int whole_count = 5 - zeros;
            auto point_and_decimals = static_cast<std::uint32_t>('.' | (characters >> 40) << 8);
            std::memcpy(out + whole_count, &point_and_decimals, 4);
            return out + whole_count + 4;
        }
    }
    std::uint64_t whole = thousandths / 1000;
    unsigned frac = static_cast<unsigned>(thousandths - whole * 1000);
    out = write_integer(out, whole);
    out[0] = '.';
    out[1] = static_cast<char>('0' + frac / 100);
    std::memcpy(out + 2, kDigitPairs.text + 2 * (frac % 100), 2);
    return out + 4;
}

}  // namespace ncabs
