#include "tools/ami-sim/TerminatedNetwork.h"

#include <fftw3.h>

#include <cmath>
#include <complex>
#include <mutex>
#include <new>

#include "tools/ami-sim/FftConvolver.h"
#include "tools/ami-sim/FftwPlans.h"

namespace amisim {

namespace {

using Complex = std::complex<double>;

// What one port sees: its reflection, the wave its source sends in, and
// (at a receiver) the pad voltage per port voltage and the leg's sign.
struct PortTermination {
    Complex reflection = 0.0;
    Complex incident = 0.0;
    Complex toPad = 0.0;
    double sign = 0.0;  // +1 / -1 at a receiver leg, 0 elsewhere
};

// A driver leg with source voltage `emf`, as a Thevenin source at its port.
PortTermination DriverLeg(const AnalogEnd& end, const PackageLeg& leg, double emf, double w,
                          double z0) {
    const Complex j(0.0, 1.0);
    Complex vth = emf, zth = 0.0;
    if (end.resistance > 0.0) {
        const Complex y = 1.0 / end.resistance + j * w * end.cComp;
        vth = (emf / end.resistance) / y;
        zth = 1.0 / y;
    }
    zth += leg.r + j * w * leg.l;
    const Complex shunt = 1.0 + zth * (j * w * leg.c);
    vth /= shunt;
    zth /= shunt;
    PortTermination t;
    t.reflection = (zth - z0) / (zth + z0);
    t.incident = vth * std::sqrt(z0) / (zth + z0);
    return t;
}

PortTermination ReceiverLeg(const AnalogEnd& end, const PackageLeg& leg, double sign, double w,
                            double z0) {
    const Complex j(0.0, 1.0);
    const Complex pad = (end.Open() ? 0.0 : 1.0 / end.resistance) + j * w * end.cComp;
    const Complex series = leg.r + j * w * leg.l;
    const Complex divider = 1.0 + series * pad;
    const Complex load = pad / divider + j * w * leg.c;
    PortTermination t;
    t.reflection = (1.0 - z0 * load) / (1.0 + z0 * load);
    t.toPad = 1.0 / divider;
    t.sign = sign;
    return t;
}

// Solves m x = v in place (n unknowns, m row-major), partial pivoting.
bool Solve(std::vector<Complex>& m, std::vector<Complex>& v, std::size_t n) {
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::abs(m[r * n + c]) > std::abs(m[pivot * n + c])) pivot = r;
        if (!(std::abs(m[pivot * n + c]) > 1e-300)) return false;
        if (pivot != c) {
            for (std::size_t k = 0; k < n; ++k) std::swap(m[c * n + k], m[pivot * n + k]);
            std::swap(v[c], v[pivot]);
        }
        for (std::size_t r = c + 1; r < n; ++r) {
            const Complex f = m[r * n + c] / m[c * n + c];
            if (f == 0.0) continue;
            for (std::size_t k = c; k < n; ++k) m[r * n + k] -= f * m[c * n + k];
            v[r] -= f * v[c];
        }
    }
    for (std::size_t c = n; c-- > 0;) {
        Complex sum = v[c];
        for (std::size_t k = c + 1; k < n; ++k) sum -= m[c * n + k] * v[k];
        v[c] = sum / m[c * n + c];
    }
    return true;
}

const PackageLeg& LegOf(const AnalogEnd& end, std::size_t i) {
    return end.legs[std::min(i, end.legs.size() - 1)];
}

}  // namespace

bool TerminateThrough(const NetworkData& data, const std::vector<int>& ports,
                      const AnalogEnd& driver, const AnalogEnd& receiver, ThroughResponse& through,
                      std::string& error) {
    const std::size_t n = static_cast<std::size_t>(data.ports);
    if (ports.size() != 2 && ports.size() != 4) {
        error = "the analog ends need a path of two or four ports";
        return false;
    }
    if (driver.legs.empty() || receiver.legs.empty()) {
        error = "an analog end without a pin";
        return false;
    }
    for (std::size_t p = 0; p < n; ++p)
        if (!(p < data.reference.size() && data.reference[p] > 0.0)) {
            error = "port " + std::to_string(p + 1) + " has no positive reference impedance";
            return false;
        }
    const bool pair = ports.size() == 4;
    const std::size_t half = ports.size() / 2;
    ThroughResponse r;
    r.frequency = data.frequency;
    r.ports = ports;
    r.h.resize(data.frequency.size());
    std::vector<PortTermination> ends(n);
    std::vector<Complex> m(n * n), b(n);
    for (std::size_t k = 0; k < data.frequency.size(); ++k) {
        const double w = 2.0 * M_PI * data.frequency[k];
        for (std::size_t p = 0; p < n; ++p) ends[p] = PortTermination();
        for (std::size_t i = 0; i < half; ++i) {
            const double sign = i == 0 ? 1.0 : -1.0;
            const std::size_t in = static_cast<std::size_t>(ports[i] - 1);
            const std::size_t out = static_cast<std::size_t>(ports[half + i] - 1);
            ends[in] =
                DriverLeg(driver, LegOf(driver, i), pair ? 0.5 * sign : 1.0, w, data.reference[in]);
            ends[out] = ReceiverLeg(receiver, LegOf(receiver, i), sign, w, data.reference[out]);
        }
        // (I - S G) b = S a_source
        for (std::size_t i = 0; i < n; ++i) {
            Complex sum = 0.0;
            for (std::size_t c = 0; c < n; ++c) {
                const Complex s = data.S(k, static_cast<int>(i + 1), static_cast<int>(c + 1));
                m[i * n + c] = (i == c ? 1.0 : 0.0) - s * ends[c].reflection;
                sum += s * ends[c].incident;
            }
            b[i] = sum;
        }
        if (!Solve(m, b, n)) {
            error = "the terminated network has no solution at " +
                    std::to_string(data.frequency[k]) + " Hz";
            return false;
        }
        Complex h = 0.0;
        for (std::size_t p = 0; p < n; ++p) {
            if (ends[p].sign == 0.0) continue;
            const Complex a = ends[p].reflection * b[p] + ends[p].incident;
            h += ends[p].sign * ends[p].toPad * std::sqrt(data.reference[p]) * (a + b[p]);
        }
        // Sources of +/- 1/2 make a differential source of 1.
        r.h[k] = 2.0 * h;
    }
    through = std::move(r);
    return true;
}

NetworkData MatchedLine(const std::vector<double>& taps, double dt) {
    const std::size_t n =
        FftConvolver::NextPowerOfTwo(std::max<std::size_t>(4096, 4 * taps.size()));
    const std::size_t bins = n / 2 + 1;
    double* time = static_cast<double*>(fftw_malloc(sizeof(double) * n));
    fftw_complex* freq = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * bins));
    if (time == nullptr || freq == nullptr) {
        fftw_free(time);
        fftw_free(freq);
        throw std::bad_alloc();
    }
    fftw_plan plan = nullptr;
    {
        const std::lock_guard<std::mutex> planning(FftwPlannerLock());
        plan = fftw_plan_dft_r2c_1d(static_cast<int>(n), time, freq, FFTW_ESTIMATE);
    }
    for (std::size_t i = 0; i < n; ++i) time[i] = i < taps.size() ? taps[i] : 0.0;
    fftw_execute(plan);
    NetworkData d;
    d.ports = 2;
    d.reference = {50.0, 50.0};
    d.frequency.resize(bins);
    d.s.assign(4 * bins, 0.0);
    const double df = 1.0 / (static_cast<double>(n) * dt);
    for (std::size_t k = 0; k < bins; ++k) {
        const double f = static_cast<double>(k) * df;
        const Complex h = Complex(freq[k][0], freq[k][1]) * std::polar(1.0, M_PI * f * dt);
        d.frequency[k] = f;
        d.s[4 * k + 1] = d.s[4 * k + 2] = h;
    }
    {
        const std::lock_guard<std::mutex> planning(FftwPlannerLock());
        fftw_destroy_plan(plan);
    }
    fftw_free(time);
    fftw_free(freq);
    return d;
}

}  // namespace amisim
