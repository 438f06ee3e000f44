// PlotData: the numbers behind the pictures, as CSV files a user can plot
// again with any tool:
// - bathtub.csv: phase_UI, phase_s, ber, extrapolated (1 where the ratio is
//   below one error in the bits folded, so the statistical method, not the
//   count, gives it);
// - eye_density.csv: the eye's trace density, one row per voltage (the
//   centre of the row), one column per time (UI, the centre of the
//   column), in traces per cell; the header row holds the times;
// - eye_contour.csv: phase_UI, low_V, high_V of the opening at the target
//   ratio (empty fields where it is closed).
#pragma once

#include <string>

#include "tools/ami-sim/Bathtub.h"
#include "tools/ami-sim/EyeDiagram.h"

namespace amisim {

std::string BathtubCsv(const BathtubCurve& curve, double bitTime);
std::string EyeDensityCsv(const EyeDiagram& eye);
std::string EyeContourCsv(const EyeContour& contour);

}  // namespace amisim
