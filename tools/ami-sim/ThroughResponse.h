// ThroughResponse: the transfer function of a channel taken from a network
// file: S(out, in) of a single-ended path, or the differential through
// response SDD21 of a pair of lines.
//
// Ports are named as a list: "in,out" for a single-ended path, or
// "in+,in-,out+,out-" for a pair, whose differential through response is
// SDD21 = (S(out+,in+) - S(out+,in-) - S(out-,in+) + S(out-,in-)) / 2.
// Without a list, a 2-port file gives S21 and a 4-port file the pair in
// whichever of the two common numberings carries the signal at the lowest
// frequency: 1,2,3,4 (ports 1 and 2 at the input end, 1->3 and 2->4 the
// through paths) or 1,3,2,4 (1->2 and 3->4 the through paths).
#pragma once

#include <complex>
#include <string>
#include <vector>

#include "tools/ami-sim/Touchstone.h"

namespace amisim {

struct ThroughResponse {
    std::vector<double> frequency;        // Hz, strictly increasing
    std::vector<std::complex<double>> h;  // transfer function at each
    std::string label;                    // e.g. "SDD21 (ports 1,3,2,4)"
    std::vector<int> ports;               // in,out or in+,in-,out+,out- as chosen
};

// "1,3,2,4" to {1, 3, 2, 4}: two or four distinct port numbers.
bool ParsePortList(const std::string& text, std::vector<int>& ports, std::string& error);

// ports: as ParsePortList gives them, or empty for the default above.
bool SelectThrough(const NetworkData& data, const std::vector<int>& ports, ThroughResponse& through,
                   std::string& error);

}  // namespace amisim
