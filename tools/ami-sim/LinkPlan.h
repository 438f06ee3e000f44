// LinkPlan: the plan stage of a run, everything settled before anything is
// loaded or computed: the timing and the stimulus, both models with the
// parameter strings they will be given and where those came from, where
// the channel comes from, and the output. A run made from a model kit
// instead of options fills the same record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/ami-sim/Options.h"

namespace amisim {

// One AMI model of the link, or none (empty library: the signal passes
// unchanged).
struct ModelPlan {
    const char* role = "";  // "transmitter" / "receiver"
    std::string library;
    std::string parameters;        // AMI_parameters_in
    std::string parametersSource;  // "command line", an .ami file, "model name"
    bool present() const { return !library.empty(); }
};

struct ChannelPlan {
    ChannelSource source = ChannelSource::LossyLine;
    double lossDb = 10.0;    // the built-in line
    std::string file;        // CSV or Touchstone
    std::vector<int> ports;  // Touchstone; empty: the default path
};

struct LinkPlan {
    double bitTime = 0.0;
    int samplesPerBit = 0;
    double sampleInterval = 0.0;  // bitTime / samplesPerBit
    std::size_t bits = 0;
    int prbsOrder = 15;
    std::uint32_t seed = 0;
    double amplitude = 0.0;
    std::size_t blockSize = 0;  // samples per AMI_GetWave call
    ModelPlan tx, rx;
    ChannelPlan channel;
    long long ignoreBits = -1;  // -1: chosen from the channel length
    std::size_t waveBits = 0;
    std::string outputDirectory;
    bool quiet = false;
    std::vector<std::string> warnings;  // reported with the run's other warnings
};

// Fills `plan` from the command line. A model given no parameter string
// gets the defaults of its .ami file (named, or found beside the library),
// else just its name. False with `error` when a named .ami file cannot be
// read.
bool PlanLink(const Options& options, LinkPlan& plan, std::string& error);

}  // namespace amisim
