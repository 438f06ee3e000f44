#include "tools/ami-sim/LinkPlan.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tools/ami-sim/AmiModel.h"
#include "tools/ami-sim/AmiParameterFile.h"

namespace amisim {

namespace fs = std::filesystem;

namespace {

// Default clock recovery loops: a bang-bang loop moving 1/512 UI a
// decision tracks a slope of about 1/1000 UI a bit (transitions come every
// other bit) and dithers well inside a sample; the Mueller-Muller loop's
// gain is per unit of its normalised timing error. No frequency path: the
// transmitter and the receiver share one clock here.
constexpr double kBangBangGainUi = 1.0 / 512.0;
constexpr double kMuellerMullerGainUi = 1.0 / 128.0;

// A model's .ami file, when there is one.
struct AmiSource {
    std::string path;
    std::string name;  // the file name, for the sources of settings
    AmiFileContents contents;
    bool read = false;
};

bool PlanModel(const char* role, const std::string& library, const std::string& parameters,
               const std::string& amiFile, LinkPlan& plan, ModelPlan& model, AmiSource& ami,
               std::string& error) {
    model.role = role;
    model.library = library;
    model.parameters = parameters;
    model.parametersSource = "command line";
    if (!model.present()) return true;
    const std::string root = AmiModel::RootName(library);
    ami.path = amiFile;
    if (ami.path.empty()) {
        const fs::path beside = fs::path(library).parent_path() / (root + ".ami");
        std::error_code ec;
        if (fs::is_regular_file(beside, ec)) ami.path = beside.string();
    }
    if (!ami.path.empty()) {
        std::string why;
        ami.read = ReadAmiFile(ami.path, ami.contents, why);
        ami.name = fs::path(ami.path).filename().string();
        if (!ami.read && !amiFile.empty() && parameters.empty()) {
            error = why;
            return false;
        }
        if (!ami.read)
            plan.warnings.push_back(why + (parameters.empty() ? "; using (" + root + ")" : ""));
    }
    if (!parameters.empty()) return true;
    if (ami.read) {
        model.parameters = ami.contents.parameters;
        model.parametersSource = ami.path;
    } else {
        model.parameters = "(" + root + ")";
        model.parametersSource = "model name";
    }
    return true;
}

std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// Reads reserved parameters into settings, each taken only where the
// command line gave nothing.
class ReservedReader {
public:
    ReservedReader(const AmiSource& ami, double bitTime) : ami_(ami), bitTime_(bitTime) {}

    // `factor` turns IBIS's half peak-to-peak values into peak to peak.
    // Several names are combined: root sum square (rms values) or sum.
    void Take(Setting& s, std::initializer_list<const char*> names, double factor, bool rms) const {
        if (!ami_.read || s.source != "none") return;
        double total = 0.0;
        std::string found;
        for (const char* name : names) {
            double v = 0.0;
            bool ui = false;
            if (!ami_.contents.Reserved(name, v, ui)) continue;
            v = std::fabs(v) * (ui ? bitTime_ : 1.0) * factor;
            total = rms ? std::hypot(total, v) : total + v;
            found += (found.empty() ? "" : " + ") + std::string(name);
        }
        if (found.empty()) return;
        s.value = total;
        s.source = ami_.name + " " + found;
        if (factor == 2.0) s.source += " (half peak to peak, doubled)";
        if (found.find('+') != std::string::npos)
            s.source += rms ? " (root sum square)" : " (summed)";
    }

    // Tx_Jitter and Rx_Clock_PDF, the older one-parameter form: Gaussian
    // <mean> <sigma>, Dual-Dirac <mean> <mean> <sigma> or DjRj <min> <max>
    // <sigma>.
    void TakeDistribution(Setting& rj, Setting& dj, const char* name) const {
        if (!ami_.read) return;
        const AmiReservedValue* r = ami_.contents.Find(name);
        if (r == nullptr) return;
        const double scale = r->type == "UI" ? bitTime_ : 1.0;
        const std::vector<double>& n = r->numbers;
        double sigma = -1.0, peakToPeak = -1.0;
        if (r->format == "Gaussian" && n.size() >= 2) sigma = n[1];
        if (r->format == "Dual-Dirac" && n.size() >= 3) {
            // Two means of the same sign stand for +/- that mean.
            peakToPeak = n[0] * n[1] > 0.0 ? 2.0 * std::fabs(n[0]) : std::fabs(n[0] - n[1]);
            sigma = n[2];
        }
        if (r->format == "DjRj" && n.size() >= 3) {
            peakToPeak = std::fabs(n[1] - n[0]);
            sigma = n[2];
        }
        const std::string source = ami_.name + " " + name + " " + r->format;
        if (sigma >= 0.0 && rj.source == "none") rj = Setting{sigma * scale, source};
        if (peakToPeak >= 0.0 && dj.source == "none") dj = Setting{peakToPeak * scale, source};
    }

    // Parameters a model may declare that this run does not model.
    void Unused(std::initializer_list<const char*> names,
                std::vector<std::string>& warnings) const {
        if (!ami_.read) return;
        for (const char* name : names)
            if (ami_.contents.Find(name) != nullptr)
                warnings.push_back(ami_.name + " declares " + name +
                                   ", which ami-sim does not model; it is left out");
    }

private:
    const AmiSource& ami_;
    double bitTime_;
};

Setting FromCommandLine(const GivenValue& g, double bitTime) {
    if (!g.given) return Setting();
    return Setting{g.inUi ? g.value * bitTime : g.value, "command line"};
}

void PlanImpairments(const Options& o, const AmiSource& tx, const AmiSource& rx, LinkPlan& plan) {
    Impairments& m = plan.impairments;
    const double t = o.bitTime;
    m.txRj = FromCommandLine(o.txRj, t);
    m.txDj = FromCommandLine(o.txDj, t);
    m.txDcd = FromCommandLine(o.txDcd, t);
    m.txSj = FromCommandLine(o.txSj, t);
    m.txSjFrequency = FromCommandLine(o.txSjFrequency, t);
    m.rxNoise = FromCommandLine(o.rxNoise, t);
    m.rxRj = FromCommandLine(o.rxRj, t);
    m.rxDj = FromCommandLine(o.rxDj, t);
    m.rxDcd = FromCommandLine(o.rxDcd, t);
    m.rxSj = FromCommandLine(o.rxSj, t);
    m.rxSensitivity = FromCommandLine(o.rxSensitivity, t);

    const ReservedReader txr(tx, t), rxr(rx, t);
    txr.Take(m.txRj, {"Tx_Rj"}, 1.0, true);
    txr.Take(m.txDj, {"Tx_Dj"}, 2.0, false);
    txr.TakeDistribution(m.txRj, m.txDj, "Tx_Jitter");
    txr.Take(m.txDcd, {"Tx_DCD"}, 2.0, false);
    txr.Take(m.txSj, {"Tx_Sj"}, 1.0, false);
    if (tx.read && m.txSjFrequency.source == "none") {
        double f = 0.0;
        bool ui = false;
        if (tx.contents.Reserved("Tx_Sj_Frequency", f, ui) && f > 0.0)
            m.txSjFrequency = Setting{f, tx.name + " Tx_Sj_Frequency"};
    }
    rxr.Take(m.rxNoise, {"Rx_Noise", "Rx_GaussianNoise"}, 1.0, true);
    rxr.Take(m.rxRj, {"Rx_Rj", "Rx_Clock_Recovery_Rj"}, 1.0, true);
    rxr.Take(m.rxDj, {"Rx_Dj", "Rx_Clock_Recovery_Dj"}, 2.0, false);
    rxr.TakeDistribution(m.rxRj, m.rxDj, "Rx_Clock_PDF");
    rxr.Take(m.rxDcd, {"Rx_DCD", "Rx_Clock_Recovery_DCD"}, 2.0, false);
    rxr.Take(m.rxSj, {"Rx_Sj", "Rx_Clock_Recovery_Sj"}, 1.0, false);
    rxr.Take(m.rxSensitivity, {"Rx_Receiver_Sensitivity"}, 1.0, false);
    rxr.Unused({"Rx_UniformNoise", "Rx_Clock_Recovery_Mean"}, plan.warnings);
    if (m.txSj.value > 0.0 && !(m.txSjFrequency.value > 0.0)) {
        plan.warnings.push_back(
            "transmitter Sj of " + Num(m.txSj.value) +
            " s has no frequency (--sj-freq or Tx_Sj_Frequency); it is left out");
        m.txSj = Setting();
    }
}

// Values read from files face the limits the command line's do.
bool CheckImpairments(const LinkPlan& plan, std::string& error) {
    const Impairments& m = plan.impairments;
    const struct {
        const Setting& s;
        double limitUi;
    } limits[] = {{m.txRj, 0.25}, {m.txDj, 1.0}, {m.txDcd, 1.0}, {m.txSj, 1.0},
                  {m.rxRj, 0.25}, {m.rxDj, 1.0}, {m.rxDcd, 1.0}, {m.rxSj, 0.5}};
    for (const auto& l : limits) {
        if (l.s.value <= l.limitUi * plan.bitTime) continue;
        error = l.s.source + ": " + Num(l.s.value) + " s is more than the " + Num(l.limitUi) +
                " UI ami-sim accepts";
        return false;
    }
    return true;
}

void PlanClock(const Options& o, LinkPlan& plan) {
    plan.clock.method = o.clock;
    const bool mm = o.clock == ClockChoice::MuellerMuller;
    plan.clock.gainUi = o.cdrGain >= 0.0 ? o.cdrGain : mm ? kMuellerMullerGainUi : kBangBangGainUi;
    plan.clock.integralUi = o.cdrIntegral >= 0.0 ? o.cdrIntegral : 0.0;
}

}  // namespace

bool PlanLink(const Options& o, LinkPlan& plan, std::string& error) {
    plan = LinkPlan();
    plan.bitTime = o.bitTime;
    plan.samplesPerBit = o.samplesPerBit;
    plan.sampleInterval = o.bitTime / o.samplesPerBit;
    plan.bits = static_cast<std::size_t>(o.bits);
    plan.prbsOrder = o.prbsOrder;
    plan.seed = o.seed;
    plan.amplitude = o.amplitude;
    plan.blockSize = static_cast<std::size_t>(o.blockSize);
    plan.channel.source = o.channel;
    plan.channel.lossDb = o.lossDb;
    plan.channel.file = o.channelFile;
    plan.channel.ports = o.ports;
    plan.ignoreBits = o.ignoreBits;
    plan.waveBits = static_cast<std::size_t>(o.waveBits);
    plan.outputDirectory = o.outputDirectory;
    plan.quiet = o.quiet;
    if (o.samplesPerBit < 8)
        plan.warnings.push_back("at " + std::to_string(o.samplesPerBit) +
                                " samples per bit eye widths and sampling phases are quantised "
                                "to 1/" +
                                std::to_string(o.samplesPerBit) +
                                " UI; use 8 or more for widths to sign off");
    AmiSource tx, rx;
    if (!PlanModel("transmitter", o.txLibrary, o.txParameters, o.txAmiFile, plan, plan.tx, tx,
                   error) ||
        !PlanModel("receiver", o.rxLibrary, o.rxParameters, o.rxAmiFile, plan, plan.rx, rx, error))
        return false;
    PlanImpairments(o, tx, rx, plan);
    PlanClock(o, plan);
    return CheckImpairments(plan, error);
}

}  // namespace amisim
