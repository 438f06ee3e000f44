// A stand-in IBIS-AMI model for testing the harness: a gain, an integer
// delay and an FIR, configured from its parameter string, for example
// "(standin (gain 0.5) (delay 7) (taps 0.25 0.5 0.25))". Further leaves make
// it misbehave on purpose: (fail_init 1) fails AMI_Init with a message,
// (fail_getwave K) fails the K-th AMI_GetWave call (counting from 1),
// (nan_at N) writes NaN at output sample N, (say 1) publishes a message
// from a successful AMI_Init, (clock_offset N) returns clock_times that
// sample bit k at output sample k spb + N (each a clock time half a unit
// interval before). Built without AMI_GetWave when STANDIN_NO_GETWAVE is
// defined.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct StandIn {
    double gain = 1.0;
    long delay = 0;
    std::vector<double> taps{1.0};
    long failGetWave = 0;
    long nanAt = -1;
    long calls = 0;
    long sample = 0;
    double clockOffset = -1.0;  // < 0: no clock times
    double sampleInterval = 0.0, bitTime = 0.0;
    std::vector<double> history;  // newest first
    std::string message;
};

// The numbers after "(name" up to the closing parenthesis.
std::vector<double> Values(const std::string& params, const char* name) {
    std::vector<double> values;
    const std::string key = std::string("(") + name + " ";
    const std::size_t at = params.find(key);
    if (at == std::string::npos) return values;
    const char* p = params.c_str() + at + key.size();
    while (*p != '\0' && *p != ')') {
        char* end = nullptr;
        const double v = std::strtod(p, &end);
        if (end == p) break;
        values.push_back(v);
        p = end;
    }
    return values;
}

double Value(const std::string& params, const char* name, double fallback) {
    const std::vector<double> v = Values(params, name);
    return v.empty() ? fallback : v[0];
}

}  // namespace

#define STANDIN_EXPORT __attribute__((visibility("default")))

extern "C" {

STANDIN_EXPORT long AMI_Init(double* impulse, long rows, long aggressors, double sampleInterval,
                             double bitTime, char* parametersIn, char** parametersOut,
                             void** memory, char** msg) {
    (void)impulse;
    (void)rows;
    (void)aggressors;
    (void)parametersOut;
    StandIn* s = new StandIn;
    *memory = s;
    s->sampleInterval = sampleInterval;
    s->bitTime = bitTime;
    const std::string params = parametersIn != nullptr ? parametersIn : "";
    s->gain = Value(params, "gain", 1.0);
    s->delay = static_cast<long>(Value(params, "delay", 0.0));
    if (s->delay < 0) s->delay = 0;
    const std::vector<double> taps = Values(params, "taps");
    if (!taps.empty()) s->taps = taps;
    s->failGetWave = static_cast<long>(Value(params, "fail_getwave", 0.0));
    s->nanAt = static_cast<long>(Value(params, "nan_at", -1.0));
    s->clockOffset = Value(params, "clock_offset", -1.0);
    s->history.assign(static_cast<std::size_t>(s->delay) + s->taps.size(), 0.0);
    if (Value(params, "fail_init", 0.0) != 0.0) {
        s->message = "stand-in: asked to fail in AMI_Init";
        *msg = &s->message[0];
        return 0;
    }
    if (Value(params, "say", 0.0) != 0.0) {
        s->message = "stand-in: gain " + std::to_string(s->gain);
        *msg = &s->message[0];
    }
    return 1;
}

#ifndef STANDIN_NO_GETWAVE
STANDIN_EXPORT long AMI_GetWave(double* wave, long size, double* clockTimes, char** parametersOut,
                                void* memory) {
    (void)parametersOut;
    StandIn* s = static_cast<StandIn*>(memory);
    clockTimes[0] = -1.0;
    if (++s->calls == s->failGetWave) return 0;
    if (s->clockOffset >= 0.0) {
        // The clocks that fall within this block, at most one a sample.
        const double spb = s->bitTime / s->sampleInterval;
        const double first = s->sample * s->sampleInterval, end = first + size * s->sampleInterval;
        long n = 0;
        for (long k = 0; n < size; ++k) {
            const double t = (k * spb + s->clockOffset) * s->sampleInterval - 0.5 * s->bitTime;
            if (t >= end) break;
            if (t >= first) clockTimes[n++] = t;
        }
        clockTimes[n] = -1.0;
    }
    const std::size_t n = s->history.size();
    for (long i = 0; i < size; ++i) {
        for (std::size_t k = n - 1; k > 0; --k) s->history[k] = s->history[k - 1];
        s->history[0] = wave[i];
        double y = 0.0;
        for (std::size_t t = 0; t < s->taps.size(); ++t)
            y += s->taps[t] * s->history[static_cast<std::size_t>(s->delay) + t];
        wave[i] = s->sample == s->nanAt ? NAN : s->gain * y;
        ++s->sample;
    }
    return 1;
}
#endif

STANDIN_EXPORT long AMI_Close(void* memory) {
    delete static_cast<StandIn*>(memory);
    return 1;
}

}  // extern "C"
