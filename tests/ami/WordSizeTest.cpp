// The 32-bit build computes what the 64-bit build computes, bit for bit:
// the libraries' outputs over every setting, common data rate and samples
// per bit, and the arithmetic that decides sample counts (the
// transmitter's tap spacing, the time-response filters' tap counts and
// taps). The 32-bit programs run directly, or under qemu-i386 on a kernel
// that cannot run them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ProbeSweep.h"

namespace {

const std::string kDir64 = CORVIN_BINARY_DIR, kDir32 = CORVIN_M32_DIR;

// The command prefix that runs a 32-bit program here, or "-" when none can.
const std::string& Launcher32() {
    static const std::string launcher = [] {
        const std::string probe = kDir32 + "/bin/ami-probe </dev/null >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) return std::string();
        if (std::system(("qemu-i386 " + probe).c_str()) == 0) return std::string("qemu-i386 ");
        return std::string("-");
    }();
    return launcher;
}

using probe::Hex;
using probe::Lines;

class WordSize : public testing::Test {
protected:
    void SetUp() override {
        if (Launcher32() == "-") GTEST_SKIP() << "no way to run a 32-bit program here";
    }

    // ami-probe's answers from one word size, one line per question.
    static std::vector<std::string> Ask(bool wide, const std::vector<std::string>& questions,
                                        const std::string& library = "") {
        const std::string& dir = wide ? kDir64 : kDir32;
        return probe::Ask(wide ? "" : Launcher32(), dir + "/bin/ami-probe",
                          library.empty() ? "" : dir + "/lib/" + library, questions);
    }

    // Asks both word sizes; the answers must be identical, line by line.
    static std::vector<std::string> ExpectSameAnswers(const std::vector<std::string>& questions) {
        std::vector<std::string> a = Ask(true, questions), b = Ask(false, questions);
        EXPECT_EQ(a.size(), questions.size());
        EXPECT_EQ(b.size(), questions.size());
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            EXPECT_EQ(a[i], b[i]) << questions[i];
        return a;
    }
};

std::vector<double> RunHost(const std::string& launcher, const std::string& dir,
                            const std::string& lib, const std::string& params) {
    std::string cmd = launcher + dir + "/bin/ami-run " + dir + "/lib/" + lib + " '" + params +
                      "' 1.666666666666667e-10 5.208333333333334e-12 1000 20000 2>/dev/null";
    std::vector<double> out;
    for (const std::string& l : Lines(cmd)) out.push_back(std::strtod(l.c_str(), nullptr));
    return out;
}

void ExpectSameOutput(const std::string& lib64, const std::string& lib32,
                      const std::string& params) {
    std::vector<double> a = RunHost("", kDir64, lib64, params);
    std::vector<double> b = RunHost(Launcher32(), kDir32, lib32, params);
    ASSERT_EQ(a.size(), 20000u);
    ASSERT_GT(*std::max_element(a.begin(), a.end()), 0.01);
    ASSERT_EQ(b.size(), a.size()) << params;
    for (std::size_t i = 0; i < a.size(); ++i) ASSERT_EQ(a[i], b[i]) << params << " sample " << i;
}

using probe::kRates;
using probe::kSamplesPerBit;

}  // namespace

TEST_F(WordSize, ReceiverLibrariesAgree) {
    for (const char* eq : {"0", "1", "2"})
        ExpectSameOutput("corvin_rx1_x64.so", "corvin_rx1.so",
                         std::string("(corvin_rx1 (eq ") + eq + "))");
}

TEST_F(WordSize, TransmitterLibrariesAgree) {
    for (const char* de : {"0", "5", "6"})
        ExpectSameOutput("corvin_tx1_x64.so", "corvin_tx1.so",
                         std::string("(corvin_tx1 (de_code ") + de + "))");
}

TEST_F(WordSize, TransmitterTapSpacingIsIdenticalOverCommonRates) {
    std::vector<std::string> q;
    for (double rate : kRates)
        for (int spb : kSamplesPerBit)
            for (int row = 0; row <= 6; ++row)
                q.push_back("delay " + Hex(1e-9 / rate) + " " + std::to_string(spb) + " " +
                            std::to_string(row));
    // The ceiling of 1e-10 / (1e-10 / 100) is 100 samples, not 101.
    q.push_back("delay " + Hex(1e-10) + " 100 5");
    std::vector<std::string> a = ExpectSameAnswers(q);
    ASSERT_EQ(a.size(), q.size());
    EXPECT_EQ(a.back(), "100");
}

TEST_F(WordSize, ReceiverGivesTheSameBitsOverCommonRates) {
    const std::vector<std::string> q = probe::SweepQuestions(probe::Receiver());
    probe::ExpectSameBitsOverTheSweep(Ask(true, q, "corvin_rx1_x64.so"),
                                      Ask(false, q, "corvin_rx1.so"), q);
}

TEST_F(WordSize, TransmitterGivesTheSameBitsOverCommonRates) {
    // A tap one sample off, in any row, shows at the first edge.
    const std::vector<std::string> q = probe::SweepQuestions(probe::Transmitter());
    probe::ExpectSameBitsOverTheSweep(Ask(true, q, "corvin_tx1_x64.so"),
                                      Ask(false, q, "corvin_tx1.so"), q);
}

TEST_F(WordSize, TimeResponseTapsAreBitIdentical) {
    std::vector<std::string> q;
    auto add = [&q](int type, double rate, const std::vector<double>& t,
                    const std::vector<double>& r) {
        std::string s =
            "taps " + std::to_string(type) + " " + Hex(rate) + " " + std::to_string(t.size());
        for (double v : t) s += " " + Hex(v);
        for (double v : r) s += " " + Hex(v);
        q.push_back(s);
    };
    // The edge grid: 3e-10 s at 1e10 samples/s is exactly 3.0 intervals,
    // so the filter has 4 taps.
    add(0, 1e10, {0.0, 1e-10, 2e-10, 3e-10}, {0.0, 1.0, 0.5, 0.25});
    add(1, 1e10, {0.0, 1e-10, 2e-10, 3e-10}, {0.0, 0.5, 0.8, 1.0});
    // Small step and impulse responses on grids that start anywhere.
    const double rates[] = {1e10, 4e10, 1e11, 1.92e11, 3.2e11};
    const double steps[] = {1e-11, 2.5e-11, 3e-11, 1e-10, 1.3020833333333331e-12 * 8};
    for (int type = 0; type <= 1; ++type)
        for (double rate : rates)
            for (double dt : steps)
                for (int n : {4, 5, 6, 8})
                    for (double t0 : {0.0, 1e-10}) {
                        std::vector<double> t, r;
                        for (int i = 0; i < n; ++i) {
                            t.push_back(t0 + i * dt);
                            const double x = i * dt / 5e-11;
                            r.push_back(type == 1 ? 1.0 - std::exp(-x) : x * std::exp(-x));
                        }
                        add(type, rate, t, r);
                    }
    std::vector<std::string> a = ExpectSameAnswers(q);
    ASSERT_GE(a.size(), 2u);
    EXPECT_EQ(a[0].substr(0, 2), "4 ");
    EXPECT_EQ(a[1].substr(0, 2), "4 ");
}
