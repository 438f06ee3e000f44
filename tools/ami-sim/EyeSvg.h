// EyeSvg: draws an eye diagram as an SVG page: the trace density as a
// colour image (square-root scale, dark for no hits), a time axis in unit
// intervals with picoseconds beneath, a voltage axis, a colour bar with the
// densities it stands for, the measured eye height, width and decision
// threshold drawn over the eye at the sampling instant, and the opening at
// the target bit error ratio as a contour.
#pragma once

#include <string>
#include <vector>

#include "tools/ami-sim/Bathtub.h"
#include "tools/ami-sim/EyeDiagram.h"

namespace amisim {

struct EyePlotText {
    std::string title;               // heading
    std::vector<std::string> notes;  // up to two smaller lines under it
    double bitTime = 0.0;            // seconds, for the picosecond labels
};

// What is drawn over the density besides the measurements.
struct EyeOverlay {
    const EyeContour* contour = nullptr;  // the opening at the target ratio
    double targetBer = 1e-12;
    double widthAtTarget = -1.0;  // UI; < 0: not known
};

// Needs an eye built with a density grid (Layout::rows > 0).
std::string RenderEyeSvg(const EyeDiagram& eye, const EyeMetrics& metrics, const EyePlotText& text,
                         const EyeOverlay& overlay = EyeOverlay());

// Escapes &, <, >, " and ' for XML text and attributes.
std::string XmlEscape(const std::string& s);

}  // namespace amisim
