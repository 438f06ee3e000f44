// EyeDiagram: folds the receiver output into a two-unit-interval eye and
// measures it.
//
// Folding. Each bit's trace is 2 spb output samples long, positions
// p = 0 .. 2 spb - 1 from its start; the middle UI (p = spb - spb/2 ..
// 2 spb - spb/2 - 1) is the bit's own, its neighbours' halves lie on each
// side, so every sample appears in about two traces. Where a trace starts
// comes from the clock:
// - a fixed latency L (samples): output sample n belongs to stimulus
//   sample m = n - L, bit k = floor(m / spb), and bit k's trace starts at
//   k spb + L - (spb - spb/2), so its own samples fill the middle UI;
// - a table of trace starts, one per bit, from the sampler's recovered
//   clock: the traces then follow the clock wherever it moves. The table
//   may grow as the run streams: a sample is folded when it is added, into
//   the traces of the bits the table holds by then, so the caller adds a
//   sample only once the table holds every bit whose trace can contain it
//   (starts only increase, so: once a later start is known).
// Only traces of bits from `firstBit` on are folded (the settling interval
// before it is left out).
//
// Metrics, from the samples themselves, labelled with the bit each trace is
// centred on (so a closed eye reads as closed, whatever the threshold):
// - at each position, the lowest sample of the '1' traces and the highest of
//   the '0' traces, and the mean of each;
// - eye height: (lowest '1' - highest '0') at the sampling position, either
//   given (MetricsAt: the sampler's instant, interpolated between
//   positions) or the position of the largest one in the middle UI
//   (Metrics); 0 when it overlaps there (closed eye);
// - decision threshold: the middle of the opening there, midway between
//   its lowest '1' and highest '0';
// - eye width: the span of sampling positions around it over which every
//   '1' sample stays above the threshold and every '0' sample below it,
//   with the edges placed by linear interpolation of that margin between
//   neighbouring positions; 0 for a closed eye.
//
// Histograms (with Layout::histogramBins > 0): at every position, the
// samples of the '1' traces and of the '0' traces counted in bins over
// [vMin, vMax] (values outside in the end bins), with the sum of the values
// in each bin (so a bin's mean is exact for a level that falls in it), for
// the bit error ratio.
//
// Density: every trace is drawn as a polyline into a grid of
// 2 spb * columnsPerSample by `rows` cells covering [vMin, vMax] (values
// outside are drawn at the border), each segment spreading one unit of
// weight per column over the cells it crosses, the way a sampling
// oscilloscope's persistence display accumulates. Since every segment
// appears in both halves of the 2-UI plot, it is drawn once into a 1-UI
// grid that the plot shows twice.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace amisim {

struct EyeMetrics {
    bool measured = false;  // both '1' and '0' traces were folded
    bool open = false;
    double height = 0.0;        // volts
    double width = 0.0;         // unit intervals
    double bestPosition = 0.0;  // unit intervals from the plot's left edge
    int bestIndex = -1;         // the same as a position index
    double threshold = 0.0;     // volts
    double widthLeft = 0.0;     // unit intervals, eye opening edges
    double widthRight = 0.0;
    double levelOne = 0.0;  // mean '1' and '0' at the best position
    double levelZero = 0.0;
    double innerOne = 0.0;  // lowest '1' and highest '0' there
    double innerZero = 0.0;
    std::size_t bitsFolded = 0;  // traces that contribute
};

class EyeDiagram {
public:
    struct Layout {
        int samplesPerBit = 32;
        double vMin = -1.0;
        double vMax = 1.0;
        int rows = 0;  // 0: no density grid, metrics only
        int columnsPerSample = 4;
        int histogramBins = 0;  // 0: no histograms
    };

    // bits: the transmitted bits of the whole run (the trace labels); when
    // `inverted`, a '1' bit is expected low. Folded at a fixed latency.
    EyeDiagram(const Layout& layout, const std::vector<std::uint8_t>& bits, long latency,
               bool inverted, std::size_t firstBit);
    // Folded at the trace starts of `traceStarts` (one per bit, strictly
    // increasing), which must outlive the eye.
    EyeDiagram(const Layout& layout, const std::vector<std::uint8_t>& bits,
               const std::vector<long long>& traceStarts, bool inverted, std::size_t firstBit);

    // Output samples firstSample .. firstSample + n - 1 of the run, in order
    // and without gaps from one call to the next.
    void Add(std::size_t firstSample, const double* y, std::size_t n);

    // Measured at the position of the widest vertical opening of the
    // middle UI.
    EyeMetrics Metrics() const;
    // Measured at a sampling position (0 .. 2 spb - 1, fractional): the
    // opening there, interpolated linearly between positions, sets the
    // height and the threshold, and the width is the span around it where
    // the eye stays open at that threshold.
    EyeMetrics MetricsAt(double position) const;

    // Position (0 .. 2 spb - 1) to unit intervals from the plot's left edge.
    double PositionToUi(double position) const;
    int Positions() const { return 2 * spb_; }
    // The position nearest the middle of the plot (1 UI); with an even
    // number of samples per bit the middle lies between two positions and
    // the earlier one is taken.
    int CentrePosition() const { return spb_ % 2 == 0 ? spb_ - 1 : spb_; }

    const Layout& GetLayout() const { return layout_; }
    int Columns() const { return 2 * spb_ * layout_.columnsPerSample; }
    // Rows by Columns(), row-major, row 0 at vMin; empty without rows.
    std::vector<float> Density() const;
    std::size_t NonFiniteSamples() const { return nonFinite_; }

    // Bin counts at position p of the '1' (one) or '0' traces; empty
    // without histograms. Bin b covers vMin + b w .. vMin + (b + 1) w.
    std::vector<std::uint32_t> Histogram(int p, bool one) const;
    // The same bins' sums of values (their means are sums / counts).
    std::vector<double> HistogramSums(int p, bool one) const;
    double BinWidth() const;

    // At position p: the lowest '1' and highest '0' sample and how many of
    // each were folded.
    struct Extremes {
        double minOne = 0.0, maxZero = 0.0;
        std::size_t ones = 0, zeros = 0;
    };
    Extremes At(int p) const;
    // Whether every '1' sample at p lies above and every '0' below the
    // threshold, by how much at least (negative: by how much not);
    // -infinity where a level is missing.
    double Margin(int p, double threshold) const;

private:
    struct PositionStats {
        double minOne = 0.0, sumOne = 0.0;
        double maxZero = 0.0, sumZero = 0.0;
        std::size_t countOne = 0, countZero = 0;
    };

    void Allocate();
    void Draw(int phase, double y0, double y1);
    int Row(double y) const;
    long long Start(std::size_t k) const {
        return clock_ != nullptr ? (*clock_)[k] : static_cast<long long>(k) * spb_ + base_;
    }
    std::size_t KnownBits() const {
        return clock_ != nullptr ? std::min(clock_->size(), bits_.size()) : bits_.size();
    }
    void Fold(int p, std::size_t trace, double v, int bin);
    int Bin(double v) const;
    EyeMetrics Measure(int best, double position, double innerOne, double innerZero) const;

    Layout layout_;
    int spb_;
    int half_;
    const std::vector<std::uint8_t>& bits_;
    long long base_ = 0;                             // fixed latency: start of bit 0's trace
    const std::vector<long long>* clock_ = nullptr;  // or the table of starts
    std::size_t cursor_ = 0;                         // no trace before it takes samples any more
    bool inverted_;
    std::size_t firstBit_;
    std::vector<PositionStats> stats_;
    std::vector<float> density_;             // rows by spb * columnsPerSample: one UI
    std::vector<std::uint32_t> histograms_;  // position, level ('0', '1'), bin
    std::vector<double> histogramSums_;      // the same layout
    double rowScale_ = 0.0;                  // rows per volt
    double binScale_ = 0.0;                  // histogram bins per volt
    std::size_t bitsFolded_ = 0;
    std::size_t nonFinite_ = 0;
    bool havePrevious_ = false;
    std::size_t previousIndex_ = 0;
    double previous_ = 0.0;
};

}  // namespace amisim
