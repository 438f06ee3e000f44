// The data rates and samples per bit that simulators commonly use: the
// points of the same-bits sweep (ProbeSweep.h), over which the networks'
// memory is bounded too (tests/models, bench/AmiBench.cpp).
#pragma once

namespace probe {

const double kRates[] = {1, 2.5, 3.125, 5, 6, 6.25, 8, 10, 10.3125, 12.5, 16, 25, 28, 32};  // Gb/s
const int kSamplesPerBit[] = {8, 16, 20, 25, 32, 50, 64, 100, 128};

}  // namespace probe
