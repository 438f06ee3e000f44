#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "FixedOrderSum.h"
#include "blocks/SpanKernels.h"
#include "blocks/Tanh.h"
#include "tests/support/RandomSignal.h"

using namespace Vantra;

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::numeric_limits<double>::quiet_NaN();

std::uint64_t Bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Every table this machine can run, the portable one first.
std::vector<const SpanKernels*> RunnableTables() {
    std::vector<const SpanKernels*> t = {PortableSpanKernels()};
    for (KernelIsa isa : {KernelIsa::Sse2, KernelIsa::Avx2})
        if (KernelIsaAvailable(isa)) t.push_back(&SpanKernelsFor(isa));
    return t;
}

// Distance from the exact value in units in the last place of the double
// nearest to it, against a 64-bit-mantissa reference.
double UlpError(double got, double x) {
    const long double exact = std::tanh(static_cast<long double>(x));
    const double nearest = static_cast<double>(exact);
    const double ulp = std::nextafter(std::fabs(nearest), kInf) - std::fabs(nearest);
    return static_cast<double>(std::fabs(static_cast<long double>(got) - exact) / ulp);
}

}  // namespace

TEST(Tanh, StaysWithinSixTenthsOfAnUlpEverywhere) {
    // Dense in each formula's range and across the boundaries between them.
    struct Range {
        double lo, hi;
    };
    std::mt19937_64 gen(7);
    double worst = 0.0, at = 0.0;
    for (Range r : {Range{1e-9, 1e-3}, Range{1e-3, 0.25}, Range{0.24, 0.26}, Range{0.25, 1.0},
                    Range{1.0, 5.0}, Range{5.0, 19.5}, Range{19.5, 23.0}}) {
        std::uniform_real_distribution<double> d(r.lo, r.hi);
        for (int i = 0; i < 200000; ++i) {
            const double x = d(gen);
            for (double s : {x, -x}) {
                const double e = UlpError(Tanh(s), s);
                if (e > worst) worst = e, at = s;
            }
        }
    }
    EXPECT_LT(worst, 0.6) << "at x = " << at;
}

TEST(Tanh, SpecialValuesAndSymmetry) {
    struct Case {
        double x, want;
    };
    const double tiny = std::numeric_limits<double>::denorm_min();
    for (Case c : {Case{0.0, 0.0}, Case{1e-300, 1e-300}, Case{tiny, tiny}, Case{22.0, 1.0},
                   Case{19.5, 1.0}, Case{1e300, 1.0}, Case{kInf, 1.0}}) {
        EXPECT_EQ(Bits(Tanh(c.x)), Bits(c.want)) << c.x;
        EXPECT_EQ(Bits(Tanh(-c.x)), Bits(-c.want)) << -c.x;
    }
    EXPECT_EQ(Bits(Tanh(kNan)), Bits(kNan));
    for (double x : RandomSignal(1000, 3, 30.0)) EXPECT_EQ(Tanh(-x), -Tanh(x)) << x;
}

TEST(SpanKernels, ResolvingNeverGivesBestAndFallsBackDownwards) {
    EXPECT_EQ(ResolveKernelIsa(KernelIsa::Portable), KernelIsa::Portable);
    EXPECT_NE(ResolveKernelIsa(KernelIsa::Best), KernelIsa::Best);
    const KernelIsa avx2 = ResolveKernelIsa(KernelIsa::Avx2);
    EXPECT_EQ(avx2, KernelIsaAvailable(KernelIsa::Avx2) ? KernelIsa::Avx2
                                                        : ResolveKernelIsa(KernelIsa::Sse2));
    EXPECT_EQ(SpanKernelsFor(KernelIsa::Portable).Isa, KernelIsa::Portable);
    EXPECT_EQ(SpanKernelsFor(KernelIsa::Best).Isa, ResolveKernelIsa(KernelIsa::Best));
}

TEST(SpanKernels, FirSumHasOneFixedOrderOnEveryTable) {
    // Lengths around the blocks of eight, the vector widths and the
    // models' lengths; spans of every length up to past several passes.
    const std::vector<double> x = RandomSignal(1000, 11);
    for (std::size_t length : {0u, 1u, 3u, 7u, 8u, 9u, 16u, 21u, 129u, 384u}) {
        const std::vector<double> h = RandomSignal(length, static_cast<unsigned>(length));
        std::vector<double> reversed(h.rbegin(), h.rend());
        for (std::size_t count = 0; count <= 40; ++count) {
            const double* newest = x.data() + 500;  // history before it is readable
            std::vector<double> want(count);
            for (std::size_t i = 0; i < count; ++i)
                want[i] = FixedOrderSum(h.data(), 0, length,
                                        [&](std::size_t k) { return *(newest + i - k); });
            for (const SpanKernels* t : RunnableTables()) {
                std::vector<double> y(count + 1, -7.0);
                const double* oldest = length > 0 ? newest - (length - 1) : newest;
                t->FirSpan(reversed.data(), length, oldest, y.data(), count);
                for (std::size_t i = 0; i < count; ++i)
                    ASSERT_EQ(Bits(y[i]), Bits(want[i]))
                        << KernelIsaName(t->Isa) << " length " << length << " count " << count
                        << " output " << i;
                EXPECT_EQ(y[count], -7.0) << "wrote past the span";
            }
        }
    }
}

TEST(SpanKernels, SoftLimitGivesTheScalarTanhBitsOnEveryTable) {
    std::vector<double> in = RandomSignal(3000, 5, 0.4);
    for (double special :
         {0.0, -0.0, kInf, -kInf, kNan, 1e-310, 0.25 / 82.45, 2.0 / 82.45, 22.0 / 82.45, 1e300})
        in.push_back(special);
    for (const SpanKernels* t : RunnableTables()) {
        // Every start and length, so each sample meets every lane position
        // and the scalar tail.
        for (std::size_t start = 0; start < 5; ++start) {
            std::vector<double> out(in.size(), 0.0);
            t->SoftLimitSpan(in.data() + start, out.data(), in.size() - start, 0.209, 82.45);
            for (std::size_t i = 0; i + start < in.size(); ++i)
                ASSERT_EQ(Bits(out[i]), Bits(0.209 * Tanh(82.45 * in[i + start])))
                    << KernelIsaName(t->Isa) << " input " << in[i + start];
        }
    }
}
