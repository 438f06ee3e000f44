// IbisKit: a model kit as its .ibs file describes it, read through the
// project's own IBIS checker (CHECK_FileWith) so that the checker is the
// only reader of .ibs text: the components with their pins, differential
// pairs and package, and the models with what a link needs of them (type,
// C_comp, voltage range and references, the I-V tables, the test load and
// the [Algorithmic Model] executables). The checker's messages are kept
// with their severity, code and line.
//
// Values are in SI units (ohms, henries, farads, volts, amperes) as the
// checker reads them; a minimum or maximum that is absent or NA takes the
// typical value, as IBIS has it.
#pragma once

#include <string>
#include <vector>

#include "tools/ami-sim/Corner.h"

namespace amisim {

// A typical, minimum, maximum triple.
struct KitTriple {
    double value[3] = {0.0, 0.0, 0.0};  // typ, min, max
    bool given = false;                 // the typical value is given
    double At(Corner c) const { return value[static_cast<int>(c)]; }
};

// An I-V table: current into the pin (A) at each voltage (V) of its first
// column, per corner.
struct IvTable {
    std::vector<double> voltage;
    std::vector<double> current[3];
    bool present() const { return voltage.size() >= 2; }
    // Linear between the rows, the end rows' slopes beyond them.
    double At(double v, Corner c) const;
};

struct KitPin {
    std::string name, signal, model;
    double r = 0.0, l = 0.0, c = 0.0;  // R_pin, L_pin, C_pin
    bool hasR = false, hasL = false, hasC = false;
    int line = 0;
};

struct KitComponent {
    std::string name;
    KitTriple rPkg, lPkg, cPkg;
    std::vector<KitPin> pins;
    std::vector<std::pair<std::string, std::string>> diffPins;  // pin, inverting pin
    const KitPin* Pin(const std::string& name) const;
    // The other pin of `pin`'s differential pair, or "".
    std::string Partner(const std::string& pin) const;
};

// One Executable (or Executable_Rx / Executable_Tx) line.
struct KitExecutable {
    enum Direction { Either, Rx, Tx } direction = Either;
    std::string platform, compiler;
    int bits = -1;
    std::string codeFile, paramFile;
    std::string Line() const;  // "Linux_gcc_64 corvin_rx1_x64.so corvin_rx1.ami"
};

struct KitModel {
    std::string name;
    std::string type;  // "Output", "Input", "I/O", ...
    bool drives = false, receives = false;
    KitTriple cComp;
    KitTriple voltageRange, pullupReference, pulldownReference, powerClampReference,
        gndClampReference;
    double rref = 0.0, vref = 0.0;
    bool hasRref = false, hasVref = false;
    IvTable pullup, pulldown, gndClamp, powerClamp;
    std::vector<KitExecutable> executables;  // in file order
    int line = 0;
    bool algorithmic() const { return !executables.empty(); }
};

// One message of the checker.
struct KitMessage {
    char letter = 'E';  // 'B' bug, 'E' error, 'W' warning, 'N' note ...
    int code = -1;
    int line = 0;
    std::string file, text;
    std::string Text() const;  // "corvin.ibs:12: error: ... [E1234]"
};

struct IbisKit {
    std::string path;       // as given
    std::string directory;  // the folder that holds it
    std::vector<KitComponent> components;
    std::vector<KitModel> models;
    std::vector<KitMessage> messages;
    bool read = false;  // the checker could read the file
    const KitModel* Model(const std::string& name) const;
};

// Checks `path` with the IBIS checker and reads what it found. False with
// `error` only when the file cannot be read at all; the checker's verdict
// is in the messages (KitFailures).
bool ReadIbisKit(const std::string& path, IbisKit& kit, std::string& error);

// The messages that fail the file (bugs and errors), leaving out those that
// `ignore` accepts.
template <typename Ignore>
std::vector<const KitMessage*> KitFailures(const IbisKit& kit, Ignore ignore) {
    std::vector<const KitMessage*> failures;
    for (const KitMessage& m : kit.messages)
        if ((m.letter == 'B' || m.letter == 'E') && !ignore(m)) failures.push_back(&m);
    return failures;
}

}  // namespace amisim
