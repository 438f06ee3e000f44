// Cost per sample of the single-rate FIR with 384 taps fired one sample at
// a time, of the span kernel alone, and of the literal loop that wraps the
// delay-line index and adds one product at a time (the shape of the
// textbook polyphase algorithm at M = L = 1).
#include <benchmark/benchmark.h>

#include <vector>

#include "blocks/FIR.h"
#include "blocks/SpanKernels.h"
#include "tests/support/RandomSignal.h"

namespace {

constexpr int kTaps = 384;

void BM_FirRun384(benchmark::State& state) {
    std::vector<double> taps = RandomSignal(kTaps, 1), x = RandomSignal(4096, 2);
    Vantra::FIR<double, 0> fir;
    double in = 0.0, out = 0.0;
    fir.Taps = taps.data();
    fir.NumTaps = kTaps;
    fir.Setup();
    fir.Input.Data = &in;
    fir.Input.Capacity = 1;
    fir.Output.Data = &out;
    fir.Output.Capacity = 1;
    fir.Initialize();
    std::size_t i = 0;
    for (auto _ : state) {
        in = x[i++ & 4095];
        fir.Run();
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["ns_per_tap"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kTaps,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FirRun384);

// The span kernel alone, for one output and over a span of the models'
// span length, with the models' taps' shape (384 taps of which the first
// 129 are not zero, so the sum runs over 129), per instruction set.
void BM_FirSpanKernel129(benchmark::State& state) {
    const auto isa = static_cast<Vantra::KernelIsa>(state.range(0));
    if (!Vantra::KernelIsaAvailable(isa)) {
        state.SkipWithError("instruction set not available");
        return;
    }
    const Vantra::SpanKernels& k = Vantra::SpanKernelsFor(isa);
    const std::size_t kSpan = static_cast<std::size_t>(state.range(1));
    constexpr std::size_t kTapsUsed = 129;
    std::vector<double> taps = RandomSignal(kTapsUsed, 1), x = RandomSignal(4096 + kTapsUsed, 2);
    std::vector<double> y(kSpan);
    std::size_t i = 0;
    for (auto _ : state) {
        k.FirSpan(taps.data(), kTapsUsed, x.data() + i, y.data(), kSpan);
        benchmark::DoNotOptimize(y.data());
        i = (i + kSpan) & 4095;
    }
    state.SetItemsProcessed(state.iterations() * kSpan);
}
BENCHMARK(BM_FirSpanKernel129)
    ->ArgsProduct({{static_cast<int>(Vantra::KernelIsa::Portable),
                    static_cast<int>(Vantra::KernelIsa::Sse2),
                    static_cast<int>(Vantra::KernelIsa::Avx2)},
                   {1, 128}});

// The literal loop: circular history, index wrapped per tap, one running sum.
void BM_LiteralWrappingLoop384(benchmark::State& state) {
    std::vector<double> taps = RandomSignal(kTaps, 1), x = RandomSignal(4096, 2);
    const std::size_t d = kTaps + 2;
    std::vector<double> line(d, 0.0);
    std::size_t position = 0, i = 0;
    for (auto _ : state) {
        std::size_t newest = position + d - 1;
        if (newest >= d) newest -= d;
        line[newest] = x[i++ & 4095];
        double sum = 0.0;
        std::size_t e = d - 1;
        for (int t = 0; t < kTaps; ++t) {
            std::size_t idx = position + e;
            if (idx >= d) idx -= d;
            sum += taps[t] * line[idx];
            --e;
        }
        benchmark::DoNotOptimize(sum);
        if (++position == d) position = 0;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["ns_per_tap"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kTaps,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LiteralWrappingLoop384);

}  // namespace
