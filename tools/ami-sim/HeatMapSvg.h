// HeatMapSvg: a sweep over two parameters as an SVG page: the first swept
// parameter's values as rows, the second's as columns, each cell coloured
// by the eye width at the target BER (white closed, deep blue a full unit
// interval) and labelled with that width and the eye height; the best
// point framed, points not run grey. With more than two swept parameters
// the others stand at the best point's values (said in the title).
#pragma once

#include <string>

#include "tools/ami-sim/Sweep.h"

namespace amisim {

std::string RenderHeatMapSvg(const SweepTable& table, const std::string& title);

}  // namespace amisim
