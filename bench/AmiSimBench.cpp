// ami-sim stages for a 100,000-bit run at 32 samples per bit (3.2 million
// samples): the channel convolution (FFT overlap-save against the direct
// sum it replaces), the eye folding with its density plot, and a whole run
// without models; whole 1,000,000-bit runs with and without the kit's
// models. Also reading the measured 4-port cable (2.3 MB
// Touchstone) and building its impulse response, bare and between the
// kit's analog ends, when ../shared is there; and a 3 x 7 sweep of the kit
// on one thread and on two.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "tools/ami-sim/AnalogEnds.h"
#include "tools/ami-sim/Channel.h"
#include "tools/ami-sim/EyeDiagram.h"
#include "tools/ami-sim/FftConvolver.h"
#include "tools/ami-sim/FrequencyDomainChannel.h"
#include "tools/ami-sim/Prbs.h"
#include "tools/ami-sim/Simulation.h"
#include "tools/ami-sim/TerminatedNetwork.h"

namespace {

constexpr double kBitTime = 1.666666666666667e-10;
constexpr int kSpb = 32;
constexpr std::size_t kBits = 100000;

std::vector<double> Stimulus(std::vector<std::uint8_t>* bitsOut = nullptr) {
    amisim::Prbs p(15);
    std::vector<std::uint8_t> bits(kBits);
    for (auto& b : bits) b = static_cast<std::uint8_t>(p.NextBit());
    std::vector<double> x;
    x.reserve(kBits * kSpb);
    for (auto b : bits)
        for (int i = 0; i < kSpb; ++i) x.push_back(b ? 0.5 : -0.5);
    if (bitsOut) *bitsOut = bits;
    return x;
}

amisim::Channel Line(double db) {
    amisim::Channel ch;
    std::string error;
    amisim::DesignLossyLine(db, kBitTime, kBitTime / kSpb, ch, error);
    return ch;
}

void BM_ChannelFft100kBits(benchmark::State& state) {
    const amisim::Channel ch = Line(static_cast<double>(state.range(0)));
    const std::vector<double> x = Stimulus();
    std::vector<double> y(x.size());
    for (auto _ : state) {
        amisim::FftConvolver conv(ch.taps, 4096);
        conv.Process(x.data(), y.data(), x.size());
        benchmark::DoNotOptimize(y.data());
    }
    state.counters["taps"] = static_cast<double>(ch.taps.size());
}
BENCHMARK(BM_ChannelFft100kBits)->Arg(10)->Arg(25)->Unit(benchmark::kMillisecond);

// The direct sum over 1/100 of the run, for comparison.
void BM_ChannelDirect1kBits(benchmark::State& state) {
    const amisim::Channel ch = Line(10.0);
    std::vector<double> x = Stimulus();
    x.resize(kBits * kSpb / 100);
    std::vector<double> y(x.size());
    for (auto _ : state) {
        for (std::size_t n = 0; n < x.size(); ++n) {
            double s = 0.0;
            const std::size_t m = std::min(n + 1, ch.taps.size());
            for (std::size_t k = 0; k < m; ++k) s += ch.taps[k] * x[n - k];
            y[n] = s;
        }
        benchmark::DoNotOptimize(y.data());
    }
}
BENCHMARK(BM_ChannelDirect1kBits)->Unit(benchmark::kMillisecond);

void BM_EyeFold100kBits(benchmark::State& state) {
    std::vector<std::uint8_t> bits;
    const std::vector<double> x = Stimulus(&bits);
    amisim::FftConvolver conv(Line(10.0).taps, 4096);
    std::vector<double> y(x.size());
    conv.Process(x.data(), y.data(), x.size());
    amisim::EyeDiagram::Layout layout;
    layout.samplesPerBit = kSpb;
    layout.vMin = -0.6;
    layout.vMax = 0.6;
    layout.rows = state.range(0);
    for (auto _ : state) {
        amisim::EyeDiagram eye(layout, bits, 20, false, 100);
        eye.Add(0, y.data(), y.size());
        benchmark::DoNotOptimize(eye.Metrics());
    }
}
BENCHMARK(BM_EyeFold100kBits)->Arg(0)->Arg(240)->Unit(benchmark::kMillisecond);

void BM_Run100kBitsWithoutModels(benchmark::State& state) {
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("amisim-bench-" + std::to_string(getpid())))
            .string();
    for (auto _ : state) {
        std::ostringstream out, err;
        amisim::RunCommandLine({"ami-sim", "--bits", "100000", "--quiet", "--out", dir}, out, err,
                               false);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Run100kBitsWithoutModels)->Unit(benchmark::kMillisecond)->Iterations(3);

// A whole 1,000,000-bit run (32 million samples) over the 10 dB line: without
// models (models:0), where the harness's own stages are all the cost, and
// through the kit's transmitter and receiver (models:1) when this build has
// them; without impairments (jitter:0) and with transmitter Rj, Dj, DCD and
// Sj and receiver noise and Rj (jitter:1).
void BM_Run1MBits(benchmark::State& state) {
    std::vector<std::string> args = {"ami-sim", "--bits", "1000000", "--quiet"};
    if (state.range(1) == 1)
        args.insert(args.end(), {"--rj", "1ps", "--dj", "0.05UI", "--dcd", "2ps", "--sj", "0.05UI",
                                 "--sj-freq", "10MHz", "--rx-noise", "5mV", "--rx-rj", "1ps"});
    if (state.range(0) == 1) {
#if defined(CORVIN_RX_LIBRARY) && defined(CORVIN_TX_LIBRARY)
        args.insert(args.end(),
                    {"--tx", CORVIN_TX_LIBRARY, "--tx-params", "(corvin_tx1 (de_code 5))", "--rx",
                     CORVIN_RX_LIBRARY, "--rx-params", "(corvin_rx1 (eq 1))"});
#else
        state.SkipWithError("the model libraries are not in this build");
        return;
#endif
    }
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("amisim-bench1m-" + std::to_string(getpid())))
            .string();
    args.insert(args.end(), {"--out", dir});
    for (auto _ : state) {
        std::ostringstream out, err;
        if (amisim::RunCommandLine(args, out, err, false) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_Run1MBits)
    ->ArgNames({"models", "jitter"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_TouchstoneCableToTaps(benchmark::State& state) {
    const std::string path =
        std::string(CORVIN_SOURCE_DIR) + "/../shared/channels/CABLE1_TX_pair.s4p";
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("../shared/channels/CABLE1_TX_pair.s4p is absent");
        return;
    }
    // The kit's ends, read once: only the network arithmetic is timed.
    amisim::AnalogEnd tx, rx;
    if (state.range(0) == 2) {
        amisim::IbisKit kit;
        std::string error;
        amisim::ReadIbisKit(std::string(CORVIN_SOURCE_DIR) + "/kit/corvin.ibs", kit, error);
        const amisim::KitComponent& c = kit.components.at(0);
        amisim::ExtractDriver(c, *c.Pin("A1"), *kit.Model("corvin_tx1"), amisim::Corner::Typical,
                              -1.0, tx, error);
        amisim::ExtractReceiver(c, *c.Pin("B1"), *kit.Model("corvin_rx1"), amisim::Corner::Typical,
                                -1.0, rx, error);
    }
    std::size_t taps = 0;
    for (auto _ : state) {
        amisim::NetworkData data;
        amisim::ThroughResponse through;
        amisim::Channel ch;
        std::string error;
        if (!amisim::ReadTouchstone(path, data, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        if (state.range(0) == 1) {
            amisim::SelectThrough(data, {1, 3, 2, 4}, through, error);
            amisim::ChannelFromThrough(through, kBitTime / kSpb, ch, error);
        }
        if (state.range(0) == 2) {
            amisim::TerminateThrough(data, {1, 3, 2, 4}, tx, rx, through, error);
            amisim::ChannelFromThrough(through, kBitTime / kSpb, ch, error);
        }
        taps = ch.taps.size();
        benchmark::DoNotOptimize(taps);
    }
    state.counters["taps"] = static_cast<double>(taps);
}
// 0: reading alone; 1: reading, SDD21 and the impulse response; 2: reading,
// the network between the kit's analog ends and the impulse response.
BENCHMARK(BM_TouchstoneCableToTaps)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The kit swept over eq 0 to 2 and de_code 0 to 6, 20,000 bits a point over
// the 15 dB line, on `jobs` threads.
void BM_KitSweep21Points(benchmark::State& state) {
#if defined(CORVIN_KIT_DIR)
    const std::string dir =
        (std::filesystem::temp_directory_path() / ("amisim-sweep-" + std::to_string(getpid())))
            .string();
    for (auto _ : state) {
        std::filesystem::remove_all(dir);  // nothing kept from the last round
        std::ostringstream out, err;
        if (amisim::RunCommandLine(
                {"ami-sim", "--ibs", CORVIN_KIT_DIR "/corvin.ibs", "--sweep", "eq=0,1,2", "--sweep",
                 "de_code=0..6", "--channel-loss", "15", "--bits", "20000", "--quiet", "--jobs",
                 std::to_string(state.range(0)), "--out", dir},
                out, err, false) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    std::filesystem::remove_all(dir);
#else
    state.SkipWithError("the assembled kit is not in this build");
#endif
}
BENCHMARK(BM_KitSweep21Points)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
