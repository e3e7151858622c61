#include "conversion/line_facts.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace ncabs {

namespace {

// Records what the character at s[i] starts, if anything.
inline void note_character(LineFacts& facts, const unsigned char* s, std::size_t i, std::size_t length) {
    unsigned char c = s[i];
    if (c == 'X' || c == 'Y' || c == 'Z') {
        facts.axis_letter = true;
        return;
    }
    if (c == '(') {
        facts.paren = true;
        return;
    }
    if (c != 'G' || i + 2 >= length) return;
    unsigned char tens = s[i + 1];
    unsigned char ones = s[i + 2];
    if (tens == '9') {
        if (ones == '0') facts.g90 = true;
        else if (ones == '2') facts.g92 = true;
        else if (ones == '1' && !facts.g91) {
            facts.g91 = true;
            facts.first_g91 = i;
        }
    } else if (tens == '5') {
        if (ones >= '3' && ones <= '9') facts.work_offset = true;
    } else if (tens == '2') {
        if (ones == '8') facts.g28 = true;
    } else if (tens == '3') {
        if (ones == '0') facts.g30 = true;
    }
}

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// The high bit of every zero byte of v is set (and possibly of a byte just
// above one, through the borrow); no zero byte is missed.
inline std::uint64_t zero_bytes(std::uint64_t v) { return (v - kOnes) & ~v & kHighBits; }

inline std::uint64_t bytes_equal(std::uint64_t v, unsigned char c) { return zero_bytes(v ^ (kOnes * c)); }

// Bytes that may be X, Y or Z: those with the top six bits of "X" (which
// "[" shares).
inline std::uint64_t axis_letter_bytes(std::uint64_t v) { return zero_bytes((v & (kOnes * 0xFC)) ^ (kOnes * 'X')); }

// Looks at the eight characters at s + i.
inline void note_chunk(LineFacts& facts, const unsigned char* s, std::size_t i, std::size_t length) {
    std::uint64_t v;
    std::memcpy(&v, s + i, 8);
    // A "(" anywhere is all that counts of it, and so is an X, Y or Z;
    // each G is looked at with its two digits.
    if (bytes_equal(v, '(') != 0) facts.paren = true;
    if (!facts.axis_letter) {
        for (std::uint64_t hits = axis_letter_bytes(v); hits != 0; hits &= hits - 1)
            note_character(facts, s, i + static_cast<std::size_t>(std::countr_zero(hits)) / 8, length);
    }
    for (std::uint64_t hits = bytes_equal(v, 'G'); hits != 0; hits &= hits - 1)
        note_character(facts, s, i + static_cast<std::size_t>(std::countr_zero(hits)) / 8, length);
}

}  // namespace

LineFacts scan_line_facts(const char* text, std::size_t length) {
    LineFacts facts;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    if (std::endian::native == std::endian::little && length >= 8) {
        // Eight characters at a time; the last eight overlap what came
        // before, which is harmless: noting a character twice changes
        // nothing.
        std::size_t i = 0;
        for (; i + 8 <= length; i += 8) note_chunk(facts, s, i, length);
        if (i < length) note_chunk(facts, s, length - 8, length);
        return facts;
    }
    for (std::size_t i = 0; i < length; ++i) note_character(facts, s, i, length);
    return facts;
}

void copy_line(const LineBuffer& line, OutputStream& out) {
    bool blank = line.length == 1 && line.text[0] == '\n';
    if (blank && !line.completes_cut_line) return;
    put_run(out, line.text, line_body_length(line));
    if (line_has_end(line)) put_line_end(out);
}

void write_inserted_line(const LineBuffer& line, OutputStream& out, const char* word) {
    if (!line_has_end(line)) put_line_end(out);
    put_bytes(out, word, std::strlen(word));
    put_line_end(out);
}

}  // namespace ncabs
