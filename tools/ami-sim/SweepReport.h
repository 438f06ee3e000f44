// SweepReport: what a sweep shows of its points: the table on standard
// output, sweep.csv and sweep.json (every finished point's eye height,
// width and their values at the target BER, the best point).
#pragma once

#include <ostream>
#include <string>

#include "tools/ami-sim/Sweep.h"

namespace amisim {

// One row per point; the axes' names head their columns.
std::string SweepCsv(const SweepTable& table);
std::string SweepJson(const SweepTable& table, bool complete, bool heatMap);
void PrintSweepTable(const SweepTable& table, std::ostream& out);

}  // namespace amisim
