// CircularBufferBus: a multi-branch port. The bus owns its branch buffer
// objects (never their element storage) and is sized by its owner before
// Setup.
#pragma once

#include <cstddef>

#include "dataflow/CircularBufferBase.h"

namespace Vantra {

class CircularBufferBus {
public:
    virtual void Resize(std::size_t n) = 0;
    virtual ~CircularBufferBus() = default;
    virtual CircularBufferBase& At(std::size_t i) = 0;
};

template <class Buf>
class CircularBufferBusT : public CircularBufferBus {
public:
    std::size_t Width = 0;
    Buf* Branches = nullptr;

    CircularBufferBusT() = default;
    CircularBufferBusT(const CircularBufferBusT&) = delete;
    CircularBufferBusT& operator=(const CircularBufferBusT&) = delete;
    ~CircularBufferBusT() override { delete[] Branches; }

    // Same width: nothing changes. Otherwise every branch is replaced by a
    // fresh one, so rates and storage must be set again.
    void Resize(std::size_t n) override
    {
        if (n == Width) return;
        delete[] Branches;
        Branches = nullptr;
        Width = n;
        if (n != 0) Branches = new Buf[n];
    }

    Buf& At(std::size_t i) override { return Branches[i]; }
};

}  // namespace Vantra
