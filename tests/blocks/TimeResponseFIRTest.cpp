#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "blocks/TimeResponseFIR.h"

using namespace Vantra;

namespace {

class TimeResponseFirTest : public testing::Test {
protected:
    TimeResponseFIR fir;
    std::vector<double> r, t;

    void Use(std::vector<double> response, std::vector<double> stamps, int type, double rate)
    {
        r = std::move(response);
        t = std::move(stamps);
        fir.Response = r.data();
        fir.ResponseTimeStamps = t.data();
        fir.ResponseCount = static_cast<int>(r.size());
        fir.TimeStampCount = static_cast<int>(t.size());
        fir.ResponseType = type;
        fir.SampleRate = rate;
    }

    // Runs Setup and returns what it wrote on standard error.
    std::string SetupErrors(bool expected)
    {
        testing::internal::CaptureStderr();
        EXPECT_EQ(fir.Setup(), expected);
        return testing::internal::GetCapturedStderr();
    }

    static std::vector<double> Quarter(int n)
    {
        std::vector<double> s;
        for (int i = 0; i < n; ++i) s.push_back(0.25 * i);
        return s;
    }
};

// The cubic through four points, evaluated by Lagrange's formula.
double Cubic(const double* x, const double* y, double u)
{
    double v = 0.0;
    for (int i = 0; i < 4; ++i) {
        double w = y[i];
        for (int j = 0; j < 4; ++j)
            if (j != i) w *= (u - x[j]) / (x[i] - x[j]);
        v += w;
    }
    return v;
}

}  // namespace

TEST_F(TimeResponseFirTest, DefaultsAreStepResponseAtOneTerahertz)
{
    EXPECT_EQ(fir.ResponseType, StepResponse);
    EXPECT_EQ(fir.SampleRate, 1e12);
    EXPECT_EQ(fir.Taps, nullptr);
}

TEST_F(TimeResponseFirTest, CountCheckNamesTheResponseType)
{
    Use({1, 2, 3}, {0, 1, 2}, ImpulseResponse, 1.0);
    EXPECT_EQ(SetupErrors(false),
              "At least 4 response coefficients are required for input impulse response\n");
    Use({1, 2, 3}, {0, 1, 2}, StepResponse, 1.0);
    EXPECT_EQ(SetupErrors(false),
              "At least 4 response coefficients are required for input step response\n");
    Use({1, 2, 3, 4}, {0, 1, 2, 3}, StepResponse, 1.0);
    EXPECT_EQ(SetupErrors(true), "");
}

TEST_F(TimeResponseFirTest, BadTypeWritesOnlyTheTypeMessage)
{
    Use({1, 2, 3}, {0, 1, 2}, 2, 1.0);
    EXPECT_EQ(SetupErrors(false),
              "Inavlid ResponseType is specified, it can be either Impulse Response or Step "
              "Response\n");
}

TEST_F(TimeResponseFirTest, MismatchedCountsAndBadRatesAreRefused)
{
    Use({1, 2, 3, 4}, {0, 1, 2, 3}, ImpulseResponse, 1.0);
    fir.TimeStampCount = 5;
    EXPECT_EQ(SetupErrors(false),
              "Number of coefficients in response must be same as the number of values in time "
              "stamps\n");
    for (double rate : {0.0, -1.0, std::nan("")}) {
        Use({1, 2, 3, 4}, {0, 1, 2, 3}, ImpulseResponse, rate);
        EXPECT_EQ(SetupErrors(false), "SampleRate must be > 0.0\n");
    }
    EXPECT_EQ(fir.Taps, nullptr);
    EXPECT_EQ(fir.NumTaps, 0);
}

TEST_F(TimeResponseFirTest, OrderingMessageGivesOneBasedIndicesAndValues)
{
    Use({1, 2, 3, 4}, {0, 1e-12, 1e-12, 3e-12}, ImpulseResponse, 1e12);
    EXPECT_EQ(SetupErrors(false),
              "ResponseTimeStamps[3] = 1e-12  <= ResponseTimeStamps[2] = 1e-12. Time stamps "
              "must be in non-repeating ascending order.\n");
    // Stamps up to the offending one are shifted; the rest are not.
    Use({1, 2, 3, 4, 5}, {5, 6, 4, 10, 20}, ImpulseResponse, 1.0);
    EXPECT_EQ(SetupErrors(false),
              "ResponseTimeStamps[3] = 4  <= ResponseTimeStamps[2] = 6. Time stamps must be in "
              "non-repeating ascending order.\n");
    EXPECT_EQ(t, (std::vector<double>{0, 1, -1, 10, 20}));
    Use({1, 2, 3, 4}, {0, 2.5e-10, 0.001, 0.0005}, ImpulseResponse, 1.0);
    EXPECT_EQ(SetupErrors(false),
              "ResponseTimeStamps[4] = 0.0005  <= ResponseTimeStamps[3] = 0.001. Time stamps "
              "must be in non-repeating ascending order.\n");
}

TEST_F(TimeResponseFirTest, NonFiniteStampsAndHugeSpansAreRefusedCleanly)
{
    Use({1, 2, 3, 4}, {0, 1, std::nan(""), 3}, ImpulseResponse, 1.0);
    EXPECT_FALSE(SetupErrors(false).empty());
    Use({1, 2, 3, 4}, {0, 1, 2, INFINITY}, ImpulseResponse, 1.0);
    EXPECT_FALSE(SetupErrors(false).empty());
    Use({1, 2, 3, 4}, {0, 1, 2, 3}, ImpulseResponse, 1e300);
    EXPECT_FALSE(SetupErrors(false).empty());
    EXPECT_EQ(fir.NumTaps, 0);
}

TEST_F(TimeResponseFirTest, StampsAreShiftedToStartAtZero)
{
    Use({1, 2, 3, 4}, {5e-9, 6e-9, 7e-9, 8e-9}, ImpulseResponse, 1e9);
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(t[0], 0.0);
    EXPECT_NEAR(t[3], 3e-9, 1e-24);
    EXPECT_EQ(fir.NumTaps, 4);
    EXPECT_NEAR(fir.Taps[0], 1.0 / 1e9, 1e-24);
    // A second Setup on the shifted stamps designs the same taps.
    std::vector<double> first(fir.Taps, fir.Taps + fir.NumTaps);
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(std::vector<double>(fir.Taps, fir.Taps + fir.NumTaps), first);
}

TEST_F(TimeResponseFirTest, ImpulseTapsOnTheStampsAreTheResponseTimesTheInterval)
{
    std::vector<double> resp = {3, -1, 4, 1, -5, 9, 2, -6, 5, 3};
    Use(resp, Quarter(10), ImpulseResponse, 4.0);
    ASSERT_TRUE(fir.Setup());
    ASSERT_EQ(fir.NumTaps, 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(fir.Taps[i], resp[i] / 4.0);
}

TEST_F(TimeResponseFirTest, ImpulseTapsBetweenStampsFollowTheLocalCubic)
{
    std::vector<double> resp = {3, -1, 4, 1, -5, 9, 2, -6, 5, 3};
    Use(resp, Quarter(10), ImpulseResponse, 8.0);
    ASSERT_TRUE(fir.Setup());
    ASSERT_EQ(fir.NumTaps, 19);
    for (int i = 0; i < 19; ++i) {
        if (i % 2 == 0) {
            EXPECT_EQ(fir.Taps[i], resp[i / 2] / 8.0);
            continue;
        }
        // The stamp before the tap and the three after, clamped at the ends.
        int b = i / 2 + 1;
        if (b < 1) b = 1;
        if (b > 7) b = 7;
        double want = Cubic(&t[b - 1], &resp[b - 1], i / 8.0) / 8.0;
        EXPECT_NEAR(fir.Taps[i], want, 1e-13) << i;
    }
}

TEST_F(TimeResponseFirTest, StepResponsesAreDifferentiated)
{
    // A ramp r = 3 t gives 3 Ts everywhere; a parabola gives 2 t Ts.
    std::vector<double> stamps = {0, 0.1, 0.25, 0.4, 0.5, 0.7, 1.0};
    std::vector<double> ramp, parabola;
    for (double s : stamps) {
        ramp.push_back(3 * s);
        parabola.push_back(s * s);
    }
    Use(ramp, stamps, StepResponse, 20.0);
    ASSERT_TRUE(fir.Setup());
    ASSERT_EQ(fir.NumTaps, 21);
    for (int i = 0; i < fir.NumTaps; ++i) EXPECT_NEAR(fir.Taps[i], 3.0 / 20.0, 1e-12) << i;
    Use(parabola, stamps, StepResponse, 20.0);
    ASSERT_TRUE(fir.Setup());
    for (int i = 0; i < fir.NumTaps; ++i)
        EXPECT_NEAR(fir.Taps[i], 2.0 * (i / 20.0) / 20.0, 1e-12) << i;
}

TEST_F(TimeResponseFirTest, TapCountTruncatesThenAddsOne)
{
    Use({1, 2, 3, 4}, {0, 0.3e-9, 0.6e-9, 1.0e-9}, ImpulseResponse, 1e12);
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(fir.NumTaps, 1001);  // 1e-9 * 1e12 = 1000.0000000000001
    Use({1, 2, 3, 4}, {0, 0.3e-9, 0.6e-9, std::nextafter(1.0e-9, 0.0)}, ImpulseResponse, 1e12);
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(fir.NumTaps, 1000);
}

TEST_F(TimeResponseFirTest, FiltersLikeTheBaseAfterSetup)
{
    Use({1, 2, 3, 4}, {0, 1, 2, 3}, ImpulseResponse, 1.0);
    ASSERT_TRUE(fir.Setup());
    double in = 0.0, out = 0.0;
    fir.Input.Data = &in;
    fir.Input.Capacity = 1;
    fir.Output.Data = &out;
    fir.Output.Capacity = 1;
    ASSERT_TRUE(fir.Initialize());
    std::vector<double> y;
    for (double x : {1.0, 0.0, 0.0, 0.0, 0.0}) {
        in = x;
        fir.Run();
        y.push_back(out);
    }
    EXPECT_EQ(y, (std::vector<double>{1, 2, 3, 4, 0}));
}

TEST_F(TimeResponseFirTest, RunRefusesAfterAFailedSetupUntilSetUpAgain)
{
    Use({1, 2, 3, 4}, {0, 1, 2, 3}, ImpulseResponse, 1.0);
    ASSERT_TRUE(fir.Setup());
    double in = 1.0, out = 0.0;
    fir.Input.Data = &in;
    fir.Input.Capacity = 1;
    fir.Output.Data = &out;
    fir.Output.Capacity = 1;
    ASSERT_TRUE(fir.Initialize());
    ASSERT_TRUE(fir.Run());

    // Refused before the base Setup is reached: the filter must not go on
    // with the old taps as if nothing had happened.
    Use({1, 2, 3, 4}, {0, 1, 2, 3}, ImpulseResponse, 0.0);
    EXPECT_EQ(SetupErrors(false), "SampleRate must be > 0.0\n");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(fir.Run());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "FIR::Run called without a successful Setup and Initialize\n");

    // The tap count that an x87 build got one short: 3e-10 s at 1e10
    // samples/s is exactly 3 intervals in double, so there are 4 taps.
    Use({0.0, 1.0, 0.5, 0.25}, {0.0, 1e-10, 2e-10, 3e-10}, ImpulseResponse, 1e10);
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(fir.NumTaps, 4);
    ASSERT_TRUE(fir.Initialize());
    EXPECT_TRUE(fir.Run());
}
