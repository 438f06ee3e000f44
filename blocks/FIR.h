// FIR<T, Mode>: multirate finite-impulse-response filter block. Each firing
// takes Decimation (M) samples from Input and writes Interpolation (L)
// samples to Output, as if the input were upsampled by L, filtered by Taps
// and downsampled by M from DecimationPhase (P) on, computed in polyphase
// form so no inserted zero is ever multiplied. Mode selects nothing.
//
// Every output of a single-rate filter of doubles is the sum of its
// products in one fixed order (the span kernel's, SpanKernels.h), so the
// results do not depend on the processor, the word size or how the samples
// are split into firings and spans. Multirate and complex filters add the
// products of an output one at a time in tap order.
//
// Single-rate filters of doubles (M = L = 1) are the hot loop of both
// models. They keep their history as one linear stretch of samples, oldest
// first, and a copy of the taps in reverse order, read by Initialize, so
// that a span of outputs is one call of the span kernel (SpanKernels.h)
// with both running forward in memory. The stretch slides back to the
// start of its storage when it reaches the end; DelayLine is kept as a
// view of its newest samples, with the meaning the circular delay line
// gives them: offsets 0 to D - 2 hold the last D - 1 inputs, oldest first,
// and offset D - 1 is where the next input goes. An output sums the taps
// from the first to the last that is not zero, unless its window holds an
// infinite or NaN sample: then it sums every tap, so that 0 * inf gives its
// NaN. Multirate and complex filters keep the circular delay line of the
// textbook algorithm and read Taps in every firing.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

#include "blocks/KernelIsa.h"
#include "blocks/SpanKernels.h"
#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

namespace Vantra {

template <class T, int Mode>
class FIR : public DFModel {
public:
    CircularBuffer<T> Input;
    CircularBuffer<T> Output;
    CircularBuffer<T> DelayLine;

protected:
    T* DelayStorage = nullptr;  // owned; behind DelayLine

    // For derived Setups that may fail before reaching this one: after a
    // failed Setup, Run refuses until Setup and Initialize succeed again.
    void ForgetSetup() { configured_ = Shape(); }

public:
    T* Taps = nullptr;  // not owned
    std::int32_t NumTaps = 0;
    std::int32_t Decimation = 1;
    std::int32_t DecimationPhase = 0;
    std::int32_t Interpolation = 1;
    std::int32_t TapsPerPhase = 0;
    // The instruction set of the span kernels; any choice gives the same
    // bits. Read by Initialize.
    KernelIsa Isa = KernelIsa::Best;

    FIR() = default;
    ~FIR() override { FreeDelay(); }

    bool Setup() override {
        ForgetSetup();  // a failed Setup leaves nothing to run
        bool ok = true;
        if (NumTaps <= 0) {
            ReportError("There must be at least one Tap");
            ok = false;
        }
        if (Decimation < 1) {
            ReportError("Decimation must be > 0");
            ok = false;
        }
        if (DecimationPhase < 0) {
            ReportError("DecimationPhase must be >= 0");
            ok = false;
        }
        if (DecimationPhase >= Decimation) {
            ReportError("DecimationPhase must be < Decimation ratio");
            ok = false;
        }
        if (Interpolation <= 0) {
            ReportError("Interpolation must be > 0");
            ok = false;
        }
        if (!ok) return false;

        const std::size_t m = static_cast<std::size_t>(Decimation);
        const std::size_t l = static_cast<std::size_t>(Interpolation);
        Input.SetRate(m);
        Output.SetRate(l);
        DelayLine.Rate = m;
        DelayLine.WindowSize = m + static_cast<std::size_t>(NumTaps) / l + 1;
        TapsPerPhase = NumTaps / Interpolation + (NumTaps % Interpolation != 0 ? 1 : 0);

        // What Run relies on is fixed here, so a later change of the public
        // parameters without a new Setup cannot lead Run outside its arrays.
        configured_.taps = static_cast<std::size_t>(NumTaps);
        configured_.decimation = m;
        configured_.interpolation = l;
        configured_.phase = static_cast<std::size_t>(DecimationPhase);
        configured_.tapsPerPhase = static_cast<std::size_t>(TapsPerPhase);
        configured_.length = DelayLine.WindowSize;
        return true;
    }

    // Lays out and clears the history. A linear history has room for the
    // longest span the Input port can carry beyond the D - 1 samples it
    // keeps (for at least kMinRoom samples), and slides back when that room
    // is used up: memory is what counts, the slide costs a few copied
    // doubles per sample.
    bool Initialize() override {
        FreeDelay();
        const std::size_t d = configured_.length;
        if (d == 0) return true;  // never set up: Run refuses
        built_ = configured_;
        kernels_ = &SpanKernelsFor(Isa);
        std::size_t total = d;
        if (Linear()) {
            const std::size_t room = Input.Capacity > kMinRoom ? Input.Capacity : kMinRoom;
            total = (d - 1) + room + 1;
            FindNonZeroTaps();
            // The taps that are not zero, last first.
            reversedTaps_ = new T[endTap_ - firstTap_ + 1];
            for (std::size_t k = firstTap_; k < endTap_; ++k)
                reversedTaps_[endTap_ - 1 - k] = Taps[k];
        }
        DelayStorage = static_cast<T*>(DelayLine.NewArray(total));
        for (std::size_t i = 0; i < total; ++i) DelayStorage[i] = T();
        storageLength_ = total;
        end_ = d - 1;  // D - 1 zero samples of silence before the first input
        nonFiniteAge_ = kNever;
        DelayLine.Data = DelayStorage;
        DelayLine.Capacity = d;
        DelayLine.Position = 0;
        return true;
    }

    bool Run() override { return RunSpan(1) == 1; }

    // Firing f reads Input at offsets f * M onwards and writes Output at
    // offsets f * L onwards; the ports must hold the whole span.
    std::size_t RunSpan(std::size_t firings) override {
        if (firings == 0) return 0;
        // Setup may have run again since Initialize laid out the history
        // (another tap count, rate or phase with the same history length
        // included): only the shape the arrays were built for is safe.
        if (DelayStorage == nullptr || !(built_ == configured_)) {
            ReportError("FIR::Run called without a successful Setup and Initialize");
            return 0;
        }
        if (firings > Input.Capacity / built_.decimation ||
            firings > Output.Capacity / built_.interpolation) {
            ReportError("FIR::RunSpan: " + std::to_string(firings) +
                        " firings do not fit the Input and Output ports");
            return 0;
        }
        if constexpr (std::is_same<T, double>::value) {
            if (Linear()) {
                RunLinear(firings);
                return firings;
            }
        }
        for (std::size_t f = 0; f < firings; ++f)
            RunCircular(f * built_.decimation, f * built_.interpolation);
        return firings;
    }

    bool Finalize() override {
        FreeDelay();
        return true;
    }

private:
    // Everything about the filter that the history's layout and Run's
    // indexing depend on.
    struct Shape {
        std::size_t taps = 0, decimation = 0, interpolation = 0, phase = 0;
        std::size_t tapsPerPhase = 0, length = 0;

        bool SingleRate() const { return decimation == 1 && interpolation == 1; }
        bool operator==(const Shape& o) const {
            return taps == o.taps && decimation == o.decimation &&
                   interpolation == o.interpolation && phase == o.phase &&
                   tapsPerPhase == o.tapsPerPhase && length == o.length;
        }
    };
    static constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();
    // A filter fired one sample at a time would otherwise slide its whole
    // history back after every sample.
    static constexpr std::size_t kMinRoom = 32;

    Shape configured_;  // fixed by the last Setup (empty after a failed one)
    Shape built_;       // what Initialize laid the history out for
    const SpanKernels* kernels_ = nullptr;
    T* reversedTaps_ = nullptr;  // owned; the non-zero taps last first, for the span kernel
    std::size_t storageLength_ = 0;
    std::size_t end_ = 0;       // linear history: index after the newest sample
    std::size_t firstTap_ = 0;  // the taps that are not zero: [firstTap_, endTap_)
    std::size_t endTap_ = 0;
    // Samples stored since the newest non-finite one (0: the newest is one).
    std::size_t nonFiniteAge_ = 0;

    bool Linear() const { return std::is_same<T, double>::value && built_.SingleRate(); }

    void FreeDelay() {
        if (DelayStorage != nullptr) {
            DelayLine.DeleteArray(DelayStorage);
            DelayStorage = nullptr;
        }
        delete[] reversedTaps_;
        reversedTaps_ = nullptr;
        DelayLine.Data = nullptr;
        DelayLine.Capacity = 0;
        DelayLine.Position = 0;
        built_ = Shape();
    }

    void FindNonZeroTaps() {
        const std::size_t n = built_.taps;
        std::size_t first = 0, end = n;
        while (first < n && Taps[first] == T()) ++first;
        while (end > first && Taps[end - 1] == T()) --end;
        firstTap_ = first;
        endTap_ = end;
    }

    void RunLinear(std::size_t firings);  // doubles only
    void FilterChunk(const double* x, std::size_t chunk, std::size_t at);
    void Emit(const double* x, std::size_t count, std::size_t at);
    void EmitEveryTap(const double* x, std::size_t count, std::size_t at);

    // Index of the last infinite or NaN sample of x[0..n), or kNever. The
    // common case, none at all, is one pass that the compiler vectorises.
    static std::size_t LastNonFinite(const double* x, std::size_t n) {
        constexpr std::uint64_t kExponent = 0x7ff0000000000000u;
        unsigned any = 0;
        for (std::size_t i = 0; i < n; ++i) {
            std::uint64_t bits;
            std::memcpy(&bits, x + i, sizeof bits);
            any |= (bits & kExponent) == kExponent;
        }
        if (any == 0) return kNever;
        std::size_t last = n;
        while (last-- > 0) {
            std::uint64_t bits;
            std::memcpy(&bits, x + last, sizeof bits);
            if ((bits & kExponent) == kExponent) break;
        }
        return last;
    }
    void RunCircular(std::size_t inBase, std::size_t outBase);
};

// A span of a single-rate filter of doubles: the new samples join the
// linear history, and each contiguous stretch of the Output port is one
// call of the span kernel.
template <class T, int Mode>
void FIR<T, Mode>::RunLinear(std::size_t firings) {
    // Compiled for doubles only; the other element types never get here.
    if constexpr (std::is_same<T, double>::value) {
        const std::size_t d = built_.length;
        T* const h = DelayStorage;
        std::size_t done = 0;
        while (done < firings) {
            if (end_ + 1 == storageLength_) {
                // Slide the newest D - 1 samples back to the start.
                std::memmove(h, h + end_ - (d - 1), (d - 1) * sizeof(T));
                end_ = d - 1;
            }
            const std::size_t room = storageLength_ - 1 - end_;
            const std::size_t chunk = firings - done < room ? firings - done : room;
            T* const x = h + end_;
            for (std::size_t i = 0; i < chunk;) {
                // One or two contiguous stretches of the port.
                const std::size_t from = Input.IndexOf(done + i);
                const std::size_t stretch =
                    chunk - i < Input.Capacity - from ? chunk - i : Input.Capacity - from;
                if (stretch == 1)  // a lone sample: no library call
                    x[i] = Input.Data[from];
                else
                    std::memcpy(x + i, Input.Data + from, stretch * sizeof(T));
                i += stretch;
            }
            FilterChunk(x, chunk, done);
            end_ += chunk;
            done += chunk;
        }
        DelayLine.Data = h + end_ - (d - 1);
    }
}

// The outputs of the chunk x[0..chunk), just stored, into Output from
// offset `at`. An output whose window (its newest sample and the taps - 1
// before it) holds an infinite or NaN sample sums every tap, so that a zero
// tap gives its 0 * inf = NaN; every other output sums the taps that are
// not zero. Which sum an output takes depends on its own window only, never
// on how the samples were split.
template <class T, int Mode>
void FIR<T, Mode>::FilterChunk(const double* x, std::size_t chunk, std::size_t at) {
    const std::size_t taps = built_.taps;
    // The common case: nothing infinite within reach of any output.
    const bool clean = LastNonFinite(x, chunk) == kNever;
    if (clean && nonFiniteAge_ >= taps - 1) {
        Emit(x, chunk, at);
        nonFiniteAge_ = nonFiniteAge_ > kNever - chunk ? kNever : nonFiniteAge_ + chunk;
        return;
    }
    // Otherwise runs of outputs by the sum they take; age is the distance
    // from the newest non-finite sample at or before the output.
    std::size_t age = nonFiniteAge_, i = 0;
    while (i < chunk) {
        const std::size_t start = i;
        bool full = false;
        for (; i < chunk; ++i) {
            const double v = x[i];
            age = !(v - v == 0.0) ? 0 : (age == kNever ? kNever : age + 1);
            const bool f = age < taps;
            if (i == start) full = f;
            if (f != full) break;
        }
        if (full)
            EmitEveryTap(x + start, i - start, at + start);
        else
            Emit(x + start, i - start, at + start);
    }
    nonFiniteAge_ = age;
}

// Outputs at offsets at .. at + count - 1 of Output, from the samples
// ending at x[0..count), summing the taps that are not zero: one span
// kernel call per contiguous stretch of the port.
template <class T, int Mode>
void FIR<T, Mode>::Emit(const double* x, std::size_t count, std::size_t at) {
    for (std::size_t i = 0; i < count;) {
        const std::size_t o = Output.IndexOf(at + i);
        const std::size_t n = count - i < Output.Capacity - o ? count - i : Output.Capacity - o;
        // The output at x[i] reads back to x[i - (endTap_ - 1)].
        if constexpr (std::is_same<T, double>::value)
            kernels_->FirSpan(reversedTaps_, endTap_ - firstTap_, x + i - (endTap_ - 1),
                              Output.Data + o, n);
        i += n;
    }
}

// The same for outputs whose window holds an infinite or NaN sample, over
// every tap, in the span kernel's order (four partial sums by the distance
// from the last tap, from the oldest sample on). Their sums are infinite or
// NaN anyway; this rare path reads Taps directly, one output at a time.
template <class T, int Mode>
void FIR<T, Mode>::EmitEveryTap(const double* x, std::size_t count, std::size_t at) {
    const std::size_t taps = built_.taps;
    for (std::size_t i = 0; i < count; ++i) {
        T p[4] = {T(), T(), T(), T()};
        for (std::size_t j = 0; j < taps; ++j) {
            const std::size_t k = taps - 1 - j;
            p[j % 4] = p[j % 4] + Taps[k] * *(x + i - k);
        }
        Output.ElementAt(at + i) = (p[0] + p[2]) + (p[1] + p[3]);
    }
}

// One firing of the textbook polyphase algorithm on the circular delay
// line, reading Input from offset inBase and writing Output from outBase.
template <class T, int Mode>
void FIR<T, Mode>::RunCircular(std::size_t inBase, std::size_t outBase) {
    const std::size_t d = built_.length;
    const std::size_t m = built_.decimation;
    const std::size_t l = built_.interpolation;
    const std::size_t taps = built_.taps;
    for (std::size_t i = 0; i < m; ++i)
        DelayLine.ElementAt(d - m + i) = Input.ElementAt(inBase + i);

    std::size_t a = built_.phase;
    std::size_t o = 0;
    for (std::size_t j = 1; j <= m; ++j) {
        while (a < l) {
            T sum = T();
            std::size_t t = a;
            std::size_t e = d - m + j - 1;
            for (std::size_t k = 0; k < built_.tapsPerPhase; ++k) {
                if (t < taps) sum += Taps[t] * DelayLine.ElementAt(e);
                t += l;
                --e;
            }
            Output.ElementAt(outBase + o) = sum;
            ++o;
            a += m;
        }
        a -= l;
    }
    std::size_t p = DelayLine.Position + m;
    if (p >= d) p -= d;
    DelayLine.Position = p;
}

extern template class FIR<double, 1>;
extern template class FIR<double, 0>;
extern template class FIR<std::complex<double>, 0>;

}  // namespace Vantra
