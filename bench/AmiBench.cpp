// ns per sample of AMI_GetWave through the loaded model libraries (1,000,000
// samples, 32 samples per bit, blocks of 1024), beside the cost of the
// networks' time-response filters' Run alone.
#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <cmath>
#include <string>
#include <vector>

#include "blocks/TimeResponseFIR.h"
#include "models/ResponseGrid.h"
#include "models/corvin_rx1/EqResponses.h"
#include "models/corvin_tx1/TxOutputResponse.h"

namespace {

const double kBitTime = 1.666666666666667e-10;
constexpr long kSamples = 1000000;
constexpr long kBlock = 1024;

std::vector<double> Waveform()
{
    std::vector<double> w(kSamples);
    unsigned lfsr = 0x7f;
    int level = 1;
    for (long i = 0; i < kSamples; ++i) {
        if (i % 32 == 0) {
            unsigned bit = ((lfsr >> 6) ^ (lfsr >> 5)) & 1u;
            lfsr = ((lfsr << 1) | bit) & 0x7fu;
            level = bit ? 1 : -1;
        }
        w[i] = 0.4 * level;
    }
    return w;
}

void RunLibrary(benchmark::State& state, const char* lib, const std::string& params)
{
    using InitFn = long (*)(double*, long, long, double, double, char*, char**, void**, char**);
    using GetWaveFn = long (*)(double*, long, double*, char**, void*);
    using CloseFn = long (*)(void*);
    void* h = dlopen((std::string(CORVIN_LIB_DIR) + "/" + lib).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (h == nullptr) {
        state.SkipWithError(dlerror());
        return;
    }
    auto init = reinterpret_cast<InitFn>(dlsym(h, "AMI_Init"));
    auto getWave = reinterpret_cast<GetWaveFn>(dlsym(h, "AMI_GetWave"));
    auto close = reinterpret_cast<CloseFn>(dlsym(h, "AMI_Close"));
    const std::vector<double> source = Waveform();
    std::vector<double> wave(kSamples);
    for (auto _ : state) {
        state.PauseTiming();
        wave = source;
        std::string p = params;
        void* memory = nullptr;
        char* msg = nullptr;
        init(nullptr, 0, 0, kBitTime / 32, kBitTime, p.data(), nullptr, &memory, &msg);
        double clock[2];
        state.ResumeTiming();
        for (long i = 0; i < kSamples; i += kBlock)
            getWave(wave.data() + i, std::min(kBlock, kSamples - i), clock, nullptr, memory);
        state.PauseTiming();
        close(memory);
        state.ResumeTiming();
    }
    state.counters["ns_per_sample"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSamples,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    dlclose(h);
}

void BM_ReceiverGetWave(benchmark::State& state)
{
    RunLibrary(state, "corvin_rx1_x64.so",
               "(corvin_rx1 (eq " + std::to_string(state.range(0)) + "))");
}
BENCHMARK(BM_ReceiverGetWave)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_TransmitterGetWave(benchmark::State& state)
{
    RunLibrary(state, "corvin_tx1_x64.so", "(corvin_tx1 (de_code 5))");
}
BENCHMARK(BM_TransmitterGetWave)->Unit(benchmark::kMillisecond);

// The filters alone: n time-response filters designed like the networks'
// and run once per sample each.
void RunFilters(benchmark::State& state, std::vector<const double*> tables)
{
    const std::size_t n = tables.size();
    std::vector<Vantra::TimeResponseFIR> filters(n);
    std::vector<std::vector<double>> resp(n), stamps(n);
    double in = 0.0;
    std::vector<double> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        resp[i].assign(tables[i], tables[i] + ResponsePointCount);
        stamps[i].assign(ResponseGrid, ResponseGrid + ResponsePointCount);
        Vantra::TimeResponseFIR& f = filters[i];
        f.ResponseType = Vantra::ImpulseResponse;
        f.Response = resp[i].data();
        f.ResponseTimeStamps = stamps[i].data();
        f.ResponseCount = f.TimeStampCount = static_cast<int>(ResponsePointCount);
        f.SampleRate = 32 / kBitTime;
        f.Setup();
        f.Input.Data = &in;
        f.Input.Capacity = 1;
        f.Output.Data = &out[i];
        f.Output.Capacity = 1;
        f.Initialize();
    }
    const std::vector<double> source = Waveform();
    for (auto _ : state) {
        for (long s = 0; s < kSamples; ++s) {
            in = source[s];
            for (auto& f : filters) f.Run();
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.counters["ns_per_sample"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSamples,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ReceiverFiltersAlone(benchmark::State& state)
{
    RunFilters(state, {EqResponse2, EqResponse1, EqResponse0});
}
BENCHMARK(BM_ReceiverFiltersAlone)->Unit(benchmark::kMillisecond);

void BM_TransmitterFilterAlone(benchmark::State& state) { RunFilters(state, {TxOutputResponse}); }
BENCHMARK(BM_TransmitterFilterAlone)->Unit(benchmark::kMillisecond);

}  // namespace
