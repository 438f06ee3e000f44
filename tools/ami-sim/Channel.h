// Channel: the passive interconnect between the transmitter's and the
// receiver's models, as a causal response sampled on the simulation grid
// (taps: the output for a one-sample unit input, so their sum is the DC
// gain). Two sources:
//
// - A built-in lossy transmission line, described by its insertion loss at
//   the Nyquist frequency (half the bit rate). The loss grows with frequency
//   as half skin effect (like the square root of f) and half dielectric
//   loss (like f), both rounded off below fN / 20 the way a real line's DC
//   resistance flattens them, and is 0 dB at DC. The response is the
//   minimum-phase one for that magnitude (found through the real cepstrum),
//   hence causal with no flight delay; a delay would only shift the eye. It
//   is cut where it has fallen below 1e-6 of its peak for good.
// - A tabulated impulse response (in 1/s, the response to a unit-area
//   impulse), resampled onto the grid with the model library's
//   time-response filter design (cubic spline), the first tap weighted by
//   half (trapezoidal rule) when the response jumps at its start and
//   carries on, so it keeps its area, but whole when it is a lone first
//   sample (a discrete impulse); or a step response (to a unit step), whose taps are its
//   differences between sample times, so the sampled channel reproduces the
//   step exactly. Either is taken to start at its first time stamp.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/ami-sim/TimeValueCsv.h"

namespace amisim {

struct Channel {
    std::vector<double> taps;
    std::string description;
};

enum class ResponseKind { Impulse, Step };

// Longest channel response accepted: 2^22 samples (about 22 us at the
// default grid of 5.2 ps).
constexpr std::size_t kMaxChannelTaps = std::size_t{1} << 22;

// Insertion loss in dB of the built-in line at frequency f.
double LossyLineLossDb(double f, double lossDbAtNyquist, double nyquist);

bool DesignLossyLine(double lossDbAtNyquist, double bitTime, double sampleInterval,
                     Channel& channel, std::string& error);

bool ChannelFromTable(const TimeValueTable& table, ResponseKind kind, double sampleInterval,
                      Channel& channel, std::string& error);

// Sum of the taps: the channel's gain for a constant input.
double DcGain(const Channel& channel);

struct ChannelFigures {
    double dcGain = 0.0;
    double lossDbAtNyquist = 0.0;  // at half the bit rate
    double delay = 0.0;  // seconds until the step response reaches half its final value
};

ChannelFigures MeasureChannel(const Channel& channel, double sampleInterval, double bitTime);

}  // namespace amisim
