// BathtubSvg: draws a bathtub curve as an SVG page: log10 BER against the
// sampling phase over the eye plot's two unit intervals, a grid line per
// decade with labels every third (1, 1e-3, ...), the curve solid where the
// folded bits can show the ratio and dashed where it lies below one error
// in them (the statistical method's extrapolation), its stretches below
// the axis marked at the axis, the target BER as a dashed line with the
// eye width at that BER marked on it, and the sampling instant with the
// ratio counted there.
#pragma once

#include <cstddef>
#include <string>

#include "tools/ami-sim/Bathtub.h"
#include "tools/ami-sim/EyeSvg.h"

namespace amisim {

// The BER axis runs from 1 down to this; lower values are drawn on it.
constexpr double kBathtubFloor = 1e-18;

// What was counted at the sampling instant, for the picture.
struct CountedMark {
    std::size_t bits = 0, errors = 0;
};

std::string RenderBathtubSvg(const BathtubCurve& curve, const EyePlotText& text,
                             const CountedMark& counted = CountedMark());

}  // namespace amisim
