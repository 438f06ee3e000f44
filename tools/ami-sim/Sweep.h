// Sweep: runs a link at every combination of the values of some model
// parameters (--sweep NAME=VALUES, repeated). The plan and the channel are
// made once; each point is the run from the stimulus on with the plan's
// settings plus the point's values, into its own folder
// (DIR/points/NAME=VALUE_...). Points share nothing they change: each has
// its own copy of the plan and the channel, its own models, stimulus and
// sampler, so --jobs runs them on threads and each gives what it gives run
// alone.
//
// A point's summary.json records what decides its result (its run key);
// a later sweep with the same settings keeps a point whose summary.json
// holds the same key, so a stopped sweep resumes where it stopped. The
// table (sweep.csv, sweep.json) is written again after every point, so
// it always holds every finished one.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/ami-sim/LinkPlan.h"
#include "tools/ami-sim/Options.h"

namespace amisim {

struct SweepAxis {
    std::string name;
    std::vector<std::string> values;
};

// "eq=0,1,2", "de_code=0..6" (whole numbers), "x=0..1:0.25" (a step).
bool ParseSweepAxis(const std::string& text, SweepAxis& axis, std::string& error);

// What decides a run's result, as text: everything of the plan but where
// its files go and what it prints.
std::string RunKey(const LinkPlan& plan);

struct SweepPoint {
    std::vector<std::string> values;  // one per axis
    std::string name;                 // "eq=0_de_code=3"
    std::string directory;            // "points/eq=0_de_code=3"
    enum State { Waiting, Done, Kept, Failed } state = Waiting;
    std::string error;
    bool open = false;
    double height = 0.0, width = 0.0;                  // V, UI at the sampling instant
    double widthAtTarget = 0.0, heightAtTarget = 0.0;  // at the target BER
    double ber = 0.0;                                  // at the sampling instant
    double seconds = 0.0;
    bool finished() const { return state == Done || state == Kept; }
};

struct SweepTable {
    std::vector<SweepAxis> axes;
    std::vector<SweepPoint> points;  // the first axis varies slowest
    double targetBer = 1e-12;
    // The finished point widest at the target BER, then highest; -1 when
    // none finished.
    int Best() const;
};

// Runs the sweep the options describe; the exit status (1 when any point
// failed).
int RunSweep(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace amisim
