// The fast number paths against slow, plainly exact references, over
// millions of generated values: rendering against decimal expansion of the
// exact binary value, and reading against the C library's strtod.

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "exact_reference.h"
#include "words/number_text.h"
#include "words/render.h"
#include "words/word_format.h"

using namespace ncabs;
using ncabs_test::reference_render;

namespace {

// How many values each family draws. The sanitizer build runs fewer.
long samples_per_family() {
    if (const char* n = std::getenv("NCABS_RENDER_SAMPLES")) return std::atol(n);
    return std::getenv("NCABS_UNDER_SANITIZER") != nullptr ? 30000 : 400000;
}

std::string fast(double value, int decimals) {
    char buf[kRenderedCapacity];
    return std::string(buf, render_fixed(value, decimals, buf));
}

std::string slow_path(double value, int decimals) {
    char buf[kRenderedCapacity];
    return std::string(buf, render_fixed_exact(value, decimals, buf));
}

// Checks one value both ways; counts and reports the first few faults.
struct Checker {
    long checked = 0;
    long faults = 0;
    void check(double v) {
        if (!std::isfinite(v)) return;
        for (int decimals : {0, 3}) {
            std::string want = reference_render(v, decimals);
            std::string got = fast(v, decimals);
            ++checked;
            if (got != want && faults++ < 10)
                ADD_FAILURE() << "render_fixed(" << std::hexfloat << v << ", " << decimals << ") = " << got
                              << ", want " << want;
        }
    }
};

double nudge(double v, int ulps) {
    for (; ulps > 0; --ulps) v = std::nextafter(v, INFINITY);
    for (; ulps < 0; ++ulps) v = std::nextafter(v, -INFINITY);
    return v;
}

}  // namespace

TEST(ExactReference, MeetsTheRuleTable) {
    EXPECT_EQ(reference_render(1.0625, 3), "1.063");
    EXPECT_EQ(reference_render(0.1235, 3), "0.124");
    EXPECT_EQ(reference_render(2.9995, 3), "2.999");
    EXPECT_EQ(reference_render(2.9996, 3), "3.000");
    EXPECT_EQ(reference_render(-0.0003, 0), "-0");
    EXPECT_EQ(reference_render(9.999995, 0), "10");
    EXPECT_EQ(reference_render(18446744073709551616.0, 0), "18446744073709552000");
    EXPECT_EQ(reference_render(1e13 + 0.0625, 3), "10000000000000.063");  // a tie at the 18th digit
}

TEST(RenderExactness, TheSlowPathMatchesTheReferenceAcrossAllMagnitudes) {
    std::mt19937_64 rng(20261211);
    long n = samples_per_family() / 20;
    long faults = 0;
    for (long i = 0; i < n; ++i) {
        double v = std::bit_cast<double>(rng());
        if (!std::isfinite(v)) continue;
        for (int decimals : {0, 3})
            if (slow_path(v, decimals) != reference_render(v, decimals) && faults++ < 10)
                ADD_FAILURE() << std::hexfloat << v << " " << decimals;
    }
}

TEST(RenderExactness, FastRendererMatchesTheReference) {
    std::mt19937_64 rng(6983);
    long n = samples_per_family();
    Checker c;
    std::uniform_int_distribution<int> ulps(-3, 3);
    for (long i = 0; i < n; ++i) {
        // Every bit pattern: all magnitudes, subnormals included (a few;
        // most reach the exact path, whose reference is slow).
        if (i % 16 == 0) c.check(std::bit_cast<double>(rng()));
        // Thousandths, as programs write them, and their neighbours.
        std::int64_t k = static_cast<std::int64_t>(rng() % 2000000001) - 1000000000;
        c.check(nudge(static_cast<double>(k) / 1000.0, ulps(rng)));
        // Exact ties at the fourth decimal and around the rule's constants.
        std::int64_t t = static_cast<std::int64_t>(rng() % 200000001) - 100000000;
        c.check(nudge((static_cast<double>(t) + 0.5) / 1000.0, ulps(rng)));
        c.check(nudge(static_cast<double>(t % 100000) + 0.0005, ulps(rng)));
        c.check(nudge(static_cast<double>(t % 100000) + 0.99999, ulps(rng)));
        c.check(static_cast<double>(t) / 16.0);
        // Random magnitudes from 1e-5 to 1e18, where the fast path ends.
        double scale = std::pow(10.0, static_cast<double>(rng() % 24) - 5.0);
        c.check(std::ldexp(static_cast<double>(rng() >> 11), -53) * scale);
        // Sums of increments, like a program's positions.
        static double position = 0.0;
        position += static_cast<double>(static_cast<std::int64_t>(rng() % 20001) - 10000) / 1000.0;
        c.check(position);
    }
    // Boundaries of the fast path and of the shortcuts for tiny values.
    for (double b : {0.0004, 0.4, 1e12, 1e13, 1e16, 1e17, 4503599627370496.0, 0.5, 0.0005, 1.0, 1e-5}) {
        for (int u = -8; u <= 8; ++u) {
            c.check(nudge(b, u));
            c.check(-nudge(b, u));
        }
    }
    EXPECT_EQ(c.faults, 0) << "of " << c.checked << " renderings";
}

TEST(TextValueExactness, MatchesStrtodOnGeneratedTexts) {
    std::mt19937_64 rng(1274);
    long n = samples_per_family() / 4;
    long faults = 0;
    for (long i = 0; i < n; ++i) {
        std::string text;
        if (rng() % 2) text += '-';
        int int_digits = static_cast<int>(rng() % 25);
        for (int d = 0; d < int_digits; ++d) text += static_cast<char>('0' + rng() % 10);
        if (rng() % 4) {
            text += '.';
            int frac_digits = static_cast<int>(rng() % 25);
            for (int d = 0; d < frac_digits; ++d) text += static_cast<char>('0' + rng() % 10);
        }
        if (rng() % 3 == 0) text += std::string("e") + std::to_string(static_cast<int>(rng() % 640) - 330);
        double want = std::strtod(text.c_str(), nullptr);
        if (std::isinf(want)) want = std::copysign(DBL_MAX, want);
        double got = text_value(text.data(), text.data() + text.size());
        if (want == 0.0) want = 0.0, got = got == 0.0 ? 0.0 : got;  // either zero is a zero
        if (std::bit_cast<std::uint64_t>(got) != std::bit_cast<std::uint64_t>(want) && faults++ < 10)
            ADD_FAILURE() << text << ": " << got << " want " << want;
    }
}

namespace {

// The written forms by the rules, over the reference rendering.
std::string reference_word(char letter, double v, bool axis) {
    double a = std::fabs(v);
    double f = a - std::trunc(a);
    if (axis && a < 0.0001) return letter + reference_render(v, 0);
    if (!axis && v == 0.0) return std::string(1, letter) + "0";
    if (f < 0.0005 || (axis && f >= 0.99999)) return letter + reference_render(v, 0) + ".";
    return letter + reference_render(v, 3);
}

std::string written(void (*format)(OutputStream&, char, double), char letter, double v) {
    static OutputStream out;
    out.file = nullptr;
    out.used = 0;
    format(out, letter, v);
    return std::string(out.block, out.used);
}

}  // namespace

TEST(WordFormExactness, FormattersMatchTheRulesOverTheReference) {
    std::mt19937_64 rng(912);
    long n = samples_per_family() / 2;
    std::uniform_int_distribution<int> ulps(-3, 3);
    long faults = 0;
    auto check = [&](double v) {
        if (!std::isfinite(v)) return;
        std::string axis = written(format_axis_word, 'X', v);
        std::string arc = written(format_arc_word, 'I', v);
        if (axis != reference_word('X', v, true) && faults++ < 10)
            ADD_FAILURE() << std::hexfloat << v << ": " << axis << " want " << reference_word('X', v, true);
        if (arc != reference_word('I', v, false) && faults++ < 10)
            ADD_FAILURE() << std::hexfloat << v << ": " << arc << " want " << reference_word('I', v, false);
    };
    for (long i = 0; i < n; ++i) {
        std::int64_t k = static_cast<std::int64_t>(rng() % 2000000001) - 1000000000;
        check(nudge(static_cast<double>(k) / 1000.0, ulps(rng)));
        std::int64_t t = static_cast<std::int64_t>(rng() % 200000001) - 100000000;
        check(nudge((static_cast<double>(t) + 0.5) / 1000.0, ulps(rng)));  // ties at the 4th decimal
        check(nudge(static_cast<double>(t % 100000) + 0.0005, ulps(rng)));
        check(nudge(static_cast<double>(t % 100000) + 0.99999, ulps(rng)));
        double scale = std::pow(10.0, static_cast<double>(rng() % 24) - 5.0);
        check(std::ldexp(static_cast<double>(rng() >> 11), -53) * scale);
        if (i % 64 == 0) check(std::bit_cast<double>(rng()));
    }
    for (double b : {0x1p-11, 1e9, 1e13, 0.0001, 0.0005, 0.99999, 1e-5})
        for (int u = -4; u <= 4; ++u) {
            check(nudge(b, u));
            check(-nudge(b, u));
        }
    EXPECT_EQ(faults, 0);
}
