// SpanKernelBodies: the bodies of the span kernels (SpanKernels.h) as
// templates over a lane type, and the scalar lane type that finishes the
// samples a span leaves over. Included only by the per-instruction-set
// files SpanKernelsPortable.cpp, SpanKernelsSse2.cpp and SpanKernelsAvx2.cpp,
// each compiled with its own instruction-set flags. Everything here has
// internal linkage on purpose: no file may end up calling another file's
// copy of a function compiled for instructions the processor may lack.
//
// A lane type L holds L::Lanes doubles in an L::Reg and provides Load,
// Store, Set; Add, Sub, Mul, Div (one IEEE operation per lane); Abs (clears
// the sign bit), WithSignOf(m, x) (m with the sign bit of x), Min(a, b)
// (a < b ? a : b, so a NaN a gives b); the masks Less, GreaterEqual, IsNan,
// combined by MaskOr and tested by Any and All; Select(mask, a, b) (mask ?
// a : b per lane); and Pow2(t), which is 2^k for t = k + 0x1.8p52, k a
// small non-negative integer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Vantra {
namespace {

struct ScalarLanes {
    using Reg = double;
    using Mask = bool;
    static constexpr std::size_t Lanes = 1;

    static Reg Load(const double* p) { return *p; }
    static void Store(double* p, Reg v) { *p = v; }
    static Reg Set(double v) { return v; }
    static Reg Add(Reg a, Reg b) { return a + b; }
    static Reg Sub(Reg a, Reg b) { return a - b; }
    static Reg Mul(Reg a, Reg b) { return a * b; }
    static Reg Div(Reg a, Reg b) { return a / b; }
    static Reg Abs(Reg a) { return FromBits(Bits(a) & ~kSignBit); }
    static Reg WithSignOf(Reg m, Reg x) { return FromBits(Bits(m) | (Bits(x) & kSignBit)); }
    static Reg Min(Reg a, Reg b) { return a < b ? a : b; }
    static Mask Less(Reg a, Reg b) { return a < b; }
    static Mask GreaterEqual(Reg a, Reg b) { return a >= b; }
    static Mask IsNan(Reg a) { return a != a; }
    static Mask MaskOr(Mask a, Mask b) { return a || b; }
    static bool Any(Mask m) { return m; }
    static bool All(Mask m) { return m; }
    static Reg Select(Mask m, Reg a, Reg b) { return m ? a : b; }
    // The low bits of t hold k; k + 1023 in the exponent field is 2^k.
    static Reg Pow2(Reg t) { return FromBits((Bits(t) + 1023) << 52); }

private:
    static constexpr std::uint64_t kSignBit = std::uint64_t(1) << 63;
    static std::uint64_t Bits(double v) {
        std::uint64_t b;
        std::memcpy(&b, &v, sizeof b);
        return b;
    }
    static double FromBits(std::uint64_t b) {
        double v;
        std::memcpy(&v, &b, sizeof v);
        return v;
    }
};

// ---- FIR sum ---------------------------------------------------------------
//
// An output is sum over j < length of reversed[j] * oldest[j], the taps
// reversed so that both run forward in memory, formed in one fixed order:
// four partial sums, p_r of the terms with j % 4 == r, each started from +0
// and added in ascending j, then y = (p0 + p2) + (p1 + p3). Four
// independent chains cost a lone output a quarter of the adder latency
// that one running sum would, and fill an AVX2 register (two SSE2 ones):
// an output keeps p_0 .. p_3 in a row of four lanes, lane r multiplying
// the terms j = r, r + 4, ... Whole blocks of four terms go through the
// lane type's registers, the fewer than four left at the end through the
// scalar lanes, last.

constexpr std::size_t kFirRow = 4;

// Outputs per pass over the taps: each block of taps is loaded once for
// all of them, and their eight accumulator registers stay in the registers
// (16 on x86-64, 8 on 32-bit x86, where half as many share a pass). How
// many share a pass changes nothing in any output's sum.
template <class L>
constexpr std::size_t FirOutputsPerPass() {
#if defined(__x86_64__)
    return 8 * L::Lanes / kFirRow;
#else
    return 4 * L::Lanes / kFirRow > 0 ? 4 * L::Lanes / kFirRow : 1;
#endif
}

template <class L, std::size_t Outputs>
void FirPass(const double* reversed, std::size_t length, const double* oldest, double* y) {
    using R = typename L::Reg;
    constexpr std::size_t regs = kFirRow / L::Lanes;  // per output
    const std::size_t whole = length - length % kFirRow;
    R acc[Outputs][regs];
    for (std::size_t o = 0; o < Outputs; ++o)
        for (std::size_t g = 0; g < regs; ++g) acc[o][g] = L::Set(0.0);
    for (std::size_t j = 0; j < whole; j += kFirRow) {
        R t[regs];
        for (std::size_t g = 0; g < regs; ++g) t[g] = L::Load(reversed + j + g * L::Lanes);
        for (std::size_t o = 0; o < Outputs; ++o)
            for (std::size_t g = 0; g < regs; ++g)
                acc[o][g] = L::Add(acc[o][g], L::Mul(t[g], L::Load(oldest + o + j + g * L::Lanes)));
    }
    for (std::size_t o = 0; o < Outputs; ++o) {
        double p[kFirRow];
        for (std::size_t g = 0; g < regs; ++g) L::Store(p + g * L::Lanes, acc[o][g]);
        for (std::size_t j = whole; j < length; ++j)
            p[j - whole] = p[j - whole] + reversed[j] * oldest[o + j];
        y[o] = (p[0] + p[2]) + (p[1] + p[3]);
    }
}

template <class L>
void FirSpanBody(const double* reversed, std::size_t length, const double* oldest, double* y,
                 std::size_t count) {
    constexpr std::size_t pass = FirOutputsPerPass<L>();
    std::size_t i = 0;
    for (; i + pass <= count; i += pass) FirPass<L, pass>(reversed, length, oldest + i, y + i);
    for (; i < count; ++i) FirPass<L, 1>(reversed, length, oldest + i, y + i);
}

// ---- tanh ------------------------------------------------------------------

// c[0] + c[1] v + ... + c[11] v^11 by Estrin's scheme: pairs, then pairs
// of pairs, so that the dependent chain is four multiply-adds deep rather
// than eleven, and the out-of-order core overlaps consecutive vectors.
template <class L>
typename L::Reg Polynomial11(const double (&c)[12], typename L::Reg v) {
    using R = typename L::Reg;
    const R v2 = L::Mul(v, v);
    const R v4 = L::Mul(v2, v2);
    const R v8 = L::Mul(v4, v4);
    R q[6];
    for (int j = 0; j < 6; ++j) q[j] = L::Add(L::Set(c[2 * j]), L::Mul(L::Set(c[2 * j + 1]), v));
    const R s0 = L::Add(q[0], L::Mul(q[1], v2));
    const R s1 = L::Add(q[2], L::Mul(q[3], v2));
    const R s2 = L::Add(q[4], L::Mul(q[5], v2));
    return L::Add(L::Add(s0, L::Mul(s1, v4)), L::Mul(s2, v8));
}

// From here on the result is +-1: the exact value rounds to 1 already from
// about 19.06 on.
constexpr double kTanhSaturation = 22.0;
// Below this the Taylor series is used, above it the exponential form,
// carried in extra precision up to kTanhShortLimit and in plain double
// from there on.
constexpr double kTanhSeriesLimit = 0.25;
constexpr double kTanhShortLimit = 2.0;

// tanh(x) = x + x * g * P(g), g = x^2, with P the Taylor series of tanh
// after its first term: coefficients 2^2n (2^2n - 1) B_2n / (2n)! up to
// x^25, which leaves a truncation error far below half an ulp for
// |x| < 0.25.
constexpr double kTanhSeries[12] = {
    -1.0 / 3.0,
    2.0 / 15.0,
    -17.0 / 315.0,
    62.0 / 2835.0,
    -1382.0 / 155925.0,
    21844.0 / 6081075.0,
    -929569.0 / 638512875.0,
    6404582.0 / 10854718875.0,
    -443861162.0 / 1856156927625.0,
    18888466084.0 / 194896477400625.0,
    -113927491862.0 / 2900518163668125.0,
    58870668456604.0 / 3698160658676859375.0,
};

template <class L>
typename L::Reg TanhSeries(typename L::Reg ax) {
    using R = typename L::Reg;
    const R g = L::Mul(ax, ax);
    return L::Add(ax, L::Mul(ax, L::Mul(g, Polynomial11<L>(kTanhSeries, g))));
}

// e^y = 2^k e^r with y = k ln 2 + r, |r| <= ln 2 / 2. ln 2 is split so
// that k * kLn2Hi is exact for every k up to 2^9 and y - k * kLn2Hi is
// exact (the two are within a factor of two of each other); k * kLn2HiExcess
// is the small remainder, carried separately.
constexpr double kRoundMagic = 0x1.8p52;  // x + kRoundMagic rounds x to an integer
constexpr double kInvLn2 = 0x1.71547652b82fep+0;
constexpr double kLn2Hi = 0x1.62e42fefa3a00p-1;         // ln 2 rounded to 44 bits
constexpr double kLn2HiExcess = 0x1.0ca86c3898d00p-49;  // kLn2Hi - ln 2
// e^r - 1 - r = r^2 / 2 + r^3 (1/3! + r/4! + ... + r^11/14!): the first
// term left out is below 3e-19 for |r| <= ln 2 / 2.
constexpr double kExpCubic[12] = {
    1.0 / 6.0,        1.0 / 24.0,        1.0 / 120.0,        1.0 / 720.0,
    1.0 / 5040.0,     1.0 / 40320.0,     1.0 / 362880.0,     1.0 / 3628800.0,
    1.0 / 39916800.0, 1.0 / 479001600.0, 1.0 / 6227020800.0, 1.0 / 87178291200.0,
};
// Splits a double into two halves of 26 bits whose products are exact.
constexpr double kSplitter = 134217729.0;  // 2^27 + 1

// s + e == a + b exactly, given |a| >= |b|.
template <class L>
void FastTwoSum(typename L::Reg a, typename L::Reg b, typename L::Reg& s, typename L::Reg& e) {
    s = L::Add(a, b);
    e = L::Sub(b, L::Sub(s, a));
}

// p + e == a * b exactly (Dekker's product, without a fused multiply-add).
template <class L>
void TwoProduct(typename L::Reg a, typename L::Reg b, typename L::Reg& p, typename L::Reg& e) {
    using R = typename L::Reg;
    p = L::Mul(a, b);
    const R ca = L::Mul(L::Set(kSplitter), a);
    const R ah = L::Sub(ca, L::Sub(ca, a));
    const R al = L::Sub(a, ah);
    const R cb = L::Mul(L::Set(kSplitter), b);
    const R bh = L::Sub(cb, L::Sub(cb, b));
    const R bl = L::Sub(b, bh);
    e = L::Add(L::Add(L::Add(L::Sub(L::Mul(ah, bh), p), L::Mul(ah, bl)), L::Mul(al, bh)),
               L::Mul(al, bl));
}

// e^y = 2^k e^(rh + rl), split as in kLn2Hi: t holds k (for Pow2), and
// e^rh - 1 - rh = square / 2 + cubic, square = rh^2 rounded.
template <class L>
struct ExpParts {
    typename L::Reg t, rh, rl, square, cubic;
};

template <class L>
ExpParts<L> ExpReduce(typename L::Reg y) {
    using R = typename L::Reg;
    ExpParts<L> e;
    e.t = L::Add(L::Mul(y, L::Set(kInvLn2)), L::Set(kRoundMagic));
    const R k = L::Sub(e.t, L::Set(kRoundMagic));
    e.rh = L::Sub(y, L::Mul(k, L::Set(kLn2Hi)));
    e.rl = L::Mul(k, L::Set(kLn2HiExcess));
    e.square = L::Mul(e.rh, e.rh);
    e.cubic = L::Mul(L::Mul(e.rh, e.square), Polynomial11<L>(kExpCubic, e.rh));
    return e;
}

// tanh(ax) = 1 - 2 / (e^2ax + 1) for 0.25 <= ax < 2. e^2ax + 1 and the
// quotient are carried to about twice double precision, so the result is
// the exact value rounded once, give or take a small fraction of an ulp.
template <class L>
typename L::Reg TanhByExpPrecise(typename L::Reg ax) {
    using R = typename L::Reg;
    const ExpParts<L> x = ExpReduce<L>(L::Add(ax, ax));

    // e^rh - 1 - rh = square / 2 + cubic as tail + tailLow, with the
    // square's rounding error recovered exactly: the tail is large enough
    // that rounding it would show in the last bit.
    R square, squareError, tail, d0;
    TwoProduct<L>(x.rh, x.rh, square, squareError);
    FastTwoSum<L>(L::Mul(square, L::Set(0.5)), x.cubic, tail, d0);
    const R tailLow = L::Add(d0, L::Mul(squareError, L::Set(0.5)));

    // e^(rh + rl) = (1 + rh + tail)(1 + rl) as mh + ml.
    R u, d1, mh, d2;
    FastTwoSum<L>(x.rh, tail, u, d1);
    FastTwoSum<L>(L::Set(1.0), u, mh, d2);
    const R cross = L::Add(x.rl, L::Mul(x.rl, L::Add(x.rh, tail)));
    const R ml = L::Add(d2, L::Add(d1, L::Add(tailLow, cross)));

    // e^2ax + 1 = 2^k (mh + ml) + 1 as dh + dl; 2^k mh >= 1.
    const R scale = L::Pow2(x.t);
    R dh, de;
    FastTwoSum<L>(L::Mul(mh, scale), L::Set(1.0), dh, de);
    const R dl = L::Add(de, L::Mul(ml, scale));

    // 2 / (dh + dl) as qh + ql: one Newton correction of qh = 2 / dh.
    const R qh = L::Div(L::Set(2.0), dh);
    R ph, pe;
    TwoProduct<L>(qh, dh, ph, pe);
    const R residue = L::Sub(L::Sub(L::Sub(L::Set(2.0), ph), pe), L::Mul(qh, dl));
    const R ql = L::Mul(residue, L::Mul(qh, L::Set(0.5)));

    // 1 - qh - ql with one rounding; qh <= 1.
    R s, e;
    FastTwoSum<L>(L::Set(1.0), L::Sub(L::Set(0.0), qh), s, e);
    return L::Add(s, L::Sub(e, ql));
}

// tanh(ax) = 1 - 2 / (e^2ax + 1) in plain double for 2 <= ax < 22: the
// quotient is below 0.036 there, so its few roundings reach the result as
// a small fraction of an ulp.
template <class L>
typename L::Reg TanhByExpShort(typename L::Reg ax) {
    using R = typename L::Reg;
    const ExpParts<L> x = ExpReduce<L>(L::Add(ax, ax));
    const R tail = L::Add(L::Mul(x.square, L::Set(0.5)), x.cubic);
    const R cross = L::Add(x.rl, L::Mul(x.rl, L::Add(x.rh, tail)));
    const R m = L::Add(L::Set(1.0), L::Add(x.rh, L::Add(tail, cross)));
    const R q = L::Div(L::Set(2.0), L::Add(L::Mul(m, L::Pow2(x.t)), L::Set(1.0)));
    return L::Sub(L::Set(1.0), q);
}

template <class L>
typename L::Reg TanhOf(typename L::Reg x) {
    using R = typename L::Reg;
    // Clamped, so that no formula ever sees an infinity or a NaN.
    const R ax = L::Min(L::Abs(x), L::Set(kTanhSaturation));
    const auto series = L::Less(ax, L::Set(kTanhSeriesLimit));
    const auto belowShort = L::Less(ax, L::Set(kTanhShortLimit));
    const auto saturated = L::GreaterEqual(ax, L::Set(kTanhSaturation));
    const auto shortOrMore = L::GreaterEqual(ax, L::Set(kTanhShortLimit));
    // Each sample takes the one formula of its range whatever its
    // neighbours in the vector; a formula no lane needs is skipped.
    R r = L::Set(1.0);
    if (L::Any(series)) r = L::Select(series, TanhSeries<L>(ax), r);
    const auto notPrecise = L::MaskOr(series, shortOrMore);
    if (!L::All(notPrecise)) r = L::Select(notPrecise, r, TanhByExpPrecise<L>(ax));
    const auto notShort = L::MaskOr(belowShort, saturated);
    if (!L::All(notShort)) r = L::Select(notShort, r, TanhByExpShort<L>(ax));
    r = L::WithSignOf(r, x);
    return L::Select(L::IsNan(x), x, r);
}

template <class L>
void SoftLimitSpanBody(const double* in, double* out, std::size_t count, double amplitude,
                       double gain) {
    std::size_t i = 0;
    const typename L::Reg a = L::Set(amplitude), g = L::Set(gain);
    for (; i + L::Lanes <= count; i += L::Lanes)
        L::Store(out + i, L::Mul(a, TanhOf<L>(L::Mul(g, L::Load(in + i)))));
    for (; i < count; ++i) out[i] = amplitude * TanhOf<ScalarLanes>(gain * in[i]);
}

}  // namespace
}  // namespace Vantra
