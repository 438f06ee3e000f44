// The analog ends taken from a kit's .ibs file: the kit's own buffers at
// each corner, and variations of them written into a copy of its file.
#include "tools/ami-sim/AnalogEnds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace amisim;
using ::testing::HasSubstr;

namespace {

std::string KitText() {
    std::ifstream f(std::string(CORVIN_SOURCE_DIR) + "/kit/corvin.ibs");
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// corvin.ibs with `from` replaced by `to`, read back.
IbisKit Variant(const std::string& from, const std::string& to) {
    std::string text = KitText();
    if (!from.empty()) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("analog-ends-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "corvin.ibs") << text;
    IbisKit kit;
    std::string error;
    EXPECT_TRUE(ReadIbisKit((dir / "corvin.ibs").string(), kit, error)) << error;
    std::filesystem::remove_all(dir);
    return kit;
}

struct Ends {
    AnalogEnd tx, rx;
    std::string error;
};

Ends Extract(const IbisKit& kit, Corner corner, double txR = -1.0, double rxR = -1.0) {
    Ends e;
    if (kit.components.empty() || kit.models.size() < 2) {
        e.error = "no component or models";
        return e;
    }
    const KitComponent& c = kit.components[0];
    if (!ExtractDriver(c, *c.Pin("A2"), *kit.Model("corvin_tx1"), corner, txR, e.tx, e.error))
        return e;
    ExtractReceiver(c, *c.Pin("B1"), *kit.Model("corvin_rx1"), corner, rxR, e.rx, e.error);
    return e;
}

}  // namespace

TEST(AnalogEnds, TheKitsBuffersAtEachCorner) {
    const IbisKit kit = Variant("", "");
    const struct {
        Corner corner;
        double tx, rx;  // ohms
        double txC, rxC, rPkg;
    } cases[] = {
        // Slopes of 20, 15.84 and 23.8 mA/V in the driver's tables, and of
        // 20, 17.25 and 23.8 mA/V in the receiver's POWER Clamp.
        {Corner::Typical, 50.0, 50.0, 0.50e-12, 0.40e-12, 0.25},
        {Corner::Min, 0.25 / 3.96e-3, 0.2 / 3.45e-3, 0.45e-12, 0.35e-12, 0.20},
        {Corner::Max, 0.25 / 5.95e-3, 0.2 / 4.76e-3, 0.60e-12, 0.48e-12, 0.35},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(CornerName(k.corner));
        const Ends e = Extract(kit, k.corner);
        ASSERT_EQ(e.error, "");
        EXPECT_NEAR(e.tx.resistance, k.tx, 1e-6 * k.tx);
        EXPECT_NEAR(e.rx.resistance, k.rx, 1e-6 * k.rx);
        EXPECT_NEAR(e.tx.cComp, k.txC, 1e-18);
        EXPECT_NEAR(e.rx.cComp, k.rxC, 1e-18);
        // The pins' own R, L and C; the pair's non-inverting pin first.
        ASSERT_EQ(e.tx.legs.size(), 2u);
        EXPECT_EQ(e.tx.legs[0].pin, "A1");
        EXPECT_EQ(e.tx.legs[1].pin, "A2");
        EXPECT_NEAR(e.tx.legs[1].l, 0.55e-9, 1e-18);
        EXPECT_EQ(e.rx.legs[0].source, "[Pin] B1");
        EXPECT_NEAR(e.rx.bias,
                    1.0 + (k.corner == Corner::Min   ? -0.05
                           : k.corner == Corner::Max ? 0.05
                                                     : 0.0),
                    1e-9);
    }
    const Ends e = Extract(kit, Corner::Typical);
    EXPECT_NEAR(e.tx.vHigh, 0.75, 1e-9);  // into 50 ohm to 0.5 V
    EXPECT_NEAR(e.tx.vLow, 0.25, 1e-9);
}

// The text between two markers of corvin.ibs, each line made a comment.
std::pair<std::string, std::string> CommentOut(const std::string& from, const std::string& to) {
    const std::string text = KitText();
    const std::size_t a = text.find(from), b = text.find(to, a);
    std::string block = text.substr(a, b - a);
    for (std::size_t i = block.size(); i-- > 0;)
        if (i == 0 || block[i - 1] == '\n') block.insert(i, "|");
    return {text.substr(a, b - a), block};
}

TEST(AnalogEnds, TablesOtherThanTheKits) {
    const double inf = std::numeric_limits<double>::infinity();
    const auto noTermination = CommentOut("| The 50 ohm on-die termination", "|\n|*****");
    const auto noDriverTables = CommentOut("[Pulldown]", "[GND Clamp]");
    const struct {
        const char* name;
        std::pair<std::string, std::string> change;
        double tx, rx;
        const char* error;
    } cases[] = {
        {"no termination in the clamps: an open input", noTermination, 50.0, inf, ""},
        {"a driver without I-V tables", noDriverTables, 0.0, 0.0,
         "has no [Pullup] or [Pulldown] table"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const Ends e = Extract(Variant(k.change.first, k.change.second), Corner::Typical);
        if (*k.error != '\0') {
            EXPECT_THAT(e.error, HasSubstr(k.error));
            continue;
        }
        ASSERT_EQ(e.error, "");
        EXPECT_NEAR(e.tx.resistance, k.tx, 1e-6);
        EXPECT_EQ(e.rx.Open(), std::isinf(k.rx));
    }
    // The package's values, where the pins give none.
    const Ends e = Extract(Variant("A1     TXP           corvin_tx1    0.20     0.55nH   0.18pF",
                                   "A1     TXP           corvin_tx1    NA       NA       NA"),
                           Corner::Max);
    EXPECT_NEAR(e.tx.legs[0].r, 0.35, 1e-12);
    EXPECT_NEAR(e.tx.legs[0].l, 0.8e-9, 1e-18);
    EXPECT_NEAR(e.tx.legs[0].c, 0.25e-12, 1e-24);
    EXPECT_EQ(e.tx.legs[0].source, "[Package]");
}

TEST(AnalogEnds, GivenResistancesReplaceTheTables) {
    const Ends e = Extract(Variant("", ""), Corner::Typical, 42.0, 0.0);
    EXPECT_EQ(e.tx.resistance, 42.0);
    EXPECT_EQ(e.tx.resistanceSource, "--tx-resistance");
    EXPECT_EQ(e.rx.resistance, 0.0);
}
