// The benchmark program: a large, realistic incremental NC program of 3D
// surfacing passes, short G01 moves with feeds, XYZ moves, G02 arcs with
// I/J, some numbers without a decimal point (thousandths) and comment lines.
// The program is the same for the same size on every run.
#pragma once

#include <cstdint>
#include <string>

namespace ncabs_bench {

// A small fixed generator, so that the program never depends on the
// standard library's distribution algorithms.
struct Lcg {
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    std::uint32_t next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state >> 33);
    }
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<std::uint32_t>(hi - lo + 1)); }
};

// A value in thousandths written with a point and three decimals ("-1.234"),
// with the trailing zeros a CAM system leaves off ("2.5", "3.").
inline void put_decimal(std::string& s, int thousandths) {
    if (thousandths < 0) {
        s += '-';
        thousandths = -thousandths;
    }
    s += std::to_string(thousandths / 1000);
    s += '.';
    int frac = thousandths % 1000;
    if (frac == 0) return;
    char digits[4] = {static_cast<char>('0' + frac / 100), static_cast<char>('0' + frac / 10 % 10),
                      static_cast<char>('0' + frac % 10), 0};
    int n = 3;
    while (digits[n - 1] == '0') --n;
    s.append(digits, static_cast<std::size_t>(n));
}

// Appends the program's lines to text, handing text to flush (which
// empties it) whenever it grows past 64 KiB, until bytes have been flushed;
// then appends the closing lines, for the caller to flush.
template <typename Flush>
void make_program_text(long long bytes, std::string& text, Flush flush) {
    Lcg rng;
    std::string& s = text;
    s += "%\nO4711 (BENCH SURFACING PROGRAM)\n(T3 6MM BALL, X/Y STEP 0.2)\nT3 M06\nS12000 M03\n"
         "G21 G17 G54\nG92 X0 Y0 Z5.\nG91 G00 X10. Y10.\n";
    long long written = 0;
    long n = 10;
    int pass = 0;
    while (written < bytes) {
        int kind = rng.range(0, 99);
        if (kind < 2) {
            s += "(PASS " + std::to_string(++pass) + " X STEP 0.2 Y ZIGZAG)\n";
        } else if (kind < 40) {
            s += 'N' + std::to_string(n) + " G91 G01 X";
            put_decimal(s, rng.range(-5000, 5000));
            s += " Y";
            put_decimal(s, rng.range(-5000, 5000));
            s += " F" + std::to_string(rng.range(8, 30) * 100) + '\n';
            n += 10;
        } else if (kind < 75) {
            s += 'X';
            put_decimal(s, rng.range(-2000, 2000));
            s += " Y";
            put_decimal(s, rng.range(-2000, 2000));
            s += " Z";
            put_decimal(s, rng.range(-500, 500));
            s += '\n';
        } else if (kind < 90) {
            s += "G02 X";
            put_decimal(s, rng.range(-3000, 3000));
            s += " Y";
            put_decimal(s, rng.range(-3000, 3000));
            s += " I";
            put_decimal(s, rng.range(-1500, 1500));
            s += " J";
            put_decimal(s, rng.range(-1500, 1500));
            s += '\n';
        } else {
            // Thousandths without a decimal point, as older posts write them.
            s += "G01 X" + std::to_string(rng.range(-4000, 4000)) + " Y" + std::to_string(rng.range(-4000, 4000)) +
                 '\n';
        }
        if (s.size() > 1 << 16) {
            written += static_cast<long long>(s.size());
            flush(s);
        }
    }
    s += "G00 Z50.\nM05\nM30\n%\n";
}

}  // namespace ncabs_bench
