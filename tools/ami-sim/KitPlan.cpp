#include "tools/ami-sim/KitPlan.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "IbisParser/msgcodes.h"
#include "tools/ami-sim/AmiParameterFile.h"

namespace amisim {

namespace fs = std::filesystem;

namespace {

// Checker messages shown when a kit is refused; the rest are counted.
constexpr std::size_t kShownMessages = 20;

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string FileName(const std::string& path) {
    return fs::path(path).filename().string();
}

// One end of the link as the kit gives it.
struct KitEnd {
    bool transmitter = true;
    const KitComponent* component = nullptr;
    const KitPin* pin = nullptr;
    const KitModel* model = nullptr;
    const KitExecutable* executable = nullptr;
    const char* option() const { return transmitter ? "--tx" : "--rx"; }
    const char* role() const { return transmitter ? "transmitter" : "receiver"; }
    bool Suits(const KitModel& m) const {
        return m.algorithmic() && (transmitter ? m.drives : m.receives);
    }
};

// A failing check refuses the kit, with its messages.
PlanStatus CheckVerdict(const IbisKit& kit, std::vector<std::string>& warnings,
                        std::string& error) {
    // Libraries missing for other platforms are looked at once the
    // platform's own are chosen.
    const auto failures =
        KitFailures(kit, [](const KitMessage& m) { return m.code == MSGC_AMI_CODE_FILE_MISSING; });
    int warningCount = 0;
    for (const KitMessage& m : kit.messages) warningCount += m.letter == 'W';
    if (warningCount > 0)
        warnings.push_back(FileName(kit.path) + ": the IBIS check gave " +
                           std::to_string(warningCount) + " warning" +
                           (warningCount == 1 ? "" : "s") + " (ibislint shows them)");
    if (failures.empty()) return PlanStatus::Ok;
    error = kit.path + " fails the IBIS check (" + std::to_string(failures.size()) +
            (failures.size() == 1 ? " error" : " errors") + "), so it is not run:";
    for (std::size_t i = 0; i < failures.size() && i < kShownMessages; ++i)
        error += "\n  " + failures[i]->Text();
    if (failures.size() > kShownMessages)
        error += "\n  ... and " + std::to_string(failures.size() - kShownMessages) + " more";
    return PlanStatus::Failed;
}

std::string Names(const std::vector<std::string>& names) {
    std::string s;
    for (const std::string& n : names) s += (s.empty() ? "" : ", ") + n;
    return s.empty() ? "none" : s;
}

PlanStatus ChooseComponent(const IbisKit& kit, const std::string& name, KitEnd& end,
                           std::string& error) {
    std::vector<std::string> names;
    for (const KitComponent& c : kit.components) {
        names.push_back(c.name);
        if (c.name == name) end.component = &c;
    }
    if (end.component != nullptr) return PlanStatus::Ok;
    if (name.empty() && kit.components.size() == 1) {
        end.component = &kit.components[0];
        return PlanStatus::Ok;
    }
    if (kit.components.empty()) {
        error = kit.path + " has no [Component]";
        return PlanStatus::Failed;
    }
    error = name.empty() ? kit.path + " has components " + Names(names) + ": choose one with " +
                               end.option() + "-component or --component"
                         : kit.path + " has no component '" + name + "'; it has " + Names(names);
    return PlanStatus::Usage;
}

// The pins that could be this end, a differential pair by its first pin.
std::vector<const KitPin*> Candidates(const IbisKit& kit, const KitEnd& end) {
    std::vector<const KitPin*> pins;
    for (const KitPin& p : end.component->pins) {
        const KitModel* m = kit.Model(p.model);
        if (m == nullptr || !end.Suits(*m)) continue;
        const std::string partner = end.component->Partner(p.name);
        const bool seen = std::any_of(pins.begin(), pins.end(),
                                      [&](const KitPin* q) { return q->name == partner; });
        if (!seen) pins.push_back(&p);
    }
    return pins;
}

std::string Describe(const std::vector<const KitPin*>& pins) {
    std::vector<std::string> names;
    for (const KitPin* p : pins)
        names.push_back(p->name + " (" + p->signal + ", " + p->model + ")");
    return Names(names);
}

PlanStatus ChoosePin(const IbisKit& kit, const std::string& pinName, const std::string& modelName,
                     KitEnd& end, std::string& error) {
    const KitComponent& c = *end.component;
    const std::vector<const KitPin*> candidates = Candidates(kit, end);
    if (!pinName.empty()) {
        end.pin = c.Pin(pinName);
        if (end.pin == nullptr) {
            error = "component " + c.name + " has no pin '" + pinName + "'; its " + end.role() +
                    " pins: " + Describe(candidates);
            return PlanStatus::Usage;
        }
    } else if (!modelName.empty()) {
        for (const KitPin* p : candidates)
            if (p->model == modelName && end.pin == nullptr) end.pin = p;
        if (end.pin == nullptr) {
            error = "no " + std::string(end.role()) + " pin of component " + c.name +
                    " uses a model '" + modelName + "'; its " + end.role() +
                    " pins: " + Describe(candidates);
            return PlanStatus::Usage;
        }
    } else if (candidates.size() == 1) {
        end.pin = candidates[0];
    } else {
        error =
            candidates.empty()
                ? "no pin of component " + c.name + " has a model that " +
                      (end.transmitter ? "drives" : "receives") + " and has an [Algorithmic Model]"
                : std::string("component ") + c.name + " has several " + end.role() +
                      " pins: choose one with " + end.option() + "-pin: " + Describe(candidates);
        return candidates.empty() ? PlanStatus::Failed : PlanStatus::Usage;
    }
    return PlanStatus::Ok;
}

PlanStatus CheckModel(const IbisKit& kit, KitEnd& end, std::string& error) {
    const KitPin& p = *end.pin;
    end.model = kit.Model(p.model);
    const std::string which = "pin " + p.name + " of " + end.component->name;
    if (end.model == nullptr) {
        error = which + " uses '" + p.model + "', which is no [Model] of " + FileName(kit.path);
        return PlanStatus::Usage;
    }
    if (!end.model->algorithmic()) {
        error = which + ": its model " + p.model + " has no [Algorithmic Model]";
        return PlanStatus::Usage;
    }
    if (!end.Suits(*end.model)) {
        error = which + ": its model " + p.model + " is of type " + end.model->type + ", which " +
                (end.transmitter ? "does not drive" : "does not receive") + "; the " + end.role() +
                " needs one that does";
        return PlanStatus::Usage;
    }
    return PlanStatus::Ok;
}

// The Executable line for this platform: its platform and bits, the
// direction this end serves, the gcc compiler where there is a choice.
PlanStatus ChooseExecutable(KitEnd& end, std::string& error) {
    const KitExecutable::Direction own = end.transmitter ? KitExecutable::Tx : KitExecutable::Rx;
    std::vector<std::string> others;
    for (const KitExecutable& e : end.model->executables) {
        others.push_back(e.platform + "_" + e.compiler + "_" + std::to_string(e.bits));
        if (e.direction != KitExecutable::Either && e.direction != own) continue;
        if (!SameText(e.platform, HostPlatform()) || e.bits != HostBits()) continue;
        if (end.executable == nullptr || SameText(e.compiler, "gcc")) end.executable = &e;
    }
    if (end.executable != nullptr) return PlanStatus::Ok;
    error = "model " + end.model->name + " has no Executable for " + HostPlatform() + " " +
            std::to_string(HostBits()) + "-bit; its lines are for " + Names(others);
    return PlanStatus::Failed;
}

PlanStatus ChooseEnd(const Options& o, const IbisKit& kit, KitEnd& end, std::string& error) {
    const std::string& component = end.transmitter ? o.txComponent : o.rxComponent;
    PlanStatus s = ChooseComponent(kit, component.empty() ? o.component : component, end, error);
    if (s == PlanStatus::Ok)
        s = ChoosePin(kit, end.transmitter ? o.txPin : o.rxPin,
                      end.transmitter ? o.txModel : o.rxModel, end, error);
    if (s == PlanStatus::Ok) s = CheckModel(kit, end, error);
    if (s == PlanStatus::Ok) s = ChooseExecutable(end, error);
    return s;
}

std::string Pins(const KitEnd& end) {
    const std::string partner = end.component->Partner(end.pin->name);
    return partner.empty() ? end.pin->name : end.pin->name + "/" + partner;
}

PlanStatus PlanModel(const IbisKit& kit, const KitEnd& end, ModelPlan& model, std::string& error) {
    const KitExecutable& x = *end.executable;
    const std::string what = "model " + end.model->name + "'s ";
    if (!KitFilePath(kit.directory, x.codeFile, what + "library", model.library, error) ||
        !KitFilePath(kit.directory, x.paramFile, what + ".ami file", model.amiFile, error))
        return PlanStatus::Failed;
    if (!ReadAmiFile(model.amiFile, model.ami, error)) return PlanStatus::Failed;
    model.role = end.role();
    model.hasAmi = true;
    model.parametersSource = model.amiFile;
    model.kitModel = end.model->name;
    model.pins = Pins(end) + " of " + end.component->name;
    model.executable = (x.direction == KitExecutable::Either ? "Executable "
                        : x.direction == KitExecutable::Tx   ? "Executable_Tx "
                                                             : "Executable_Rx ") +
                       x.Line();
    return PlanStatus::Ok;
}

// The libraries other platforms' lines name: missing ones are a warning.
void OtherLibraries(const IbisKit& kit, std::vector<std::string>& warnings) {
    for (const KitMessage& m : kit.messages)
        if (m.code == MSGC_AMI_CODE_FILE_MISSING && (m.letter == 'E' || m.letter == 'B'))
            warnings.push_back(FileName(kit.path) + ": " + m.text +
                               " (a library for another platform; this run does not need it)");
}

void PlanAnalog(const Options& o, const KitEnd& tx, const KitEnd& rx, LinkPlan& plan,
                std::string& error, PlanStatus& status) {
    AnalogPlan& a = plan.analog;
    if (!o.analog) {
        a.note = "left out (--no-analog)";
        return;
    }
    if (!ExtractDriver(*tx.component, *tx.pin, *tx.model, o.corner, o.txResistance, a.tx, error) ||
        !ExtractReceiver(*rx.component, *rx.pin, *rx.model, o.corner, o.rxResistance, a.rx,
                         error)) {
        error = FileName(o.ibsFile) + ": " + error;
        status = PlanStatus::Failed;
        return;
    }
    a.apply = true;
}

}  // namespace

const char* HostPlatform() {
#if defined(_WIN32)
    return "Windows";
#elif defined(__APPLE__)
    return "Darwin";
#else
    return "Linux";
#endif
}

int HostBits() {
    return static_cast<int>(sizeof(void*) * 8);
}

bool KitFilePath(const std::string& directory, const std::string& name, const std::string& what,
                 std::string& path, std::string& error) {
    const std::string quoted = what + " '" + name + "'";
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const bool drive = relative.size() >= 2 && relative[1] == ':' &&
                       std::isalpha(static_cast<unsigned char>(relative[0]));
    if (relative.empty() || relative[0] == '/' || drive) {
        error = relative.empty() ? what + " has no name"
                                 : quoted +
                                       " is an absolute path; a kit names its files beside "
                                       "its .ibs file";
        return false;
    }
    int depth = 0;
    for (const fs::path& part : fs::path(relative)) {
        depth += part == ".." ? -1 : part == "." || part.empty() ? 0 : 1;
        if (depth < 0) {
            error = quoted + " leads out of the kit's folder " + directory;
            return false;
        }
    }
    const fs::path full = fs::path(directory) / relative;
    std::error_code ec;
    if (!fs::is_regular_file(full, ec)) {
        error = quoted + " is not in the kit's folder " + directory;
        return false;
    }
    const fs::path real = fs::canonical(full, ec), folder = fs::canonical(directory, ec);
    const fs::path inside = real.lexically_relative(folder);
    if (ec || inside.empty() || *inside.begin() == "..") {
        error = quoted + " is a link to " + real.string() + ", outside the kit's folder";
        return false;
    }
    path = full.string();
    return true;
}

PlanStatus PlanKit(const Options& o, LinkPlan& plan, std::string& error) {
    IbisKit kit;
    if (!ReadIbisKit(o.ibsFile, kit, error)) return PlanStatus::Failed;
    PlanStatus status = CheckVerdict(kit, plan.warnings, error);
    KitEnd tx, rx;
    rx.transmitter = false;
    if (status == PlanStatus::Ok) status = ChooseEnd(o, kit, tx, error);
    if (status == PlanStatus::Ok) status = ChooseEnd(o, kit, rx, error);
    if (status == PlanStatus::Ok) status = PlanModel(kit, tx, plan.tx, error);
    if (status == PlanStatus::Ok) status = PlanModel(kit, rx, plan.rx, error);
    if (status != PlanStatus::Ok) return status;
    OtherLibraries(kit, plan.warnings);
    plan.kitFile = o.ibsFile;
    plan.component = tx.component == rx.component
                         ? tx.component->name
                         : tx.component->name + " and " + rx.component->name;
    PlanAnalog(o, tx, rx, plan, error, status);
    return status;
}

}  // namespace amisim
