#include "devices/corvinic_rxdc.h"

#include <cmath>

#include "devices/limiter_row.h"

namespace {

constexpr double kAmplitude[3] = {0.209, 0.209, 0.209};
constexpr double kGain[3] = {82.45, 22.04, 10.71};

}  // namespace

corvinic_rxdc::corvinic_rxdc()
{
    // Filled here as well as in Initialize so that no firing can ever read
    // an undefined table.
    store_table();
}

bool corvinic_rxdc::Setup()
{
    return limiter_row_valid("corvinic_rxdc", row);
}

bool corvinic_rxdc::Initialize()
{
    store_table();
    return true;
}

void corvinic_rxdc::store_table()
{
    for (int r = 0; r < 3; ++r) {
        amplitude[r] = kAmplitude[r];
        gain[r] = kGain[r];
    }
}

bool corvinic_rxdc::Run()
{
    if (!limiter_row_valid("corvinic_rxdc", row)) return false;
    out = amplitude[row] * std::tanh(gain[row] * in);
    return true;
}
