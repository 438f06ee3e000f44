// Prbs: the maximal-length pseudo-random bit sequences of serial-link
// testing, PRBS-7 (x^7 + x^6 + 1), PRBS-15 (x^15 + x^14 + 1) and PRBS-31
// (x^31 + x^28 + 1), produced by a Fibonacci shift register. Each repeats
// after 2^n - 1 bits and holds every run of up to n ones and n - 1 zeros.
#pragma once

#include <cstdint>
#include <string>

namespace amisim {

class Prbs {
public:
    // order is 7, 15 or 31 (anything else is treated as 7); seed gives the
    // initial register, of which the low `order` bits count. A register of
    // all zeros would never leave zero, so it is replaced by all ones.
    explicit Prbs(int order = 7, std::uint32_t seed = 0xFFFFFFFFu);

    int NextBit();
    int Order() const { return order_; }
    std::uint64_t Period() const { return (std::uint64_t{1} << order_) - 1; }
    std::uint32_t State() const { return state_; }

    static bool IsSupportedOrder(int order) { return order == 7 || order == 15 || order == 31; }
    // "prbs7", "PRBS-15", "31" ... to the order; 0 when the name is unknown.
    static int OrderFromName(const std::string& name);
    static std::string Name(int order) { return "PRBS-" + std::to_string(order); }

private:
    int order_;
    int tap_;
    std::uint32_t mask_;
    std::uint32_t state_;
};

}  // namespace amisim
