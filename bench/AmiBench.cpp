// AMI_GetWave through the loaded model libraries at 32 samples per bit, in
// ns per sample, for the block sizes simulators call it with (1, 64, 1024
// and 65536 samples) and for both kernel paths: build/lib holds the shipped
// libraries, which take AVX2 where the processor has it, and
// build/lib-sse2 the same libraries pinned to SSE2. Beside them, the same
// model evaluated literally (every tap of every filter multiplied and
// added one at a time per sample, as the textbook networks do, with the C
// library's tanh), measured in the same run: counter of_literal is the
// ratio. All times are CPU times. Counter instance_bytes is the heap one
// instance holds after AMI_Init and one AMI_GetWave call.
//
// CORVIN_BENCH_REFERENCE_LIBS=DIR adds the runs of the libraries in DIR (an
// earlier build of the same libraries), for before-and-after figures.
#include <benchmark/benchmark.h>

#include <dlfcn.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "blocks/KernelIsa.h"
#include "blocks/TimeResponseFIR.h"
#include "models/ResponseGrid.h"
#include "models/corvin_rx1/EqResponses.h"
#include "models/corvin_tx1/TxOutputResponse.h"

namespace {

const double kBitTime = 1.666666666666667e-10;
constexpr std::size_t kSamples = 1 << 20;

// +-0.4 NRZ of a 7-bit pseudo-random sequence, 32 samples per bit.
std::vector<double> Waveform(std::size_t n) {
    std::vector<double> w(n);
    unsigned lfsr = 0x7f;
    int level = 1;
    for (std::size_t i = 0; i < n; ++i) {
        if (i % 32 == 0) {
            unsigned bit = ((lfsr >> 6) ^ (lfsr >> 5)) & 1u;
            lfsr = ((lfsr << 1) | bit) & 0x7fu;
            level = bit ? 1 : -1;
        }
        w[i] = 0.4 * level;
    }
    return w;
}

// ---- the literal evaluation --------------------------------------------

// The taps a network designs from a response table at 32 samples per bit.
std::vector<double> DesignedTaps(const double* table) {
    std::vector<double> resp(table, table + ResponsePointCount);
    std::vector<double> stamps(ResponseGrid, ResponseGrid + ResponsePointCount);
    Vantra::TimeResponseFIR f;
    f.ResponseType = Vantra::ImpulseResponse;
    f.Response = resp.data();
    f.ResponseTimeStamps = stamps.data();
    f.ResponseCount = f.TimeStampCount = static_cast<int>(ResponsePointCount);
    f.SampleRate = 32 / kBitTime;
    if (!f.Setup()) return {};
    return std::vector<double>(f.Taps, f.Taps + f.NumTaps);
}

// The textbook filter: a circular history whose index wraps per tap, one
// running sum.
class LiteralFilter {
public:
    explicit LiteralFilter(std::vector<double> taps)
        : taps_(std::move(taps)), line_(taps_.size() + 2, 0.0) {}
    double Run(double x) {
        const std::size_t d = line_.size();
        std::size_t newest = position_ + d - 1;
        if (newest >= d) newest -= d;
        line_[newest] = x;
        double sum = 0.0;
        std::size_t e = d - 1;
        for (std::size_t t = 0; t < taps_.size(); ++t) {
            std::size_t idx = position_ + e;
            if (idx >= d) idx -= d;
            sum += taps_[t] * line_[idx];
            --e;
        }
        if (++position_ == d) position_ = 0;
        return sum;
    }

private:
    std::vector<double> taps_, line_;
    std::size_t position_ = 0;
};

// The receiver per sample: three equaliser filters, the selected one, the
// device limiter and the post-DC limiter.
struct LiteralReceiver {
    LiteralFilter eq[3] = {LiteralFilter(DesignedTaps(EqResponse0)),
                           LiteralFilter(DesignedTaps(EqResponse1)),
                           LiteralFilter(DesignedTaps(EqResponse2))};
    double post = 0.0;
    double Run(double x) {
        double y[3];
        for (int i = 0; i < 3; ++i) y[i] = eq[i].Run(x);
        const double out = 0.209 * std::tanh(22.04 * y[1]);
        post = 0.5 * std::tanh(82.0 * out);
        return out;
    }
};

// The transmitter per sample: input limiter, de-emphasis (row 5, d = 20)
// with its history shifted by one place, output filter.
struct LiteralTransmitter {
    LiteralFilter response{DesignedTaps(TxOutputResponse)};
    std::vector<double> history = std::vector<double>(512, 0.0);
    double Run(double x) {
        double s = std::tanh(82.0 * x);
        s = s < -0.32 ? -0.32 : (s > 0.32 ? 0.32 : s);
        for (int k = 4 * 32 - 1; k >= 1; --k) history[k] = history[k - 1];
        history[0] = s;
        return response.Run(-0.125 * history[32 + 40] + history[32 + 20]);
    }
};

// CPU time, as the benchmarks report it: on a machine shared with other
// work, wall-clock time measures the neighbours as much as the code.
double ThreadCpuNs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return 1e9 * static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec);
}

// The fastest of several runs: the literal evaluation is measured once and
// every ratio uses it, so it must not catch a moment of heavy load.
template <class Literal>
double LiteralNsPerSample() {
    static const double ns = [] {
        Literal model;
        const std::vector<double> x = Waveform(20000);
        double best = 0.0, sink = 0.0;
        for (int run = 0; run < 7; ++run) {
            const double t0 = ThreadCpuNs();
            for (double v : x) sink += model.Run(v);
            const double t = (ThreadCpuNs() - t0) / static_cast<double>(x.size());
            if (run == 0 || t < best) best = t;
        }
        benchmark::DoNotOptimize(sink);
        return best;
    }();
    return ns;
}

template <class Literal>
void BM_Literal(benchmark::State& state) {
    Literal model;
    const std::vector<double> x = Waveform(4096);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(model.Run(x[i++ & 4095]));
    state.counters["ns_per_sample"] =
        benchmark::Counter(static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// ---- the libraries -------------------------------------------------------

using InitFn = long (*)(double*, long, long, double, double, char*, char**, void**, char**);
using GetWaveFn = long (*)(double*, long, double*, char**, void*);
using CloseFn = long (*)(void*);

struct ModelRun {
    std::string library;  // full path
    std::string params;
    double literalNs;
};

void RunLibrary(benchmark::State& state, const ModelRun& run) {
    const long block = state.range(0);
    void* h = dlopen(run.library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (h == nullptr) {
        state.SkipWithError(dlerror());
        return;
    }
    auto init = reinterpret_cast<InitFn>(dlsym(h, "AMI_Init"));
    auto getWave = reinterpret_cast<GetWaveFn>(dlsym(h, "AMI_GetWave"));
    auto close = reinterpret_cast<CloseFn>(dlsym(h, "AMI_Close"));
    const std::vector<double> source = Waveform(kSamples);
    std::vector<double> wave(kSamples);
    double bytes = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        wave = source;
        std::string p = run.params;
        void* memory = nullptr;
        char* msg = nullptr;
        const std::size_t before = mallinfo2().uordblks;
        init(nullptr, 0, 0, kBitTime / 32, kBitTime, p.data(), nullptr, &memory, &msg);
        double clock[2];
        getWave(wave.data(), block, clock, nullptr, memory);
        bytes = static_cast<double>(mallinfo2().uordblks - before);
        state.ResumeTiming();
        for (std::size_t i = block; i < kSamples; i += block)
            getWave(wave.data() + i, std::min<long>(block, kSamples - i), clock, nullptr, memory);
        state.PauseTiming();
        close(memory);
        state.ResumeTiming();
    }
    const double samples = static_cast<double>(state.iterations()) * (kSamples - block);
    state.counters["ns_per_sample"] =
        benchmark::Counter(samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["of_literal"] = benchmark::Counter(
        samples * run.literalNs * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["instance_bytes"] = bytes;
    dlclose(h);
}

void Register(const std::string& label, const std::string& dir) {
    const std::string rx = "corvin_rx1_x64.so", tx = "corvin_tx1_x64.so";
    const ModelRun runs[] = {
        {dir + "/" + rx, "(corvin_rx1 (eq 0))", LiteralNsPerSample<LiteralReceiver>()},
        {dir + "/" + rx, "(corvin_rx1 (eq 2))", LiteralNsPerSample<LiteralReceiver>()},
        {dir + "/" + tx, "(corvin_tx1 (de_code 5))", LiteralNsPerSample<LiteralTransmitter>()},
    };
    const char* names[] = {"Receiver_eq0", "Receiver_eq2", "Transmitter"};
    for (int i = 0; i < 3; ++i) {
        benchmark::RegisterBenchmark(("GetWave/" + label + "/" + names[i]).c_str(), RunLibrary,
                                     runs[i])
            ->Arg(1)
            ->Arg(64)
            ->Arg(1024)
            ->Arg(65536)
            ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("Literal/Receiver", BM_Literal<LiteralReceiver>);
    benchmark::RegisterBenchmark("Literal/Transmitter", BM_Literal<LiteralTransmitter>);
    // The shipped libraries run the best path this processor has.
    const char* best = Vantra::KernelIsaName(Vantra::ResolveKernelIsa(Vantra::KernelIsa::Best));
    Register(best, CORVIN_LIB_DIR);
    Register("sse2", CORVIN_SSE2_LIB_DIR);
    if (const char* ref = std::getenv("CORVIN_BENCH_REFERENCE_LIBS")) Register("reference", ref);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
