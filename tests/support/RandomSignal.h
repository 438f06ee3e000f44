// RandomSignal: a reproducible vector of uniform samples in [-amplitude,
// amplitude], shared by the tests and benchmarks that need noise-like input.
#pragma once

#include <cstddef>
#include <random>
#include <vector>

inline std::vector<double> RandomSignal(std::size_t n, unsigned seed, double amplitude = 1.0)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> d(-amplitude, amplitude);
    std::vector<double> v(n);
    for (double& e : v) e = d(gen);
    return v;
}
