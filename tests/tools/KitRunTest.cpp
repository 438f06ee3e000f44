// ami-sim --ibs: a kit read from its .ibs file, its files taken only from
// its own folder, its parameters checked before any library is loaded, and
// its analog ends in the channel. The stand-in library plays both models
// of a copy of the kit's .ibs file; the real kit runs where it is built.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "AmiSimFixture.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

namespace {

const char kAmi[] = R"((standin
  (Reserved_Parameters
    (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default False) (Description "no"))
    (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description "yes")))
  (Model_Specific
    (gain (Usage In) (Type Float) (Format Range 1 0 4) (Default 1))
    (delay (Usage In) (Type Integer) (Format Range 0 0 100) (Default 0))))
)";

class KitRun : public AmiSimRun {
protected:
    // A kit in dir/kit: the kit's .ibs file with each model's Executable
    // lines replaced, the stand-in as tx.so and rx.so, and their .ami files.
    std::string MakeKit(const std::string& txLines = "Linux_gcc_64 tx.so tx.ami",
                        const std::string& rxLines = "Linux_gcc_64 rx.so rx.ami",
                        const std::string& from = "", const std::string& to = "") {
        kit = dir / "kit";
        fs::create_directories(kit);
        std::string ibs = ReadTextFile(std::string(CORVIN_SOURCE_DIR) + "/kit/corvin.ibs");
        std::size_t at = 0;
        for (const std::string& lines : {txLines, rxLines}) {
            const std::string begin = "[Algorithmic Model]\n", end = "[End Algorithmic Model]";
            at = ibs.find(begin, at) + begin.size();
            ibs.replace(at, ibs.find(end, at) - at, "Executable  " + lines + "\n");
        }
        if (!from.empty()) ibs.replace(ibs.find(from), from.size(), to);
        std::ofstream(kit / "corvin.ibs") << ibs;
        for (const char* name : {"tx", "rx"}) {
            fs::copy_file(STANDIN_LIBRARY, kit / (std::string(name) + ".so"),
                          fs::copy_options::overwrite_existing);
            std::ofstream(kit / (std::string(name) + ".ami")) << kAmi;
        }
        return (kit / "corvin.ibs").string();
    }

    fs::path kit;
};

}  // namespace

TEST_F(KitRun, RunsTheKitWithItsDefaultsAndSaysWhatItLoaded) {
    const std::string ibs = MakeKit();
    ASSERT_EQ(Run({"--ibs", ibs, "--set", "tx.gain=2", "--set", "rx.delay=3", "--bits", "3000"}), 0)
        << err.str();
    EXPECT_THAT(err.str(), HasSubstr("transmitter: loading " + (kit / "tx.so").string() +
                                     " (Executable Linux_gcc_64 tx.so tx.ami of model "
                                     "corvin_tx1)"));
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(standin (gain 2) (delay 0))\""));
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(standin (gain 1) (delay 3))\""));
    EXPECT_THAT(Summary(), HasSubstr("\"pins\": \"B1/B2 of corvin\""));
    EXPECT_EQ(Number("driver", "resistance_ohm"), 50.0);
    EXPECT_EQ(Number("receiver", "resistance_ohm"), 50.0);
    EXPECT_THAT(Within("analog", "channel_as"), HasSubstr("a matched 50 ohm line"));
    // The pads' capacitances and the package cost a little at Nyquist.
    EXPECT_GT(Number("analog", "loss_dB_at_nyquist"), Number("analog", "loss_dB_at_nyquist_bare"));
    EXPECT_THAT(out.str(), HasSubstr("  driver:    50 ohm"));
    EXPECT_THAT(out.str(), HasSubstr("loaded " + (kit / "rx.so").string()));

    // Without the ends: the bare line, as without a kit.
    ASSERT_EQ(Run({"--ibs", ibs, "--no-analog", "--bits", "3000"}), 0) << err.str();
    EXPECT_EQ(Within("analog", "applied"), "false");
    EXPECT_NEAR(Number("loss_dB_at_nyquist"), 10.0, 1e-4);
}

TEST_F(KitRun, RefusesWhatTheKitDoesNotOfferBeforeLoadingAnything) {
    const struct {
        std::vector<std::string> args;
        int status;
        const char* message;
    } cases[] = {
        {{"--set", "gain=9"}, 2, "'gain' is a parameter of both standin and standin"},
        {{"--set", "rx.gain=9"}, 2, "--set rx.gain=9: gain takes 0 to 4 (Range), not '9'"},
        {{"--set", "tx.delay=1.5"}, 2, "delay takes a whole number (Integer), not '1.5'"},
        {{"--set", "gainn=1"},
         2,
         "no model has a parameter 'gainn': standin takes gain (Float, Range 0 to 4, default 1); "
         "delay (Integer, Range 0 to 100, default 0); standin takes"},
        {{"--set", "gain"}, 2, "--set expects NAME=VALUE"},
        {{"--tx-pin", "Z9"},
         2,
         "component corvin has no pin 'Z9'; its transmitter pins: A1 (TXP, "
         "corvin_tx1)"},
        {{"--rx-pin", "A1"},
         2,
         "pin A1 of corvin: its model corvin_tx1 is of type Output, which "
         "does not receive"},
        {{"--rx-pin", "C1"}, 2, "pin C1 of corvin uses 'POWER', which is no [Model]"},
        {{"--tx-model", "nothing"},
         2,
         "no transmitter pin of component corvin uses a model "
         "'nothing'"},
        {{"--component", "other"}, 2, "has no component 'other'; it has corvin"},
        {{"--tx", "x.so"}, 2, "give it without --tx"},
        {{"--corner", "fast"}, 2, "--corner expects typ, min or max"},
    };
    const std::string ibs = MakeKit();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = {"--ibs", ibs};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(Run(args), c.status);
        EXPECT_THAT(err.str(), HasSubstr(c.message));
        EXPECT_THAT(err.str(), Not(HasSubstr("loading")));
        EXPECT_FALSE(fs::exists(dir / "summary.json"));
    }
}

TEST_F(KitRun, LoadsOnlyFilesInTheKitsFolder) {
    fs::create_directories(dir);
    fs::copy_file(STANDIN_LIBRARY, dir / "outside.so");
    std::ofstream(dir / "tx.ami") << kAmi;
    const struct {
        std::string txLines;
        const char* message;
    } cases[] = {
        {"Linux_gcc_64 ../outside.so tx.ami",
         "library '../outside.so' leads out of the kit's "
         "folder"},
        {"Linux_gcc_64 sub/../../outside.so tx.ami", "leads out of the kit's folder"},
        {"Linux_gcc_64 /usr/lib/outside.so tx.ami",
         "library '/usr/lib/outside.so' is an absolute "
         "path"},
        {"Linux_gcc_64 link.so tx.ami", "library 'link.so' is a link to"},
        {"Linux_gcc_64 gone.so tx.ami", "library 'gone.so' is not in the kit's folder"},
        {"Linux_gcc_64 tx.so ../tx.ami", ".ami file '../tx.ami' leads out"},
        {"Windows_VisualStudio_64 tx.dll tx.ami",
         "model corvin_tx1 has no Executable for Linux 64-bit; its lines are for "
         "Windows_VisualStudio_64"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.txLines);
        const std::string ibs = MakeKit(c.txLines);
        fs::remove(kit / "link.so");
        fs::create_symlink(dir / "outside.so", kit / "link.so");
        EXPECT_EQ(Run({"--ibs", ibs}), 1);
        EXPECT_THAT(err.str(), HasSubstr(c.message));
        EXPECT_THAT(err.str(), Not(HasSubstr("loading")));
    }
    // A missing library of another platform is only a warning.
    const std::string ibs = MakeKit(
        "Linux_gcc_64 tx.so tx.ami\nExecutable  Linux_gcc_32 "
        "tx32.so tx.ami");
    ASSERT_EQ(Run({"--ibs", ibs, "--bits", "3000"}), 0) << err.str();
    EXPECT_THAT(err.str(), HasSubstr("warning: corvin.ibs: Code file tx32.so not found"));
}

TEST_F(KitRun, FilesThatFailAreRefusedWithTheirMessages) {
    EXPECT_EQ(Run({"--ibs", (dir / "none.ibs").string()}), 1);
    EXPECT_THAT(err.str(), HasSubstr("none.ibs: cannot open"));

    // The checker's findings, with their lines.
    std::string ibs = MakeKit("Linux_gcc_64 tx.so tx.ami", "Linux_gcc_64 rx.so rx.ami",
                              "Polarity        Non-Inverting", "Polarity        Sideways");
    EXPECT_EQ(Run({"--ibs", ibs}), 1);
    EXPECT_THAT(err.str(), HasSubstr(ibs + " fails the IBIS check"));
    const std::string text = ReadTextFile(ibs);
    const long line = std::count(text.begin(), text.begin() + text.find("Sideways"), '\n') + 1;
    EXPECT_THAT(err.str(), HasSubstr("corvin.ibs:" + std::to_string(line) +
                                     ": error: Invalid Polarity (\"Sideways\") [E0158]"));

    // A library that does not load.
    ibs = MakeKit();
    std::ofstream(kit / "tx.so") << "not a library\n";
    EXPECT_EQ(Run({"--ibs", ibs}), 1);
    EXPECT_THAT(err.str(), HasSubstr("cannot load AMI library " + (kit / "tx.so").string()));
}

TEST_F(KitRun, ParameterStringsAreCheckedWhenAnAmiFileIsKnown) {
    const std::string ami = WriteFile("standin.ami", kAmi);
    const struct {
        std::vector<std::string> args;
        int status;
        const char* message;
    } cases[] = {
        {{"--rx-params", "(standin (gainn 2))"},
         2,
         "--rx-params: standin has no parameter 'gainn'; its parameters: gain (Float, Range 0 "
         "to 4, default 1); delay"},
        {{"--rx-params", "(standin (gain 2)"},
         2,
         "--rx-params: '(standin (gain 2)' cannot be "
         "read: a list is not closed"},
        {{"--rx-params", "(standin (delay 1.7))"},
         2,
         "delay takes a whole number (Integer), not '1.7'"},
        {{"--rx-params", "(standin (gain 2))", "--set", "gain=3"},
         2,
         "the receiver's whole parameter string is given (--rx-params); set gain there"},
        {{"--set", "gain=3"}, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = {"--rx", STANDIN_LIBRARY, "--rx-ami",
                                         ami,    "--bits",        "3000"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(Run(args), c.status) << err.str();
        EXPECT_THAT(err.str(), HasSubstr(c.message));
    }
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(standin (gain 3) (delay 0))\""));
    // Without an .ami file nothing says what the model takes.
    EXPECT_EQ(Run({"--rx", STANDIN_LIBRARY, "--set", "gain=3"}), 2);
    EXPECT_THAT(err.str(), HasSubstr("no .ami file declares the models' parameters"));
}

#if defined(CORVIN_KIT_DIR)
TEST_F(KitRun, TheAssembledKitRunsAndRefusesSettingsItLacks) {
    const std::string ibs = std::string(CORVIN_KIT_DIR) + "/corvin.ibs";
    ASSERT_EQ(Run({"--ibs", ibs, "--bits", "4000"}), 0) << err.str();
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(corvin_tx1 (de_code 5))\""));
    EXPECT_THAT(Summary(), HasSubstr("\"parameters\": \"(corvin_rx1 (eq 1))\""));
    EXPECT_THAT(Summary(),
                HasSubstr("\"executable\": \"Executable Linux_gcc_64 corvin_rx1_x64.so"));
    EXPECT_THAT(err.str(), Not(HasSubstr("AMI_Init message")));
    EXPECT_GT(Number("width_UI"), 0.5);

    EXPECT_EQ(Run({"--ibs", ibs, "--set", "eq=3"}), 2);
    EXPECT_THAT(err.str(), HasSubstr("--set eq=3: eq takes 0 to 2 (Range), not '3'"));
    EXPECT_EQ(Run({"--ibs", ibs, "--set", "eqq=1"}), 2);
    EXPECT_THAT(err.str(), HasSubstr("no model has a parameter 'eqq': corvin_tx1 takes de_code "
                                     "(Integer, Range 0 to 6, default 5); corvin_rx1 takes eq "
                                     "(Integer, Range 0 to 2, default 1)"));
    EXPECT_THAT(err.str(), Not(HasSubstr("loading")));
}

TEST_F(KitRun, TheAssembledKitSweptOverBothSettings) {
    ASSERT_EQ(
        Run({"--ibs", std::string(CORVIN_KIT_DIR) + "/corvin.ibs", "--sweep", "eq=0,1,2", "--sweep",
             "de_code=0..6", "--channel-loss", "15", "--bits", "3000", "--jobs", "2", "--quiet"}),
        0)
        << err.str();
    const std::string csv = ReadTextFile(dir / "sweep.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 22);
    EXPECT_THAT(ReadTextFile(dir / "sweep.json"), HasSubstr("\"best\": {"));
    EXPECT_THAT(ReadTextFile(dir / "heatmap.svg"), HasSubstr(">de_code</text>"));
    EXPECT_TRUE(fs::exists(dir / "points" / "eq=2_de_code=6" / "eye.svg"));
}

TEST_F(KitRun, TheKitOverTheCableReportsItsAnalogEnds) {
    const fs::path cable =
        fs::path(CORVIN_SOURCE_DIR) / ".." / "shared" / "channels" / "CABLE1_TX_pair.s4p";
    if (!fs::exists(cable)) GTEST_SKIP() << cable << " is absent";
    ASSERT_EQ(Run({"--ibs", std::string(CORVIN_KIT_DIR) + "/corvin.ibs", "--channel",
                   cable.string(), "--ports", "1,3,2,4", "--corner", "max", "--bits", "4000"}),
              0)
        << err.str();
    EXPECT_NEAR(Number("driver", "resistance_ohm"), 0.25 / 5.95e-3, 1e-6);
    EXPECT_NEAR(Number("receiver", "resistance_ohm"), 0.2 / 4.76e-3, 1e-6);
    EXPECT_NEAR(Number("driver", "c_comp_F"), 0.6e-12, 1e-20);
    EXPECT_THAT(Within("analog", "channel_as"), HasSubstr("the file's full 4-port network"));
    EXPECT_THAT(out.str(), HasSubstr("between the ends"));
}
#endif
