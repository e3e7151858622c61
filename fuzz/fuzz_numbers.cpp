// Fuzz target: the number rules against slow references.
//
//   - scan_number_text stops at the first byte that is not a digit, "-" or
//     "." and never passes the end;
//   - word_value, and the one-pass read_word_number, agree with a plain
//     model of the rules that reads the number's shape character by
//     character and converts it with strtod;
//   - render_fixed agrees with the exact decimal reference for the double
//     made of the input's first eight bytes.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "exact_reference.h"
#include "words/number_text.h"
#include "words/render.h"

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

// text_value as the rules state it: the longest beginning with the shape
// sign, mantissa, exponent; its nearest double, saturated to DBL_MAX.
double model_text_value(const std::string& t) {
    std::size_t i = 0;
    std::string number;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) number += t[i++];
    bool any_digit = false, point = false;
    for (; i < t.size(); ++i) {
        if (digit(t[i])) {
            any_digit = true;
            number += t[i];
        } else if (t[i] == '.' && !point) {
            point = true;
            number += '.';
        } else {
            break;
        }
    }
    if (!any_digit) return 0.0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) exponent += t[j++];
        if (j < t.size() && digit(t[j])) {
            while (j < t.size() && digit(t[j])) exponent += t[j++];
            number += exponent;
        }
    }
    double v = std::strtod(number.c_str(), nullptr);
    if (std::isinf(v)) v = std::copysign(DBL_MAX, v);
    return v == 0.0 ? 0.0 : v;
}

double model_word_value(const std::string& t) {
    double v = model_text_value(t);
    return t.find('.') != std::string::npos ? v : v / 1000.0;
}

// Equal values; a zero of either sign is a zero.
bool same(double a, double b) { return a == b; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy: any read past the end is a sanitizer report.
    std::unique_ptr<char[]> bytes(new char[size + 1]);
    std::memcpy(bytes.get(), data, size);
    const char* begin = bytes.get();
    const char* end = begin + size;
    std::string text(begin, size);

    if (!same(ncabs::word_value(begin, end), model_word_value(text))) std::abort();

    if (size > 0) {
        ncabs::NumberText number;
        const char* stop = ncabs::scan_number_text(begin, end, number);
        if (stop < begin + 1 || stop > end) std::abort();
        for (const char* p = begin + 1; p < stop; ++p)
            if (!ncabs::is_number_char(*p)) std::abort();
        if (stop < end && ncabs::is_number_char(*stop)) std::abort();
        double want = model_word_value(std::string(begin + 1, stop));
        double value = 0.0;
        if (ncabs::read_word_number(begin, end, end, value) != stop) std::abort();
        if (!same(value, want)) std::abort();
        // As in a line buffer: readable bytes past the end, which never count.
        std::unique_ptr<char[]> padded(new char[size + 32]);
        std::memcpy(padded.get(), begin, size);
        for (std::size_t i = 0; i < 32; ++i) padded[size + i] = static_cast<char>(i % 3 == 0 ? '7' : '.');
        value = 0.0;
        if (ncabs::read_word_number(padded.get(), padded.get() + size, padded.get() + size + 32, value) !=
            padded.get() + (stop - begin))
            std::abort();
        if (!same(value, want)) std::abort();
    }

    if (size >= 8) {
        double v = 0.0;
        std::memcpy(&v, data, 8);
        if (std::isfinite(v)) {
            char rendered[ncabs::kRenderedCapacity];
            for (int decimals : {0, 3}) {
                std::string got(rendered, ncabs::render_fixed(v, decimals, rendered));
                if (got != ncabs_test::reference_render(v, decimals)) std::abort();
            }
        }
    }
    return 0;
}
