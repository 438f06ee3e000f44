#include "tools/ami-sim/Simulation.h"

#include <chrono>
#include <new>

#include "tools/ami-sim/LinkRun.h"
#include "tools/ami-sim/LinkStream.h"
#include "tools/ami-sim/RunReport.h"
#include "tools/ami-sim/Sweep.h"

namespace amisim {

namespace {

void PrintWarnings(const std::vector<std::string>& warnings, const LinkPlan& plan,
                   std::ostream& err) {
    if (plan.quiet) return;
    for (const std::string& w : warnings) err << "ami-sim: warning: " << w << '\n';
}

}  // namespace

int PlanAndPrepareChannel(const Options& o, LinkPlan& plan, LinkChannel& channel, std::ostream& err,
                          std::string& error) {
    switch (PlanLink(o, plan, error)) {
        case PlanStatus::Ok:
            break;
        case PlanStatus::Usage:
            return kExitUsage;
        case PlanStatus::Failed:
            return kExitRunFailure;
    }
    PrintWarnings(plan.warnings, plan, err);
    if (!PrepareChannel(plan, channel, error)) return kExitRunFailure;
    PrintWarnings(channel.warnings, plan, err);
    return kExitSuccess;
}

int RunFromStimulus(LinkRun& run, std::ostream& err, bool showProgress, std::string& error) {
    const auto started = std::chrono::steady_clock::now();
    if (!SizeSampling(run.plan, run.channel.channel.taps.size(), run.window, error))
        return kExitUsage;
    if (!OpenRunFiles(run.plan, run.files, error)) return kExitRunFailure;
    MakeStimulus(run.plan, run.stimulus);
    if (!StartModels(run.plan, run.channel, run.models, err, error)) return kExitRunFailure;
    if (!StreamLink(run, err, showProgress, error)) return kExitRunFailure;
    CloseModels(run.models, err);
    if (!run.files.waves.Close()) {
        error = "cannot write " + run.files.wavesCsv;
        return kExitRunFailure;
    }
    run.statistics.Finish(run.plan, run.window, run.stimulus, *run.sampler);
    PrintWarnings(run.sampler->Report().warnings, run.plan, err);
    run.totalSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const std::size_t nonFinite = run.statistics.Eye().NonFiniteSamples();
    if (nonFinite > 0)
        err << "ami-sim: warning: the receiver output held " << nonFinite
            << " samples that are not finite numbers; they are left out of the eye\n";
    if (!WriteRunFiles(run, error)) return kExitRunFailure;
    return run.models.closedOk ? kExitSuccess : kExitRunFailure;
}

int RunSimulation(const Options& o, std::ostream& out, std::ostream& err, bool showProgress) {
    if (!o.sweeps.empty()) return RunSweep(o, out, err);
    LinkRun run;
    std::string error;
    const auto started = std::chrono::steady_clock::now();
    int status = PlanAndPrepareChannel(o, run.plan, run.channel, err, error);
    run.totalSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (status == kExitSuccess) status = RunFromStimulus(run, err, showProgress, error);
    if (!error.empty()) {
        err << "ami-sim: " << error << '\n';
        return status;
    }
    if (!o.quiet) PrintReport(run, out);
    return status;
}

int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   bool showProgress) {
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
