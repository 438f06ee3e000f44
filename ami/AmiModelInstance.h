// AmiModelInstance<Network>: the record behind an AMI_memory handle. It
// holds the model network by value, the message text handed to the
// simulator, the clock-time array and the samples per bit, and owns the
// arrays of the network's four external ports, one span of
// Network::SpanLength samples each.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ami/AmiMessage.h"

template <class Network>
struct AmiModelInstance {
    Network model;
    AmiMessage message;  // published by AMI_Init; never moves until AMI_Close
    std::vector<double> clockTimes;
    std::int32_t bitSamples = 0;
    // True only after Setup and Initialize both succeeded: GetWave runs the
    // network only then.
    bool ready = false;
    double portStorage[4][Network::SpanLength] = {};

    AmiModelInstance() {
        typename Network::Buffer* ports[4] = {&model.Input, &model.Output1, &model.Output2,
                                              &model.Output3};
        for (int i = 0; i < 4; ++i) {
            ports[i]->Data = portStorage[i];
            ports[i]->Capacity = Network::SpanLength;
            ports[i]->Position = 0;
            ports[i]->Rate = 1;
        }
    }

    void Append(const std::string& text) { message.Append(text); }

    // The fixed text of a failed phase, then the reasons that the failing
    // blocks gave, each as a sentence of its own: most simulators show the
    // message but not the standard error stream.
    void AppendPhaseError(const char* phase) {
        Append(std::string("Error occurred in ") + Network::ModelName + "::" + phase + "(). ");
        AppendReasons();
    }

    // Blocks of one kind fail alike (three filters refusing one sample
    // rate): each distinct reason is told once.
    void AppendReasons() {
        const std::string& r = model.Reasons();
        std::vector<std::string> told;
        std::size_t start = 0;
        while (start < r.size()) {
            std::size_t end = r.find('\n', start);
            if (end == std::string::npos) end = r.size();
            std::string sentence = r.substr(start, end - start);
            start = end + 1;
            if (sentence.empty()) continue;
            if (sentence.back() != '.') sentence += '.';
            if (std::find(told.begin(), told.end(), sentence) != told.end()) continue;
            told.push_back(sentence);
            Append(sentence + ' ');
        }
        model.ClearReasons();
    }
};
