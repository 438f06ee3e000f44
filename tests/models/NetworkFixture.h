// Drives a model network the way the AMI entry points do: port arrays,
// Setup, Initialize, then one Run per sample or one RunSpan per span.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

template <class Network>
class NetworkFixture : public testing::Test {
public:
    Network net;
    double ports[4] = {0, 0, 0, 0};

    void SetUp() override {
        typename Network::Buffer* p[4] = {&net.Input, &net.Output1, &net.Output2, &net.Output3};
        for (int i = 0; i < 4; ++i) {
            p[i]->Data = &ports[i];
            p[i]->Capacity = 1;
        }
    }

    bool Start() { return net.Setup() && net.Initialize(); }

    // Runs one sample; the network's outputs are then in Output1..3.
    bool Step(double x) {
        ports[0] = x;
        return net.Run();
    }
    double Out(int k) const { return ports[k]; }

    // Gives the four ports arrays of span samples (Run then uses the first).
    void UseSpans(std::size_t span) {
        typename Network::Buffer* p[4] = {&net.Input, &net.Output1, &net.Output2, &net.Output3};
        for (int i = 0; i < 4; ++i) {
            spanPorts[i].assign(span, 0.0);
            p[i]->Data = spanPorts[i].data();
            p[i]->Capacity = span;
        }
    }

    // Feeds x in spans of the given lengths in turn, through the ports of
    // UseSpans; returns Output port k of every firing that ran.
    std::vector<double> FeedSpans(const std::vector<double>& x,
                                  const std::vector<std::size_t>& spans, int k = 2) {
        std::vector<double> y;
        std::size_t i = 0, turn = 0;
        while (i < x.size()) {
            const std::size_t n = std::min(spans[turn++ % spans.size()], x.size() - i);
            std::copy(x.begin() + i, x.begin() + i + n, spanPorts[0].begin());
            const std::size_t done = net.RunSpan(n);
            y.insert(y.end(), spanPorts[k].begin(), spanPorts[k].begin() + done);
            if (done < n) break;
            i += n;
        }
        return y;
    }

    std::vector<double> spanPorts[4];
};
