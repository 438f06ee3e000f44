// The de_code table of the kit's README.txt and of corvin.ibs's Notes
// against the transmitter library itself: the taps' de-emphasis from the
// weight column, and the measured one from the model at 6 Gb/s.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "tools/ami-sim/AmiModel.h"

namespace {

// One row of the table: de_code, the post-tap weight and the two
// de-emphasis columns.
struct Row {
    int deCode = -1;
    double weight = 0.0, taps = 0.0, measured = 0.0;
};

// Lines "N  limit  delay ps  weight  taps dB  measured dB".
std::vector<Row> ReadTable(const std::string& path) {
    std::ifstream f(path);
    std::vector<Row> rows;
    for (std::string line; std::getline(f, line);) {
        std::istringstream in(line);
        Row r;
        double limit = 0.0, delay = 0.0;
        std::string ps, db1, db2;
        if (in >> r.deCode >> limit >> delay >> ps >> r.weight >> r.taps >> db1 >> r.measured >>
                db2 &&
            ps == "ps" && db1 == "dB" && db2 == "dB")
            rows.push_back(r);
    }
    return rows;
}

// Steady over transition level in dB: the output of a bit after a run of
// equal bits over that of the first bit after a change, both where the
// pulse response peaks. The limiters make every symbol full swing, so the
// rest of the model is linear in the symbols and the levels follow from the
// pulse response: the main cursor h0, the post-cursors (1, 2, ... bits
// later) and the pre-cursors.
double MeasuredDeEmphasis(const std::string& library, int deCode, double bitTime, int spb) {
    auto run = [&](bool pulse) {
        amisim::AmiModel model;
        std::string error;
        EXPECT_TRUE(model.Load(library, error)) << error;
        EXPECT_TRUE(model.Init(std::vector<double>(64, 0.0), bitTime / spb, bitTime,
                               "(corvin_tx1 (de_code " + std::to_string(deCode) + "))", error))
            << error;
        std::vector<double> wave(64 * static_cast<std::size_t>(spb), -0.5);
        if (pulse) std::fill(wave.begin() + 32 * spb, wave.begin() + 33 * spb, 0.5);
        EXPECT_TRUE(model.GetWave(wave.data(), static_cast<long>(wave.size()), error)) << error;
        return wave;
    };
    const std::vector<double> base = run(false), pulse = run(true);
    std::vector<double> h(base.size());
    for (std::size_t i = 0; i < h.size(); ++i) h[i] = (pulse[i] - base[i]) / 2.0;
    const std::size_t peak =
        static_cast<std::size_t>(std::max_element(h.begin(), h.end()) - h.begin());
    double post = 0.0, pre = 0.0;
    for (std::size_t i = peak + spb; i < h.size(); i += spb) post += h[i];
    for (std::size_t i = peak % spb; i < peak; i += spb) pre += h[i];
    return 20.0 * std::log10((h[peak] + post + pre) / (h[peak] - post + pre));
}

}  // namespace

#if defined(CORVIN_TX_LIBRARY)
TEST(KitDeEmphasisTable, AgreesWithTheTapsAndWithTheModelAt6Gbps) {
    std::vector<double> measured;
    for (int deCode = 0; deCode <= 6; ++deCode)
        measured.push_back(
            MeasuredDeEmphasis(CORVIN_TX_LIBRARY, deCode, 1.666666666666667e-10, 32));
    for (const char* file : {"README.txt", "corvin.ibs"}) {
        SCOPED_TRACE(file);
        const std::vector<Row> rows = ReadTable(std::string(CORVIN_SOURCE_DIR) + "/kit/" + file);
        ASSERT_EQ(rows.size(), 7u);
        for (const Row& r : rows) {
            SCOPED_TRACE("de_code " + std::to_string(r.deCode));
            ASSERT_EQ(r.deCode, &r - rows.data());
            const double w = std::fabs(r.weight);
            EXPECT_NEAR(r.taps, 20.0 * std::log10((1.0 - w) / (1.0 + w)), 0.005);
            EXPECT_NEAR(r.measured, measured[static_cast<std::size_t>(r.deCode)], 0.05 + 1e-9);
        }
    }
}
#endif
