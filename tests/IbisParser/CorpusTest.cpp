// Whole files through the check driver, against the pinned output of each:
// the project's own small corpus (tests/data/ibis) and the shared corpus of
// public files by other authors.  The expected texts live in
// tests/data/ibis/expected/.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "IbisParser/check.h"
#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"
#include "MsgCapture.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Case {
    const char* path;      // relative to the project root
    const char* expected;  // file name under tests/data/ibis/expected
    int passed;
};

class Corpus : public MsgCapture, public ::testing::WithParamInterface<Case> {};

TEST_P(Corpus, ReportsThePinnedMessages) {
    const Case& c = GetParam();
    std::string root = std::getenv("CORVIN_SOURCE_DIR") ? std::getenv("CORVIN_SOURCE_DIR") : ".";
    PARSE_SetSilent(1);
    EXPECT_EQ(CHECK_File(c.path), c.passed);
    EXPECT_EQ(Output(), ReadFile(root + "/tests/data/ibis/expected/" + c.expected)) << c.path;
}

const Case kOwn[] = {
    {"tests/data/ibis/hdr21.ibs", "hdr21.ibs.out", 1},
    {"tests/data/ibis/hdr32.ibs", "hdr32.ibs.out", 0},
    {"tests/data/ibis/hdr42.ibs", "hdr42.ibs.out", 1},
    {"tests/data/ibis/hdr50.ibs", "hdr50.ibs.out", 1},
    {"tests/data/ibis/crlf.ibs", "crlf.ibs.out", 1},
    {"tests/data/ibis/tabs.ibs", "tabs.ibs.out", 0},
    {"tests/data/ibis/long_lines.ibs", "long_lines.ibs.out", 0},
    {"tests/data/ibis/binary.ibs", "binary.ibs.out", 0},
    {"tests/data/ibis/no_end.ibs", "no_end.ibs.out", 0},
    {"tests/data/ibis/bad_comment_char.ibs", "bad_comment_char.ibs.out", 0},
    {"tests/data/ibis/bad_header.ibs", "bad_header.ibs.out", 0},
    {"tests/data/ibis/version7.ibs", "version7.ibs.out", 1},
    {"tests/data/ibis/icm/interconnect.ibs", "icm-interconnect.ibs.out", 1},
    {"tests/data/ibis/board.ebd", "board.ebd.out", 0},
    {"tests/data/ibis/ebd/dimm.ebd", "dimm.ebd.out", 1},
    {"tests/data/ibis/package.pkg", "package.pkg.out", 0},
    {"tests/data/ibis/good.ami", "good.ami.out", 1},
    {"tests/data/ibis/broken_parens.ami", "broken_parens.ami.out", 0},
    {"tests/data/ibis/no_reserved.ami", "no_reserved.ami.out", 0},
    {"tests/data/ibis/bad_reserved.ami", "bad_reserved.ami.out", 0},
};
INSTANTIATE_TEST_SUITE_P(Own, Corpus, ::testing::ValuesIn(kOwn));

const Case kShared[] = {
    {"../shared/corpus/fedevel-3w/sn74lvc1g17.ibs", "corpus-fedevel-3w-sn74lvc1g17.ibs.out", 1},
    {"../shared/corpus/ibisami/example_rx.ami", "corpus-ibisami-example_rx.ami.out", 1},
    {"../shared/corpus/ibisami/example_rx.ibs", "corpus-ibisami-example_rx.ibs.out", 0},
    {"../shared/corpus/ibisami/example_tx.ami", "corpus-ibisami-example_tx.ami.out", 1},
    {"../shared/corpus/ibisami/example_tx.ibs", "corpus-ibisami-example_tx.ibs.out", 0},
    {"../shared/corpus/kicad/ibis_v1_1.ibs", "corpus-kicad-ibis_v1_1.ibs.out", 0},
    {"../shared/corpus/kicad/ibis_v2_1.pkg", "corpus-kicad-ibis_v2_1.pkg.out", 0},
    {"../shared/corpus/pybis2spice/max232.ibs", "corpus-pybis2spice-max232.ibs.out", 1},
    {"../shared/corpus/pybis2spice/no_r_l_c_pin_columns.ibs",
     "corpus-pybis2spice-no_r_l_c_pin_columns.ibs.out", 0},
    {"../shared/corpus/pybis2spice/sn74lvc2t45.ibs", "corpus-pybis2spice-sn74lvc2t45.ibs.out", 1},
};
INSTANTIATE_TEST_SUITE_P(Shared, Corpus, ::testing::ValuesIn(kShared));

// A check lets go of everything it allocated: the sections' indexes and
// open records go with the file, not when the next file begins.
TEST_F(Corpus, EachCheckLeavesNothingAllocatedBehind) {
    PARSE_SetSilent(1);
    std::vector<const Case*> cases;
    for (const Case& c : kOwn) cases.push_back(&c);
    for (const Case& c : kShared) cases.push_back(&c);
    size_t before = CMN_LiveBlocks();
    for (const Case* c : cases) {
        CHECK_File(c->path);
        EXPECT_EQ(CMN_LiveBlocks(), before) << c->path;
    }
    Output();
}

TEST_F(Corpus, ChecksAVersion1FileWhenVersion1IsAccepted) {
    PARSE_SetSilent(1);
    PARSE_SetAcceptVersion1(1);
    int passed = CHECK_File("../shared/corpus/kicad/ibis_v1_1.ibs");
    PARSE_SetAcceptVersion1(0);
    // Read by the 2.1 rules: its [File Name] is over their 12 characters.
    // Pin 4 names the model "Ouput", which the file does not define.
    EXPECT_EQ(passed, 0);
    EXPECT_EQ(Output(),
              "ERROR (line    3) -\n    File_name string 'ibis_v1_1.ibs' is too long, truncating to 12 characters.\n"
              "ERROR (line    3) -\n    File name opened 'ibis_v1_1.ibs' not the same as File_name 'ibis_v1_1.ib'.\n"
              "ERROR - Component 'Virtual': Model 'Ouput' for Pin '4' not defined.\n"
              "\nErrors  : 3\n\nFile Failed\n");
}

}  // namespace
