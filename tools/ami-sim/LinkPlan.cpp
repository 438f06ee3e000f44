#include "tools/ami-sim/LinkPlan.h"

#include <filesystem>

#include "tools/ami-sim/AmiModel.h"
#include "tools/ami-sim/AmiParameterFile.h"

namespace amisim {

namespace fs = std::filesystem;

namespace {

// The parameter string of a model given none on the command line: the
// defaults of its .ami file (named, or found beside the library), else just
// the model's name, which leaves every setting at the model's default.
bool PlanModel(const char* role, const std::string& library, const std::string& parameters,
               const std::string& amiFile, LinkPlan& plan, ModelPlan& model, std::string& error) {
    model.role = role;
    model.library = library;
    model.parameters = parameters;
    model.parametersSource = "command line";
    if (!model.present() || !parameters.empty()) return true;
    const std::string root = AmiModel::RootName(library);
    if (!amiFile.empty()) {
        if (!ReadAmiDefaultParameters(amiFile, model.parameters, error)) return false;
        model.parametersSource = amiFile;
        return true;
    }
    const fs::path beside = fs::path(library).parent_path() / (root + ".ami");
    std::error_code ec;
    if (fs::is_regular_file(beside, ec)) {
        std::string why;
        if (ReadAmiDefaultParameters(beside.string(), model.parameters, why)) {
            model.parametersSource = beside.string();
            return true;
        }
        plan.warnings.push_back(why + "; using (" + root + ")");
    }
    model.parameters = "(" + root + ")";
    model.parametersSource = "model name";
    return true;
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
    return PlanModel("transmitter", o.txLibrary, o.txParameters, o.txAmiFile, plan, plan.tx,
                     error) &&
           PlanModel("receiver", o.rxLibrary, o.rxParameters, o.rxAmiFile, plan, plan.rx, error);
}

}  // namespace amisim
