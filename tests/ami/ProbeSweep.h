// The same-bits sweep: every setting of a model at the data rates and
// samples per bit that simulators commonly use, asked of a library through
// ami-probe's "run" question (tests/ami/host/ami-probe.cpp), so that two
// builds, kernel paths or platforms can be compared answer by answer.
// The outputs come as their bit patterns: equal text is equal bits.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace probe {

// Data rates (Gb/s) and samples per bit that simulators commonly use.
const double kRates[] = {1, 2.5, 3.125, 5, 6, 6.25, 8, 10, 10.3125, 12.5, 16, 25, 28, 32};
const int kSamplesPerBit[] = {8, 16, 20, 25, 32, 50, 64, 100, 128};

inline std::string Hex(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a", v);
    return buf;
}

struct Model {
    const char* name;     // corvin_rx1
    const char* setting;  // eq
    std::vector<const char*> values;
};

inline const Model& Receiver() {
    static const Model m{"corvin_rx1", "eq", {"0", "1", "2"}};
    return m;
}

inline const Model& Transmitter() {
    static const Model m{"corvin_tx1", "de_code", {"0", "1", "2", "3", "4", "5", "6"}};
    return m;
}

// One "run" question per setting, rate and samples per bit: sixteen bits of
// pseudo-random NRZ, enough to pass through every tap of the receiver's
// twelve-bit filters. With every > 1 only every every-th question is kept
// (for hosts as slow as an emulator).
inline std::vector<std::string> SweepQuestions(const Model& m, int every = 1) {
    std::vector<std::string> q;
    int n = 0;
    for (const char* value : m.values)
        for (double rate : kRates)
            for (int spb : kSamplesPerBit) {
                if (n++ % every != 0) continue;
                const double bitTime = 1e-9 / rate;
                q.push_back("run " + Hex(bitTime) + " " + Hex(bitTime / spb) + " " +
                            std::to_string(16 * spb) + " (" + m.name + " (" + m.setting + " " +
                            value + "))");
            }
    return q;
}

// The output lines of a shell command.
inline std::vector<std::string> Lines(const std::string& cmd) {
    std::vector<std::string> out;
    FILE* p = popen(cmd.c_str(), "r");
    if (p == nullptr) return out;
    std::string line;
    char buf[65536];
    while (std::fgets(buf, sizeof buf, p) != nullptr) {
        line += buf;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            if (!line.empty() && line.back() == '\r') line.pop_back();  // from Wine
            out.push_back(line);
            line.clear();
        }
    }
    pclose(p);
    return out;
}

// ami-probe's answers, one per question: launcher (empty, or a prefix such
// as "qemu-i386 " or a wine command line ending in a blank) runs probe with
// library (may be empty) as its argument and the questions on its input.
inline std::vector<std::string> Ask(const std::string& launcher, const std::string& probe,
                                    const std::string& library,
                                    const std::vector<std::string>& questions) {
    char path[] = "/tmp/ami-probe-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return {};
    close(fd);
    {
        std::ofstream f(path);
        for (const std::string& q : questions) f << q << "\n";
    }
    std::vector<std::string> answers = Lines(
        launcher + probe + (library.empty() ? "" : " " + library) + " <" + path + " 2>/dev/null");
    std::remove(path);
    return answers;
}

// Every answer of the sweep identical between two hosts, and most settings
// running (the others refused alike).
inline void ExpectSameBitsOverTheSweep(const std::vector<std::string>& a,
                                       const std::vector<std::string>& b,
                                       const std::vector<std::string>& questions) {
    ASSERT_EQ(a.size(), questions.size());
    ASSERT_EQ(b.size(), questions.size());
    std::size_t ran = 0;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        ASSERT_EQ(a[i], b[i]) << questions[i];
        ran += a[i].rfind("1 ", 0) == 0;
    }
    EXPECT_GT(ran, questions.size() / 2);
}

}  // namespace probe
