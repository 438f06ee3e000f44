// DFModel: the abstract dataflow block. Every block and both model networks
// derive from it and follow one four-phase lifecycle: Setup (validate
// parameters, set port rates), Initialize (reset run-time state), Run (one
// firing), Finalize (release what Initialize took). Failures are a false
// result plus one line on the standard error stream; nothing is thrown.
#pragma once

#include <string>

namespace Vantra {

class DFModel {
public:
    DFModel() = default;
    DFModel(const DFModel&) = delete;
    DFModel& operator=(const DFModel&) = delete;

    virtual bool Setup() { return true; }
    virtual bool Initialize() { return true; }
    virtual bool Run() { return true; }
    virtual bool Finalize() { return true; }
    virtual bool CheckParameters() { return true; }
    virtual ~DFModel() = default;

    // Writes one line (message plus line end) to standard error and flushes.
    static void ReportError(const std::string& message);
};

}  // namespace Vantra
