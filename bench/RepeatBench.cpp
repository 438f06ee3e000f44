// Files that repeat one thing n times: identical [Diff Pin] lines, components
// of one name, identical Executable lines.  Each repeat is one message, so
// the time to read and check the file grows linearly with n (one message
// per pair of copies would grow with n squared: 8,000 diff pin lines were
// 64 million messages).  Messages go to /dev/null, all of them.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "QuietCheck.h"

namespace {

const char kComponent[] =
    "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a in\n2 b in\n";
const char kModel[] =
    "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n"
    "[Voltage Range] 3.3 NA NA\n";

enum Kind { kDiffPins, kComponents, kExecutables };
const char* const kKindName[] = {"diff_pin_lines", "components", "executable_lines"};

std::string Text(Kind kind, int n) {
    std::string s = "[IBIS Ver] 5.0\n[File Name] r.ibs\n[File Rev] 1\n";
    switch (kind) {
        case kDiffPins:
            s += kComponent;
            s += "[Diff Pin] inv_pin vdiff tdelay_typ\n";
            for (int i = 0; i < n; ++i) s += "1 2 0.2 1n\n";
            s += kModel;
            break;
        case kComponents:
            for (int i = 0; i < n; ++i) s += kComponent;
            s += kModel;
            break;
        case kExecutables:
            s += kComponent;
            s += kModel;
            s += "[Algorithmic Model]\n";
            for (int i = 0; i < n; ++i) s += "Executable Host_Cc_64 a.dll a.ami\n";
            s += "[End Algorithmic Model]\n";
            break;
    }
    return s + "[End]\n";
}

void BM_Repeats(benchmark::State& state) {
    Kind kind = static_cast<Kind>(state.range(0));
    int n = static_cast<int>(state.range(1));
    std::string path = "/tmp/repeat-bench-" + std::to_string(getpid()) + ".ibs";
    std::string text = Text(kind, n);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    std::fputs(text.c_str(), f);
    std::fclose(f);
    const QuietCheck check;
    for (auto _ : state) check.Run(path.c_str());
    int errors = 0, warnings = 0;
    MSG_GetCounts(nullptr, &errors, &warnings);
    state.SetLabel(kKindName[kind]);
    state.counters["text_bytes"] = static_cast<double>(text.size());
    state.counters["messages_per_run"] =
        static_cast<double>(errors + warnings) / state.iterations();
    state.SetComplexityN(n);
    std::remove(path.c_str());
}

void Sizes(benchmark::internal::Benchmark* b, Kind kind) {
    for (int n : {1000, 2000, 4000, 8000}) b->Args({kind, n});
    b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

}  // namespace

// One family per kind, so that each gets its own complexity fit.
BENCHMARK(BM_Repeats)->Name("BM_Repeats/diff_pins")->Apply([](benchmark::internal::Benchmark* b) {
    Sizes(b, kDiffPins);
});
BENCHMARK(BM_Repeats)->Name("BM_Repeats/components")->Apply([](benchmark::internal::Benchmark* b) {
    Sizes(b, kComponents);
});
BENCHMARK(BM_Repeats)->Name("BM_Repeats/executables")->Apply([](benchmark::internal::Benchmark* b) {
    Sizes(b, kExecutables);
});
