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
        auto& dst = static_cast<CircularBufferE&>(dstBase);
        for (std::size_t i = 0; i < count; ++i)
            dst.Data[dst.IndexOf(dstOffset + i)] = Data[IndexOf(srcOffset + i)];
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
        for (std::size_t i = 0; i < count; ++i) {
            E& e = Data[IndexOf(offset + i)];
            if (proto != nullptr) e.ReshapeLike(*proto);  // reshape zero-fills
            else e = E();
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
