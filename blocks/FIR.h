// FIR<T, Mode>: multirate finite-impulse-response filter block. Each firing
// takes Decimation (M) samples from Input and writes Interpolation (L)
// samples to Output, as if the input were upsampled by L, filtered by Taps
// and downsampled by M from DecimationPhase (P) on, computed in polyphase
// form so no inserted zero is ever multiplied. Mode selects nothing.
//
// Single-rate filters (M = L = 1) are the hot loop of both models. Besides
// the DelayLine port (kept exactly: Data, Capacity, Position, ElementAt),
// they keep a second copy of the history in reverse time order and twice
// over, so the newest NumTaps samples always lie in one forward stretch and
// each output is a single vectorised dot product with Taps.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>

#include "blocks/DotProduct.h"
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
    T* DelayStorage = nullptr;  // owned; behind DelayLine (and the mirror)

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

    FIR() = default;
    ~FIR() override { FreeDelay(); }

    bool Setup() override
    {
        ForgetSetup();  // a failed Setup leaves nothing to run
        bool ok = true;
        if (NumTaps <= 0) { ReportError("There must be at least one Tap"); ok = false; }
        if (Decimation < 1) { ReportError("Decimation must be > 0"); ok = false; }
        if (DecimationPhase < 0) { ReportError("DecimationPhase must be >= 0"); ok = false; }
        if (DecimationPhase >= Decimation) {
            ReportError("DecimationPhase must be < Decimation ratio");
            ok = false;
        }
        if (Interpolation <= 0) { ReportError("Interpolation must be > 0"); ok = false; }
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

    bool Initialize() override
    {
        FreeDelay();
        const std::size_t d = configured_.length;
        if (d == 0) return true;  // never set up: Run refuses
        // Single-rate filters also hold the reversed, doubled history.
        const std::size_t total = configured_.SingleRate() ? 3 * d : d;
        DelayStorage = static_cast<T*>(DelayLine.NewArray(total));
        DelayLine.Data = DelayStorage;
        DelayLine.Capacity = d;
        DelayLine.Position = 0;
        DelayLine.ClearRange(0, d);
        for (std::size_t i = d; i < total; ++i) DelayStorage[i] = T();
        mirror_ = DelayStorage + d;
        mirrorPos_ = 0;
        built_ = configured_;
        SelectKernel();
        return true;
    }

    bool Run() override
    {
        // Setup may have run again since Initialize laid out the history
        // (another tap count, rate or phase with the same history length
        // included): only the shape the arrays were built for is safe.
        if (DelayStorage == nullptr || !(built_ == configured_)) {
            ReportError("FIR::Run called without a successful Setup and Initialize");
            return false;
        }
        if (built_.SingleRate()) {
            RunSingleRate();
            return true;
        }
        RunMultirate();
        return true;
    }

    bool Finalize() override
    {
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
        bool operator==(const Shape& o) const
        {
            return taps == o.taps && decimation == o.decimation &&
                   interpolation == o.interpolation && phase == o.phase &&
                   tapsPerPhase == o.tapsPerPhase && length == o.length;
        }
    };
    Shape configured_;  // fixed by the last Setup (empty after a failed one)
    Shape built_;       // what Initialize laid the history out for
    T* mirror_ = nullptr;        // reversed history, 2 * D elements
    std::size_t mirrorPos_ = 0;  // index of the newest sample in mirror_
    DotFunction dot_ = nullptr;

    void FreeDelay()
    {
        if (DelayStorage != nullptr) {
            DelayLine.DeleteArray(DelayStorage);
            DelayStorage = nullptr;
        }
        DelayLine.Data = nullptr;
        DelayLine.Capacity = 0;
        DelayLine.Position = 0;
        mirror_ = nullptr;
        built_ = Shape();
    }

    void SelectKernel();
    T Dot(const T* taps, const T* history, std::size_t n) const;

    void RunSingleRate()
    {
        const std::size_t d = built_.length;
        const T x = Input.ElementAt(0);
        DelayLine.ElementAt(d - 1) = x;
        mirrorPos_ = (mirrorPos_ == 0 ? d : mirrorPos_) - 1;
        mirror_[mirrorPos_] = x;
        mirror_[mirrorPos_ + d] = x;
        // mirror_[mirrorPos_ + k] is the input k samples ago, k < D.
        Output.ElementAt(0) =
            Dot(Taps, mirror_ + mirrorPos_, built_.taps);
        AdvanceDelayLine();
    }

    void RunMultirate()
    {
        const std::size_t d = built_.length;
        const std::size_t m = built_.decimation;
        const std::size_t l = built_.interpolation;
        const std::size_t taps = built_.taps;
        for (std::size_t i = 0; i < m; ++i) DelayLine.ElementAt(d - m + i) = Input.ElementAt(i);

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
                Output.ElementAt(o) = sum;
                ++o;
                a += m;
            }
            a -= l;
        }
        AdvanceDelayLine();
    }

    void AdvanceDelayLine()
    {
        std::size_t p = DelayLine.Position + built_.decimation;
        if (p >= built_.length) p -= built_.length;
        DelayLine.Position = p;
    }
};

template <>
inline void FIR<double, 0>::SelectKernel() { dot_ = SelectDotKernel(); }
template <>
inline void FIR<double, 1>::SelectKernel() { dot_ = SelectDotKernel(); }
template <>
inline void FIR<std::complex<double>, 0>::SelectKernel() {}

template <>
inline double FIR<double, 0>::Dot(const double* a, const double* b, std::size_t n) const
{
    return dot_(a, b, n);
}
template <>
inline double FIR<double, 1>::Dot(const double* a, const double* b, std::size_t n) const
{
    return dot_(a, b, n);
}
template <>
inline std::complex<double> FIR<std::complex<double>, 0>::Dot(const std::complex<double>* a,
                                                              const std::complex<double>* b,
                                                              std::size_t n) const
{
    return DotGeneric(a, b, n);
}

extern template class FIR<double, 1>;
extern template class FIR<double, 0>;
extern template class FIR<std::complex<double>, 0>;

}  // namespace Vantra
