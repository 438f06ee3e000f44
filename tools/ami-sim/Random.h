// Random: the run's own random numbers, the same on every platform and
// compiler for a given seed (the standard library's distributions are not):
// xoshiro256** seeded through splitmix64 from the run's seed and a stream
// number, so the transmitter's jitter and the receiver's noise draw from
// streams that do not shift when the other one changes.
#pragma once

#include <cstdint>

namespace amisim {

enum class RandomStream : std::uint64_t { TxJitter = 1, SamplerJitter = 2, SamplerNoise = 3 };

class Random {
public:
    Random(std::uint64_t seed, RandomStream stream);

    std::uint64_t Next();
    // Uniform in [0, 1) with 53 random bits.
    double Uniform();
    // Standard normal, by the Box-Muller transform (both values are used).
    double Gaussian();
    // -1 or +1 with equal odds.
    double Sign() { return (Next() >> 63) != 0 ? 1.0 : -1.0; }

private:
    std::uint64_t s_[4];
    double spare_ = 0.0;
    bool haveSpare_ = false;
};

}  // namespace amisim
