// The 32-bit libraries, run in a 32-bit process, give the 64-bit results.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<double> RunHost(const std::string& host, const std::string& lib,
                            const std::string& params)
{
    std::string cmd = host + " " + lib + " '" + params +
                      "' 1.666666666666667e-10 5.208333333333334e-12 1000 20000 2>/dev/null";
    std::vector<double> out;
    FILE* p = popen(cmd.c_str(), "r");
    if (p == nullptr) return out;
    double v;
    while (std::fscanf(p, "%lf", &v) == 1) out.push_back(v);
    pclose(p);
    return out;
}

void ExpectSameOutput(const std::string& lib64, const std::string& lib32,
                      const std::string& params)
{
    const std::string dir64 = CORVIN_BINARY_DIR, dir32 = CORVIN_M32_DIR;
    std::vector<double> a = RunHost(dir64 + "/bin/ami-run", dir64 + "/lib/" + lib64, params);
    std::vector<double> b = RunHost(dir32 + "/bin/ami-run", dir32 + "/lib/" + lib32, params);
    ASSERT_EQ(a.size(), 20000u);
    ASSERT_EQ(b.size(), a.size());
    double peak = 0.0;
    for (double v : a) peak = std::max(peak, std::fabs(v));
    ASSERT_GT(peak, 0.01);
    for (std::size_t i = 0; i < a.size(); ++i)
        ASSERT_LE(std::fabs(a[i] - b[i]), 1e-12 * std::max(std::fabs(a[i]), 1e-3 * peak))
            << params << " sample " << i << ": " << a[i] << " vs " << b[i];
}

}  // namespace

TEST(WordSize, ReceiverLibrariesAgree)
{
    for (const char* eq : {"0", "1", "2"})
        ExpectSameOutput("corvin_rx1_x64.so", "corvin_rx1.so",
                         std::string("(corvin_rx1 (eq ") + eq + "))");
}

TEST(WordSize, TransmitterLibrariesAgree)
{
    for (const char* de : {"0", "5", "6"})
        ExpectSameOutput("corvin_tx1_x64.so", "corvin_tx1.so",
                         std::string("(corvin_tx1 (de_code ") + de + "))");
}
