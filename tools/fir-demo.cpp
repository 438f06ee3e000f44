// fir-demo: filters a bit pattern through a time-response FIR designed from
// a tabulated first-order (RC) impulse response, and prints the waveform
// beside the input, so the filter blocks can be seen working end to end.
#include <cmath>
#include <cstdio>
#include <vector>

#include "blocks/TimeResponseFIR.h"

int main()
{
    const double bitTime = 1.666666666666667e-10;
    const int samplesPerBit = 8;
    const double tau = 0.5 * bitTime;

    // Impulse response of an RC low-pass, tabulated every 10 ps for 1 ns.
    std::vector<double> stamps, response;
    for (int k = 0; k <= 100; ++k) {
        const double t = k * 10e-12;
        stamps.push_back(t);
        response.push_back(std::exp(-t / tau) / tau);
    }

    Vantra::TimeResponseFIR fir;
    fir.Response = response.data();
    fir.ResponseTimeStamps = stamps.data();
    fir.ResponseCount = fir.TimeStampCount = static_cast<int>(response.size());
    fir.ResponseType = Vantra::ImpulseResponse;
    fir.SampleRate = samplesPerBit / bitTime;
    double in = 0.0, out = 0.0;
    fir.Input.Data = &in;
    fir.Input.Capacity = 1;
    fir.Output.Data = &out;
    fir.Output.Capacity = 1;
    if (!fir.Setup() || !fir.Initialize()) return 1;

    std::printf("RC low-pass, tau = %.3g s, %d taps at %d samples per bit\n", tau, fir.NumTaps,
                samplesPerBit);
    std::printf("%8s %6s %9s\n", "sample", "input", "output");
    const int bits[] = {0, 1, 1, 1, 0, 1, 0, 0, 1, 0};
    int n = 0;
    for (int bit : bits) {
        for (int s = 0; s < samplesPerBit; ++s, ++n) {
            in = bit ? 1.0 : -1.0;
            fir.Run();
            if (s % 2 == 1) std::printf("%8d %6.1f %9.4f\n", n, in, out);
        }
    }
    fir.Finalize();
    return 0;
}
