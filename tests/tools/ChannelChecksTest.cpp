#include "tools/ami-sim/ChannelChecks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace amisim;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

using C = std::complex<double>;

// An n-port network at 10, 20, ... MHz whose S-parameters come from
// `s(to, from)`, the same at every frequency.
NetworkData Network(int ports, std::size_t points, C (*s)(int, int)) {
    NetworkData d;
    d.ports = ports;
    for (std::size_t k = 0; k < points; ++k) {
        d.frequency.push_back(10e6 * static_cast<double>(k + 1));
        for (int i = 1; i <= ports; ++i)
            for (int j = 1; j <= ports; ++j) d.s.push_back(s(i, j));
    }
    return d;
}

// Two through lines 1->2 and 3->4 with a little crosstalk 1->4.
C PairOfLines(int to, int from) {
    if ((to == 2 && from == 1) || (to == 1 && from == 2)) return 0.9;
    if ((to == 4 && from == 3) || (to == 3 && from == 4)) return 0.9;
    if ((to == 4 && from == 1) || (to == 1 && from == 4)) return 0.05;
    return 0.0;
}

struct NetworkCase {
    const char* what;
    int ports;
    C (*s)(int, int);
    std::vector<int> givenPorts;
    const char* warning;  // "" for none
};

const NetworkCase kNetworks[] = {
    {"a clean pair of lines", 4, PairOfLines, {1, 3, 2, 4}, ""},
    {"an amplifying through path",
     2,
     [](int to, int from) { return to != from ? C(1.1, 0.0) : C(0.0, 0.0); },
     {},
     "not passive: its S-matrix amplifies by 1.1 at 10 MHz"},
    {"S12 unlike S21",
     2,
     [](int to, int from) {
         return to == 2 && from == 1   ? C(0.9, 0.0)
                : to == 1 && from == 2 ? C(0.8, 0.0)
                                       : C(0.0, 0.0);
     },
     {},
     "not reciprocal: |S(1,2) - S(2,1)| is 0.1 at 10 MHz"},
    {"ports naming the crosstalk as the through path",
     4,
     PairOfLines,
     {1, 2, 3, 4},
     "--ports 1,2,3,4 has a gain of 0.025 at the lowest frequencies; 1,3,2,4 has 0.875"},
    {"single-ended ports on the crosstalk",
     4,
     PairOfLines,
     {1, 4},
     "--ports 1,4 has a gain of 0.05 at the lowest frequencies; 1,2 has 0.9"},
};

struct ConversionCase {
    const char* what;
    ThroughConversion c;
    const char* warning;
};

// At 6 Gb/s and 32 samples a bit the simulation's Nyquist frequency is
// 96 GHz and the signal's 3 GHz.
const ConversionCase kConversions[] = {
    {"data to the simulation's Nyquist frequency", {100e9, 96e9, 76.8e9, true, 0.9, 0.9, 0.0}, ""},
    {"data stopping below the simulation's Nyquist frequency",
     {40e9, 40e9, 32e9, true, 0.9, 0.9, 0.0},
     "data stop at 40 GHz, below the simulation's Nyquist frequency of 96 GHz: the through "
     "response is rolled off from 32 GHz and taken as zero above 40 GHz"},
    {"data stopping below the signal's Nyquist frequency",
     {2e9, 2e9, 1.6e9, true, 0.9, 0.9, 0.0},
     "data stop at 2 GHz, below even the signal's Nyquist frequency of 3 GHz"},
    {"DC extrapolated from points that disagree",
     {100e9, 96e9, 76.8e9, true, 0.738, 0.92, 0.0},
     "the DC gain rests on points that disagree: 0.738 from the two lowest frequencies, 0.92 "
     "from the next two"},
    {"a response arriving early",
     {100e9, 96e9, 76.8e9, true, 0.9, 0.9, 0.031},
     "not causal: 3.1% of the response's energy comes before its arrival and was cut"},
};

}  // namespace

TEST(ChannelChecks, NetworkFaultsAreNamedWithTheirSizeAndFrequency) {
    for (const NetworkCase& c : kNetworks) {
        SCOPED_TRACE(c.what);
        const NetworkData d = Network(c.ports, 20, c.s);
        std::vector<std::string> warnings;
        CheckNetwork(d, 1e12, warnings);
        CheckPortOrder(d, c.givenPorts, warnings);
        if (*c.warning == '\0') {
            EXPECT_THAT(warnings, IsEmpty());
        } else {
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_THAT(warnings[0], HasSubstr(c.warning));
        }
    }
}

TEST(ChannelChecks, ReciprocityIsNotCheckedAboveTheRollOff) {
    const NetworkData d = Network(2, 20, kNetworks[2].s);
    std::vector<std::string> warnings;
    CheckNetwork(d, 5e6, warnings);
    EXPECT_THAT(warnings, IsEmpty());
}

TEST(ChannelChecks, ConversionAssumptionsAreSaid) {
    const double bitTime = 1.666666666666667e-10;
    for (const ConversionCase& c : kConversions) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> warnings;
        CheckConversion(c.c, bitTime / 32, bitTime, warnings);
        if (*c.warning == '\0') {
            EXPECT_THAT(warnings, IsEmpty());
        } else {
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_THAT(warnings[0], HasSubstr(c.warning));
        }
    }
}
