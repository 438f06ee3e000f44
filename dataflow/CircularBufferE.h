// CircularBufferE<E>: a port whose elements own heap storage (matrices).
// Copies go element by element through assignment, clearing reshapes to a
// prototype, and arrays are constructed and destroyed element-wise.
#pragma once

#include <cstring>
#include <type_traits>

#include <algorithm>

#include "dataflow/CircularBufferBase.h"
#include "dataflow/Matrix.h"

namespace Vantra {

template <class E>
class CircularBufferE : public CircularBufferBase {
public:
    E* Data = nullptr;

    CircularBufferE() : CircularBufferBase(sizeof(E)) {}

    E& ElementAt(std::size_t offset) { return Data[IndexOf(offset)]; }
    const E& ElementAt(std::size_t offset) const { return Data[IndexOf(offset)]; }

    void CopyTo(std::size_t srcOffset, CircularBufferBase& dstBase,
                std::size_t dstOffset, std::size_t count) const override
    {
        // Both sides wrap independently: the start indices come from the
        // offsets, then each index steps on and wraps at its own Capacity,
        // so any count up to Capacity stays inside both arrays.
        auto& dst = static_cast<CircularBufferE&>(dstBase);
        std::size_t s = IndexOf(srcOffset);
        std::size_t d = dst.IndexOf(dstOffset);
        for (std::size_t i = 0; i < count; ++i) {
            dst.Data[d] = Data[s];
            if (++s == Capacity) s = 0;
            if (++d == dst.Capacity) d = 0;
        }
    }

    void CopyElements(const void* src, void* dst, std::size_t count) const override
    {
        const E* s = static_cast<const E*>(src);
        E* d = static_cast<E*>(dst);
        for (std::size_t i = 0; i < count; ++i) {
            d[i].ReshapeLike(s[i]);
            if (s[i].Count() != 0)
                std::copy(s[i].Elements(), s[i].Elements() + s[i].Count(), d[i].Elements());
        }
    }

    bool ClearRange(std::size_t offset, std::size_t count,
                    const void* prototype = nullptr) override
    {
        const E* proto = static_cast<const E*>(prototype);
        std::size_t k = IndexOf(offset);
        for (std::size_t i = 0; i < count; ++i) {
            E& e = Data[k];
            if (proto != nullptr) e.ReshapeLike(*proto);  // reshape zero-fills
            else e = E();
            if (++k == Capacity) k = 0;
        }
        return true;
    }

    void* NewArray(std::size_t n) const override { return new E[n]; }

    void DeleteArray(void* p) override
    {
        if (p != nullptr) {
            delete[] static_cast<E*>(p);
            return;
        }
        delete[] Data;
        Data = nullptr;
        Position = 0;
        Capacity = 0;
    }
};

}  // namespace Vantra
