// Quantity: numbers with units on the command line, in the units an
// engineer states them in: times in fs, ps, ns, us, ms or s, or in unit
// intervals (UI); voltages in uV, mV or V; frequencies in Hz, kHz, MHz or
// GHz. Units are matched without regard to case and may follow the number
// after blanks; a bare number is in seconds, volts or hertz.
#pragma once

#include <string>

namespace amisim {

enum class Dimension { Time, Voltage, Frequency };

struct Quantity {
    double value = 0.0;  // seconds, volts or hertz; unit intervals when inUi
    bool inUi = false;
};

// False when the text is not a finite number with a unit of the dimension.
bool ParseQuantity(const std::string& text, Dimension dimension, Quantity& quantity);

// "2 ps", "0.01 UI", "5 mV", "1.5 MHz": the examples an error message gives.
const char* QuantityExample(Dimension dimension);

}  // namespace amisim
