// End-to-end runs of ami-sim through the stand-in AMI library, loaded with
// dlopen exactly as a simulator loads a model.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "AmiSimFixture.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

namespace {

const std::string kStandIn = STANDIN_LIBRARY;
const std::string kNoWave = STANDIN_NOWAVE_LIBRARY;

}  // namespace

TEST_F(AmiSimRun, IdealLinkThroughBothModelsGivesTheFullEye) {
    // Stand-in gains 0.5 and 2 and delays on an ideal channel: the eye is
    // the stimulus itself, 1 V high and 1 UI wide, found at the models'
    // combined delay.
    ASSERT_EQ(Run({"--tx", kStandIn, "--tx-params", "(standin (gain 0.5) (delay 5))", "--rx",
                   kStandIn, "--rx-params", "(standin (gain 2) (delay 40))", "--channel-loss", "0",
                   "--bits", "3000", "--samples-per-bit", "16", "--pattern", "prbs7"}),
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

TEST_F(AmiSimRun, LossyChannelWithEqualisingReceiverOpensTheEye) {
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
    ASSERT_EQ(
        Run({"--rx", kStandIn, "--rx-params", params, "--channel-loss", "20", "--bits", "4000"}), 0)
        << err.str();
    const double equalised = Number("height_V");
    EXPECT_GT(equalised, raw) << "raw " << raw << ", equalised " << equalised;
}

TEST_F(AmiSimRun, WaveformCsvHasTheRequestedBitsAndAHeader) {
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

TEST_F(AmiSimRun, ModelMessagesAndParametersReachTheUser) {
    ASSERT_EQ(
        Run({"--rx", kStandIn, "--rx-params", "(standin (say 1) (gain 3))", "--bits", "2000"}), 0);
    EXPECT_THAT(err.str(), HasSubstr("AMI_Init message: stand-in: gain 3"));
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(standin (say 1) (gain 3))\""));
}

TEST_F(AmiSimRun, DefaultParametersComeFromTheAmiFileElseTheModelName) {
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

TEST_F(AmiSimRun, LibraryThatDoesNotLoadIsAClearRunFailure) {
    const std::string notLibrary = WriteFile("fake.so", "not an ELF file\n");
    EXPECT_EQ(Run({"--rx", notLibrary}), 1);
    EXPECT_THAT(err.str(), HasSubstr("cannot load AMI library " + notLibrary));
    EXPECT_EQ(Run({"--rx", (dir / "missing.so").string()}), 1);
    EXPECT_THAT(err.str(), HasSubstr("cannot load AMI library"));
}

TEST_F(AmiSimRun, LibraryWithoutGetWaveIsRefused) {
    EXPECT_EQ(Run({"--tx", kNoWave}), 1);
    EXPECT_THAT(err.str(), HasSubstr("does not export AMI_GetWave"));
}

TEST_F(AmiSimRun, FailingInitShowsTheModelsMessage) {
    EXPECT_EQ(Run({"--rx", kStandIn, "--rx-params", "(standin (fail_init 1))"}), 1);
    EXPECT_THAT(err.str(),
                HasSubstr("AMI_Init of " + kStandIn + " failed: stand-in: asked to fail"));
}

TEST_F(AmiSimRun, FailingGetWaveStopsTheRunAndSaysWhere) {
    EXPECT_EQ(Run({"--tx", kStandIn, "--tx-params", "(standin (fail_getwave 3))", "--block-size",
                   "1000", "--bits", "2000"}),
              1);
    EXPECT_THAT(err.str(), HasSubstr("AMI_GetWave of " + kStandIn +
                                     " failed on the block starting at sample 2000"));
}

TEST_F(AmiSimRun, AFailedRunLeavesNothingThatLooksComplete) {
    // A finished run's files, then a run into the same directory that fails
    // half way: neither its waves.csv nor the earlier summary.json remain.
    ASSERT_EQ(Run({"--bits", "2000"}), 0);
    ASSERT_TRUE(fs::exists(dir / "summary.json"));
    EXPECT_EQ(Run({"--tx", kStandIn, "--tx-params", "(standin (fail_getwave 2))", "--block-size",
                   "1000", "--bits", "2000"}),
              1);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir)) left.push_back(e.path().filename().string());
    EXPECT_TRUE(left.empty()) << left.front();
}

TEST_F(AmiSimRun, NonFiniteModelOutputIsReportedNotFolded) {
    ASSERT_EQ(Run({"--rx", kStandIn, "--rx-params", "(standin (nan_at 20000))", "--bits", "3000"}),
              0);
    EXPECT_THAT(err.str(), HasSubstr("1 samples that are not finite"));
    EXPECT_EQ(Number("non_finite_samples"), 1);
}

TEST_F(AmiSimRun, ChannelFromCsvFiles) {
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

TEST_F(AmiSimRun, ChannelFromTouchstoneWithBathtub) {
    // S21 = 0.9 / (1 + j f / 4 GHz) after 300 ps: DC gain 0.9, half the
    // final value at 300 ps + ln 2 / (2 pi 4 GHz) = 327.6 ps.
    std::string s2p = "! RC line\n# MHz S RI R 50\n";
    for (int k = 1; k <= 4000; ++k) {
        const double f = k * 10e6;
        const std::complex<double> h =
            0.9 * std::polar(1.0, -2 * M_PI * f * 300e-12) / std::complex<double>(1.0, f / 4e9);
        char row[160];
        std::snprintf(row, sizeof row, "%g 0 0 %.12g %.12g %.12g %.12g 0 0\n", f * 1e-6, h.real(),
                      h.imag(), h.real(), h.imag());
        s2p += row;
    }
    const std::string path = WriteFile("rc.s2p", s2p);
    ASSERT_EQ(Run({"--channel", path, "--bits", "3000"}), 0) << err.str();
    EXPECT_NEAR(Number("dc_gain"), 0.9, 2e-3);
    EXPECT_NEAR(Number("delay_s"), 327.6e-12, 1e-12);
    EXPECT_NEAR(Number("loss_dB_at_nyquist"), -20 * std::log10(0.9 * 0.8),
                0.01);  // pole: 1 / |1 + 0.75j|
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

TEST_F(AmiSimRun, TouchstoneFaultsAreRefusedAtTheirLineAndDoubtsRecorded) {
    // A frequency repeated where two sweep segments join.
    std::string s2p = "# GHz S RI R 50\n";
    for (int k = 1; k <= 40; ++k) {
        const std::string row = std::to_string(k) + " 0 0 0.9 0 0.9 0 0 0\n";
        s2p += row;
        if (k == 20) s2p += row;
    }
    EXPECT_EQ(Run({"--channel", WriteFile("join.s2p", s2p)}), 1);
    EXPECT_THAT(err.str(), HasSubstr("join.s2p:22: frequency '20' repeats the previous one"));

    // Data to 40 GHz, below the simulation's 96 GHz, and a first point that
    // is not reciprocal: the run goes on and says so.
    s2p = "# GHz S RI R 50\n1 0 0 0.8 0 0.9 0 0 0\n";
    for (int k = 2; k <= 40; ++k) s2p += std::to_string(k) + " 0 0 0.9 0 0.9 0 0 0\n";
    ASSERT_EQ(Run({"--channel", WriteFile("doubt.s2p", s2p), "--bits", "3000"}), 0) << err.str();
    const std::string warnings = Summary().substr(Summary().find("\"warnings\""));
    EXPECT_THAT(warnings,
                HasSubstr("doubt.s2p: not reciprocal: |S(1,2) - S(2,1)| is 0.1 at 1 GHz"));
    EXPECT_THAT(warnings, HasSubstr("doubt.s2p: data stop at 40 GHz, below the simulation's"));
    EXPECT_THAT(err.str(), HasSubstr("warning: doubt.s2p: not reciprocal"));
}

TEST_F(AmiSimRun, CommandLineErrorsAreUsageErrors) {
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

TEST_F(AmiSimRun, UnwritableOutputDirectoryIsARunFailure) {
    const std::string file = WriteFile("plain", "x");
    std::vector<std::string> args = {"ami-sim", "--bits", "2000", "--out", file + "/sub"};
    EXPECT_EQ(amisim::RunCommandLine(args, out, err, false), 1);
    EXPECT_THAT(err.str(), HasSubstr("cannot create output directory"));
}

#if defined(CORVIN_RX_LIBRARY) && defined(CORVIN_TX_LIBRARY)
TEST_F(AmiSimRun, CorvinModelsOpenTheEyeOfALossyLink) {
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

TEST_F(AmiSimRun, CorvinModelMessageShowsWhenItsSettingIsMissing) {
    ASSERT_EQ(Run({"--rx", CORVIN_RX_LIBRARY, "--rx-params", "(corvin_rx1)", "--bits", "3000"}), 0)
        << err.str();
    EXPECT_THAT(err.str(), HasSubstr("is unable to initialize the parameter eq"));
}
#endif

// ---- Jitter, noise, clock recovery and the bit error ratio -------------

namespace {

double Q(double z) {
    return 0.5 * std::erfc(z / std::sqrt(2.0));
}

}  // namespace

TEST_F(AmiSimRun, EveryClockRecoveryOpensTheIdealEyeFully) {
    for (const char* clock : {"bang-bang", "mueller-muller", "centre"}) {
        SCOPED_TRACE(clock);
        ASSERT_EQ(Run({"--channel-loss", "0", "--bits", "4000", "--clock", clock}), 0) << err.str();
        EXPECT_NEAR(Number("width_UI"), 1.0, 1e-9);
        EXPECT_NEAR(Number("width_UI_at_1e-12"), 1.0, 1e-9);
        EXPECT_NEAR(Number("sampling", "position_in_eye_UI"), 1.0, 0.5 / 32);
    }
    // The early-late loop settles on the middle of the bit.
    ASSERT_EQ(Run({"--channel-loss", "0", "--bits", "4000"}), 0);
    EXPECT_THAT(Within("sampling", "method"), HasSubstr("bang-bang"));
    EXPECT_NEAR(Number("sampling", "phase_UI"), 0.5, 0.01);
}

TEST_F(AmiSimRun, ReceiverClockTimesPlaceTheSamplingInstant) {
    // Output bit k spans samples 16 k + 40 .. + 55; the receiver's clocks
    // sample it at 16 k + 44, a quarter of the way in.
    ASSERT_EQ(Run({"--rx", kStandIn, "--rx-params", "(standin (delay 40) (clock_offset 44))",
                   "--channel-loss", "0", "--samples-per-bit", "16", "--bits", "3000"}),
              0)
        << err.str();
    EXPECT_THAT(Within("sampling", "method"), HasSubstr("clock_times"));
    EXPECT_NEAR(Number("sampling", "phase_UI"), 4.5 / 16, 1e-9);
    EXPECT_GT(Number("sampling", "clock_times_used"), 2900);
    EXPECT_NEAR(Number("sampling", "position_in_eye_UI"), 1.0, 0.5 / 16);

    // Asked for but not returned: the bang-bang loop samples instead.
    ASSERT_EQ(Run({"--clock", "clock-times", "--channel-loss", "0", "--bits", "3000"}), 0);
    EXPECT_THAT(err.str(), HasSubstr("returned no clock times"));
    EXPECT_THAT(Within("sampling", "method"), HasSubstr("bang-bang"));
}

TEST_F(AmiSimRun, TransmitterEdgeJitterNarrowsTheMeasuredEye) {
    const struct {
        std::vector<std::string> args;
        double width;  // UI, at 32 samples per bit and a fixed phase
    } cases[] = {
        {{"--dj", "0.25UI"}, 0.75},
        {{"--dcd", "0.125UI"}, 0.875},
        {{"--sj", "0.125UI", "--sj-freq", "300MHz"}, 0.75},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        std::vector<std::string> args = {"--channel-loss", "0",       "--bits",
                                         "8000",           "--clock", "centre"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ASSERT_EQ(Run(args), 0) << err.str();
        EXPECT_NEAR(Number("width_UI"), c.width, 1.5 / 32);
        EXPECT_NEAR(Number("width_UI_at_1e-12"), Number("width_UI"), 1e-9);
    }
}

TEST_F(AmiSimRun, CountedDecisionsAgreeWithTheStatisticalRatio) {
    // +/-0.5 V through an ideal channel with 150 mV of noise: Q(3.33), some
    // nine errors in 20000 bits, drawn the same for the same seed.
    const double expected = Q(0.5 / 0.15);
    ASSERT_EQ(Run({"--channel-loss", "0", "--bits", "20000", "--rx-noise", "150mV"}), 0);
    EXPECT_NEAR(Number("ber_at_sampling_instant") / expected, 1.0, 1e-6);
    const double bits = Number("counted", "bits"), errors = Number("counted", "errors");
    EXPECT_NEAR(errors, expected * bits, 4.0 * std::sqrt(expected * bits) + 1.0);
    EXPECT_EQ(Number("width_UI_at_1e-12"), 0.0);  // Q(3.33) is far above 1e-12
    const std::string first = Summary();
    ASSERT_EQ(Run({"--channel-loss", "0", "--bits", "20000", "--rx-noise", "150mV"}), 0);
    EXPECT_EQ(Number("counted", "errors"), errors);
    ASSERT_EQ(Run({"--channel-loss", "0", "--bits", "20000", "--rx-noise", "150mV", "--seed", "7"}),
              0);
    EXPECT_NE(Summary(), first);
}

TEST_F(AmiSimRun, ImpairmentsComeFromTheAmiFilesUnlessGivenAndSayWhence) {
    const std::string tx = WriteFile("tx.ami", R"((standin
        (Reserved_Parameters
          (Tx_Rj (Usage Info) (Type UI) (Format Value 0.006))
          (Tx_Dj (Usage Info) (Type Float) (Format Range 2e-12 0 4e-12))
          (Tx_Sj (Usage Info) (Type Float) (Default 1e-12))
          (Tx_Sj_Frequency (Usage Info) (Type Float) (Format Value 5e6)))
        (Model_Specific (gain (Usage In) (Type Float) (Default 1)))))");
    const std::string rx = WriteFile("rx.ami", R"((standin
        (Reserved_Parameters
          (Rx_Noise (Usage Info) (Type Float) (Format Value 3e-3))
          (Rx_GaussianNoise (Usage Info) (Type Float) (Format Value 4e-3))
          (Rx_UniformNoise (Usage Info) (Type Float) (Format Value 1e-3)))))");
    ASSERT_EQ(Run({"--tx", kStandIn, "--tx-ami", tx, "--rx", kStandIn, "--rx-ami", rx, "--rj",
                   "1ps", "--bits", "3000"}),
              0)
        << err.str();
    EXPECT_NEAR(Number("tx_rj_rms_s", "value"), 1e-12, 1e-24);
    EXPECT_EQ(Within("tx_rj_rms_s", "source"), "\"command line\"");
    EXPECT_NEAR(Number("tx_dj_pp_s", "value"), 4e-12, 1e-24);  // IBIS: half peak to peak
    EXPECT_THAT(Within("tx_dj_pp_s", "source"), HasSubstr("tx.ami Tx_Dj (half peak to peak"));
    EXPECT_NEAR(Number("tx_sj_amplitude_s", "value"), 1e-12, 1e-24);
    EXPECT_NEAR(Number("tx_sj_frequency_Hz", "value"), 5e6, 1e-6);
    EXPECT_NEAR(Number("rx_noise_rms_V", "value"), 5e-3, 1e-12);  // root sum square
    EXPECT_THAT(Within("rx_noise_rms_V", "source"), HasSubstr("Rx_Noise + Rx_GaussianNoise"));
    EXPECT_EQ(Within("rx_rj_rms_s", "source"), "\"none\"");
    EXPECT_THAT(err.str(),
                HasSubstr("rx.ami declares Rx_UniformNoise, which ami-sim does not model"));

    // A value in unit intervals turns into seconds at the run's bit time.
    ASSERT_EQ(Run({"--tx", kStandIn, "--tx-ami", tx, "--bits", "3000"}), 0);
    EXPECT_NEAR(Number("tx_rj_rms_s", "value"), 0.006 * 1.666666666666667e-10, 1e-20);
}

TEST_F(AmiSimRun, ImpairmentOptionsAreCheckedAsUsageErrors) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--rj", "2pF"}, "--rj expects a time such as 2ps or 0.01UI, not '2pF'"},
        {{"--rj", "-1ps"}, "--rj expects a time"},
        {{"--rj", "0.3UI"}, "--rj may be at most 0.25 UI"},
        {{"--rx-noise", "5ps"}, "--rx-noise expects a voltage such as 5mV"},
        {{"--sj-freq", "0Hz"}, "--sj-freq must be above 0 Hz"},
        {{"--clock", "pll"},
         "--clock expects auto, bang-bang, mueller-muller, centre or clock-times"},
        {{"--cdr-gain", "0"}, "--cdr-gain expects a phase step in UI"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.first), 2) << c.second;
        EXPECT_THAT(err.str(), HasSubstr(c.second));
    }
}

TEST_F(AmiSimRun, FewSamplesPerBitAndDataFilesForReplotting) {
    ASSERT_EQ(Run({"--samples-per-bit", "4", "--bits", "3000"}), 0);
    EXPECT_THAT(err.str(),
                HasSubstr("at 4 samples per bit eye widths and sampling phases are quantised"));
    EXPECT_THAT(Summary(), HasSubstr("quantised to 1/4 UI"));
    std::ifstream tub(dir / "bathtub.csv"), density(dir / "eye_density.csv");
    std::string line;
    std::getline(tub, line);
    EXPECT_EQ(line, "phase_UI,phase_s,ber,extrapolated");
    int rows = 0;
    while (std::getline(tub, line)) ++rows;
    EXPECT_EQ(rows, 1025);
    std::getline(density, line);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 256 / 8 * 8);
    rows = 0;
    while (std::getline(density, line)) ++rows;
    EXPECT_EQ(rows, 240);
    EXPECT_TRUE(fs::exists(dir / "eye_contour.csv"));
}

#if defined(CORVIN_RX_LIBRARY) && defined(CORVIN_TX_LIBRARY)
TEST_F(AmiSimRun, CorvinLinkWidthAtLowBerIsTheMeasuredOneUntilRandomJitterIsAdded) {
    const struct {
        std::vector<std::string> args;
    } links[] = {
        {{"--tx-params", "(corvin_tx1 (de_code 5))", "--rx-params", "(corvin_rx1 (eq 1))",
          "--channel-loss", "15", "--pattern", "prbs7"}},
        {{"--tx-params", "(corvin_tx1 (de_code 0))", "--rx-params", "(corvin_rx1 (eq 2))",
          "--channel-loss", "5", "--pattern", "prbs7"}},
    };
    for (const auto& l : links) {
        SCOPED_TRACE(l.args[3]);
        std::vector<std::string> args = {
            "--tx", CORVIN_TX_LIBRARY, "--rx", CORVIN_RX_LIBRARY, "--bits", "6000"};
        args.insert(args.end(), l.args.begin(), l.args.end());
        ASSERT_EQ(Run(args), 0) << err.str();
        const double width = Number("width_UI");
        EXPECT_GT(width, 0.5);
        EXPECT_NEAR(Number("width_UI_at_1e-12"), width, 1e-9);
        // 2 ps of random jitter takes about 2 x 7 x 2 ps off the width at
        // 1e-12 (Q(7.03) = 1e-12; a link's edges see fewer transitions).
        args.insert(args.end(), {"--rj", "2ps"});
        ASSERT_EQ(Run(args), 0) << err.str();
        const double shrink = (width - Number("width_UI_at_1e-12")) * 166.6666666666667;
        EXPECT_NEAR(shrink, 2 * 7.03 * 2.0, 2.0) << "ps";
    }
}
#endif
