#include "tools/ami-sim/RunReport.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tools/ami-sim/BathtubSvg.h"
#include "tools/ami-sim/EyeSvg.h"
#include "tools/ami-sim/JsonWriter.h"
#include "tools/ami-sim/KitPlan.h"
#include "tools/ami-sim/PlotData.h"
#include "tools/ami-sim/Prbs.h"

namespace amisim {

namespace {

const char* const kBerMethod =
    "statistical: the folded bits' per-phase histograms through the Gaussian receiver noise, "
    "spread over the sampling clock's jitter distribution (Gaussian Rj, dual-Dirac Dj and DCD, "
    "arcsine Sj); without noise and jitter it is the counted ratio";

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
        const ModelPlan& p = m->plan;
        j.BeginObject(key)
            .Field("library", p.library)
            .Field("parameters", p.parameters)
            .Field("parameters_source", p.parametersSource);
        if (!p.kitModel.empty())
            j.Field("model", p.kitModel).Field("pins", p.pins).Field("executable", p.executable);
        if (p.hasAmi) j.Field("ami_file", p.amiFile);
        j.BeginObject("settings");
        for (const auto& s : p.settings) j.Field(s.first, s.second);
        j.EndObject()
            .Field("init_message", m->model.InitMessage())
            .Field("parameters_out", m->model.ParametersOut())
            .EndObject();
    }
}

void EndJson(JsonWriter& j, const char* key, const AnalogEnd& e) {
    j.BeginObject(key).Field("model", e.model).Field("component", e.component);
    if (e.Open())
        j.Null("resistance_ohm");
    else
        j.Field("resistance_ohm", e.resistance);
    j.Field("resistance_source", e.resistanceSource);
    if (e.driver)
        j.Field("r_high_ohm", e.rHigh)
            .Field("r_low_ohm", e.rLow)
            .Field("v_high_V", e.vHigh)
            .Field("v_low_V", e.vLow);
    else
        j.Field("bias_V", e.bias);
    j.Field("c_comp_F", e.cComp).BeginArray("package");
    for (const PackageLeg& l : e.legs)
        j.BeginObject()
            .Field("pin", l.pin)
            .Field("r_ohm", l.r)
            .Field("l_H", l.l)
            .Field("c_F", l.c)
            .Field("source", l.source)
            .EndObject();
    j.EndArray().EndObject();
}

// The kit and the analog ends, when the models come from a kit.
void KitJson(const LinkRun& run, JsonWriter& j) {
    const LinkPlan& p = run.plan;
    if (p.kitFile.empty()) {
        j.Null("kit");
        return;
    }
    j.BeginObject("kit")
        .Field("ibs", p.kitFile)
        .Field("component", p.component)
        .Field("corner", CornerName(p.corner))
        .Field("platform", std::string(HostPlatform()) + " " + std::to_string(HostBits()) + "-bit")
        .EndObject();
    const LinkChannel& c = run.channel;
    j.BeginObject("analog").Field("applied", c.analog);
    if (!c.analog) {
        j.Field("note", p.analog.note).EndObject();
        return;
    }
    j.Field("channel_as", c.analogAs);
    EndJson(j, "driver", p.analog.tx);
    EndJson(j, "receiver", p.analog.rx);
    j.Field("loss_dB_at_nyquist_bare", c.bare.lossDbAtNyquist)
        .Field("loss_dB_at_nyquist", c.figures.lossDbAtNyquist)
        .Field("dc_gain_bare", c.bare.dcGain)
        .Field("dc_gain", c.figures.dcGain)
        .EndObject();
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
        .Field("sampling_position_UI", m.bestPosition)
        .Field("threshold_V", m.threshold)
        .Field("level_one_V", m.levelOne)
        .Field("level_zero_V", m.levelZero)
        .Field("inner_one_V", m.innerOne)
        .Field("inner_zero_V", m.innerZero)
        .Field("bits_folded", static_cast<long long>(m.bitsFolded))
        .Field("pattern_covered", run.statistics.PatternCovered())
        .Field("width_UI_at_1e-12", tub.width)
        .Field("width_s_at_1e-12", tub.width * ui)
        .Field("height_V_at_1e-12", run.statistics.Contour().heightAtTarget)
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

void SettingJson(JsonWriter& j, const char* key, const Setting& s) {
    j.BeginObject(key).Field("value", s.value).Field("source", s.source).EndObject();
}

void ImpairmentsJson(const LinkRun& run, JsonWriter& j) {
    const Impairments& m = run.plan.impairments;
    j.BeginObject("impairments");
    SettingJson(j, "tx_rj_rms_s", m.txRj);
    SettingJson(j, "tx_dj_pp_s", m.txDj);
    SettingJson(j, "tx_dcd_pp_s", m.txDcd);
    SettingJson(j, "tx_sj_amplitude_s", m.txSj);
    SettingJson(j, "tx_sj_frequency_Hz", m.txSjFrequency);
    SettingJson(j, "rx_noise_rms_V", m.rxNoise);
    SettingJson(j, "rx_rj_rms_s", m.rxRj);
    SettingJson(j, "rx_dj_pp_s", m.rxDj);
    SettingJson(j, "rx_dcd_pp_s", m.rxDcd);
    SettingJson(j, "rx_sj_amplitude_s", m.rxSj);
    SettingJson(j, "rx_sensitivity_V", m.rxSensitivity);
    j.EndObject();
}

void BerMethodJson(const LinkRun& run, JsonWriter& j) {
    const LinkStatistics& s = run.statistics;
    const BerInputs& in = s.Inputs();
    const Impairments& m = run.plan.impairments;
    const CountedDecisions& c = s.Counted();
    j.BeginObject("ber_method")
        .Field("method", kBerMethod)
        .Field("threshold_V", in.threshold)
        .Field("noise_rms_V", in.noise)
        .Field("sensitivity_V", in.sensitivity)
        .Field("sampling_rj_rms_s", std::hypot(m.txRj.value, m.rxRj.value))
        .Field("sampling_dj_pp_s", m.rxDj.value)
        .Field("sampling_dcd_pp_s", m.rxDcd.value)
        .Field("sampling_sj_amplitude_s", m.rxSj.value)
        .Field("edge_jitter",
               "Tx Dj, DCD and Sj move the stimulus edges; Tx Rj acts at the sampler")
        .Field("target_ber", s.Tub().targetBer)
        .Field("countable_ber", s.Tub().countable);
    j.BeginObject("counted")
        .Field("bits", static_cast<long long>(c.bits))
        .Field("errors", static_cast<long long>(c.errors))
        .Field("ber", c.ber)
        .Field("errors_expected", c.expected)
        .EndObject();
    j.EndObject();
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
    const RunFiles& f = run.files;
    EyeOverlay overlay;
    overlay.contour = &s.Contour();
    overlay.targetBer = s.Tub().targetBer;
    overlay.widthAtTarget = s.Tub().width;
    const CountedMark counted{s.Counted().bits, s.Counted().errors};
    return WriteTextFile(f.eyeSvg,
                         RenderEyeSvg(s.Eye(), s.Metrics(), PlotText(run, "Eye diagram"), overlay),
                         error) &&
           WriteTextFile(f.bathtubSvg,
                         RenderBathtubSvg(s.Tub(), PlotText(run, "Bathtub curve"), counted),
                         error) &&
           WriteTextFile(f.bathtubCsv, BathtubCsv(s.Tub(), run.plan.bitTime), error) &&
           WriteTextFile(f.eyeDensityCsv, EyeDensityCsv(s.Eye()), error) &&
           WriteTextFile(f.eyeContourCsv, EyeContourCsv(s.Contour()), error) &&
           WriteTextFile(f.summaryJson, SummaryJson(run), error);
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
    if (!run.runKey.empty()) j.Field("run_key", run.runKey);
    ChannelJson(run, j);
    KitJson(run, j);
    ModelsJson(run, j);
    j.Field("latency_samples", static_cast<long long>(sampler.Latency()))
        .Field("latency_s", static_cast<double>(sampler.Latency()) * p.sampleInterval)
        .Field("link_inverted", sampler.Estimate().inverted)
        .Field("latency_correlation", sampler.Estimate().correlation)
        .Field("ignored_bits", static_cast<long long>(run.window.ignoreBits));
    ImpairmentsJson(run, j);
    SamplingJson(run, j);
    EyeJson(run, j);
    BerMethodJson(run, j);
    j.Field("non_finite_samples", static_cast<long long>(run.statistics.Eye().NonFiniteSamples()));
    j.BeginArray("warnings");
    for (const std::string& w : RunWarnings(run)) j.Field("", w);
    j.EndArray();
    TimesJson(run, j);
    j.BeginObject("files")
        .Field("eye_svg", "eye.svg")
        .Field("bathtub_svg", "bathtub.svg")
        .Field("waves_csv", run.files.waveSamples > 0 ? "waves.csv" : "")
        .Field("bathtub_csv", "bathtub.csv")
        .Field("eye_density_csv", "eye_density.csv")
        .Field("eye_contour_csv", "eye_contour.csv")
        .EndObject();
    j.EndObject();
    return j.Text();
}

namespace {

std::string Time(double s) {
    return Fmt("%.4g", s * 1e12) + " ps";
}

// The impairments that are not zero, each with where it came from.
std::string ImpairmentLine(const Impairments& m) {
    const struct {
        const char* what;
        const Setting& s;
        bool volts;
    } all[] = {{"Tx Rj rms", m.txRj, false},      {"Tx Dj pk-pk", m.txDj, false},
               {"Tx DCD pk-pk", m.txDcd, false},  {"Tx Sj", m.txSj, false},
               {"Rx noise rms", m.rxNoise, true}, {"Rx Rj rms", m.rxRj, false},
               {"Rx Dj pk-pk", m.rxDj, false},    {"Rx DCD pk-pk", m.rxDcd, false},
               {"Rx Sj", m.rxSj, false},          {"Rx sensitivity", m.rxSensitivity, true}};
    std::string line;
    for (const auto& a : all) {
        if (!(a.s.value > 0.0)) continue;
        std::string value = a.volts ? Fmt("%.4g", a.s.value * 1e3) + " mV" : Time(a.s.value);
        if (&a.s == &m.txSj) value += " at " + Fmt("%.4g", m.txSjFrequency.value * 1e-6) + " MHz";
        line += (line.empty() ? "" : "; ") + std::string(a.what) + " " + value + " (" + a.s.source +
                ")";
    }
    return line.empty() ? "none" : line;
}

std::string Ohms(const AnalogEnd& e) {
    return e.Open() ? std::string("open") : Fmt("%.4g ohm", e.resistance);
}

std::string PackageText(const AnalogEnd& e) {
    std::string s;
    for (const PackageLeg& l : e.legs)
        s += (s.empty() ? "" : ", ") + l.pin + " " + Fmt("%.3g ohm", l.r) + " " +
             Fmt("%.3g nH", l.l * 1e9) + " " + Fmt("%.3g pF", l.c * 1e12);
    return s;
}

void KitLines(const LinkRun& run, std::ostream& out) {
    const LinkPlan& p = run.plan;
    if (p.kitFile.empty()) return;
    out << "  kit:       " << p.kitFile << ", component " << p.component << ", "
        << CornerName(p.corner) << " corner, " << HostPlatform() << " " << HostBits() << "-bit\n";
    for (const ModelPlan* m : {&p.tx, &p.rx})
        out << "  " << (m == &p.tx ? "tx" : "rx") << ":        " << m->kitModel << " at " << m->pins
            << ": " << m->executable << "\n             loaded " << m->library << ", parameters "
            << m->parameters << '\n';
    const LinkChannel& c = run.channel;
    if (!c.analog) {
        out << "  analog:    " << p.analog.note << '\n';
        return;
    }
    const AnalogEnd &tx = p.analog.tx, &rx = p.analog.rx;
    out << "  driver:    " << Ohms(tx) << " (" << tx.resistanceSource << "), C_comp "
        << Fmt("%.3g pF", tx.cComp * 1e12) << "; package " << PackageText(tx) << '\n'
        << "  receiver:  " << Ohms(rx) << " (" << rx.resistanceSource << "), C_comp "
        << Fmt("%.3g pF", rx.cComp * 1e12) << "; package " << PackageText(rx) << '\n'
        << "             the channel as " << c.analogAs << ": loss at Nyquist "
        << Fmt("%.2f dB", c.bare.lossDbAtNyquist) << " bare, "
        << Fmt("%.2f dB", c.figures.lossDbAtNyquist) << " between the ends\n";
}

void SamplingLines(const LinkRun& run, std::ostream& out) {
    const SamplerReport& r = run.sampler->Report();
    out << "  sampling:  " << ClockName(r.method);
    if (r.method == ClockChoice::BangBang || r.method == ClockChoice::MuellerMuller)
        out << " (gain " << Fmt("%.4g", r.gainUi) << " UI, integral " << Fmt("%.4g", r.integralUi)
            << " UI)";
    if (r.method == ClockChoice::ClockTimes)
        out << " (" << r.clockTimesUsed << " of " << r.clockTimes << " used)";
    out << ", phase " << Fmt("%.3f", r.phaseUi) << " UI (rms " << Fmt("%.4f", r.phaseRmsUi)
        << ")\n";
}

void BerLines(const LinkRun& run, std::ostream& out) {
    const LinkStatistics& s = run.statistics;
    const BathtubCurve& tub = s.Tub();
    const CountedDecisions& c = s.Counted();
    const double ui = run.plan.bitTime;
    const BerInputs& in = s.Inputs();
    const Impairments& m = run.plan.impairments;
    const double rj = std::hypot(m.txRj.value, m.rxRj.value);
    out << "  BER:       statistical over the folded bits, noise " << Fmt("%.4g", in.noise * 1e3)
        << " mV rms, sampling jitter Rj " << Time(rj) << " rms";
    if (m.rxDj.value > 0.0) out << ", Dj " << Time(m.rxDj.value) << " pk-pk";
    if (m.rxDcd.value > 0.0) out << ", DCD " << Time(m.rxDcd.value) << " pk-pk";
    if (m.rxSj.value > 0.0) out << ", Sj " << Time(m.rxSj.value);
    out << '\n';
    out << "  at BER " << Fmt("%.0e", tub.targetBer) << ": eye width " << Fmt("%.3f", tub.width)
        << " UI (" << Fmt("%.1f", tub.width * ui * 1e12) << " ps), height "
        << Fmt("%.4f", s.Contour().heightAtTarget) << " V\n"
        << "  counted:   " << c.errors << " errors in " << c.bits
        << " decisions; the statistical ratio there is " << Fmt("%.3g", tub.berAtSampling) << " ("
        << Fmt("%.3g", c.expected) << " errors expected)\n";
    if (!s.PatternCovered())
        out << "  note:      the run does not cover the " << Prbs::Name(run.plan.prbsOrder)
            << " period; patterns it leaves out are not in the eye\n";
}

}  // namespace

void PrintReport(const LinkRun& run, std::ostream& out) {
    const LinkPlan& p = run.plan;
    const std::size_t taps = run.channel.channel.taps.size();
    const ChannelFigures& f = run.channel.figures;
    const Sampler& sampler = *run.sampler;
    const EyeMetrics& m = run.statistics.Metrics();
    const long latency = sampler.Latency();
    out << "ami-sim: " << p.bits << " bits " << Prbs::Name(p.prbsOrder) << ", " << p.samplesPerBit
        << " samples/bit, UI " << Fmt("%.4g", p.bitTime * 1e12) << " ps\n"
        << "  channel:   " << run.channel.channel.description << ", " << taps << " taps ("
        << Fmt("%.4g", static_cast<double>(taps) * p.sampleInterval * 1e9) << " ns)\n"
        << "             DC gain " << Fmt("%.4f", f.dcGain) << ", "
        << Fmt("%.2f", f.lossDbAtNyquist) << " dB at Nyquist, delay " << Fmt("%.1f", f.delay * 1e12)
        << " ps (built in " << Fmt("%.3f", run.channel.setupSeconds) << " s)\n";
    KitLines(run, out);
    out << "  jitter:    " << ImpairmentLine(p.impairments) << '\n'
        << "  latency:   " << latency << " samples ("
        << Fmt("%.3f", static_cast<double>(latency) / p.samplesPerBit) << " UI)"
        << (sampler.Estimate().inverted ? ", link inverts" : "") << "; " << run.window.ignoreBits
        << " settling bits ignored\n";
    SamplingLines(run, out);
    if (!m.measured) {
        out << "  eye:       not measured (no '1' and '0' bits folded)\n";
    } else if (!m.open) {
        out << "  eye:       closed at the sampling instant (" << m.bitsFolded << " bits folded)\n";
    } else {
        out << "  eye height " << Fmt("%.4f", m.height) << " V at " << Fmt("%.3f", m.bestPosition)
            << " UI, threshold " << Fmt("%.4f", m.threshold) << " V\n"
            << "  eye width  " << Fmt("%.3f", m.width) << " UI ("
            << Fmt("%.1f", m.width * p.bitTime * 1e12) << " ps), " << m.bitsFolded
            << " bits folded\n";
        BerLines(run, out);
    }
    const RunFiles& files = run.files;
    out << "  time:      " << Fmt("%.2f", run.totalSeconds) << " s (tx "
        << Fmt("%.2f", run.models.tx.seconds) << ", channel " << Fmt("%.2f", run.channelSeconds)
        << ", rx " << Fmt("%.2f", run.models.rx.seconds) << ", eye "
        << Fmt("%.2f", run.statistics.seconds) << ")\n"
        << "  wrote      " << files.eyeSvg << ", " << files.bathtubSvg << ", " << files.bathtubCsv
        << ", " << files.eyeDensityCsv << ", " << files.eyeContourCsv << ", "
        << (files.waveSamples > 0 ? files.wavesCsv + ", " : "") << files.summaryJson << '\n';
}

}  // namespace amisim
