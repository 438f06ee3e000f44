// ConnectionTable<N>: the one-sample connection cells a network owns. Each
// cell is one element shared by the producer port and every consumer port
// of one connection, so nothing is copied along an internal connection.
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

    // Allocates cell `index` (0-based) holding one zeroed T and attaches it
    // to every port given: Data = the cell, Capacity 1, Rate 1, Position 0.
    template <class T, class... Ports>
    void Connect(std::size_t index, Ports&... ports)
    {
        Free(cells_[index]);
        T* cell = new T();
        cells_[index] = Cell{cell, [](void* p) { delete static_cast<T*>(p); }};
        (Attach(ports, cell), ...);
    }

    // Releases every cell; a cell already released is skipped.
    void Release()
    {
        for (Cell& c : cells_) Free(c);
    }

    bool Holds(std::size_t index) const { return cells_[index].data != nullptr; }

private:
    struct Cell {
        void* data = nullptr;
        void (*destroy)(void*) = nullptr;
    };
    Cell cells_[N];

    static void Free(Cell& c)
    {
        if (c.data != nullptr) c.destroy(c.data);
        c = Cell();
    }

    template <class Port, class T>
    static void Attach(Port& port, T* cell)
    {
        port.Data = cell;
        port.Capacity = 1;
        port.Rate = 1;
        port.Position = 0;
    }
};

}  // namespace Vantra
