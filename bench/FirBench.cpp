// Cost per sample of the single-rate FIR with the models' 384 taps, beside
// the literal loop that wraps the delay-line index and adds one product at
// a time (the shape of the textbook polyphase algorithm at M = L = 1).
#include <benchmark/benchmark.h>

#include <vector>

#include "blocks/FIR.h"
#include "tests/support/RandomSignal.h"

namespace {

constexpr int kTaps = 384;

void BM_FirRun384(benchmark::State& state)
{
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
    state.counters["ns_per_tap"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kTaps,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FirRun384);

// The single-rate step with one chosen kernel: the reversed, doubled
// history written once per sample and one dot product, as FIR::Run does.
void BM_SingleRateKernel(benchmark::State& state)
{
    const auto isa = static_cast<Vantra::DotIsa>(state.range(0));
    Vantra::DotFunction dot = Vantra::DotKernelFor(isa);
    if (dot == nullptr) {
        state.SkipWithError("instruction set not available");
        return;
    }
    std::vector<double> taps = RandomSignal(kTaps, 1), x = RandomSignal(4096, 2);
    const std::size_t d = kTaps + 2;
    std::vector<double> mirror(2 * d, 0.0);
    std::size_t q = 0, i = 0;
    for (auto _ : state) {
        q = (q == 0 ? d : q) - 1;
        mirror[q] = mirror[q + d] = x[i++ & 4095];
        benchmark::DoNotOptimize(dot(taps.data(), mirror.data() + q, kTaps));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SingleRateKernel)
    ->Arg(static_cast<int>(Vantra::DotIsa::Portable))
    ->Arg(static_cast<int>(Vantra::DotIsa::Sse2))
    ->Arg(static_cast<int>(Vantra::DotIsa::Avx2Fma));

// The literal loop: circular history, index wrapped per tap, one running sum.
void BM_LiteralWrappingLoop384(benchmark::State& state)
{
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
    state.counters["ns_per_tap"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kTaps,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LiteralWrappingLoop384);

}  // namespace
