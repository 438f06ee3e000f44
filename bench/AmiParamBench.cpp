// Parameter string parsing: time per parse against the number of leaves
// (one branch holding N leaves, and one leaf holding N values), and the
// full AMI_Init path (reader + one GetDouble). The complexity fit should
// come out linear.
#include <benchmark/benchmark.h>

#include <string>

#include "amiparam/AmiParameterReader.h"
#include "amiparam/amiparam.h"

namespace {

std::string ManyLeaves(int n) {
    std::string s = "(corvin_rx1";
    for (int i = 0; i < n; ++i) s += " (p" + std::to_string(i) + " " + std::to_string(i) + ")";
    return s + " (eq 2))";
}

std::string ManyValues(int n) {
    std::string s = "(corvin_rx1 (eq";
    for (int i = 0; i < n; ++i) s += " " + std::to_string(i);
    return s + "))";
}

void BM_ParseLeaves(benchmark::State& state) {
    std::string text = ManyLeaves(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        AmiParamTree* tree = nullptr;
        benchmark::DoNotOptimize(AMIPARAM_Parse(text.c_str(), &tree));
        AMIPARAM_FreeTree(&tree);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseLeaves)->RangeMultiplier(10)->Range(100, 100000)->Complexity(benchmark::oN);

void BM_ParseValues(benchmark::State& state) {
    std::string text = ManyValues(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        AmiParamTree* tree = nullptr;
        benchmark::DoNotOptimize(AMIPARAM_Parse(text.c_str(), &tree));
        AMIPARAM_FreeTree(&tree);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseValues)->RangeMultiplier(10)->Range(100, 100000)->Complexity(benchmark::oN);

void BM_ReaderGetDouble(benchmark::State& state) {
    std::string text = ManyLeaves(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        AmiParameterReader reader(text.c_str());
        double eq = 1.0;
        benchmark::DoNotOptimize(reader.GetDouble(eq, "corvin_rx1.eq"));
        benchmark::DoNotOptimize(eq);
    }
}
BENCHMARK(BM_ReaderGetDouble)->Arg(1)->Arg(10000);

}  // namespace
