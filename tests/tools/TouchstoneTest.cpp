#include "tools/ami-sim/Touchstone.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "tools/ami-sim/ThroughResponse.h"

using namespace amisim;
using ::testing::HasSubstr;

namespace {

using C = std::complex<double>;

struct Readable {
    const char* what;
    int portsFromName;
    const char* text;
    int ports;
    std::size_t frequencies;
    double firstHz;
    int to, from;  // the S-parameter checked at the first frequency
    C expected;
    double reference;  // of port 1
};

const Readable kReadable[] = {
    {"1.x GHz RI, 2-port order 11 21 12 22", 2,
     "! comment\n# GHz S RI R 50\n1 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 ! tail\n2 0 0 0 0 0 0 0 0\n", 2,
     2, 1e9, 2, 1, C(0.3, 0.4), 50},
    {"1.x MHz MA, S12 third", 2, "# mhz s ma r 75\n100 1 0 0.5 90 0.25 180 1 0\n", 2, 1, 100e6, 1,
     2, C(-0.25, 0), 75},
    {"1.x Hz DB, fields in any order", 2, "#  DB  R 50 S  HZ\n1e9 0 0 -6.0206 -90 0 0 0 0\n", 2, 1,
     1e9, 2, 1, C(0, -0.5), 50},
    {"1.x defaults GHz MA 50 ohm, KHz", 1, "#\n0.5 0.5 0\n", 1, 1, 0.5e9, 1, 1, C(0.5, 0), 50},
    {"1.x KHz, CRLF line ends", 1, "# KHZ S RI R 50\r\n1 0.5 0\r\n", 1, 1, 1e3, 1, 1, C(0.5, 0),
     50},
    {"1.x 4-port rows on lines, S32 is row 3 column 2", 4,
     "# GHz S RI R 50\n"
     "1 11 0 12 0 13 0 14 0\n 21 0 22 0 23 0 24 0\n 31 0 32 0 33 0 34 0\n 41 0 42 0 43 0 44 0\n",
     4, 1, 1e9, 3, 2, C(32, 0), 50},
    {"1.x 2-port noise data skipped", 2,
     "# GHz S RI R 50\n1 0 0 1 0 1 0 0 0\n2 0 0 1 0 1 0 0 0\n1 1.5 0.5 20 0.3\n2 1.6 0.4 21 0.3\n",
     2, 2, 1e9, 2, 1, C(1, 0), 50},
    {"2.0 12_21 order, per-port references, information skipped", 0,
     "[Version] 2.0\n# GHz S RI R 50\n[Number of Ports] 2\n[Two-Port Data Order] 12_21\n"
     "[Number of Frequencies] 1\n[Reference] 60\n 70\n[Begin Information]\nanything\n"
     "[End Information]\n[Network Data]\n1 0 0 0.5 0\n 0.25 0 0 0\n[End]\n",
     2, 1, 1e9, 2, 1, C(0.25, 0), 60},
    {"2.0 upper triangle mirrored", 0,
     "[Version] 2.0\n# Hz S MA\n[Number of Ports] 3\n[Matrix Format] Upper\n[Network Data]\n"
     "5 1 0 2 0 3 0\n4 0 5 0\n6 0\n[Noise Data]\n1 2 3\n[End]\n",
     3, 1, 5, 3, 2, C(5, 0), 50},
    {"2.0 lower triangle mirrored", 0,
     "[Version] 2.0\n# Hz S RI\n[Number of Ports] 3\n[Matrix Format] lower\n[Network Data]\n"
     "5 1 0\n2 0 3 0\n4 0 5 0 6 0\n",
     3, 1, 5, 1, 3, C(4, 0), 50},
};

struct Malformed {
    const char* what;
    int portsFromName;
    const char* text;
    const char* message;
};

const Malformed kMalformed[] = {
    {"not a number", 2, "# GHz S RI R 50\n1 0 0 abc 0 0 0 0 0\n", "t:2: 'abc' is not a number"},
    {"not finite", 1, "# GHz S RI R 50\n1 nan 0\n", "t:2: 'nan' is not a number"},
    {"magnitude overflows", 1, "# GHz S DB R 50\n1 7000 0\n",
     "t:2: a network parameter is out of range"},
    {"frequency overflows", 1, "# GHz S RI R 50\n1e305 1 0\n",
     "t:2: the frequency is out of range"},
    {"frequency falls", 1, "# GHz S RI R 50\n2 1 0\n1 1 0\n",
     "t:3: frequency '1' does not increase"},
    {"negative frequency", 1, "# GHz S RI R 50\n-1 1 0\n", "t:2: frequency '-1' is negative"},
    {"values missing at the end", 4, "# GHz S RI R 50\n1 1 0 1 0\n",
     "t:2: the values of this frequency are incomplete: 5 of 33"},
    {"values running into the next frequency", 1, "# GHz S RI R 50\n1 1 0 2 1 0\n",
     "t:2: more values on this line"},
    {"Y-parameters", 2, "# GHz Y RI R 50\n", "t:1: Y-parameters are not supported"},
    {"unknown option", 2, "# GHz S XY R 50\n", "t:1: unknown option 'XY'"},
    {"R without a value", 2, "# GHz S RI R\n", "t:1: R in the option line needs a positive"},
    {"data before the option line", 1, "1 1 0\n", "t:1: data before the option line"},
    {"port count unknown", 0, "# GHz S RI R 50\n1 1 0\n", "t:2: the port count is unknown"},
    {"no data", 2, "! only a comment\n# GHz S RI R 50\n", "t: no network data"},
    {"keyword in a version 1 file", 2, "# GHz S RI R 50\n[Number of Ports] 2\n",
     "t:2: keyword '[Number of Ports]' in a version 1 file"},
    {"2.0 2-port without data order", 0,
     "[Version] 2.0\n# GHz S RI R 50\n[Number of Ports] 2\n[Network Data]\n",
     "t:4: a 2-port file needs [Two-Port Data Order]"},
    {"2.0 frequency count", 0,
     "[Version] 2.0\n# GHz S RI R 50\n[Number of Ports] 1\n[Number of Frequencies] 3\n[Network "
     "Data]\n1 1 0\n2 1 0\n",
     "t: [Number of Frequencies] is 3 but the file holds 2"},
    {"2.0 mixed mode", 0,
     "[Version] 2.0\n# GHz S RI R 50\n[Number of Ports] 4\n[Mixed-Mode Order] D2,1 D1,2 C2,1 "
     "C1,2\n",
     "t:4: mixed-mode data are not supported"},
    {"2.0 data before [Network Data]", 0,
     "[Version] 2.0\n# GHz S RI R 50\n[Number of Ports] 1\n1 1 0\n",
     "t:4: data before [Network Data]"},
    {"2.0 bad reference", 0, "[Version] 2.0\n# GHz S RI\n[Number of Ports] 2\n[Reference] 50 -3\n",
     "t:4: reference impedance '-3'"},
    {"2.0 references cut short", 0,
     "[Version] 2.0\n# GHz S RI\n[Number of Ports] 2\n[Reference] 50\n[Network Data]\n",
     "t:5: [Reference] has fewer values than ports"},
    {"2.0 too many ports", 0, "[Version] 2.0\n[Number of Ports] 100000\n",
     "t:2: [Number of Ports] expects a whole number from 1 to 64"},
    {"version 3", 0, "[Version] 3.0\n", "t:1: version '3.0' is not supported"},
    {"2.0 port count changed after the data", 0,
     "[Version] 2.0\n# GHz S RI\n[Number of Ports] 1\n[Network Data]\n1 1 0\n[Number of Ports] 3\n",
     "t:6: [NUMBER OF PORTS] after the network data began"},
    {"2-port frequency repeated at a sweep join", 2,
     "# GHz S RI R 50\n1 0 0 1 0 1 0 0 0\n2 0 0 1 0 1 0 0 0\n2 0 0 1 0 1 0 0 0\n3 0 0 1 0 1 0 0 "
     "0\n",
     "t:4: frequency '2' repeats the previous one (noise parameters would start here, with 5 "
     "values on the line, not 9)"},
    {"2-port frequency going back with a full point", 2,
     "# GHz S RI R 50\n1 0 0 1 0 1 0 0 0\n2 0 0 1 0 1 0 0 0\n1.5 0 0 1 0 1 0 0 0\n",
     "t:4: frequency '1.5' does not increase (noise parameters"},
    {"noise parameters cut short", 2,
     "# GHz S RI R 50\n1 0 0 1 0 1 0 0 0\n2 0 0 1 0 1 0 0 0\n1 1.5 0.5 20 0.3\n2 1.6 0.4 21\n",
     "t:5: noise parameters take 5 values a line, not 4"},
    {"4-port frequency going back", 4,
     "# GHz S RI R 50\n2 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0\n"
     "1 0 0 0 0 0 0 0 0\n",
     "t:6: frequency '1' does not increase"},
    {"4-port data named .s2p", 2,
     "# GHz S RI R 50\n1 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0\n"
     "2 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0\n 0 0 0 0 0 0 0 0\n",
     "t:3: the data fit a 4-port file (33 numbers per frequency), not the 2 ports its name says "
     "(frequency '0' does not increase"},
    {"2-port data named .s4p", 4,
     "# GHz S RI R 50\n1 0 0 1 0 1 0 0 0\n2 0 0 1 0 1 0 0 0\n3 0 0 1 0 1 0 0 0\n4 0 0 1 0 1 0 0 "
     "0\n",
     "t:5: the data fit a 2-port file (9 numbers per frequency), not the 4 ports its name says "
     "(more values on this line"},
};

std::string SharedChannel(const char* name) {
    const std::filesystem::path p =
        std::filesystem::path(CORVIN_SOURCE_DIR) / ".." / "shared" / "channels" / name;
    return std::filesystem::exists(p) ? p.string() : std::string();
}

}  // namespace

TEST(Touchstone, ReadsEachFormatUnitAndLayout) {
    for (const Readable& c : kReadable) {
        SCOPED_TRACE(c.what);
        std::istringstream in(c.text);
        NetworkData d;
        std::string error;
        ASSERT_TRUE(ParseTouchstone(in, "t", c.portsFromName, d, error)) << error;
        EXPECT_EQ(d.ports, c.ports);
        ASSERT_EQ(d.frequency.size(), c.frequencies);
        EXPECT_DOUBLE_EQ(d.frequency[0], c.firstHz);
        EXPECT_NEAR(std::abs(d.S(0, c.to, c.from) - c.expected), 0.0, 1e-4);
        EXPECT_DOUBLE_EQ(d.reference.at(0), c.reference);
    }
}

TEST(Touchstone, RefusesMalformedFilesWithTheLine) {
    for (const Malformed& c : kMalformed) {
        SCOPED_TRACE(c.what);
        std::istringstream in(c.text);
        NetworkData d;
        d.ports = -7;  // left alone on failure
        std::string error;
        EXPECT_FALSE(ParseTouchstone(in, "t", c.portsFromName, d, error));
        EXPECT_THAT(error, HasSubstr(c.message));
        EXPECT_EQ(d.ports, -7);
    }
}

TEST(Touchstone, PortCountComesFromTheFileName) {
    const std::pair<const char*, int> cases[] = {{"a.s2p", 2}, {"dir/B.S4P", 4}, {"x.s12p", 12},
                                                 {"x.ts", 0},  {"x.sp", 0},      {"d.s2p/x", 0},
                                                 {"x.s0p", 0}, {"x.s999p", 0},   {"x.s4px", 0}};
    for (const auto& c : cases) EXPECT_EQ(PortsFromFileName(c.first), c.second) << c.first;
}

TEST(Touchstone, ReadsTheSharedMeasurements) {
    const std::string cable = SharedChannel("CABLE1_TX_pair.s4p");
    const std::string stripline = SharedChannel("pcb_stripline_119mm.s2p");
    if (cable.empty() || stripline.empty()) GTEST_SKIP() << "../shared/channels is absent";
    NetworkData d;
    std::string error;
    ASSERT_TRUE(ReadTouchstone(cable, d, error)) << error;
    EXPECT_EQ(d.ports, 4);
    EXPECT_DOUBLE_EQ(d.frequency.front(), 10e6);
    EXPECT_DOUBLE_EQ(d.frequency.back(), 40e9);
    // Rows of the matrix on their own lines: S12 ends the first line, S21
    // starts the second.
    EXPECT_NEAR(20 * std::log10(std::abs(d.S(0, 1, 2))), -0.45921791, 1e-9);
    EXPECT_NEAR(20 * std::log10(std::abs(d.S(0, 2, 1))), -0.44844496, 1e-9);
    EXPECT_NEAR(std::arg(d.S(0, 2, 1)) * 180 / M_PI, -52.482941, 1e-9);

    ASSERT_TRUE(ReadTouchstone(stripline, d, error)) << error;
    EXPECT_EQ(d.ports, 2);
    EXPECT_DOUBLE_EQ(d.frequency.front(), 10e6);
    EXPECT_NEAR(std::abs(d.S(0, 2, 1) - C(0.9857288, -0.0537181)), 0.0, 1e-12);
    EXPECT_NEAR(std::abs(d.S(0, 1, 2) - C(0.9863505, -0.0543744)), 0.0, 1e-12);
}

// ---- Through response ---------------------------------------------------

TEST(ThroughResponse, ParsesPortLists) {
    const std::pair<const char*, const char*> bad[] = {
        {"1,2,3", "names two ports"},    {"1,2,2,4", "names a port twice"},
        {"1,,2", "separated by commas"}, {"0,1", "separated by commas"},
        {"1,x", "separated by commas"},  {"", "separated by commas"}};
    std::vector<int> ports;
    std::string error;
    ASSERT_TRUE(ParsePortList("1,3,2,4", ports, error));
    EXPECT_EQ(ports, (std::vector<int>{1, 3, 2, 4}));
    for (const auto& c : bad) {
        EXPECT_FALSE(ParsePortList(c.first, ports, error)) << c.first;
        EXPECT_THAT(error, HasSubstr(c.second)) << c.first;
    }
}

TEST(ThroughResponse, DifferentialThroughOfEitherNumbering) {
    // Two uncoupled lines 1->2 and 3->4 with gains 0.8 and 0.6, and a
    // little crosstalk 1->4: SDD21 = (0.8 + 0.6 - 0.1) / 2.
    NetworkData d;
    d.ports = 4;
    d.frequency = {1e6, 2e6};
    d.s.assign(32, C(0, 0));
    for (std::size_t k = 0; k < 2; ++k) {
        d.s[k * 16 + 1 * 4 + 0] = 0.8;  // S21
        d.s[k * 16 + 3 * 4 + 2] = 0.6;  // S43
        d.s[k * 16 + 3 * 4 + 0] = 0.1;  // S41
    }
    ThroughResponse t;
    std::string error;
    ASSERT_TRUE(SelectThrough(d, {}, t, error)) << error;
    EXPECT_NEAR(t.h[0].real(), 0.65, 1e-12);
    EXPECT_THAT(t.label, HasSubstr("SDD21 (ports 1,3,2,4, auto)"));
    ASSERT_TRUE(SelectThrough(d, {1, 2}, t, error));
    EXPECT_NEAR(t.h[1].real(), 0.8, 1e-12);
    EXPECT_FALSE(SelectThrough(d, {1, 3, 2, 5}, t, error));
    EXPECT_THAT(error, HasSubstr("names port 5 of a 4-port file"));
    d.ports = 3;
    EXPECT_FALSE(SelectThrough(d, {}, t, error));
    EXPECT_THAT(error, HasSubstr("needs --ports"));
}
