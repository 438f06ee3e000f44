#include "tools/ami-sim/Bathtub.h"

#include <algorithm>
#include <cmath>

namespace amisim {

namespace {

// Grid of the jittered curve: 1/512 UI over the plot's two unit intervals.
constexpr int kGridPoints = 1024;
constexpr double kGaussianReach = 8.0;  // standard deviations
constexpr int kSinusoidParts = 32;
constexpr int kContourPositions = 128;

double Q(double z) {
    return 0.5 * std::erfc(z / std::sqrt(2.0));
}
double Phi(double z) {
    return 1.0 - Q(z);
}

// The share of `count` samples at `v` that err: below the threshold plus
// the sensitivity for a '1', above it less the sensitivity for a '0'.
double Errs(double v, bool one, double th, double noise, double sens) {
    const double margin = one ? v - th - sens : th - sens - v;
    if (noise > 0.0) return Q(margin / noise);
    return margin > 0.0 ? 0.0 : 1.0;
}

// The eye's margin at p against the threshold less the sensitivity.
double SensedMargin(const EyeDiagram& eye, int p, double th, double sens) {
    return eye.Margin(p, th) - sens;
}

// The ratio before jitter at whole positions, and between them.
class PositionCurve {
public:
    PositionCurve(const EyeDiagram& eye, const BerInputs& in) : eye_(eye), in_(in) {
        for (int p = 0; p < eye.Positions(); ++p)
            ber_.push_back(PositionBer(eye, p, in.threshold, in.noise, in.sensitivity));
    }

    double At(double x) const {
        const int last = static_cast<int>(ber_.size()) - 1;
        if (!(x > 0.0)) return ber_.front();
        if (x >= last) return ber_.back();
        const int p = static_cast<int>(std::floor(x));
        const double a = x - p;
        const double b0 = ber_[static_cast<std::size_t>(p)],
                     b1 = ber_[static_cast<std::size_t>(p + 1)];
        if (b0 == b1) return b0;
        if (b0 > 0.0 && b1 > 0.0) return std::exp(std::log(b0) + a * (std::log(b1) - std::log(b0)));
        // One side has no error at all: the ratio steps where the margin,
        // interpolated linearly, runs out (the measured eye's edge), or
        // half way when the margin does not change sign.
        const double m0 = SensedMargin(eye_, p, in_.threshold, in_.sensitivity);
        const double m1 = SensedMargin(eye_, p + 1, in_.threshold, in_.sensitivity);
        double cross = 0.5;
        if (std::isfinite(m0) && std::isfinite(m1) && (m0 > 0.0) != (m1 > 0.0))
            cross = m0 / (m0 - m1);
        return a < cross ? b0 : b1;
    }

private:
    const EyeDiagram& eye_;
    const BerInputs& in_;
    std::vector<double> ber_;
};

// The jitter's discrete part convolved with its Gaussian part on a grid of
// step h (positions): weights at offsets start .. start + size - 1 steps.
struct GridKernel {
    long start = 0;
    std::vector<double> weights;
};

GridKernel MakeKernel(const SamplerJitter& j, double h) {
    double lo = 0.0, hi = 0.0;
    for (double o : j.offsets) {
        lo = std::min(lo, o);
        hi = std::max(hi, o);
    }
    const double reach = kGaussianReach * j.rms;
    GridKernel k;
    k.start = static_cast<long>(std::floor((lo - reach) / h)) - 1;
    const long end = static_cast<long>(std::ceil((hi + reach) / h)) + 1;
    k.weights.assign(static_cast<std::size_t>(end - k.start + 1), 0.0);
    for (std::size_t e = 0; e < j.offsets.size(); ++e) {
        const double o = j.offsets[e], w = j.weights[e];
        if (j.rms <= 0.0) {
            // A Dirac between grid points is split between the two.
            const double f = o / h - std::floor(o / h);
            const long i = static_cast<long>(std::floor(o / h)) - k.start;
            k.weights[static_cast<std::size_t>(i)] += w * (1.0 - f);
            k.weights[static_cast<std::size_t>(i + 1)] += w * f;
            continue;
        }
        for (long i = 0; i < static_cast<long>(k.weights.size()); ++i) {
            const double t = (static_cast<double>(i + k.start) * h - o) / j.rms;
            k.weights[static_cast<std::size_t>(i)] +=
                w * (Phi(t + 0.5 * h / j.rms) - Phi(t - 0.5 * h / j.rms));
        }
    }
    return k;
}

// Walks from grid index `from` by `step` while the curve stays at or below
// the target and returns the crossing, in UI, interpolated on the log
// scale; `exact` refines it on the curve itself.
template <typename Exact>
double Crossing(const BathtubCurve& c, int from, int step, double target, Exact exact) {
    const int last = static_cast<int>(c.ber.size()) - 1;
    int i = from;
    while (i + step >= 0 && i + step <= last && c.ber[static_cast<std::size_t>(i + step)] <= target)
        i += step;
    if (i + step < 0 || i + step > last) return c.positionUi[static_cast<std::size_t>(i)];
    return exact(c.positionUi[static_cast<std::size_t>(i)],
                 c.positionUi[static_cast<std::size_t>(i + step)]);
}

}  // namespace

SamplerJitter SamplerJitter::From(double rj, double dj, double dcd, double sj) {
    SamplerJitter j;
    j.rms = rj;
    auto convolve = [&j](const std::vector<double>& offsets) {
        std::vector<double> o, w;
        const double share = 1.0 / static_cast<double>(offsets.size());
        for (std::size_t a = 0; a < j.offsets.size(); ++a)
            for (double b : offsets) {
                o.push_back(j.offsets[a] + b);
                w.push_back(j.weights[a] * share);
            }
        j.offsets = std::move(o);
        j.weights = std::move(w);
    };
    if (dj > 0.0) convolve({-0.5 * dj, 0.5 * dj});
    if (dcd > 0.0) convolve({-0.5 * dcd, 0.5 * dcd});
    if (sj > 0.0) {
        std::vector<double> parts;
        for (int i = 0; i < kSinusoidParts; ++i)
            parts.push_back(sj * std::sin(2.0 * M_PI * (i + 0.5) / kSinusoidParts));
        convolve(parts);
    }
    return j;
}

double PositionBer(const EyeDiagram& eye, int p, double th, double noise, double sens) {
    const EyeDiagram::Extremes x = eye.At(p);
    if (x.ones == 0 || x.zeros == 0) return 0.5;
    double errors = 0.0;
    for (bool one : {true, false}) {
        // Without noise, a level clear of the threshold has no error,
        // whatever its bins.
        if (noise == 0.0 && (one ? x.minOne - th - sens : th - sens - x.maxZero) > 0.0) continue;
        const std::vector<std::uint32_t> counts = eye.Histogram(p, one);
        const std::vector<double> sums = eye.HistogramSums(p, one);
        for (std::size_t b = 0; b < counts.size(); ++b)
            if (counts[b] > 0)
                errors += counts[b] * Errs(sums[b] / counts[b], one, th, noise, sens);
    }
    return errors / static_cast<double>(x.ones + x.zeros);
}

BathtubCurve ComputeBathtub(const EyeDiagram& eye, const EyeMetrics& m, double samplingPosition,
                            const BerInputs& in) {
    BathtubCurve c;
    c.threshold = in.threshold;
    c.targetBer = in.targetBer;
    c.countable = m.bitsFolded > 0 ? 1.0 / static_cast<double>(m.bitsFolded) : 1.0;
    c.samplingUi = eye.PositionToUi(samplingPosition);
    const PositionCurve before(eye, in);
    const int spb = eye.Positions() / 2;
    const double offset = eye.PositionToUi(0.0) * spb;  // position 0 on the UI axis
    const double h = 2.0 * spb / kGridPoints;           // grid step in positions
    auto positionOf = [&](double ui) { return ui * spb - offset; };

    const bool jittered = !in.jitter.None();
    const GridKernel kernel = jittered ? MakeKernel(in.jitter, h) : GridKernel{0, {1.0}};
    for (int i = 0; i <= kGridPoints; ++i) {
        const double x = i * h - offset;
        double ber = 0.0;
        for (std::size_t k = 0; k < kernel.weights.size(); ++k)
            if (kernel.weights[k] > 0.0)
                ber +=
                    kernel.weights[k] * before.At(x - (static_cast<double>(k) + kernel.start) * h);
        c.positionUi.push_back(static_cast<double>(i) * 2.0 / kGridPoints);
        c.ber.push_back(std::min(ber, 1.0));
    }
    // The ratio at the sampling instant, and where it crosses the target.
    auto curveAt = [&](double ui) {
        const double g = std::clamp(ui * kGridPoints / 2.0, 0.0, double{kGridPoints});
        const int i = std::min(static_cast<int>(g), kGridPoints - 1);
        const double a = g - i, b0 = c.ber[static_cast<std::size_t>(i)],
                     b1 = c.ber[static_cast<std::size_t>(i + 1)];
        if (b0 > 0.0 && b1 > 0.0) return std::exp(std::log(b0) + a * (std::log(b1) - std::log(b0)));
        return b0 + a * (b1 - b0);
    };
    c.berAtSampling = jittered ? curveAt(c.samplingUi) : before.At(samplingPosition);
    if (!m.measured || !m.open || !(c.berAtSampling <= in.targetBer)) return c;
    c.open = true;
    const double target = in.targetBer;
    auto exact = [&](double inside, double outside) {
        if (!jittered) {
            // The curve is the ratio before jitter itself: find its step.
            for (int n = 0; n < 60; ++n) {
                const double mid = 0.5 * (inside + outside);
                (before.At(positionOf(mid)) <= target ? inside : outside) = mid;
            }
            return 0.5 * (inside + outside);
        }
        const double bi = curveAt(inside), bo = curveAt(outside);
        if (!(bi > 0.0) || !(bo > bi)) return 0.5 * (inside + outside);
        const double a = (std::log(target) - std::log(bi)) / (std::log(bo) - std::log(bi));
        return inside + a * (outside - inside);
    };
    const int from =
        std::clamp(static_cast<int>(std::lround(c.samplingUi * kGridPoints / 2.0)), 0, kGridPoints);
    const int start = c.ber[static_cast<std::size_t>(from)] <= target ? from
                      : c.samplingUi * kGridPoints / 2.0 < from       ? from - 1
                                                                      : from + 1;
    c.left = std::max(Crossing(c, start, -1, target, exact), m.widthLeft);
    c.right = std::min(Crossing(c, start, +1, target, exact), m.widthRight);
    c.width = std::max(0.0, c.right - c.left);
    return c;
}

namespace {

// The ratio at every bin edge of the histograms taken as the threshold, at
// position p, before jitter: the samples of a bin at its centre, spread by
// the noise through a table over bin distances (the sensitivity shifts
// it; beyond the table a sample errs surely or not at all).
std::vector<double> EdgeBer(const EyeDiagram& eye, int p, const BerInputs& in) {
    const int bins = eye.GetLayout().histogramBins;
    const double w = eye.BinWidth();
    const EyeDiagram::Extremes x = eye.At(p);
    std::vector<double> b(static_cast<std::size_t>(bins + 1), 0.5);
    if (x.ones == 0 || x.zeros == 0) return b;
    std::fill(b.begin(), b.end(), 0.0);
    const int reach =
        in.noise > 0.0 ? std::min(bins, static_cast<int>(std::ceil(9.0 * in.noise / w))) : 0;
    const int lo = static_cast<int>(std::floor(in.sensitivity / w)) - reach - 1;
    const int hi = static_cast<int>(std::ceil(in.sensitivity / w)) + reach + 1;
    std::vector<double> table;
    for (int d = lo; d <= hi; ++d)
        table.push_back(Errs((d + 0.5) * w, true, 0.0, in.noise, in.sensitivity));
    auto share = [&](int d) {
        return d < lo ? 1.0 : d > hi ? 0.0 : table[static_cast<std::size_t>(d - lo)];
    };
    for (bool one : {true, false}) {
        const std::vector<std::uint32_t> counts = eye.Histogram(p, one);
        for (int bin = 0; bin < bins; ++bin) {
            const double n = counts[static_cast<std::size_t>(bin)];
            if (n == 0.0) continue;
            for (int j = 0; j <= bins; ++j)
                b[static_cast<std::size_t>(j)] += n * share(one ? bin - j : j - 1 - bin);
        }
    }
    for (double& v : b) v /= static_cast<double>(x.ones + x.zeros);
    return b;
}

// The threshold (volts) where the ratio crosses the target between bin
// edges `inside` and `outside`, interpolated on the log scale.
double EdgeCrossing(const std::vector<double>& b, int inside, int outside, double target,
                    double vMin, double w) {
    const double bi = b[static_cast<std::size_t>(inside)],
                 bo = b[static_cast<std::size_t>(outside)];
    double a = 0.5;
    if (bi > 0.0 && bo > bi) a = (std::log(target) - std::log(bi)) / (std::log(bo) - std::log(bi));
    return vMin + w * (inside + a * (outside - inside));
}

}  // namespace

EyeContour ComputeContour(const EyeDiagram& eye, double samplingPosition, const BerInputs& in) {
    EyeContour contour;
    const EyeDiagram::Layout& lay = eye.GetLayout();
    const int bins = lay.histogramBins;
    const int positions = eye.Positions();
    if (bins <= 0) return contour;
    const double w = eye.BinWidth();
    std::vector<std::vector<double>> before(static_cast<std::size_t>(positions));
    for (int p = 0; p < positions; ++p) before[static_cast<std::size_t>(p)] = EdgeBer(eye, p, in);
    const GridKernel kernel = in.jitter.None() ? GridKernel{0, {1.0}} : MakeKernel(in.jitter, 1.0);

    // The positions drawn, and the two around the sampling instant.
    const int stride = std::max(1, positions / kContourPositions);
    const int around = std::clamp(static_cast<int>(std::floor(samplingPosition)), 0, positions - 2);
    std::vector<int> drawn;
    for (int p = 0; p < positions; p += stride)
        if (p != around && p != around + 1) drawn.push_back(p);
    drawn.push_back(around);
    drawn.push_back(around + 1);
    std::sort(drawn.begin(), drawn.end());

    const int jt =
        std::clamp(static_cast<int>(std::lround((in.threshold - lay.vMin) / w)), 0, bins);
    double lowAt[2] = {NAN, NAN}, highAt[2] = {NAN, NAN};
    std::vector<double> b(static_cast<std::size_t>(bins + 1));
    for (int p : drawn) {
        std::fill(b.begin(), b.end(), 0.0);
        for (std::size_t k = 0; k < kernel.weights.size(); ++k) {
            if (kernel.weights[k] <= 0.0) continue;
            const int q = std::clamp(p - static_cast<int>(static_cast<long>(k) + kernel.start), 0,
                                     positions - 1);
            const std::vector<double>& from = before[static_cast<std::size_t>(q)];
            for (std::size_t j = 0; j < b.size(); ++j) b[j] += kernel.weights[k] * from[j];
        }
        double low = NAN, high = NAN;
        if (b[static_cast<std::size_t>(jt)] <= in.targetBer) {
            int up = jt, down = jt;
            while (up + 1 <= bins && b[static_cast<std::size_t>(up + 1)] <= in.targetBer) ++up;
            while (down - 1 >= 0 && b[static_cast<std::size_t>(down - 1)] <= in.targetBer) --down;
            high = up < bins ? EdgeCrossing(b, up, up + 1, in.targetBer, lay.vMin, w) : lay.vMax;
            low = down > 0 ? EdgeCrossing(b, down, down - 1, in.targetBer, lay.vMin, w) : lay.vMin;
        }
        contour.positionUi.push_back(eye.PositionToUi(p));
        contour.low.push_back(low);
        contour.high.push_back(high);
        if (p == around || p == around + 1) {
            lowAt[p - around] = low;
            highAt[p - around] = high;
        }
    }
    const double a = std::clamp(samplingPosition - around, 0.0, 1.0);
    contour.lowAtSampling = lowAt[0] + a * (lowAt[1] - lowAt[0]);
    contour.highAtSampling = highAt[0] + a * (highAt[1] - highAt[0]);
    const double height = contour.highAtSampling - contour.lowAtSampling;
    contour.heightAtTarget = height > 0.0 ? height : 0.0;
    return contour;
}

}  // namespace amisim
