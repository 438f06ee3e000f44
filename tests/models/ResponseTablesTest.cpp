// The models' tabulated impulse responses and their time grid: the
// characterised points must be held exactly, the shape between them must be
// smooth with no extra wiggles, the area must give the stated gain, and the
// filters built from the tables must see the same gain.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "blocks/TimeResponseFIR.h"
#include "models/ResponseGrid.h"
#include "models/corvin_rx1/EqResponses.h"
#include "models/corvin_tx1/TxOutputResponse.h"

namespace {

constexpr int Span = 512;  // last non-zero entry

// What the chip's characterisation gives for one response.
struct Characterised {
    const char* name;
    const double* table;
    double first[3];      // k = 0, 1, 2
    int maxK;
    double maxValue;
    int minK;
    double minValue;
    double gain;          // sum of the entries times the grid step
    int gainDecimals;     // digits shown after the point
    double every32[17];   // k = 0, 32, ..., 512
};

// Names the table in test output instead of dumping the record's bytes.
void PrintTo(const Characterised& c, std::ostream* os) { *os << c.name; }

const Characterised kResponses[] = {
    {"EqResponse0", EqResponse0,
     {6144388.290225997, 12030634.00126524, 11396591.76085288},
     105, 10243651967.63225, 225, -937575318.7026072, 0.99737, 5,
     {6144388.290225997, 81655939.10834895, 3630419503.210349, 9866504565.308443,
      8197738043.941463, 3436583060.10438, 213119393.485342, -936179711.3380157,
      -428657563.7663818, 30635659.89949133, -33209673.22960999, -92840205.51525843,
      -36647744.307456, -3207636.636144352, -1384686.934266223, 3534380.395310971,
      4084850.255608438}},
    {"EqResponse1", EqResponse1,
     {3728472.20771294, 6994935.227009891, 5924503.170193052},
     93, 23168381095.65586, 186, -8428512734.090394, 0.99789, 5,
     {3728472.20771294, 247566478.8477702, 11043309215.68641, 23036498761.59478,
      7768843654.397676, -5965303672.809458, -8331672939.220155, -4948017007.347902,
      -177796480.4764983, 1103235726.75066, 162708473.2669002, -162240901.5530665,
      35160494.08012841, 72155211.16233432, 21258954.59863508, 22463091.56184708,
      17650920.98028193}},
    {"EqResponse2", EqResponse2,
     {-10431157.16434806, -20809267.94966542, -20179326.36018638},
     86, 54211716505.42526, 158, -32211435611.95316, 0.99800, 5,
     {-10431157.16434806, 932019108.7202771, 31864692163.73983, 49193480569.53557,
      -8465562086.201796, -32129082614.31444, -20786454641.39208, -5037069748.364045,
      5582550421.614349, 3737695223.053613, -777319660.4019434, -782034697.5800346,
      297912278.9184933, 243204046.8790649, 788772.8012139216, 29151964.3339508,
      39345607.05341417}},
    {"TxOutputResponse", TxOutputResponse,
     {12753751.86450742, 24998118.88325637, 23655165.16440408},
     100, 8755035834.652988, 200, -487426403.4732108, 0.99935, 5,
     {12753751.86450742, 617862177.9646188, 4943813267.696141, 8698953126.610886,
      6489202500.679502, 1806049066.696305, -419087298.2985882, -67816658.62347348,
      600132004.8998826, 556113839.1150681, 211169403.5348547, 54327755.53815546,
      89633618.35114673, 136060247.166542, 125246999.1015638, 93621971.89403354,
      39814034.05619852}},
};

class ResponseTableTest : public testing::TestWithParam<Characterised> {
protected:
    const Characterised& c = GetParam();
    const double* h = c.table;

    std::set<int> CharacterisedIndices() const
    {
        std::set<int> k = {0, 1, 2, c.maxK, c.minK};
        for (int j = 0; j <= Span; j += 32) k.insert(j);
        return k;
    }
};

TEST_P(ResponseTableTest, HoldsEveryCharacterisedPointExactly)
{
    for (int k = 0; k < 3; ++k) EXPECT_EQ(h[k], c.first[k]) << "k = " << k;
    for (int j = 0; j < 17; ++j) EXPECT_EQ(h[32 * j], c.every32[j]) << "k = " << 32 * j;
    EXPECT_EQ(h[c.maxK], c.maxValue);
    EXPECT_EQ(h[c.minK], c.minValue);
}

TEST_P(ResponseTableTest, PeakAndTroughAreUniqueAndAtTheirIndices)
{
    const double* end = h + ResponsePointCount;
    EXPECT_EQ(std::max_element(h, end) - h, c.maxK);
    EXPECT_EQ(std::min_element(h, end) - h, c.minK);
    EXPECT_EQ(std::count(h, end, c.maxValue), 1);
    EXPECT_EQ(std::count(h, end, c.minValue), 1);
}

TEST_P(ResponseTableTest, AreaGivesTheLowFrequencyGainInEveryDigitShown)
{
    double sum = 0.0;
    for (int k = 0; k < ResponsePointCount; ++k) sum += h[k];
    const double area = sum * (ResponseGrid[1] - ResponseGrid[0]);
    const double scale = std::pow(10.0, c.gainDecimals);
    EXPECT_EQ(std::round(area * scale), std::round(c.gain * scale)) << "area " << area;
    EXPECT_LT(area, 1.0);
}

TEST_P(ResponseTableTest, IsExactlyZeroAfterItsSpanAndHalvedAtItsEnd)
{
    for (int k = Span + 1; k < ResponsePointCount; ++k) {
        ASSERT_EQ(h[k], 0.0) << "k = " << k;
        ASSERT_FALSE(std::signbit(h[k])) << "k = " << k;
    }
    const double ratio = h[Span] / h[Span - 1];
    EXPECT_GT(ratio, 0.45);
    EXPECT_LT(ratio, 0.55);
}

TEST_P(ResponseTableTest, IsSmoothWithExtremaOnlyAtCharacterisedPoints)
{
    double peak = 0.0;
    for (int k = 0; k < ResponsePointCount; ++k) {
        ASSERT_TRUE(std::isfinite(h[k])) << "k = " << k;
        peak = std::max(peak, std::fabs(h[k]));
    }
    // Between the characterised points the curve only rises or falls; the
    // one exception is entry 511, the last full sample before the
    // half-weight end entry.
    std::set<int> allowed = CharacterisedIndices();
    allowed.insert(Span - 1);
    for (int k = 1; k < Span; ++k) {
        const double left = h[k] - h[k - 1];
        const double right = h[k + 1] - h[k];
        if (left * right < 0.0 || (left == 0.0) != (right == 0.0)) {
            EXPECT_TRUE(allowed.count(k)) << "local extremum at k = " << k;
        }
    }
    // No kinks: the curvature stays within a small fraction of the peak.
    for (int k = 1; k < Span - 1; ++k)
        EXPECT_LT(std::fabs(h[k + 1] - 2.0 * h[k] + h[k - 1]), 0.01 * peak) << "k = " << k;
}

// The filters resample the table every 1/SampleRate and scale by it; on the
// models' sampling grid (32 samples per 1.666666666666667e-10 s bit) their
// taps must add up to the same gain as the table's area.
TEST_P(ResponseTableTest, FilterDesignedFromItHasTheSameGain)
{
    std::vector<double> response(h, h + ResponsePointCount);
    std::vector<double> stamps(ResponseGrid, ResponseGrid + ResponsePointCount);
    Vantra::TimeResponseFIR fir;
    fir.Response = response.data();
    fir.ResponseTimeStamps = stamps.data();
    fir.ResponseCount = fir.TimeStampCount = ResponsePointCount;
    fir.ResponseType = Vantra::ImpulseResponse;
    fir.SampleRate = 32.0 / 1.666666666666667e-10;
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(fir.NumTaps, 384);
    double gain = 0.0;
    for (int i = 0; i < fir.NumTaps; ++i) gain += fir.Taps[i];
    EXPECT_NEAR(gain, c.gain, 5e-4);
}

INSTANTIATE_TEST_SUITE_P(Models, ResponseTableTest, testing::ValuesIn(kResponses),
                         [](const testing::TestParamInfo<Characterised>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------
// The time grid

TEST(ResponseGridTest, HoldsTheReferenceEntries)
{
    EXPECT_EQ(ResponseGrid[0], 0.0);
    EXPECT_EQ(ResponseGrid[1], 1.302083333333333e-12);
    EXPECT_EQ(ResponseGrid[3], 3.906249999999999e-12);
    EXPECT_EQ(ResponseGrid[512], 6.666666666666666e-10);
    EXPECT_EQ(ResponseGrid[1536], 2e-09);
    // The times quoted for the responses' peaks and troughs.
    EXPECT_EQ(ResponseGrid[86], 1.119791666666667e-10);
    EXPECT_EQ(ResponseGrid[93], 1.2109375e-10);
    EXPECT_EQ(ResponseGrid[100], 1.302083333333333e-10);
    EXPECT_EQ(ResponseGrid[105], 1.3671875e-10);
    EXPECT_EQ(ResponseGrid[200], 2.604166666666667e-10);
}

TEST(ResponseGridTest, FollowsItsRuleToSixteenSignificantDigits)
{
    for (int k = 1; k < ResponsePointCount; ++k) {
        const double t = ResponseGrid[k];
        ASSERT_LT(ResponseGrid[k - 1], t) << "k = " << k;

        // Stored to 16 significant digits: the 16-digit text reads back
        // as the same double.
        char text[32];
        std::snprintf(text, sizeof text, "%.15e", t);
        EXPECT_EQ(std::strtod(text, nullptr), t) << "k = " << k;

        // Departs from k x 2 ns / 1536 in the 16th digit at most (by a
        // couple of units where the product was formed in binary).
        const long double exact = static_cast<long double>(k) * 2.0e-9L / 1536.0L;
        const long double unit = std::pow(10.0L, std::floor(std::log10(exact)) - 15.0L);
        EXPECT_LE(std::fabs(static_cast<long double>(t) - exact), 2.5L * unit) << "k = " << k;
    }
}

}  // namespace
