// AmiModelInstance<Network>: the record behind an AMI_memory handle. It
// holds the model network by value, the message text handed to the
// simulator, the clock-time array and the samples per bit, and owns the
// one-sample arrays of the network's four external ports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

template <class Network>
struct AmiModelInstance {
    Network model;
    std::string message;
    std::vector<double> clockTimes;
    std::int32_t bitSamples = 0;
    // True only after Setup and Initialize both succeeded: GetWave runs the
    // network only then.
    bool ready = false;
    double portStorage[4] = {0.0, 0.0, 0.0, 0.0};

    AmiModelInstance()
    {
        typename Network::Buffer* ports[4] = {&model.Input, &model.Output1, &model.Output2,
                                              &model.Output3};
        for (int i = 0; i < 4; ++i) {
            ports[i]->Data = &portStorage[i];
            ports[i]->Capacity = 1;
            ports[i]->Position = 0;
            ports[i]->Rate = 1;
        }
    }

    // A model whose every call fails would otherwise grow its message by a
    // line per AMI_GetWave call for the whole simulation; past this size
    // further messages are dropped.
    static constexpr std::size_t kMessageLimit = 65536;

    void Append(const std::string& text)
    {
        if (message.size() + text.size() <= kMessageLimit) message += text;
    }

    void AppendPhaseError(const char* phase)
    {
        Append(std::string("Error occurred in ") + Network::ModelName + "::" + phase + "(). ");
    }
};
