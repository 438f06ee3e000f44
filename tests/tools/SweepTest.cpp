// Sweeps over model parameters: the values a --sweep names, every point
// the same as its run alone whatever the number of jobs, the table and its
// files, and a stopped sweep resumed without running its finished points
// again.
#include "tools/ami-sim/Sweep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "AmiSimFixture.h"

using namespace amisim;
using ::testing::HasSubstr;
using ::testing::Not;

namespace fs = std::filesystem;

namespace {

const char kAmi[] = R"((standin
  (Model_Specific
    (gain (Usage In) (Type Float) (Format Range 1 0 4) (Default 1))
    (delay (Usage In) (Type Integer) (Format Range 0 0 100) (Default 0))))
)";

// summary.json without what a sweep point adds and the times it took.
std::string Comparable(const fs::path& summary) {
    std::string s = ReadTextFile(summary);
    s = std::regex_replace(s, std::regex("  \"run_key\": [^\n]*\n"), "");
    const std::size_t times = s.find("\"time_s\"");
    return times == std::string::npos ? s : s.substr(0, times);
}

class SweepRun : public AmiSimRun {
protected:
    std::vector<std::string> Args(std::vector<std::string> more) {
        const std::string ami = WriteFile("standin.ami", kAmi);
        std::vector<std::string> args = {
            "--tx", STANDIN_LIBRARY, "--tx-ami", ami,    "--rx", STANDIN_LIBRARY, "--rx-ami",
            ami,    "--bits",        "3000",     "--rj", "1ps",  "--rx-noise",    "5mV"};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    // Lines of err that say a point was kept.
    int KeptPoints() const {
        int n = 0;
        for (std::size_t at = 0;
             (at = err.str().find("kept from an earlier run", at)) != std::string::npos; ++at)
            ++n;
        return n;
    }
};

}  // namespace

TEST(SweepAxis, ValuesOfAListOrARange) {
    const struct {
        const char* text;
        const char* values;  // joined by blanks, or the error
    } cases[] = {
        {"eq=0,1,2", "0 1 2"},
        {"de_code=0..6", "0 1 2 3 4 5 6"},
        {"x=0..1:0.25", "0 0.25 0.5 0.75 1"},
        {"x=0.1..0.3:0.1", "0.1 0.2 0.3"},
        {"mode=fast,slow", "fast slow"},
        {"x=0.5..2", "needs a step (such as 0.5..2:0.25)"},
        {"x=3..1", "does not run upwards"},
        {"x=0..1:0", "does not run upwards"},
        {"x=0..1e6", "in at most 1000 steps"},
        {"x=a..b", "is no range such as 0..6"},
        {"x=1,,2", "expects values such as 0,1,2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SweepAxis axis;
        std::string error, values;
        if (ParseSweepAxis(c.text, axis, error))
            for (const std::string& v : axis.values) values += (values.empty() ? "" : " ") + v;
        EXPECT_THAT(values.empty() ? error : values, HasSubstr(c.values));
    }
}

TEST_F(SweepRun, EveryPointIsItsRunAloneAndTheTableSaysWhichIsBest) {
    ASSERT_EQ(Run(Args({"--sweep", "tx.gain=0.5,1", "--sweep", "rx.delay=0..2", "--jobs", "3"})), 0)
        << err.str();
    const std::string csv = ReadTextFile(dir / "sweep.csv");
    EXPECT_THAT(csv, HasSubstr("tx.gain,rx.delay,state,eye_height_V,eye_width_UI,"
                               "eye_width_UI_at_1e-12"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 7);
    const std::string json = ReadTextFile(dir / "sweep.json");
    EXPECT_THAT(json, HasSubstr("\"complete\": true"));
    // The larger swing gives the taller eye; the delay changes nothing.
    EXPECT_THAT(json.substr(json.find("\"best\"")), HasSubstr("\"tx.gain\": \"1\""));
    EXPECT_THAT(ReadTextFile(dir / "heatmap.svg"), HasSubstr(">rx.delay</text>"));
    EXPECT_THAT(out.str(), HasSubstr("best: tx.gain=1 rx.delay=0"));

    // A point run alone gives the same files, the same bits and numbers.
    const fs::path point = dir / "points" / "tx.gain=0.5_rx.delay=2";
    const fs::path alone = dir / "alone";
    std::vector<std::string> args =
        Args({"--set", "tx.gain=0.5", "--set", "rx.delay=2", "--out", alone.string()});
    args.insert(args.begin(), "ami-sim");
    ASSERT_EQ(amisim::RunCommandLine(args, out, err, false), 0) << err.str();
    EXPECT_EQ(Comparable(alone / "summary.json"), Comparable(point / "summary.json"));
    for (const char* file : {"waves.csv", "eye_density.csv", "bathtub.csv"})
        EXPECT_EQ(ReadTextFile(alone / file), ReadTextFile(point / file)) << file;
}

TEST_F(SweepRun, AStoppedSweepKeepsItsFinishedPoints) {
    const std::vector<std::string> sweep = {"--sweep", "tx.gain=1,2", "--sweep", "rx.delay=0,1"};
    ASSERT_EQ(Run(Args(sweep)), 0) << err.str();
    const std::string first = ReadTextFile(dir / "sweep.csv");
    // As if stopped during one point: its summary never written.
    fs::remove(dir / "points" / "tx.gain=2_rx.delay=0" / "summary.json");
    ASSERT_EQ(Run(Args(sweep)), 0) << err.str();
    EXPECT_EQ(KeptPoints(), 3);
    const std::regex state(",(ok|kept),");
    const std::string again = ReadTextFile(dir / "sweep.csv");
    EXPECT_THAT(again, HasSubstr("2,0,ok,"));
    EXPECT_EQ(std::regex_replace(again, state, ","), std::regex_replace(first, state, ","))
        << "tx.gain=2_rx.delay=0 runs again and gives what it gave";
    // Other settings: nothing is kept.
    std::vector<std::string> other = Args(sweep);
    other.insert(other.end(), {"--seed", "7"});
    ASSERT_EQ(Run(other), 0) << err.str();
    EXPECT_EQ(KeptPoints(), 0);
}

TEST_F(SweepRun, ValuesTheModelsRefuseStopTheSweepBeforeItRuns) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--sweep", "tx.gain=1,9"}, "--sweep tx.gain=1,9: gain takes 0 to 4 (Range), not '9'"},
        {{"--sweep", "tx.delay=0..1:0.5"}, "delay takes a whole number (Integer), not '0.5'"},
        {{"--sweep", "tx.gain=1,2", "--sweep", "tx.gain=3"}, "tx.gain is swept twice"},
        {{"--sweep", "eq"}, "--sweep expects NAME=VALUES"},
        {{"--sweep", "tx.speed=1,2"}, "no model has a parameter 'speed'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(Run(Args(c.args)), 2);
        EXPECT_THAT(err.str(), HasSubstr(c.message));
        EXPECT_FALSE(fs::exists(dir / "sweep.csv"));
    }
}
