// What a network holds while it runs, against the sample-by-sample network
// it replaced, at every data rate and samples per bit of the same-bits
// sweep and wired as the AMI entry points wire it. Setup allocates the same
// in both (the response copies, the designed taps, the bus branches); what
// Initialize and the first span take beyond that may exceed what the
// sample-by-sample network's Initialize took (per filter of N taps a delay
// line of N + 2 samples and its reversed copy twice as long, and one
// sample per connection) by one span of samples at most.
#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "HeapCounter.h"
#include "ami/AmiMessage.h"
#include "ami/AmiModelInstance.h"
#include "models/corvin_rx1/corvin_rx1.h"
#include "models/corvin_tx1/corvin_tx1.h"
#include "tests/ami/SweepPoints.h"

namespace {

struct Layout {
    long filters;      // time-response filters in the network
    long connections;  // its connections, one cell each sample by sample
};

// The bytes that Initialize and one span take beyond what Setup holds, for
// a network at the given timing and setting whose input and model output
// share one array and whose other outputs are unconnected, against what the
// sample-by-sample network's Initialize took plus one span.
template <class Network, class TapsOf>
void ExpectWithinOneSpan(double rate, int samplesPerBit, double setting, Layout layout,
                         TapsOf tapsOf) {
    SCOPED_TRACE(testing::Message() << Network::ModelName << " " << rate << " Gb/s, "
                                    << samplesPerBit << " samples per bit, setting " << setting);
    auto net = std::make_unique<Network>();
    std::vector<double> wave(Network::SpanLength, 0.25);
    for (auto* port : {&net->Input, &net->Output1, &net->Output2, &net->Output3}) {
        port->Connected = port == &net->Input || port == &net->AmiOutput();
        if (port->Connected) {
            port->Data = wave.data();
            port->Capacity = wave.size();
        }
    }
    net->BitTime = 1e-9 / rate;
    net->SamplesPerBit = samplesPerBit;
    net->Setting() = setting;
    // The transmitter refuses the timings that put its post tap beyond its
    // history (the AMI_Init then fails): it holds nothing to bound.
    testing::internal::CaptureStderr();
    const bool setUp = net->Setup();
    testing::internal::GetCapturedStderr();
    if (!setUp) return;
    const long setup = g_heldBytes.load();
    ASSERT_TRUE(net->Initialize());
    ASSERT_EQ(net->RunSpan(wave.size()), wave.size());
    const long held = g_heldBytes.load() - setup;

    const long taps = tapsOf(*net);
    const long sampleBySample =
        static_cast<long>(sizeof(double)) * (layout.filters * 3 * (taps + 2) + layout.connections);
    const long span = static_cast<long>(Network::SpanLength * sizeof(double));
    EXPECT_LE(held, sampleBySample + span) << taps << " taps";
}

}  // namespace

TEST(NetworkMemory, RunningHoldsAtMostOneSpanMoreThanSampleBySample) {
    for (int spb : probe::kSamplesPerBit) {
        for (double rate : probe::kRates) {
            for (double eq : {0.0, 1.0, 2.0})
                ExpectWithinOneSpan<corvin_rx1>(rate, spb, eq, {3, 16},
                                                [](corvin_rx1& n) { return n.EqFIR0.NumTaps; });
            ExpectWithinOneSpan<corvin_tx1>(rate, spb, 5.0, {1, 8},
                                            [](corvin_tx1& n) { return n.TxResponse.NumTaps; });
        }
    }
}

// The instance around the network adds its message text and a few words,
// and no sample arrays: its ports view the simulator's waveform.
TEST(NetworkMemory, TheInstanceHoldsNoSampleArrays) {
    const std::size_t words = 8 * sizeof(void*);
    EXPECT_LE(sizeof(AmiModelInstance<corvin_rx1>),
              sizeof(corvin_rx1) + sizeof(AmiMessage) + words);
    EXPECT_LE(sizeof(AmiModelInstance<corvin_tx1>),
              sizeof(corvin_tx1) + sizeof(AmiMessage) + words);
}
