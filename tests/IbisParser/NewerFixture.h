// NewerFixture: checks a whole file of IBIS 5.1 or later as the checker
// does (reader and after-file checks) and returns the coded messages, one
// row per message ("E5106 text", "W5104@21 text"), for the table tests of
// the keywords and lines that IBIS 5.1 to 7.2 added.
//
// NewerFile builds the file: a component "C" whose pins 1/2 (model "in")
// and 3/4 (model "out") are [Diff Pin] pairs and whose pin 5 (model "in")
// is single-ended, then the two models.  Lines 1 to 3 are the header;
// `beforePins` starts at line 10; the component's last line before
// `component` is 18 plus the lines of `beforePins`; `inModel` ends model
// "in", `outModel` model "out", and `tail` follows both.
#pragma once

#include <string>

#include "EmiScript.h"
#include "IbisFixture.h"

struct NewerParts {
    std::string version = "7.2";
    std::string beforePins, component, inModel, outModel, tail;
};

inline std::string NewerFile(const NewerParts& p) {
    return "[IBIS Ver] " + p.version +
           "\n[File Name] t.ibs\n[File Rev] 1\n[Component] C\n[Manufacturer] M\n"
           "[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n" +
           p.beforePins +
           "[Pin] signal_name model_name\n1 A in\n2 B in\n3 C out\n4 D out\n5 K in\n"
           "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n"
           "1 2 0.1 NA NA NA\n3 4 0.1 NA NA NA\n" +
           p.component +
           "[Model] in\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p NA NA\n"
           "[Voltage Range] 3.3 NA NA\n[GND Clamp]\n-1 -1m NA NA\n0 0 NA NA\n" +
           p.inModel +
           "[Model] out\nModel_type Output\nVmeas = 1.65\nC_comp 1p NA NA\n"
           "[Voltage Range] 3.3 NA NA\n[Pulldown]\n0 0 NA NA\n1 1m NA NA\n"
           "[Pullup]\n0 0 NA NA\n1 1m NA NA\n"
           "[Ramp]\ndV/dt_r 1/1n NA NA\ndV/dt_f 1/1n NA NA\n" +
           p.outModel + p.tail + "[End]\n";
}

class NewerFixture : public IbisFixture {
protected:
    // Checks `text` as t.ibs in the scratch directory.
    std::string Check(const std::string& text) {
        MSG_SetCoded(1);
        return emiscript::Compact(CheckIbs("t.ibs", text));
    }
};
