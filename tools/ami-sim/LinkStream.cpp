#include "tools/ami-sim/LinkStream.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "tools/ami-sim/FftConvolver.h"

namespace amisim {

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool enabled, std::size_t totalBits)
        : err_(err), enabled_(enabled), total_(totalBits), last_(Clock::now()) {}
    ~ProgressLine() {
        if (drawn_) err_ << '\r' << std::string(60, ' ') << '\r' << std::flush;
    }
    void Update(std::size_t doneBits) {
        if (!enabled_) return;
        const Clock::time_point now = Clock::now();
        if (now - last_ < std::chrono::milliseconds(200)) return;
        last_ = now;
        drawn_ = true;
        err_ << "\rami-sim: " << doneBits << " of " << total_ << " bits ("
             << static_cast<int>(100.0 * static_cast<double>(doneBits) / total_) << "%)   "
             << std::flush;
    }

private:
    std::ostream& err_;
    bool enabled_;
    std::size_t total_;
    Clock::time_point last_;
    bool drawn_ = false;
};

// The receiver output of one segment goes to the sampler and, once it has
// its clock, to the statistics stage.
void Deliver(LinkRun& run, std::size_t start, const double* y, std::size_t n) {
    const Clock::time_point t = Clock::now();
    Sampler& sampler = *run.sampler;
    LinkStatistics& stats = run.statistics;
    sampler.Take(start, y, n);
    if (sampler.Acquired() && !stats.Started())
        stats.Start(run.plan, run.window, run.stimulus, sampler);
    if (stats.Started()) stats.Fold(sampler);
    stats.seconds += Seconds(Clock::now() - t);
}

}  // namespace

bool StreamLink(LinkRun& run, std::ostream& err, bool showProgress, std::string& error) {
    const std::size_t total = run.window.totalSamples;
    const std::size_t spb = run.window.samplesPerBit;
    const std::size_t block = run.plan.blockSize;
    FftConvolver conv(run.channel.channel.taps, block);
    const std::size_t segment = std::max(block, conv.MaxChunk() / block * block);
    std::vector<double> stim(segment), txOut(segment), rxIn(segment), rxOut(segment);
    run.sampler = std::make_unique<Sampler>(run.plan, run.window, run.stimulus, run.models);

    ProgressLine progress(err, showProgress && !run.plan.quiet, run.window.bits);
    for (std::size_t start = 0; start < total; start += segment) {
        const std::size_t n = std::min(segment, total - start);
        run.stimulus.Fill(start, n, stim.data());
        std::copy(stim.begin(), stim.begin() + static_cast<std::ptrdiff_t>(n), txOut.begin());
        if (!RunModel(run.models, run.models.tx, txOut.data(), n, start, error)) return false;
        const Clock::time_point t = Clock::now();
        conv.Process(txOut.data(), rxIn.data(), n);
        run.channelSeconds += Seconds(Clock::now() - t);
        std::copy(rxIn.begin(), rxIn.begin() + static_cast<std::ptrdiff_t>(n), rxOut.begin());
        if (!RunModel(run.models, run.models.rx, rxOut.data(), n, start, error)) return false;
        run.files.waves.Write(start, n, stim.data(), txOut.data(), rxIn.data(), rxOut.data());
        Deliver(run, start, rxOut.data(), n);
        progress.Update((start + n) / spb);
    }
    const Clock::time_point t = Clock::now();
    run.sampler->Finish();
    if (!run.statistics.Started())
        run.statistics.Start(run.plan, run.window, run.stimulus, *run.sampler);
    run.statistics.Fold(*run.sampler);
    run.statistics.seconds += Seconds(Clock::now() - t);
    return true;
}

}  // namespace amisim
