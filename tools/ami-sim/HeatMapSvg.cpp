#include "tools/ami-sim/HeatMapSvg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "tools/ami-sim/EyeSvg.h"

namespace amisim {

namespace {

constexpr double kLeft = 150, kTop = 110, kCell = 84, kCellHeight = 52;

std::string Fmt(const char* fmt, double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

// White for a closed eye to deep blue for a full unit interval.
std::string Colour(double widthUi) {
    const double x = std::clamp(widthUi, 0.0, 1.0);
    const int r = static_cast<int>(std::lround(255 - x * (255 - 27)));
    const int g = static_cast<int>(std::lround(255 - x * (255 - 58)));
    const int b = static_cast<int>(std::lround(255 - x * (255 - 158)));
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", r, g, b);
    return buf;
}

// The point at row value r and column value c, the other axes at the best
// point's values; null when there is none.
const SweepPoint* At(const SweepTable& t, std::size_t r, std::size_t c, const SweepPoint* best) {
    for (const SweepPoint& p : t.points) {
        if (p.values[0] != t.axes[0].values[r] || p.values[1] != t.axes[1].values[c]) continue;
        bool same = true;
        for (std::size_t a = 2; a < t.axes.size() && best != nullptr; ++a)
            same = same && p.values[a] == best->values[a];
        if (same) return &p;
    }
    return nullptr;
}

void Cell(std::ostream& s, double x, double y, const SweepPoint* p) {
    const bool shown = p != nullptr && p->finished();
    s << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << kCell << "\" height=\""
      << kCellHeight << "\" fill=\"" << (shown ? Colour(p->widthAtTarget) : "#d9d9d9")
      << "\" stroke=\"#bdbdbd\"/>\n";
    if (!shown) return;
    if (!p->open) {
        s << "<text x=\"" << x + kCell / 2 << "\" y=\"" << y + 31
          << "\" font-size=\"13\" fill=\"#777\" text-anchor=\"middle\">closed</text>\n";
        return;
    }
    const char* ink = p->widthAtTarget > 0.55 ? "#ffffff" : "#111111";
    s << "<text x=\"" << x + kCell / 2 << "\" y=\"" << y + 22 << "\" font-size=\"15\" fill=\""
      << ink << "\" text-anchor=\"middle\">" << Fmt("%.3f", p->widthAtTarget) << "</text>\n"
      << "<text x=\"" << x + kCell / 2 << "\" y=\"" << y + 40 << "\" font-size=\"11\" fill=\""
      << ink << "\" text-anchor=\"middle\">" << Fmt("%.0f mV", p->height * 1e3) << "</text>\n";
}

}  // namespace

std::string RenderHeatMapSvg(const SweepTable& t, const std::string& title) {
    if (t.axes.size() < 2) return "";
    const std::vector<std::string>& rows = t.axes[0].values;
    const std::vector<std::string>& cols = t.axes[1].values;
    const int bestIndex = t.Best();
    const SweepPoint* best =
        bestIndex < 0 ? nullptr : &t.points[static_cast<std::size_t>(bestIndex)];
    const double width = kLeft + kCell * static_cast<double>(cols.size()) + 60;
    const double height = kTop + kCellHeight * static_cast<double>(rows.size()) + 70;
    std::string heading = title + " (UI) and eye height";
    if (t.axes.size() > 2 && best != nullptr)
        for (std::size_t a = 2; a < t.axes.size(); ++a)
            heading += ", " + t.axes[a].name + "=" + best->values[a];
    std::ostringstream s;
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
      << "\" viewBox=\"0 0 " << width << ' ' << height
      << "\" font-family=\"Helvetica, Arial, sans-serif\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
      << "<text x=\"20\" y=\"32\" font-size=\"18\" font-weight=\"bold\">" << XmlEscape(heading)
      << "</text>\n"
      << "<text x=\"20\" y=\"56\" font-size=\"12\" fill=\"#444\">each cell: width at BER 1e-12 "
         "(UI) above the eye height at the sampling instant; the best point framed</text>\n"
      << "<text x=\"" << kLeft + kCell * static_cast<double>(cols.size()) / 2 << "\" y=\""
      << kTop - 30 << "\" font-size=\"14\" text-anchor=\"middle\">" << XmlEscape(t.axes[1].name)
      << "</text>\n"
      << "<text x=\"20\" y=\"" << kTop + kCellHeight * static_cast<double>(rows.size()) / 2
      << "\" font-size=\"14\">" << XmlEscape(t.axes[0].name) << "</text>\n";
    for (std::size_t c = 0; c < cols.size(); ++c)
        s << "<text x=\"" << kLeft + kCell * (static_cast<double>(c) + 0.5) << "\" y=\"" << kTop - 8
          << "\" font-size=\"13\" text-anchor=\"middle\">" << XmlEscape(cols[c]) << "</text>\n";
    double frameX = -1.0, frameY = -1.0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const double y = kTop + kCellHeight * static_cast<double>(r);
        s << "<text x=\"" << kLeft - 10 << "\" y=\"" << y + kCellHeight / 2 + 5
          << "\" font-size=\"13\" text-anchor=\"end\">" << XmlEscape(rows[r]) << "</text>\n";
        for (std::size_t c = 0; c < cols.size(); ++c) {
            const double x = kLeft + kCell * static_cast<double>(c);
            const SweepPoint* p = At(t, r, c, best);
            Cell(s, x, y, p);
            if (p != nullptr && p == best) frameX = x, frameY = y;
        }
    }
    if (frameX >= 0.0)
        s << "<rect x=\"" << frameX + 2 << "\" y=\"" << frameY + 2 << "\" width=\"" << kCell - 4
          << "\" height=\"" << kCellHeight - 4
          << "\" fill=\"none\" stroke=\"#d7191c\" stroke-width=\"4\"/>\n";
    s << "</svg>\n";
    return s.str();
}

}  // namespace amisim
