// A stand-in network for the entry-point tests: output = gain * input, with
// switches to make any lifecycle phase fail or throw, so every failure path
// of the entry points can be driven without a real model.
#pragma once

#include <cstddef>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

struct FakeNetworkControl {
    bool failSetup = false;
    bool failInitialize = false;
    bool failFinalize = false;
    bool throwInSetup = false;
    bool throwInRun = false;
    long failRunAt = -1;                    // firing index whose Run returns false
    std::vector<std::string> setupReasons;  // reported by a failing Setup
    long firings = 0;
    double lastBitTime = 0.0;
    double lastSamplesPerBit = 0.0;
};

// One process-wide control block: the entry points create the network
// themselves, so the test cannot hand it one.
inline FakeNetworkControl& FakeControl() {
    static FakeNetworkControl c;
    return c;
}

class fake_model : public Vantra::DFModel {
public:
    using Buffer = Vantra::CircularBuffer<double>;
    Buffer Input, Output1, Output2, Output3;
    double SamplesPerBit = 32.0;
    double BitTime = 1.666666666666667e-10;
    double gain = 2.0;

    // Short, so that a few samples already span several pieces.
    static constexpr std::size_t SpanLength = 4;
    static constexpr const char* ModelName = "fake_model";
    static constexpr const char* SettingName = "gain";
    double& Setting() { return gain; }
    Buffer& AmiOutput() { return Output1; }

    bool Setup() override {
        FakeControl().lastBitTime = BitTime;
        FakeControl().lastSamplesPerBit = SamplesPerBit;
        if (FakeControl().throwInSetup) throw std::bad_alloc();
        if (!FakeControl().failSetup) return SamplesPerBit > 0.0;
        for (const std::string& r : FakeControl().setupReasons) ReportError(r);
        return false;
    }
    bool Initialize() override { return !FakeControl().failInitialize; }
    bool Run() override { return RunSpan(1) == 1; }
    std::size_t RunSpan(std::size_t firings) override {
        if (FakeControl().throwInRun) throw std::runtime_error("boom");
        for (std::size_t f = 0; f < firings; ++f) {
            if (FakeControl().firings++ == FakeControl().failRunAt) return f;
            Output1.ElementAt(f) = gain * Input.ElementAt(f);
        }
        return firings;
    }
    bool Finalize() override { return !FakeControl().failFinalize; }
};
