// The shipped model libraries, loaded with dlopen as a simulator loads
// them: exported symbols, messages, settings, and bad calls.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "AmiLibrary.h"

#include "tests/support/CommandOutput.h"

namespace {

const double kBitTime = 1.666666666666667e-10;

std::string LibPath(const std::string& name) {
    return std::string(CORVIN_LIB_DIR) + "/" + name;
}

// A fixed test waveform: +-0.4 NRZ of a short pattern at 32 samples per bit.
std::vector<double> Pattern(std::size_t samples) {
    const int bits[] = {1, 0, 1, 1, 0, 0, 1, 0, 1, 1, 1, 0, 0, 0, 1, 0};
    std::vector<double> w(samples);
    for (std::size_t i = 0; i < samples; ++i) w[i] = bits[(i / 32) % 16] ? 0.4 : -0.4;
    return w;
}

struct ModelCase {
    const char* library;
    const char* name;
    const char* setting;
};

void PrintTo(const ModelCase& c, std::ostream* os) {
    *os << c.library;
}

class ModelLibrary : public testing::TestWithParam<ModelCase> {
protected:
    std::unique_ptr<AmiLibrary> lib;
    std::vector<void*> instances;

    void SetUp() override {
        lib = std::make_unique<AmiLibrary>(LibPath(GetParam().library));
        ASSERT_TRUE(lib->Loaded()) << dlerror();
    }
    void TearDown() override {
        for (void* m : instances) lib->Close(m);
    }

    // Inits one instance; returns Init's result and the published message.
    long Init(const std::string& params, std::string* message = nullptr,
              double interval = kBitTime / 32, double bitTime = kBitTime) {
        std::string copy = params;
        void* memory = nullptr;
        char sentinel[] = "<untouched>";
        char* msg = sentinel;
        long r = lib->Init(nullptr, 0, 0, interval, bitTime, copy.data(), nullptr, &memory, &msg);
        instances.push_back(memory);
        if (message != nullptr) *message = msg;
        return r;
    }
    void* Last() const { return instances.back(); }

    std::string Params(const std::string& value) const {
        return std::string("(") + GetParam().name + " (" + GetParam().setting + " " + value + "))";
    }

    long Filter(std::vector<double>& wave, void* memory, std::size_t block = 1024) {
        double clock[2];
        long r = 1;
        for (std::size_t i = 0; i < wave.size(); i += block) {
            long n = static_cast<long>(std::min(block, wave.size() - i));
            r &= lib->GetWave(wave.data() + i, n, clock, nullptr, memory);
        }
        return r;
    }
};

}  // namespace

TEST_P(ModelLibrary, ExportsExactlyTheThreeEntryPoints) {
    std::string cmd = "nm -D --defined-only " + LibPath(GetParam().library);
    std::istringstream lines(CommandOutput(cmd.c_str()));
    std::set<std::string> names;
    std::string addr, type, name;
    while (lines >> addr >> type >> name) names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{"AMI_Close", "AMI_GetWave", "AMI_Init"}));
    // The C++ runtime is linked in, not needed from the host.
    std::string deps =
        CommandOutput(("objdump -p " + LibPath(GetParam().library) + " | grep NEEDED").c_str());
    EXPECT_EQ(deps.find("libstdc++"), std::string::npos) << deps;
    EXPECT_EQ(deps.find("libgcc_s"), std::string::npos) << deps;
}

TEST_P(ModelLibrary, MessageIsPublishedOnlyWhenThereIsOne) {
    std::string msg;
    ASSERT_EQ(Init(Params("1"), &msg), 1);
    EXPECT_EQ(msg, "<untouched>");
    ASSERT_EQ(Init(std::string("(") + GetParam().name + ")", &msg), 1);
    EXPECT_EQ(msg, std::string("The IBIS-AMI model, ") + GetParam().name +
                       ", is unable to initialize the parameter " + GetParam().setting +
                       " from the AMI_Init arguments.  The model will use the default setting. ");
    // Too few samples per bit: the arguments are named, Setup refuses, and
    // the message says why after the fixed text (each reason once, though
    // three filters refuse).
    testing::internal::CaptureStderr();
    ASSERT_EQ(Init(Params("1"), &msg, kBitTime / 0.4), 0);
    testing::internal::GetCapturedStderr();
    const std::string model = std::string("The IBIS-AMI model, ") + GetParam().name;
    EXPECT_EQ(msg.rfind(model + ", received a bit_time (1.66667e-10 s) shorter than half its "
                                "sample_interval (4.16667e-10 s): less than one sample per bit. ",
                        0),
              0u)
        << msg;
    const std::string fixed = std::string("Error occurred in ") + GetParam().name + "::Setup(). ";
    const std::size_t at = msg.find(fixed + "SampleRate must be > 0.0. ");
    EXPECT_NE(at, std::string::npos) << msg;
    EXPECT_EQ(msg.find("SampleRate", at + fixed.size() + 1), std::string::npos) << msg;
}

TEST_P(ModelLibrary, InitOutsideTheSupportedRangeRunsAndSaysSo) {
    const std::string model = std::string("The IBIS-AMI model, ") + GetParam().name;
    const std::string range = model +
                              ", supports bit rates from 1 to 8.5 Gb/s with 16 to 128 samples per "
                              "bit; the ";
    const struct {
        double rate;  // Gb/s
        int spb;
        std::string message;  // "<untouched>" inside the range
    } cases[] = {
        {1.0, 16, "<untouched>"},
        {8.5, 128, "<untouched>"},
        {6.0, 8,
         range + "sample_interval 2.08333e-11 s (8 samples per bit) is outside that range. "},
        {0.5, 32, range + "bit_time 2e-09 s (0.5 Gb/s) is outside that range. "},
        {0.5, 200,
         range +
             "bit_time 2e-09 s (0.5 Gb/s) and sample_interval 1e-11 s (200 samples per bit) are "
             "outside that range. "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " Gb/s, " + std::to_string(c.spb));
        std::string msg;
        const double bitTime = 1e-9 / c.rate;
        const long ok = Init(Params("1"), &msg, bitTime / c.spb, bitTime);
        // The receiver runs at any of them; the transmitter's history holds
        // at most 128 samples per bit.
        EXPECT_EQ(ok, std::string(GetParam().name) == "corvin_tx1" && c.spb > 128 ? 0 : 1);
        EXPECT_NE(msg.find(c.message), std::string::npos) << msg;
    }
}

TEST_P(ModelLibrary, AFractionalSettingIsSaidAndTheModelRunsAsBefore) {
    std::string msg;
    ASSERT_EQ(Init(Params("1.5"), &msg), 1);
    EXPECT_EQ(msg, std::string("The IBIS-AMI model, ") + GetParam().name +
                       ", takes whole numbers for " + GetParam().setting +
                       ", not 1.5; the model rounds or truncates it. ");
}

TEST_P(ModelLibrary, ImpulseMatrixAndParametersOutAreNeverTouched) {
    std::vector<double> impulse(256);
    for (std::size_t i = 0; i < impulse.size(); ++i) impulse[i] = std::sin(0.1 * i);
    std::vector<double> before = impulse;
    char* out = reinterpret_cast<char*>(0x1);
    char* msg = nullptr;
    void* memory = nullptr;
    std::string params = Params("1");
    ASSERT_EQ(lib->Init(impulse.data(), 128, 1, kBitTime / 32, kBitTime, params.data(), &out,
                        &memory, &msg),
              1);
    instances.push_back(memory);
    EXPECT_EQ(0, std::memcmp(impulse.data(), before.data(), impulse.size() * sizeof(double)));
    std::vector<double> wave = Pattern(64);
    double clock[3] = {1.0, 2.0, 3.0};
    EXPECT_EQ(lib->GetWave(wave.data(), 64, clock, &out, memory), 1);
    EXPECT_EQ(out, reinterpret_cast<char*>(0x1));
    EXPECT_EQ(clock[0], -1.0);
    EXPECT_EQ(clock[1], 2.0);
    EXPECT_EQ(lib->GetWave(wave.data(), 0, clock, &out, memory), 1);
}

TEST_P(ModelLibrary, BlockSizeDoesNotChangeASingleBit) {
    // Blocks shorter and longer than the network's spans, and one longer
    // than a whole span buffer many times over.
    const std::vector<double> source = Pattern(70000);
    std::vector<double> first;
    for (std::size_t block : {1u, 7u, 64u, 1000u, 65536u}) {
        ASSERT_EQ(Init(Params("1")), 1);
        std::vector<double> w = source;
        EXPECT_EQ(Filter(w, Last(), block), 1);
        if (first.empty())
            first = w;
        else
            EXPECT_EQ(0, std::memcmp(w.data(), first.data(), w.size() * sizeof(double)))
                << "blocks of " << block;
    }
}

TEST_P(ModelLibrary, InstancesAreIndependentAlsoOnTwoThreads) {
    ASSERT_EQ(Init(Params("0")), 1);
    void* a = Last();
    ASSERT_EQ(Init(Params("2")), 1);
    void* b = Last();
    std::vector<double> wa = Pattern(20000), wb = wa;
    Filter(wa, a);
    Filter(wb, b);

    ASSERT_EQ(Init(Params("0")), 1);
    void* c = Last();
    ASSERT_EQ(Init(Params("2")), 1);
    void* d = Last();
    std::vector<double> wc = Pattern(20000), wd = wc;
    std::thread t1([&] { Filter(wc, c, 333); });
    std::thread t2([&] { Filter(wd, d, 500); });
    t1.join();
    t2.join();
    EXPECT_EQ(wa, wc);
    EXPECT_EQ(wb, wd);
    EXPECT_NE(wa, wb);
}

TEST_P(ModelLibrary, BadCallsNeverCrashOrWriteOutside) {
    EXPECT_EQ(lib->Close(nullptr), 0);
    double clock[2] = {0.0, 9.0};
    EXPECT_EQ(lib->GetWave(nullptr, 8, clock, nullptr, nullptr), 0);
    char* msg = nullptr;
    EXPECT_EQ(lib->Init(nullptr, 0, 0, kBitTime / 32, kBitTime, nullptr, nullptr, nullptr, &msg),
              0);
    ASSERT_EQ(Init(Params("1")), 1);
    EXPECT_EQ(lib->GetWave(nullptr, 8, clock, nullptr, Last()), 0);
    std::vector<double> wave = {0.25, 0.25};
    EXPECT_EQ(lib->GetWave(wave.data(), -5, clock, nullptr, Last()), 0);
    EXPECT_EQ(wave[0], 0.25);
    EXPECT_EQ(lib->GetWave(wave.data(), 2, nullptr, nullptr, Last()), 1);
    EXPECT_EQ(clock[1], 9.0);

    // An instance whose Init failed leaves the waveform alone.
    ASSERT_EQ(Init(Params("1"), nullptr, 0.0), 0);
    wave = {0.25, 0.25};
    EXPECT_EQ(lib->GetWave(wave.data(), 2, clock, nullptr, Last()), 0);
    EXPECT_EQ(wave, (std::vector<double>{0.25, 0.25}));
}

INSTANTIATE_TEST_SUITE_P(Models, ModelLibrary,
                         testing::Values(ModelCase{"corvin_rx1_x64.so", "corvin_rx1", "eq"},
                                         ModelCase{"corvin_tx1_x64.so", "corvin_tx1", "de_code"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Receiver-specific settings.
class Receiver : public ModelLibrary {};

TEST_P(Receiver, FractionalSettingsSelectByRounding) {
    // 2.4 rounds to response 2 (row 2): same as 2. 1.6 also selects
    // response 2 but keeps limiter row 1, so it differs from both.
    std::vector<double> w[4];
    const char* settings[4] = {"2", "2.4", "1.6", "1"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(Init(Params(settings[i])), 1);
        w[i] = Pattern(4000);
        Filter(w[i], Last());
    }
    EXPECT_EQ(w[0], w[1]);
    EXPECT_NE(w[2], w[0]);
    EXPECT_NE(w[2], w[3]);
}

TEST_P(Receiver, OutOfRangeSettingsFailCleanly) {
    // Beyond the limiter rows: Init itself refuses.
    for (const char* s : {"3", "-1", "1e300"}) {
        std::string msg;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Init(Params(s), &msg), 0) << s;
        std::string err = testing::internal::GetCapturedStderr();
        // The reason goes both to standard error and into the message.
        const std::string reason = "eq must be 0, 1 or 2, not ";
        EXPECT_EQ(msg.rfind("Error occurred in corvin_rx1::Setup(). " + reason, 0), 0u) << msg;
        EXPECT_NE(err.find(reason), std::string::npos) << err;
    }
    // Rounding past the last response: every block fails at its first
    // sample and the waveform is left as it was.
    std::string msg;
    ASSERT_EQ(Init(Params("2.5"), &msg), 1);
    std::vector<double> wave = {0.1, 0.2, 0.3};
    double clock = 0.0;
    testing::internal::CaptureStderr();
    EXPECT_EQ(lib->GetWave(wave.data(), 3, &clock, nullptr, Last()), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(wave, (std::vector<double>{0.1, 0.2, 0.3}));
    EXPECT_NE(err.find("The valid control input range is [0,2]."), std::string::npos) << err;
}

INSTANTIATE_TEST_SUITE_P(Models, Receiver,
                         testing::Values(ModelCase{"corvin_rx1_x64.so", "corvin_rx1", "eq"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Transmitter-specific settings.
class Transmitter : public ModelLibrary {};

TEST_P(Transmitter, FractionalDeCodeTruncates) {
    std::vector<double> a = Pattern(4000), b = a, c = a;
    ASSERT_EQ(Init(Params("5")), 1);
    Filter(a, Last());
    ASSERT_EQ(Init(Params("5.7")), 1);
    Filter(b, Last());
    ASSERT_EQ(Init(Params("4")), 1);
    Filter(c, Last());
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}

TEST_P(Transmitter, DeCodeWithoutARowIsRefusedAtInit) {
    for (const char* s : {"7", "-1", "10", "1e300"}) {
        std::string msg;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Init(Params(s), &msg), 0) << s;
        std::string err = testing::internal::GetCapturedStderr();
        const std::string text =
            "Error occurred in corvin_tx1::Setup(). de_code must be 0 to 6, not ";
        EXPECT_EQ(msg.rfind(text, 0), 0u) << msg;
        EXPECT_NE(err.find("de_code must be 0 to 6, not "), std::string::npos) << err;
        EXPECT_NE(err.find(" (tx_fir_dc)"), std::string::npos) << err;
    }
}

TEST_P(Transmitter, TimingBeyondTheHistoryIsRefusedAtInit) {
    // 129 samples per bit exceeds the de-emphasis history.
    std::string msg;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Init(Params("5"), &msg, kBitTime / 129), 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(msg,
              "Error occurred in corvin_tx1::Setup(). The transmitter takes at most 128 samples "
              "per bit (its de-emphasis keeps four bits of samples), not 129: give a larger "
              "sample_interval (tx_fir_dc). The IBIS-AMI model, corvin_tx1, supports bit rates "
              "from 1 to 8.5 Gb/s with 16 to 128 samples per bit; the sample_interval 1.29199e-12 "
              "s (129 samples per bit) is outside that range. ");
    EXPECT_NE(err.find("takes at most 128 samples per bit"), std::string::npos) << err;
}

TEST_P(Transmitter, ADeCodeTooSlowForTheBitRateSaysHowFastItRuns) {
    // 20 Gb/s: de_code 1's post tap, 160 ps behind, is more than 1.5 bits.
    std::string msg;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Init(Params("1"), &msg, 5e-11 / 32, 5e-11), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_NE(msg.find("de_code 1 puts its post tap 160 ps after the main tap, which at a "
                       "bit_time of 5e-11 s is more than the transmitter can hold; at 32 samples "
                       "per bit this de_code runs up to 9.17969 Gb/s (tx_fir_dc). "),
              std::string::npos)
        << msg;
    EXPECT_NE(msg.find("supports bit rates from 1 to 8.5 Gb/s"), std::string::npos) << msg;
}

INSTANTIATE_TEST_SUITE_P(Models, Transmitter,
                         testing::Values(ModelCase{"corvin_tx1_x64.so", "corvin_tx1", "de_code"}),
                         [](const auto& info) { return std::string(info.param.name); });
