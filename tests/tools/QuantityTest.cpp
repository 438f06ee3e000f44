#include "tools/ami-sim/Quantity.h"

#include <gtest/gtest.h>

using namespace amisim;

TEST(Quantity, ReadsTheUnitsAnEngineerWrites) {
    const struct {
        const char* text;
        Dimension dimension;
        bool ok;
        double value;
        bool ui;
    } cases[] = {
        {"2ps", Dimension::Time, true, 2e-12, false},
        {"2 PS", Dimension::Time, true, 2e-12, false},
        {"0.01UI", Dimension::Time, true, 0.01, true},
        {"350fs", Dimension::Time, true, 350e-15, false},
        {"1.5e-12", Dimension::Time, true, 1.5e-12, false},
        {"5mV", Dimension::Voltage, true, 5e-3, false},
        {"20uV", Dimension::Voltage, true, 20e-6, false},
        {"0.1", Dimension::Voltage, true, 0.1, false},
        {"1.5MHz", Dimension::Frequency, true, 1.5e6, false},
        {"2 GHz", Dimension::Frequency, true, 2e9, false},
        {"5mV", Dimension::Time, false, 0, false},  // a voltage is not a time
        {"2pF", Dimension::Time, false, 0, false},
        {"UI", Dimension::Time, false, 0, false},
        {"2 ps ps", Dimension::Time, false, 0, false},
        {"1e999ps", Dimension::Time, false, 0, false},
        {"nan", Dimension::Time, false, 0, false},
        {"", Dimension::Frequency, false, 0, false},
    };
    for (const auto& c : cases) {
        Quantity q;
        ASSERT_EQ(ParseQuantity(c.text, c.dimension, q), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_DOUBLE_EQ(q.value, c.value) << c.text;
        EXPECT_EQ(q.inUi, c.ui) << c.text;
    }
}
