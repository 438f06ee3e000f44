// End-to-end runs of ami-sim through the stand-in AMI library, loaded with
// dlopen exactly as a simulator loads a model.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/ami-sim/Simulation.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

namespace {

class AmiSimRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("amisim-" + std::to_string(getpid()) + "-" + info->name());
        fs::remove_all(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"ami-sim", "--out", dir.string()});
        out.str("");
        err.str("");
        return amisim::RunCommandLine(args, out, err, false);
    }

    std::string Summary() const
    {
        std::ifstream f(dir / "summary.json");
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }

    // The number after "key": in summary.json.
    double Number(const std::string& key) const
    {
        const std::string text = Summary();
        const std::size_t at = text.find("\"" + key + "\": ");
        if (at == std::string::npos) return NAN;
        return std::strtod(text.c_str() + at + key.size() + 4, nullptr);
    }

    std::string WriteFile(const std::string& name, const std::string& text)
    {
        fs::create_directories(dir);
        const fs::path p = dir / name;
        std::ofstream(p) << text;
        return p.string();
    }

    fs::path dir;
    std::ostringstream out, err;
};

const std::string kStandIn = STANDIN_LIBRARY;
const std::string kNoWave = STANDIN_NOWAVE_LIBRARY;

}  // namespace

TEST_F(AmiSimRun, IdealLinkThroughBothModelsGivesTheFullEye)
{
    // Stand-in gains 0.5 and 2 and delays on an ideal channel: the eye is
    // the stimulus itself, 1 V high and 1 UI wide, found at the models'
    // combined delay.
    ASSERT_EQ(Run({"--tx", kStandIn, "--tx-params", "(standin (gain 0.5) (delay 5))", "--rx",
                   kStandIn, "--rx-params", "(standin (gain 2) (delay 40))", "--channel-loss",
                   "0", "--bits", "3000", "--samples-per-bit", "16", "--pattern", "prbs7"}),
              0)
        << err.str();
    EXPECT_NEAR(Number("height_V"), 1.0, 1e-9);
    EXPECT_NEAR(Number("width_UI"), 1.0, 1e-9);
    EXPECT_EQ(Number("latency_samples"), 45);
    EXPECT_THAT(Summary(), HasSubstr("\"open\": true"));
    EXPECT_THAT(out.str(), HasSubstr("eye height 1.0000 V"));
    EXPECT_TRUE(fs::file_size(dir / "eye.svg") > 1000);
    EXPECT_TRUE(fs::exists(dir / "waves.csv"));
}

TEST_F(AmiSimRun, LossyChannelWithEqualisingReceiverOpensTheEye)
{
    // 20 dB at Nyquist closes most of the eye; a crude 2-tap equaliser
    // (x[n] - 0.6 x[n - 1 UI]) in the stand-in receiver recovers part of it.
    ASSERT_EQ(Run({"--channel-loss", "20", "--bits", "4000"}), 0) << err.str();
    const double raw = Number("height_V");
    std::vector<std::string> taps = {"1"};
    for (int i = 1; i < 32; ++i) taps.push_back("0");
    taps.push_back("-0.6");
    std::string params = "(standin (taps";
    for (auto& t : taps) params += " " + t;
    params += "))";
    ASSERT_EQ(Run({"--rx", kStandIn, "--rx-params", params, "--channel-loss", "20", "--bits",
                   "4000"}),
              0)
        << err.str();
    const double equalised = Number("height_V");
    EXPECT_GT(equalised, raw) << "raw " << raw << ", equalised " << equalised;
}

TEST_F(AmiSimRun, WaveformCsvHasTheRequestedBitsAndAHeader)
{
    ASSERT_EQ(Run({"--bits", "2000", "--wave-bits", "10", "--samples-per-bit", "8"}), 0)
        << err.str();
    std::ifstream f(dir / "waves.csv");
    std::string line;
    std::getline(f, line);
    EXPECT_EQ(line, "time_s,stimulus_V,tx_out_V,rx_in_V,rx_out_V");
    int rows = 0;
    while (std::getline(f, line)) ++rows;
    EXPECT_EQ(rows, 80);
}

TEST_F(AmiSimRun, ModelMessagesAndParametersReachTheUser)
{
    ASSERT_EQ(Run({"--rx", kStandIn, "--rx-params", "(standin (say 1) (gain 3))", "--bits",
                   "2000"}),
              0);
    EXPECT_THAT(err.str(), HasSubstr("AMI_Init message: stand-in: gain 3"));
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(standin (say 1) (gain 3))\""));
}

TEST_F(AmiSimRun, DefaultParametersComeFromTheAmiFileElseTheModelName)
{
    ASSERT_EQ(Run({"--tx", kStandIn, "--bits", "2000"}), 0);
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(standin_ami)\""));
    EXPECT_THAT(Summary(), HasSubstr("\"parameters_source\": \"model name\""));

    const std::string ami = WriteFile(
        "standin_ami.ami",
        "(standin_ami (Model_Specific (gain (Usage In) (Type Float) (Default 3)) (say (Usage "
        "In) (Type Integer) (Default 1))))");
    ASSERT_EQ(Run({"--rx", kStandIn, "--rx-ami", ami, "--bits", "2000"}), 0) << err.str();
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(standin_ami (gain 3) (say 1))\""));
    EXPECT_THAT(err.str(), HasSubstr("stand-in: gain 3"));

    // Beside the library: found without being named.
    fs::copy_file(kStandIn, dir / "standin_ami.so");
    ASSERT_EQ(Run({"--rx", (dir / "standin_ami.so").string(), "--bits", "2000"}), 0);
    EXPECT_THAT(Summary(), HasSubstr("(standin_ami (gain 3) (say 1))"));

    EXPECT_EQ(Run({"--rx", kStandIn, "--rx-ami", (dir / "none.ami").string()}), 1);
    EXPECT_THAT(err.str(), HasSubstr("none.ami: cannot open"));
}

TEST_F(AmiSimRun, LibraryThatDoesNotLoadIsAClearRunFailure)
{
    const std::string notLibrary = WriteFile("fake.so", "not an ELF file\n");
    EXPECT_EQ(Run({"--rx", notLibrary}), 1);
    EXPECT_THAT(err.str(), HasSubstr("cannot load AMI library " + notLibrary));
    EXPECT_EQ(Run({"--rx", (dir / "missing.so").string()}), 1);
    EXPECT_THAT(err.str(), HasSubstr("cannot load AMI library"));
}

TEST_F(AmiSimRun, LibraryWithoutGetWaveIsRefused)
{
    EXPECT_EQ(Run({"--tx", kNoWave}), 1);
    EXPECT_THAT(err.str(), HasSubstr("does not export AMI_GetWave"));
}

TEST_F(AmiSimRun, FailingInitShowsTheModelsMessage)
{
    EXPECT_EQ(Run({"--rx", kStandIn, "--rx-params", "(standin (fail_init 1))"}), 1);
    EXPECT_THAT(err.str(),
                HasSubstr("AMI_Init of " + kStandIn + " failed: stand-in: asked to fail"));
}

TEST_F(AmiSimRun, FailingGetWaveStopsTheRunAndSaysWhere)
{
    EXPECT_EQ(Run({"--tx", kStandIn, "--tx-params", "(standin (fail_getwave 3))",
                   "--block-size", "1000", "--bits", "2000"}),
              1);
    EXPECT_THAT(err.str(), HasSubstr("AMI_GetWave of " + kStandIn +
                                     " failed on the block starting at sample 2000"));
}

TEST_F(AmiSimRun, NonFiniteModelOutputIsReportedNotFolded)
{
    ASSERT_EQ(Run({"--rx", kStandIn, "--rx-params", "(standin (nan_at 20000))", "--bits",
                   "3000"}),
              0);
    EXPECT_THAT(err.str(), HasSubstr("1 samples that are not finite"));
    EXPECT_EQ(Number("non_finite_samples"), 1);
}

TEST_F(AmiSimRun, ChannelFromCsvFiles)
{
    std::string impulse = "time,value\n";
    for (int k = 0; k <= 100; ++k) {
        char row[64];
        std::snprintf(row, sizeof row, "%.6e,%.9e\n", k * 1e-12, std::exp(-k / 20.0) / 20e-12);
        impulse += row;
    }
    const std::string path = WriteFile("imp.csv", impulse);
    ASSERT_EQ(Run({"--channel-impulse", path, "--bits", "2000"}), 0) << err.str();
    EXPECT_NEAR(Number("dc_gain"), 1.0, 0.02);
    EXPECT_TRUE(Number("height_V") > 0.5);

    const std::string bad = WriteFile("bad.csv", "0,1\n1e-12,2\n2e-12,x\n");
    EXPECT_EQ(Run({"--channel-step", bad}), 1);
    EXPECT_THAT(err.str(), HasSubstr("bad.csv:3: value 'x' is not a number"));
}

TEST_F(AmiSimRun, ChannelFromTouchstoneWithBathtub)
{
    // S21 = 0.9 / (1 + j f / 4 GHz) after 300 ps: DC gain 0.9, half the
    // final value at 300 ps + ln 2 / (2 pi 4 GHz) = 327.6 ps.
    std::string s2p = "! RC line\n# MHz S RI R 50\n";
    for (int k = 1; k <= 4000; ++k) {
        const double f = k * 10e6;
        const std::complex<double> h = 0.9 * std::polar(1.0, -2 * M_PI * f * 300e-12) /
                                       std::complex<double>(1.0, f / 4e9);
        char row[160];
        std::snprintf(row, sizeof row, "%g 0 0 %.12g %.12g %.12g %.12g 0 0\n", f * 1e-6, h.real(),
                      h.imag(), h.real(), h.imag());
        s2p += row;
    }
    const std::string path = WriteFile("rc.s2p", s2p);
    ASSERT_EQ(Run({"--channel", path, "--bits", "3000"}), 0) << err.str();
    EXPECT_NEAR(Number("dc_gain"), 0.9, 2e-3);
    EXPECT_NEAR(Number("delay_s"), 327.6e-12, 1e-12);
    EXPECT_NEAR(Number("loss_dB_at_nyquist"), -20 * std::log10(0.9 * 0.8), 0.01);  // pole: 1 / |1 + 0.75j|
    EXPECT_THAT(Summary(), HasSubstr("rc.s2p S21 (ports 1,2)"));
    EXPECT_GT(Number("width_UI_at_1e-12"), 0.5);
    EXPECT_LE(Number("width_UI_at_1e-12"), Number("width_UI") + 1e-9);
    EXPECT_TRUE(fs::file_size(dir / "bathtub.svg") > 1000);

    const std::string bad = WriteFile("bad.s2p", "# GHz S RI R 50\n1 0 0 1 0 1 0 0\n");
    EXPECT_EQ(Run({"--channel", bad}), 1);
    EXPECT_THAT(err.str(), HasSubstr("bad.s2p:2: the values of this frequency are incomplete"));
    EXPECT_EQ(Run({"--channel", path, "--ports", "1,3"}), 1);
    EXPECT_THAT(err.str(), HasSubstr("names port 3 of a 2-port file"));
}

TEST_F(AmiSimRun, CommandLineErrorsAreUsageErrors)
{
    EXPECT_EQ(Run({"--ports", "1,2"}), 2);
    EXPECT_THAT(err.str(), HasSubstr("--ports needs --channel"));
    EXPECT_EQ(Run({"--channel", "x.s4p", "--ports", "1,2,3"}), 2);
    EXPECT_EQ(Run({"--channel", "x.s4p", "--channel-loss", "3"}), 2);
    EXPECT_EQ(Run({"--bits"}), 2);
    EXPECT_THAT(err.str(), HasSubstr("--bits needs a value"));
    EXPECT_EQ(Run({"--bits", "12.5"}), 2);
    EXPECT_EQ(Run({"--bits=0"}), 2);
    EXPECT_EQ(Run({"--pattern", "prbs9"}), 2);
    EXPECT_EQ(Run({"--samples-per-bit", "1"}), 2);
    EXPECT_EQ(Run({"--channel-loss", "-3"}), 2);
    EXPECT_EQ(Run({"--bit-time", "0"}), 2);
    EXPECT_EQ(Run({"--frobnicate"}), 2);
    EXPECT_THAT(err.str(), HasSubstr("unknown option '--frobnicate'"));
    EXPECT_EQ(Run({"--channel-loss", "3", "--channel-step", "x.csv"}), 2);
    EXPECT_EQ(Run({"--bits", "100"}), 2);  // too short for an eye
    EXPECT_THAT(err.str(), HasSubstr("too few bits"));
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_THAT(out.str(), HasSubstr("Usage: ami-sim"));
    EXPECT_FALSE(fs::exists(dir / "summary.json"));
}

TEST_F(AmiSimRun, UnwritableOutputDirectoryIsARunFailure)
{
    const std::string file = WriteFile("plain", "x");
    std::vector<std::string> args = {"ami-sim", "--bits", "2000", "--out", file + "/sub"};
    EXPECT_EQ(amisim::RunCommandLine(args, out, err, false), 1);
    EXPECT_THAT(err.str(), HasSubstr("cannot create output directory"));
}

#if defined(CORVIN_RX_LIBRARY) && defined(CORVIN_TX_LIBRARY)
TEST_F(AmiSimRun, CorvinModelsOpenTheEyeOfALossyLink)
{
    const char* root = std::getenv("CORVIN_SOURCE_DIR");
    const std::string kit = std::string(root ? root : ".") + "/kit/";
    ASSERT_EQ(Run({"--tx", CORVIN_TX_LIBRARY, "--tx-ami", kit + "corvin_tx1.ami", "--rx",
                   CORVIN_RX_LIBRARY, "--rx-ami", kit + "corvin_rx1.ami", "--channel-loss", "10",
                   "--bits", "6000"}),
              0)
        << err.str();
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(corvin_rx1 (eq 1))\""));
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(corvin_tx1 (de_code 5))\""));
    EXPECT_EQ(err.str(), "");  // the settings were read: no model message
    // The receiver's limiter holds its output within +/-0.209 V.
    EXPECT_GT(Number("height_V"), 0.3);
    EXPECT_LT(Number("height_V"), 0.418);
    EXPECT_GT(Number("width_UI"), 0.5);
}

TEST_F(AmiSimRun, CorvinModelMessageShowsWhenItsSettingIsMissing)
{
    ASSERT_EQ(Run({"--rx", CORVIN_RX_LIBRARY, "--rx-params", "(corvin_rx1)", "--bits", "3000"}), 0)
        << err.str();
    EXPECT_THAT(err.str(), HasSubstr("is unable to initialize the parameter eq"));
}
#endif
