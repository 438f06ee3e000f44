// AnalogEnds: the electrical ends of a link as a kit's .ibs file gives
// them: the driver and the receiver at their pads, and the package between
// each pad and its pin, at one corner.
//
// - Driver output resistance: the slope of the output's I-V curve (the
//   [Pullup] or [Pulldown] table plus the clamps) at its operating point,
//   the voltage it holds when driving its test load (Rref to Vref; 50 ohm to
//   the middle of the supply without one), high and low; the resistance is
//   the mean of the two. The slope is taken over +/- 5 % of the supply
//   around the point, so a table's corner does not decide it alone.
// - Receiver termination: the slope of the clamp tables (an on-die
//   termination is part of them) at the pin voltage where their current is
//   zero, the input's own bias; a slope below 1 uS is an open input.
// - C_comp of the model, and per pin R, L and C: the pin's R_pin, L_pin,
//   C_pin from [Pin], else the component's [Package] R_pkg, L_pkg, C_pkg.
// - A pin of a [Diff Pin] pair brings its partner: the end has two legs,
//   the non-inverting pin first.
// Either resistance may be given instead (--tx-resistance, --rx-resistance).
#pragma once

#include <limits>
#include <string>
#include <vector>

#include "tools/ami-sim/IbisKit.h"

namespace amisim {

// The package between one pad and its pin: R and L in series from the pad,
// C from the pin to ground.
struct PackageLeg {
    std::string pin;
    double r = 0.0, l = 0.0, c = 0.0;
    std::string source;  // "[Pin] A1", "[Package]", "[Pin] A1 and [Package]"
};

struct AnalogEnd {
    bool driver = false;
    std::string component, model;
    double resistance = 0.0;  // ohms; infinite: an open input
    std::string resistanceSource;
    double rHigh = 0.0, rLow = 0.0;  // driver: the two slopes
    double vHigh = 0.0, vLow = 0.0;  // driver: the operating points, V
    double bias = 0.0;               // receiver: the input's own voltage, V
    double cComp = 0.0;
    std::vector<PackageLeg> legs;  // one, or two for a differential pair
    bool Open() const { return !(resistance < std::numeric_limits<double>::infinity()); }
};

// An explicit resistance instead of the tables': < 0 none, infinity open.
bool ExtractDriver(const KitComponent& component, const KitPin& pin, const KitModel& model,
                   Corner corner, double explicitResistance, AnalogEnd& end, std::string& error);
bool ExtractReceiver(const KitComponent& component, const KitPin& pin, const KitModel& model,
                     Corner corner, double explicitResistance, AnalogEnd& end, std::string& error);

}  // namespace amisim
