// TerminatedNetwork: the through response of a channel with the analog
// ends of the link at its ports, computed in the frequency domain with the
// full S-parameter network, so every reflection between the ends and the
// channel is in it.
//
// Each driver leg is a source behind the driver's resistance, its pad
// loaded by C_comp, then the package (series R and L, C at the pin) to its
// port; each receiver leg is the package from its port to the pad, C_comp
// and the termination there. At each frequency, with the power waves of the
// file's reference impedances Z0, each port sees its end as a reflection
// G = (Z - Z0) / (Z + Z0) and, at a driver, an incident wave from the
// source; b = S a with a = G b + a_source gives the port voltages
// sqrt(Z0) (a + b), and the packages carry them to the pads. Ports that
// are no end of the path are terminated in their reference impedance.
//
// The response is scaled like an S-parameter: H = 2 V_pad / V_source (a
// differential pair: 2 (V_pad+ - V_pad-) / (V_source+ - V_source-)). With
// the ends equal to the reference impedances and no package or C_comp, H is
// the file's S21 (SDD21); an open receiver at the end of a matched line
// gives twice it. The stimulus amplitude is thus the swing the driver
// delivers into its reference load, as with the bare through response.
#pragma once

#include <string>
#include <vector>

#include "tools/ami-sim/AnalogEnds.h"
#include "tools/ami-sim/ThroughResponse.h"
#include "tools/ami-sim/Touchstone.h"

namespace amisim {

// ports: in,out or in+,in-,out+,out- (ThroughResponse::ports). A two-port
// path takes the first leg of each end; a four-port path gives each end's
// legs to its two ports in turn (an end with one leg serves both).
bool TerminateThrough(const NetworkData& data, const std::vector<int>& ports,
                      const AnalogEnd& driver, const AnalogEnd& receiver, ThroughResponse& through,
                      std::string& error);

// A through response sampled on the simulation grid (taps) as a matched,
// reciprocal 2-port of 50 ohm: S21 = S12 the taps' transfer function at
// the frequencies of an FFT of at least 4 times their length, up to the
// grid's Nyquist frequency, less the half sample ChannelFromThrough adds
// back when it turns a response into taps.
NetworkData MatchedLine(const std::vector<double>& taps, double sampleInterval);

}  // namespace amisim
