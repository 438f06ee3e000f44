// Circuit calls: the lines of [Circuit Call] and [Node Declarations], and the
// after-file check of every call's wiring against the file's external
// circuits, the component's pins and its declared nodes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SeriesFixture.h"

namespace {

// Circuits of every kind the rules tell apart, and a component with two
// CIRCUITCALL pins, a model pin and a power pin.  Lines 4, 11, 16, 21, 27,
// 33 start the circuits.
const char kPrologue[] =
    "[IBIS Ver] 5.0\n"
    "[File Name] t.ibs\n"
    "[File Rev] 1\n"
    "[External Circuit] io\n"  // 4: a bidirectional SPICE buffer
    "Language SPICE\n"
    "Corner Typ io.sp io\n"
    "Ports A_signal A_gnd\n"
    "D_to_A D_drive A_signal A_gnd 0 1 1n 1n Typ\n"
    "A_to_D D_receive A_signal A_gnd 0.4 0.6 Typ\n"
    "[End External Circuit]\n"
    "[External Circuit] ams\n"  // 11: two ports of unknown kind
    "Language Verilog-AMS\n"
    "Corner Typ ams.va ams\n"
    "Ports x y\n"
    "[End External Circuit]\n"
    "[External Circuit] rc\n"  // 16: two plain SPICE ports
    "Language SPICE\n"
    "Corner Typ rc.sp rc\n"
    "Ports p q\n"
    "[End External Circuit]\n"
    "[External Circuit] drv\n"  // 21: an analog driver
    "Language SPICE\n"
    "Corner Typ d.sp d\n"
    "Ports out A_gnd\n"
    "D_to_A D_drive out A_gnd 0 1 1n 1n Typ\n"
    "[End External Circuit]\n"
    "[External Circuit] rcv\n"  // 27: an analog receiver
    "Language SPICE\n"
    "Corner Typ r.sp r\n"
    "Ports in A_gnd\n"
    "A_to_D D_receive in A_gnd 0.4 0.6 Typ\n"
    "[End External Circuit]\n"
    "[External Circuit] bad\n"  // 33: converters joined inside
    "Language SPICE\n"
    "Corner Typ b.sp b\n"
    "Ports A_signal A_gnd\n"
    "D_to_A A_signal A_signal A_gnd 0 1 1n 1n Typ\n"  // 37
    "A_to_D D_receive A_gnd A_gnd 0.4 0.6 Typ\n"      // 38
    "[End External Circuit]\n"
    "[Component] c1\n"
    "[Manufacturer] m\n"
    "[Pin] signal_name model_name\n"
    "1 s1 CIRCUITCALL\n"
    "2 s2 CIRCUITCALL\n"
    "3 s3 inp\n"
    "4 s4 POWER\n";

class CircuitCall : public SeriesFixture {};

TEST_F(CircuitCall, ReportsEveryRuleOfTheLinesAndTheWiring) {
    const std::vector<SeriesRow> rows = {
        {"a wired bidirectional buffer passes",
         "[Circuit Call] io\nSignal_pin 1\nPort_map A_signal 1\nPort_map A_gnd 4\n[End Circuit "
         "Call]\n",
         {}},
        {"a second Signal_pin",
         "[Circuit Call] io\nSignal_pin 1\nSignal_pin 2\nPort_map A_signal 1\n",
         {{'E', 1800, -3,
           "Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or "
           "Series_pins is allowed) <2>"}}},
        {"a third reference pin",
         "[Circuit Call] io\nSignal_pin 1\nSeries_pins 2 4\nPort_map A_signal 1\nPort_map A_gnd "
         "2\n",
         {{'E', 1800, -3,
           "Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or "
           "Series_pins is allowed) <4>"}}},
        {"a port mapped twice",
         "[Circuit Call] io\nPort_map A_signal 1\nPort_map A_signal 2\n",
         {{'E', 1801, -3, "Redundant use of port <A_signal>"}}},
        {"unknown kinds, missing and extra tokens",
         "[Circuit Call] io\nsignal_pin 1\nSignal_pin\nDiff_signal_pins 1\nSignal_pin 1 "
         "2\nPort_map A_signal\n"
         "Port_map A_signal 1\n",
         {{'E', 1804, -2, "Illegal parameter <signal_pin>"},
          {'E', 1805, -3, "Not Enough arguments to Signal_pin"},
          {'E', 1805, -4, "Not Enough arguments to Diff_signal_pins"},
          {'E', 1800, -5,
           "Too Many Signal Pins (only one instance of Signal_pin, Diff_signal_pins, or "
           "Series_pins is allowed) <1>"},
          {'E', 1806, -5, "Extra Charaters on PIN line <2>"},
          {'E', 1807, -6, "Missing port or pad name in Port_map"}}},
        {"a circuit the file does not define skips the call",
         "[Circuit Call] nothere\nSignal_pin 9\nPort_map nope zz\n",
         {{'E', 1838, 0,
           "(line @1) No [External Circuit] for [Circuit Call] nothere in Component c1"}}},
        {"a call without a circuit name",
         "[Circuit Call]\nPort_map p 1\n",
         {{'E', 1808, 0, "(Line @1) No [External Circuit]  for [Circuit Call]"}}},
        {"reference pins must be CIRCUITCALL pins, and differ",
         "[Circuit Call] rc\nDiff_signal_pins 9 3\nPort_map p 1\nPort_map q 2\n"
         "[Circuit Call] rc\nDiff_signal_pins 1 1\nPort_map p 1\nPort_map q 2\n"
         "[Circuit Call] rc\nSeries_pins 3 2\nPort_map p 1\nPort_map q 2\n",
         {{'E', 1840, 0,
           "[Circuit Call] at (line @9) first reference pin <3> is not declared CIRCUITCALL in "
           "[Pin] section"},
          {'E', 1842, 0, "CMPT <c1>, [CIRCUIT CALL] at (line @5) references same pin twice: <1>"},
          {'E', 1839, 0, "CMPT <c1>, [Circuit Call] at (line @1) refererences illegal pin: <9>"},
          {'E', 1841, 0,
           "[Circuit Call] at (line @1) second reference pin <3> is not declared CIRCUITCALL in "
           "[Pin] section"}}},
        {"unknown ports and nodes",
         "[Circuit Call] rc\nSignal_pin 1\nPort_map nope 1\nPort_map q zz\nPort_map p 2\n",
         {{'E', 1846, 0, "[Circuit Call] at (line @1), no node/pin <zz> in Component c1"},
          {'E', 1845, 0, "[Circuit Call] at (line @1), no port <nope> in [External Circuit] rc"},
          {'E', 1817, 0,
           "Circuit Call Line @1 instantiates  External Circuit at 16 with Floating Internal Node "
           "<q> type ANALOG "},
          {'E', 1823, 0,
           "Component <c1> Floating Pin <1> (no connections but used in CIRCIUT CALL)"}}},
        {"floating internal nodes; reserved ports may float",
         "[Circuit Call] ams\nPort_map x 1\n[Circuit Call] drv\nPort_map out 2\n",
         {{'E', 1817, 0,
           "Circuit Call Line @1 instantiates  External Circuit at 11 with Floating Internal Node "
           "<y> type AMS_UNKNOWN "}}},
        {"converters joined inside the circuit or through the wiring",
         "[Circuit Call] bad\nPort_map A_signal 1\n[Circuit Call] io\nPort_map A_signal "
         "2\nPort_map A_gnd 2\n",
         {{'E', 1819, 0,
           "CCALL Line <@3> A2D Line <8> Illegal connection,\n        2 analog reference/driver "
           "ports <A_signal>=<2> <A_gnd>=<2>"
           "\n        [CCALL] Line @3 Node <2>, Conflicting port = Line <8> Port <A_gnd> = "
           "ANALOG_RESERVE ANALOG "
           "\n        [CCALL] Line @3 Node <2>, Conflicting port = Line <8> Port <A_signal> = "
           "ANALOG ANALOG_DRIVER ANALOG_RECEIVER"},
          {'E', 1819, 0,
           "CCALL Line <@3> A2D Line <9> Illegal connection,\n        2 analog reference/driver "
           "ports <A_signal>=<2> <A_gnd>=<2>"
           "\n        [CCALL] Line @3 Node <2>, Conflicting port = Line <8> Port <A_gnd> = "
           "ANALOG_RESERVE ANALOG "
           "\n        [CCALL] Line @3 Node <2>, Conflicting port = Line <8> Port <A_signal> = "
           "ANALOG ANALOG_DRIVER ANALOG_RECEIVER"},
          {'E', 1818, 0, "Internal Node <A_signal>, External Circuit at 33: is analog and digital"},
          {'E', 1816, 0,
           "CCALL Line <@1> A2D Line <38> Illegal connection, 2 analog reference/driver ports "
           "<A_gnd>=<A_gnd> <A_gnd>=<A_gnd>"},
          {'E', 1824, 0,
           "Component c1 Node <1>: is analog and digital"
           "\n        [CCALL] Line @1 Node <1>, Conflicting port = Line <37> Port <A_signal> = "
           "DIGITAL DIGITAL_RECEIVER ANALOG ANALOG_DRIVER "},
          {'E', 1825, 0,
           "Component <c1> Node: <1> has a digital receiver but no digital driver"
           "\n        [CCALL] Line @1 Node <1>, Conflicting port = Line <37> Port <A_signal> = "
           "DIGITAL DIGITAL_RECEIVER ANALOG ANALOG_DRIVER "},
          {'E', 1834, 0,
           "Component <c1> Pin <1> Used as Digital in CIRCUIT CALL(s)(pins are analog)"
           "\n        [CCALL] Line @1 Node <1>, Conflicting port = Line <37> Port <A_signal> = "
           "DIGITAL DIGITAL_RECEIVER ANALOG ANALOG_DRIVER "}}},
        {"declared nodes: one connection floats, none is unused",
         "[Node Declarations]\nn1 n2\n[End Node Declarations]\n[Circuit Call] rc\nPort_map p "
         "n1\nPort_map q 1\n",
         {{'W', 1822, 0, "Component <c1> Unused Node <n2> (0 connection)"},
          {'E', 1821, 0,
           "Component <c1> Floating Node <n1> (1 connection)\n        [CCALL] Line @4 Node <n1>, "
           "Conflicting port = Port <p> = ANALOG "}}},
        {"a digital driver and receiver meet on a declared node",
         "[Node Declarations]\nd1\n[End Node Declarations]\n"
         "[Circuit Call] io\nPort_map D_drive d1\nPort_map A_signal 1\n"
         "[Circuit Call] io\nPort_map D_receive d1\nPort_map A_signal 2\n",
         {}},
        {"digital receivers and drivers alone; a pin used as digital",
         "[Node Declarations]\nd1 d2\n[End Node Declarations]\n"
         "[Circuit Call] io\nPort_map D_drive d1\nPort_map D_receive d2\nPort_map A_signal 1\n"
         "[Circuit Call] io\nPort_map D_drive 2\nPort_map A_gnd d1\nPort_map A_signal d2\n",
         {{'E', 1824, 0,
           "Component c1 Node <d2>: is analog and digital"
           "\n        [CCALL] Line @8 Node <d2>, Conflicting port = Line <8> Port <A_signal> = "
           "ANALOG ANALOG_DRIVER ANALOG_RECEIVER"
           "\n        [CCALL] Line @4 Node <d2>, Conflicting port = Line <9> Port <D_receive> = "
           "DIGITAL DIGITAL_DRIVER "},
          {'E', 1827, 0,
           "Component <c1> Node: <d2> has a digital driver but no digital receiver"
           "\n        [CCALL] Line @4 Node <d2>, Conflicting port = Line <9> Port <D_receive> = "
           "DIGITAL DIGITAL_DRIVER "},
          {'E', 1824, 0,
           "Component c1 Node <d1>: is analog and digital"
           "\n        [CCALL] Line @8 Node <d1>, Conflicting port = Line <8> Port <A_gnd> = "
           "ANALOG_RESERVE ANALOG "
           "\n        [CCALL] Line @4 Node <d1>, Conflicting port = Line <8> Port <D_drive> = "
           "DIGITAL DIGITAL_RECEIVER "},
          {'E', 1825, 0,
           "Component <c1> Node: <d1> has a digital receiver but no digital driver"
           "\n        [CCALL] Line @4 Node <d1>, Conflicting port = Line <8> Port <D_drive> = "
           "DIGITAL DIGITAL_RECEIVER "},
          {'E', 1824, 0,
           "Component c1 Node <2>: is analog and digital"
           "\n        [CCALL] Line @8 Node <2>, Conflicting port = Line <8> Port <D_drive> = "
           "DIGITAL DIGITAL_RECEIVER "},
          {'E', 1825, 0,
           "Component <c1> Node: <2> has a digital receiver but no digital driver"
           "\n        [CCALL] Line @8 Node <2>, Conflicting port = Line <8> Port <D_drive> = "
           "DIGITAL DIGITAL_RECEIVER "},
          {'E', 1834, 0,
           "Component <c1> Pin <2> Used as Digital in CIRCUIT CALL(s)(pins are analog)"
           "\n        [CCALL] Line @8 Node <2>, Conflicting port = Line <8> Port <D_drive> = "
           "DIGITAL DIGITAL_RECEIVER "}}},
        {"a port of unknown kind only warns",
         "[Node Declarations]\nd1\n[End Node Declarations]\n"
         "[Circuit Call] io\nPort_map D_drive d1\nPort_map A_signal 1\n"
         "[Circuit Call] ams\nPort_map x d1\nPort_map y 2\n",
         {{'W', 1826, 0,
           "Component <c1> Node: <d1> has a digital receiver but no obvious digital driver\n"
           "        This indicates connection to a AMS port that 'may' be digital "
           "\n        [CCALL] Line @4 Node <d1>, Conflicting port = Line <8> Port <D_drive> = "
           "DIGITAL DIGITAL_RECEIVER "}}},
        {"names longer than their field are cut",
         "[Circuit Call] rc\nSignal_pin 123456\nPort_map p_port_name_longer_than_forty_characters_ "
         "1\nPort_map q 2\n",
         {{'E', 1912, -2, "Signal_pin string '123456' is too long, truncating to 5 characters."},
          {'E', 1912, -3,
           "Port_map port string 'p_port_name_longer_than_forty_characters_' is too long, "
           "truncating to 40 characters."},
          {'E', 1839, 0,
           "CMPT <c1>, [Circuit Call] at (line @1) refererences illegal pin: <12345>"},
          {'E', 1845, 0,
           "[Circuit Call] at (line @1), no port <p_port_name_longer_than_forty_characters> in "
           "[External Circuit] rc"},
          {'E', 1817, 0,
           "Circuit Call Line @1 instantiates  External Circuit at 16 with Floating Internal Node "
           "<p> type ANALOG "},
          {'E', 1823, 0,
           "Component <c1> Floating Pin <1> (no connections but used in CIRCIUT CALL)"}}},
    };
    for (const SeriesRow& row : rows) RunRow(kPrologue, row);
}

TEST_F(CircuitCall, ChecksAnalogDriversAndReceiversWhenAsked) {
    const char kAnalog[] =
        "[Node Declarations]\na1 a2 a3\n[End Node Declarations]\n"
        "[Circuit Call] drv\nPort_map out a1\nPort_map A_gnd 4\n"
        "[Circuit Call] rc\nPort_map p a1\nPort_map q a2\n"
        "[Circuit Call] rcv\nPort_map in a2\nPort_map A_gnd 4\n"
        "[Circuit Call] ams\nPort_map x a3\nPort_map y a3\n";
    EXPECT_EQ(Check(std::string(kPrologue) + kAnalog), std::vector<SeriesMsg>{});
    CIRCUIT_SetAnalogCheck(1);
    const std::vector<SeriesRow> rows = {
        {"analog rules",
         kAnalog,
         {{'E', 1829, 0,
           "Component <c1> Node: <a3> has no defined drivers"
           "\n        [CCALL] Line @13 Node <a3>, Conflicting port = Port <y> = AMS_UNKNOWN "
           "\n        [CCALL] Line @13 Node <a3>, Conflicting port = Port <x> = AMS_UNKNOWN "},
          {'E', 1830, 0,
           "Component <c1> Node: <a2> has a analog receiver but no analog driver"
           "\n        [CCALL] Line @10 Node <a2>, Conflicting port = Line <31> Port <in> = ANALOG "
           "ANALOG_RECEIVER"},
          {'E', 1832, 0,
           "Component <c1> Node: <a1> has a analog driver but no analog receiver"
           "\n        [CCALL] Line @4 Node <a1>, Conflicting port = Line <25> Port <out> = ANALOG "
           "ANALOG_DRIVER "}}},
        {"with a port of unknown kind the analog rules warn",
         "[Node Declarations]\na1 a2\n[End Node Declarations]\n"
         "[Circuit Call] drv\nPort_map out a1\nPort_map A_gnd 4\n"
         "[Circuit Call] ams\nPort_map x a1\nPort_map y a2\n"
         "[Circuit Call] rcv\nPort_map in a2\nPort_map A_gnd 4\n"
         "[Circuit Call] io\nPort_map D_receive a2\nPort_map A_signal 1\n",
         {{'E', 1824, 0,
           "Component c1 Node <a2>: is analog and digital"
           "\n        [CCALL] Line @13 Node <a2>, Conflicting port = Line <9> Port <D_receive> = "
           "DIGITAL DIGITAL_DRIVER "
           "\n        [CCALL] Line @10 Node <a2>, Conflicting port = Line <31> Port <in> = ANALOG "
           "ANALOG_RECEIVER"},
          {'W', 1828, 0,
           "Component <c1> Node: <a2> has a digital driver but no obvious digital receiver\n"
           "        This indicates connection to a AMS port that 'may' be digital "
           "\n        [CCALL] Line @13 Node <a2>, Conflicting port = Line <9> Port <D_receive> = "
           "DIGITAL DIGITAL_DRIVER "},
          {'W', 1831, 0,
           "Component <c1> Node: <a2> has a analog receiver but no obvious analog driver\n"
           "        This indicates connection to a AMS port that 'may' be analog "
           "\n        [CCALL] Line @10 Node <a2>, Conflicting port = Line <31> Port <in> = ANALOG "
           "ANALOG_RECEIVER"},
          {'W', 1833, 0,
           "Component <c1> Node: <a1> has a analog driver but no obvious analog receiver\n"
           "        This indicates connection to a AMS port that 'may' be analog "
           "\n        [CCALL] Line @4 Node <a1>, Conflicting port = Line <25> Port <out> = ANALOG "
           "ANALOG_DRIVER "}}},
    };
    for (const SeriesRow& row : rows) RunRow(kPrologue, row);
}

TEST_F(CircuitCall, TracesConvertersOnlyWhenAsked) {
    std::string text =
        std::string(kPrologue) + "[Circuit Call] io\nPort_map A_signal 1\nPort_map A_gnd 4\n";
    testing::internal::CaptureStdout();
    Check(text);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    CIRCUIT_SetDebugTrace(1);
    testing::internal::CaptureStdout();
    Check(text);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "DEBUG: A & D at 8 47\n");
}

TEST_F(CircuitCall, PrintsFlagSetsInTheirFixedOrder) {
    char buf[256];
    CIRCUIT_FlagNames(0, buf, sizeof(buf));
    EXPECT_STREQ(buf, "");
    CIRCUIT_FlagNames(CIRCUIT_NC | CIRCUIT_UNKNOWN, buf, sizeof(buf));
    EXPECT_STREQ(buf, "NC UNKNOWN ");
    CIRCUIT_FlagNames(CIRCUIT_NC | CIRCUIT_ANALOG_RECEIVER | CIRCUIT_AMS_UNKNOWN, buf, sizeof(buf));
    EXPECT_STREQ(buf, "AMS_UNKNOWN ANALOG_RECEIVER");
    CIRCUIT_FlagNames(0xffff, buf, 12);  // cut, never past the buffer
    EXPECT_STREQ(buf, "AMS_UNKNOWN");
}

TEST_F(CircuitCall, KeepsDeclaredNodesOfAnyLength) {
    NODE_List* list = nullptr;
    ASSERT_EQ(NODE_NewList(&list), 1);
    std::string names = "a\tb " + std::string(300, 'n') + "  ";
    EXPECT_EQ(NODE_ReadLine(&names[0], list), 1);
    std::vector<std::string> got;
    for (NODE_Name* n = list->first; n; n = n->next) got.push_back(n->name);
    EXPECT_EQ(got, (std::vector<std::string>{std::string(300, 'n'), "b", "a"}));
    NODE_FreeList(&list);
    EXPECT_EQ(list, nullptr);
}

}  // namespace
