#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "HeapCounter.h"
#include "NetworkFixture.h"
#include "blocks/Tanh.h"
#include "models/corvin_rx1/corvin_rx1.h"
#include "models/corvin_tx1/corvin_tx1.h"

namespace {

double TapSum(const Vantra::TimeResponseFIR& f) {
    double s = 0.0;
    for (int i = 0; i < f.NumTaps; ++i) s += f.Taps[i];
    return s;
}

using Receiver = NetworkFixture<corvin_rx1>;
using Transmitter = NetworkFixture<corvin_tx1>;

std::vector<double> Nrz(std::size_t n) {
    const int bits[] = {1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 0, 0, 1};
    std::vector<double> w(n);
    for (std::size_t i = 0; i < n; ++i) w[i] = bits[(i / 32) % 18] ? 0.4 : -0.4;
    return w;
}

// Output port k of the network set up by configure, fed x one sample at a
// time with Run, or in spans with RunSpan.
template <class Network, class Configure>
std::vector<double> Outputs(Configure configure, const std::vector<double>& x,
                            const std::vector<std::size_t>& spans, int k) {
    struct Fixture : NetworkFixture<Network> {
        void TestBody() override {}
    } fx;
    fx.SetUp();
    configure(fx.net);
    if (!spans.empty()) fx.UseSpans(*std::max_element(spans.begin(), spans.end()));
    EXPECT_TRUE(fx.Start());
    if (!spans.empty()) return fx.FeedSpans(x, spans, k);
    std::vector<double> y;
    for (double v : x) {
        if (!fx.Step(v)) break;
        y.push_back(fx.Out(k));
    }
    return y;
}

}  // namespace

TEST_F(Receiver, DefaultTimingGives384TapsPerFilter) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(net.EqFIR0.SampleRate, 1.9199999999999994e11);
    for (const auto* f : {&net.EqFIR0, &net.EqFIR1, &net.EqFIR2}) EXPECT_EQ(f->NumTaps, 384);
}

TEST_F(Receiver, SettlesToTheLimitedFilterGain) {
    ASSERT_TRUE(Start());
    const double x = 0.002;
    for (int i = 0; i < 600; ++i) ASSERT_TRUE(Step(x));
    EXPECT_NEAR(Out(3), x * TapSum(net.EqFIR1), 1e-15);
    EXPECT_EQ(Out(2), 0.209 * Vantra::Tanh(22.04 * Out(3)));
    EXPECT_EQ(Out(1), 0.5 * Vantra::Tanh(82 * Out(2)));
}

TEST_F(Receiver, LimiterRelationsHoldInEveryFiring) {
    ASSERT_TRUE(Start());
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(Step((i / 32) % 3 == 0 ? 0.3 : -0.3));
        ASSERT_EQ(Out(2), 0.209 * Vantra::Tanh(22.04 * Out(3))) << i;
        ASSERT_EQ(Out(1), 0.5 * Vantra::Tanh(82 * Out(2))) << i;
    }
}

TEST_F(Receiver, SettingSelectsResponseByRoundingAndRowByTruncation) {
    net.eq = 1.6;
    ASSERT_TRUE(Start());
    EXPECT_EQ(net.RxDc.row, 1);
    std::vector<double> x, equalised;
    for (int i = 0; i < 200; ++i) x.push_back(0.01 * (i % 7));
    for (double v : x) {
        ASSERT_TRUE(Step(v));
        equalised.push_back(Out(3));
    }
    auto withSetting = [&x](double eq) {
        return Outputs<corvin_rx1>([eq](corvin_rx1& n) { n.eq = eq; }, x, {}, 3);
    };
    EXPECT_EQ(equalised, withSetting(2.0));
    EXPECT_NE(equalised, withSetting(1.0));
    EXPECT_EQ(Out(2), 0.209 * Vantra::Tanh(22.04 * Out(3)));

    corvin_rx1 other;
    other.eq = 2.4;
    ASSERT_TRUE(other.Setup());
    EXPECT_EQ(other.RxDc.row, 2);
    EXPECT_EQ(other.EqConst.Value, 2.4);
}

namespace {

// Runs Setup, Initialize and two firings of a receiver set to eq; returns
// what they wrote on standard error.
std::string RunReceiverWith(double eq, bool* setupOk, bool* runOk) {
    corvin_rx1 n;
    double cells[4] = {0.1, 0, 0, 0};
    Vantra::CircularBuffer<double>* p[4] = {&n.Input, &n.Output1, &n.Output2, &n.Output3};
    for (int i = 0; i < 4; ++i) {
        p[i]->Data = &cells[i];
        p[i]->Capacity = 1;
    }
    n.eq = eq;
    testing::internal::CaptureStderr();
    *setupOk = n.Setup() && n.Initialize();
    *runOk = *setupOk && n.Run() && n.Run();
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST_F(Receiver, SettingRoundingOutsideTheResponsesFailsEveryRun) {
    // Truncation still names a limiter row, so Setup passes; the Mux then
    // refuses every firing.
    for (double eq : {2.5, 2.99, -0.5, -0.99}) {
        bool setupOk = false, runOk = true;
        std::string err = RunReceiverWith(eq, &setupOk, &runOk);
        EXPECT_TRUE(setupOk) << eq;
        EXPECT_FALSE(runOk) << eq;
        EXPECT_NE(
            err.find("There are 3 inputs connected.  The valid control input range is [0,2]."),
            std::string::npos)
            << err;
    }
}

TEST_F(Receiver, SettingWithoutALimiterRowIsRefusedInSetup) {
    for (double eq : {3.0, -1.0, 1e10, std::nan("")}) {
        bool setupOk = true, runOk = true;
        std::string err = RunReceiverWith(eq, &setupOk, &runOk);
        EXPECT_FALSE(setupOk) << eq;
        EXPECT_NE(err.find("eq must be 0, 1 or 2, not "), std::string::npos) << err;
        EXPECT_NE(err.find(" (corvinic_rxdc)"), std::string::npos) << err;
    }
}

TEST_F(Receiver, ZeroSamplesPerBitFailsInEveryFilter) {
    net.SamplesPerBit = 0.0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(net.Setup());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "SampleRate must be > 0.0\nSampleRate must be > 0.0\nSampleRate must be > 0.0\n");
}

TEST_F(Receiver, RepeatedSetupAndInitializeStartAfresh) {
    ASSERT_TRUE(Start());
    std::vector<double> first, second;
    for (int i = 0; i < 300; ++i) {
        Step(i % 40 < 20 ? 0.2 : -0.2);
        first.push_back(Out(2));
    }
    // The sanitizer build proves the first cells and copies are released.
    ASSERT_TRUE(net.Setup());
    ASSERT_TRUE(net.Initialize());
    ASSERT_TRUE(net.Initialize());
    for (int i = 0; i < 300; ++i) {
        Step(i % 40 < 20 ? 0.2 : -0.2);
        second.push_back(Out(2));
    }
    EXPECT_EQ(first, second);
    EXPECT_TRUE(net.Finalize());
}

TEST_F(Receiver, RunAllocatesNothing) {
    ASSERT_TRUE(Start());
    const long before = g_allocations.load();
    for (int i = 0; i < 5000; ++i) Step(std::sin(0.01 * i));
    EXPECT_EQ(g_allocations.load(), before);
}

TEST_F(Transmitter, DefaultTimingGives384TapsAndDelay20) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(net.TxResponse.NumTaps, 384);
    EXPECT_EQ(net.TxFirDc.row, 5);
    EXPECT_EQ(net.TxFirDc.tap_delay, 20);
}

TEST_F(Transmitter, InputLimiterIsTanh82) {
    ASSERT_TRUE(Start());
    for (int i = 0; i < 500; ++i) {
        const double x = 0.02 * std::sin(0.05 * i);
        ASSERT_TRUE(Step(x));
        ASSERT_EQ(Out(3), Vantra::Tanh(82 * x)) << i;
    }
}

TEST_F(Transmitter, DeEmphasisFeedsTheOutputResponse) {
    ASSERT_TRUE(Start());
    // A long positive input: limiter 1.0, de-emphasis 0.32 then 0.28, and
    // the output settles to 0.28 times the response's tap sum.
    for (int i = 0; i < 800; ++i) ASSERT_TRUE(Step(1.0));
    EXPECT_NEAR(Out(2), 0.28, 1e-15);
    EXPECT_NEAR(Out(1), 0.28 * TapSum(net.TxResponse), 1e-14);
}

TEST_F(Transmitter, FractionalDeCodeTruncatesToItsRow) {
    net.de_code = 5.7;
    ASSERT_TRUE(Start());
    EXPECT_EQ(net.TxFirDc.row, 5);
    net.de_code = 2.9;
    ASSERT_TRUE(net.Setup());
    EXPECT_EQ(net.TxFirDc.row, 2);
}

TEST_F(Transmitter, RunAllocatesNothing) {
    ASSERT_TRUE(Start());
    const long before = g_allocations.load();
    for (int i = 0; i < 5000; ++i) Step(std::sin(0.01 * i));
    EXPECT_EQ(g_allocations.load(), before);
}

TEST_F(Transmitter, RepeatedInitializeClearsTheHistories) {
    ASSERT_TRUE(Start());
    std::vector<double> first, second;
    for (int i = 0; i < 200; ++i) {
        Step(i % 32 < 16 ? 1.0 : -1.0);
        first.push_back(Out(1));
    }
    ASSERT_TRUE(net.Setup());
    ASSERT_TRUE(net.Initialize());
    for (int i = 0; i < 200; ++i) {
        Step(i % 32 < 16 ? 1.0 : -1.0);
        second.push_back(Out(1));
    }
    EXPECT_EQ(first, second);
}

TEST(NetworkSpans, EveryOutputIsTheSameHoweverTheWaveformIsSplitAndWhateverTheKernels) {
    const std::vector<double> x = Nrz(3000);
    using Kernels = Vantra::KernelIsa;
    struct Split {
        std::vector<std::size_t> spans;
        Kernels isa;
    };
    const Split splits[] = {{{7}, Kernels::Best},       {{64}, Kernels::Best},
                            {{1000}, Kernels::Best},    {{128, 1, 300, 5}, Kernels::Best},
                            {{128}, Kernels::Portable}, {{128}, Kernels::Sse2},
                            {{128}, Kernels::Avx2}};
    for (double eq : {0.0, 1.0, 2.0, 1.6}) {
        for (int k = 1; k <= 3; ++k) {
            auto rx = [eq](corvin_rx1& n) { n.eq = eq; };
            const std::vector<double> once = Outputs<corvin_rx1>(rx, x, {}, k);
            ASSERT_EQ(once.size(), x.size());
            for (const Split& s : splits) {
                auto rxIsa = [eq, &s](corvin_rx1& n) {
                    n.eq = eq;
                    n.Isa = s.isa;
                };
                EXPECT_EQ(Outputs<corvin_rx1>(rxIsa, x, s.spans, k), once)
                    << "eq " << eq << " Output" << k << " " << Vantra::KernelIsaName(s.isa)
                    << " first span " << s.spans[0];
            }
        }
    }
    for (double de : {0.0, 5.0, 6.0}) {
        auto tx = [de](corvin_tx1& n) { n.de_code = de; };
        for (int k = 1; k <= 3; ++k) {
            const std::vector<double> once = Outputs<corvin_tx1>(tx, x, {}, k);
            for (const Split& s : splits) {
                auto txIsa = [de, &s](corvin_tx1& n) {
                    n.de_code = de;
                    n.Isa = s.isa;
                };
                EXPECT_EQ(Outputs<corvin_tx1>(txIsa, x, s.spans, k), once)
                    << "de_code " << de << " Output" << k;
            }
        }
    }
}

TEST_F(Receiver, OnlyTheSelectedResponseFires) {
    net.eq = 2.0;
    UseSpans(128);
    ASSERT_TRUE(Start());
    FeedSpans(Nrz(500), {128});
    auto heard = [](const Vantra::TimeResponseFIR& f) {
        for (std::size_t k = 0; k + 1 < f.DelayLine.Capacity; ++k)
            if (f.DelayLine.ElementAt(k) != 0.0) return true;
        return false;
    };
    EXPECT_TRUE(heard(net.EqFIR2));
    EXPECT_FALSE(heard(net.EqFIR1));
    EXPECT_FALSE(heard(net.EqFIR0));
}

TEST_F(Receiver, ARefusedSettingFailsAtTheFirstFiringOfEverySpan) {
    net.eq = 2.5;
    UseSpans(64);
    ASSERT_TRUE(Start());
    testing::internal::CaptureStderr();
    EXPECT_EQ(net.RunSpan(64), 0u);
    EXPECT_EQ(net.RunSpan(10), 0u);
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string line =
        "Control input signal value is equal to 3.  There are 3 inputs connected.  The valid "
        "control input range is [0,2].\n";
    EXPECT_EQ(err, line + line);
    EXPECT_EQ(net.Reasons(), line + line);
}

TEST_F(Receiver, RunSpanAllocatesNothing) {
    UseSpans(1000);
    ASSERT_TRUE(Start());
    const std::vector<double> x = Nrz(1000);
    std::copy(x.begin(), x.end(), spanPorts[0].begin());
    const long before = g_allocations.load();
    for (std::size_t n : {1000u, 7u, 128u, 1u}) EXPECT_EQ(net.RunSpan(n), n);
    EXPECT_EQ(g_allocations.load(), before);
}
