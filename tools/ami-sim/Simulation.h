// Simulation: one ami-sim run, as the list of its stages (LinkRun): plan,
// channel, stimulus, transmitter and receiver, sampler, statistics and
// reports, writing eye.svg, bathtub.svg, waves.csv and summary.json.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/ami-sim/Options.h"

namespace amisim {

constexpr int kExitSuccess = 0;
constexpr int kExitRunFailure = 1;
constexpr int kExitUsage = 2;

// Runs with parsed options; the report goes to `out`, errors and model
// messages to `err`. showProgress: redraw a progress line on `err`.
int RunSimulation(const Options& options, std::ostream& out, std::ostream& err, bool showProgress);

// Parses args (args[0] is the program name) and runs; the exit status.
int RunCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   bool showProgress);

}  // namespace amisim
