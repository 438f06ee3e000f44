#include "tools/ami-sim/Simulation.h"

#include <chrono>
#include <new>

#include "tools/ami-sim/LinkRun.h"
#include "tools/ami-sim/LinkStream.h"
#include "tools/ami-sim/RunReport.h"

namespace amisim {

namespace {

// A stage that failed: the message and the exit status it calls for.
struct Failure {
    int status = kExitSuccess;
    std::string message;
};

void PrintWarnings(const std::vector<std::string>& warnings, const LinkPlan& plan,
                   std::ostream& err) {
    if (plan.quiet) return;
    for (const std::string& w : warnings) err << "ami-sim: warning: " << w << '\n';
}

// The stages in their order; each fills its part of `run`.
Failure RunStages(LinkRun& run, const Options& o, std::ostream& err, bool showProgress) {
    const auto started = std::chrono::steady_clock::now();
    std::string error;
    auto fail = [&](int status) { return Failure{status, error}; };
    switch (PlanLink(o, run.plan, error)) {
        case PlanStatus::Ok:
            break;
        case PlanStatus::Usage:
            return fail(kExitUsage);
        case PlanStatus::Failed:
            return fail(kExitRunFailure);
    }
    PrintWarnings(run.plan.warnings, run.plan, err);
    if (!PrepareChannel(run.plan, run.channel, error)) return fail(kExitRunFailure);
    PrintWarnings(run.channel.warnings, run.plan, err);
    if (!SizeSampling(run.plan, run.channel.channel.taps.size(), run.window, error))
        return fail(kExitUsage);
    if (!OpenRunFiles(run.plan, run.files, error)) return fail(kExitRunFailure);
    MakeStimulus(run.plan, run.stimulus);
    if (!StartModels(run.plan, run.channel, run.models, err, error)) return fail(kExitRunFailure);
    if (!StreamLink(run, err, showProgress, error)) return fail(kExitRunFailure);
    CloseModels(run.models, err);
    if (!run.files.waves.Close()) {
        error = "cannot write " + run.files.wavesCsv;
        return fail(kExitRunFailure);
    }
    run.statistics.Finish(run.plan, run.window, run.stimulus, *run.sampler);
    PrintWarnings(run.sampler->Report().warnings, run.plan, err);
    run.totalSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!WriteRunFiles(run, error)) return fail(kExitRunFailure);
    return Failure{};
}

}  // namespace

int RunSimulation(const Options& o, std::ostream& out, std::ostream& err, bool showProgress) {
    LinkRun run;
    const Failure f = RunStages(run, o, err, showProgress);
    if (f.status != kExitSuccess) {
        err << "ami-sim: " << f.message << '\n';
        return f.status;
    }
    const std::size_t nonFinite = run.statistics.Eye().NonFiniteSamples();
    if (nonFinite > 0)
        err << "ami-sim: warning: the receiver output held " << nonFinite
            << " samples that are not finite numbers; they are left out of the eye\n";
    if (!o.quiet) PrintReport(run, out);
    return run.models.closedOk ? kExitSuccess : kExitRunFailure;
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
