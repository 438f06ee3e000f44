// The path a processor without AVX2 takes gives the bits of the path one
// with AVX2 takes. The libraries pinned to SSE2 (build/lib-sse2) answer the
// same-bits sweep exactly like the shipped ones; and the shipped libraries
// themselves, run on an emulated processor without AVX (qemu-x86_64 -cpu
// Nehalem), choose SSE2 at run time and give the same bits again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ProbeSweep.h"

namespace {

const std::string kDir = CORVIN_BINARY_DIR;
const std::string kProbe = kDir + "/bin/ami-probe";
const std::string kQemu = "qemu-x86_64 -cpu Nehalem ";

struct PathCase {
    const char* library;
    const probe::Model& (*model)();
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.library;
}

class KernelPath : public testing::TestWithParam<PathCase> {};

}  // namespace

TEST_P(KernelPath, PinnedSse2LibraryGivesTheBitsOfTheShippedOne) {
    const std::vector<std::string> q = probe::SweepQuestions(GetParam().model());
    probe::ExpectSameBitsOverTheSweep(
        probe::Ask("", kProbe, kDir + "/lib/" + GetParam().library, q),
        probe::Ask("", kProbe, kDir + "/lib-sse2/" + GetParam().library, q), q);
}

TEST_P(KernelPath, ProcessorWithoutAvx2TakesSse2WithTheSameBits) {
#ifdef CORVIN_SANITIZE
    GTEST_SKIP() << "the sanitizers' shadow memory does not map under qemu-user";
#endif
    if (std::system("command -v qemu-x86_64 >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "qemu-x86_64 is not installed";
    // The emulated processor must really lack AVX2, or this proves nothing.
    ASSERT_EQ(probe::Ask(kQemu, kProbe, "", {"isa"}), std::vector<std::string>{"sse2"});
    // Emulation is slow: every fifth setting of the sweep.
    const std::vector<std::string> q = probe::SweepQuestions(GetParam().model(), 5);
    const std::string lib = kDir + "/lib/" + GetParam().library;
    probe::ExpectSameBitsOverTheSweep(probe::Ask("", kProbe, lib, q),
                                      probe::Ask(kQemu, kProbe, lib, q), q);
}

INSTANTIATE_TEST_SUITE_P(Models, KernelPath,
                         testing::Values(PathCase{"corvin_rx1_x64.so", probe::Receiver},
                                         PathCase{"corvin_tx1_x64.so", probe::Transmitter}),
                         [](const auto& info) {
                             return std::string(info.param.library).substr(0, 10);
                         });
