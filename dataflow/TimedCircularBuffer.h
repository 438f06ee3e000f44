// TimedCircularBuffer<T>: a port with a time axis. Sample index 0 is at
// StartTime; samples are TimeStep apart.
#pragma once

#include <cmath>

#include "dataflow/CircularBuffer.h"

namespace Vantra {

template <class T>
class TimedCircularBuffer : public CircularBuffer<T> {
public:
    double StartTime = 0.0;
    double TimeStep = 0.0;
    double SampleRate = 0.0;

    ~TimedCircularBuffer() override = default;

    // Refuses a negative or NaN rate and keeps the previous values.
    bool SetSampleRate(double rate)
    {
        if (std::isnan(rate) || rate < 0.0) return false;
        SampleRate = rate;
        TimeStep = rate > 0.0 ? 1.0 / rate : 0.0;
        return true;
    }
    void SetStartTime(double t) { StartTime = t; }
    double GetStartTime() const { return StartTime; }
    double GetTimeStep() const { return TimeStep; }

    // Time of the sample at offset after firing number firing (from 0).
    double TimeOf(std::size_t offset, std::size_t firing) const
    {
        std::size_t index = offset + (firing + 1) * this->Rate - this->WindowSize;
        return static_cast<double>(index) * TimeStep + StartTime;
    }
};

}  // namespace Vantra
