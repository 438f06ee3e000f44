#include "tools/ami-sim/PlotData.h"

#include <cmath>
#include <cstdio>

namespace amisim {

namespace {

void Append(std::string& s, const char* fmt, double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, fmt, v);
    s += buf;
}

}  // namespace

std::string BathtubCsv(const BathtubCurve& c, double bitTime) {
    std::string s = "phase_UI,phase_s,ber,extrapolated\n";
    for (std::size_t i = 0; i < c.ber.size(); ++i) {
        Append(s, "%.6f,", c.positionUi[i]);
        Append(s, "%.6e,", c.positionUi[i] * bitTime);
        Append(s, "%.6e,", c.ber[i]);
        s += c.ber[i] < c.countable ? "1\n" : "0\n";
    }
    return s;
}

std::string EyeDensityCsv(const EyeDiagram& eye) {
    const EyeDiagram::Layout& lay = eye.GetLayout();
    const int cols = eye.Columns(), rows = lay.rows;
    const std::vector<float> d = eye.Density();
    std::string s = "voltage_V\\time_UI";
    for (int c = 0; c < cols; ++c) Append(s, ",%.6f", 2.0 * (c + 0.5) / cols);
    s += '\n';
    const double h = (lay.vMax - lay.vMin) / std::max(rows, 1);
    for (int r = 0; r < rows; ++r) {
        Append(s, "%.6e", lay.vMin + (r + 0.5) * h);
        for (int c = 0; c < cols; ++c)
            Append(s, ",%.6g", d[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + c]);
        s += '\n';
    }
    return s;
}

std::string EyeContourCsv(const EyeContour& contour) {
    std::string s = "phase_UI,low_V,high_V\n";
    for (std::size_t i = 0; i < contour.positionUi.size(); ++i) {
        Append(s, "%.6f,", contour.positionUi[i]);
        if (std::isfinite(contour.low[i]) && std::isfinite(contour.high[i])) {
            Append(s, "%.6e,", contour.low[i]);
            Append(s, "%.6e", contour.high[i]);
        } else {
            s += ',';
        }
        s += '\n';
    }
    return s;
}

}  // namespace amisim
