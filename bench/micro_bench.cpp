// Micro-benchmarks of the per-word work: scanning a number text, its value,
// rendering, the two formatters, one whole motion line, and the body pass
// over a whole program held in memory.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conversion/body_pass.h"
#include "conversion/line_facts.h"
#include "conversion/motion_line.h"
#include "driver/text_output.h"
#include "words/number_text.h"
#include "words/render.h"
#include "words/word_format.h"
#include "program_text.h"

using namespace ncabs;

namespace {

const std::vector<std::string> kWords = {"X1.234", "Y-0.5",   "Z12500", "I-1.05",  "J0.037",
                                         "X424",   "Y3458",   "Z-0.483", "X123.456", "Y-2."};

const std::vector<double> kValues = {1.234, -0.5, 12.5, -1.05, 0.037, 124.3, -3458.125, 0.1235, 2.9995, 10.0};

// An output stream that is never written to a file: the buffer is reused.
std::unique_ptr<OutputStream> scratch_output() {
    auto out = std::make_unique<OutputStream>();
    out->file = nullptr;
    return out;
}

void reset_if_full(OutputStream& out) {
    if (out.used > kOutputBlockSize / 2) out.used = 0;
}

void BM_ScanNumberText(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& w : kWords) {
            NumberText text;
            benchmark::DoNotOptimize(scan_number_text(w.data(), w.data() + w.size(), text));
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kWords.size()));
}
BENCHMARK(BM_ScanNumberText);

void BM_WordValue(benchmark::State& state) {
    for (auto _ : state) {
        for (const std::string& w : kWords) benchmark::DoNotOptimize(word_value(w.data() + 1, w.data() + w.size()));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kWords.size()));
}
BENCHMARK(BM_WordValue);

void BM_RenderFixed(benchmark::State& state) {
    int decimals = static_cast<int>(state.range(0));
    char buf[kRenderedCapacity];
    for (auto _ : state) {
        for (double v : kValues) benchmark::DoNotOptimize(render_fixed(v, decimals, buf));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kValues.size()));
}
BENCHMARK(BM_RenderFixed)->Arg(3)->Arg(0);

void BM_FormatAxisWord(benchmark::State& state) {
    auto out = scratch_output();
    for (auto _ : state) {
        for (double v : kValues) format_axis_word(*out, 'X', v);
        reset_if_full(*out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kValues.size()));
}
BENCHMARK(BM_FormatAxisWord);

void BM_FormatArcWord(benchmark::State& state) {
    auto out = scratch_output();
    for (auto _ : state) {
        for (double v : kValues) format_arc_word(*out, 'I', v);
        reset_if_full(*out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(kValues.size()));
}
BENCHMARK(BM_FormatArcWord);

void BM_RewriteMotionLine(benchmark::State& state) {
    const std::vector<std::string> lines = {"N10 G91 G01 X1.902 Y2.403 F800\n", "X0.138 Y0.702 Z-0.483\n",
                                            "G02 X0.065 Y0.814 I1.05 J0.037\n", "G01 X424 Y3458\n"};
    auto out = scratch_output();
    auto line = std::make_unique<LineBuffer>();
    ConversionState conversion;
    conversion.mode = InputMode::Incremental;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& l : lines) {
            std::memcpy(line->storage, l.data(), l.size());
            line->text = line->storage;
            line->length = l.size();
            LineFacts facts = scan_line_facts(*line);
            rewrite_motion_line(*line, facts, *out, conversion);
            bytes += l.size();
        }
        reset_if_full(*out);
    }
    state.SetBytesProcessed(static_cast<long>(bytes));
}
BENCHMARK(BM_RewriteMotionLine);

// The body pass over the benchmark program (4 MB), read from memory and
// written nowhere: the conversion's own cost, without the file system's.
void BM_BodyPass(benchmark::State& state) {
    static std::string program;
    if (program.empty()) {
        std::string text;
        ncabs_bench::make_program_text(4000000, text, [](std::string& s) {
            program += s;
            s.clear();
        });
        program += text;
    }
    auto files = std::make_unique<RunFiles>();
    auto line = std::make_unique<LineBuffer>();
    for (auto _ : state) {
        std::FILE* in = fmemopen(program.data(), program.size(), "rb");
        attach_input(files->input, in);
        files->output.file = nullptr;  // flushing discards
        files->output.used = 0;
        ConversionState conversion;
        conversion.mode = InputMode::Incremental;
        run_body_pass(*files, *line, conversion);
        benchmark::DoNotOptimize(conversion);
        std::fclose(in);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(program.size()));
}
BENCHMARK(BM_BodyPass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
