// AmiOperatingRange: the data rates and samples per bit the kit's models
// are characterised for, as the kit's README and .ami files state them.
//
// The responses were characterised at 6 Gb/s on a grid of 1/128 bit; from
// 1 to 8.5 Gb/s every de-emphasis setting fits the transmitter's history
// at 16 to 128 samples per bit, and at 16 samples per bit or more the
// filters designed on the simulator's grid keep the equaliser's gain to a
// few percent. AMI_Init outside the range still runs what the model can
// run, and its message names the range, so the user knows the result is
// not one the kit vouches for.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace ami_range {

constexpr double kMinBitRate = 1e9;  // bits per second
constexpr double kMaxBitRate = 8.5e9;
constexpr std::int32_t kMinSamplesPerBit = 16;
constexpr std::int32_t kMaxSamplesPerBit = 128;

inline std::string Number(const char* format, double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

// "" inside the range; else one sentence naming the range and what the
// call asked for, ending in a blank like every message of the instance.
inline std::string OutsideMessage(const char* model, double bitTime, double sampleInterval,
                                  std::int32_t samplesPerBit) {
    const double rate = 1.0 / bitTime;
    const bool rateOut =
        !(rate >= kMinBitRate * (1.0 - 1e-9) && rate <= kMaxBitRate * (1.0 + 1e-9));
    const bool spbOut = samplesPerBit < kMinSamplesPerBit || samplesPerBit > kMaxSamplesPerBit;
    if (!rateOut && !spbOut) return "";
    const std::string asked =
        rateOut && spbOut
            ? "bit_time " + Number("%g", bitTime) + " s (" + Number("%.4g", rate * 1e-9) +
                  " Gb/s) and sample_interval " + Number("%g", sampleInterval) + " s (" +
                  std::to_string(samplesPerBit) + " samples per bit) are"
        : rateOut ? "bit_time " + Number("%g", bitTime) + " s (" + Number("%.4g", rate * 1e-9) +
                        " Gb/s) is"
                  : "sample_interval " + Number("%g", sampleInterval) + " s (" +
                        std::to_string(samplesPerBit) + " samples per bit) is";
    return std::string("The IBIS-AMI model, ") + model + ", supports bit rates from " +
           Number("%g", kMinBitRate * 1e-9) + " to " + Number("%g", kMaxBitRate * 1e-9) +
           " Gb/s with " + std::to_string(kMinSamplesPerBit) + " to " +
           std::to_string(kMaxSamplesPerBit) + " samples per bit; the " + asked +
           " outside that range. ";
}

}  // namespace ami_range
