// The entry points' argument handling, messages and failure paths, driven
// through a stand-in network compiled into this test.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "FakeNetwork.h"
#include "ami/AmiModelInstance.h"

extern "C" {
long AMI_Init(double*, long, long, double, double, char*, char**, void**, char**);
long AMI_GetWave(double*, long, double*, char**, void*);
long AMI_Close(void*);
}

namespace {

const double kBitTime = 1.666666666666667e-10;
const std::string kLookupText =
    "The IBIS-AMI model, fake_model, is unable to initialize the parameter gain from the "
    "AMI_Init arguments.  The model will use the default setting. ";

class EntryPoints : public testing::Test {
protected:
    void* memory = nullptr;
    char* msg = nullptr;
    char sentinel[1] = {0};

    void SetUp() override {
        FakeControl() = FakeNetworkControl();
        msg = sentinel;
    }
    void TearDown() override {
        if (memory != nullptr) AMI_Close(memory);
    }

    long Init(const char* params, double bitTime = kBitTime, double interval = kBitTime / 32) {
        std::string copy = params != nullptr ? params : "";
        return AMI_Init(nullptr, 0, 0, interval, bitTime, params != nullptr ? copy.data() : nullptr,
                        nullptr, &memory, &msg);
    }
    std::string Message() const { return msg == sentinel ? "<untouched>" : std::string(msg); }
};

}  // namespace

TEST_F(EntryPoints, SettingFromTheParameterStringLeavesMsgUntouched) {
    ASSERT_EQ(Init("(fake_model (gain 3))"), 1);
    EXPECT_EQ(Message(), "<untouched>");
    std::vector<double> wave = {1.0, -2.0};
    double clock[2] = {7.0, 7.0};
    EXPECT_EQ(AMI_GetWave(wave.data(), 2, clock, nullptr, memory), 1);
    EXPECT_EQ(wave, (std::vector<double>{3.0, -6.0}));
    EXPECT_EQ(clock[0], -1.0);
    EXPECT_EQ(clock[1], 7.0);  // nothing beyond the first entry
}

TEST_F(EntryPoints, MissingOrUnreadableSettingUsesTheDefaultWithAMessage) {
    for (const char* p :
         {"(fake_model)", "", "(fake_model (gain high))", "(fake_model", "(other (gain 3))"}) {
        SetUp();
        ASSERT_EQ(Init(p), 1) << p;
        EXPECT_EQ(Message(), kLookupText) << p;
        std::vector<double> wave = {1.0};
        double clock = 0.0;
        AMI_GetWave(wave.data(), 1, &clock, nullptr, memory);
        EXPECT_EQ(wave[0], 2.0) << p;
        AMI_Close(memory);
        memory = nullptr;
    }
}

TEST_F(EntryPoints, NullParameterStringIsTreatedAsEmpty) {
    ASSERT_EQ(Init(nullptr), 1);
    EXPECT_EQ(Message(), kLookupText);
}

TEST_F(EntryPoints, SamplesPerBitRoundsToNearest) {
    Init("(fake_model (gain 1))", 31.5, 1.0);
    EXPECT_EQ(FakeControl().lastSamplesPerBit, 32.0);
    EXPECT_EQ(FakeControl().lastBitTime, 31.5);
    AMI_Close(memory);
    Init("(fake_model (gain 1))", 31.49, 1.0);
    EXPECT_EQ(FakeControl().lastSamplesPerBit, 31.0);
    AMI_Close(memory);
    // Below one half: no samples per bit, said in the arguments' names, and
    // the network refuses it.
    EXPECT_EQ(Init("(fake_model (gain 1))", 0.4, 1.0), 0);
    EXPECT_EQ(Message(),
              "The IBIS-AMI model, fake_model, received a bit_time (0.4 s) shorter than half its "
              "sample_interval (1 s): less than one sample per bit. Error occurred in "
              "fake_model::Setup(). ");
}

TEST_F(EntryPoints, InvalidTimingFailsCleanlyAndSaysWhy) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto [bit, interval] : std::vector<std::pair<double, double>>{{kBitTime, 0.0},
                                                                       {kBitTime, -1e-12},
                                                                       {0.0, 1e-12},
                                                                       {nan, 1e-12},
                                                                       {kBitTime, nan},
                                                                       {1.0, 0.0},
                                                                       {INFINITY, 1e-12}}) {
        SetUp();
        EXPECT_EQ(Init("(fake_model (gain 1))", bit, interval), 0);
        EXPECT_EQ(FakeControl().lastSamplesPerBit, 0.0);
        EXPECT_NE(Message().find("invalid bit_time"), std::string::npos) << Message();
        EXPECT_NE(Message().find("Error occurred in fake_model::Setup(). "), std::string::npos);
        ASSERT_NE(memory, nullptr);  // the instance is handed out all the same
        AMI_Close(memory);
        memory = nullptr;
    }
}

TEST_F(EntryPoints, AbsurdlyFineSamplingIsRefusedBeforeAnyFilterIsDesigned) {
    // 65536 samples per bit is the finest accepted; one more is refused
    // with its own reason, as is a quotient far beyond any count.
    EXPECT_EQ(Init("(fake_model (gain 1))", 65536.0, 1.0), 1);
    EXPECT_EQ(FakeControl().lastSamplesPerBit, 65536.0);
    AMI_Close(memory);
    memory = nullptr;
    for (double bit : {65537.0, 1e300}) {
        SetUp();
        EXPECT_EQ(Init("(fake_model (gain 1))", bit, 1.0), 0);
        EXPECT_EQ(FakeControl().lastSamplesPerBit, 0.0);
        EXPECT_NE(Message().find("giving more than 65536 samples per bit. "), std::string::npos)
            << Message();
        AMI_Close(memory);
        memory = nullptr;
    }
}

TEST_F(EntryPoints, PhaseFailuresAppendTheirMessages) {
    FakeControl().failInitialize = true;
    EXPECT_EQ(Init("(fake_model (gain 1))"), 0);
    EXPECT_EQ(Message(), "Error occurred in fake_model::Initialize(). ");
    AMI_Close(memory);
    memory = nullptr;

    SetUp();
    FakeControl().failFinalize = true;
    ASSERT_EQ(Init("(fake_model (gain 1))"), 1);
    EXPECT_EQ(AMI_Close(memory), 0);
    memory = nullptr;
}

TEST_F(EntryPoints, RunFailureStopsAtTheFailingSample) {
    // The fake, like the models, writes the output over the input it read:
    // the failing sample and the later ones must still hold the input.
    for (long at : {0, 2, 6}) {
        SetUp();
        FakeControl().failRunAt = at;
        ASSERT_EQ(Init("(fake_model (gain 10))"), 1);
        std::vector<double> wave = {1, 2, 3, 4, 5, 6, 7};
        double clock = 0.0;
        EXPECT_EQ(AMI_GetWave(wave.data(), 7, &clock, nullptr, memory), 0);
        std::vector<double> want = {1, 2, 3, 4, 5, 6, 7};
        for (long i = 0; i < at; ++i) want[i] *= 10;
        EXPECT_EQ(wave, want) << at;
        EXPECT_EQ(clock, -1.0);
        // The instance stays usable: the next call runs from where it stopped.
        std::vector<double> more = {5};
        EXPECT_EQ(AMI_GetWave(more.data(), 1, &clock, nullptr, memory), 1);
        EXPECT_EQ(more[0], 50);
        EXPECT_EQ(FakeControl().firings, at + 2);
        AMI_Close(memory);
        memory = nullptr;
    }
}

TEST_F(EntryPoints, ExceptionsNeverLeaveTheEntryPoints) {
    FakeControl().throwInSetup = true;
    EXPECT_EQ(Init("(fake_model (gain 1))"), 0);
    EXPECT_EQ(Message(), "Error occurred in fake_model::AMI_Init(): out of memory. ");
    std::vector<double> wave = {1.0};
    double clock = 0.0;
    EXPECT_EQ(AMI_GetWave(wave.data(), 1, &clock, nullptr, memory), 0);
    EXPECT_EQ(wave[0], 1.0);  // a failed instance never runs
    AMI_Close(memory);
    memory = nullptr;

    SetUp();
    FakeControl().throwInRun = true;
    ASSERT_EQ(Init("(fake_model (gain 1))"), 1);
    EXPECT_EQ(AMI_GetWave(wave.data(), 1, &clock, nullptr, memory), 0);
}

TEST_F(EntryPoints, BadCallerArgumentsNeverCrash) {
    double clock[2] = {0.0, 5.0};
    EXPECT_EQ(AMI_GetWave(nullptr, 4, clock, nullptr, nullptr), 0);
    EXPECT_EQ(AMI_Close(nullptr), 0);
    // No handle to return the instance through: nothing is created.
    EXPECT_EQ(AMI_Init(nullptr, 0, 0, kBitTime / 32, kBitTime, nullptr, nullptr, nullptr, &msg), 0);
    EXPECT_NE(Message(), "<untouched>");
    EXPECT_EQ(AMI_Init(nullptr, 0, 0, kBitTime / 32, kBitTime, nullptr, nullptr, nullptr, nullptr),
              0);

    ASSERT_EQ(Init("(fake_model (gain 1))"), 1);
    EXPECT_EQ(AMI_GetWave(nullptr, 4, clock, nullptr, memory), 0);
    std::vector<double> wave = {1.0};
    EXPECT_EQ(AMI_GetWave(wave.data(), -1, clock, nullptr, memory), 0);
    EXPECT_EQ(wave[0], 1.0);
    EXPECT_EQ(AMI_GetWave(wave.data(), 1, nullptr, nullptr, memory), 1);
    EXPECT_EQ(AMI_GetWave(nullptr, 0, clock, nullptr, memory), 1);
    EXPECT_EQ(clock[1], 5.0);
}

TEST_F(EntryPoints, ARepeatedlyFailingInstanceDoesNotGrowWithoutBound) {
    FakeControl().failSetup = true;
    EXPECT_EQ(Init("(fake_model (gain 1))"), 0);
    double wave = 0.0, clock = 0.0;
    for (int i = 0; i < 100000; ++i) AMI_GetWave(&wave, 1, &clock, nullptr, memory);
    // msg may have moved since Init; look at the instance itself.
    const auto* inst = static_cast<const AmiModelInstance<fake_model>*>(memory);
    EXPECT_LE(inst->message.size(), 65536u);
    EXPECT_GT(inst->message.size(), 60000u);
}

TEST_F(EntryPoints, MessageFromInitStaysWhereItIsUntilClose) {
    FakeControl().failSetup = true;
    EXPECT_EQ(Init("(fake_model (gain 1))"), 0);
    const char* published = msg;
    const std::string text = Message();
    ASSERT_EQ(text, "Error occurred in fake_model::Setup(). ");
    // Later failures write after the published text, in place: the pointer
    // the simulator kept still reads Init's text, now followed by theirs.
    double wave = 0.0, clock = 0.0;
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(AMI_GetWave(&wave, 1, &clock, nullptr, memory), 0);
    const auto* inst = static_cast<const AmiModelInstance<fake_model>*>(memory);
    EXPECT_EQ(inst->message.c_str(), published);
    EXPECT_EQ(std::string(published).substr(0, text.size()), text);
    EXPECT_EQ(std::string(published).size(), text.size() + 1000 * 37);
}

TEST_F(EntryPoints, FailedSetupTellsTheBlocksReasonsAfterTheFixedText) {
    struct Case {
        std::vector<std::string> reasons;
        std::string message;
    };
    const std::string fixed = "Error occurred in fake_model::Setup(). ";
    for (const Case& c : std::vector<Case>{
             {{}, fixed},
             {{"fake_model: row must be 0 to 6, not 9"},
              fixed + "fake_model: row must be 0 to 6, not 9. "},
             // A reason that is a sentence already keeps its own stop.
             {{"Time stamps must be in non-repeating ascending order."},
              fixed + "Time stamps must be in non-repeating ascending order. "},
             // Each reason in order, and a repeated one once.
             {{"SampleRate must be > 0.0", "SampleRate must be > 0.0", "BlockSize must be >= 1"},
              fixed + "SampleRate must be > 0.0. BlockSize must be >= 1. "}}) {
        SetUp();
        FakeControl().failSetup = true;
        FakeControl().setupReasons = c.reasons;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Init("(fake_model (gain 1))"), 0);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(Message(), c.message);
        // Standard error still has every line.
        std::string lines;
        for (const std::string& r : c.reasons) lines += r + "\n";
        EXPECT_EQ(err, lines);
        // Told once: a later failure does not repeat the reasons.
        double wave = 0.0, clock = 0.0;
        AMI_GetWave(&wave, 1, &clock, nullptr, memory);
        EXPECT_EQ(Message(), c.message + "Error occurred in fake_model::Run(). ");
        AMI_Close(memory);
        memory = nullptr;
    }
}
