// CircularBuffer<T>: a port over plain samples (bool, int, float, double,
// complex, EnvelopeSignal). Copies are bytewise, one memcpy per contiguous
// stretch. Buffers of matrices specialise this template (CircularBufferE).
#pragma once

#include <cstring>
#include <new>
#include <type_traits>

#include "dataflow/CircularBufferBase.h"
#include "dataflow/CircularBufferE.h"
#include "dataflow/Matrix.h"

namespace Vantra {

template <class T>
class CircularBuffer : public CircularBufferBase {
    static_assert(std::is_trivially_copyable<T>::value, "plain sample buffers copy bytewise");

public:
    T* Data = nullptr;

    CircularBuffer() : CircularBufferBase(sizeof(T)) {}

    T& ElementAt(std::size_t offset) { return Data[IndexOf(offset)]; }
    const T& ElementAt(std::size_t offset) const { return Data[IndexOf(offset)]; }

    // The count samples from offset on as one array, or null when they wrap
    // around the end of Data (or count exceeds Capacity): blocks that fire
    // over a span take the plain loop when they can.
    T* Stretch(std::size_t offset, std::size_t count) {
        if (count > Capacity || offset >= Capacity) return nullptr;
        const std::size_t i = IndexOf(offset);
        return count <= Capacity - i ? Data + i : nullptr;
    }

    void CopyTo(std::size_t srcOffset, CircularBufferBase& dstBase, std::size_t dstOffset,
                std::size_t count) const override {
        CopyTo(srcOffset, static_cast<CircularBuffer&>(dstBase), dstOffset, count);
    }

    void CopyTo(std::size_t srcOffset, CircularBuffer& dst, std::size_t dstOffset,
                std::size_t count) const {
        std::size_t s = IndexOf(srcOffset);
        std::size_t d = dst.IndexOf(dstOffset);
        if (count == 1) {
            dst.Data[d] = Data[s];
            return;
        }
        while (count != 0) {
            std::size_t n = count;
            if (Capacity - s < n) n = Capacity - s;
            if (dst.Capacity - d < n) n = dst.Capacity - d;
            std::memcpy(dst.Data + d, Data + s, n * sizeof(T));
            d += n;
            if (d == dst.Capacity) d = 0;
            s += n;
            if (s == Capacity) s = 0;
            count -= n;
        }
    }

    void CopyElements(const void* src, void* dst, std::size_t count) const override {
        if (count != 0) std::memcpy(dst, src, count * ElementSize);
    }

    bool ClearRange(std::size_t offset, std::size_t count, const void* = nullptr) override {
        // The index steps and wraps on its own, as in CopyTo, so a range
        // that starts near the end of the array stays inside it.
        std::size_t k = IndexOf(offset);
        for (std::size_t i = 0; i < count; ++i) {
            Data[k] = T();
            if (++k == Capacity) k = 0;
        }
        return true;
    }

    void* NewArray(std::size_t n) const override {
        // new[] itself refuses an element count whose byte size overflows.
        if (std::is_arithmetic<T>::value) return new T[n];
        return new T[n]();
    }

    void DeleteArray(void* p) override {
        if (p != nullptr) {
            delete[] static_cast<T*>(p);
            return;
        }
        delete[] Data;
        Data = nullptr;
        Position = 0;
        Capacity = 0;
    }
};

// Matrix samples own heap storage and use the element-wise base.
template <class T>
class CircularBuffer<Matrix<T>> : public CircularBufferE<Matrix<T>> {};

}  // namespace Vantra
