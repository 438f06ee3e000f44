#include "tools/ami-sim/RunReport.h"

#include <cstdio>
#include <filesystem>

#include "tools/ami-sim/BathtubSvg.h"
#include "tools/ami-sim/EyeSvg.h"
#include "tools/ami-sim/JsonWriter.h"
#include "tools/ami-sim/Prbs.h"

namespace amisim {

namespace {

std::string Fmt(const char* fmt, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

std::string Describe(const LinkModel& m) {
    if (!m.present()) return "none";
    return std::filesystem::path(m.plan.library).filename().string() + " " + m.plan.parameters;
}

// Title and notes shared by the pictures.
EyePlotText PlotText(const LinkRun& run, const char* what) {
    const LinkPlan& p = run.plan;
    const ChannelFigures& f = run.channel.figures;
    EyePlotText t;
    t.bitTime = p.bitTime;
    t.title = std::string(what) + ": " + Prbs::Name(p.prbsOrder) + ", " + std::to_string(p.bits) +
              " bits, " + Fmt("%.4g", 1e-9 / p.bitTime) + " Gb/s";
    t.notes = {"Tx: " + Describe(run.models.tx) + "    Rx: " + Describe(run.models.rx),
               "Channel: " + run.channel.channel.description + ": DC gain " +
                   Fmt("%.3f", f.dcGain) + ", loss " + Fmt("%.2f dB", f.lossDbAtNyquist) +
                   " at Nyquist, delay " + Fmt("%.4g ns", f.delay * 1e9)};
    return t;
}

void ChannelJson(const LinkRun& run, JsonWriter& j) {
    const LinkPlan& p = run.plan;
    const std::size_t taps = run.channel.channel.taps.size();
    const ChannelFigures& f = run.channel.figures;
    j.BeginObject("channel")
        .Field("description", run.channel.channel.description)
        .Field("taps", static_cast<long long>(taps))
        .Field("length_s", static_cast<double>(taps) * p.sampleInterval)
        .Field("dc_gain", f.dcGain)
        .Field("loss_dB_at_nyquist", f.lossDbAtNyquist)
        .Field("delay_s", f.delay);
    if (p.channel.source == ChannelSource::LossyLine)
        j.Field("nominal_loss_dB_at_nyquist", p.channel.lossDb);
    if (!p.channel.file.empty()) j.Field("file", p.channel.file);
    j.EndObject();
}

void ModelsJson(const LinkRun& run, JsonWriter& j) {
    for (const LinkModel* m : {&run.models.tx, &run.models.rx}) {
        const char* key = m == &run.models.tx ? "tx" : "rx";
        if (!m->present()) {
            j.Null(key);
            continue;
        }
        j.BeginObject(key)
            .Field("library", m->plan.library)
            .Field("parameters", m->plan.parameters)
            .Field("parameters_source", m->plan.parametersSource)
            .Field("init_message", m->model.InitMessage())
            .Field("parameters_out", m->model.ParametersOut())
            .EndObject();
    }
}

void EyeJson(const LinkRun& run, JsonWriter& j) {
    const double ui = run.plan.bitTime;
    const EyeMetrics& m = run.statistics.Metrics();
    const BathtubCurve& tub = run.statistics.Tub();
    j.BeginObject("eye")
        .Field("measured", m.measured)
        .Field("open", m.open)
        .Field("height_V", m.height)
        .Field("width_UI", m.width)
        .Field("width_s", m.width * ui)
        .Field("best_position_UI", m.bestPosition)
        .Field("threshold_V", m.threshold)
        .Field("level_one_V", m.levelOne)
        .Field("level_zero_V", m.levelZero)
        .Field("inner_one_V", m.innerOne)
        .Field("inner_zero_V", m.innerZero)
        .Field("bits_folded", static_cast<long long>(m.bitsFolded))
        .Field("width_UI_at_1e-12", tub.width)
        .Field("width_s_at_1e-12", tub.width * ui)
        .Field("ber_at_sampling_instant", tub.berAtSampling)
        .EndObject();
}

const char* ClockName(ClockChoice c) {
    switch (c) {
        case ClockChoice::Auto:
            return "auto";
        case ClockChoice::BangBang:
            return "bang-bang clock recovery";
        case ClockChoice::MuellerMuller:
            return "Mueller-Muller clock recovery";
        case ClockChoice::Centre:
            return "centre of the widest opening";
        case ClockChoice::ClockTimes:
            return "receiver clock_times";
    }
    return "";
}

void SamplingJson(const LinkRun& run, JsonWriter& j) {
    const SamplerReport& r = run.sampler->Report();
    j.BeginObject("sampling").Field("method", ClockName(r.method));
    if (r.method == ClockChoice::BangBang || r.method == ClockChoice::MuellerMuller)
        j.Field("loop_gain_UI", r.gainUi).Field("loop_integral_UI", r.integralUi);
    j.Field("decision_threshold_V", r.threshold)
        .Field("phase_UI", r.phaseUi)
        .Field("phase_rms_UI", r.phaseRmsUi)
        .Field("phase_min_UI", r.phaseLowUi)
        .Field("phase_max_UI", r.phaseHighUi)
        .Field("position_in_eye_UI", run.statistics.Eye().PositionToUi(r.position))
        .Field("clock_times_returned", static_cast<long long>(r.clockTimes))
        .Field("clock_times_used", static_cast<long long>(r.clockTimesUsed))
        .Field("sampled_bits", static_cast<long long>(r.sampledBits))
        .EndObject();
}

void TimesJson(const LinkRun& run, JsonWriter& j) {
    j.BeginObject("time_s")
        .Field("channel_setup", run.channel.setupSeconds)
        .Field("tx", run.models.tx.seconds)
        .Field("channel", run.channelSeconds)
        .Field("rx", run.models.rx.seconds)
        .Field("eye", run.statistics.seconds)
        .Field("total", run.totalSeconds)
        .EndObject();
}

}  // namespace

std::vector<std::string> RunWarnings(const LinkRun& run) {
    std::vector<std::string> all = run.plan.warnings;
    all.insert(all.end(), run.channel.warnings.begin(), run.channel.warnings.end());
    if (run.sampler) {
        const std::vector<std::string>& s = run.sampler->Report().warnings;
        all.insert(all.end(), s.begin(), s.end());
    }
    return all;
}

bool WriteRunFiles(const LinkRun& run, std::string& error) {
    const LinkStatistics& s = run.statistics;
    return WriteTextFile(run.files.eyeSvg,
                         RenderEyeSvg(s.Eye(), s.Metrics(), PlotText(run, "Eye diagram")), error) &&
           WriteTextFile(run.files.bathtubSvg,
                         RenderBathtubSvg(s.Tub(), PlotText(run, "Bathtub curve")), error) &&
           WriteTextFile(run.files.summaryJson, SummaryJson(run), error);
}

std::string SummaryJson(const LinkRun& run) {
    const LinkPlan& p = run.plan;
    const Sampler& sampler = *run.sampler;
    JsonWriter j;
    j.BeginObject()
        .Field("tool", "ami-sim")
        .Field("status", run.models.closedOk ? "ok" : "close_failed")
        .Field("bits", static_cast<long long>(p.bits))
        .Field("pattern", Prbs::Name(p.prbsOrder))
        .Field("seed", static_cast<long long>(p.seed))
        .Field("bit_time_s", p.bitTime)
        .Field("samples_per_bit", static_cast<long long>(p.samplesPerBit))
        .Field("sample_interval_s", p.sampleInterval)
        .Field("block_size", static_cast<long long>(p.blockSize))
        .Field("amplitude_V", p.amplitude);
    ChannelJson(run, j);
    ModelsJson(run, j);
    j.Field("latency_samples", static_cast<long long>(sampler.Latency()))
        .Field("latency_s", static_cast<double>(sampler.Latency()) * p.sampleInterval)
        .Field("link_inverted", sampler.Estimate().inverted)
        .Field("latency_correlation", sampler.Estimate().correlation)
        .Field("ignored_bits", static_cast<long long>(run.window.ignoreBits));
    SamplingJson(run, j);
    EyeJson(run, j);
    j.Field("non_finite_samples", static_cast<long long>(run.statistics.Eye().NonFiniteSamples()));
    j.BeginArray("warnings");
    for (const std::string& w : RunWarnings(run)) j.Field("", w);
    j.EndArray();
    TimesJson(run, j);
    j.BeginObject("files")
        .Field("eye_svg", "eye.svg")
        .Field("bathtub_svg", "bathtub.svg")
        .Field("waves_csv", run.files.waveSamples > 0 ? "waves.csv" : "")
        .EndObject();
    j.EndObject();
    return j.Text();
}

void PrintReport(const LinkRun& run, std::ostream& out) {
    const LinkPlan& p = run.plan;
    const std::size_t taps = run.channel.channel.taps.size();
    const ChannelFigures& f = run.channel.figures;
    const Sampler& sampler = *run.sampler;
    const EyeMetrics& m = run.statistics.Metrics();
    const BathtubCurve& tub = run.statistics.Tub();
    const long latency = sampler.Latency();
    out << "ami-sim: " << p.bits << " bits " << Prbs::Name(p.prbsOrder) << ", " << p.samplesPerBit
        << " samples/bit, UI " << Fmt("%.4g", p.bitTime * 1e12) << " ps\n"
        << "  channel:   " << run.channel.channel.description << ", " << taps << " taps ("
        << Fmt("%.4g", static_cast<double>(taps) * p.sampleInterval * 1e9) << " ns)\n"
        << "             DC gain " << Fmt("%.4f", f.dcGain) << ", "
        << Fmt("%.2f", f.lossDbAtNyquist) << " dB at Nyquist, delay " << Fmt("%.1f", f.delay * 1e12)
        << " ps (built in " << Fmt("%.3f", run.channel.setupSeconds) << " s)\n"
        << "  latency:   " << latency << " samples ("
        << Fmt("%.3f", static_cast<double>(latency) / p.samplesPerBit) << " UI)"
        << (sampler.Estimate().inverted ? ", link inverts" : "") << "; " << run.window.ignoreBits
        << " settling bits ignored\n";
    if (!m.measured) {
        out << "  eye:       not measured (no '1' and '0' bits folded)\n";
    } else if (!m.open) {
        out << "  eye:       closed (" << m.bitsFolded << " bits folded)\n";
    } else {
        out << "  eye height " << Fmt("%.4f", m.height) << " V at " << Fmt("%.3f", m.bestPosition)
            << " UI, threshold " << Fmt("%.4f", m.threshold) << " V\n"
            << "  eye width  " << Fmt("%.3f", m.width) << " UI ("
            << Fmt("%.1f", m.width * p.bitTime * 1e12) << " ps), " << m.bitsFolded
            << " bits folded\n"
            << "  at BER 1e-12: eye width " << Fmt("%.3f", tub.width) << " UI ("
            << Fmt("%.1f", tub.width * p.bitTime * 1e12) << " ps)\n";
    }
    const RunFiles& files = run.files;
    out << "  time:      " << Fmt("%.2f", run.totalSeconds) << " s (tx "
        << Fmt("%.2f", run.models.tx.seconds) << ", channel " << Fmt("%.2f", run.channelSeconds)
        << ", rx " << Fmt("%.2f", run.models.rx.seconds) << ", eye "
        << Fmt("%.2f", run.statistics.seconds) << ")\n"
        << "  wrote      " << files.eyeSvg << ", " << files.bathtubSvg << ", "
        << (files.waveSamples > 0 ? files.wavesCsv + ", " : "") << files.summaryJson << '\n';
}

}  // namespace amisim
