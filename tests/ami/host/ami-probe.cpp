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
//       string, driven for SAMPLES samples in one AMI_GetWave call with
//       +-0.5 NRZ of a 7-bit pseudo-random sequence at the samples per bit
//       of the two times (its edges reach every tap and the limiters'
//       whole curve): "INIT_RESULT OUT1 OUT2 ...", the outputs as the 16
//       hexadecimal digits of their bit patterns (the same text on every
//       platform's C library), and only when Init succeeded
//   isa
//       the instruction set the span kernels take on this processor
//
// Block diagnostics go to standard error. Exit status 2 on a usage or load
// error or an unreadable line. Built for Linux and for Windows, so a test
// can ask the Windows libraries under Wine the same questions.
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "blocks/KernelIsa.h"
#include "blocks/TimeResponseFIR.h"
#include "devices/tx_fir_dc.h"

namespace {

typedef long (*InitFn)(double*, long, long, double, double, char*, char**, void**, char**);
typedef long (*GetWaveFn)(double*, long, double*, char**, void*);
typedef long (*CloseFn)(void*);

#ifdef _WIN32
void* OpenLibrary(const char* path) {
    return reinterpret_cast<void*>(LoadLibraryA(path));
}
void* Symbol(void* lib, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(lib), name));
}
void CloseLibrary(void* lib) {
    FreeLibrary(static_cast<HMODULE>(lib));
}
#else
void* OpenLibrary(const char* path) {
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}
void* Symbol(void* lib, const char* name) {
    return dlsym(lib, name);
}
void CloseLibrary(void* lib) {
    dlclose(lib);
}
#endif

struct Library {
    InitFn init = nullptr;
    GetWaveFn getWave = nullptr;
    CloseFn close = nullptr;
};

bool ReadDouble(std::istream& in, double& v) {
    std::string word;
    if (!(in >> word)) return false;
    char* end = nullptr;
    v = std::strtod(word.c_str(), &end);
    return end != word.c_str() && *end == '\0';
}

void PrintDoubles(const std::vector<double>& v) {
    for (double x : v) std::printf(" %a", x);
}

void PrintBits(const std::vector<double>& v) {
    for (double x : v) {
        unsigned long long b;
        std::memcpy(&b, &x, sizeof b);
        std::printf(" %016llx", b);
    }
}

bool Delay(std::istream& in) {
    double bitTime = 0.0;
    int spb = 0, row = 0;
    if (!ReadDouble(in, bitTime) || !(in >> spb >> row)) return false;
    tx_fir_dc block;
    block.bit_time = bitTime;
    block.samples_per_bit = spb;
    block.row = row;
    if (block.Setup())
        std::printf("%d", static_cast<int>(block.tap_delay));
    else
        std::printf("refused");
    return true;
}

bool Taps(std::istream& in) {
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

std::vector<double> Nrz(std::size_t samples, double samplesPerBit) {
    const long spb =
        samplesPerBit >= 1.0 && samplesPerBit < 1e6 ? static_cast<long>(samplesPerBit + 0.5) : 1;
    std::vector<double> wave(samples);
    unsigned lfsr = 0x7f;
    double level = 0.5;
    for (std::size_t i = 0; i < samples; ++i) {
        if (i % static_cast<std::size_t>(spb) == 0) {
            const unsigned bit = ((lfsr >> 6) ^ (lfsr >> 5)) & 1u;
            lfsr = ((lfsr << 1) | bit) & 0x7fu;
            level = bit ? 0.5 : -0.5;
        }
        wave[i] = level;
    }
    return wave;
}

bool Run(std::istream& in, const Library& lib) {
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
        std::vector<double> wave = Nrz(static_cast<std::size_t>(samples), bitTime / interval);
        double clock[2];
        lib.getWave(wave.data(), samples, clock, nullptr, memory);
        PrintBits(wave);
    }
    lib.close(memory);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Library lib;
    void* h = nullptr;
    if (argc == 2) {
        h = OpenLibrary(argv[1]);
        if (h == nullptr) {
            std::fprintf(stderr, "ami-probe: cannot load %s\n", argv[1]);
            return 2;
        }
        lib.init = reinterpret_cast<InitFn>(Symbol(h, "AMI_Init"));
        lib.getWave = reinterpret_cast<GetWaveFn>(Symbol(h, "AMI_GetWave"));
        lib.close = reinterpret_cast<CloseFn>(Symbol(h, "AMI_Close"));
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
        if (what == "delay")
            ok = Delay(in);
        else if (what == "taps")
            ok = Taps(in);
        else if (what == "run")
            ok = Run(in, lib);
        else if (what == "isa") {
            std::printf("%s",
                        Vantra::KernelIsaName(Vantra::ResolveKernelIsa(Vantra::KernelIsa::Best)));
            ok = true;
        }
        if (!ok) {
            std::fprintf(stderr, "ami-probe: cannot read \"%s\"\n", line.c_str());
            if (h != nullptr) CloseLibrary(h);
            return 2;
        }
        std::printf("\n");
    }
    if (h != nullptr) CloseLibrary(h);
    return 0;
}
