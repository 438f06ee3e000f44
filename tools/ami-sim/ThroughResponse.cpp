#include "tools/ami-sim/ThroughResponse.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace amisim {

namespace {

std::string Join(const std::vector<int>& ports) {
    std::string s;
    for (int p : ports) s += (s.empty() ? "" : ",") + std::to_string(p);
    return s;
}

std::complex<double> Differential(const NetworkData& d, std::size_t k, const std::vector<int>& p) {
    return 0.5 *
           (d.S(k, p[2], p[0]) - d.S(k, p[2], p[1]) - d.S(k, p[3], p[0]) + d.S(k, p[3], p[1]));
}

}  // namespace

bool ParsePortList(const std::string& text, std::vector<int>& ports, std::string& error) {
    std::vector<int> list;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        char* end = nullptr;
        const long v = std::strtol(item.c_str(), &end, 10);
        if (item.empty() || *end != '\0' || v < 1 || v > 999) {
            error = "--ports expects port numbers separated by commas, such as 1,3,2,4, not '" +
                    text + "'";
            return false;
        }
        list.push_back(static_cast<int>(v));
        start = comma + 1;
    }
    if (list.size() != 2 && list.size() != 4) {
        error = "--ports names two ports (in,out) or four (in+,in-,out+,out-), not '" + text + "'";
        return false;
    }
    std::vector<int> sorted = list;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
        error = "--ports names a port twice: '" + text + "'";
        return false;
    }
    ports = list;
    return true;
}

bool SelectThrough(const NetworkData& data, const std::vector<int>& given, ThroughResponse& through,
                   std::string& error) {
    std::vector<int> ports = given;
    std::string how;
    if (ports.empty()) {
        if (data.ports == 2) {
            ports = {1, 2};
        } else if (data.ports == 4) {
            // The through paths carry nearly all of the signal at low
            // frequency; the other numbering would pick up crosstalk.
            const std::vector<int> a = {1, 2, 3, 4}, b = {1, 3, 2, 4};
            ports =
                std::abs(Differential(data, 0, a)) >= std::abs(Differential(data, 0, b)) ? a : b;
            how = ", auto";
        } else {
            error = "a " + std::to_string(data.ports) +
                    "-port file needs --ports (in,out or in+,in-,out+,out-)";
            return false;
        }
    }
    for (int p : ports) {
        if (p > data.ports) {
            error = "--ports " + Join(ports) + " names port " + std::to_string(p) + " of a " +
                    std::to_string(data.ports) + "-port file";
            return false;
        }
    }
    ThroughResponse r;
    r.ports = ports;
    r.frequency = data.frequency;
    r.h.resize(data.frequency.size());
    for (std::size_t k = 0; k < r.h.size(); ++k)
        r.h[k] = ports.size() == 2 ? data.S(k, ports[1], ports[0]) : Differential(data, k, ports);
    // S21 for one-digit ports, S(12,3) where digits would run together.
    const std::string to = std::to_string(ports.back()), from = std::to_string(ports[0]);
    const std::string name =
        to.size() + from.size() == 2 ? "S" + to + from : "S(" + to + "," + from + ")";
    r.label = ports.size() == 2 ? name + " (ports " + Join(ports) + ")"
                                : "SDD21 (ports " + Join(ports) + how + ")";
    through = std::move(r);
    return true;
}

}  // namespace amisim
