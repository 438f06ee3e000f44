// LinkModels: the transmitter and receiver stage of a run. Loads each
// planned AMI model, initialises it with the channel's impulse response,
// filters the waveform through AMI_GetWave in blocks of the planned size,
// keeps the clock times the receiver returns, and closes both models.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "tools/ami-sim/AmiModel.h"
#include "tools/ami-sim/LinkChannel.h"
#include "tools/ami-sim/LinkPlan.h"

namespace amisim {

struct LinkModel {
    ModelPlan plan;
    AmiModel model;
    double seconds = 0.0;  // time spent in AMI_GetWave
    bool present() const { return plan.present(); }
};

struct LinkModels {
    LinkModel tx, rx;
    std::vector<double> clockTimes;  // the receiver's, seconds, in order
    std::size_t blockSize = 0;
    double sampleInterval = 0.0;
    bool closedOk = true;
};

// Loads and initialises the planned models; their AMI_Init messages go to
// `err` unless the plan is quiet.
bool StartModels(const LinkPlan& plan, const LinkChannel& channel, LinkModels& models,
                 std::ostream& err, std::string& error);

// Filters samples firstSample .. firstSample + n - 1 of the run in place
// through one model (nothing without a model); false with the block and
// time of a failed AMI_GetWave.
bool RunModel(LinkModels& models, LinkModel& model, double* wave, std::size_t n,
              std::size_t firstSample, std::string& error);

// AMI_Close of both; failures go to `err` and clear closedOk.
void CloseModels(LinkModels& models, std::ostream& err);

}  // namespace amisim
