// Cross-check of the Touchstone reader, the impulse response built from it
// and the network terminated by a kit's analog ends against scikit-rf, an
// established reader of the same files (skipped when Python, scikit-rf or
// the shared measurements are missing).
//
// Tolerances: magnitude 1e-6 relative and phase 1e-4 degrees at the file's
// frequencies (both read the same decimal values); final value of the step
// response 0.02 (the two extrapolate to DC differently: linear in
// magnitude here, in the complex value there, and scikit-rf applies a
// Hamming window); delay to half the final value 10 ps (0.06 UI at 6 Gb/s;
// the window and band limits round the edge differently).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "tools/ami-sim/FrequencyDomainChannel.h"
#include "tools/ami-sim/TerminatedNetwork.h"

using namespace amisim;

namespace {

struct Reference {
    std::vector<double> f, magnitude, phaseDeg;
    double final = NAN, delay = NAN;
};

// Runs the helper script with the first interpreter that has scikit-rf;
// false when none has. `arguments` go before the file, `more` after the
// ports.
bool RunReference(const std::string& file, const std::string& ports, Reference& r,
                  const std::string& arguments = "", const std::string& more = "") {
    for (const char* python : {"/usr/bin/python3", "python3"}) {
        const std::string command = std::string(python) + " '" + SKRF_REFERENCE_SCRIPT + "' " +
                                    arguments + " '" + file + "' " + ports + " " + more +
                                    " 2>/dev/null";
        std::FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) continue;
        std::string text;
        char buf[4096];
        while (std::fgets(buf, sizeof buf, pipe) != nullptr) text += buf;
        if (pclose(pipe) != 0) continue;
        std::istringstream in(text);
        std::string key;
        while (in >> key) {
            if (key == "freq") {
                double f, m, p;
                in >> f >> m >> p;
                r.f.push_back(f);
                r.magnitude.push_back(m);
                r.phaseDeg.push_back(p);
            } else if (key == "final") {
                in >> r.final;
            } else if (key == "delay") {
                in >> r.delay;
            }
        }
        return !r.f.empty();
    }
    return false;
}

struct Case {
    const char* file;
    const char* ports;
};

}  // namespace

class SkrfComparison : public ::testing::TestWithParam<Case> {};

TEST_P(SkrfComparison, ThroughResponseAndStepAgree) {
    const std::filesystem::path path =
        std::filesystem::path(CORVIN_SOURCE_DIR) / ".." / "shared" / "channels" / GetParam().file;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is absent";
    Reference ref;
    if (!RunReference(path.string(), GetParam().ports, ref))
        GTEST_SKIP() << "python3 with scikit-rf is not available";

    NetworkData data;
    ThroughResponse through;
    std::vector<int> ports;
    std::string error;
    ASSERT_TRUE(ReadTouchstone(path.string(), data, error)) << error;
    ASSERT_TRUE(ParsePortList(GetParam().ports, ports, error));
    ASSERT_TRUE(SelectThrough(data, ports, through, error)) << error;
    for (std::size_t i = 0; i < ref.f.size(); ++i) {
        const std::size_t k = i * 50;  // the script prints every 50th
        ASSERT_LT(k, through.frequency.size());
        EXPECT_NEAR(through.frequency[k], ref.f[i], 1e-6 * ref.f[i]);
        EXPECT_NEAR(std::abs(through.h[k]), ref.magnitude[i], 1e-6 * ref.magnitude[i] + 1e-12);
        const double dp =
            std::remainder(std::arg(through.h[k]) * 180 / M_PI - ref.phaseDeg[i], 360.0);
        EXPECT_NEAR(dp, 0.0, 1e-4) << ref.f[i];
    }

    Channel ch;
    const double bitTime = 1.666666666666667e-10, dt = bitTime / 32;
    ASSERT_TRUE(ChannelFromThrough(through, dt, ch, error)) << error;
    const ChannelFigures fig = MeasureChannel(ch, dt, bitTime);
    EXPECT_NEAR(fig.dcGain, ref.final, 0.02);
    EXPECT_NEAR(fig.delay, ref.delay, 10e-12);
}

INSTANTIATE_TEST_SUITE_P(SharedChannels, SkrfComparison,
                         ::testing::Values(Case{"pcb_stripline_119mm.s2p", "1,2"},
                                           Case{"CABLE1_TX_pair.s4p", "1,3,2,4"}),
                         [](const auto& info) { return info.index == 0 ? "Stripline" : "Cable"; });

namespace {

std::string Values(std::initializer_list<double> values) {
    std::string s;
    char buf[40];
    for (double v : values) {
        std::snprintf(buf, sizeof buf, "%s%.17g", s.empty() ? "" : ",", v);
        s += buf;
    }
    return s;
}

}  // namespace

// The kit's analog ends on the measured cable pair: the driver, package,
// the full 4-port network, package and receiver, against scikit-rf's
// cascade of the same networks renormalised to the ends' resistances.
TEST(SkrfComparisonOfTheAnalogEnds, KitEndsOnTheCableAgree) {
    const std::filesystem::path path = std::filesystem::path(CORVIN_SOURCE_DIR) / ".." / "shared" /
                                       "channels" / "CABLE1_TX_pair.s4p";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is absent";
    IbisKit kit;
    std::string error;
    ASSERT_TRUE(ReadIbisKit(std::string(CORVIN_SOURCE_DIR) + "/kit/corvin.ibs", kit, error));
    const KitComponent& c = kit.components.at(0);
    AnalogEnd tx, rx;
    ASSERT_TRUE(
        ExtractDriver(c, *c.Pin("A1"), *kit.Model("corvin_tx1"), Corner::Typical, -1.0, tx, error))
        << error;
    ASSERT_TRUE(ExtractReceiver(c, *c.Pin("B1"), *kit.Model("corvin_rx1"), Corner::Typical, -1.0,
                                rx, error))
        << error;
    std::string more = Values({tx.resistance}) + " " + Values({tx.cComp}) + " " +
                       Values({rx.resistance}) + " " + Values({rx.cComp});
    for (const AnalogEnd* e : {&tx, &rx})
        for (const PackageLeg& l : e->legs) more += " " + Values({l.r, l.l, l.c});
    Reference ref;
    if (!RunReference(path.string(), "1,3,2,4", ref, "--terminated", more))
        GTEST_SKIP() << "python3 with scikit-rf is not available";

    NetworkData data;
    ThroughResponse through;
    ASSERT_TRUE(ReadTouchstone(path.string(), data, error)) << error;
    ASSERT_TRUE(TerminateThrough(data, {1, 3, 2, 4}, tx, rx, through, error)) << error;
    ASSERT_GT(ref.f.size(), 10u);
    for (std::size_t i = 0; i < ref.f.size(); ++i) {
        const std::size_t k = i * 50;  // the script prints every 50th
        ASSERT_LT(k, through.frequency.size());
        EXPECT_NEAR(std::abs(through.h[k]), ref.magnitude[i], 1e-6 * ref.magnitude[i] + 1e-12)
            << ref.f[i];
        const double dp =
            std::remainder(std::arg(through.h[k]) * 180 / M_PI - ref.phaseDeg[i], 360.0);
        EXPECT_NEAR(dp, 0.0, 1e-4) << ref.f[i];
    }
}
