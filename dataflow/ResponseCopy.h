// ResponseCopy: a network's private copy of a read-only response table.
// A time-response filter shifts its time stamps in place, so every Setup
// hands each filter fresh copies and the tables themselves never change.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>

namespace Vantra {

class ResponseCopy {
public:
    double* Make(const double* table, std::size_t n)
    {
        data_.reset(new double[n]);
        std::copy(table, table + n, data_.get());
        return data_.get();
    }
    void Release() { data_.reset(); }
    double* Get() const { return data_.get(); }

private:
    std::unique_ptr<double[]> data_;
};

}  // namespace Vantra
