// Simulation: one ami-sim run, as the list of its stages (LinkRun): plan,
// channel, stimulus, transmitter and receiver, sampler, statistics and
// reports, writing eye.svg, bathtub.svg, waves.csv and summary.json.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/ami-sim/LinkRun.h"
#include "tools/ami-sim/Options.h"

namespace amisim {

constexpr int kExitSuccess = 0;
constexpr int kExitRunFailure = 1;
constexpr int kExitUsage = 2;

// The plan and channel stages: what a sweep does once. The exit status;
// a failure's message in `error`.
int PlanAndPrepareChannel(const Options& options, LinkPlan& plan, LinkChannel& channel,
                          std::ostream& err, std::string& error);

// The stages from the stimulus on, for a run whose plan and channel are
// filled, up to its files: the exit status, a failure's message in `error`.
int RunFromStimulus(LinkRun& run, std::ostream& err, bool showProgress, std::string& error);

// Runs with parsed options (a sweep when they hold one); the report goes to
// `out`, errors and model messages to `err`. showProgress: redraw a
// progress line on `err`.
int RunSimulation(const Options& options, std::ostream& out, std::ostream& err, bool showProgress);

// Parses args (args[0] is the program name) and runs; the exit status.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   bool showProgress);

}  // namespace amisim
