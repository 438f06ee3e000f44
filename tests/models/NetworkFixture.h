// Drives a model network the way the AMI entry points do: one-sample port
// arrays, Setup, Initialize, then one Run per sample.
#pragma once

#include <gtest/gtest.h>

template <class Network>
class NetworkFixture : public testing::Test {
protected:
    Network net;
    double ports[4] = {0, 0, 0, 0};

    void SetUp() override
    {
        typename Network::Buffer* p[4] = {&net.Input, &net.Output1, &net.Output2, &net.Output3};
        for (int i = 0; i < 4; ++i) {
            p[i]->Data = &ports[i];
            p[i]->Capacity = 1;
        }
    }

    bool Start() { return net.Setup() && net.Initialize(); }

    // Runs one sample; the network's outputs are then in Output1..3.
    bool Step(double x)
    {
        ports[0] = x;
        return net.Run();
    }
    double Out(int k) const { return ports[k]; }
};
