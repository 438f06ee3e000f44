#include "tools/ami-sim/Random.h"

#include <cmath>

namespace amisim {

namespace {

std::uint64_t SplitMix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t Rotate(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

}  // namespace

Random::Random(std::uint64_t seed, RandomStream stream) {
    std::uint64_t x = seed ^ (static_cast<std::uint64_t>(stream) * 0xD1B54A32D192ED03ull);
    for (std::uint64_t& s : s_) s = SplitMix(x);
}

std::uint64_t Random::Next() {
    const std::uint64_t result = Rotate(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotate(s_[3], 45);
    return result;
}

double Random::Uniform() {
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double Random::Gaussian() {
    if (haveSpare_) {
        haveSpare_ = false;
        return spare_;
    }
    const double u = 1.0 - Uniform();  // (0, 1]: the logarithm stays finite
    const double v = Uniform();
    const double r = std::sqrt(-2.0 * std::log(u));
    spare_ = r * std::sin(2.0 * M_PI * v);
    haveSpare_ = true;
    return r * std::cos(2.0 * M_PI * v);
}

}  // namespace amisim
