// The channel with the analog ends at its ports, against circuits solved
// by hand: dividers, a mismatched line's reflections, pad capacitances and
// a package inductance, single-ended and as a differential pair.
#include "tools/ami-sim/TerminatedNetwork.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

using namespace amisim;
using Complex = std::complex<double>;

namespace {

constexpr double kF = 2e9;  // the frequency the cases are solved at
const double kW = 2 * M_PI * kF;
const Complex kJ(0.0, 1.0);

// A lossless line of the reference impedance, `theta` radians long, as a
// 2-port, or two of them as a 4-port (1->3, 2->4), at kF only.
NetworkData Line(double theta, bool pair) {
    NetworkData d;
    d.ports = pair ? 4 : 2;
    d.frequency = {kF};
    d.reference.assign(static_cast<std::size_t>(d.ports), 50.0);
    d.s.assign(static_cast<std::size_t>(d.ports * d.ports), 0.0);
    const Complex t = std::polar(1.0, -theta);
    auto set = [&](int to, int from) {
        d.s[static_cast<std::size_t>((to - 1) * d.ports + from - 1)] = t;
    };
    if (pair) {
        set(3, 1), set(1, 3), set(4, 2), set(2, 4);
    } else {
        set(2, 1), set(1, 2);
    }
    return d;
}

AnalogEnd End(bool driver, double r, double cComp = 0.0, double l = 0.0, int legs = 1) {
    AnalogEnd e;
    e.driver = driver;
    e.resistance = r;
    e.cComp = cComp;
    for (int i = 0; i < legs; ++i)
        e.legs.push_back(PackageLeg{"P" + std::to_string(i), 0.0, l, 0.0, ""});
    return e;
}

Complex Through(const NetworkData& d, const AnalogEnd& tx, const AnalogEnd& rx) {
    ThroughResponse t;
    std::string error;
    const std::vector<int> ports =
        d.ports == 4 ? std::vector<int>{1, 2, 3, 4} : std::vector<int>{1, 2};
    EXPECT_TRUE(TerminateThrough(d, ports, tx, rx, t, error)) << error;
    return t.h.empty() ? Complex(NAN) : t.h[0];
}

}  // namespace

TEST(TerminatedNetwork, EndsAndLinesGiveTheCircuitsVoltages) {
    const double inf = std::numeric_limits<double>::infinity();
    const double c = 1e-12, l = 2e-9;
    const Complex reflected = (8.0 / 9.0) * kJ * -1.0 / (1.0 + 1.0 / 9.0);  // quarter wave
    const struct {
        const char* name;
        NetworkData line;
        AnalogEnd tx, rx;
        Complex expected;
    } cases[] = {
        {"matched ends give S21", Line(0.7, false), End(true, 50), End(false, 50),
         std::polar(1.0, -0.7)},
        {"a resistive divider", Line(0.0, false), End(true, 25), End(false, 100), 1.6},
        {"an open receiver doubles the voltage", Line(0.0, false), End(true, 50), End(false, inf),
         2.0},
        {"C_comp at the receiver", Line(0.0, false), End(true, 50), End(false, 50, c),
         2.0 / (1.0 + 50.0 * (1.0 / 50.0 + kJ * kW * c))},
        {"C_comp at the driver", Line(0.0, false), End(true, 50, c), End(false, 100),
         200.0 / (150.0 + kJ * kW * c * 5000.0)},
        {"package L at the receiver", Line(0.0, false), End(true, 50), End(false, 50, 0.0, l),
         100.0 / (100.0 + kJ * kW * l)},
        {"reflections on a mismatched line", Line(M_PI / 2, false), End(true, 100), End(false, 100),
         reflected},
        {"a differential pair of matched lines", Line(0.4, true), End(true, 50, 0, 0, 2),
         End(false, 50, 0, 0, 2), std::polar(1.0, -0.4)},
        {"a pair into 100 ohm per leg", Line(0.0, true), End(true, 50, 0, 0, 2),
         End(false, 100, 0, 0, 2), 4.0 / 3.0},
        {"a pair's ends with one leg serve both", Line(0.0, true), End(true, 50), End(false, 100),
         4.0 / 3.0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const Complex h = Through(k.line, k.tx, k.rx);
        EXPECT_NEAR(h.real(), k.expected.real(), 1e-12);
        EXPECT_NEAR(h.imag(), k.expected.imag(), 1e-12);
    }
}

TEST(TerminatedNetwork, RefusesPathsItCannotTerminate) {
    ThroughResponse t;
    std::string error;
    NetworkData d = Line(0.0, false);
    d.reference[1] = 0.0;
    EXPECT_FALSE(TerminateThrough(d, {1, 2}, End(true, 50), End(false, 50), t, error));
    EXPECT_EQ(error, "port 2 has no positive reference impedance");
    EXPECT_FALSE(TerminateThrough(Line(0.0, false), {1, 2}, End(true, 50), AnalogEnd(), t, error));
}
