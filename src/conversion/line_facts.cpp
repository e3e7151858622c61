#include "conversion/line_facts.h"

#include <cstring>

namespace ncabs {

namespace {

// Characters that can start something the facts record.
struct InterestTable {
    bool marks[256] = {};
    constexpr InterestTable() {
        marks[static_cast<unsigned char>('G')] = true;
        marks[static_cast<unsigned char>('X')] = true;
        marks[static_cast<unsigned char>('Y')] = true;
        marks[static_cast<unsigned char>('Z')] = true;
        marks[static_cast<unsigned char>('(')] = true;
    }
};
constexpr InterestTable kInterest;

}  // namespace

LineFacts scan_line_facts(const char* text, std::size_t length) {
    LineFacts facts;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char c = s[i];
        if (!kInterest.marks[c]) continue;
        if (c != 'G') {
            if (c == '(') facts.paren = true;
            else facts.axis_letter = true;
            continue;
        }
        if (i + 2 >= length) continue;
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
    return facts;
}

void copy_line(const LineBuffer& line, OutputStream& out) {
    bool blank = line.length == 1 && line.text[0] == '\n';
    if (blank && !line.completes_cut_line) return;
    put_bytes(out, line.text, line_body_length(line));
    if (line_has_end(line)) put_line_end(out);
}

void write_inserted_line(const LineBuffer& line, OutputStream& out, const char* word) {
    if (!line_has_end(line)) put_line_end(out);
    put_bytes(out, word, std::strlen(word));
    put_line_end(out);
}

}  // namespace ncabs
