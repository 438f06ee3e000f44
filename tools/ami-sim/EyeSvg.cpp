#include "tools/ami-sim/EyeSvg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "tools/ami-sim/PngImage.h"

namespace amisim {

namespace {

// Plot geometry in SVG user units.
constexpr double kWidth = 960, kHeight = 690;
constexpr double kLeft = 90, kRight = 790, kTop = 90, kBottom = 570;
constexpr std::size_t kMaxNoteLength = 125;

struct Rgb {
    std::uint8_t r, g, b;
};

// Dark blue through cyan, green and yellow to red: a density ramp that
// keeps rare traces visible against the background.
Rgb ColourAt(double f) {
    static const double stops[][4] = {{0.00, 0x0a, 0x10, 0x2a}, {0.12, 0x1b, 0x3a, 0x9e},
                                      {0.35, 0x1f, 0xa8, 0xd6}, {0.55, 0x3c, 0xc8, 0x5a},
                                      {0.75, 0xf2, 0xe1, 0x2b}, {0.90, 0xf5, 0x8a, 0x1f},
                                      {1.00, 0xd7, 0x19, 0x1c}};
    f = std::clamp(f, 0.0, 1.0);
    int i = 0;
    while (i < 5 && f > stops[i + 1][0]) ++i;
    const double t = (f - stops[i][0]) / (stops[i + 1][0] - stops[i][0]);
    auto mix = [&](int c) {
        return static_cast<std::uint8_t>(
            std::lround(stops[i][c] + t * (stops[i + 1][c] - stops[i][c])));
    };
    return Rgb{mix(1), mix(2), mix(3)};
}

const Rgb kBackground{0x05, 0x07, 0x12};

// Colour scale position of a density relative to the peak: square-root
// scale, which separates the busy paths of an eye, with a floor so that the
// rarest traces still stand out from the background.
constexpr double kFloor = 0.08;
double DensityShade(double relative) {
    return kFloor + (1.0 - kFloor) * std::sqrt(std::clamp(relative, 0.0, 1.0));
}

std::string Shorten(const std::string& s) {
    return s.size() <= kMaxNoteLength ? s : s.substr(0, kMaxNoteLength - 3) + "...";
}

std::string Hex(Rgb c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

std::string Num(double v, const char* fmt = "%.2f") {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

// A "nice" tick step (1, 2 or 5 times a power of ten) giving about n ticks.
double NiceStep(double span, int n) {
    const double raw = span / n;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / p;
    return (f < 1.5 ? 1.0 : f < 3.5 ? 2.0 : f < 7.5 ? 5.0 : 10.0) * p;
}

std::string VoltLabel(double v, double step) {
    if (std::fabs(v) < step * 1e-6) v = 0.0;
    if (step < 0.1) return Num(v * 1e3, step < 0.01 ? "%.1f" : "%.0f");  // the axis says mV
    return Num(v, step < 1.0 ? "%.1f" : "%.0f");
}

}  // namespace

std::string XmlEscape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                // Control characters are not allowed in XML 1.0 text.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')
                    out += ' ';
                else
                    out += c;
        }
    }
    return out;
}

namespace {

// What every part of the page needs: the eye's layout and the plot's
// coordinate mapping.
struct Page {
    const EyeDiagram& eye;
    const EyeDiagram::Layout& lay;
    double pw = kRight - kLeft, ph = kBottom - kTop;
    double vstep = 0.0;
    std::vector<double> vticks;

    explicit Page(const EyeDiagram& e) : eye(e), lay(e.GetLayout()) {
        vstep = NiceStep(lay.vMax - lay.vMin, 8);
        for (double v = std::ceil(lay.vMin / vstep) * vstep; v <= lay.vMax + vstep * 1e-9;
             v += vstep)
            vticks.push_back(v);
    }
    double X(double ui) const { return kLeft + pw * ui / 2.0; }
    double Y(double v) const { return kBottom - ph * (v - lay.vMin) / (lay.vMax - lay.vMin); }
};

// The density grid as a PNG image: log-scaled colours, top row the highest
// voltage.
std::string DensityPng(const EyeDiagram& eye) {
    const int cols = eye.Columns();
    const int rows = eye.GetLayout().rows;
    if (rows <= 0) return std::string();
    const std::vector<float> d = eye.Density();
    float peak = 0.0f;
    for (float v : d) peak = std::max(peak, v);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows) *
                                  3);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const float v = d[static_cast<std::size_t>(r) * cols + c];
            const Rgb col =
                v > 0.0f && peak > 0.0f ? ColourAt(DensityShade(v / peak)) : kBackground;
            const std::size_t o = (static_cast<std::size_t>(rows - 1 - r) * cols + c) * 3;
            rgb[o] = col.r;
            rgb[o + 1] = col.g;
            rgb[o + 2] = col.b;
        }
    }
    return EncodePng(cols, rows, rgb);
}

void Heading(std::ostream& s, const EyePlotText& text) {
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
      << " width=\"" << kWidth << "\" height=\"" << kHeight << "\" viewBox=\"0 0 " << kWidth << ' '
      << kHeight << "\" font-family=\"Helvetica, Arial, sans-serif\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
      << "<text x=\"" << kLeft << "\" y=\"30\" font-size=\"20\" font-weight=\"bold\">"
      << XmlEscape(text.title) << "</text>\n";
    for (std::size_t i = 0; i < text.notes.size() && i < 2; ++i)
        s << "<text x=\"" << kLeft << "\" y=\"" << 52 + 18 * i
          << "\" font-size=\"12\" fill=\"#444\">" << XmlEscape(Shorten(text.notes[i]))
          << "</text>\n";
}

void DensityImage(std::ostream& s, const Page& p) {
    s << "<rect x=\"" << kLeft << "\" y=\"" << kTop << "\" width=\"" << p.pw << "\" height=\""
      << p.ph << "\" fill=\"" << Hex(kBackground) << "\"/>\n";
    const std::string png = DensityPng(p.eye);
    if (png.empty()) return;
    s << "<image x=\"" << kLeft << "\" y=\"" << kTop << "\" width=\"" << p.pw << "\" height=\""
      << p.ph << "\" preserveAspectRatio=\"none\" image-rendering=\"optimizeQuality\""
      << " xlink:href=\"data:image/png;base64," << Base64(png) << "\"/>\n";
}

void Grid(std::ostream& s, const Page& p) {
    s << "<g stroke=\"#ffffff\" stroke-opacity=\"0.18\" stroke-width=\"1\">\n";
    for (int i = 1; i < 8; ++i) {
        const double x = p.X(i * 0.25);
        s << "<line x1=\"" << x << "\" y1=\"" << kTop << "\" x2=\"" << x << "\" y2=\"" << kBottom
          << "\"/>\n";
    }
    for (double v : p.vticks)
        s << "<line x1=\"" << kLeft << "\" y1=\"" << p.Y(v) << "\" x2=\"" << kRight << "\" y2=\""
          << p.Y(v) << "\"/>\n";
    s << "</g>\n";
    s << "<rect x=\"" << kLeft << "\" y=\"" << kTop << "\" width=\"" << p.pw << "\" height=\""
      << p.ph << "\" fill=\"none\" stroke=\"#222\" stroke-width=\"1.2\"/>\n";
}

void TimeAxis(std::ostream& s, const Page& p, double bitTime) {
    s << "<g font-size=\"12\" text-anchor=\"middle\" fill=\"#222\">\n";
    for (int i = 0; i <= 8; ++i) {
        const double ui = i * 0.25;
        s << "<text x=\"" << p.X(ui) << "\" y=\"" << kBottom + 18 << "\">" << Num(ui, "%.2f")
          << "</text>\n";
        if (bitTime > 0.0)
            s << "<text x=\"" << p.X(ui) << "\" y=\"" << kBottom + 33
              << "\" fill=\"#777\" font-size=\"10\">" << Num(ui * bitTime * 1e12, "%.1f")
              << " ps</text>\n";
    }
    s << "<text x=\"" << (kLeft + kRight) / 2 << "\" y=\"" << kBottom + 56
      << "\" font-size=\"14\">Time (UI";
    if (bitTime > 0.0) s << "; 1 UI = " << Num(bitTime * 1e12, "%.2f") << " ps";
    s << ")</text>\n</g>\n";
}

void VoltageAxis(std::ostream& s, const Page& p) {
    s << "<g font-size=\"12\" text-anchor=\"end\" fill=\"#222\">\n";
    for (double v : p.vticks)
        s << "<text x=\"" << kLeft - 8 << "\" y=\"" << p.Y(v) + 4 << "\">" << VoltLabel(v, p.vstep)
          << "</text>\n";
    s << "</g>\n";
    s << "<text transform=\"translate(" << kLeft - 58 << ',' << (kTop + kBottom) / 2
      << ") rotate(-90)\" font-size=\"14\" text-anchor=\"middle\" fill=\"#222\">"
      << "Receiver output (" << (p.vstep < 0.1 ? "mV" : "V") << ")</text>\n";
}

// "1.23k" for 1230: the colour bar's numbers.
std::string Count(double v) {
    if (v >= 1e6) return Num(v / 1e6, "%.3gM");
    if (v >= 1e3) return Num(v / 1e3, "%.3gk");
    return Num(v, "%.3g");
}

// The bar runs along the square root of the density, as the image does;
// its ticks name the densities (traces per cell) at a quarter, half and
// three quarters of the way up and at the peak.
void ColourBar(std::ostream& s, const Page& p) {
    const double bx = kRight + 24, bw = 16;
    float peak = 0.0f;
    for (float v : p.eye.Density()) peak = std::max(peak, v);
    s << "<defs><linearGradient id=\"density\" x1=\"0\" y1=\"1\" x2=\"0\" y2=\"0\">\n";
    for (int i = 0; i <= 10; ++i) {
        const double f = i / 10.0;
        s << "<stop offset=\"" << f << "\" stop-color=\"" << Hex(ColourAt(DensityShade(f * f)))
          << "\"/>\n";
    }
    s << "</linearGradient></defs>\n"
      << "<rect x=\"" << bx << "\" y=\"" << kTop << "\" width=\"" << bw << "\" height=\"" << p.ph
      << "\" fill=\"url(#density)\" stroke=\"#222\" stroke-width=\"0.8\"/>\n"
      << "<g font-size=\"10\" fill=\"#222\">\n";
    for (int i = 1; i <= 4; ++i) {
        const double f = i / 4.0, y = kBottom - p.ph * f;
        s << "<line x1=\"" << bx + bw << "\" x2=\"" << bx + bw + 4 << "\" y1=\"" << y << "\" y2=\""
          << y << "\" stroke=\"#222\"/>\n"
          << "<text x=\"" << bx + bw + 6 << "\" y=\"" << y + 4 << "\">" << Count(peak * f * f)
          << "</text>\n";
    }
    s << "<text x=\"" << bx + bw + 6 << "\" y=\"" << kBottom + 4 << "\">0</text>\n"
      << "<text transform=\"translate(" << bx + bw + 44 << ',' << (kTop + kBottom) / 2
      << ") rotate(-90)\" text-anchor=\"middle\" font-size=\"11\">traces per cell "
      << "(square-root scale)</text>\n</g>\n";
}

// The opening at the target ratio: its upper and lower edge, each a line
// through the positions where it is open.
void Contour(std::ostream& s, const Page& p, const EyeOverlay& overlay) {
    if (overlay.contour == nullptr) return;
    const EyeContour& c = *overlay.contour;
    for (const std::vector<double>* edge : {&c.high, &c.low}) {
        bool open = false;
        for (std::size_t i = 0; i < c.positionUi.size(); ++i) {
            const double v = (*edge)[i];
            if (!std::isfinite(v)) {
                if (open) s << "\"/>\n";
                open = false;
                continue;
            }
            if (!open)
                s << "<polyline fill=\"none\" stroke=\"#ff4fd8\" stroke-width=\"1.6\" points=\"";
            open = true;
            s << Num(p.X(c.positionUi[i])) << ',' << Num(p.Y(v)) << ' ';
        }
        if (open) s << "\"/>\n";
    }
    s << "<text x=\"" << kLeft + 6 << "\" y=\"" << kTop + 16
      << "\" font-size=\"12\" fill=\"#ff4fd8\">opening at BER " << Num(overlay.targetBer, "%.0e")
      << "</text>\n";
}

void Measurements(std::ostream& s, const Page& p, const EyeMetrics& m) {
    s << "<g font-size=\"13\" fill=\"#ffffff\" stroke=\"none\">\n";
    if (m.measured)
        s << "<line x1=\"" << p.X(m.bestPosition) << "\" y1=\"" << kTop << "\" x2=\""
          << p.X(m.bestPosition) << "\" y2=\"" << kBottom
          << "\" stroke=\"#ffffff\" stroke-opacity=\"0.35\" stroke-dasharray=\"2 3\"/>\n";
    if (m.measured && m.open) {
        const double xb = p.X(m.bestPosition);
        s << "<line x1=\"" << xb << "\" y1=\"" << p.Y(m.innerZero) << "\" x2=\"" << xb << "\" y2=\""
          << p.Y(m.innerOne) << "\" stroke=\"#ffffff\" stroke-width=\"2\"/>\n";
        for (double v : {m.innerZero, m.innerOne})
            s << "<line x1=\"" << xb - 8 << "\" y1=\"" << p.Y(v) << "\" x2=\"" << xb + 8
              << "\" y2=\"" << p.Y(v) << "\" stroke=\"#ffffff\" stroke-width=\"2\"/>\n";
        const double yt = p.Y(m.threshold);
        s << "<line x1=\"" << p.X(m.widthLeft) << "\" y1=\"" << yt << "\" x2=\""
          << p.X(m.widthRight) << "\" y2=\"" << yt
          << "\" stroke=\"#ffffff\" stroke-width=\"2\" stroke-dasharray=\"6 4\"/>\n";
        for (double ui : {m.widthLeft, m.widthRight})
            s << "<line x1=\"" << p.X(ui) << "\" y1=\"" << yt - 8 << "\" x2=\"" << p.X(ui)
              << "\" y2=\"" << yt + 8 << "\" stroke=\"#ffffff\" stroke-width=\"2\"/>\n";
    }
    s << "</g>\n";
}

void Summary(std::ostream& s, const EyeMetrics& m, double bitTime, const EyeOverlay& overlay) {
    std::string summary;
    if (!m.measured) {
        summary = "eye not measured: no bits folded";
    } else if (!m.open) {
        summary = "eye closed at the sampling instant";
    } else {
        summary = "sampled: height " + Num(m.height * 1e3, "%.1f") + " mV";
        if (overlay.contour != nullptr)
            summary += " (" + Num(overlay.contour->heightAtTarget * 1e3, "%.1f") + " at " +
                       Num(overlay.targetBer, "%.0e") + ")";
        summary += ", width " + Num(m.width, "%.3f") + " UI";
        if (bitTime > 0.0 && overlay.widthAtTarget < 0.0)
            summary += " (" + Num(m.width * bitTime * 1e12, "%.1f") + " ps)";
        if (overlay.widthAtTarget >= 0.0)
            summary += " (" + Num(overlay.widthAtTarget, "%.3f") + " at " +
                       Num(overlay.targetBer, "%.0e") + ")";
        summary += ", threshold " + Num(m.threshold * 1e3, "%.1f") + " mV";
    }
    s << "<text x=\"" << kLeft << "\" y=\"" << kBottom + 86
      << "\" font-size=\"15\" font-weight=\"bold\" fill=\"#111\">" << XmlEscape(summary)
      << "</text>\n</svg>\n";
}

}  // namespace

std::string RenderEyeSvg(const EyeDiagram& eye, const EyeMetrics& m, const EyePlotText& text,
                         const EyeOverlay& overlay) {
    const Page page(eye);
    std::ostringstream s;
    Heading(s, text);
    DensityImage(s, page);
    Grid(s, page);
    TimeAxis(s, page, text.bitTime);
    VoltageAxis(s, page);
    ColourBar(s, page);
    Contour(s, page, overlay);
    Measurements(s, page, m);
    Summary(s, m, text.bitTime, overlay);
    return s.str();
}

}  // namespace amisim
