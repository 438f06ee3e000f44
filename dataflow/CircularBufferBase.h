// CircularBufferBase: the untyped part of a block port. A port addresses
// samples by offset from Position over an element array it does not own;
// the typed classes fill in the element operations.
#pragma once

#include <cstddef>

namespace Vantra {

class CircularBufferBase {
public:
    std::size_t Rate = 1;        // samples moved through the port per firing
    std::size_t WindowSize = 1;  // samples addressable in one firing
    std::size_t ElementSize;     // bytes per element
    std::size_t Position = 0;    // array index of offset 0 (oldest sample)
    std::size_t Capacity = 0;    // elements in the attached array
    bool Connected = true;

    explicit CircularBufferBase(std::size_t elementSize) : ElementSize(elementSize) {}
    CircularBufferBase(const CircularBufferBase&) = default;
    CircularBufferBase& operator=(const CircularBufferBase&) = default;
    virtual ~CircularBufferBase() = default;

    // Copies count samples from offset srcOffset of this buffer into dst
    // (a buffer of the same class) from dstOffset on; both sides wrap.
    virtual void CopyTo(std::size_t srcOffset, CircularBufferBase& dst,
                        std::size_t dstOffset, std::size_t count) const = 0;
    // Copies count consecutive elements between plain arrays, no wrap.
    virtual void CopyElements(const void* src, void* dst, std::size_t count) const = 0;
    // Zeroes count samples from offset on. Always true.
    virtual bool ClearRange(std::size_t offset, std::size_t count,
                            const void* prototype = nullptr) = 0;
    virtual void* NewArray(std::size_t n) const = 0;
    // Releases p; with a null p releases this port's own array and empties it.
    virtual void DeleteArray(void* p) = 0;

    // Array index of a sample offset: one comparison and one subtraction,
    // exact while Position + offset stays below twice Capacity.
    std::size_t IndexOf(std::size_t offset) const
    {
        std::size_t i = Position;
        if (offset != 0) {
            i += offset;
            if (i >= Capacity) i -= Capacity;
        }
        return i;
    }

    void SetRate(std::size_t n)
    {
        Rate = n;
        if (WindowSize < n) WindowSize = n;
    }
};

}  // namespace Vantra
