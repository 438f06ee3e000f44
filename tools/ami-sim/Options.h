// Options: the command line of ami-sim, its defaults and its help text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/ami-sim/Corner.h"

namespace amisim {

enum class ChannelSource { LossyLine, ImpulseFile, StepFile, Touchstone };

// How the sampler finds where to sample each bit.
enum class ClockChoice {
    Auto,           // the receiver's clock_times when it returns them, else BangBang
    BangBang,       // an early-late (Alexander) clock recovery loop
    MuellerMuller,  // a Mueller-Muller clock recovery loop
    Centre,         // a fixed phase: the centre of the widest opening
    ClockTimes      // the receiver's clock_times
};

// A value given on the command line, or not given (then the .ami files'
// reserved parameters, else 0, decide). Times may be in unit intervals.
struct GivenValue {
    double value = 0.0;  // seconds, volts or hertz; unit intervals when inUi
    bool inUi = false;
    bool given = false;
};

struct Options {
    std::string txLibrary;     // empty: no transmitter model
    std::string rxLibrary;     // empty: no receiver model
    std::string txParameters;  // empty: from the .ami file, else "(<root name>)"
    std::string rxParameters;
    std::string txAmiFile;  // empty: <library directory>/<root name>.ami if present
    std::string rxAmiFile;

    // A model kit instead of --tx/--rx: its .ibs file and the ends of the
    // link in it, by component and pin or model name (empty: the only
    // choice there is).
    std::string ibsFile;
    std::string component;  // --component: both ends
    std::string txComponent, rxComponent, txPin, rxPin, txModel, rxModel;
    std::vector<std::string> settings;  // --set NAME=VALUE, in order
    Corner corner = Corner::Typical;
    bool analog = true;          // --no-analog: the bare through response
    double txResistance = -1.0;  // --tx-resistance; < 0: from the I-V tables
    double rxResistance = -1.0;  // --rx-resistance; infinity: open

    // Sweeps: NAME=VALUES, each a model parameter's list or range; every
    // combination runs, `jobs` at a time.
    std::vector<std::string> sweeps;
    int jobs = 1;
    double bitTime = 1.666666666666667e-10;
    int samplesPerBit = 32;
    long long bits = 20000;
    int prbsOrder = 15;
    std::uint32_t seed = 0xFFFFFFFFu;
    double amplitude = 0.5;  // stimulus symbols are +/- amplitude
    long blockSize = 4096;   // samples per AMI_GetWave call
    ChannelSource channel = ChannelSource::LossyLine;
    double lossDb = 10.0;
    std::string channelFile;
    std::vector<int> ports;     // --ports; empty: the file's default through path
    long long ignoreBits = -1;  // -1: chosen from the channel length
    long long waveBits = 1000;  // bits written to waves.csv
    std::string outputDirectory = "ami-sim-out";
    bool quiet = false;

    // Impairments. Transmitter jitter moves the stimulus edges: random (rms),
    // deterministic (dual-Dirac, peak to peak), duty-cycle distortion (peak
    // to peak) and sinusoidal (amplitude and frequency). The receiver's
    // act at its sampler: input-referred noise (rms), its clock's jitter of
    // the same kinds, and the sensitivity of its decision.
    GivenValue txRj, txDj, txDcd, txSj, txSjFrequency;
    GivenValue rxNoise, rxRj, rxDj, rxDcd, rxSj, rxSensitivity;

    ClockChoice clock = ClockChoice::Auto;
    double cdrGain = -1.0;      // UI per decision; < 0: the loop's default
    double cdrIntegral = -1.0;  // UI per decision, squared; < 0: the default
};

enum class ParseStatus { Run, Help, Error };

// argv[0] is the program name. On Error, `error` says what is wrong.
ParseStatus ParseOptions(const std::vector<std::string>& args, Options& options,
                         std::string& error);

std::string HelpText();

}  // namespace amisim
