// ChannelChecks: what the channel stage checks in a measured channel before
// trusting it. Each finding is a warning (the run goes on and records it):
//
// - passivity: at no frequency may the S-matrix amplify, that is its
//   largest singular value exceed 1 by more than kPassivityTolerance;
// - reciprocity: S(i,j) and S(j,i) may differ by at most
//   kReciprocityTolerance, checked below the band limit's roll-off (above
//   it the response is tapered away, and measurements there are noisy);
// - port order: a --ports list that carries less than half the signal of
//   another order of the same ports (at the lowest hundredth of the band,
//   where a through path carries nearly everything) names the better order;
// - band: data that stop below the simulation's Nyquist frequency, with
//   what was assumed above them; worse, below the signal's own Nyquist
//   frequency (half the bit rate);
// - DC: an extrapolation to 0 Hz that rests on points that disagree (the
//   two lowest frequencies against the next two, by more than
//   kDcTolerance of the gain);
// - causality: more than kCausalityTolerance of the response's energy
//   arriving before its main arrival, which the conversion cuts away.
#pragma once

#include <string>
#include <vector>

#include "tools/ami-sim/FrequencyDomainChannel.h"
#include "tools/ami-sim/Touchstone.h"

namespace amisim {

constexpr double kPassivityTolerance = 0.01;
constexpr double kReciprocityTolerance = 0.02;
constexpr double kDcTolerance = 0.05;
constexpr double kCausalityTolerance = 0.01;

// Passivity and reciprocity of the whole network, up to `checkedUpTo` Hz
// for reciprocity.
void CheckNetwork(const NetworkData& data, double checkedUpTo, std::vector<std::string>& warnings);

// ports: as given on the command line (empty: nothing to check).
void CheckPortOrder(const NetworkData& data, const std::vector<int>& ports,
                    std::vector<std::string>& warnings);

// Band, DC and causality, from what the conversion to taps assumed.
void CheckConversion(const ThroughConversion& conversion, double sampleInterval, double bitTime,
                     std::vector<std::string>& warnings);

// "40 GHz", "16.2 MHz".
std::string FormatHertz(double f);

}  // namespace amisim
