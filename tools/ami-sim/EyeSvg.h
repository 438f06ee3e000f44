// EyeSvg: draws an eye diagram as an SVG page: the trace density as a
// colour image (logarithmic scale, dark for no hits), a time axis in unit
// intervals with picoseconds beneath, a voltage axis, a colour bar, and the
// measured eye height, width and decision threshold drawn over the eye.
#pragma once

#include <string>
#include <vector>

#include "tools/ami-sim/EyeDiagram.h"

namespace amisim {

struct EyePlotText {
    std::string title;                // heading
    std::vector<std::string> notes;   // up to two smaller lines under it
    double bitTime = 0.0;             // seconds, for the picosecond labels
};

// Needs an eye built with a density grid (Layout::rows > 0).
std::string RenderEyeSvg(const EyeDiagram& eye, const EyeMetrics& metrics,
                         const EyePlotText& text);

// Escapes &, <, >, " and ' for XML text and attributes.
std::string XmlEscape(const std::string& s);

}  // namespace amisim
