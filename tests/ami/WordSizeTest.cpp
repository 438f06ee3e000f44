// The 32-bit build computes what the 64-bit build computes: the libraries'
// outputs agree, and the arithmetic that decides sample counts (the
// transmitter's tap spacing, the time-response filters' tap counts and
// taps) is bit-identical. The 32-bit programs run directly, or under
// qemu-i386 on a kernel that cannot run them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kDir64 = CORVIN_BINARY_DIR, kDir32 = CORVIN_M32_DIR;

// The command prefix that runs a 32-bit program here, or "-" when none can.
const std::string& Launcher32()
{
    static const std::string launcher = [] {
        const std::string probe = kDir32 + "/bin/ami-probe </dev/null >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) return std::string();
        if (std::system(("qemu-i386 " + probe).c_str()) == 0) return std::string("qemu-i386 ");
        return std::string("-");
    }();
    return launcher;
}

std::vector<std::string> Lines(const std::string& cmd)
{
    std::vector<std::string> out;
    FILE* p = popen(cmd.c_str(), "r");
    if (p == nullptr) return out;
    std::string line;
    char buf[65536];
    while (std::fgets(buf, sizeof buf, p) != nullptr) {
        line += buf;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            out.push_back(line);
            line.clear();
        }
    }
    pclose(p);
    return out;
}

std::vector<double> Numbers(const std::string& text)
{
    std::vector<double> v;
    std::istringstream in(text);
    std::string w;
    while (in >> w) v.push_back(std::strtod(w.c_str(), nullptr));
    return v;
}

std::string Hex(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a", v);
    return buf;
}

class WordSize : public testing::Test {
protected:
    void SetUp() override
    {
        if (Launcher32() == "-") GTEST_SKIP() << "no way to run a 32-bit program here";
    }

    // ami-probe's answers from one word size, one line per question.
    static std::vector<std::string> Ask(bool wide, const std::vector<std::string>& questions,
                                        const std::string& library = "")
    {
        char path[] = "/tmp/ami-probe-XXXXXX";
        const int fd = mkstemp(path);
        if (fd < 0) return {};
        close(fd);
        {
            std::ofstream f(path);
            for (const std::string& q : questions) f << q << "\n";
        }
        const std::string& dir = wide ? kDir64 : kDir32;
        const std::string lib = library.empty() ? "" : " " + dir + "/lib/" + library;
        std::vector<std::string> answers =
            Lines((wide ? "" : Launcher32()) + dir + "/bin/ami-probe" + lib + " <" + path +
                  " 2>/dev/null");
        std::remove(path);
        return answers;
    }

    // Asks both word sizes; the answers must be identical, line by line.
    static std::vector<std::string> ExpectSameAnswers(const std::vector<std::string>& questions)
    {
        std::vector<std::string> a = Ask(true, questions), b = Ask(false, questions);
        EXPECT_EQ(a.size(), questions.size());
        EXPECT_EQ(b.size(), questions.size());
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            EXPECT_EQ(a[i], b[i]) << questions[i];
        return a;
    }
};

std::vector<double> RunHost(const std::string& launcher, const std::string& dir,
                            const std::string& lib, const std::string& params)
{
    std::string cmd = launcher + dir + "/bin/ami-run " + dir + "/lib/" + lib + " '" + params +
                      "' 1.666666666666667e-10 5.208333333333334e-12 1000 20000 2>/dev/null";
    std::vector<double> out;
    for (const std::string& l : Lines(cmd)) out.push_back(std::strtod(l.c_str(), nullptr));
    return out;
}

// Outputs agree to rounding: the dot products may take another summation
// order on the other word size, nothing else may differ.
void ExpectClose(const std::vector<double>& a, const std::vector<double>& b,
                 const std::string& what)
{
    ASSERT_EQ(b.size(), a.size()) << what;
    double peak = 0.0;
    for (double v : a) peak = std::max(peak, std::fabs(v));
    for (std::size_t i = 0; i < a.size(); ++i)
        ASSERT_LE(std::fabs(a[i] - b[i]), 1e-12 * std::max(std::fabs(a[i]), 1e-3 * peak))
            << what << " sample " << i << ": " << a[i] << " vs " << b[i];
}

void ExpectSameOutput(const std::string& lib64, const std::string& lib32,
                      const std::string& params)
{
    std::vector<double> a = RunHost("", kDir64, lib64, params);
    std::vector<double> b = RunHost(Launcher32(), kDir32, lib32, params);
    ASSERT_EQ(a.size(), 20000u);
    ASSERT_GT(*std::max_element(a.begin(), a.end()), 0.01);
    ExpectClose(a, b, params);
}

// Data rates (Gb/s) and samples per bit that simulators commonly use.
const double kRates[] = {1, 2.5, 3.125, 5, 6, 6.25, 8, 10, 10.3125, 12.5, 16, 25, 28, 32};
const int kSamplesPerBit[] = {8, 16, 20, 25, 32, 50, 64, 100, 128};

}  // namespace

TEST_F(WordSize, ReceiverLibrariesAgree)
{
    for (const char* eq : {"0", "1", "2"})
        ExpectSameOutput("corvin_rx1_x64.so", "corvin_rx1.so",
                         std::string("(corvin_rx1 (eq ") + eq + "))");
}

TEST_F(WordSize, TransmitterLibrariesAgree)
{
    for (const char* de : {"0", "5", "6"})
        ExpectSameOutput("corvin_tx1_x64.so", "corvin_tx1.so",
                         std::string("(corvin_tx1 (de_code ") + de + "))");
}

TEST_F(WordSize, TransmitterTapSpacingIsIdenticalOverCommonRates)
{
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

TEST_F(WordSize, TransmitterLibrariesAgreeOverCommonRates)
{
    // A step through every row: a tap one sample off shows at once.
    std::vector<std::string> q;
    for (double rate : kRates)
        for (int spb : kSamplesPerBit)
            for (int row = 0; row <= 6; ++row) {
                const double bitTime = 1e-9 / rate;
                q.push_back("run " + Hex(bitTime) + " " + Hex(bitTime / spb) + " " +
                            std::to_string(4 * spb + 16) + " (corvin_tx1 (de_code " +
                            std::to_string(row) + "))");
            }
    std::vector<std::string> a = Ask(true, q, "corvin_tx1_x64.so");
    std::vector<std::string> b = Ask(false, q, "corvin_tx1.so");
    ASSERT_EQ(a.size(), q.size());
    ASSERT_EQ(b.size(), q.size());
    int ran = 0;
    for (std::size_t i = 0; i < q.size(); ++i) {
        std::vector<double> x = Numbers(a[i]), y = Numbers(b[i]);
        ASSERT_FALSE(x.empty()) << q[i];
        ASSERT_FALSE(y.empty()) << q[i];
        ASSERT_EQ(x[0], y[0]) << "Init result of " << q[i];
        ExpectClose(x, y, q[i]);
        ran += x[0] == 1.0;
    }
    EXPECT_GT(ran, static_cast<int>(q.size()) / 2);
}

TEST_F(WordSize, TimeResponseTapsAreBitIdentical)
{
    std::vector<std::string> q;
    auto add = [&q](int type, double rate, const std::vector<double>& t,
                    const std::vector<double>& r) {
        std::string s = "taps " + std::to_string(type) + " " + Hex(rate) + " " +
                        std::to_string(t.size());
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
