// ConnectionTable<N>: the connection cells a network owns. Each cell is one
// element array, as long as the network's span, shared by the producer port
// and every consumer port of one connection, so nothing is copied along an
// internal connection: a consumer reads at offset f the very sample its
// producer wrote there in firing f of the span.
//
// A network may also give one cell to several connections whose samples
// are never needed at the same time (Share): a fork's branches and its
// input, or the input and output of a block that works in place.
#pragma once

#include <cstddef>
#include <type_traits>

namespace Vantra {

template <std::size_t N>
class ConnectionTable {
public:
    ConnectionTable() = default;
    ConnectionTable(const ConnectionTable&) = delete;
    ConnectionTable& operator=(const ConnectionTable&) = delete;
    ~ConnectionTable() { Release(); }

    // Allocates cell `index` (0-based) of `length` zeroed T (at least one)
    // and attaches it to every port given: Data = the cell, Capacity =
    // length, Rate 1, Position 0.
    template <class T, class... Ports>
    void Connect(std::size_t index, std::size_t length, Ports&... ports) {
        Free(cells_[index]);
        if (length == 0) length = 1;
        cells_[index] = Cell{new T[length](), length, &DeleteArray<T>};
        Share(index, ports...);
    }

    // Attaches cell `index`, as Connect allocated it, to more ports. A port
    // whose elements are not the cell's, or a cell not allocated, leaves the
    // port as it was.
    template <class... Ports>
    void Share(std::size_t index, Ports&... ports) {
        (Attach(ports, cells_[index]), ...);
    }

    // Releases every cell; a cell already released is skipped.
    void Release() {
        for (Cell& c : cells_) Free(c);
    }

    bool Holds(std::size_t index) const { return cells_[index].data != nullptr; }

private:
    struct Cell {
        void* data = nullptr;
        std::size_t length = 0;
        void (*destroy)(void*) = nullptr;  // also tells the element type
    };
    Cell cells_[N];

    template <class T>
    static void DeleteArray(void* p) {
        delete[] static_cast<T*>(p);
    }

    static void Free(Cell& c) {
        if (c.data != nullptr) c.destroy(c.data);
        c = Cell();
    }

    template <class Port>
    static void Attach(Port& port, const Cell& c) {
        using T = std::remove_pointer_t<decltype(port.Data)>;
        if (c.data == nullptr || c.destroy != &DeleteArray<T>) return;
        port.Data = static_cast<T*>(c.data);
        port.Capacity = c.length;
        port.Rate = 1;
        port.Position = 0;
    }
};

}  // namespace Vantra
