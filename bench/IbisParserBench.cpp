// IBIS reader throughput: the line reader alone, and the whole reader
// (line checks, classification, routing) on a file of data lines, read
// from the file and from memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msg.h"
#include "IbisParser/parse.h"

namespace {

// A v3.2 file of `lines` I-V data lines under one [Pulldown] table.
std::string MakeFile(int lines) {
    static int serial = 0;
    std::string path = "/tmp/ibisbench-" + std::to_string(++serial) + ".ibs";
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fprintf(f, "[IBIS Ver] 3.2\n[File Name] x.ibs\n[File Rev] 1\n[Model] m\n[Pulldown]\n");
    for (int i = 0; i < lines; ++i)
        std::fprintf(f, "  %8.4fV   %10.4emA   %10.4emA   %10.4emA | row %d\n", i * 1e-3,
                     i * 1.5, i * 1.4, i * 1.6, i);
    std::fprintf(f, "[End]\n");
    std::fclose(f);
    return path;
}

void BM_ReadLine(benchmark::State& state) {
    std::string path = MakeFile(static_cast<int>(state.range(0)));
    char line[PARSE_LINE_BUFFER];
    size_t bytes = 0;
    for (auto _ : state) {
        FILE* fp = std::fopen(path.c_str(), "rb");
        while (CMN_ReadLine(line, sizeof line, fp)) bytes += std::char_traits<char>::length(line);
        std::fclose(fp);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadLine)->Arg(1 << 12)->Arg(1 << 16);

void BM_ParseFile(benchmark::State& state) {
    std::string path = MakeFile(static_cast<int>(state.range(0)));
    FILE* null = std::fopen("/dev/null", "w");
    MSG_SetOutput(null);
    PARSE_SetSilent(1);
    long size = 0;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fseek(f, 0, SEEK_END);
        size = std::ftell(f);
        std::fclose(f);
    }
    for (auto _ : state) {
        IbisFile* file = nullptr;
        IBIS_New(&file);
        benchmark::DoNotOptimize(PARSE_File(path.c_str(), CMN_FILE_IBS));
        IBIS_Free(&file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(size) * state.iterations());
    MSG_SetOutput(nullptr);
    std::fclose(null);
    std::remove(path.c_str());
}
BENCHMARK(BM_ParseFile)->Arg(1 << 12)->Arg(1 << 16);

// The same file read from memory, as the fuzz target and the tests read it;
// the small size is the fuzz target's typical input.
void BM_ParseText(benchmark::State& state) {
    std::string path = MakeFile(static_cast<int>(state.range(0)));
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
    }
    FILE* null = std::fopen("/dev/null", "w");
    MSG_SetOutput(null);
    PARSE_SetSilent(1);
    for (auto _ : state) {
        IbisFile* file = nullptr;
        IBIS_New(&file);
        benchmark::DoNotOptimize(
            PARSE_FileText(path.c_str(), text.data(), text.size(), CMN_FILE_IBS));
        IBIS_Free(&file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
    MSG_SetOutput(nullptr);
    std::fclose(null);
    std::remove(path.c_str());
}
BENCHMARK(BM_ParseText)->Arg(1 << 6)->Arg(1 << 12)->Arg(1 << 16);

}  // namespace
