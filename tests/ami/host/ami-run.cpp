// ami-run LIBRARY PARAMETERS BIT_TIME SAMPLE_INTERVAL BLOCK SAMPLES
//
// Loads an AMI model library as a simulator does, initialises it, feeds it
// SAMPLES samples of a fixed pseudo-random NRZ waveform in AMI_GetWave
// blocks of BLOCK samples, and prints one output sample per line (%.17g).
// Init's result and message go to standard error, and the message again
// after the first AMI_GetWave, read through the pointer Init gave. Exit
// status: 0 when every call returned 1, 1 when a call returned 0, 2 on a
// usage or load error.
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <vector>

typedef long (*InitFn)(double*, long, long, double, double, char*, char**, void**, char**);
typedef long (*GetWaveFn)(double*, long, double*, char**, void*);
typedef long (*CloseFn)(void*);

// The platform's loader: dlopen on Linux, LoadLibrary on Windows.
#ifdef _WIN32
static void* OpenLibrary(const char* path) { return reinterpret_cast<void*>(LoadLibraryA(path)); }
static void* Symbol(void* lib, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(lib), name));
}
static void CloseLibrary(void* lib) { FreeLibrary(static_cast<HMODULE>(lib)); }
static const char* LoadError() { return "LoadLibrary failed"; }
#else
static void* OpenLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
static void* Symbol(void* lib, const char* name) { return dlsym(lib, name); }
static void CloseLibrary(void* lib) { dlclose(lib); }
static const char* LoadError() { return dlerror(); }
#endif

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: ami-run LIBRARY PARAMETERS BIT_TIME SAMPLE_INTERVAL BLOCK SAMPLES\n");
        return 2;
    }
    void* lib = OpenLibrary(argv[1]);
    if (lib == nullptr) {
        std::fprintf(stderr, "ami-run: %s\n", LoadError());
        return 2;
    }
    InitFn init = reinterpret_cast<InitFn>(Symbol(lib, "AMI_Init"));
    GetWaveFn getWave = reinterpret_cast<GetWaveFn>(Symbol(lib, "AMI_GetWave"));
    CloseFn close = reinterpret_cast<CloseFn>(Symbol(lib, "AMI_Close"));
    if (init == nullptr || getWave == nullptr || close == nullptr) {
        std::fprintf(stderr, "ami-run: missing entry point\n");
        return 2;
    }
    const double bitTime = std::atof(argv[3]);
    const double sampleInterval = std::atof(argv[4]);
    const long block = std::atol(argv[5]);
    const long samples = std::atol(argv[6]);
    if (block <= 0 || samples < 0) return 2;

    std::vector<double> impulse(64, 0.0);
    void* memory = nullptr;
    char* msg = nullptr;
    char* paramsOut = nullptr;
    long ok = init(impulse.data(), 64, 0, sampleInterval, bitTime, argv[2], &paramsOut, &memory,
                   &msg);
    std::fprintf(stderr, "init %ld msg \"%s\"\n", ok, msg != nullptr ? msg : "");
    int status = ok == 1 ? 0 : 1;

    // NRZ levels +-0.5 from a 15-bit LFSR, 32 samples per bit.
    unsigned lfsr = 0x7fff;
    std::vector<double> wave(static_cast<std::size_t>(block));
    double clock[2];
    long done = 0;
    int bitSample = 0;
    int level = 1;
    while (done < samples) {
        long n = samples - done < block ? samples - done : block;
        for (long i = 0; i < n; ++i) {
            if (bitSample == 0) {
                unsigned bit = ((lfsr >> 14) ^ (lfsr >> 13)) & 1u;
                lfsr = ((lfsr << 1) | bit) & 0x7fffu;
                level = bit ? 1 : -1;
            }
            bitSample = (bitSample + 1) % 32;
            wave[static_cast<std::size_t>(i)] = 0.5 * level;
        }
        if (getWave(wave.data(), n, clock, &paramsOut, memory) != 1) status = 1;
        // Simulators keep Init's msg pointer and read it later; so does this
        // host, once, after the first GetWave.
        if (done == 0)
            std::fprintf(stderr, "msg after GetWave \"%s\"\n", msg != nullptr ? msg : "");
        for (long i = 0; i < n; ++i) std::printf("%.17g\n", wave[static_cast<std::size_t>(i)]);
        done += n;
    }
    if (close(memory) != 1) status = 1;
    CloseLibrary(lib);
    return status;
}
