#include "tools/ami-sim/AnalogEnds.h"

#include <cmath>
#include <cstdio>
#include <functional>

namespace amisim {

namespace {

using Curve = std::function<double(double)>;  // current into the pin at a pin voltage

constexpr double kDefaultLoad = 50.0;      // ohms, without an Rref
constexpr double kOpenConductance = 1e-6;  // siemens: below this an input is open

std::string Num(const char* fmt, double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

struct Rails {
    double pullup = 0.0, pulldown = 0.0, powerClamp = 0.0, gndClamp = 0.0;
    double span() const { return pullup - pulldown; }
};

bool ReadRails(const KitModel& m, Corner c, Rails& r, std::string& error) {
    if (!m.voltageRange.given && !m.pullupReference.given) {
        error = "model " + m.name + " has no [Voltage Range] or [Pullup Reference]";
        return false;
    }
    const double supply = m.voltageRange.given ? m.voltageRange.At(c) : m.pullupReference.At(c);
    r.pullup = m.pullupReference.given ? m.pullupReference.At(c) : supply;
    r.pulldown = m.pulldownReference.given ? m.pulldownReference.At(c) : 0.0;
    r.powerClamp = m.powerClampReference.given ? m.powerClampReference.At(c) : supply;
    r.gndClamp = m.gndClampReference.given ? m.gndClampReference.At(c) : 0.0;
    if (!(r.span() > 0.0)) {
        error = "model " + m.name + ": the supply at the " + CornerName(c) + " corner is " +
                Num("%g V", r.span());
        return false;
    }
    return true;
}

// The clamps' current: the [GND Clamp] table is against its reference, the
// [POWER Clamp] table against the supply minus the pin voltage.
double Clamps(const KitModel& m, const Rails& r, Corner c, double v) {
    double i = 0.0;
    if (m.gndClamp.present()) i += m.gndClamp.At(v - r.gndClamp, c);
    if (m.powerClamp.present()) i += m.powerClamp.At(r.powerClamp - v, c);
    return i;
}

// Where f, increasing over [lo, hi], crosses zero; the nearer end when it
// does not.
double Root(const Curve& f, double lo, double hi) {
    if (f(lo) >= 0.0) return lo;
    if (f(hi) <= 0.0) return hi;
    for (int k = 0; k < 200 && hi - lo > 1e-12; ++k) {
        const double mid = 0.5 * (lo + hi);
        (f(mid) < 0.0 ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

double Slope(const Curve& f, double v, double step) {
    return (f(v + step) - f(v - step)) / (2.0 * step);
}

// The driver's operating point into its test load, and the slope there.
bool Operate(const Curve& device, double rLoad, double vLoad, const Rails& r, double& v,
             double& resistance) {
    const double lo = std::min(r.pulldown, vLoad) - r.span();
    const double hi = std::max(r.pullup, vLoad) + r.span();
    // Current into the pin from the device equals the current the load
    // pushes into it.
    v = Root([&](double x) { return device(x) - (vLoad - x) / rLoad; }, lo, hi);
    const double g = Slope(device, v, 0.05 * r.span());
    if (!(g > kOpenConductance)) return false;
    resistance = 1.0 / g;
    return true;
}

double Pick(bool given, double value, double package) {
    return given ? value : package;
}

// The pin, and its partner when it is one of a [Diff Pin] pair: the
// non-inverting pin first.
std::vector<const KitPin*> PairOf(const KitComponent& component, const KitPin& pin) {
    std::vector<const KitPin*> pins = {&pin};
    for (const auto& d : component.diffPins) {
        const bool inverting = d.second == pin.name;
        if (!inverting && d.first != pin.name) continue;
        const KitPin* partner = component.Pin(inverting ? d.first : d.second);
        if (partner != nullptr) pins.insert(inverting ? pins.begin() : pins.end(), partner);
        break;
    }
    return pins;
}

std::vector<PackageLeg> Legs(const KitComponent& component, const KitPin& pin, Corner c) {
    const std::vector<const KitPin*> pins = PairOf(component, pin);
    std::vector<PackageLeg> legs;
    for (const KitPin* p : pins) {
        PackageLeg leg;
        leg.pin = p->name;
        leg.r = Pick(p->hasR, p->r, component.rPkg.given ? component.rPkg.At(c) : 0.0);
        leg.l = Pick(p->hasL, p->l, component.lPkg.given ? component.lPkg.At(c) : 0.0);
        leg.c = Pick(p->hasC, p->c, component.cPkg.given ? component.cPkg.At(c) : 0.0);
        const bool all = p->hasR && p->hasL && p->hasC, none = !p->hasR && !p->hasL && !p->hasC;
        leg.source = all    ? "[Pin] " + p->name
                     : none ? std::string("[Package]")
                            : "[Pin] " + p->name + " and [Package]";
        legs.push_back(leg);
    }
    return legs;
}

void Common(const KitComponent& component, const KitPin& pin, const KitModel& model, Corner c,
            AnalogEnd& end) {
    end.component = component.name;
    end.model = model.name;
    end.cComp = model.cComp.given ? model.cComp.At(c) : 0.0;
    end.legs = Legs(component, pin, c);
}

}  // namespace

bool ExtractDriver(const KitComponent& component, const KitPin& pin, const KitModel& model,
                   Corner c, double explicitResistance, AnalogEnd& end, std::string& error) {
    end = AnalogEnd();
    end.driver = true;
    Common(component, pin, model, c, end);
    if (explicitResistance >= 0.0) {
        end.resistance = explicitResistance;
        end.resistanceSource = "--tx-resistance";
        return true;
    }
    Rails r;
    if (!ReadRails(model, c, r, error)) return false;
    if (!model.pullup.present() && !model.pulldown.present()) {
        error = "model " + model.name +
                " has no [Pullup] or [Pulldown] table to take its output resistance from "
                "(give --tx-resistance)";
        return false;
    }
    const double rLoad = model.hasRref && model.rref > 0.0 ? model.rref : kDefaultLoad;
    const double vLoad = model.hasVref ? model.vref : 0.5 * (r.pullup + r.pulldown);
    std::string how;
    int found = 0;
    if (model.pullup.present()) {
        const Curve high = [&](double v) {
            return model.pullup.At(r.pullup - v, c) + Clamps(model, r, c, v);
        };
        if (!Operate(high, rLoad, vLoad, r, end.vHigh, end.rHigh)) {
            error = "model " + model.name +
                    ": the [Pullup] table does not conduct at its "
                    "operating point (give --tx-resistance)";
            return false;
        }
        how = "[Pullup] at " + Num("%.3g V", end.vHigh);
        ++found;
    }
    if (model.pulldown.present()) {
        const Curve low = [&](double v) {
            return model.pulldown.At(v - r.pulldown, c) + Clamps(model, r, c, v);
        };
        if (!Operate(low, rLoad, vLoad, r, end.vLow, end.rLow)) {
            error = "model " + model.name +
                    ": the [Pulldown] table does not conduct at its "
                    "operating point (give --tx-resistance)";
            return false;
        }
        how += (how.empty() ? "" : " and ") + ("[Pulldown] at " + Num("%.3g V", end.vLow));
        ++found;
    }
    end.resistance =
        ((end.rHigh > 0.0 ? end.rHigh : 0.0) + (end.rLow > 0.0 ? end.rLow : 0.0)) / found;
    end.resistanceSource = "slopes of " + how + " into " + Num("%g ohm", rLoad) + " to " +
                           Num("%g V", vLoad) + (found == 2 ? ", their mean" : "");
    return true;
}

bool ExtractReceiver(const KitComponent& component, const KitPin& pin, const KitModel& model,
                     Corner c, double explicitResistance, AnalogEnd& end, std::string& error) {
    end = AnalogEnd();
    Common(component, pin, model, c, end);
    if (explicitResistance >= 0.0) {
        end.resistance = explicitResistance;
        end.resistanceSource = "--rx-resistance";
        return true;
    }
    Rails r;
    if (!ReadRails(model, c, r, error)) return false;
    if (!model.gndClamp.present() && !model.powerClamp.present()) {
        end.resistance = std::numeric_limits<double>::infinity();
        end.resistanceSource = "no clamp tables: an open input";
        return true;
    }
    const Curve input = [&](double v) { return Clamps(model, r, c, v); };
    end.bias = Root(input, r.gndClamp, r.powerClamp);
    const double g = Slope(input, end.bias, 0.05 * r.span());
    if (g > kOpenConductance) {
        end.resistance = 1.0 / g;
        end.resistanceSource = "slope of the clamp tables at " + Num("%.3g V", end.bias) +
                               ", where their current is zero";
    } else {
        end.resistance = std::numeric_limits<double>::infinity();
        end.resistanceSource =
            "the clamp tables carry no current at " + Num("%.3g V", end.bias) + ": an open input";
    }
    return true;
}

}  // namespace amisim
