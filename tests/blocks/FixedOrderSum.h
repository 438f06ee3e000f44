// The FIR sum's one fixed order (blocks/SpanKernels.h), written out plainly
// as the reference the kernels and the filter must match bit for bit:
// four partial sums by the distance from the last tap modulo 4, each from
// +0 and from the oldest sample down, combined in one fixed tree.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

// The sum over first <= k < end of taps[k] * sample(k), sample(k) being
// the input k samples back.
template <class Sample>
double FixedOrderSum(const double* taps, std::size_t first, std::size_t end, Sample sample) {
    double p[4] = {};
    for (std::size_t k = end; k-- > first;) p[(end - 1 - k) % 4] += taps[k] * sample(k);
    return (p[0] + p[2]) + (p[1] + p[3]);
}

// A single-rate filter's outputs from silence (samples before x[0] are 0):
// an output whose window holds an infinite or NaN sample sums every tap,
// any other the taps from the first to the last that is not zero.
inline std::vector<double> FixedOrderFilter(const std::vector<double>& h,
                                            const std::vector<double>& x) {
    std::size_t first = 0, end = h.size();
    while (first < end && h[first] == 0.0) ++first;
    while (end > first && h[end - 1] == 0.0) --end;
    std::vector<double> y(x.size());
    for (std::size_t n = 0; n < x.size(); ++n) {
        auto sample = [&](std::size_t k) { return k <= n ? x[n - k] : 0.0; };
        bool finite = true;
        for (std::size_t k = 0; k < h.size(); ++k) finite = finite && std::isfinite(sample(k));
        y[n] = finite ? FixedOrderSum(h.data(), first, end, sample)
                      : FixedOrderSum(h.data(), 0, h.size(), sample);
    }
    return y;
}
