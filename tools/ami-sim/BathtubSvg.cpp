#include "tools/ami-sim/BathtubSvg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace amisim {

namespace {

constexpr double kWidth = 960, kHeight = 690;
constexpr double kLeft = 90, kRight = 880, kTop = 90, kBottom = 540;
const char* const kCurveColour = "#1b3a9e";
const char* const kTargetColour = "#d7191c";

std::string Num(double v, const char* fmt = "%.2f") {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

double Decades() {
    return -std::log10(kBathtubFloor);
}
double X(double ui) {
    return kLeft + (kRight - kLeft) * ui / 2.0;
}
double Y(double ber) {
    const double l = std::clamp(std::log10(std::max(ber, kBathtubFloor)), -Decades(), 0.0);
    return kTop + (kBottom - kTop) * (-l / Decades());
}

// "1" for 10^0, "1e-3" for 10^-3.
std::string DecadeLabel(int d) {
    return d == 0 ? "1" : "1e-" + std::to_string(d);
}

void Heading(std::ostream& s, const EyePlotText& text) {
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
      << "\" viewBox=\"0 0 " << kWidth << ' ' << kHeight
      << "\" font-family=\"Helvetica, Arial, sans-serif\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
      << "<text x=\"" << kLeft << "\" y=\"30\" font-size=\"20\" font-weight=\"bold\">"
      << XmlEscape(text.title) << "</text>\n";
    for (std::size_t i = 0; i < text.notes.size() && i < 2; ++i)
        s << "<text x=\"" << kLeft << "\" y=\"" << 52 + 18 * i
          << "\" font-size=\"12\" fill=\"#444\">" << XmlEscape(text.notes[i]) << "</text>\n";
}

// A line per decade, stronger and labelled every third; a tick per quarter
// UI with picoseconds beneath.
void Axes(std::ostream& s, double bitTime) {
    const int decades = static_cast<int>(Decades());
    s << "<g stroke=\"#000\">\n";
    for (int d = 0; d <= decades; ++d)
        s << "<line x1=\"" << kLeft << "\" x2=\"" << kRight << "\" y1=\"" << Y(std::pow(10.0, -d))
          << "\" y2=\"" << Y(std::pow(10.0, -d)) << "\" stroke-opacity=\""
          << (d % 3 == 0 ? "0.18" : "0.06") << "\"/>\n";
    for (int i = 1; i < 8; ++i)
        s << "<line x1=\"" << X(i * 0.25) << "\" x2=\"" << X(i * 0.25) << "\" y1=\"" << kTop
          << "\" y2=\"" << kBottom << "\" stroke-opacity=\"0.15\"/>\n";
    s << "</g>\n<rect x=\"" << kLeft << "\" y=\"" << kTop << "\" width=\"" << kRight - kLeft
      << "\" height=\"" << kBottom - kTop << "\" fill=\"none\" stroke=\"#222\"/>\n";
    s << "<g font-size=\"12\" fill=\"#222\" text-anchor=\"end\">\n";
    for (int d = 0; d <= decades; d += 3)
        s << "<text x=\"" << kLeft - 8 << "\" y=\"" << Y(std::pow(10.0, -d)) + 4 << "\">"
          << DecadeLabel(d) << "</text>\n";
    s << "</g>\n<g font-size=\"12\" fill=\"#222\" text-anchor=\"middle\">\n";
    for (int i = 0; i <= 8; ++i) {
        s << "<text x=\"" << X(i * 0.25) << "\" y=\"" << kBottom + 18 << "\">" << Num(i * 0.25)
          << "</text>\n";
        if (bitTime > 0.0)
            s << "<text x=\"" << X(i * 0.25) << "\" y=\"" << kBottom + 33
              << "\" fill=\"#777\" font-size=\"10\">" << Num(i * 0.25 * bitTime * 1e12, "%.1f")
              << " ps</text>\n";
    }
    s << "<text x=\"" << (kLeft + kRight) / 2 << "\" y=\"" << kBottom + 56
      << "\" font-size=\"14\">Sampling phase (UI)</text>\n</g>\n"
      << "<text transform=\"translate(" << kLeft - 58 << ',' << (kTop + kBottom) / 2
      << ") rotate(-90)\" font-size=\"14\" text-anchor=\"middle\">Bit error ratio</text>\n";
}

// The curve in runs: solid where countable, dashed where extrapolated,
// and where it lies below the axis a run drawn on the axis, pale, with a
// mark at each end.
void Curve(std::ostream& s, const BathtubCurve& c) {
    enum Kind { Counted, Extrapolated, Clipped };
    auto kind = [&](std::size_t i) {
        return c.ber[i] < kBathtubFloor ? Clipped : c.ber[i] < c.countable ? Extrapolated : Counted;
    };
    std::size_t i = 0;
    while (i < c.ber.size()) {
        const Kind k = kind(i);
        std::size_t j = i;
        while (j + 1 < c.ber.size() && kind(j + 1) == k) ++j;
        // Runs share their end points so the curve has no gaps.
        const std::size_t from = i > 0 ? i - 1 : i, to = j + 1 < c.ber.size() ? j + 1 : j;
        s << "<polyline fill=\"none\" stroke=\"" << kCurveColour << "\" stroke-width=\"2\"";
        if (k == Extrapolated) s << " stroke-dasharray=\"7 4\"";
        if (k == Clipped) s << " stroke-opacity=\"0.35\"";
        s << " points=\"";
        for (std::size_t n = from; n <= to; ++n)
            s << Num(X(c.positionUi[n])) << ',' << Num(Y(c.ber[n])) << ' ';
        s << "\"/>\n";
        if (k == Clipped)
            for (std::size_t n : {i, j})
                s << "<path d=\"M" << Num(X(c.positionUi[n]) - 5) << ' ' << Num(kBottom - 10)
                  << " l5 8 l5 -8\" fill=\"none\" stroke=\"" << kCurveColour
                  << "\" stroke-width=\"1.5\"/>\n";
        i = j + 1;
    }
}

// One row under the axis: what the three kinds of curve mean.
void Legend(std::ostream& s) {
    const double y = kBottom + 76;
    double x = kLeft;
    s << "<g font-size=\"11\" fill=\"#222\">\n"
      << "<line x1=\"" << x << "\" x2=\"" << x + 28 << "\" y1=\"" << y - 4 << "\" y2=\"" << y - 4
      << "\" stroke=\"" << kCurveColour << "\" stroke-width=\"2\"/>\n"
      << "<text x=\"" << x + 34 << "\" y=\"" << y << "\">shown by the bits folded</text>\n";
    x += 200;
    s << "<line x1=\"" << x << "\" x2=\"" << x + 28 << "\" y1=\"" << y - 4 << "\" y2=\"" << y - 4
      << "\" stroke=\"" << kCurveColour << "\" stroke-width=\"2\" stroke-dasharray=\"7 4\"/>\n"
      << "<text x=\"" << x + 34 << "\" y=\"" << y
      << "\">extrapolated: below 1 error in them</text>\n";
    x += 250;
    s << "<path d=\"M" << x + 9 << ' ' << y - 8 << " l5 8 l5 -8\" fill=\"none\" stroke=\""
      << kCurveColour << "\" stroke-width=\"1.5\"/>\n"
      << "<text x=\"" << x + 34 << "\" y=\"" << y << "\">below "
      << DecadeLabel(static_cast<int>(Decades())) << ", drawn on the axis</text>\n</g>\n";
}

void Target(std::ostream& s, const BathtubCurve& c, const CountedMark& counted) {
    const double yt = Y(c.targetBer);
    s << "<line x1=\"" << kLeft << "\" x2=\"" << kRight << "\" y1=\"" << yt << "\" y2=\"" << yt
      << "\" stroke=\"" << kTargetColour << "\" stroke-dasharray=\"6 4\"/>\n";
    if (c.open)
        s << "<line x1=\"" << X(c.left) << "\" x2=\"" << X(c.right) << "\" y1=\"" << yt
          << "\" y2=\"" << yt << "\" stroke=\"" << kTargetColour << "\" stroke-width=\"4\"/>\n";
    const double xs = X(c.samplingUi);
    s << "<line x1=\"" << xs << "\" x2=\"" << xs << "\" y1=\"" << kTop << "\" y2=\"" << kBottom
      << "\" stroke=\"#555\" stroke-dasharray=\"2 3\"/>\n"
      << "<text x=\"" << xs + 5 << "\" y=\"" << kTop + 14
      << "\" font-size=\"11\" fill=\"#555\">sampling instant</text>\n";
    if (counted.bits > 0) {
        // The counted ratio, or one error in the bits counted as a bound.
        const double ber = static_cast<double>(std::max<std::size_t>(counted.errors, 1)) /
                           static_cast<double>(counted.bits);
        const std::string bits = std::to_string(counted.bits) + " bits";
        const std::string label =
            counted.errors > 0 ? "counted: " + std::to_string(counted.errors) + " errors in " + bits
                               : "counted: no error in " + bits;
        s << "<circle cx=\"" << xs << "\" cy=\"" << Y(ber) << "\" r=\"4\" fill=\""
          << (counted.errors > 0 ? "#222" : "#fff") << "\" stroke=\"#222\"/>\n"
          << "<text x=\"" << xs + 8 << "\" y=\"" << Y(ber) - 6
          << "\" font-size=\"11\" fill=\"#222\">" << label << "</text>\n";
    }
}

void Summary(std::ostream& s, const BathtubCurve& c, double bitTime) {
    std::string summary = "BER target " + Num(c.targetBer, "%.0e") + ": ";
    if (c.open) {
        summary += "eye width " + Num(c.width, "%.3f") + " UI";
        if (bitTime > 0.0) summary += " (" + Num(c.width * bitTime * 1e12, "%.1f") + " ps)";
    } else {
        summary += "eye closed";
    }
    summary += ", threshold " + Num(c.threshold * 1e3, "%.1f") + " mV";
    s << "<text x=\"" << kLeft << "\" y=\"" << kBottom + 112
      << "\" font-size=\"15\" font-weight=\"bold\" fill=\"#111\">" << XmlEscape(summary)
      << "</text>\n</svg>\n";
}

}  // namespace

std::string RenderBathtubSvg(const BathtubCurve& c, const EyePlotText& text,
                             const CountedMark& counted) {
    std::ostringstream s;
    Heading(s, text);
    Axes(s, text.bitTime);
    Curve(s, c);
    Target(s, c, counted);
    Legend(s);
    Summary(s, c, text.bitTime);
    return s.str();
}

}  // namespace amisim
