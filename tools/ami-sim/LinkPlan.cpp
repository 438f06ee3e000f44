#include "tools/ami-sim/LinkPlan.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tools/ami-sim/AmiModel.h"
#include "tools/ami-sim/AmiParameterCheck.h"
#include "tools/ami-sim/AmiParameterFile.h"
#include "tools/ami-sim/KitPlan.h"

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

std::string FileName(const std::string& path) {
    return fs::path(path).filename().string();
}

// A model of the command line (--tx, --rx): its .ami file named, or found
// beside the library, gives what the model declares and, without a
// parameter string, its parameters.
PlanStatus PlanModel(const char* role, const std::string& library, const std::string& parameters,
                     const std::string& amiFile, LinkPlan& plan, ModelPlan& model,
                     std::string& error) {
    model.role = role;
    model.library = library;
    model.parameters = parameters;
    model.parametersSource = "command line";
    model.givenString = !parameters.empty();
    if (!model.present()) return PlanStatus::Ok;
    const std::string root = AmiModel::RootName(library);
    model.amiFile = amiFile;
    if (model.amiFile.empty()) {
        const fs::path beside = fs::path(library).parent_path() / (root + ".ami");
        std::error_code ec;
        if (fs::is_regular_file(beside, ec)) model.amiFile = beside.string();
    }
    if (!model.amiFile.empty()) {
        std::string why;
        model.hasAmi = ReadAmiFile(model.amiFile, model.ami, why);
        if (!model.hasAmi && !amiFile.empty() && parameters.empty()) {
            error = why;
            return PlanStatus::Failed;
        }
        if (!model.hasAmi)
            plan.warnings.push_back(why + (parameters.empty() ? "; using (" + root + ")" : ""));
    }
    if (model.givenString && model.hasAmi && !CheckParameterString(model.ami, parameters, error)) {
        error = std::string(role == std::string("transmitter") ? "--tx-params" : "--rx-params") +
                ": " + error;
        return PlanStatus::Usage;
    }
    if (!model.givenString && model.hasAmi) model.parametersSource = model.amiFile;
    if (!model.givenString && !model.hasAmi) {
        model.parameters = "(" + root + ")";
        model.parametersSource = "model name";
    }
    return PlanStatus::Ok;
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
    ReservedReader(const ModelPlan& model, double bitTime)
        : model_(model), name_(FileName(model.amiFile)), bitTime_(bitTime) {}

    // `factor` turns IBIS's half peak-to-peak values into peak to peak.
    // Several names are combined: root sum square (rms values) or sum.
    void Take(Setting& s, std::initializer_list<const char*> names, double factor, bool rms) const {
        if (!model_.hasAmi || s.source != "none") return;
        double total = 0.0;
        std::string found;
        for (const char* name : names) {
            double v = 0.0;
            bool ui = false;
            if (!model_.ami.Reserved(name, v, ui)) continue;
            v = std::fabs(v) * (ui ? bitTime_ : 1.0) * factor;
            total = rms ? std::hypot(total, v) : total + v;
            found += (found.empty() ? "" : " + ") + std::string(name);
        }
        if (found.empty()) return;
        s.value = total;
        s.source = name_ + " " + found;
        if (factor == 2.0) s.source += " (half peak to peak, doubled)";
        if (found.find('+') != std::string::npos)
            s.source += rms ? " (root sum square)" : " (summed)";
    }

    // Tx_Jitter and Rx_Clock_PDF, the older one-parameter form: Gaussian
    // <mean> <sigma>, Dual-Dirac <mean> <mean> <sigma> or DjRj <min> <max>
    // <sigma>.
    void TakeDistribution(Setting& rj, Setting& dj, const char* name) const {
        if (!model_.hasAmi) return;
        const AmiReservedValue* r = model_.ami.Find(name);
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
        const std::string source = name_ + " " + name + " " + r->format;
        if (sigma >= 0.0 && rj.source == "none") rj = Setting{sigma * scale, source};
        if (peakToPeak >= 0.0 && dj.source == "none") dj = Setting{peakToPeak * scale, source};
    }

    // Parameters a model may declare that this run does not model.
    void Unused(std::initializer_list<const char*> names,
                std::vector<std::string>& warnings) const {
        if (!model_.hasAmi) return;
        for (const char* name : names)
            if (model_.ami.Find(name) != nullptr)
                warnings.push_back(name_ + " declares " + name +
                                   ", which ami-sim does not model; it is left out");
    }

private:
    const ModelPlan& model_;
    std::string name_;
    double bitTime_;
};

Setting FromCommandLine(const GivenValue& g, double bitTime) {
    if (!g.given) return Setting();
    return Setting{g.inUi ? g.value * bitTime : g.value, "command line"};
}

void PlanImpairments(const Options& o, LinkPlan& plan) {
    const ModelPlan& tx = plan.tx;
    const ModelPlan& rx = plan.rx;
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
    if (tx.hasAmi && m.txSjFrequency.source == "none") {
        double f = 0.0;
        bool ui = false;
        if (tx.ami.Reserved("Tx_Sj_Frequency", f, ui) && f > 0.0)
            m.txSjFrequency = Setting{f, FileName(tx.amiFile) + " Tx_Sj_Frequency"};
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

void RenderParameters(ModelPlan& model, Corner corner) {
    if (model.hasAmi && !model.givenString)
        model.parameters = BuildParameterString(model.ami, model.settings, corner);
}

bool ApplySetting(LinkPlan& plan, const std::string& setting, std::string& error) {
    const std::size_t eq = setting.find('=');
    std::string name = setting.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : setting.substr(eq + 1);
    const ModelPlan* only = nullptr;
    for (const ModelPlan* m : {&plan.tx, &plan.rx}) {
        const std::string prefix = m == &plan.tx ? "tx." : "rx.";
        if (name.compare(0, 3, prefix) == 0) {
            only = m;
            name.erase(0, 3);
        }
    }
    std::vector<std::pair<ModelPlan*, const AmiDeclaredParameter*>> found;
    std::string known;
    for (ModelPlan* m : {&plan.tx, &plan.rx}) {
        if ((only != nullptr && m != only) || !m->hasAmi) continue;
        known += (known.empty() ? "" : "; ") + m->ami.root + " takes " + ListParameters(m->ami);
        if (const AmiDeclaredParameter* p = FindParameter(m->ami, name)) found.emplace_back(m, p);
    }
    if (found.empty()) {
        error = known.empty() ? "no .ami file declares the models' parameters (name them with "
                                "--tx-ami and --rx-ami, or run a kit with --ibs)"
                              : "no model has a parameter '" + name + "': " + known;
        return false;
    }
    if (found.size() > 1) {
        error = "'" + name + "' is a parameter of both " + plan.tx.ami.root + " and " +
                plan.rx.ami.root + ": write tx." + name + " or rx." + name;
        return false;
    }
    ModelPlan& m = *found[0].first;
    const AmiDeclaredParameter& p = *found[0].second;
    if (m.givenString) {
        error = std::string("the ") + m.role + "'s whole parameter string is given (" +
                (&m == &plan.tx ? "--tx-params" : "--rx-params") + "); set " + p.Name() + " there";
        return false;
    }
    error = CheckParameterValue(p, value);
    if (!error.empty()) return false;
    m.settings[p.Name()] = value;
    RenderParameters(m, plan.corner);
    return true;
}

PlanStatus PlanLink(const Options& o, LinkPlan& plan, std::string& error) {
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
    plan.corner = o.corner;
    if (o.samplesPerBit < 8)
        plan.warnings.push_back("at " + std::to_string(o.samplesPerBit) +
                                " samples per bit eye widths and sampling phases are quantised "
                                "to 1/" +
                                std::to_string(o.samplesPerBit) +
                                " UI; use 8 or more for widths to sign off");
    PlanStatus status = PlanStatus::Ok;
    if (!o.ibsFile.empty()) {
        status = PlanKit(o, plan, error);
    } else {
        status = PlanModel("transmitter", o.txLibrary, o.txParameters, o.txAmiFile, plan, plan.tx,
                           error);
        if (status == PlanStatus::Ok)
            status = PlanModel("receiver", o.rxLibrary, o.rxParameters, o.rxAmiFile, plan, plan.rx,
                               error);
    }
    if (status != PlanStatus::Ok) return status;
    RenderParameters(plan.tx, plan.corner);
    RenderParameters(plan.rx, plan.corner);
    for (const std::string& setting : o.settings)
        if (!ApplySetting(plan, setting, error)) {
            error = "--set " + setting + ": " + error;
            return PlanStatus::Usage;
        }
    PlanImpairments(o, plan);
    PlanClock(o, plan);
    return CheckImpairments(plan, error) ? PlanStatus::Ok : PlanStatus::Failed;
}

}  // namespace amisim
