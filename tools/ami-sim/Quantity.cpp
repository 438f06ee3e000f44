#include "tools/ami-sim/Quantity.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace amisim {

namespace {

struct Unit {
    const char* name;  // lower case
    Dimension dimension;
    double scale;
    bool ui;
};

const Unit kUnits[] = {
    {"fs", Dimension::Time, 1e-15, false},     {"ps", Dimension::Time, 1e-12, false},
    {"ns", Dimension::Time, 1e-9, false},      {"us", Dimension::Time, 1e-6, false},
    {"ms", Dimension::Time, 1e-3, false},      {"s", Dimension::Time, 1.0, false},
    {"ui", Dimension::Time, 1.0, true},        {"uv", Dimension::Voltage, 1e-6, false},
    {"mv", Dimension::Voltage, 1e-3, false},   {"v", Dimension::Voltage, 1.0, false},
    {"hz", Dimension::Frequency, 1.0, false},  {"khz", Dimension::Frequency, 1e3, false},
    {"mhz", Dimension::Frequency, 1e6, false}, {"ghz", Dimension::Frequency, 1e9, false},
};

}  // namespace

bool ParseQuantity(const std::string& text, Dimension dimension, Quantity& q) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(v)) return false;
    std::string unit;
    for (const char* p = end; *p != '\0'; ++p) {
        if (std::isspace(static_cast<unsigned char>(*p))) {
            if (!unit.empty()) return false;  // blanks only between number and unit
            continue;
        }
        unit += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    }
    if (unit.empty()) {
        q = Quantity{v, false};
        return true;
    }
    for (const Unit& u : kUnits) {
        if (u.dimension != dimension || unit != u.name) continue;
        const double scaled = v * u.scale;
        if (!std::isfinite(scaled)) return false;
        q = Quantity{scaled, u.ui};
        return true;
    }
    return false;
}

const char* QuantityExample(Dimension dimension) {
    switch (dimension) {
        case Dimension::Time:
            return "a time such as 2ps or 0.01UI";
        case Dimension::Voltage:
            return "a voltage such as 5mV";
        case Dimension::Frequency:
            return "a frequency such as 1.5MHz";
    }
    return "";
}

}  // namespace amisim
