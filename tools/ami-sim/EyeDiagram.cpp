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
      latency_(latency),
      inverted_(inverted),
      firstBit_(firstBit)
{
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
    histograms_.assign(stats_.size() * 2 * static_cast<std::size_t>(layout_.histogramBins), 0);
}

double EyeDiagram::BinWidth() const
{
    return (layout_.vMax - layout_.vMin) / std::max(1, layout_.histogramBins);
}

std::vector<std::uint32_t> EyeDiagram::Histogram(int p, bool one) const
{
    const std::size_t bins = static_cast<std::size_t>(layout_.histogramBins);
    if (bins == 0 || p < 0 || p >= 2 * spb_) return {};
    const auto first = histograms_.begin() +
                       static_cast<std::ptrdiff_t>((static_cast<std::size_t>(p) * 2 + one) * bins);
    return std::vector<std::uint32_t>(first, first + static_cast<std::ptrdiff_t>(bins));
}

double EyeDiagram::PositionToUi(double position) const
{
    return (position + (spb_ % 2 == 0 ? 0.5 : 0.0)) / spb_;
}

int EyeDiagram::Row(double y) const
{
    const double r = std::floor((y - layout_.vMin) * rowScale_);
    if (!(r >= 0.0)) return 0;
    if (r >= layout_.rows - 1) return layout_.rows - 1;
    return static_cast<int>(r);
}

// The segment from the previous sample to this one, which sits at `phase`
// (0 .. spb - 1) of the one-UI grid; columns wrap around the grid's ends.
void EyeDiagram::Draw(int phase, double y0, double y1)
{
    const int k = layout_.columnsPerSample;
    const int width = spb_ * k;
    int c = (phase - 1) * k + k / 2;
    if (c < 0) c += width;
    for (int i = 0; i < k; ++i, ++c) {
        if (c >= width) c -= width;
        const double ya = y0 + (y1 - y0) * i / k;
        const double yb = y0 + (y1 - y0) * (i + 1) / k;
        const int r0 = Row(std::min(ya, yb));
        const int r1 = Row(std::max(ya, yb));
        const float w = 1.0f / static_cast<float>(r1 - r0 + 1);
        float* cell = &density_[static_cast<std::size_t>(r0) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(c)];
        for (int r = r0; r <= r1; ++r, cell += width) *cell += w;
    }
}

std::vector<float> EyeDiagram::Density() const
{
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
                density_[static_cast<std::size_t>(r) * width + ((c - shift) % width + width) % width];
    return plot;
}

void EyeDiagram::Add(std::size_t firstSample, const double* y, std::size_t n)
{
    const long long spb = spb_;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t index = firstSample + i;
        const double v = y[i];
        if (!std::isfinite(v)) {
            ++nonFinite_;
            havePrevious_ = false;
            continue;
        }
        const long long m = static_cast<long long>(index) - latency_;
        const bool linked = havePrevious_ && previousIndex_ + 1 == index;
        if (m >= 0) {
            const long long k = m / spb;
            const int r = static_cast<int>(m % spb);
            const int own = r + spb_ - half_;
            for (int d = -1; d <= 1; ++d) {
                const int p = own + d * spb_;  // d = -1: next bit's trace
                if (p < 0 || p > 2 * spb_) continue;
                const long long trace = k - d;
                if (trace < static_cast<long long>(firstBit_) ||
                    trace >= static_cast<long long>(bits_.size()))
                    continue;
                if (p < 2 * spb_) {
                    PositionStats& s = stats_[static_cast<std::size_t>(p)];
                    const bool one = (bits_[static_cast<std::size_t>(trace)] != 0) != inverted_;
                    if (!histograms_.empty()) {
                        const double b = std::floor((v - layout_.vMin) * binScale_);
                        const int bins = layout_.histogramBins;
                        const int bin = !(b >= 0.0) ? 0 : b >= bins - 1 ? bins - 1 : static_cast<int>(b);
                        ++histograms_[(static_cast<std::size_t>(p) * 2 + one) *
                                          static_cast<std::size_t>(bins) +
                                      static_cast<std::size_t>(bin)];
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
            }
            if (k >= static_cast<long long>(firstBit_)) {
                if (!density_.empty() && linked) Draw(r, previous_, v);
                if (r == half_) ++bitsFolded_;
            }
        }
        havePrevious_ = true;
        previousIndex_ = index;
        previous_ = v;
    }
}

double EyeDiagram::Margin(int p, double threshold) const
{
    if (p < 0 || p >= 2 * spb_) return kNoMargin;
    const PositionStats& s = stats_[static_cast<std::size_t>(p)];
    if (s.countOne == 0 || s.countZero == 0) return kNoMargin;
    return std::min(s.minOne - threshold, threshold - s.maxZero);
}

EyeMetrics EyeDiagram::Metrics() const
{
    EyeMetrics m;
    m.bitsFolded = bitsFolded_;
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
    if (best < 0) return m;

    const PositionStats& s = stats_[static_cast<std::size_t>(best)];
    m.measured = true;
    m.bestPosition = PositionToUi(best);
    m.bestIndex = best;
    m.innerOne = s.minOne;
    m.innerZero = s.maxZero;
    m.levelOne = s.sumOne / static_cast<double>(s.countOne);
    m.levelZero = s.sumZero / static_cast<double>(s.countZero);
    m.threshold = 0.5 * (s.minOne + s.maxZero);
    m.open = bestInner > 0.0;
    if (!m.open) {
        m.threshold = 0.5 * (m.levelOne + m.levelZero);
        m.widthLeft = m.widthRight = m.bestPosition;
        return m;
    }
    m.height = bestInner;

    // Walk out from the best position while the eye stays open, then place
    // each edge where the margin, interpolated linearly, reaches zero.
    const double th = m.threshold;
    auto edge = [&](int last, int step) {
        const double inside = Margin(last, th);
        const double outside = Margin(last + step, th);
        if (outside == kNoMargin) return last + 0.5 * step;
        return last + step * inside / (inside - outside);
    };
    int left = best;
    while (Margin(left - 1, th) > 0.0) --left;
    int right = best;
    while (Margin(right + 1, th) > 0.0) ++right;
    const double leftEdge = edge(left, -1);
    const double rightEdge = edge(right, +1);
    m.widthLeft = PositionToUi(leftEdge);
    m.widthRight = PositionToUi(rightEdge);
    m.width = (rightEdge - leftEdge) / spb_;
    return m;
}

}  // namespace amisim
