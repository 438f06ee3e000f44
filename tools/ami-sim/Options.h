// Options: the command line of ami-sim, its defaults and its help text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace amisim {

enum class ChannelSource { LossyLine, ImpulseFile, StepFile, Touchstone };

struct Options {
    std::string txLibrary;  // empty: no transmitter model
    std::string rxLibrary;  // empty: no receiver model
    std::string txParameters;  // empty: from the .ami file, else "(<root name>)"
    std::string rxParameters;
    std::string txAmiFile;  // empty: <library directory>/<root name>.ami if present
    std::string rxAmiFile;
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
    std::vector<int> ports;  // --ports; empty: the file's default through path
    long long ignoreBits = -1;  // -1: chosen from the channel length
    long long waveBits = 1000;  // bits written to waves.csv
    std::string outputDirectory = "ami-sim-out";
    bool quiet = false;
};

enum class ParseStatus { Run, Help, Error };

// argv[0] is the program name. On Error, `error` says what is wrong.
ParseStatus ParseOptions(const std::vector<std::string>& args, Options& options,
                         std::string& error);

std::string HelpText();

}  // namespace amisim
