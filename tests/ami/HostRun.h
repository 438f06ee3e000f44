// Runs a model library through an ami-run host (optionally under a
// launcher such as wine) and compares two hosts' outputs sample by sample,
// to the bit.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

// The waveform every comparison uses: 20000 samples at 32 samples per bit.
inline std::vector<double> RunHost(const std::string& launcher, const std::string& host,
                                   const std::string& lib, const std::string& params) {
    const std::string cmd = launcher + (launcher.empty() ? "" : " ") + host + " " + lib + " '" +
                            params + "' 1.666666666666667e-10 5.208333333333334e-12 1000 20000" +
                            " 2>/dev/null";
    std::vector<double> out;
    FILE* p = popen(cmd.c_str(), "r");
    if (p == nullptr) return out;
    double v;
    while (std::fscanf(p, "%lf", &v) == 1) out.push_back(v);
    pclose(p);
    return out;
}

// The same samples to the bit (the text is %.17g, which reads back exactly).
inline void ExpectSameWaveform(const std::vector<double>& ref, const std::vector<double>& got,
                               const std::string& what) {
    ASSERT_EQ(ref.size(), 20000u) << what;
    ASSERT_EQ(got.size(), ref.size()) << what;
    double peak = 0.0;
    for (double v : ref) peak = std::max(peak, std::fabs(v));
    ASSERT_GT(peak, 0.01) << what;
    for (std::size_t i = 0; i < ref.size(); ++i)
        ASSERT_EQ(ref[i], got[i]) << what << " sample " << i;
}
