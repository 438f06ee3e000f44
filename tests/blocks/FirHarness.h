// Drives a FIR block through its lifecycle with port arrays owned by the
// test, as a network would: one firing at a time, or in spans of firings
// over ports long enough for the longest span.
#pragma once

#include <vector>

#include "blocks/FIR.h"

template <class Fir, class T = double>
struct FirHarness {
    Fir& fir;
    std::vector<T> in, out;

    explicit FirHarness(Fir& f) : fir(f) {}

    bool Start(std::size_t span = 1) {
        if (!fir.Setup()) return false;
        in.assign(fir.Input.Rate * span, T());
        out.assign(fir.Output.Rate * span, T());
        fir.Input.Data = in.data();
        fir.Input.Capacity = in.size();
        fir.Output.Data = out.data();
        fir.Output.Capacity = out.size();
        return fir.Initialize();
    }

    // Feeds the samples Decimation at a time; returns every output.
    std::vector<T> Feed(const std::vector<T>& x) {
        std::vector<T> y;
        const std::size_t m = fir.Input.Rate;
        for (std::size_t i = 0; i + m <= x.size(); i += m) {
            for (std::size_t k = 0; k < m; ++k) in[k] = x[i + k];
            fir.Run();
            y.insert(y.end(), out.begin(), out.begin() + fir.Output.Rate);
        }
        return y;
    }

    // Feeds the samples in spans of firings, the span lengths taken in turn
    // from spans (each at most the span Start was given); returns every
    // output.
    std::vector<T> FeedSpans(const std::vector<T>& x, const std::vector<std::size_t>& spans) {
        std::vector<T> y;
        const std::size_t m = fir.Input.Rate, l = fir.Output.Rate;
        std::size_t i = 0, turn = 0;
        while (i + m <= x.size()) {
            std::size_t firings = spans[turn++ % spans.size()];
            if (firings > (x.size() - i) / m) firings = (x.size() - i) / m;
            for (std::size_t k = 0; k < firings * m; ++k) in[k] = x[i + k];
            if (fir.RunSpan(firings) != firings) break;
            y.insert(y.end(), out.begin(), out.begin() + firings * l);
            i += firings * m;
        }
        return y;
    }
};
