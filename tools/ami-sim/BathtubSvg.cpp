#include "tools/ami-sim/BathtubSvg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace amisim {

namespace {

constexpr double kWidth = 960, kHeight = 640;
constexpr double kLeft = 90, kRight = 880, kTop = 90, kBottom = 540;

std::string Num(double v, const char* fmt = "%.2f")
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

}  // namespace

std::string RenderBathtubSvg(const BathtubCurve& c, const EyePlotText& text)
{
    const double decades = -std::log10(kBathtubFloor);
    auto xOf = [](double ui) { return kLeft + (kRight - kLeft) * ui / 2.0; };
    auto yOf = [&](double ber) {
        const double l = std::clamp(std::log10(std::max(ber, kBathtubFloor)), -decades, 0.0);
        return kTop + (kBottom - kTop) * (-l / decades);
    };

    std::ostringstream s;
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\""
      << kHeight << "\" viewBox=\"0 0 " << kWidth << ' ' << kHeight
      << "\" font-family=\"Helvetica, Arial, sans-serif\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
      << "<text x=\"" << kLeft << "\" y=\"30\" font-size=\"20\" font-weight=\"bold\">"
      << XmlEscape(text.title) << "</text>\n";
    for (std::size_t i = 0; i < text.notes.size() && i < 2; ++i)
        s << "<text x=\"" << kLeft << "\" y=\"" << 52 + 18 * i
          << "\" font-size=\"12\" fill=\"#444\">" << XmlEscape(text.notes[i]) << "</text>\n";

    // Grid: a line per three decades, a tick per quarter UI.
    s << "<g stroke=\"#000\" stroke-opacity=\"0.15\">\n";
    for (int d = 0; d <= static_cast<int>(decades); d += 3)
        s << "<line x1=\"" << kLeft << "\" x2=\"" << kRight << "\" y1=\"" << yOf(std::pow(10.0, -d))
          << "\" y2=\"" << yOf(std::pow(10.0, -d)) << "\"/>\n";
    for (int i = 1; i < 8; ++i)
        s << "<line x1=\"" << xOf(i * 0.25) << "\" x2=\"" << xOf(i * 0.25) << "\" y1=\"" << kTop
          << "\" y2=\"" << kBottom << "\"/>\n";
    s << "</g>\n<rect x=\"" << kLeft << "\" y=\"" << kTop << "\" width=\"" << kRight - kLeft
      << "\" height=\"" << kBottom - kTop << "\" fill=\"none\" stroke=\"#222\"/>\n";
    s << "<g font-size=\"12\" fill=\"#222\" text-anchor=\"end\">\n";
    for (int d = 0; d <= static_cast<int>(decades); d += 3)
        s << "<text x=\"" << kLeft - 8 << "\" y=\"" << yOf(std::pow(10.0, -d)) + 4 << "\">1e-" << d
          << "</text>\n";
    s << "</g>\n<g font-size=\"12\" fill=\"#222\" text-anchor=\"middle\">\n";
    for (int i = 0; i <= 8; ++i) {
        s << "<text x=\"" << xOf(i * 0.25) << "\" y=\"" << kBottom + 18 << "\">"
          << Num(i * 0.25) << "</text>\n";
        if (text.bitTime > 0.0)
            s << "<text x=\"" << xOf(i * 0.25) << "\" y=\"" << kBottom + 33
              << "\" fill=\"#777\" font-size=\"10\">" << Num(i * 0.25 * text.bitTime * 1e12, "%.1f")
              << " ps</text>\n";
    }
    s << "<text x=\"" << (kLeft + kRight) / 2 << "\" y=\"" << kBottom + 56
      << "\" font-size=\"14\">Sampling phase (UI)</text>\n</g>\n"
      << "<text transform=\"translate(" << kLeft - 58 << ',' << (kTop + kBottom) / 2
      << ") rotate(-90)\" font-size=\"14\" text-anchor=\"middle\">Bit error ratio</text>\n";

    // The curve, the target line and the width at the target.
    s << "<polyline fill=\"none\" stroke=\"#1b3a9e\" stroke-width=\"2\" points=\"";
    for (std::size_t i = 0; i < c.ber.size(); ++i)
        s << Num(xOf(c.positionUi[i])) << ',' << Num(yOf(c.ber[i])) << ' ';
    s << "\"/>\n";
    const double yt = yOf(c.targetBer);
    s << "<line x1=\"" << kLeft << "\" x2=\"" << kRight << "\" y1=\"" << yt << "\" y2=\"" << yt
      << "\" stroke=\"#d7191c\" stroke-dasharray=\"6 4\"/>\n";
    std::string summary = "BER target " + Num(c.targetBer, "%.0e") + ": ";
    if (c.open) {
        s << "<line x1=\"" << xOf(c.left) << "\" x2=\"" << xOf(c.right) << "\" y1=\"" << yt
          << "\" y2=\"" << yt << "\" stroke=\"#d7191c\" stroke-width=\"4\"/>\n";
        summary += "eye width " + Num(c.width, "%.3f") + " UI";
        if (text.bitTime > 0.0) summary += " (" + Num(c.width * text.bitTime * 1e12, "%.1f") + " ps)";
    } else {
        summary += "eye closed";
    }
    summary += ", threshold " + Num(c.threshold * 1e3, "%.1f") + " mV";
    s << "<text x=\"" << kLeft << "\" y=\"" << kBottom + 86
      << "\" font-size=\"15\" font-weight=\"bold\" fill=\"#111\">" << XmlEscape(summary)
      << "</text>\n</svg>\n";
    return s.str();
}

}  // namespace amisim
