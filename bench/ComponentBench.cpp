// A generated 5,000-pin component (a pin mapping for every pin, 1,000
// differential pairs, 50 models, a 5,000-pin package model in the same
// file): the time to read the file and run every after-file check on it.
// COMPONENT_BENCH_DIR, when set, names a directory that keeps the file
// (cmpnt5000.ibs) for timing the checker as a whole: time ibislint on it
// beside wc -l.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

constexpr int kPins = 5000;
constexpr int kPairs = 1000;  // P1/P2 ... P1999/P2000
constexpr int kModels = 50;
constexpr int kRails = 100;  // the last pins: half POWER, half GND

struct Generated {
    std::string path;
    long lines = 0;
};

bool IsPower(int pin) {
    return pin > kPins - kRails && pin <= kPins - kRails / 2;
}
bool IsGnd(int pin) {
    return pin > kPins - kRails / 2;
}

void Line(FILE* f, Generated& g, const std::string& text) {
    std::fputs(text.c_str(), f);
    std::fputc('\n', f);
    ++g.lines;
}

void Component(FILE* f, Generated& g) {
    Line(f, g,
         "[Component] big\n[Manufacturer] m\n[Package]\nR_pkg 10m NA NA\nL_pkg 1n NA NA\n"
         "C_pkg 1p NA NA\n[Package Model] pkg5000");
    g.lines += 6;
    Line(f, g, "[Pin] signal_name model_name R_pin L_pin C_pin");
    for (int p = 1; p <= kPins; ++p) {
        std::string model = IsPower(p) ? "POWER"
                            : IsGnd(p) ? "GND"
                                       : "m" + std::to_string(p % kModels);
        Line(f, g, "P" + std::to_string(p) + " s" + std::to_string(p) + " " + model + " 10m 1n 1p");
    }
    Line(f, g, "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref power_clamp_ref");
    for (int p = 1; p <= kPins; ++p) {
        const char* refs = IsPower(p) ? "NC VDD NC NC"
                           : IsGnd(p) ? "GND NC NC NC"
                                      : "GND VDD GND VDD";
        Line(f, g, "P" + std::to_string(p) + " " + refs);
    }
    Line(f, g, "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max");
    for (int k = 0; k < kPairs; ++k)
        Line(f, g,
             "P" + std::to_string(2 * k + 1) + " P" + std::to_string(2 * k + 2) + " 0.1 0 NA NA");
}

void Models(FILE* f, Generated& g) {
    for (int m = 0; m < kModels; ++m) {
        Line(f, g, "[Model] m" + std::to_string(m));
        Line(f, g,
             "Model_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n"
             "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA");
        g.lines += 7;
    }
}

void PackageModel(FILE* f, Generated& g) {
    Line(f, g,
         "[Define Package Model] pkg5000\n[Manufacturer] m\n[OEM] o\n[Description] d\n"
         "[Number of Pins] " +
             std::to_string(kPins) + "\n[Pin Numbers]");
    g.lines += 5;
    for (int p = 1; p <= kPins; ++p) Line(f, g, "P" + std::to_string(p));
    Line(f, g, "[Model Data]");
    for (const char* matrix : {"Inductance", "Capacitance"}) {
        Line(f, g, std::string("[") + matrix + " Matrix] Sparse_matrix");
        for (int p = 1; p <= kPins; ++p)
            Line(f, g, "[Row] P" + std::to_string(p) + "\nP" + std::to_string(p) + " 1e-9");
        g.lines += kPins;
    }
    Line(f, g, "[End Model Data]\n[End Package Model]");
    g.lines += 1;
}

Generated Generate() {
    Generated g;
    const char* dir = std::getenv("COMPONENT_BENCH_DIR");
    g.path = std::string(dir ? dir : "/tmp") + "/cmpnt5000.ibs";
    FILE* f = std::fopen(g.path.c_str(), "wb");
    if (f == nullptr) std::abort();
    Line(f, g, "[IBIS Ver] 4.2\n[File Name] cmpnt5000.ibs\n[File Rev] 1");
    g.lines += 2;
    Component(f, g);
    Models(f, g);
    PackageModel(f, g);
    Line(f, g, "[End]");
    std::fclose(f);
    return g;
}

void BM_CheckComponent(benchmark::State& state) {
    Generated g = Generate();
    FILE* null = std::fopen("/dev/null", "w");
    MSG_SetOutput(null);
    PARSE_SetSilent(1);
    for (auto _ : state) {
        IbisFile* file = nullptr;
        IBIS_New(&file);
        benchmark::DoNotOptimize(PARSE_File(g.path.c_str(), CMN_FILE_IBS));
        SECTION_RunAfterFileChecks(file);
        IBIS_Free(&file);
    }
    int errors = 0, warnings = 0;
    MSG_GetCounts(nullptr, &errors, &warnings);
    state.SetLabel(errors || warnings ? "with messages!" : "clean");
    state.counters["lines"] = static_cast<double>(g.lines);
    MSG_SetOutput(nullptr);
    MSG_ResetCounts();
    std::fclose(null);
    if (std::getenv("COMPONENT_BENCH_DIR") == nullptr) std::remove(g.path.c_str());
}
BENCHMARK(BM_CheckComponent)->Unit(benchmark::kMillisecond);

}  // namespace
