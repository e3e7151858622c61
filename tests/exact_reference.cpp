#include "exact_reference.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace ncabs_test {

namespace {

// digits * factor, in decimal, most significant digit first.
std::string times(const std::string& digits, std::uint64_t factor) {
    std::string out(digits.size(), '0');
    std::uint64_t carry = 0;
    for (std::size_t i = digits.size(); i-- > 0;) {
        std::uint64_t t = static_cast<std::uint64_t>(digits[i] - '0') * factor + carry;
        out[i] = static_cast<char>('0' + t % 10);
        carry = t / 10;
    }
    while (carry != 0) {
        out.insert(out.begin(), static_cast<char>('0' + carry % 10));
        carry /= 10;
    }
    return out;
}

// digits + 1 at the last place; "" counts as 0.
std::string plus_one(std::string digits) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) return digits.insert(0, 1, '1');
    ++digits[i - 1];
    return digits;
}

}  // namespace

std::string exact_digits(double value, int& scale) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(std::fabs(value));
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int biased = static_cast<int>(bits >> 52);
    int e = biased == 0 ? -1074 : biased - 1075;
    if (biased != 0) m |= std::uint64_t{1} << 52;

    std::string digits = std::to_string(m);
    scale = 0;
    if (e >= 0) {
        for (int i = 0; i < e; ++i) digits = times(digits, 2);
    } else {
        int left = -e;
        for (; left >= 13; left -= 13) digits = times(digits, 1220703125);  // 5^13
        for (; left > 0; --left) digits = times(digits, 5);
        scale = -e;
    }
    return digits;
}

std::string reference_render(double value, int decimals) {
    if (value == 0.0) return decimals == 3 ? "0.000" : "0";
    std::string sign = value < 0 ? "-" : "";
    int scale = 0;
    std::string digits = exact_digits(value, scale);

    // 17 significant digits, half up by the 18th; later places become 0.
    if (digits.size() > 17) {
        std::size_t tail = digits.size() - 17;
        bool up = digits[17] >= '5';
        std::string head = digits.substr(0, 17);
        if (up) head = plus_one(head);
        digits = head + std::string(tail, '0');
    }

    // The requested decimals, half up by the first dropped digit only.
    std::string kept;
    if (scale > decimals) {
        std::size_t drop = static_cast<std::size_t>(scale - decimals);
        char first_dropped = drop <= digits.size() ? digits[digits.size() - drop] : '0';
        kept = drop < digits.size() ? digits.substr(0, digits.size() - drop) : "";
        if (first_dropped >= '5') kept = plus_one(kept);
    } else {
        kept = digits + std::string(static_cast<std::size_t>(decimals - scale), '0');
    }
    while (kept.size() < static_cast<std::size_t>(decimals) + 1) kept.insert(kept.begin(), '0');

    std::size_t whole = kept.size() - static_cast<std::size_t>(decimals);
    std::string text = sign + kept.substr(0, whole);
    if (decimals > 0) {
        text += '.';
        text += kept.substr(whole);
    }
    return text;
}

}  // namespace ncabs_test
