// FrequencyDomainChannel: a channel's taps on the simulation grid from its
// transfer function sampled at a file's frequencies.
//
// 1. DC: the magnitude extrapolated linearly from the two lowest points,
//    the phase the multiple of pi nearest the extrapolated unwrapped phase
//    (a passive through path is real at DC).
// 2. The FFT grid: df = 1 / (N dt), N a power of two whose record N dt
//    holds the file's own time span 1 / (mean frequency step), up to
//    kMaxChannelTaps samples, and four times the channel's delay. Magnitude and unwrapped phase are
//    interpolated linearly onto it; nothing is invented above the last
//    frequency.
// 3. Band limit: a raised-cosine roll-off over the top fifth of the band
//    (the file's last frequency, or the grid's Nyquist frequency if lower),
//    so the cut does not ring through the response or alias.
// 4. Real inverse FFT (FFTW), delayed by half a sample: taps =
//    dt h((k - 1/2) dt), so their running sum is the step response at the
//    sample times and their sum the DC gain.
// 5. Causality, keeping the delay: the measured phase is kept as it is, so
//    the response arrives at the channel's flight delay. What lies before
//    the main arrival by more than the band limit's ringing time is the
//    data's non-causal residue (and the wrap of negative times); it is
//    zeroed with a half-cosine fade. The tail ends where it has fallen
//    below 1e-5 of the peak for good, or one guard interval before the end
//    of the record, with a half-cosine fade.
#pragma once

#include <string>

#include "tools/ami-sim/Channel.h"
#include "tools/ami-sim/ThroughResponse.h"

namespace amisim {

// What the conversion assumed, for the channel checks: where the data end
// and the band limit starts, how DC was reached, and how much of the
// response the causality window cut away.
struct ThroughConversion {
    double lastFrequency = 0.0;     // Hz, the file's highest
    double bandLimit = 0.0;         // Hz: the lower of that and the grid's Nyquist frequency
    double rollOffFrom = 0.0;       // Hz, where the raised-cosine roll-off starts
    bool dcExtrapolated = false;    // the file has no 0 Hz point
    double dcMagnitude = 0.0;       // extrapolated from the two lowest points
    double dcMagnitudeNext = 0.0;   // the same from the second and third (when there are 3)
    double cutBeforeArrival = 0.0;  // share of the response's energy cut before its arrival
};

bool ChannelFromThrough(const ThroughResponse& through, double sampleInterval, Channel& channel,
                        std::string& error, ThroughConversion* conversion = nullptr);

}  // namespace amisim
