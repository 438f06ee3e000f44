#include "tools/ami-sim/SweepReport.h"

#include <algorithm>
#include <cstdio>

#include "tools/ami-sim/JsonWriter.h"

namespace amisim {

namespace {

std::string Fmt(const char* fmt, double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

const char* StateName(SweepPoint::State s) {
    switch (s) {
        case SweepPoint::Waiting:
            return "not run";
        case SweepPoint::Done:
            return "ok";
        case SweepPoint::Kept:
            return "kept";
        case SweepPoint::Failed:
            return "failed";
    }
    return "";
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

// Right-aligned in `width` characters.
std::string Pad(const std::string& s, std::size_t width) {
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string Settings(const SweepTable& t, const SweepPoint& p) {
    std::string s;
    for (std::size_t a = 0; a < t.axes.size(); ++a)
        s += (a == 0 ? "" : " ") + t.axes[a].name + "=" + p.values[a];
    return s;
}

void PointJson(const SweepTable& t, const SweepPoint& p, JsonWriter& j) {
    j.BeginObject("settings");
    for (std::size_t a = 0; a < t.axes.size(); ++a) j.Field(t.axes[a].name, p.values[a]);
    j.EndObject().Field("state", StateName(p.state));
    if (p.finished())
        j.Field("open", p.open)
            .Field("height_V", p.height)
            .Field("width_UI", p.width)
            .Field("width_UI_at_1e-12", p.widthAtTarget)
            .Field("height_V_at_1e-12", p.heightAtTarget)
            .Field("ber_at_sampling_instant", p.ber);
    if (p.state == SweepPoint::Failed) j.Field("error", p.error);
    j.Field("directory", p.directory);
}

}  // namespace

std::string SweepCsv(const SweepTable& t) {
    std::string s;
    for (const SweepAxis& a : t.axes) s += CsvField(a.name) + ",";
    s += "state,eye_height_V,eye_width_UI,eye_width_UI_at_1e-12,eye_height_V_at_1e-12,"
         "ber_at_sampling_instant,directory\n";
    for (const SweepPoint& p : t.points) {
        if (p.state == SweepPoint::Waiting) continue;
        for (const std::string& v : p.values) s += CsvField(v) + ",";
        s += StateName(p.state);
        if (p.finished())
            s += "," + Fmt("%.6g", p.height) + "," + Fmt("%.6g", p.width) + "," +
                 Fmt("%.6g", p.widthAtTarget) + "," + Fmt("%.6g", p.heightAtTarget) + "," +
                 Fmt("%.6g", p.ber);
        else
            s += ",,,,,";
        s += "," + CsvField(p.directory) + "\n";
    }
    return s;
}

std::string SweepJson(const SweepTable& t, bool complete, bool heatMap) {
    JsonWriter j;
    j.BeginObject().Field("tool", "ami-sim sweep").Field("complete", complete);
    j.BeginArray("parameters");
    for (const SweepAxis& a : t.axes) {
        j.BeginObject().Field("name", a.name).BeginArray("values");
        for (const std::string& v : a.values) j.Field("", v);
        j.EndArray().EndObject();
    }
    j.EndArray().Field("target_ber", t.targetBer);
    j.BeginArray("points");
    for (const SweepPoint& p : t.points) {
        if (p.state == SweepPoint::Waiting) continue;
        j.BeginObject();
        PointJson(t, p, j);
        j.EndObject();
    }
    j.EndArray();
    const int best = t.Best();
    if (best < 0) {
        j.Null("best");
    } else {
        j.BeginObject("best");
        PointJson(t, t.points[static_cast<std::size_t>(best)], j);
        j.EndObject();
    }
    j.BeginObject("files").Field("csv", "sweep.csv");
    if (heatMap && complete) j.Field("heat_map_svg", "heatmap.svg");
    j.EndObject().EndObject();
    return j.Text();
}

void PrintSweepTable(const SweepTable& t, std::ostream& out) {
    out << "ami-sim sweep: " << t.points.size() << " points\n\n";
    for (const SweepAxis& a : t.axes) out << Pad(a.name, 8) << ' ';
    out << "  eye height/mV  eye width/UI  width at BER 1e-12/UI  height at 1e-12/mV\n";
    const int best = t.Best();
    for (std::size_t i = 0; i < t.points.size(); ++i) {
        const SweepPoint& p = t.points[i];
        for (const std::string& v : p.values) out << Pad(v, 8) << ' ';
        if (!p.finished()) {
            out << "  " << StateName(p.state) << (p.error.empty() ? "" : ": " + p.error) << '\n';
            continue;
        }
        if (!p.open) {
            out << "         closed\n";
            continue;
        }
        out << Fmt("%15.1f", p.height * 1e3) << Fmt("%14.3f", p.width)
            << Fmt("%23.3f", p.widthAtTarget) << Fmt("%20.1f", p.heightAtTarget * 1e3)
            << (static_cast<int>(i) == best ? "  <- best" : "") << '\n';
    }
    if (best >= 0) {
        const SweepPoint& b = t.points[static_cast<std::size_t>(best)];
        out << "\nbest: " << Settings(t, b) << ": eye width " << Fmt("%.3f", b.widthAtTarget)
            << " UI at BER 1e-12, height " << Fmt("%.1f", b.height * 1e3) << " mV (" << b.directory
            << ")\n";
    }
}

}  // namespace amisim
