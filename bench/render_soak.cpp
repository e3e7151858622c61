// The long comparison of the fast renderer with the exact reference:
//
//   render_soak [COUNT] [SEED]       (10^8 by default)
//
// Values are drawn as in the unit test (thousandths and their neighbours,
// exact ties, the rule's constants, random magnitudes, running sums, and a
// share of arbitrary bit patterns). Prints the count and any mismatch.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "exact_reference.h"
#include "words/render.h"

namespace {

double nudge(double v, int ulps) {
    for (; ulps > 0; --ulps) v = std::nextafter(v, INFINITY);
    for (; ulps < 0; ++ulps) v = std::nextafter(v, -INFINITY);
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    long long count = argc > 1 ? std::atoll(argv[1]) : 100000000LL;
    std::uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 42;
    std::mt19937_64 rng(seed);
    std::uniform_int_distribution<int> ulps(-3, 3);
    long long checked = 0, mismatches = 0;
    double position = 0.0;
    char buf[ncabs::kRenderedCapacity];
    auto check = [&](double v) {
        if (!std::isfinite(v)) return;
        for (int decimals : {0, 3}) {
            std::string got(buf, ncabs::render_fixed(v, decimals, buf));
            std::string want = ncabs_test::reference_render(v, decimals);
            ++checked;
            if (got != want && mismatches++ < 20)
                std::printf("MISMATCH %a decimals %d: %s want %s\n", v, decimals, got.c_str(), want.c_str());
        }
    };
    for (long long i = 0; i < count; ++i) {
        if (checked >= count) break;
        if (i % 64 == 0) check(std::bit_cast<double>(rng()));
        std::int64_t k = static_cast<std::int64_t>(rng() % 2000000001) - 1000000000;
        check(nudge(static_cast<double>(k) / 1000.0, ulps(rng)));
        std::int64_t t = static_cast<std::int64_t>(rng() % 200000001) - 100000000;
        check(nudge((static_cast<double>(t) + 0.5) / 1000.0, ulps(rng)));
        check(nudge(static_cast<double>(t % 100000) + 0.99999, ulps(rng)));
        double scale = std::pow(10.0, static_cast<double>(rng() % 24) - 5.0);
        check(std::ldexp(static_cast<double>(rng() >> 11), -53) * scale);
        position += static_cast<double>(static_cast<std::int64_t>(rng() % 20001) - 10000) / 1000.0;
        check(position);
    }
    std::printf("%lld renderings checked, %lld mismatches\n", checked, mismatches);
    return mismatches == 0 ? 0 : 1;
}
