#include "tools/ami-sim/Sweep.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "tools/ami-sim/HeatMapSvg.h"
#include "tools/ami-sim/JsonWriter.h"
#include "tools/ami-sim/LinkStatistics.h"
#include "tools/ami-sim/RunFiles.h"
#include "tools/ami-sim/Simulation.h"
#include "tools/ami-sim/SweepReport.h"

namespace amisim {

namespace fs = std::filesystem;

namespace {

// Beyond these a sweep is a mistake in its values more likely than a plan.
constexpr std::size_t kMaxAxisValues = 1000;
constexpr std::size_t kMaxPoints = 10000;

std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string Exact(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

bool Number(const std::string& text, double& v) {
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(v);
}

// "a..b" or "a..b:step" into values.
bool ParseRange(const std::string& text, std::vector<std::string>& values, std::string& error) {
    const std::size_t dots = text.find("..");
    const std::size_t colon = text.find(':', dots);
    double a = 0.0, b = 0.0, step = 1.0;
    const bool whole = colon == std::string::npos;
    if (!Number(text.substr(0, dots), a) ||
        !Number(text.substr(dots + 2, whole ? std::string::npos : colon - dots - 2), b) ||
        (!whole && !Number(text.substr(colon + 1), step))) {
        error = "'" + text + "' is no range such as 0..6 or 0..1:0.25";
        return false;
    }
    if (whole && (a != std::floor(a) || b != std::floor(b))) {
        error = "'" + text + "' needs a step (such as " + text +
                ":0.25) between values that are "
                "not whole numbers";
        return false;
    }
    if (!(step > 0.0) || b < a || (b - a) / step >= static_cast<double>(kMaxAxisValues)) {
        error = "'" + text + "' does not run upwards in at most " + std::to_string(kMaxAxisValues) +
                " steps";
        return false;
    }
    for (double k = 0; a + k * step <= b + 1e-9 * step; ++k) values.push_back(Num(a + k * step));
    return true;
}

std::string Sanitised(const std::string& s) {
    std::string out;
    for (char c : s)
        out += std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '=' ||
                       c == '+'
                   ? c
                   : '_';
    return out;
}

// The sweep's state shared by its workers; `lock` guards the points'
// results, the files of the table and the streams.
struct Context {
    Context(const Options& o, std::ostream& e) : options(o), directory(o.outputDirectory), err(e) {}
    const Options& options;
    LinkPlan base;
    LinkChannel channel;
    SweepTable table;
    fs::path directory;
    std::ostream& err;
    std::mutex lock;
    std::atomic<std::size_t> next{0};
    std::size_t finished = 0;
};

// summary.json's text after "key": up to the end of its line.
std::string Field(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\": ");
    if (at == std::string::npos) return "";
    const std::size_t start = at + key.size() + 4;
    std::string value = json.substr(start, json.find('\n', start) - start);
    if (!value.empty() && value.back() == ',') value.pop_back();
    return value;
}

// A point an earlier sweep finished with the same run key.
bool Kept(const fs::path& summary, const std::string& key, SweepPoint& p) {
    std::ifstream f(summary);
    if (!f) return false;
    std::stringstream s;
    s << f.rdbuf();
    const std::string json = s.str();
    if (Field(json, "run_key") != JsonWriter::Quote(key) || Field(json, "status") != "\"ok\"")
        return false;
    p.open = Field(json, "open") == "true";
    p.height = std::strtod(Field(json, "height_V").c_str(), nullptr);
    p.width = std::strtod(Field(json, "width_UI").c_str(), nullptr);
    p.widthAtTarget = std::strtod(Field(json, "width_UI_at_1e-12").c_str(), nullptr);
    p.heightAtTarget = std::strtod(Field(json, "height_V_at_1e-12").c_str(), nullptr);
    p.ber = std::strtod(Field(json, "ber_at_sampling_instant").c_str(), nullptr);
    p.state = SweepPoint::Kept;
    return true;
}

void Settle(LinkPlan& plan, const SweepTable& t, const SweepPoint& p) {
    std::string ignored;
    for (std::size_t a = 0; a < t.axes.size(); ++a)
        ApplySetting(plan, t.axes[a].name + "=" + p.values[a], ignored);
}

void WriteTable(Context& c, bool complete) {
    std::string ignored;
    const bool heatMap = c.table.axes.size() >= 2;
    WriteTextFile((c.directory / "sweep.csv").string(), SweepCsv(c.table), ignored);
    if (heatMap && complete)
        WriteTextFile((c.directory / "heatmap.svg").string(),
                      RenderHeatMapSvg(c.table, "Eye width at BER 1e-12"), ignored);
    WriteTextFile((c.directory / "sweep.json").string(), SweepJson(c.table, complete, heatMap),
                  ignored);
}

void Report(Context& c, const SweepPoint& p, const std::string& messages) {
    ++c.finished;
    WriteTable(c, false);
    if (c.options.quiet && p.state != SweepPoint::Failed) return;
    std::istringstream lines(messages);
    for (std::string line; std::getline(lines, line);) c.err << line << " [" << p.name << "]\n";
    c.err << "ami-sim: point " << c.finished << " of " << c.table.points.size() << ", " << p.name
          << ": ";
    if (p.state == SweepPoint::Failed)
        c.err << "failed: " << p.error << '\n';
    else if (p.state == SweepPoint::Kept)
        c.err << "kept from an earlier run\n";
    else
        c.err << "eye width " << Num(std::round(p.width * 1000) / 1000) << " UI, "
              << Num(std::round(p.widthAtTarget * 1000) / 1000) << " UI at BER 1e-12 ("
              << Num(std::round(p.seconds * 10) / 10) << " s)\n";
}

void RunPoint(Context& c, SweepPoint& p) {
    LinkRun run;
    run.plan = c.base;
    Settle(run.plan, c.table, p);
    run.plan.outputDirectory = (c.directory / p.directory).string();
    run.plan.nameLibraries = false;  // the sweep named them once
    run.runKey = RunKey(run.plan);
    const fs::path summary = fs::path(run.plan.outputDirectory) / "summary.json";
    SweepPoint result = p;
    std::ostringstream messages;
    if (!Kept(summary, run.runKey, result)) {
        run.channel = c.channel;
        std::string error;
        const int status = RunFromStimulus(run, messages, false, error);
        result.state = status == 0 ? SweepPoint::Done : SweepPoint::Failed;
        result.error = error.empty() && status != 0 ? "a model's AMI_Close failed" : error;
        if (run.sampler) {
            const EyeMetrics& m = run.statistics.Metrics();
            result.open = m.open;
            result.height = m.height;
            result.width = m.width;
            result.widthAtTarget = run.statistics.Tub().width;
            result.heightAtTarget = run.statistics.Contour().heightAtTarget;
            result.ber = run.statistics.Tub().berAtSampling;
        }
        result.seconds = run.totalSeconds;
    }
    const std::lock_guard<std::mutex> hold(c.lock);
    p = result;
    Report(c, p, messages.str());
}

// Nothing thrown may leave a worker's thread; a point that throws fails.
void Work(Context& c) {
    for (std::size_t i = c.next++; i < c.table.points.size(); i = c.next++) {
        try {
            RunPoint(c, c.table.points[i]);
        } catch (const std::exception& e) {
            const std::lock_guard<std::mutex> hold(c.lock);
            SweepPoint& p = c.table.points[i];
            p.state = SweepPoint::Failed;
            p.error = std::string(std::bad_alloc().what()) == e.what() ? "out of memory" : e.what();
            Report(c, p, "");
        }
    }
}

// Every combination, the first axis varying slowest.
void Enumerate(SweepTable& t) {
    std::size_t total = 1;
    for (const SweepAxis& a : t.axes) total *= a.values.size();
    for (std::size_t i = 0; i < total; ++i) {
        SweepPoint p;
        std::size_t rest = i;
        std::vector<std::string> names(t.axes.size());
        p.values.resize(t.axes.size());
        for (std::size_t a = t.axes.size(); a-- > 0;) {
            p.values[a] = t.axes[a].values[rest % t.axes[a].values.size()];
            rest /= t.axes[a].values.size();
        }
        for (std::size_t a = 0; a < t.axes.size(); ++a)
            p.name += (a == 0 ? "" : "_") + Sanitised(t.axes[a].name + "=" + p.values[a]);
        p.directory = "points/" + p.name;
        t.points.push_back(std::move(p));
    }
}

// The axes read and every value tried on the plan, before anything runs.
bool PlanAxes(const Options& o, const LinkPlan& base, SweepTable& t, std::string& error) {
    std::size_t total = 1;
    for (const std::string& text : o.sweeps) {
        SweepAxis axis;
        if (!ParseSweepAxis(text, axis, error)) return false;
        for (const SweepAxis& a : t.axes)
            if (a.name == axis.name) {
                error = "--sweep " + text + ": " + axis.name + " is swept twice";
                return false;
            }
        for (const std::string& v : axis.values) {
            LinkPlan trial = base;
            if (!ApplySetting(trial, axis.name + "=" + v, error)) {
                error = "--sweep " + text + ": " + error;
                return false;
            }
        }
        total *= axis.values.size();
        if (total > kMaxPoints) {
            error = "the sweep has more than " + std::to_string(kMaxPoints) + " points";
            return false;
        }
        t.axes.push_back(std::move(axis));
    }
    Enumerate(t);
    return true;
}

}  // namespace

bool ParseSweepAxis(const std::string& text, SweepAxis& axis, std::string& error) {
    const std::size_t eq = text.find('=');
    axis = SweepAxis();
    axis.name = text.substr(0, eq);
    const std::string values = eq == std::string::npos ? "" : text.substr(eq + 1);
    std::string why;
    if (values.find("..") != std::string::npos) {
        if (!ParseRange(values, axis.values, why)) {
            error = "--sweep " + text + ": " + why;
            return false;
        }
        return true;
    }
    std::size_t start = 0;
    while (start <= values.size()) {
        const std::size_t comma = std::min(values.find(',', start), values.size());
        axis.values.push_back(values.substr(start, comma - start));
        start = comma + 1;
    }
    for (const std::string& v : axis.values)
        if (v.empty() || axis.values.size() > kMaxAxisValues) {
            error = "--sweep " + text + ": expects values such as 0,1,2, 0..6 or 0..1:0.25";
            return false;
        }
    return true;
}

std::string RunKey(const LinkPlan& p) {
    std::string k = "bits " + std::to_string(p.bits) + "; prbs " + std::to_string(p.prbsOrder) +
                    "; seed " + std::to_string(p.seed) + "; bit time " + Exact(p.bitTime) +
                    "; samples per bit " + std::to_string(p.samplesPerBit) + "; amplitude " +
                    Exact(p.amplitude) + "; block " + std::to_string(p.blockSize) + "; channel " +
                    std::to_string(static_cast<int>(p.channel.source)) + " " +
                    Exact(p.channel.lossDb) + " " + p.channel.file;
    for (int port : p.channel.ports) k += " " + std::to_string(port);
    k += "; kit " + p.kitFile + " " + CornerName(p.corner) + (p.analog.apply ? " analog" : "");
    for (const ModelPlan* m : {&p.tx, &p.rx}) k += "; " + m->library + " " + m->parameters;
    const Impairments& i = p.impairments;
    for (const Setting* s : {&i.txRj, &i.txDj, &i.txDcd, &i.txSj, &i.txSjFrequency, &i.rxNoise,
                             &i.rxRj, &i.rxDj, &i.rxDcd, &i.rxSj, &i.rxSensitivity})
        k += " " + Exact(s->value);
    k += "; clock " + std::to_string(static_cast<int>(p.clock.method)) + " " +
         Exact(p.clock.gainUi) + " " + Exact(p.clock.integralUi) + "; ignore " +
         std::to_string(p.ignoreBits) + "; wave bits " + std::to_string(p.waveBits);
    return k;
}

int SweepTable::Best() const {
    int best = -1;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SweepPoint& p = points[i];
        if (!p.finished()) continue;
        if (best < 0) {
            best = static_cast<int>(i);
            continue;
        }
        const SweepPoint& b = points[static_cast<std::size_t>(best)];
        if (p.widthAtTarget > b.widthAtTarget + 1e-9 ||
            (std::fabs(p.widthAtTarget - b.widthAtTarget) <= 1e-9 && p.height > b.height))
            best = static_cast<int>(i);
    }
    return best;
}

int RunSweep(const Options& o, std::ostream& out, std::ostream& err) {
    Context c(o, err);
    std::string error;
    int status = PlanAndPrepareChannel(o, c.base, c.channel, err, error);
    SamplingWindow window;
    if (status == 0 && !PlanAxes(o, c.base, c.table, error)) status = 2;
    if (status == 0 && !SizeSampling(c.base, c.channel.channel.taps.size(), window, error))
        status = 2;
    std::error_code ec;
    if (status == 0 && (fs::create_directories(c.directory, ec), ec)) {
        error = "cannot create output directory " + o.outputDirectory + ": " + ec.message();
        status = 1;
    }
    if (status != 0) {
        err << "ami-sim: " << error << '\n';
        return status;
    }
    c.table.targetBer = kTargetBer;
    if (!o.quiet)
        for (const ModelPlan* m : {&c.base.tx, &c.base.rx})
            if (!m->kitModel.empty())
                err << "ami-sim: " << m->role << ": every point loads " << m->library << " ("
                    << m->executable << " of model " << m->kitModel << ")\n";
    std::vector<std::thread> workers;
    const std::size_t jobs =
        std::min<std::size_t>(static_cast<std::size_t>(o.jobs), c.table.points.size());
    for (std::size_t j = 1; j < jobs; ++j) workers.emplace_back(Work, std::ref(c));
    Work(c);
    for (std::thread& w : workers) w.join();
    WriteTable(c, true);
    if (!o.quiet) {
        PrintSweepTable(c.table, out);
        out << "wrote      " << (c.directory / "sweep.csv").string() << ", "
            << (c.directory / "sweep.json").string()
            << (c.table.axes.size() >= 2 ? ", " + (c.directory / "heatmap.svg").string() : "")
            << " and each point's files in " << (c.directory / "points").string() << "/\n";
    }
    for (const SweepPoint& p : c.table.points)
        if (p.state == SweepPoint::Failed) return 1;
    return 0;
}

}  // namespace amisim
