// Package models of 2,000 pins with banded, sparse and full inductance and
// capacitance matrices: the time to read and check each file, and the heap
// its records hold once read (counter heap_bytes, beside text_bytes and
// lines of the file).  PKGMDL_BENCH_DIR, when set, names a directory that
// keeps the generated files (pkg2000-banded.pkg ...) for measuring the
// checker as a whole, e.g. /usr/bin/time -v ibislint on each.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"

namespace {

constexpr int kPins = 2000;
constexpr int kBandwidth = 50;
constexpr int kPerLine = 6;  // values per data line, well inside 80 columns

enum Form { kBanded, kSparse, kFull };
const char* const kFormName[] = {"banded", "sparse", "full"};

struct Generated {
    std::string path;
    long bytes = 0;
    long lines = 0;
};

// Writes one value line of up to kPerLine values; counts the line.
void Values(FILE* f, Generated& g, int from, int count, int row) {
    for (int i = 0; i < count; i += kPerLine) {
        for (int j = i; j < count && j < i + kPerLine; ++j)
            std::fprintf(f, "%s%.5e", j == i ? "" : " ",
                         (j + from == 0 ? 5e-9 : 1e-10) * (1 + row % 7));
        std::fputc('\n', f);
        ++g.lines;
    }
}

void Matrix(FILE* f, Generated& g, Form form, const char* keyword) {
    static const char* const type[] = {"Banded_matrix", "Sparse_matrix", "Full_matrix"};
    std::fprintf(f, "[%s] %s\n", keyword, type[form]);
    ++g.lines;
    if (form == kBanded) {
        std::fprintf(f, "[Bandwidth] %d\n", kBandwidth);
        ++g.lines;
    }
    for (int r = 0; r < kPins; ++r) {
        std::fprintf(f, "[Row] P%d\n", r + 1);
        ++g.lines;
        if (form == kSparse) {
            // The diagonal and the next few pins.
            for (int q = r; q < kPins && q < r + 4; ++q) {
                std::fprintf(f, "P%d %.5e\n", q + 1, q == r ? 5e-9 : 1e-10);
                ++g.lines;
            }
        } else {
            int count = kPins - r;
            if (form == kBanded && count > kBandwidth + 1) count = kBandwidth + 1;
            Values(f, g, 0, count, r);
        }
    }
}

Generated Generate(Form form) {
    Generated g;
    const char* dir = std::getenv("PKGMDL_BENCH_DIR");
    g.path = std::string(dir ? dir : "/tmp") + "/pkg2000-" + kFormName[form] + ".pkg";
    FILE* f = std::fopen(g.path.c_str(), "wb");
    if (f == nullptr) std::abort();
    std::fprintf(f,
                 "[IBIS Ver] 3.2\n[File Name] pkg2000-%s.pkg\n[File Rev] 1\n"
                 "[Define Package Model] mem2000\n[Manufacturer] m\n[OEM] o\n"
                 "[Description] generated\n[Number of Pins] %d\n[Pin Numbers]\n",
                 kFormName[form], kPins);
    g.lines = 9;
    for (int i = 1; i <= kPins; ++i) std::fprintf(f, "P%d\n", i);
    std::fprintf(f, "[Model Data]\n");
    g.lines += kPins + 1;
    Matrix(f, g, form, "Inductance Matrix");
    Matrix(f, g, form, "Capacitance Matrix");
    std::fprintf(f, "[End Model Data]\n[End Package Model]\n[End]\n");
    g.lines += 3;
    g.bytes = std::ftell(f);
    std::fclose(f);
    return g;
}

void BM_ReadPackage(benchmark::State& state) {
    Form form = static_cast<Form>(state.range(0));
    Generated g = Generate(form);
    FILE* null = std::fopen("/dev/null", "w");
    MSG_SetOutput(null);
    PARSE_SetSilent(1);
    size_t held = 0;
    for (auto _ : state) {
        IbisFile* file = nullptr;
        IBIS_New(&file);
        size_t before = mallinfo2().uordblks;
        benchmark::DoNotOptimize(PARSE_File(g.path.c_str(), CMN_FILE_PKG));
        held = mallinfo2().uordblks - before;
        IBIS_Free(&file);
    }
    int errors = 0;
    MSG_GetCounts(nullptr, &errors, nullptr);
    state.SetLabel(std::string(kFormName[form]) + (errors ? " (with errors!)" : ""));
    state.SetBytesProcessed(static_cast<int64_t>(g.bytes) * state.iterations());
    state.counters["text_bytes"] = static_cast<double>(g.bytes);
    state.counters["lines"] = static_cast<double>(g.lines);
    state.counters["heap_bytes"] = static_cast<double>(held);
    state.counters["heap_per_text"] = static_cast<double>(held) / static_cast<double>(g.bytes);
    MSG_SetOutput(nullptr);
    MSG_ResetCounts();
    std::fclose(null);
    if (std::getenv("PKGMDL_BENCH_DIR") == nullptr) std::remove(g.path.c_str());
}
BENCHMARK(BM_ReadPackage)->DenseRange(kBanded, kFull)->Unit(benchmark::kMillisecond);

}  // namespace
