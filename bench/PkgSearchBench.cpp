// Components that name package models their file does not define, beside a
// directory of .pkg files: the time to read the .ibs file and run its
// after-file checks, which look the models up in the .pkg files.  Rows
// scale components and .pkg files together (n components beside n / 2
// files, a quarter of the components naming a model no file defines), so
// a check that costs the size of the directory once grows linearly with n;
// one that scans every file for every component grows with n squared.
#include <benchmark/benchmark.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "QuietCheck.h"

namespace {

const char kPackageModel[] =
    "[Manufacturer] m\n[OEM] o\n[Description] d\n[Number of Pins] 2\n[Pin Numbers]\nA1\nA2\n"
    "[Model Data]\n[Inductance Matrix] Sparse_matrix\n[Row] A1\nA1 1n\n[Row] A2\nA2 1n\n"
    "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA1 1p\n[Row] A2\nA2 1p\n"
    "[End Model Data]\n[End Package Model]\n";

void WriteFile(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    std::fputs(text.c_str(), f);
    std::fclose(f);
}

// The directory of one row: c.ibs with n components, n / 2 .pkg files.
std::string Generate(int n) {
    std::string dir = "/tmp/pkgsearch-bench-" + std::to_string(getpid()) + "-" + std::to_string(n);
    mkdir(dir.c_str(), 0700);
    int files = n / 2;
    for (int k = 0; k < files; ++k) {
        std::string name = "p" + std::to_string(k) + ".pkg";
        WriteFile(dir + "/" + name, "[IBIS Ver] 3.2\n[File Name] " + name +
                                        "\n[File Rev] 1\n[Define Package Model] pkg" +
                                        std::to_string(k) + "\n" + kPackageModel + "[End]\n");
    }
    std::string ibs = "[IBIS Ver] 3.2\n[File Name] c.ibs\n[File Rev] 1\n";
    for (int c = 0; c < n; ++c) {
        std::string model =
            c % 4 == 3 ? "none" + std::to_string(c) : "pkg" + std::to_string(c % files);
        ibs += "[Component] c" + std::to_string(c) +
               "\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
               "[Package Model] " +
               model + "\n[Pin] signal_name model_name\nA1 VDD POWER\nA2 VSS GND\n";
    }
    WriteFile(dir + "/c.ibs", ibs + "[End]\n");
    return dir;
}

void BM_ComponentsBesidePkgFiles(benchmark::State& state) {
    int n = static_cast<int>(state.range(0));
    std::string dir = Generate(n);
    std::string path = dir + "/c.ibs";
    const QuietCheck check;
    for (auto _ : state) check.Run(path.c_str());
    int errors = 0;
    MSG_GetCounts(nullptr, &errors, nullptr);
    state.counters["components"] = n;
    state.counters["pkg_files"] = n / 2;
    state.counters["errors_per_run"] = static_cast<double>(errors) / state.iterations();
    state.SetComplexityN(n);
    std::string cmd = "rm -rf '" + dir + "'";
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("cannot remove the files");
}

}  // namespace

BENCHMARK(BM_ComponentsBesidePkgFiles)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
