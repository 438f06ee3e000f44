#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "NetworkFixture.h"
#include "models/corvin_rx1/corvin_rx1.h"
#include "models/corvin_tx1/corvin_tx1.h"

// Counts every allocation of this test program, so a test can prove that
// running the networks allocates nothing.
static std::atomic<long> g_allocations{0};
void* operator new(std::size_t n)
{
    ++g_allocations;
    if (void* p = std::malloc(n != 0 ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

double TapSum(const Vantra::TimeResponseFIR& f)
{
    double s = 0.0;
    for (int i = 0; i < f.NumTaps; ++i) s += f.Taps[i];
    return s;
}

using Receiver = NetworkFixture<corvin_rx1>;
using Transmitter = NetworkFixture<corvin_tx1>;

}  // namespace

TEST_F(Receiver, DefaultTimingGives384TapsPerFilter)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(net.EqFIR0.SampleRate, 1.9199999999999994e11);
    for (const auto* f : {&net.EqFIR0, &net.EqFIR1, &net.EqFIR2}) EXPECT_EQ(f->NumTaps, 384);
}

TEST_F(Receiver, SettlesToTheLimitedFilterGain)
{
    ASSERT_TRUE(Start());
    const double x = 0.002;
    for (int i = 0; i < 600; ++i) ASSERT_TRUE(Step(x));
    EXPECT_NEAR(Out(3), x * TapSum(net.EqFIR1), 1e-15);
    EXPECT_EQ(Out(2), 0.209 * std::tanh(22.04 * Out(3)));
    EXPECT_EQ(Out(1), 0.5 * std::tanh(82 * Out(2)));
}

TEST_F(Receiver, LimiterRelationsHoldInEveryFiring)
{
    ASSERT_TRUE(Start());
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(Step((i / 32) % 3 == 0 ? 0.3 : -0.3));
        ASSERT_EQ(Out(2), 0.209 * std::tanh(22.04 * Out(3))) << i;
        ASSERT_EQ(Out(1), 0.5 * std::tanh(82 * Out(2))) << i;
    }
}

TEST_F(Receiver, SettingSelectsResponseByRoundingAndRowByTruncation)
{
    net.eq = 1.6;
    ASSERT_TRUE(Start());
    EXPECT_EQ(net.RxDc.row, 1);
    for (int i = 0; i < 200; ++i) Step(0.01 * (i % 7));
    double selected = Out(3);
    EXPECT_EQ(selected, net.EqFIR2.Output.ElementAt(0));
    EXPECT_NE(selected, net.EqFIR1.Output.ElementAt(0));
    EXPECT_EQ(Out(2), 0.209 * std::tanh(22.04 * selected));

    corvin_rx1 other;
    other.eq = 2.4;
    ASSERT_TRUE(other.Setup());
    EXPECT_EQ(other.RxDc.row, 2);
    EXPECT_EQ(other.EqConst.Value, 2.4);
}

namespace {

// Runs Setup, Initialize and two firings of a receiver set to eq; returns
// what they wrote on standard error.
std::string RunReceiverWith(double eq, bool* setupOk, bool* runOk)
{
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

TEST_F(Receiver, SettingRoundingOutsideTheResponsesFailsEveryRun)
{
    // Truncation still names a limiter row, so Setup passes; the Mux then
    // refuses every firing.
    for (double eq : {2.5, 2.99, -0.5, -0.99}) {
        bool setupOk = false, runOk = true;
        std::string err = RunReceiverWith(eq, &setupOk, &runOk);
        EXPECT_TRUE(setupOk) << eq;
        EXPECT_FALSE(runOk) << eq;
        EXPECT_NE(err.find("There are 3 inputs connected.  The valid control input range is [0,2]."),
                  std::string::npos)
            << err;
    }
}

TEST_F(Receiver, SettingWithoutALimiterRowIsRefusedInSetup)
{
    for (double eq : {3.0, -1.0, 1e10, std::nan("")}) {
        bool setupOk = true, runOk = true;
        std::string err = RunReceiverWith(eq, &setupOk, &runOk);
        EXPECT_FALSE(setupOk) << eq;
        EXPECT_NE(err.find("corvinic_rxdc: row must be 0, 1 or 2"), std::string::npos) << err;
    }
}

TEST_F(Receiver, ZeroSamplesPerBitFailsInEveryFilter)
{
    net.SamplesPerBit = 0.0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(net.Setup());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "SampleRate must be > 0.0\nSampleRate must be > 0.0\nSampleRate must be > 0.0\n");
}

TEST_F(Receiver, RepeatedSetupAndInitializeStartAfresh)
{
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

TEST_F(Receiver, RunAllocatesNothing)
{
    ASSERT_TRUE(Start());
    const long before = g_allocations.load();
    for (int i = 0; i < 5000; ++i) Step(std::sin(0.01 * i));
    EXPECT_EQ(g_allocations.load(), before);
}

TEST_F(Transmitter, DefaultTimingGives384TapsAndDelay20)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(net.TxResponse.NumTaps, 384);
    EXPECT_EQ(net.TxFirDc.row, 5);
    EXPECT_EQ(net.TxFirDc.tap_delay, 20);
}

TEST_F(Transmitter, InputLimiterIsTanh82)
{
    ASSERT_TRUE(Start());
    for (int i = 0; i < 500; ++i) {
        const double x = 0.02 * std::sin(0.05 * i);
        ASSERT_TRUE(Step(x));
        ASSERT_EQ(Out(3), std::tanh(82 * x)) << i;
    }
}

TEST_F(Transmitter, DeEmphasisFeedsTheOutputResponse)
{
    ASSERT_TRUE(Start());
    // A long positive input: limiter 1.0, de-emphasis 0.32 then 0.28, and
    // the output settles to 0.28 times the response's tap sum.
    for (int i = 0; i < 800; ++i) ASSERT_TRUE(Step(1.0));
    EXPECT_NEAR(Out(2), 0.28, 1e-15);
    EXPECT_NEAR(Out(1), 0.28 * TapSum(net.TxResponse), 1e-14);
}

TEST_F(Transmitter, FractionalDeCodeTruncatesToItsRow)
{
    net.de_code = 5.7;
    ASSERT_TRUE(Start());
    EXPECT_EQ(net.TxFirDc.row, 5);
    net.de_code = 2.9;
    ASSERT_TRUE(net.Setup());
    EXPECT_EQ(net.TxFirDc.row, 2);
}

TEST_F(Transmitter, RunAllocatesNothing)
{
    ASSERT_TRUE(Start());
    const long before = g_allocations.load();
    for (int i = 0; i < 5000; ++i) Step(std::sin(0.01 * i));
    EXPECT_EQ(g_allocations.load(), before);
}

TEST_F(Transmitter, RepeatedInitializeClearsTheHistories)
{
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
