// LinkRun: the record of one ami-sim run, one part per stage. Each stage
// fills its own part and reads only the parts of the stages before it:
//
//   plan -> channel -> stimulus -> transmitter / receiver -> sampler
//        -> statistics -> reports
//
// The waveform streams from the stimulus through the models and the channel
// to the sampler and the statistics in segments (LinkStream); nothing
// holds the whole run's waveform.
#pragma once

#include <memory>

#include "tools/ami-sim/LinkChannel.h"
#include "tools/ami-sim/LinkModels.h"
#include "tools/ami-sim/LinkPlan.h"
#include "tools/ami-sim/LinkStatistics.h"
#include "tools/ami-sim/RunFiles.h"
#include "tools/ami-sim/Sampler.h"
#include "tools/ami-sim/Stimulus.h"

namespace amisim {

struct LinkRun {
    LinkPlan plan;
    LinkChannel channel;
    SamplingWindow window;
    RunFiles files;
    Stimulus stimulus;
    LinkModels models;
    std::unique_ptr<Sampler> sampler;
    LinkStatistics statistics;
    std::string runKey;           // what decides a sweep point's result, kept to resume by
    double channelSeconds = 0.0;  // time spent convolving with the channel
    double totalSeconds = 0.0;
};

}  // namespace amisim
