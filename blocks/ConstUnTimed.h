// ConstUnTimed<T>: a constant source. Each firing writes one sample to
// Output: zero for the first InitialDelay firings after Initialize, then
// Value; a span of firings writes one sample each. ConstUnTimedBase holds
// the firing logic; the derived class knows how to write the zero of its
// element type (EmitDelaySample).
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "dataflow/CircularBuffer.h"
#include "dataflow/DFModel.h"

namespace Vantra {

template <class T, class Buf>
class ConstUnTimedBase : public DFModel {
public:
    Buf Output;
    T Value{};
    std::int32_t InitialDelay = 0;  // firings that emit zero; parameter
    std::size_t FiringCount = 0;    // firings since Initialize

    bool Initialize() override {
        FiringCount = 0;
        return CheckParameters();
    }

    bool CheckParameters() override {
        if (InitialDelay < 0) {
            ReportError("InitialDelay must be >= 0");
            return false;
        }
        return true;
    }

    bool Run() override {
        if (FiringCount < Delay())
            EmitDelaySample();
        else
            Output.ElementAt(0) = Value;
        Count(1);
        return true;
    }

    // Firing f writes offset f of Output.
    std::size_t RunSpan(std::size_t firings) override {
        if (firings > Output.Capacity) {
            ReportError("ConstUnTimed::RunSpan: " + std::to_string(firings) +
                        " firings do not fit the Output port");
            return 0;
        }
        const std::size_t position = Output.Position;
        std::size_t f = 0;
        for (; f < firings && FiringCount < Delay(); ++f) {
            // The delay's zero is written by EmitDelaySample, which knows
            // offset 0 only: the port is moved to the firing's sample.
            Output.Position = Output.IndexOf(f);
            Run();
            Output.Position = position;
        }
        if (T* out = Output.Stretch(f, firings - f)) {
            for (std::size_t g = 0; g < firings - f; ++g) out[g] = Value;
        } else {
            for (std::size_t g = f; g < firings; ++g) Output.ElementAt(g) = Value;
        }
        Count(firings - f);
        return firings;
    }

    // Writes the zero of T into the current sample of Output.
    virtual void EmitDelaySample() = 0;

private:
    // The delay is widened with its sign, so a negative one (refused by
    // Initialize) would hold the output at zero rather than skip it.
    std::size_t Delay() const {
        return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(InitialDelay));
    }
    // Saturates rather than wraps: on a 32-bit build a very long run would
    // otherwise fall back into the delay.
    void Count(std::size_t n) {
        const std::size_t left = std::numeric_limits<std::size_t>::max() - FiringCount;
        FiringCount += n < left ? n : left;
    }
};

template <class T>
class ConstUnTimed : public ConstUnTimedBase<T, CircularBuffer<T>> {
public:
    ConstUnTimed() { this->Value = T(); }

    void EmitDelaySample() override { this->Output.ElementAt(0) = T(); }
};

extern template class ConstUnTimedBase<double, CircularBuffer<double>>;
extern template class ConstUnTimed<double>;

}  // namespace Vantra
