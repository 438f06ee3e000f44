// Cost per sample of tx_fir_dc::Run (history as a ring: two reads and one
// write per sample) at 32 and 128 samples per bit, beside the literal form
// that shifts the whole 4 * N history by one place per sample.
#include <benchmark/benchmark.h>

#include <vector>

#include "devices/tx_fir_dc.h"
#include "tests/support/RandomSignal.h"

namespace {

constexpr double kBitTime = 1.666666666666667e-10;

void BM_TxFirDcRun(benchmark::State& state)
{
    const std::vector<double> x = RandomSignal(4096, 2, 0.5);
    tx_fir_dc block;
    double in = 0.0, out = 0.0;
    block.row = 5;
    block.samples_per_bit = static_cast<int>(state.range(0));
    block.bit_time = kBitTime;
    if (!block.Setup()) {
        state.SkipWithError("Setup failed");
        return;
    }
    block.Input.Data = &in;
    block.Input.Capacity = 1;
    block.Output.Data = &out;
    block.Output.Capacity = 1;
    block.Initialize();
    std::size_t i = 0;
    for (auto _ : state) {
        in = x[i++ & 4095];
        block.Run();
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TxFirDcRun)->Arg(32)->Arg(128);

// The literal firing: condition, shift history[k] = history[k-1] for
// k = 4N-1 down to 1, store the new sample first, read the two taps.
void BM_LiteralShiftingHistory(benchmark::State& state)
{
    const std::vector<double> x = RandomSignal(4096, 2, 0.5);
    tx_fir_dc cfg;  // only for the row constants Setup derives
    cfg.row = 5;
    cfg.samples_per_bit = static_cast<int>(state.range(0));
    cfg.bit_time = kBitTime;
    if (!cfg.Setup()) {
        state.SkipWithError("Setup failed");
        return;
    }
    const int n = cfg.samples_per_bit, d = cfg.tap_delay;
    const double lo = cfg.lower_limit, hi = cfg.upper_limit, w = cfg.post_weight;
    const double gain = cfg.in_gain, level = cfg.level_gain;
    std::vector<double> history(512, 0.0);
    volatile double in = 0.0;  // keeps the input opaque, as a port read is
    std::size_t i = 0;
    for (auto _ : state) {
        in = x[i++ & 4095];
        double s = in * gain * level;
        if (s < lo) s = lo;
        else if (s > hi) s = hi;
        for (int k = 4 * n - 1; k >= 1; --k) history[k] = history[k - 1];
        history[0] = s;
        const double y = w * history[n + 2 * d] + history[n + d];
        benchmark::DoNotOptimize(y);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LiteralShiftingHistory)->Arg(32)->Arg(128);

}  // namespace
