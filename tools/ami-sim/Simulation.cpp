#include "tools/ami-sim/Simulation.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>

#include "tools/ami-sim/AmiModel.h"
#include "tools/ami-sim/AmiParameterFile.h"
#include "tools/ami-sim/Bathtub.h"
#include "tools/ami-sim/BathtubSvg.h"
#include "tools/ami-sim/Channel.h"
#include "tools/ami-sim/EyeDiagram.h"
#include "tools/ami-sim/EyeSvg.h"
#include "tools/ami-sim/FftConvolver.h"
#include "tools/ami-sim/FrequencyDomainChannel.h"
#include "tools/ami-sim/JsonWriter.h"
#include "tools/ami-sim/Latency.h"
#include "tools/ami-sim/Prbs.h"
#include "tools/ami-sim/ThroughResponse.h"
#include "tools/ami-sim/Touchstone.h"

namespace amisim {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::string Fmt(const char* fmt, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

// Bits of the longest latency searched beyond the channel's own length: the
// models' filters and pipelines.
constexpr std::size_t kModelLatencyBits = 64;
// Bits after the settling interval used to find the latency.
constexpr std::size_t kCalibrationBits = 4096;
constexpr std::size_t kMinimumEyeBits = 16;
// Histogram bins over the eye plot's voltage range, for the bathtub curve.
constexpr int kHistogramBins = 400;
constexpr double kTargetBer = 1e-12;

class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool enabled, std::size_t totalBits)
        : err_(err), enabled_(enabled), total_(totalBits), last_(Clock::now())
    {
    }
    void Update(std::size_t doneBits)
    {
        if (!enabled_) return;
        const Clock::time_point now = Clock::now();
        if (now - last_ < std::chrono::milliseconds(200)) return;
        last_ = now;
        drawn_ = true;
        err_ << "\rami-sim: " << doneBits << " of " << total_ << " bits ("
             << static_cast<int>(100.0 * static_cast<double>(doneBits) / total_) << "%)   "
             << std::flush;
    }
    void Clear()
    {
        if (drawn_) err_ << '\r' << std::string(60, ' ') << '\r' << std::flush;
        drawn_ = false;
    }

private:
    std::ostream& err_;
    bool enabled_;
    std::size_t total_;
    Clock::time_point last_;
    bool drawn_ = false;
};

struct ModelSlot {
    const char* role;  // "transmitter" / "receiver"
    std::string library;
    std::string parameters;
    std::string amiFile;
    std::string parametersSource;
    AmiModel model;
    bool present() const { return !library.empty(); }
};

void FillStimulus(const std::vector<std::uint8_t>& bits, std::size_t spb, double amplitude,
                  std::size_t first, std::size_t n, double* out)
{
    for (std::size_t i = 0; i < n; ++i) out[i] = bits[(first + i) / spb] ? amplitude : -amplitude;
}

// The parameter string of a model given none on the command line: the
// defaults of its .ami file (named, or found beside the library), else just
// the model's name, which leaves every setting at the model's default.
bool ResolveParameters(ModelSlot& slot, std::ostream& err, bool quiet, std::string& error)
{
    const std::string root = AmiModel::RootName(slot.library);
    if (!slot.amiFile.empty()) {
        if (!ReadAmiDefaultParameters(slot.amiFile, slot.parameters, error)) return false;
        slot.parametersSource = slot.amiFile;
        return true;
    }
    const fs::path beside = fs::path(slot.library).parent_path() / (root + ".ami");
    std::error_code ec;
    if (fs::is_regular_file(beside, ec)) {
        std::string why;
        if (ReadAmiDefaultParameters(beside.string(), slot.parameters, why)) {
            slot.parametersSource = beside.string();
            return true;
        }
        if (!quiet) err << "ami-sim: warning: " << why << "; using (" << root << ")\n";
    }
    slot.parameters = "(" + root + ")";
    slot.parametersSource = "model name";
    return true;
}

bool RunModel(ModelSlot& slot, double* wave, std::size_t n, std::size_t block,
              std::size_t firstSample, double dt, std::string& error)
{
    if (!slot.present()) return true;
    for (std::size_t off = 0; off < n; off += block) {
        const std::size_t len = std::min(block, n - off);
        if (!slot.model.GetWave(wave + off, static_cast<long>(len), error)) {
            error += " on the block starting at sample " + std::to_string(firstSample + off) +
                     " (t = " + Fmt("%.6g", static_cast<double>(firstSample + off) * dt) + " s)";
            return false;
        }
    }
    return true;
}

class WaveCsv {
public:
    bool Open(const std::string& path, std::size_t samples, double dt, std::string& error)
    {
        limit_ = samples;
        dt_ = dt;
        if (samples == 0) return true;
        file_.reset(std::fopen(path.c_str(), "w"));
        if (!file_) {
            error = "cannot write " + path;
            return false;
        }
        std::fputs("time_s,stimulus_V,tx_out_V,rx_in_V,rx_out_V\n", file_.get());
        return true;
    }
    void Write(std::size_t first, std::size_t n, const double* stim, const double* tx,
               const double* rxIn, const double* rxOut)
    {
        if (!file_) return;
        for (std::size_t i = 0; i < n && first + i < limit_; ++i)
            std::fprintf(file_.get(), "%.9e,%.9g,%.9g,%.9g,%.9g\n",
                         static_cast<double>(first + i) * dt_, stim[i], tx[i], rxIn[i], rxOut[i]);
    }
    bool Close()
    {
        if (!file_) return true;
        const bool ok = std::ferror(file_.get()) == 0;
        return std::fclose(file_.release()) == 0 && ok;
    }

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::size_t limit_ = 0;
    double dt_ = 0.0;
};

bool WriteText(const std::string& path, const std::string& text, std::string& error)
{
    std::ofstream f(path, std::ios::binary);
    f << text;
    f.close();
    if (!f) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool BuildChannel(const Options& o, double dt, Channel& channel, std::string& error)
{
    if (o.channel == ChannelSource::LossyLine)
        return DesignLossyLine(o.lossDb, o.bitTime, dt, channel, error);
    const std::string file = fs::path(o.channelFile).filename().string();
    if (o.channel == ChannelSource::Touchstone) {
        NetworkData network;
        ThroughResponse through;
        if (!ReadTouchstone(o.channelFile, network, error)) return false;
        if (!SelectThrough(network, o.ports, through, error) ||
            !ChannelFromThrough(through, dt, channel, error)) {
            error = o.channelFile + ": " + error;
            return false;
        }
        channel.description = file + " " + channel.description;
        return true;
    }
    TimeValueTable table;
    if (!ReadTimeValueCsv(o.channelFile, table, error)) return false;
    const ResponseKind kind =
        o.channel == ChannelSource::ImpulseFile ? ResponseKind::Impulse : ResponseKind::Step;
    if (!ChannelFromTable(table, kind, dt, channel, error)) {
        error = o.channelFile + ": " + error;
        return false;
    }
    channel.description += " " + file;
    return true;
}

// What a finished run measured, for its summary and report.
struct RunRecord {
    const Options& o;
    std::size_t bits, spb, block, ignore, taps, waveSamples;
    double dt;
    const Channel& channel;
    ChannelFigures figures;
    long latency;
    LatencyEstimate estimate;
    EyeMetrics m;
    BathtubCurve tub;
    double timeChannelSetup, timeTx, timeChannel, timeRx, timeEye, runTime;
    bool closedOk;
    std::string pattName, svgPath, bathtubPath, csvPath, jsonPath;
};

// summary.json of a finished run.
std::string SummaryJson(const RunRecord& r, const ModelSlot& tx, const ModelSlot& rx,
                        std::size_t nonFinite)
{
    const Options& o = r.o;
    const std::size_t bits = r.bits, spb = r.spb, ignore = r.ignore, taps = r.taps;
    const double dt = r.dt;
    const Channel& channel = r.channel;
    const ChannelFigures& figures = r.figures;
    const long latency = r.latency;
    const LatencyEstimate& estimate = r.estimate;
    const EyeMetrics& m = r.m;
    const BathtubCurve& tub = r.tub;
    const std::size_t block = r.block;
    JsonWriter j;
    j.BeginObject()
        .Field("tool", "ami-sim")
        .Field("status", r.closedOk ? "ok" : "close_failed")
        .Field("bits", static_cast<long long>(bits))
        .Field("pattern", r.pattName)
        .Field("seed", static_cast<long long>(o.seed))
        .Field("bit_time_s", o.bitTime)
        .Field("samples_per_bit", static_cast<long long>(spb))
        .Field("sample_interval_s", dt)
        .Field("block_size", static_cast<long long>(block))
        .Field("amplitude_V", o.amplitude);
    j.BeginObject("channel")
        .Field("description", channel.description)
        .Field("taps", static_cast<long long>(taps))
        .Field("length_s", static_cast<double>(taps) * dt)
        .Field("dc_gain", figures.dcGain)
        .Field("loss_dB_at_nyquist", figures.lossDbAtNyquist)
        .Field("delay_s", figures.delay);
    if (o.channel == ChannelSource::LossyLine) j.Field("nominal_loss_dB_at_nyquist", o.lossDb);
    if (!o.channelFile.empty()) j.Field("file", o.channelFile);
    j.EndObject();
    for (const ModelSlot* slot : {&tx, &rx}) {
        const char* key = slot == &tx ? "tx" : "rx";
        if (!slot->present()) {
            j.Null(key);
            continue;
        }
        j.BeginObject(key)
            .Field("library", slot->library)
            .Field("parameters", slot->parameters)
            .Field("parameters_source", slot->parametersSource)
            .Field("init_message", slot->model.InitMessage())
            .Field("parameters_out", slot->model.ParametersOut())
            .EndObject();
    }
    j.Field("latency_samples", static_cast<long long>(latency))
        .Field("latency_s", static_cast<double>(latency) * dt)
        .Field("link_inverted", estimate.inverted)
        .Field("latency_correlation", estimate.correlation)
        .Field("ignored_bits", static_cast<long long>(ignore));
    j.BeginObject("eye")
        .Field("measured", m.measured)
        .Field("open", m.open)
        .Field("height_V", m.height)
        .Field("width_UI", m.width)
        .Field("width_s", m.width * o.bitTime)
        .Field("best_position_UI", m.bestPosition)
        .Field("threshold_V", m.threshold)
        .Field("level_one_V", m.levelOne)
        .Field("level_zero_V", m.levelZero)
        .Field("inner_one_V", m.innerOne)
        .Field("inner_zero_V", m.innerZero)
        .Field("bits_folded", static_cast<long long>(m.bitsFolded))
        .Field("width_UI_at_1e-12", tub.width)
        .Field("width_s_at_1e-12", tub.width * o.bitTime)
        .Field("ber_at_best_position", m.bestIndex >= 0 ? tub.ber[static_cast<std::size_t>(m.bestIndex)] : 0.5)
        .EndObject();
    j.Field("non_finite_samples", static_cast<long long>(nonFinite));
    j.BeginObject("time_s")
        .Field("channel_setup", r.timeChannelSetup)
        .Field("tx", r.timeTx)
        .Field("channel", r.timeChannel)
        .Field("rx", r.timeRx)
        .Field("eye", r.timeEye)
        .Field("total", r.runTime)
        .EndObject();
    j.BeginObject("files")
        .Field("eye_svg", "eye.svg")
        .Field("bathtub_svg", "bathtub.svg")
        .Field("waves_csv", r.waveSamples > 0 ? "waves.csv" : "")
        .EndObject();
    j.EndObject();
    return j.Text();
}

// The report on standard output.
void PrintReport(const RunRecord& r, std::ostream& out)
{
    const Options& o = r.o;
    const std::size_t bits = r.bits, spb = r.spb, ignore = r.ignore, taps = r.taps;
    const double dt = r.dt;
    const Channel& channel = r.channel;
    const ChannelFigures& figures = r.figures;
    const long latency = r.latency;
    const LatencyEstimate& estimate = r.estimate;
    const EyeMetrics& m = r.m;
    const BathtubCurve& tub = r.tub;
    out << "ami-sim: " << bits << " bits " << r.pattName << ", " << spb << " samples/bit, UI "
        << Fmt("%.4g", o.bitTime * 1e12) << " ps\n"
        << "  channel:   " << channel.description << ", " << taps << " taps ("
        << Fmt("%.4g", static_cast<double>(taps) * dt * 1e9) << " ns)\n"
        << "             DC gain " << Fmt("%.4f", figures.dcGain) << ", "
        << Fmt("%.2f", figures.lossDbAtNyquist) << " dB at Nyquist, delay "
        << Fmt("%.1f", figures.delay * 1e12) << " ps (built in "
        << Fmt("%.3f", r.timeChannelSetup) << " s)\n"
        << "  latency:   " << latency << " samples (" << Fmt("%.3f", static_cast<double>(latency) / spb)
        << " UI)" << (estimate.inverted ? ", link inverts" : "") << "; " << ignore
        << " settling bits ignored\n";
    if (!m.measured) {
        out << "  eye:       not measured (no '1' and '0' bits folded)\n";
    } else if (!m.open) {
        out << "  eye:       closed (" << m.bitsFolded << " bits folded)\n";
    } else {
        out << "  eye height " << Fmt("%.4f", m.height) << " V at "
            << Fmt("%.3f", m.bestPosition) << " UI, threshold " << Fmt("%.4f", m.threshold)
            << " V\n"
            << "  eye width  " << Fmt("%.3f", m.width) << " UI ("
            << Fmt("%.1f", m.width * o.bitTime * 1e12) << " ps), " << m.bitsFolded
            << " bits folded\n"
            << "  at BER 1e-12: eye width " << Fmt("%.3f", tub.width) << " UI ("
            << Fmt("%.1f", tub.width * o.bitTime * 1e12) << " ps)\n";
    }
    out << "  time:      " << Fmt("%.2f", r.runTime) << " s (tx " << Fmt("%.2f", r.timeTx)
        << ", channel " << Fmt("%.2f", r.timeChannel) << ", rx " << Fmt("%.2f", r.timeRx)
        << ", eye " << Fmt("%.2f", r.timeEye) << ")\n"
        << "  wrote      " << r.svgPath << ", " << r.bathtubPath << ", " << (r.waveSamples > 0 ? r.csvPath + ", " : "")
        << r.jsonPath << '\n';
}

}  // namespace

int RunSimulation(const Options& o, std::ostream& out, std::ostream& err, bool showProgress)
{
    const Clock::time_point started = Clock::now();
    const std::size_t spb = static_cast<std::size_t>(o.samplesPerBit);
    const double dt = o.bitTime / o.samplesPerBit;
    std::string error;
    auto fail = [&](int code) {
        err << "ami-sim: " << error << '\n';
        return code;
    };

    // Channel.
    Channel channel;
    if (!BuildChannel(o, dt, channel, error)) return fail(kExitRunFailure);
    const double timeChannelSetup = Seconds(Clock::now() - started);
    const ChannelFigures figures = MeasureChannel(channel, dt, o.bitTime);
    const std::size_t taps = channel.taps.size();

    // Run length, settling interval and latency search.
    const std::size_t bits = static_cast<std::size_t>(o.bits);
    const std::size_t total = bits * spb;
    const std::size_t channelBits = (taps + spb - 1) / spb;
    const std::size_t ignore = o.ignoreBits >= 0
                                   ? static_cast<std::size_t>(o.ignoreBits)
                                   : std::min(channelBits + 32, bits / 4);
    const std::size_t maxLag = taps + kModelLatencyBits * spb;
    const std::size_t needed = ignore * spb + maxLag + kMinimumEyeBits * spb;
    if (needed > total) {
        error = "too few bits: " + std::to_string(bits) + " bits leave no eye after " +
                std::to_string(ignore) + " settling bits and a latency search of " +
                std::to_string((maxLag + spb - 1) / spb) + " bits; use --bits " +
                std::to_string((needed + spb - 1) / spb) + " or more";
        return fail(kExitUsage);
    }
    const std::size_t window = std::min(kCalibrationBits * spb, total - ignore * spb - maxLag);
    const std::size_t calibrationEnd = ignore * spb + window + maxLag;

    // Output files are opened before the run, so a bad directory costs
    // nothing.
    const std::filesystem::path dir(o.outputDirectory);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = "cannot create output directory " + o.outputDirectory + ": " + ec.message();
        return fail(kExitRunFailure);
    }
    const std::string svgPath = (dir / "eye.svg").string();
    const std::string csvPath = (dir / "waves.csv").string();
    const std::string jsonPath = (dir / "summary.json").string();
    const std::string bathtubPath = (dir / "bathtub.svg").string();
    WaveCsv waves;
    const std::size_t waveSamples =
        std::min(total, static_cast<std::size_t>(o.waveBits) * spb);
    if (!waves.Open(csvPath, waveSamples, dt, error)) return fail(kExitRunFailure);

    // Models.
    ModelSlot tx{"transmitter", o.txLibrary, o.txParameters, o.txAmiFile, "command line", {}};
    ModelSlot rx{"receiver", o.rxLibrary, o.rxParameters, o.rxAmiFile, "command line", {}};
    std::vector<double> impulse(channel.taps);  // AMI_Init wants the response in 1/s
    for (double& v : impulse) v /= dt;
    for (ModelSlot* slot : {&tx, &rx}) {
        if (!slot->present()) continue;
        if (slot->parameters.empty() && !ResolveParameters(*slot, err, o.quiet, error))
            return fail(kExitRunFailure);
        if (!slot->model.Load(slot->library, error)) return fail(kExitRunFailure);
        const bool ok = slot->model.Init(impulse, dt, o.bitTime, slot->parameters, error);
        if (!ok) return fail(kExitRunFailure);
        if (!o.quiet && !slot->model.InitMessage().empty())
            err << "ami-sim: " << slot->role << " " << slot->library
                << " AMI_Init message: " << slot->model.InitMessage() << '\n';
    }

    // Pattern.
    std::vector<std::uint8_t> pattern(bits);
    Prbs prbs(o.prbsOrder, o.seed);
    for (auto& b : pattern) b = static_cast<std::uint8_t>(prbs.NextBit());

    // The link, segment by segment.
    const std::size_t block = static_cast<std::size_t>(o.blockSize);
    FftConvolver conv(channel.taps, block);
    const std::size_t segment = std::max(block, conv.MaxChunk() / block * block);
    std::vector<double> stim(segment), txOut(segment), rxIn(segment), rxOut(segment);
    std::vector<double> pending;
    std::unique_ptr<EyeDiagram> eye;
    LatencyEstimate estimate;
    long latency = 0;
    double timeTx = 0, timeChannel = 0, timeRx = 0, timeEye = 0;

    auto calibrate = [&]() {
        const std::size_t s0 = ignore * spb;
        const std::size_t w = std::min(window, pending.size() > s0 + maxLag
                                                   ? pending.size() - s0 - maxLag
                                                   : std::size_t{0});
        std::vector<double> reference(w);
        FillStimulus(pattern, spb, o.amplitude, s0, w, reference.data());
        estimate = EstimateLatency(reference.data(), pending.data() + s0, w, maxLag);

        // Centre the eye: move the latency so that the best sampling
        // position of this stretch falls in the middle of the plot.
        EyeDiagram::Layout probe;
        probe.samplesPerBit = o.samplesPerBit;
        EyeDiagram trial(probe, pattern, estimate.lag, estimate.inverted, ignore);
        trial.Add(0, pending.data(), pending.size());
        const EyeMetrics tm = trial.Metrics();
        latency = estimate.lag;
        if (tm.measured) latency += tm.bestIndex - trial.CentrePosition();
        latency = std::max(latency, 0L);

        double lo = INFINITY, hi = -INFINITY;
        for (std::size_t i = s0; i < pending.size(); ++i) {
            if (!std::isfinite(pending[i])) continue;
            lo = std::min(lo, pending[i]);
            hi = std::max(hi, pending[i]);
        }
        if (!(hi >= lo)) lo = hi = 0.0;
        const double pad = hi > lo ? 0.12 * (hi - lo) : 0.1 * std::fabs(hi) + 1e-3;
        EyeDiagram::Layout layout;
        layout.samplesPerBit = o.samplesPerBit;
        layout.vMin = lo - pad;
        layout.vMax = hi + pad;
        layout.rows = 240;
        layout.columnsPerSample = std::max(1, 256 / (2 * o.samplesPerBit));
        layout.histogramBins = kHistogramBins;
        eye = std::make_unique<EyeDiagram>(layout, pattern, latency, estimate.inverted, ignore);
        eye->Add(0, pending.data(), pending.size());
        std::vector<double>().swap(pending);
    };

    ProgressLine progress(err, showProgress && !o.quiet, bits);
    for (std::size_t start = 0; start < total; start += segment) {
        const std::size_t n = std::min(segment, total - start);
        FillStimulus(pattern, spb, o.amplitude, start, n, stim.data());

        Clock::time_point t = Clock::now();
        std::copy(stim.begin(), stim.begin() + static_cast<std::ptrdiff_t>(n), txOut.begin());
        if (!RunModel(tx, txOut.data(), n, block, start, dt, error)) {
            progress.Clear();
            return fail(kExitRunFailure);
        }
        Clock::time_point t2 = Clock::now();
        timeTx += Seconds(t2 - t);
        conv.Process(txOut.data(), rxIn.data(), n);
        t = Clock::now();
        timeChannel += Seconds(t - t2);
        std::copy(rxIn.begin(), rxIn.begin() + static_cast<std::ptrdiff_t>(n), rxOut.begin());
        if (!RunModel(rx, rxOut.data(), n, block, start, dt, error)) {
            progress.Clear();
            return fail(kExitRunFailure);
        }
        t2 = Clock::now();
        timeRx += Seconds(t2 - t);

        waves.Write(start, n, stim.data(), txOut.data(), rxIn.data(), rxOut.data());
        if (!eye) {
            pending.insert(pending.end(), rxOut.begin(), rxOut.begin() + static_cast<std::ptrdiff_t>(n));
            if (pending.size() >= calibrationEnd) calibrate();
        } else {
            eye->Add(start, rxOut.data(), n);
        }
        timeEye += Seconds(Clock::now() - t2);
        progress.Update((start + n) / spb);
    }
    progress.Clear();
    if (!eye) calibrate();  // not reached: the run is at least calibrationEnd long

    bool closedOk = true;
    for (ModelSlot* slot : {&tx, &rx}) {
        std::string closeError;
        if (slot->present() && !slot->model.Close(closeError)) {
            err << "ami-sim: " << closeError << '\n';
            closedOk = false;
        }
    }
    if (!waves.Close()) {
        error = "cannot write " + csvPath;
        return fail(kExitRunFailure);
    }

    // Results.
    const EyeMetrics m = eye->Metrics();
    const double runTime = Seconds(Clock::now() - started);
    const std::string pattName = Prbs::Name(o.prbsOrder);
    EyePlotText plot;
    plot.bitTime = o.bitTime;
    plot.title = "Eye diagram: " + pattName + ", " + std::to_string(bits) + " bits, " +
                 Fmt("%.4g", 1e-9 / o.bitTime) + " Gb/s";
    auto describe = [](const ModelSlot& slot) {
        if (!slot.present()) return std::string("none");
        return fs::path(slot.library).filename().string() + " " + slot.parameters;
    };
    plot.notes = {"Tx: " + describe(tx) + "    Rx: " + describe(rx),
                  "Channel: " + channel.description + ": DC gain " + Fmt("%.3f", figures.dcGain) +
                      ", loss " + Fmt("%.2f dB", figures.lossDbAtNyquist) + " at Nyquist, delay " +
                      Fmt("%.4g ns", figures.delay * 1e9)};
    if (!WriteText(svgPath, RenderEyeSvg(*eye, m, plot), error)) return fail(kExitRunFailure);
    const BathtubCurve tub = ComputeBathtub(*eye, m, kTargetBer);
    EyePlotText tubText = plot;
    tubText.title = "Bathtub curve: " + pattName + ", " + std::to_string(bits) + " bits, " +
                    Fmt("%.4g", 1e-9 / o.bitTime) + " Gb/s";
    if (!WriteText(bathtubPath, RenderBathtubSvg(tub, tubText), error)) return fail(kExitRunFailure);

    const RunRecord record{o, bits, spb, block, ignore, taps, waveSamples, dt, channel,
                           figures, latency, estimate, m, tub, timeChannelSetup, timeTx,
                           timeChannel, timeRx, timeEye, runTime, closedOk, pattName,
                           svgPath, bathtubPath, csvPath, jsonPath};
    if (!WriteText(jsonPath, SummaryJson(record, tx, rx, eye->NonFiniteSamples()), error))
        return fail(kExitRunFailure);

    if (eye->NonFiniteSamples() > 0)
        err << "ami-sim: warning: the receiver output held " << eye->NonFiniteSamples()
            << " samples that are not finite numbers; they are left out of the eye\n";
    if (!o.quiet) PrintReport(record, out);
    return closedOk ? kExitSuccess : kExitRunFailure;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   bool showProgress)
{
    Options options;
    std::string error;
    switch (ParseOptions(args, options, error)) {
    case ParseStatus::Help:
        out << HelpText();
        return kExitSuccess;
    case ParseStatus::Error:
        err << "ami-sim: " << error << "\nTry 'ami-sim --help'.\n";
        return kExitUsage;
    case ParseStatus::Run:
        break;
    }
    try {
        return RunSimulation(options, out, err, showProgress);
    } catch (const std::bad_alloc&) {
        err << "ami-sim: out of memory\n";
    } catch (const std::exception& e) {
        err << "ami-sim: " << e.what() << '\n';
    }
    return kExitRunFailure;
}

}  // namespace amisim
