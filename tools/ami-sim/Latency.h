// Latency: how many samples after the stimulus the receiver output follows
// it. The link (models and channel) is unknown and may be nonlinear, so the
// delay is taken where the cross-correlation of the stimulus with the output
// peaks: the lag that lines each bit up with the main cursor of its pulse
// response. A negative peak larger than every positive one means the link
// inverts the signal.
#pragma once

#include <cstddef>

namespace amisim {

struct LatencyEstimate {
    long lag = 0;           // samples, 0 <= lag <= maxLag
    bool inverted = false;  // the output follows the negated stimulus
    double correlation = 0.0;  // normalised peak, -1 .. 1
};

// stimulus: `window` samples; response: window + maxLag samples starting at
// the same time as the stimulus. Non-finite samples count as 0.
LatencyEstimate EstimateLatency(const double* stimulus, const double* response,
                                std::size_t window, std::size_t maxLag);

}  // namespace amisim
