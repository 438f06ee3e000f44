// LinkPlan: the plan stage of a run, everything settled before anything is
// loaded or computed: the timing and the stimulus, both models with the
// parameter strings they will be given and where those came from, where
// the channel comes from, and the output. A run made from a model kit
// instead of options fills the same record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/ami-sim/AmiParameterFile.h"
#include "tools/ami-sim/AnalogEnds.h"
#include "tools/ami-sim/Options.h"

namespace amisim {

// One AMI model of the link, or none (empty library: the signal passes
// unchanged).
struct ModelPlan {
    const char* role = "";  // "transmitter" / "receiver"
    std::string library;
    std::string parameters;        // AMI_parameters_in
    std::string parametersSource;  // "command line", an .ami file, "model name"
    // The model's .ami file, when there is one: what it declares checks the
    // settings, and its defaults with the settings make the parameters
    // (unless the command line gave the whole string).
    std::string amiFile;
    AmiFileContents ami;
    bool hasAmi = false;
    bool givenString = false;
    std::map<std::string, std::string> settings;  // parameter name -> value
    // From a kit: the model, its pins and the Executable line loaded.
    std::string kitModel, pins, executable;
    bool present() const { return !library.empty(); }
};

// The analog ends of the link (from a kit), or none.
struct AnalogPlan {
    bool apply = false;
    std::string note;  // why there are none, when a kit was given
    AnalogEnd tx, rx;
};

enum class PlanStatus { Ok, Usage, Failed };

// A value the run uses and where it came from: "command line", the .ami
// file and reserved parameter it was read from, or "none".
struct Setting {
    double value = 0.0;
    std::string source = "none";
};

// The impairments, in seconds, volts and hertz. Transmitter jitter: Rj rms,
// Dj dual-Dirac peak to peak, DCD peak to peak (rising edges late, falling
// edges early by half of it), Sj amplitude and frequency. Receiver: noise
// rms at the sampler, its sampling clock's jitter of the same kinds (Sj
// without a frequency: its distribution), and the sensitivity of its
// decision (a sample nearer the threshold than this is an error).
struct Impairments {
    Setting txRj, txDj, txDcd, txSj, txSjFrequency;
    Setting rxNoise, rxRj, rxDj, rxDcd, rxSj, rxSensitivity;
};

struct ClockPlan {
    ClockChoice method = ClockChoice::Auto;
    double gainUi = 0.0;      // phase step (bang-bang) or gain (Mueller-Muller) per bit
    double integralUi = 0.0;  // the loop's frequency path, per bit squared
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
    std::string kitFile;  // the .ibs file, when the models come from a kit
    std::string component;
    Corner corner = Corner::Typical;
    AnalogPlan analog;
    Impairments impairments;
    ClockPlan clock;
    long long ignoreBits = -1;  // -1: chosen from the channel length
    std::size_t waveBits = 0;
    std::string outputDirectory;
    bool quiet = false;
    bool nameLibraries = true;          // say which library is loaded, before loading it
    std::vector<std::string> warnings;  // reported with the run's other warnings
};

// Fills `plan` from the command line. A model's .ami file (named, or found
// beside the library) gives its parameter string when the command line
// gives none (else just the model's name), and the jitter and noise it
// declares in its reserved parameters (Tx_Rj, Tx_Dj, Tx_DCD, Tx_Sj,
// Tx_Sj_Frequency, Tx_Jitter; Rx_Noise, Rx_GaussianNoise, Rx_Rj, Rx_Dj,
// Rx_DCD, Rx_Sj, Rx_Clock_Recovery_Rj/Dj/DCD/Sj, Rx_Receiver_Sensitivity)
// where the command line gives none. IBIS states Dj, DCD and Sj as half
// their peak-to-peak value; they are doubled into peak to peak for Dj and
// DCD. With --ibs the models, their .ami files and the analog ends come
// from the kit (KitPlan). The --set values are checked and applied. Usage
// with `error` for what the command line asks that the models refuse (an
// unknown parameter, a value out of its range, a pin the kit lacks), Failed
// for files that cannot be read or fail their checks.
PlanStatus PlanLink(const Options& options, LinkPlan& plan, std::string& error);

// NAME=VALUE (a --set or a sweep point): the value given to the parameter
// NAME names, in whichever model declares it, and that model's parameters
// made again. False with `error` when no model or both declare NAME, or the
// value does not suit it.
bool ApplySetting(LinkPlan& plan, const std::string& setting, std::string& error);

// The model's parameters from its .ami defaults and settings.
void RenderParameters(ModelPlan& model, Corner corner);

}  // namespace amisim
