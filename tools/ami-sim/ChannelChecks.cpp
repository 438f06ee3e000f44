#include "tools/ami-sim/ChannelChecks.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>

#include "tools/ami-sim/ThroughResponse.h"

namespace amisim {

namespace {

using Complex = std::complex<double>;

std::string Fmt(const char* fmt, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

// The largest singular value of the n by n matrix at frequency k: the
// square root of the largest eigenvalue of S^H S, by power iteration
// (S^H S is Hermitian and positive semi-definite, so it converges to it).
double LargestGain(const NetworkData& d, std::size_t k) {
    const int n = d.ports;
    std::vector<Complex> v(static_cast<std::size_t>(n), 1.0), sv(v.size()), w(v.size());
    double lambda = 0.0;
    for (int iteration = 0; iteration < 60; ++iteration) {
        for (int i = 1; i <= n; ++i) {
            Complex sum = 0.0;
            for (int j = 1; j <= n; ++j) sum += d.S(k, i, j) * v[static_cast<std::size_t>(j - 1)];
            sv[static_cast<std::size_t>(i - 1)] = sum;
        }
        double norm = 0.0;
        for (int j = 1; j <= n; ++j) {
            Complex sum = 0.0;
            for (int i = 1; i <= n; ++i)
                sum += std::conj(d.S(k, i, j)) * sv[static_cast<std::size_t>(i - 1)];
            w[static_cast<std::size_t>(j - 1)] = sum;
            norm += std::norm(sum);
        }
        norm = std::sqrt(norm);
        double vnorm = 0.0;
        for (const Complex& x : v) vnorm += std::norm(x);
        vnorm = std::sqrt(vnorm);
        if (!(norm > 0.0) || !(vnorm > 0.0)) return 0.0;
        const double next = norm / vnorm;
        for (std::size_t i = 0; i < v.size(); ++i) v[i] = w[i] / norm;
        if (std::fabs(next - lambda) <= 1e-12 * next) return std::sqrt(next);
        lambda = next;
    }
    return std::sqrt(lambda);
}

std::string PortList(const std::vector<int>& ports) {
    std::string s;
    for (int p : ports) s += (s.empty() ? "" : ",") + std::to_string(p);
    return s;
}

// Mean magnitude of the through response over the lowest hundredth of the
// band (at least the three lowest points), where a through path carries
// nearly all of the signal and the other paths only crosstalk.
double LowBandSignal(const NetworkData& d, const std::vector<int>& ports) {
    ThroughResponse t;
    std::string ignored;
    if (!SelectThrough(d, ports, t, ignored) || t.h.empty()) return 0.0;
    const double limit = t.frequency.front() + 0.01 * (t.frequency.back() - t.frequency.front());
    double sum = 0.0;
    std::size_t n = 0;
    for (std::size_t k = 0; k < t.h.size() && (k < 3 || t.frequency[k] <= limit); ++k, ++n)
        sum += std::abs(t.h[k]);
    return n > 0 ? sum / static_cast<double>(n) : 0.0;
}

}  // namespace

std::string FormatHertz(double f) {
    const char* units[] = {"Hz", "kHz", "MHz", "GHz", "THz"};
    int u = 0;
    while (u < 4 && std::fabs(f) >= 1000.0) {
        f /= 1000.0;
        ++u;
    }
    return Fmt("%.4g", f) + " " + units[u];
}

void CheckNetwork(const NetworkData& d, double checkedUpTo, std::vector<std::string>& warnings) {
    double worstGain = 0.0, gainAt = 0.0, worstAsymmetry = 0.0, asymmetryAt = 0.0;
    int ai = 0, aj = 0;
    for (std::size_t k = 0; k < d.frequency.size(); ++k) {
        const double g = LargestGain(d, k);
        if (g > worstGain) {
            worstGain = g;
            gainAt = d.frequency[k];
        }
        if (d.frequency[k] > checkedUpTo) continue;
        for (int i = 1; i <= d.ports; ++i)
            for (int j = i + 1; j <= d.ports; ++j) {
                const double a = std::abs(d.S(k, i, j) - d.S(k, j, i));
                if (a > worstAsymmetry) {
                    worstAsymmetry = a;
                    asymmetryAt = d.frequency[k];
                    ai = i;
                    aj = j;
                }
            }
    }
    if (worstGain > 1.0 + kPassivityTolerance)
        warnings.push_back("not passive: its S-matrix amplifies by " + Fmt("%.4g", worstGain) +
                           " at " + FormatHertz(gainAt) +
                           " (a passive channel stays at or below 1)");
    if (worstAsymmetry > kReciprocityTolerance) {
        const std::string a = std::to_string(ai), b = std::to_string(aj);
        warnings.push_back("not reciprocal: |S(" + a + "," + b + ") - S(" + b + "," + a + ")| is " +
                           Fmt("%.3g", worstAsymmetry) + " at " + FormatHertz(asymmetryAt) +
                           " (tolerance " + Fmt("%.3g", kReciprocityTolerance) + ")");
    }
}

void CheckPortOrder(const NetworkData& d, const std::vector<int>& ports,
                    std::vector<std::string>& warnings) {
    if (ports.empty()) return;
    // The candidates in the order they are named in: the two common
    // numberings of a 4-port, then every other order of the same ports
    // (for a pair: the other outputs of the same input).
    std::vector<std::vector<int>> candidates;
    if (ports.size() == 4) {
        std::vector<int> order = ports;
        std::sort(order.begin(), order.end());
        candidates.push_back({order[0], order[1], order[2], order[3]});
        candidates.push_back({order[0], order[2], order[1], order[3]});
        do candidates.push_back(order);
        while (std::next_permutation(order.begin(), order.end()));
    } else {
        for (int out = 1; out <= d.ports; ++out)
            if (out != ports[0]) candidates.push_back({ports[0], out});
    }
    std::vector<double> signal;
    double best = 0.0;
    for (const std::vector<int>& c : candidates) {
        signal.push_back(LowBandSignal(d, c));
        best = std::max(best, signal.back());
    }
    const double given = LowBandSignal(d, ports);
    if (!(given < 0.5 * best)) return;
    // The first candidate nearly as good as the best: of two equal orders
    // (one path read backwards) the plainer is named.
    std::size_t named = 0;
    while (signal[named] < 0.9 * best) ++named;
    warnings.push_back("--ports " + PortList(ports) + " has a gain of " + Fmt("%.3g", given) +
                       " at the lowest frequencies; " + PortList(candidates[named]) + " has " +
                       Fmt("%.3g", signal[named]));
}

void CheckConversion(const ThroughConversion& c, double dt, double bitTime,
                     std::vector<std::string>& warnings) {
    const double nyquist = 0.5 / dt, signal = 0.5 / bitTime;
    if (c.lastFrequency < nyquist) {
        std::string w = "data stop at " + FormatHertz(c.lastFrequency);
        w += c.lastFrequency < signal
                 ? ", below even the signal's Nyquist frequency of " + FormatHertz(signal)
                 : ", below the simulation's Nyquist frequency of " + FormatHertz(nyquist);
        w += ": the through response is rolled off from " + FormatHertz(c.rollOffFrom) +
             " and taken as zero above " + FormatHertz(c.bandLimit);
        warnings.push_back(w);
    }
    const double dcScale = std::max(c.dcMagnitude, c.dcMagnitudeNext);
    if (c.dcExtrapolated && std::fabs(c.dcMagnitude - c.dcMagnitudeNext) > kDcTolerance * dcScale)
        warnings.push_back("the DC gain rests on points that disagree: " +
                           Fmt("%.4g", c.dcMagnitude) + " from the two lowest frequencies, " +
                           Fmt("%.4g", c.dcMagnitudeNext) + " from the next two");
    if (c.cutBeforeArrival > kCausalityTolerance)
        warnings.push_back("not causal: " + Fmt("%.3g", 100.0 * c.cutBeforeArrival) +
                           "% of the response's energy comes before its arrival and was cut");
}

}  // namespace amisim
