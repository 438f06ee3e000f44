// ami-probe [LIBRARY]
//
// Answers one line of questions per line of standard input, so a test can
// ask the same questions of the 64-bit and of the 32-bit build and compare
// the answers exactly. Numbers go in and out as hexadecimal floating point
// (%a), which both builds read and write without rounding.
//
//   delay BIT_TIME SAMPLES_PER_BIT ROW
//       the transmitter de-emphasis tap spacing that tx_fir_dc's Setup
//       derives, or "refused"
//   taps TYPE SAMPLE_RATE N T1..TN R1..RN
//       the taps that TimeResponseFIR's Setup designs from the response
//       (TYPE 0 impulse, 1 step): "N_TAPS TAP1 TAP2 ...", or "refused"
//   run BIT_TIME SAMPLE_INTERVAL SAMPLES PARAMETERS...
//       LIBRARY initialised with the rest of the line as its parameter
//       string, driven with a 0.5 step for SAMPLES samples in one
//       AMI_GetWave call: "INIT_RESULT OUT1 OUT2 ...", the outputs only
//       when Init succeeded
//
// Block diagnostics go to standard error. Exit status 2 on a usage or load
// error or an unreadable line.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "blocks/TimeResponseFIR.h"
#include "devices/tx_fir_dc.h"

namespace {

typedef long (*InitFn)(double*, long, long, double, double, char*, char**, void**, char**);
typedef long (*GetWaveFn)(double*, long, double*, char**, void*);
typedef long (*CloseFn)(void*);

struct Library {
    InitFn init = nullptr;
    GetWaveFn getWave = nullptr;
    CloseFn close = nullptr;
};

bool ReadDouble(std::istream& in, double& v)
{
    std::string word;
    if (!(in >> word)) return false;
    char* end = nullptr;
    v = std::strtod(word.c_str(), &end);
    return end != word.c_str() && *end == '\0';
}

void PrintDoubles(const std::vector<double>& v)
{
    for (double x : v) std::printf(" %a", x);
}

bool Delay(std::istream& in)
{
    double bitTime = 0.0;
    int spb = 0, row = 0;
    if (!ReadDouble(in, bitTime) || !(in >> spb >> row)) return false;
    tx_fir_dc block;
    block.bit_time = bitTime;
    block.samples_per_bit = spb;
    block.row = row;
    if (block.Setup()) std::printf("%d", static_cast<int>(block.tap_delay));
    else std::printf("refused");
    return true;
}

bool Taps(std::istream& in)
{
    int type = 0, n = 0;
    double rate = 0.0;
    if (!(in >> type) || !ReadDouble(in, rate) || !(in >> n) || n < 0 || n > 100000) return false;
    std::vector<double> t(static_cast<std::size_t>(n)), r(t.size());
    for (double& v : t)
        if (!ReadDouble(in, v)) return false;
    for (double& v : r)
        if (!ReadDouble(in, v)) return false;
    Vantra::TimeResponseFIR fir;
    fir.ResponseType = type;
    fir.SampleRate = rate;
    fir.Response = r.data();
    fir.ResponseTimeStamps = t.data();
    fir.ResponseCount = fir.TimeStampCount = n;
    if (!fir.Setup()) {
        std::printf("refused");
        return true;
    }
    std::printf("%d", static_cast<int>(fir.NumTaps));
    PrintDoubles(std::vector<double>(fir.Taps, fir.Taps + fir.NumTaps));
    return true;
}

bool Run(std::istream& in, const Library& lib)
{
    double bitTime = 0.0, interval = 0.0;
    long samples = 0;
    if (lib.init == nullptr || !ReadDouble(in, bitTime) || !ReadDouble(in, interval) ||
        !(in >> samples) || samples < 0 || samples > 10000000)
        return false;
    std::string params;
    std::getline(in, params);
    void* memory = nullptr;
    char* msg = nullptr;
    long ok = lib.init(nullptr, 0, 0, interval, bitTime, &params[0], nullptr, &memory, &msg);
    std::printf("%ld", ok);
    if (ok == 1) {
        std::vector<double> wave(static_cast<std::size_t>(samples), 0.5);
        double clock[2];
        lib.getWave(wave.data(), samples, clock, nullptr, memory);
        PrintDoubles(wave);
    }
    lib.close(memory);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Library lib;
    void* h = nullptr;
    if (argc == 2) {
        h = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
        if (h == nullptr) {
            std::fprintf(stderr, "ami-probe: %s\n", dlerror());
            return 2;
        }
        lib.init = reinterpret_cast<InitFn>(dlsym(h, "AMI_Init"));
        lib.getWave = reinterpret_cast<GetWaveFn>(dlsym(h, "AMI_GetWave"));
        lib.close = reinterpret_cast<CloseFn>(dlsym(h, "AMI_Close"));
        if (lib.init == nullptr || lib.getWave == nullptr || lib.close == nullptr) return 2;
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: ami-probe [LIBRARY] < questions\n");
        return 2;
    }
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string what;
        in >> what;
        bool ok = false;
        if (what == "delay") ok = Delay(in);
        else if (what == "taps") ok = Taps(in);
        else if (what == "run") ok = Run(in, lib);
        if (!ok) {
            std::fprintf(stderr, "ami-probe: cannot read \"%s\"\n", line.c_str());
            if (h != nullptr) dlclose(h);
            return 2;
        }
        std::printf("\n");
    }
    if (h != nullptr) dlclose(h);
    return 0;
}
