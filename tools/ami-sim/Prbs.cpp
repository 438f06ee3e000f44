#include "tools/ami-sim/Prbs.h"

#include <cctype>

namespace amisim {

Prbs::Prbs(int order, std::uint32_t seed)
    : order_(IsSupportedOrder(order) ? order : 7)
{
    tap_ = order_ == 7 ? 6 : order_ == 15 ? 14 : 28;
    mask_ = static_cast<std::uint32_t>((std::uint64_t{1} << order_) - 1);
    state_ = seed & mask_;
    if (state_ == 0) state_ = mask_;
}

int Prbs::NextBit()
{
    const std::uint32_t bit = ((state_ >> (order_ - 1)) ^ (state_ >> (tap_ - 1))) & 1u;
    state_ = ((state_ << 1) | bit) & mask_;
    return static_cast<int>(bit);
}

int Prbs::OrderFromName(const std::string& name)
{
    // Accepted: an optional "prbs" (any case), an optional '-', the order.
    std::size_t i = 0;
    if (name.size() >= 4) {
        std::string head;
        for (std::size_t k = 0; k < 4; ++k)
            head += static_cast<char>(std::tolower(static_cast<unsigned char>(name[k])));
        if (head == "prbs") i = 4;
    }
    if (i < name.size() && name[i] == '-') ++i;
    const std::string digits = name.substr(i);
    if (digits == "7") return 7;
    if (digits == "15") return 15;
    if (digits == "31") return 31;
    return 0;
}

}  // namespace amisim
