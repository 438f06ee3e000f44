// TimeResponseFIR: a single-rate FIR whose taps are designed in Setup from
// a tabulated impulse or step response with time stamps. The response is
// resampled onto the sample grid (impulse: four-point cubic spline; step:
// derivative of a three-point quadratic) and scaled by the sample interval,
// so filtering approximates convolution with the continuous response.
#pragma once

#include <cstdint>

#include "blocks/FIR.h"

namespace Vantra {

enum TimeResponseType : std::int32_t { ImpulseResponse = 0, StepResponse = 1 };

class TimeResponseFIR : public FIR<double, 0> {
public:
    double* Response = nullptr;            // not owned, read only
    double* ResponseTimeStamps = nullptr;  // not owned, shifted in place by Setup
    std::int32_t ResponseCount = 0;
    std::int32_t TimeStampCount = 0;
    std::int32_t ResponseType = StepResponse;
    double SampleRate = 1e12;

    TimeResponseFIR() = default;
    ~TimeResponseFIR() override;

    bool Setup() override;

private:
    bool ValidateAndShiftStamps();
    void ComputeTaps(double* taps, std::int32_t numTaps) const;
};

}  // namespace Vantra
