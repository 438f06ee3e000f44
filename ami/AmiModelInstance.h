// AmiModelInstance<Network>: the record behind an AMI_memory handle. It
// holds the model network by value, the message text handed to the
// simulator, the clock-time array and the samples per bit.
//
// The network's external ports hold no arrays of their own: during
// AMI_GetWave its Input and its model output view the simulator's waveform
// (WaveView), and the two output ports that the simulator never reads are
// left unconnected, so the network neither writes them nor computes what
// only they would show.
#pragma once

#include <algorithm>
#include <cstddef>
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

    AmiModelInstance() {
        typename Network::Buffer* ports[4] = {&model.Input, &model.Output1, &model.Output2,
                                              &model.Output3};
        for (typename Network::Buffer* port : ports)
            port->Connected = port == &model.Input || port == &model.AmiOutput();
    }

    // Attaches the network's Input and model output to the size samples of
    // wave for as long as it lives, and detaches them again, so that no
    // pointer into the simulator's memory outlives the call. The network
    // reads each piece of its input before it writes that piece's output
    // and writes only the samples that ran, so the two may share the array.
    class WaveView {
    public:
        WaveView(Network& net, double* wave, std::size_t size) : net_(net) {
            Attach(net_.Input, wave, size);
            Attach(net_.AmiOutput(), wave, size);
        }
        ~WaveView() {
            Attach(net_.Input, nullptr, 0);
            Attach(net_.AmiOutput(), nullptr, 0);
        }
        WaveView(const WaveView&) = delete;
        WaveView& operator=(const WaveView&) = delete;

    private:
        Network& net_;

        static void Attach(typename Network::Buffer& port, double* wave, std::size_t size) {
            port.Data = wave;
            port.Capacity = size;
            port.Position = 0;
            port.Rate = 1;
        }
    };

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
