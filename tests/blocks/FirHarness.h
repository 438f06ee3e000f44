// Drives a FIR block through its lifecycle with port arrays owned by the
// test, one firing at a time, as a network would.
#pragma once

#include <vector>

#include "blocks/FIR.h"

template <class Fir, class T = double>
struct FirHarness {
    Fir& fir;
    std::vector<T> in, out;

    explicit FirHarness(Fir& f) : fir(f) {}

    bool Start()
    {
        if (!fir.Setup()) return false;
        in.assign(fir.Input.Rate, T());
        out.assign(fir.Output.Rate, T());
        fir.Input.Data = in.data();
        fir.Input.Capacity = in.size();
        fir.Output.Data = out.data();
        fir.Output.Capacity = out.size();
        return fir.Initialize();
    }

    // Feeds the samples Decimation at a time; returns every output.
    std::vector<T> Feed(const std::vector<T>& x)
    {
        std::vector<T> y;
        for (std::size_t i = 0; i + in.size() <= x.size(); i += in.size()) {
            for (std::size_t k = 0; k < in.size(); ++k) in[k] = x[i + k];
            fir.Run();
            y.insert(y.end(), out.begin(), out.end());
        }
        return y;
    }
};
