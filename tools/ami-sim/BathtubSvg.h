// BathtubSvg: draws a bathtub curve as an SVG page: log10 BER against the
// sampling phase over the eye plot's two unit intervals, the target BER as
// a dashed line and the eye width at that BER marked on it.
#pragma once

#include <string>

#include "tools/ami-sim/Bathtub.h"
#include "tools/ami-sim/EyeSvg.h"

namespace amisim {

// The BER axis runs from 1 down to this; lower values are drawn on it.
constexpr double kBathtubFloor = 1e-18;

std::string RenderBathtubSvg(const BathtubCurve& curve, const EyePlotText& text);

}  // namespace amisim
