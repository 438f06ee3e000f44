// RunReport: the reports stage of a run: the eye diagram and bathtub
// pictures, summary.json and the report on standard output, all from the
// run's record.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/ami-sim/LinkRun.h"

namespace amisim {

// eye.svg, bathtub.svg and summary.json.
bool WriteRunFiles(const LinkRun& run, std::string& error);

std::string SummaryJson(const LinkRun& run);

// The warnings of every stage, in stage order.
std::vector<std::string> RunWarnings(const LinkRun& run);

// The report on standard output.
void PrintReport(const LinkRun& run, std::ostream& out);

}  // namespace amisim
