#include <gtest/gtest.h>

#include <algorithm>
#include <complex>
#include <numeric>
#include <utility>
#include <vector>

#include "dataflow/CircularBuffer.h"
#include "dataflow/EnvelopeSignal.h"
#include "dataflow/TimedCircularBuffer.h"

using namespace Vantra;

namespace {

// Attaches a caller-owned array to a port, as a network does.
template <class T>
void Attach(CircularBuffer<T>& port, std::vector<T>& storage, std::size_t position = 0)
{
    port.Data = storage.data();
    port.Capacity = storage.size();
    port.Position = position;
}

}  // namespace

TEST(CircularBuffer, FreshPortIsEmptyWithUnitRateAndWindow)
{
    CircularBuffer<double> b;
    EXPECT_EQ(b.Rate, 1u);
    EXPECT_EQ(b.WindowSize, 1u);
    EXPECT_EQ(b.ElementSize, sizeof(double));
    EXPECT_EQ(b.Position, 0u);
    EXPECT_EQ(b.Data, nullptr);
    EXPECT_EQ(b.Capacity, 0u);
    EXPECT_TRUE(b.Connected);
    EXPECT_EQ(CircularBuffer<std::complex<double>>().ElementSize, 16u);
    EXPECT_EQ(CircularBuffer<EnvelopeSignal>().ElementSize, 16u);
}

TEST(CircularBuffer, OffsetsWrapOnceByCapacity)
{
    std::vector<int> s = {10, 11, 12, 13, 14};
    CircularBuffer<int> b;
    Attach(b, s, 3);
    EXPECT_EQ(b.ElementAt(0), 13);
    EXPECT_EQ(b.ElementAt(1), 14);
    EXPECT_EQ(b.ElementAt(2), 10);  // 3 + 2 = 5 wraps to 0
    EXPECT_EQ(b.ElementAt(4), 12);
    b.ElementAt(3) = 99;
    EXPECT_EQ(s[1], 99);
}

TEST(CircularBuffer, SetRateRaisesButNeverLowersTheWindow)
{
    CircularBuffer<double> b;
    b.SetRate(4);
    EXPECT_EQ(b.Rate, 4u);
    EXPECT_EQ(b.WindowSize, 4u);
    b.SetRate(2);
    EXPECT_EQ(b.Rate, 2u);
    EXPECT_EQ(b.WindowSize, 4u);
}

TEST(CircularBuffer, CopyToSingleSampleBetweenOneElementPorts)
{
    std::vector<double> a = {3.5}, c = {0.0};
    CircularBuffer<double> src, dst;
    Attach(src, a);
    Attach(dst, c);
    src.CopyTo(0, dst, 0, 1);
    EXPECT_EQ(c[0], 3.5);
}

TEST(CircularBuffer, CopyToChunksAtBothWrapPoints)
{
    // Source capacity 4 at position 3, destination capacity 8 at position 6:
    // chunks of 1 (source wraps), 1 (destination wraps) and 2.
    std::vector<int> a = {0, 1, 2, 3}, c(8, -1);
    CircularBuffer<int> src, dst;
    Attach(src, a, 3);
    Attach(dst, c, 6);
    src.CopyTo(0, dst, 0, 4);
    EXPECT_EQ(c, (std::vector<int>{1, 2, -1, -1, -1, -1, 3, 0}));
    // Through the virtual slot too, and a count of 0 copies nothing.
    std::vector<int> before = c;
    static_cast<const CircularBufferBase&>(src).CopyTo(0, dst, 0, 0);
    EXPECT_EQ(c, before);
}

TEST(CircularBuffer, ClearRangeZeroesWrappedSamplesAndAcceptsZeroCount)
{
    std::vector<std::complex<double>> s(4, {1.0, 2.0});
    CircularBuffer<std::complex<double>> b;
    Attach(b, s, 2);
    EXPECT_TRUE(b.ClearRange(0, 0));
    EXPECT_EQ(s[2], std::complex<double>(1.0, 2.0));
    EXPECT_TRUE(b.ClearRange(1, 2));  // indices 3 and 0
    EXPECT_EQ(s[3], std::complex<double>());
    EXPECT_EQ(s[0], std::complex<double>());
    EXPECT_EQ(s[1], std::complex<double>(1.0, 2.0));
}

TEST(CircularBuffer, NewArrayZeroesComplexAndEnvelopeSamples)
{
    CircularBuffer<EnvelopeSignal> e;
    auto* p = static_cast<EnvelopeSignal*>(e.NewArray(3));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(p[i].Envelope, 0.0);
        EXPECT_EQ(p[i].Phase, 0.0);
    }
    e.DeleteArray(p);
    EXPECT_EQ(e.Data, nullptr);  // an explicit array leaves the port alone
}

TEST(CircularBuffer, NewArrayRefusesAnOverflowingSize)
{
    CircularBuffer<double> b;
    EXPECT_THROW(b.NewArray(static_cast<std::size_t>(-1) / 4), std::bad_alloc);
}

TEST(CircularBuffer, DeleteArrayWithNullReleasesOwnStorageOrDoesNothing)
{
    CircularBuffer<double> b;
    b.DeleteArray(nullptr);  // no storage: stays empty
    EXPECT_EQ(b.Data, nullptr);
    b.Data = static_cast<double*>(b.NewArray(5));
    b.Capacity = 5;
    b.Position = 3;
    b.DeleteArray(nullptr);
    EXPECT_EQ(b.Data, nullptr);
    EXPECT_EQ(b.Capacity, 0u);
    EXPECT_EQ(b.Position, 0u);
}

TEST(MatrixBuffer, CopiesShapesAndValuesElementByElement)
{
    using M = Matrix<double>;
    std::vector<M> a(3), c(2);
    a[2] = M({2, 3});
    a[2][5] = 7.0;
    CircularBuffer<M> src, dst;
    src.Data = a.data();
    src.Capacity = 3;
    src.Position = 2;
    dst.Data = c.data();
    dst.Capacity = 2;
    src.CopyTo(0, dst, 0, 2);  // source indices 2, 0
    EXPECT_EQ(c[0].Extents(), (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(c[0][5], 7.0);
    EXPECT_EQ(c[1].Count(), 0u);

    M proto({4});
    dst.ClearRange(0, 1, &proto);
    EXPECT_EQ(c[0].Extents(), (std::vector<std::size_t>{4}));
    EXPECT_EQ(c[0][3], 0.0);
    dst.ClearRange(0, 1);
    EXPECT_EQ(c[0].Count(), 0u);

    M out;
    src.CopyElements(&a[2], &out, 1);
    EXPECT_EQ(out.Extents(), a[2].Extents());
    EXPECT_EQ(out[5], 7.0);
}

TEST(MatrixBuffer, NewArrayIsDefaultConstructedAndDeletedElementWise)
{
    CircularBuffer<Matrix<int>> b;
    b.Data = static_cast<Matrix<int>*>(b.NewArray(4));
    b.Capacity = 4;
    b.Data[1] = Matrix<int>({100});
    EXPECT_EQ(b.Data[0].Count(), 0u);
    b.DeleteArray(nullptr);  // the sanitizer build proves nothing leaks
    EXPECT_EQ(b.Data, nullptr);
}

TEST(TimedCircularBuffer, SampleRateRefusesNegativeAndNaN)
{
    TimedCircularBuffer<double> b;
    EXPECT_TRUE(b.SetSampleRate(4.0));
    EXPECT_EQ(b.GetTimeStep(), 0.25);
    EXPECT_FALSE(b.SetSampleRate(-1.0));
    EXPECT_FALSE(b.SetSampleRate(std::nan("")));
    EXPECT_EQ(b.SampleRate, 4.0);
    EXPECT_EQ(b.GetTimeStep(), 0.25);
    EXPECT_TRUE(b.SetSampleRate(0.0));
    EXPECT_EQ(b.GetTimeStep(), 0.0);
}

TEST(TimedCircularBuffer, TimeOfCountsFiringsFromTheWindowStart)
{
    TimedCircularBuffer<double> b;
    b.SetRate(2);
    b.WindowSize = 3;
    b.SetSampleRate(10.0);
    b.SetStartTime(1.0);
    // After firing 0, offset 1 is global sample 0; offset 2 is sample 1.
    EXPECT_DOUBLE_EQ(b.TimeOf(1, 0), 1.0);
    EXPECT_DOUBLE_EQ(b.TimeOf(2, 4), 1.0 + 9 * 0.1);
}

namespace {

// A matrix sample that carries one value, so matrix and plain buffers can
// be compared element for element; an empty matrix reads as 0.
Matrix<int> Cell(int v)
{
    Matrix<int> m({1});
    m[0] = v;
    return m;
}

int ValueOf(const Matrix<int>& m) { return m.Count() == 0 ? 0 : m[0]; }
int ValueOf(int v) { return v; }

template <class T>
std::vector<int> Values(const std::vector<T>& v)
{
    std::vector<int> out;
    for (const T& e : v) out.push_back(ValueOf(e));
    return out;
}

// Runs CopyTo and ClearRange on a plain buffer and on a matrix buffer laid
// out alike; the plain buffer gives the expected result.
struct WrapCase {
    std::size_t srcCap, srcPos, srcOff, dstCap, dstPos, dstOff, count;
};

template <class T>
std::pair<std::vector<int>, std::vector<int>> CopyAndClear(const WrapCase& c, T (*make)(int))
{
    std::vector<T> a, b;
    for (std::size_t i = 0; i < c.srcCap; ++i) a.push_back(make(static_cast<int>(i) + 1));
    for (std::size_t i = 0; i < c.dstCap; ++i) b.push_back(make(-1));
    CircularBuffer<T> src, dst;
    Attach(src, a, c.srcPos);
    Attach(dst, b, c.dstPos);
    src.CopyTo(c.srcOff, dst, c.dstOff, c.count);
    std::vector<int> copied = Values(b);
    src.ClearRange(c.srcOff, c.count);
    return {copied, Values(a)};
}

int Plain(int v) { return v; }

}  // namespace

TEST(MatrixBuffer, CopyToAndClearRangeWrapEveryIndexAsPlainBuffersDo)
{
    std::vector<WrapCase> cases = {
        {4, 3, 2, 4, 0, 0, 4},  // source offset plus index passes Capacity twice
        {4, 0, 0, 4, 3, 2, 4},  // the destination side likewise
        {4, 3, 3, 3, 2, 2, 3},
    };
    // Every layout of small arrays, every count up to the smaller capacity.
    for (std::size_t sc = 1; sc <= 4; ++sc)
        for (std::size_t dc = 1; dc <= 4; ++dc)
            for (std::size_t sp = 0; sp < sc; ++sp)
                for (std::size_t dp = 0; dp < dc; ++dp)
                    for (std::size_t so = 0; so < sc; ++so)
                        for (std::size_t n = 0; n <= std::min(sc, dc); ++n)
                            cases.push_back({sc, sp, so, dc, dp, (so + dp) % dc, n});
    for (const WrapCase& c : cases) {
        auto plain = CopyAndClear<int>(c, Plain);
        auto matrix = CopyAndClear<Matrix<int>>(c, Cell);
        ASSERT_EQ(matrix, plain) << "capacities " << c.srcCap << "/" << c.dstCap << " positions "
                                 << c.srcPos << "/" << c.dstPos << " offsets " << c.srcOff << "/"
                                 << c.dstOff << " count " << c.count;
    }
}

TEST(CircularBuffer, ClearRangeNearTheEndOfTheArrayWrapsEachIndex)
{
    std::vector<int> s = {1, 2, 3, 4};
    CircularBuffer<int> b;
    Attach(b, s, 3);
    EXPECT_TRUE(b.ClearRange(3, 3));  // indices 2, 3, 0
    EXPECT_EQ(s, (std::vector<int>{0, 2, 0, 0}));
}

TEST(CircularBuffer, StretchIsTheArrayOnlyWhereTheSamplesDoNotWrap)
{
    std::vector<double> storage(8);
    CircularBuffer<double> b;
    Attach(b, storage, 5);
    struct Case { std::size_t offset, count; double* want; };
    for (Case c : {Case{0, 3, &storage[5]}, Case{1, 2, &storage[6]}, Case{3, 2, &storage[0]},
                   Case{0, 4, nullptr}, Case{2, 2, nullptr}, Case{0, 9, nullptr},
                   Case{8, 1, nullptr}}) {
        EXPECT_EQ(b.Stretch(c.offset, c.count), c.want) << c.offset << "+" << c.count;
    }
}
