// Touchstone: reads a network-parameter file of version 1.x (.sNp, the
// port count taken from the name) or 2.0 ([Version] 2.0, the port count
// from [Number of Ports]) into one S-parameter matrix per frequency.
//
// Accepted: '!' comments anywhere; the option line "# <unit> S <format>
// R <ohms>" with units HZ, KHZ, MHZ, GHZ, formats RI, MA, DB (angles in
// degrees), any order of its fields and defaults GHZ, MA, 50 ohm for those
// left out, only the first option line counting; values of one frequency
// spread over any number of lines, each frequency starting a line; the
// noise parameters of a 2-port file (version 1.x: data from a frequency
// that does not increase on; version 2.0: [Noise Data]) skipped. Version
// 2.0 keywords: [Number of Ports], [Two-Port Data Order], [Number of
// Frequencies], [Number of Noise Frequencies], [Reference] (one value per
// port), [Matrix Format] Full/Upper/Lower, [Network Data], [Noise Data],
// [End], and [Begin Information] ... [End Information] (skipped).
//
// Refused with the file name and line number: other network parameters
// than S (Y, Z, H, G are not S-parameters of a through path), mixed-mode
// data, a value that is not a finite number, a frequency that does not
// increase (in a 2-port file of version 1.x, unless its line holds the 5
// values that start the noise parameters), noise parameter lines of other
// than 5 values, a frequency's values incomplete or running into the next
// one. When a version 1.x file's data would fit another port count than its
// name's, the message says which.
#pragma once

#include <complex>
#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace amisim {

struct NetworkData {
    int ports = 0;
    int version = 1;                      // 1 or 2
    std::vector<double> frequency;        // Hz, strictly increasing
    std::vector<std::complex<double>> s;  // ports^2 per frequency, row-major
    std::vector<double> reference;        // ohms, one per port

    // S(to, from) at frequency index k; ports counted from 1.
    std::complex<double> S(std::size_t k, int to, int from) const {
        const std::size_t n = static_cast<std::size_t>(ports);
        return s[k * n * n + static_cast<std::size_t>(to - 1) * n +
                 static_cast<std::size_t>(from - 1)];
    }
};

// Port count from a ".sNp" name (any case), 0 when the name has no such
// extension.
int PortsFromFileName(const std::string& path);

// The port count other than `named` (> 0) whose layout the data lines of a
// version 1.x file fit (each frequency's numbers starting a line, the
// frequencies increasing), or 0 when there is none.
int DataPortCount(const std::vector<std::string>& lines, int named);

// Both return true and fill `data`, or return false with "name:line: reason"
// (or "name: reason") in `error`. portsFromName: the count a version 1.x file
// must hold (0: unknown, only version 2.0 files are then read).
bool ReadTouchstone(const std::string& path, NetworkData& data, std::string& error);
// A failure names the port count the data would fit when that differs from
// the name's.
bool ParseTouchstone(std::istream& in, const std::string& name, int portsFromName,
                     NetworkData& data, std::string& error);

}  // namespace amisim
