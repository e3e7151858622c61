#include "words/render.h"

#include "words/digits.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ncabs {

namespace {

__extension__ typedef unsigned __int128 u128;

constexpr std::uint64_t kPowersOfTen[18] = {1ULL,
                                            10ULL,
                                            100ULL,
                                            1000ULL,
                                            10000ULL,
                                            100000ULL,
                                            1000000ULL,
                                            10000000ULL,
                                            100000000ULL,
                                            1000000000ULL,
                                            10000000000ULL,
                                            100000000000ULL,
                                            1000000000000ULL,
                                            10000000000000ULL,
                                            100000000000000ULL,
                                            1000000000000000ULL,
                                            10000000000000000ULL,
                                            100000000000000000ULL};

// The magnitude a as m * 2^e2 with integer m.
void decompose(double a, std::uint64_t& m, int& e2) {
    std::uint64_t bits = std::bit_cast<std::uint64_t>(a);
    int biased = static_cast<int>(bits >> 52);
    m = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0) {
        e2 = -1074;  // subnormal
    } else {
        m |= std::uint64_t{1} << 52;
        e2 = biased - 1075;
    }
}

// Whole part N of the exact value n_plus_x = N + x (x = remainder / 2^k,
// 0 <= x < 1), rounded by the rule: first to 17 significant digits, then
// to the unit. N has at most 16 digits, so the 17-digit rounding falls in
// the fraction, f = 17 - digits(N) places after the point. Rounding x to f
// places half up and then to the unit half up carries into N exactly when
// x >= 1/2 - 1/(2 * 10^f), that is when 2 * R * 10^f >= (10^f - 1) * 2^k.
std::uint64_t round_scaled(std::uint64_t whole, u128 remainder, int k) {
    int f = 17 - digit_count(whole);
    u128 p = kPowersOfTen[f];
    if ((remainder * p) * 2 >= ((p - 1) << k)) ++whole;
    return whole;
}

// The same for k <= 63, in 64 bits. The carry threshold lies between 0.45
// (f = 1) and 1/2, so only a fraction in [0.45, 0.5) needs the exact test;
// the positions of real programs are near whole thousandths and never do.
std::uint64_t round_scaled_64(std::uint64_t whole, std::uint64_t remainder, int k) {
    std::uint64_t half = std::uint64_t{1} << (k - 1);
    if (remainder >= half) return whole + 1;
    if (remainder < half - half / 10) return whole;
    return round_scaled(whole, remainder, k);
}

// Multi-word decimal integer for the exact expansion: base 10^9 words,
// least significant first. m * 5^1074 (the smallest subnormals) has 767
// digits, and m * 2^971 (near DBL_MAX) 309.
struct BigDecimal {
    static constexpr int kWords = 90;
    std::uint32_t word[kWords];
    int used;
};

void big_multiply(BigDecimal& b, std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (int i = 0; i < b.used; ++i) {
        std::uint64_t t = std::uint64_t{b.word[i]} * factor + carry;
        b.word[i] = static_cast<std::uint32_t>(t % 1000000000);
        carry = t / 1000000000;
    }
    while (carry != 0 && b.used < BigDecimal::kWords) {
        b.word[b.used++] = static_cast<std::uint32_t>(carry % 1000000000);
        carry /= 1000000000;
    }
}

// Decimal digits of b, most significant first, without leading zeros.
int big_digits(const BigDecimal& b, char* out) {
    int n = 0;
    int top = b.used - 1;
    char tmp[10];
    std::uint32_t w = b.word[top];
    int t = 0;
    do {
        tmp[t++] = static_cast<char>('0' + w % 10);
        w /= 10;
    } while (w != 0);
    while (t > 0) out[n++] = tmp[--t];
    for (int i = top - 1; i >= 0; --i) {
        w = b.word[i];
        for (int d = 8; d >= 0; --d) {
            out[n + d] = static_cast<char>('0' + w % 10);
            w /= 10;
        }
        n += 9;
    }
    return n;
}

// Adds one to the digit string s[0, len) at its last place. Returns the
// new length: one more when the carry runs out of the first digit.
int increment_digits(char* s, int len) {
    int i = len - 1;
    while (i >= 0 && s[i] == '9') s[i--] = '0';
    if (i >= 0) {
        ++s[i];
        return len;
    }
    std::memmove(s + 1, s, static_cast<std::size_t>(len));
    s[0] = '1';
    return len + 1;
}

std::size_t write_zero(int decimals, char* out) {
    if (decimals == 3) {
        std::memcpy(out, "0.000", 5);
        return 5;
    }
    out[0] = '0';
    return 1;
}

}  // namespace

std::size_t render_fixed_exact(double value, int decimals, char* out) {
    if (std::isnan(value) || value == 0.0) return write_zero(decimals, out);
    if (std::isinf(value)) value = std::copysign(DBL_MAX, value);

    char* p = out;
    if (value < 0) *p++ = '-';
    std::uint64_t m = 0;
    int e2 = 0;
    decompose(std::fabs(value), m, e2);

    // The exact value is B * 10^-scale with B = m * 2^e2 or m * 5^-e2.
    BigDecimal b;
    b.used = 0;
    for (std::uint64_t rest = m; rest != 0; rest /= 1000000000)
        b.word[b.used++] = static_cast<std::uint32_t>(rest % 1000000000);
    int scale = 0;
    if (e2 >= 0) {
        for (int left = e2; left > 0; left -= 29) big_multiply(b, std::uint32_t{1} << (left < 29 ? left : 29));
    } else {
        static constexpr std::uint32_t kFivePowers[14] = {1,      5,       25,       125,       625,
                                                          3125,   15625,   78125,    390625,    1953125,
                                                          9765625, 48828125, 244140625, 1220703125};
        for (int left = -e2; left > 0; left -= 13) big_multiply(b, kFivePowers[left < 13 ? left : 13]);
        scale = -e2;
    }

    char s[BigDecimal::kWords * 9 + 8];
    int len = big_digits(b, s);

    // 17 significant digits, half up by the 18th.
    if (len > 17) {
        bool up = s[17] >= '5';
        std::memset(s + 17, '0', static_cast<std::size_t>(len - 17));
        if (up) {
            // A carry out of the first digit adds a digit in front; the
            // string then holds one more (zero) digit at its end.
            if (increment_digits(s, 17) > 17) s[len++] = '0';
        }
    }

    // The requested decimals, half up by the first dropped digit.
    int drop = scale - decimals;
    if (drop > 0) {
        int keep = len - drop;
        bool up = keep >= 0 && s[keep] >= '5';
        len = keep > 0 ? keep : 0;
        if (up) len = increment_digits(s, len);
    } else {
        for (; drop < 0; ++drop) s[len++] = '0';
    }

    // Integer digits (at least one), then the decimals.
    int whole = len - decimals;
    if (whole <= 0) {
        *p++ = '0';
    } else {
        std::memcpy(p, s, static_cast<std::size_t>(whole));
        p += whole;
    }
    if (decimals > 0) {
        *p++ = '.';
        for (int i = whole; i < len; ++i) {
            if (i >= 0) *p++ = s[i];
            else *p++ = '0';
        }
    }
    return static_cast<std::size_t>(p - out);
}

std::uint64_t detail::rule_thousandths_exactly(double magnitude) {
    // The exact product m * 1000 / 2^k, rounded by the rule.
    std::uint64_t m = 0;
    int e2 = 0;
    decompose(magnitude, m, e2);
    int k = -e2;  // 1..63 in the range served
    std::uint64_t scaled = m * 1000;
    return round_scaled_64(scaled >> k, scaled & ((std::uint64_t{1} << k) - 1), k);
}

std::size_t render_fixed(double value, int decimals, char* out) {
    if (value == 0.0 || !std::isfinite(value)) return render_fixed_exact(value, decimals, out);

    char* p = out;
    if (value < 0) *p++ = '-';
    double a = std::fabs(value);

    // Magnitudes whose 17-digit form is below half of the last place:
    // every written digit is 0 (the sign stays).
    if (decimals == 3 ? a < 0.0004 : a < 0.4) return static_cast<std::size_t>(p - out) + write_zero(decimals, p);

    std::uint64_t m = 0;
    int e2 = 0;
    decompose(a, m, e2);

    if (e2 < 0 && (decimals == 3 ? a < 1e13 : a < 1e16)) {
        // a = m / 2^k. Scale by 10^decimals exactly, split into whole and
        // remainder, and round. m * 1000 < 2^63, so 64 bits serve up to
        // k = 63; only magnitudes in [0.0004, 2^-11) have k = 64.
        int k = -e2;
        std::uint64_t scaled = decimals == 3 ? m * 1000 : m;
        std::uint64_t whole = 0;
        if (k <= 63) {
            whole = round_scaled_64(scaled >> k, scaled & ((std::uint64_t{1} << k) - 1), k);
        } else {
            u128 wide = scaled;
            whole = round_scaled(static_cast<std::uint64_t>(wide >> k), wide & ((u128{1} << k) - 1), k);
        }
        p = decimals == 3 ? write_three_decimals(p, whole) : write_integer(p, whole);
        return static_cast<std::size_t>(p - out);
    }
    if (e2 >= 0 && a < 1e17) {
        // A whole number of at most 17 digits: exact as it stands.
        p = write_integer(p, m << e2);
        if (decimals == 3) {
            std::memcpy(p, ".000", 4);
            p += 4;
        }
        return static_cast<std::size_t>(p - out);
    }
    return render_fixed_exact(value, decimals, out);
}

}  // namespace ncabs
