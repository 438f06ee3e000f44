#include "tools/ami-sim/EyeDiagram.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace amisim {

namespace {
constexpr double kNoMargin = -std::numeric_limits<double>::infinity();
}

EyeDiagram::EyeDiagram(const Layout& layout, const std::vector<std::uint8_t>& bits, long latency,
                       bool inverted, std::size_t firstBit)
    : layout_(layout),
      spb_(std::max(1, layout.samplesPerBit)),
      half_(spb_ / 2),
      bits_(bits),
      base_(static_cast<long long>(latency) - (spb_ - half_)),
      inverted_(inverted),
      firstBit_(firstBit) {
    Allocate();
}

EyeDiagram::EyeDiagram(const Layout& layout, const std::vector<std::uint8_t>& bits,
                       const std::vector<long long>& traceStarts, bool inverted,
                       std::size_t firstBit)
    : layout_(layout),
      spb_(std::max(1, layout.samplesPerBit)),
      half_(spb_ / 2),
      bits_(bits),
      clock_(&traceStarts),
      inverted_(inverted),
      firstBit_(firstBit) {
    Allocate();
}

void EyeDiagram::Allocate() {
    layout_.samplesPerBit = spb_;
    layout_.columnsPerSample = std::max(1, layout_.columnsPerSample);
    if (!(layout_.vMax > layout_.vMin)) {
        const double mid = std::isfinite(layout_.vMin) ? layout_.vMin : 0.0;
        layout_.vMin = mid - 1.0;
        layout_.vMax = mid + 1.0;
    }
    rowScale_ = layout_.rows / (layout_.vMax - layout_.vMin);
    stats_.resize(static_cast<std::size_t>(2 * spb_));
    if (layout_.rows > 0)
        density_.assign(static_cast<std::size_t>(layout_.rows) *
                            static_cast<std::size_t>(spb_ * layout_.columnsPerSample),
                        0.0f);
    layout_.histogramBins = std::max(0, layout_.histogramBins);
    binScale_ = layout_.histogramBins / (layout_.vMax - layout_.vMin);
    const std::size_t cells = stats_.size() * 2 * static_cast<std::size_t>(layout_.histogramBins);
    histograms_.assign(cells, 0);
    histogramSums_.assign(cells, 0.0);
}

double EyeDiagram::BinWidth() const {
    return (layout_.vMax - layout_.vMin) / std::max(1, layout_.histogramBins);
}

std::vector<double> EyeDiagram::HistogramSums(int p, bool one) const {
    const std::size_t bins = static_cast<std::size_t>(layout_.histogramBins);
    if (bins == 0 || p < 0 || p >= 2 * spb_) return {};
    const auto first = histogramSums_.begin() +
                       static_cast<std::ptrdiff_t>((static_cast<std::size_t>(p) * 2 + one) * bins);
    return std::vector<double>(first, first + static_cast<std::ptrdiff_t>(bins));
}

EyeDiagram::Extremes EyeDiagram::At(int p) const {
    if (p < 0 || p >= 2 * spb_) return Extremes();
    const PositionStats& s = stats_[static_cast<std::size_t>(p)];
    return Extremes{s.minOne, s.maxZero, s.countOne, s.countZero};
}

std::vector<std::uint32_t> EyeDiagram::Histogram(int p, bool one) const {
    const std::size_t bins = static_cast<std::size_t>(layout_.histogramBins);
    if (bins == 0 || p < 0 || p >= 2 * spb_) return {};
    const auto first = histograms_.begin() +
                       static_cast<std::ptrdiff_t>((static_cast<std::size_t>(p) * 2 + one) * bins);
    return std::vector<std::uint32_t>(first, first + static_cast<std::ptrdiff_t>(bins));
}

double EyeDiagram::PositionToUi(double position) const {
    return (position + (spb_ % 2 == 0 ? 0.5 : 0.0)) / spb_;
}

int EyeDiagram::Row(double y) const {
    const double r = std::floor((y - layout_.vMin) * rowScale_);
    if (!(r >= 0.0)) return 0;
    if (r >= layout_.rows - 1) return layout_.rows - 1;
    return static_cast<int>(r);
}

// The segment from the previous sample to this one, which sits at `phase`
// (0 .. spb - 1) of the one-UI grid; columns wrap around the grid's ends.
void EyeDiagram::Draw(int phase, double y0, double y1) {
    const int k = layout_.columnsPerSample;
    const int width = spb_ * k;
    int c = (phase - 1) * k + k / 2;
    if (c < 0) c += width;
    // The rows at the columns' boundaries, each found once.
    int row = Row(y0);
    for (int i = 0; i < k; ++i, ++c) {
        if (c >= width) c -= width;
        const int next = Row(y0 + (y1 - y0) * (i + 1) / k);
        const int r0 = std::min(row, next), r1 = std::max(row, next);
        const float w = 1.0f / static_cast<float>(r1 - r0 + 1);
        float* cell = &density_[static_cast<std::size_t>(r0) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(c)];
        for (int r = r0; r <= r1; ++r, cell += width) *cell += w;
        row = next;
    }
}

std::vector<float> EyeDiagram::Density() const {
    if (density_.empty()) return {};
    const int width = spb_ * layout_.columnsPerSample;
    const int columns = Columns();
    // Phase column of plot column c: positions are phases shifted by
    // spb - spb/2 samples.
    const int shift = (spb_ - half_) * layout_.columnsPerSample;
    std::vector<float> plot(static_cast<std::size_t>(layout_.rows) *
                            static_cast<std::size_t>(columns));
    for (int r = 0; r < layout_.rows; ++r)
        for (int c = 0; c < columns; ++c)
            plot[static_cast<std::size_t>(r) * columns + c] =
                density_[static_cast<std::size_t>(r) * width +
                         ((c - shift) % width + width) % width];
    return plot;
}

// One sample v at position p of the trace of bit `trace`.
// One sample v, in histogram bin `bin`, at position p of the trace of bit
// `trace`.
void EyeDiagram::Fold(int p, std::size_t trace, double v, int bin) {
    PositionStats& s = stats_[static_cast<std::size_t>(p)];
    const bool one = (bits_[trace] != 0) != inverted_;
    if (bin >= 0) {
        const std::size_t cell = (static_cast<std::size_t>(p) * 2 + one) *
                                     static_cast<std::size_t>(layout_.histogramBins) +
                                 static_cast<std::size_t>(bin);
        ++histograms_[cell];
        histogramSums_[cell] += v;
    }
    if (one) {
        s.minOne = s.countOne == 0 ? v : std::min(s.minOne, v);
        s.sumOne += v;
        ++s.countOne;
    } else {
        s.maxZero = s.countZero == 0 ? v : std::max(s.maxZero, v);
        s.sumZero += v;
        ++s.countZero;
    }
}

// The histogram bin of a value (values outside in the end bins), or -1
// without histograms.
int EyeDiagram::Bin(double v) const {
    const int bins = layout_.histogramBins;
    if (bins == 0) return -1;
    const double b = std::floor((v - layout_.vMin) * binScale_);
    return !(b >= 0.0) ? 0 : b >= bins - 1 ? bins - 1 : static_cast<int>(b);
}

void EyeDiagram::Add(std::size_t firstSample, const double* y, std::size_t n) {
    const long long width = 2 * spb_;
    const std::size_t known = KnownBits();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t index = firstSample + i;
        const long long at = static_cast<long long>(index);
        const double v = y[i];
        if (!std::isfinite(v)) {
            ++nonFinite_;
            havePrevious_ = false;
            continue;
        }
        const bool linked = havePrevious_ && previousIndex_ + 1 == index;
        while (cursor_ < known && Start(cursor_) + width <= at) ++cursor_;
        bool drawn = false;
        const int bin = Bin(v);
        for (std::size_t k = cursor_; k < known; ++k) {
            const long long start = Start(k);
            if (start > at) break;
            if (k < firstBit_) continue;
            const int p = static_cast<int>(at - start);
            Fold(p, k, v, bin);
            // The bit's own samples draw the density, each once.
            if (!drawn && p >= spb_ - half_ && p < width - half_) {
                if (!density_.empty() && linked) Draw(p - (spb_ - half_), previous_, v);
                drawn = true;
            }
            if (p == spb_) ++bitsFolded_;
        }
        havePrevious_ = true;
        previousIndex_ = index;
        previous_ = v;
    }
}

double EyeDiagram::Margin(int p, double threshold) const {
    if (p < 0 || p >= 2 * spb_) return kNoMargin;
    const PositionStats& s = stats_[static_cast<std::size_t>(p)];
    if (s.countOne == 0 || s.countZero == 0) return kNoMargin;
    return std::min(s.minOne - threshold, threshold - s.maxZero);
}

EyeMetrics EyeDiagram::Metrics() const {
    int best = -1;
    double bestInner = kNoMargin;
    for (int p = spb_ - half_; p < 2 * spb_ - half_; ++p) {
        const PositionStats& s = stats_[static_cast<std::size_t>(p)];
        if (s.countOne == 0 || s.countZero == 0) continue;
        const double inner = s.minOne - s.maxZero;
        // Among equal openings the one nearest the middle of the plot wins.
        const double tolerance = 1e-12 * std::max(1.0, std::fabs(inner));
        if (best < 0 || inner > bestInner + tolerance ||
            (std::fabs(inner - bestInner) <= tolerance &&
             std::abs(2 * p + 1 - 2 * spb_) < std::abs(2 * best + 1 - 2 * spb_))) {
            best = p;
            bestInner = inner;
        }
    }
    if (best < 0) {
        EyeMetrics m;
        m.bitsFolded = bitsFolded_;
        return m;
    }
    const PositionStats& s = stats_[static_cast<std::size_t>(best)];
    return Measure(best, best, s.minOne, s.maxZero);
}

EyeMetrics EyeDiagram::MetricsAt(double position) const {
    const double clamped = std::clamp(position, 0.0, 2.0 * spb_ - 1.0);
    const int lo = static_cast<int>(std::floor(clamped));
    const int hi = std::min(lo + 1, 2 * spb_ - 1);
    const double a = clamped - lo;
    const PositionStats& l = stats_[static_cast<std::size_t>(lo)];
    const PositionStats& h = stats_[static_cast<std::size_t>(hi)];
    const bool haveLo = l.countOne > 0 && l.countZero > 0;
    const bool haveHi = h.countOne > 0 && h.countZero > 0;
    if (!haveLo && !haveHi) {
        EyeMetrics m;
        m.bitsFolded = bitsFolded_;
        return m;
    }
    // The nearer measured position, or between the two.
    const int nearest = !haveHi || (haveLo && a < 0.5) ? lo : hi;
    double innerOne = stats_[static_cast<std::size_t>(nearest)].minOne;
    double innerZero = stats_[static_cast<std::size_t>(nearest)].maxZero;
    if (haveLo && haveHi) {
        innerOne = l.minOne + a * (h.minOne - l.minOne);
        innerZero = l.maxZero + a * (h.maxZero - l.maxZero);
    }
    return Measure(nearest, clamped, innerOne, innerZero);
}

// The metrics of an eye sampled at `position` (near position index
// `index`), whose inner levels there are given.
EyeMetrics EyeDiagram::Measure(int index, double position, double innerOne,
                               double innerZero) const {
    EyeMetrics m;
    m.bitsFolded = bitsFolded_;
    const PositionStats& s = stats_[static_cast<std::size_t>(index)];
    m.measured = true;
    m.bestPosition = PositionToUi(position);
    m.bestIndex = index;
    m.innerOne = innerOne;
    m.innerZero = innerZero;
    m.levelOne = s.sumOne / static_cast<double>(s.countOne);
    m.levelZero = s.sumZero / static_cast<double>(s.countZero);
    m.threshold = 0.5 * (innerOne + innerZero);
    m.open = innerOne - innerZero > 0.0;
    if (!m.open) {
        m.threshold = 0.5 * (m.levelOne + m.levelZero);
        m.widthLeft = m.widthRight = m.bestPosition;
        return m;
    }
    m.height = innerOne - innerZero;

    // Walk out from the sampling position while the eye stays open, then
    // place each edge where the margin, interpolated linearly, reaches
    // zero.
    const double th = m.threshold;
    auto edge = [&](int last, int step) {
        const double inside = Margin(last, th);
        const double outside = Margin(last + step, th);
        if (outside == kNoMargin) return last + 0.5 * step;
        return last + step * inside / (inside - outside);
    };
    // From the sampling position's nearer side that is open.
    const int other = position < index ? index - 1 : index + 1;
    const int from = Margin(index, th) > 0.0 ? index : other;
    if (!(Margin(from, th) > 0.0)) {
        m.widthLeft = m.widthRight = m.bestPosition;
        return m;
    }
    int left = from, right = from;
    while (Margin(left - 1, th) > 0.0) --left;
    while (Margin(right + 1, th) > 0.0) ++right;
    const double leftEdge = edge(left, -1);
    const double rightEdge = edge(right, +1);
    m.widthLeft = PositionToUi(leftEdge);
    m.widthRight = PositionToUi(rightEdge);
    m.width = (rightEdge - leftEdge) / spb_;
    return m;
}

}  // namespace amisim
