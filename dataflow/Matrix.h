// Matrix<T>: a small N-dimensional array value (element storage plus the
// extent of each dimension), the element type of the matrix buffers.
// Assignment copies the shape and the values.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace Vantra {

template <class T>
class Matrix {
public:
    Matrix() = default;
    explicit Matrix(std::vector<std::size_t> dims) { Reshape(std::move(dims)); }
    Matrix(const Matrix& o) { *this = o; }
    Matrix(Matrix&&) noexcept = default;
    Matrix& operator=(Matrix&&) noexcept = default;
    Matrix& operator=(const Matrix& o)
    {
        if (this != &o) {
            Reshape(o.Dims);
            std::copy(o.Values.get(), o.Values.get() + o.N, Values.get());
        }
        return *this;
    }

    // New shape, all values zero.
    void Reshape(std::vector<std::size_t> dims)
    {
        std::size_t n = dims.empty() ? 0 : 1;
        for (std::size_t e : dims) n *= e;
        Dims = std::move(dims);
        Values.reset(n != 0 ? new T[n]() : nullptr);
        N = n;
    }
    template <class U>
    void ReshapeLike(const Matrix<U>& other) { Reshape(other.Extents()); }

    std::size_t NumDims() const { return Dims.size(); }
    const std::vector<std::size_t>& Extents() const { return Dims; }
    std::size_t Count() const { return N; }
    T* Elements() { return Values.get(); }
    const T* Elements() const { return Values.get(); }
    T& operator[](std::size_t i) { return Values[i]; }
    const T& operator[](std::size_t i) const { return Values[i]; }

private:
    std::vector<std::size_t> Dims;
    std::unique_ptr<T[]> Values;
    std::size_t N = 0;
};

}  // namespace Vantra
