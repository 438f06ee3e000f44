#include "blocks/TimeResponseFIR.h"

#include <climits>
#include <cmath>
#include <string>

#include "blocks/CubicSpline.h"
#include "dataflow/FormatNumber.h"

namespace Vantra {

TimeResponseFIR::~TimeResponseFIR()
{
    delete[] Taps;
    Taps = nullptr;
}

bool TimeResponseFIR::Setup()
{
    ForgetSetup();
    bool countOk = true;
    if (ResponseType == ImpulseResponse && ResponseCount < 4) {
        ReportError("At least 4 response coefficients are required for input impulse response");
        countOk = false;
    } else if (ResponseType == StepResponse && ResponseCount < 4) {
        ReportError("At least 4 response coefficients are required for input step response");
        countOk = false;
    }
    if (ResponseType != ImpulseResponse && ResponseType != StepResponse) {
        ReportError(
            "Inavlid ResponseType is specified, it can be either Impulse Response or Step "
            "Response");
        return false;
    }
    if (!countOk) return false;
    if (ResponseCount != TimeStampCount) {
        ReportError(
            "Number of coefficients in response must be same as the number of values in time "
            "stamps");
        return false;
    }
    // Written as a negated comparison so that a NaN rate is refused too.
    if (!(SampleRate > 0.0)) {
        ReportError("SampleRate must be > 0.0");
        return false;
    }
    if (Response == nullptr || ResponseTimeStamps == nullptr) {
        ReportError("Response and ResponseTimeStamps must be set");
        return false;
    }
    if (!ValidateAndShiftStamps()) return false;

    // Taps cover 0, Ts, 2 Ts ... up to the last stamp. A product that does
    // not fit a 32-bit count (or is not finite) would make the conversion
    // undefined, so it is refused.
    const double product = ResponseTimeStamps[TimeStampCount - 1] * SampleRate;
    if (!(product < static_cast<double>(INT32_MAX))) {
        ReportError("Too many taps: the response spans " + FormatNumber(product) +
                    " sample intervals");
        return false;
    }
    const std::int32_t numTaps = static_cast<std::int32_t>(product) + 1;

    double* taps = new double[static_cast<std::size_t>(numTaps)];
    ComputeTaps(taps, numTaps);
    delete[] Taps;
    Taps = taps;
    NumTaps = numTaps;
    return FIR<double, 0>::Setup();
}

bool TimeResponseFIR::ValidateAndShiftStamps()
{
    double* t = ResponseTimeStamps;
    const double t0 = t[0];
    if (!std::isfinite(t0)) {
        ReportError("ResponseTimeStamps[1] = " + FormatNumber(t0) +
                    " is not a finite number");
        return false;
    }
    t[0] = 0.0;
    for (std::int32_t i = 1; i < TimeStampCount; ++i) {
        t[i] -= t0;
        // The negated form also stops at a NaN stamp.
        if (!(t[i - 1] < t[i]) || !std::isfinite(t[i])) {
            ReportError("ResponseTimeStamps[" + std::to_string(static_cast<unsigned long>(i) + 1) +
                        "] = " + FormatNumber(t0 + t[i]) + "  <= ResponseTimeStamps[" +
                        std::to_string(static_cast<unsigned long>(i)) + "] = " +
                        FormatNumber(t0 + t[i - 1]) +
                        ". Time stamps must be in non-repeating ascending order.");
            return false;
        }
    }
    return true;
}

void TimeResponseFIR::ComputeTaps(double* taps, std::int32_t numTaps) const
{
    const double* t = ResponseTimeStamps;
    const double* r = Response;
    const std::int32_t n = ResponseCount;
    SplineWorkspace ws;
    std::int32_t b = 0;
    for (std::int32_t i = 0; i < numTaps; ++i) {
        const double c = static_cast<double>(i) / SampleRate;
        while (c > t[b] && b + 1 < n) ++b;
        if (ResponseType == ImpulseResponse && t[b] == c) {
            taps[i] = r[b];
            continue;
        }
        if (b < 1) b = 1;
        else if (b > n - 3) b = n - 3;

        if (ResponseType == ImpulseResponse) {
            SplineFit(ws, 4, t + b - 1, r + b - 1);
            taps[i] = SplineEval(ws, 4, t + b - 1, r + b - 1, c);
        } else {
            const double h = t[b - 1], f = t[b], g = t[b + 1];
            double v = 0.0;
            v += ((2 * c - f - g) / ((h - g) * (h - f))) * r[b - 1];
            v += ((2 * c - h - g) / ((f - h) * (f - g))) * r[b];
            v += ((2 * c - h - f) / ((g - h) * (g - f))) * r[b + 1];
            taps[i] = v;
        }
    }
    for (std::int32_t i = 0; i < numTaps; ++i) taps[i] /= SampleRate;
}

}  // namespace Vantra
