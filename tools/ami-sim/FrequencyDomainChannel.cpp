#include "tools/ami-sim/FrequencyDomainChannel.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <new>

#include "tools/ami-sim/FftConvolver.h"
#include "tools/ami-sim/FftwPlans.h"

namespace amisim {

namespace {

struct Polar {
    std::vector<double> f, magnitude, phase;  // with the DC point first
};

// The magnitude at DC by a line through two points, never negative and
// never above the larger of 1 and the first point's magnitude.
double DcMagnitude(double f0, double m0, double f1, double m1) {
    return std::clamp(m0 - f0 * (m1 - m0) / (f1 - f0), 0.0, std::max(1.0, m0));
}

// Unwrapped phase and the DC point.
bool ToPolar(const ThroughResponse& t, Polar& p, std::string& error) {
    const std::size_t n = t.frequency.size();
    if (n < 2 || t.h.size() != n) {
        error = "the channel's frequency response needs at least 2 frequencies";
        return false;
    }
    std::vector<double> mag(n), ph(n);
    for (std::size_t k = 0; k < n; ++k) {
        mag[k] = std::abs(t.h[k]);
        ph[k] = std::arg(t.h[k]);
        if (k > 0) ph[k] = ph[k - 1] + std::remainder(ph[k] - ph[k - 1], 2.0 * M_PI);
    }
    p = Polar();
    if (t.frequency[0] > 0.0) {
        const double f0 = t.frequency[0], f1 = t.frequency[1];
        const double m0 = DcMagnitude(f0, mag[0], f1, mag[1]);
        const double extrapolated = ph[0] - f0 * (ph[1] - ph[0]) / (f1 - f0);
        p.f.push_back(0.0);
        p.magnitude.push_back(m0);
        p.phase.push_back(M_PI * std::round(extrapolated / M_PI));
    }
    p.f.insert(p.f.end(), t.frequency.begin(), t.frequency.end());
    p.magnitude.insert(p.magnitude.end(), mag.begin(), mag.end());
    p.phase.insert(p.phase.end(), ph.begin(), ph.end());
    if (p.f[0] == 0.0) p.phase[0] = M_PI * std::round(p.phase[0] / M_PI);
    return true;
}

// Mean group delay over the lower half of the band, where the data are
// strongest; only sizes the record.
double RoughDelay(const Polar& p) {
    const std::size_t half = std::max<std::size_t>(1, p.f.size() / 2);
    return std::fabs(p.phase[half] - p.phase[0]) / (2.0 * M_PI * (p.f[half] - p.f[0]));
}

double RaisedCosine(double x)  // 1 for x <= 0, 0 for x >= 1
{
    if (x <= 0.0) return 1.0;
    if (x >= 1.0) return 0.0;
    return 0.5 * (1.0 + std::cos(M_PI * x));
}

// Transfer function on the grid k df, k = 0 .. n/2, into `out` (n/2 + 1).
void Resample(const Polar& p, double df, double dt, double top, std::size_t n, fftw_complex* out) {
    std::size_t j = 0;
    for (std::size_t k = 0; k <= n / 2; ++k) {
        const double f = static_cast<double>(k) * df;
        out[k][0] = out[k][1] = 0.0;
        if (f > top || f > p.f.back()) continue;
        while (j + 2 < p.f.size() && p.f[j + 1] < f) ++j;
        const double a = std::clamp((f - p.f[j]) / (p.f[j + 1] - p.f[j]), 0.0, 1.0);
        const double m = p.magnitude[j] + a * (p.magnitude[j + 1] - p.magnitude[j]);
        const double ph = p.phase[j] + a * (p.phase[j + 1] - p.phase[j]);
        const double w = RaisedCosine((f - 0.8 * top) / (0.2 * top));
        // Half a sample of extra delay: tap k then stands for the interval
        // from (k - 1/2) dt to (k + 1/2) dt around h((k - 1/2) dt), so the
        // running sum of the taps is the step response at the sample times,
        // as with a tabulated step response.
        const double shifted = ph - M_PI * f * dt;
        out[k][0] = m * w * std::cos(shifted);
        out[k][1] = m * w * std::sin(shifted);
    }
}

// Zeroes the response before its main arrival and after its tail, each
// with a half-cosine fade `guard` samples long; returns the share of the
// response's energy cut before the arrival.
double Window(std::vector<double>& h, std::size_t guard) {
    double total = 0.0;
    for (double v : h) total += v * v;
    const std::size_t n = h.size();
    std::size_t peak = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (std::fabs(h[i]) > std::fabs(h[peak])) peak = i;
    const double top = std::fabs(h[peak]);
    std::size_t arrival = peak;
    while (arrival > 0 && std::fabs(h[arrival - 1]) >= 0.01 * top) --arrival;
    const std::size_t keepFrom = arrival > guard ? arrival - guard : 0;
    const std::size_t fadeFrom = keepFrom > guard ? keepFrom - guard : 0;
    double cut = 0.0;
    for (std::size_t i = 0; i < fadeFrom; ++i) {
        cut += h[i] * h[i];
        h[i] = 0.0;
    }
    for (std::size_t i = fadeFrom; i < keepFrom; ++i) {
        const double before = h[i];
        h[i] *= RaisedCosine(static_cast<double>(keepFrom - i) / static_cast<double>(guard));
        cut += before * before - h[i] * h[i];
    }

    const std::size_t limit = n > guard ? n - guard : n;
    std::size_t last = peak;
    for (std::size_t i = peak; i < limit; ++i)
        if (std::fabs(h[i]) > 1e-5 * top) last = i;
    const std::size_t end = std::min(n, last + guard + 1);
    for (std::size_t i = last + 1; i < end; ++i)
        h[i] *= RaisedCosine(static_cast<double>(i - last) / static_cast<double>(guard));
    h.resize(end);
    return total > 0.0 ? cut / total : 0.0;
}

}  // namespace

bool ChannelFromThrough(const ThroughResponse& through, double dt, Channel& channel,
                        std::string& error, ThroughConversion* conversion) {
    if (!(dt > 0.0) || !std::isfinite(dt)) {
        error = "sample interval must be positive";
        return false;
    }
    Polar p;
    if (!ToPolar(through, p, error)) return false;
    const double meanStep = (p.f.back() - p.f.front()) / static_cast<double>(p.f.size() - 1);
    // A finer frequency step than the longest record needs only lengthens
    // the record; the delay must fit in it.
    const double longest = static_cast<double>(kMaxChannelTaps) * dt;
    const double record = std::max(std::min(1.0 / meanStep, longest), 4.0 * RoughDelay(p));
    const double wanted = std::max(1024.0, record / dt);
    if (!(wanted <= static_cast<double>(kMaxChannelTaps))) {
        error = "the channel's delay calls for a record of " + std::to_string(record) +
                " s, more than " + std::to_string(kMaxChannelTaps) + " samples";
        return false;
    }
    const std::size_t n = FftConvolver::NextPowerOfTwo(static_cast<std::size_t>(wanted));
    const double df = 1.0 / (static_cast<double>(n) * dt);
    const double top = std::min(p.f.back(), 0.5 / dt);

    std::vector<double> h(n);
    fftw_complex* spectrum =
        static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * (n / 2 + 1)));
    if (spectrum == nullptr) throw std::bad_alloc();
    Resample(p, df, dt, top, n, spectrum);
    fftw_plan plan = nullptr;
    {
        const std::lock_guard<std::mutex> planning(FftwPlannerLock());
        plan = fftw_plan_dft_c2r_1d(static_cast<int>(n), spectrum, h.data(), FFTW_ESTIMATE);
    }
    fftw_execute(plan);
    {
        const std::lock_guard<std::mutex> planning(FftwPlannerLock());
        fftw_destroy_plan(plan);
    }
    fftw_free(spectrum);
    for (double& v : h) v /= static_cast<double>(n);

    // The band limit rings for a few periods of its top frequency.
    const std::size_t guard = static_cast<std::size_t>(std::ceil(3.0 / (top * dt)));
    const double cut = Window(h, std::max<std::size_t>(guard, 2));
    if (conversion != nullptr) {
        ThroughConversion& c = *conversion;
        const std::vector<double>& f = through.frequency;
        c.lastFrequency = f.back();
        c.bandLimit = top;
        c.rollOffFrom = 0.8 * top;
        c.dcExtrapolated = f[0] > 0.0;
        c.dcMagnitude = p.magnitude[0];
        c.dcMagnitudeNext = c.dcMagnitude;
        if (c.dcExtrapolated && f.size() >= 3)
            c.dcMagnitudeNext =
                DcMagnitude(f[1], std::abs(through.h[1]), f[2], std::abs(through.h[2]));
        c.cutBeforeArrival = cut;
    }
    channel.taps = std::move(h);
    channel.description = through.label;
    return true;
}

}  // namespace amisim
