// DFModel: the abstract dataflow block. Every block and both model networks
// derive from it and follow one four-phase lifecycle: Setup (validate
// parameters, set port rates), Initialize (reset run-time state), Run (one
// firing), Finalize (release what Initialize took). Failures are a false
// result plus one line on the standard error stream; nothing is thrown.
//
// Each block also keeps the lines it reported, so that whoever runs it can
// pass the reason on: a network adopts the reasons of the blocks that
// failed, and the entry points put the network's reasons into the message
// that the simulator shows. The text lives in the block itself, so distinct
// instances never see each other's reasons.
#pragma once

#include <cstddef>
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

    // Fires the block `firings` times in a row over consecutive samples of
    // its ports, as that many Runs would with every port moved on by its
    // Rate between them: firing f reads and writes the samples at offsets
    // f * Rate onwards. The owner attaches arrays of at least firings *
    // Rate samples to every port. Paying the per-firing bookkeeping once per
    // span is what lets a network run at the speed of its arithmetic.
    //
    // Returns the number of firings before the first that failed (firings
    // when none did). The failing firing is done as far as Run would have
    // done it, and no firing after it is done at all.
    //
    // The default fires Run for a span of one firing only, since Run
    // addresses offset 0 alone; longer spans are refused with one line on
    // standard error. Blocks that fire over spans override it.
    virtual std::size_t RunSpan(std::size_t firings);

    // Writes one line (message plus line end) to standard error, flushes,
    // and keeps the message as one of this block's reasons.
    void ReportError(const std::string& message);

    // The reasons reported since the last ClearReasons, one per line (each
    // ending in '\n'). Bounded: reasons past kReasonLimit characters are
    // only written to standard error.
    const std::string& Reasons() const { return reasons_; }
    void ClearReasons() { reasons_.clear(); }

    static constexpr std::size_t kReasonLimit = 2048;

protected:
    // For networks: passes ok through and, when it is false, moves the
    // reasons of the block that failed into this block's own.
    bool Adopt(bool ok, DFModel& block) {
        if (!ok) AdoptReasons(block);
        return ok;
    }

private:
    std::string reasons_;

    void AdoptReasons(DFModel& block);

    void KeepReason(const std::string& line);
};

}  // namespace Vantra
