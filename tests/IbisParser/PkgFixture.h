// PkgFixture: package-model files for the package-model tests.  A model
// of n pins named A1..An with its identification keywords, a body (the
// matrices or the section-form pin lines) and the end keywords; outputs
// come back with the log's wrapped lines joined, so that an expectation
// reads "ERROR (line   15) - text" whatever the text's length.
#pragma once

#include <string>

#include "IbisFixture.h"
#include "IbisParser/pkgmdl.h"

// One table row: a body, the expected messages.
struct PkgCase {
    const char* name;
    const char* body;
    const char* expected;
};

class PkgFixture : public IbisFixture {
protected:
    static std::string Joined(std::string out) {
        for (size_t at; (at = out.find("-\n    ")) != std::string::npos;) out.replace(at, 6, "- ");
        return out;
    }

    // Header (3 lines), identification (4), [Number of Pins], [Pin Numbers],
    // n pins and, without sections, [Model Data]: the body starts on line
    // 11 + n (10 + n in section form).
    static std::string Model(int pins, const std::string& body, bool sections = false,
                             const std::string& version = "3.2") {
        std::string s = "[IBIS Ver] " + version + "\n[File Name] t.pkg\n[File Rev] 1\n" +
                        "[Define Package Model] qfn\n[Manufacturer] m\n[OEM] o\n"
                        "[Description] d\n[Number of Pins] " +
                        std::to_string(pins) + "\n";
        if (sections) return s + body;
        s += "[Pin Numbers]\n";
        for (int i = 1; i <= pins; ++i) s += "A" + std::to_string(i) + "\n";
        return s + "[Model Data]\n" + body;
    }

    // The end of a complete model: a clean 3-pin sparse capacitance
    // matrix (7 lines) and the end keywords (2 lines).
    static std::string End3() {
        return "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA1 1p\n[Row] A2\nA2 1p\n"
               "[Row] A3\nA3 1p\n[End Model Data]\n[End Package Model]\n[End]\n";
    }

    std::string ParsePkg(const std::string& text) {
        return Joined(Parse("t.pkg", text, CMN_FILE_PKG));
    }

    // Reads a file and keeps its record for inspection (IBIS_Free releases it).
    IbisFile* Keep(const std::string& text, const std::string& name = "t.pkg") {
        std::string path = Write(name, text);
        IbisFile* file = nullptr;
        EXPECT_EQ(IBIS_New(&file), 1);
        EXPECT_EQ(PARSE_File(path.c_str(), CMN_FILE_PKG), 1);
        return file;
    }

    static PKGMDL* First(IbisFile* file) {
        IbisItem* item = nullptr;
        return IBIS_GetPackageModels(file, &item) ? static_cast<PKGMDL*>(item->record) : nullptr;
    }
};
