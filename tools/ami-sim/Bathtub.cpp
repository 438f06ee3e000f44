#include "tools/ami-sim/Bathtub.h"

#include <algorithm>
#include <cmath>

namespace amisim {

namespace {

double Phi(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

// Inverse of Phi by bisection; the fit needs only a few dozen values.
double InversePhi(double p)
{
    double lo = -40.0, hi = 40.0;
    for (int i = 0; i < 100 && hi - lo > 1e-12; ++i) {
        const double mid = 0.5 * (lo + hi);
        (Phi(mid) < p ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

// log10 of a BER, floored so that a zero plots at the bottom of the scale.
double Log(double ber) { return std::log10(std::max(ber, 1e-300)); }

}  // namespace

double TailFraction(const std::vector<std::uint32_t>& counts, double vMin, double binWidth,
                    double threshold, bool innerIsLow)
{
    std::vector<std::uint32_t> c = counts;
    if (!innerIsLow) {  // mirror so that the inner edge is the low side
        std::reverse(c.begin(), c.end());
        vMin = -(vMin + binWidth * static_cast<double>(c.size()));
        threshold = -threshold;
    }
    double total = 0.0;
    for (std::uint32_t n : c) total += n;
    if (total == 0.0) return 0.0;

    // Measured: whole bins below the threshold and the share of the bin it
    // falls in.
    double below = 0.0;
    std::vector<double> edge, z;
    double cumulative = 0.0;
    for (std::size_t b = 0; b < c.size(); ++b) {
        const double lo = vMin + binWidth * static_cast<double>(b);
        below += c[b] * std::clamp((threshold - lo) / binWidth, 0.0, 1.0);
        cumulative += c[b];
        const double f = cumulative / total;
        if (cumulative > 0.0 && f <= kTailFraction) {
            edge.push_back(lo + binWidth);
            z.push_back(InversePhi(f));
        }
    }
    if (below >= kMeasuredCrossings || edge.size() < 3) return below / total;

    // Least-squares line z = a v + b through the tail points.
    const double n = static_cast<double>(edge.size());
    double sv = 0, sz = 0, svv = 0, svz = 0;
    for (std::size_t i = 0; i < edge.size(); ++i) {
        sv += edge[i];
        sz += z[i];
        svv += edge[i] * edge[i];
        svz += edge[i] * z[i];
    }
    const double den = n * svv - sv * sv;
    if (!(den > 0.0)) return below / total;
    const double a = (n * svz - sv * sz) / den;
    const double b = (sz - a * sv) / n;
    if (!(a > 0.0)) return below / total;
    return Phi(a * threshold + b);
}

BathtubCurve ComputeBathtub(const EyeDiagram& eye, const EyeMetrics& metrics, double targetBer)
{
    const double threshold = metrics.threshold;
    const int bestIndex = metrics.open ? metrics.bestIndex : -1;
    BathtubCurve c;
    c.threshold = threshold;
    c.targetBer = targetBer;
    const EyeDiagram::Layout& lay = eye.GetLayout();
    const int positions = eye.Positions();
    for (int p = 0; p < positions; ++p) {
        const std::vector<std::uint32_t> ones = eye.Histogram(p, true);
        const std::vector<std::uint32_t> zeros = eye.Histogram(p, false);
        double n1 = 0, n0 = 0;
        for (std::uint32_t v : ones) n1 += v;
        for (std::uint32_t v : zeros) n0 += v;
        double ber = 0.5;
        if (n1 > 0 && n0 > 0) {
            const double e1 = TailFraction(ones, lay.vMin, eye.BinWidth(), threshold, true);
            const double e0 = TailFraction(zeros, lay.vMin, eye.BinWidth(), threshold, false);
            ber = (n1 * e1 + n0 * e0) / (n1 + n0);
        }
        c.positionUi.push_back(eye.PositionToUi(p));
        c.ber.push_back(ber);
    }
    if (bestIndex < 0 || bestIndex >= positions || !(c.ber[bestIndex] <= targetBer)) return c;

    // Walk out while the BER stays at or below the target; place each edge
    // by linear interpolation of log10 BER to the neighbouring position.
    c.open = true;
    const double target = Log(targetBer);
    auto edge = [&](int last, int step) {
        const int out = last + step;
        if (out < 0 || out >= positions) return c.positionUi[last] + 0.5 * step / (positions / 2);
        const double inside = Log(c.ber[last]), outside = Log(c.ber[out]);
        const double a = outside > inside ? (target - inside) / (outside - inside) : 0.5;
        return c.positionUi[last] + a * (c.positionUi[out] - c.positionUi[last]);
    };
    int left = bestIndex, right = bestIndex;
    while (left > 0 && c.ber[left - 1] <= targetBer) --left;
    while (right + 1 < positions && c.ber[right + 1] <= targetBer) ++right;
    c.left = std::max(edge(left, -1), metrics.widthLeft);
    c.right = std::min(edge(right, +1), metrics.widthRight);
    c.width = c.right - c.left;
    return c;
}

}  // namespace amisim
