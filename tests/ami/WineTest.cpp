// The Windows libraries, run by the Windows builds of ami-run and ami-probe
// under Wine, give the Linux libraries' bits: for a long waveform in blocks
// of 1000 samples, and over the whole same-bits sweep of settings, data
// rates and samples per bit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "HostRun.h"
#include "ProbeSweep.h"

namespace {

struct WineCase {
    const char* dir;  // the Windows sub-build
    const char* dll;  // the library in it
    const char* model;
    const char* setting;
    const char* values;  // the settings of the long waveform
    const probe::Model& (*sweep)();
};

void PrintTo(const WineCase& c, std::ostream* os) {
    *os << c.dir << "/" << c.dll;
}

class WindowsLibrary : public testing::TestWithParam<WineCase> {
protected:
    static std::string Launcher() {
        // Wine's prefix lives in the build directory, made on first use;
        // its debug channels are off so only ami-run's output is read. The
        // lock keeps parallel tests from making the prefix twice at once.
        const std::string dir = CORVIN_BINARY_DIR;
        return "flock " + dir + "/wine-prefix.lock env WINEPREFIX=" + dir +
               "/wine-prefix WINEDEBUG=-all wine";
    }
    void SetUp() override {
        if (std::system("command -v wine >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "wine is not installed";
    }
};

}  // namespace

TEST_P(WindowsLibrary, MatchesTheLinuxLibrary) {
    const WineCase& c = GetParam();
    const std::string dir = std::string(CORVIN_BINARY_DIR) + "/";
    std::istringstream values(c.values);
    std::string value;
    while (values >> value) {
        const std::string params =
            std::string("(") + c.model + " (" + c.setting + " " + value + "))";
        const std::vector<double> windows = RunHost(Launcher(), dir + c.dir + "/bin/ami-run.exe",
                                                    dir + c.dir + "/lib/" + c.dll, params);
        if (windows.empty() && std::string(c.dir) == "w32")
            GTEST_SKIP() << "this machine's Wine cannot run 32-bit programs; "
                            "LibraryFile checks the 32-bit DLLs' export tables instead";
        const std::vector<double> linux =
            RunHost("", dir + "bin/ami-run", dir + "lib/" + c.model + "_x64.so", params);
        ExpectSameWaveform(linux, windows, std::string(c.dll) + " " + params);
    }
}

TEST_P(WindowsLibrary, GivesTheLinuxBitsOverTheSweep) {
    const WineCase& c = GetParam();
    const std::string dir = std::string(CORVIN_BINARY_DIR) + "/";
    const std::vector<std::string> q = probe::SweepQuestions(c.sweep());
    const std::vector<std::string> windows = probe::Ask(
        Launcher() + " ", dir + c.dir + "/bin/ami-probe.exe", dir + c.dir + "/lib/" + c.dll, q);
    if (windows.empty() && std::string(c.dir) == "w32")
        GTEST_SKIP() << "this machine's Wine cannot run 32-bit programs";
    const std::vector<std::string> linux =
        probe::Ask("", dir + "bin/ami-probe", dir + "lib/" + c.model + "_x64.so", q);
    probe::ExpectSameBitsOverTheSweep(linux, windows, q);
}

INSTANTIATE_TEST_SUITE_P(
    Models, WindowsLibrary,
    testing::Values(
        WineCase{"w64", "corvin_rx1_x64.dll", "corvin_rx1", "eq", "0 1 2", probe::Receiver},
        WineCase{"w64", "corvin_tx1_x64.dll", "corvin_tx1", "de_code", "0 5 6", probe::Transmitter},
        WineCase{"w32", "corvin_rx1.dll", "corvin_rx1", "eq", "0 1 2", probe::Receiver},
        WineCase{"w32", "corvin_tx1.dll", "corvin_tx1", "de_code", "0 5 6", probe::Transmitter}),
    [](const auto& info) { return std::string(info.param.dir) + "_" + info.param.model; });
