// ConnectionTable<N>: the connection cells a network owns. Each cell is one
// element array, as long as the network's span, shared by the producer port
// and every consumer port of one connection, so nothing is copied along an
// internal connection: a consumer reads at offset f the very sample its
// producer wrote there in firing f of the span.
#pragma once

#include <cstddef>

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
        T* cell = new T[length]();
        cells_[index] = Cell{cell, [](void* p) { delete[] static_cast<T*>(p); }};
        (Attach(ports, cell, length), ...);
    }

    // Releases every cell; a cell already released is skipped.
    void Release() {
        for (Cell& c : cells_) Free(c);
    }

    bool Holds(std::size_t index) const { return cells_[index].data != nullptr; }

private:
    struct Cell {
        void* data = nullptr;
        void (*destroy)(void*) = nullptr;
    };
    Cell cells_[N];

    static void Free(Cell& c) {
        if (c.data != nullptr) c.destroy(c.data);
        c = Cell();
    }

    template <class Port, class T>
    static void Attach(Port& port, T* cell, std::size_t length) {
        port.Data = cell;
        port.Capacity = length;
        port.Rate = 1;
        port.Position = 0;
    }
};

}  // namespace Vantra
