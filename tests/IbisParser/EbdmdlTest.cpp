// Board descriptions: identification keywords, pin lists, paths with their
// sections, forks, nodes and pins, reference designator maps, the checks at
// the end of a board, and the after-file check of the references into this
// and other files (missing files and cycles among them included).
#include <gtest/gtest.h>

#include <string>

#include "IbisFixture.h"
#include "IbisParser/ebdmdl.h"

namespace {

// Header (lines 1-3) and a board of two pins 1 and 2 (lines 4-9): a body
// after BOARD starts on line 10.
#define HEAD "[IBIS Ver] 3.2\n[File Name] t.ebd\n[File Rev] 1\n"
#define BOARD                                                                  \
    HEAD "[Begin Board Description] b\n[Manufacturer] m\n[Number Of Pins] 2\n" \
         "[Pin List] signal_name\n1 S1\n2 S2\n"
#define END "[End Board Description]\n[End]\n"

struct EbdCase {
    const char* name;
    const char* body;
    const char* expected;
};

class EbdFixture : public IbisFixture {
protected:
    void TearDown() override {
        EBDMDL_SetReferenceCheck(1);
        IbisFixture::TearDown();
    }

    static std::string Joined(std::string out) {
        for (size_t at; (at = out.find("-\n    ")) != std::string::npos;) out.replace(at, 6, "- ");
        return out;
    }

    // Reads t.ebd as the check driver does: the reader, then the after-file
    // checks, which read the files the boards reference.
    std::string Check(const std::string& text, const std::string& name = "t.ebd") {
        std::string path = Write(name, text);
        IbisFile* file = nullptr;
        EXPECT_EQ(IBIS_New(&file), 1);
        if (PARSE_File(path.c_str(), CMN_FILE_EBD)) SECTION_RunAfterFileChecks(file);
        IbisFile* current = nullptr;
        EXPECT_EQ(IBIS_Current(&current), 1);
        EXPECT_EQ(current, file) << "the checked file is no longer the current one";
        IBIS_Free(&file);
        return Joined(Output());
    }
};

// The section on its own: no reference is followed.
class Board : public EbdFixture, public ::testing::WithParamInterface<EbdCase> {};

TEST_P(Board, ReportsItsFaults) {
    EBDMDL_SetReferenceCheck(0);
    EXPECT_EQ(Check(GetParam().body), GetParam().expected);
}

const EbdCase kBoardCases[] = {
    {"CleanBoardWithForksAndSections",
     BOARD "[Path Description] p1\nPin 1 Len=0 L=1n C=1p /\nFork\nLen=1 L=6n C=2p / Node u1.3\n"
           "Endfork\nLen=0 R=33 / Node u2.3\n[Path Description] p2\nPin 2 Len=0 L=1n / NC\n"
           "[Reference Designator Map]\nu1 dram.ibs dram\nu2 dram.ibs dram\n" END,
     ""},
    {"NothingButTheName", HEAD "[Begin Board Description]\n[End]\n",
     "ERROR (line    4) - Zero length value for keyword 'Define Ebd Model'.\n"
     "ERROR - Ebd Model keyword 'Begin_Board_Description' not found or blank.\n"
     "ERROR - Keyword 'Manufacturer' not found or blank for Ebd Model ''.\n"
     "ERROR - Number_of_Pins keyword not found or value bad for Ebd Model ''.\n"
     "ERROR - Required keyword Pin_List not found.\n"
     "ERROR - EBD Model '' has no paths defined\n"
     "ERROR - Required End_Board_Description keyword not found.\n"},
    {"OrphanKeywordAndData", HEAD "[Pin List] signal_name\n1 S1\n[End]\n",
     "ERROR (line    4) - Orphan Electrical Board Description keyword.\n"
     "ERROR (line    5) - Orphan Data Line.\n"},
    {"PinCounts",
     HEAD "[Begin Board Description] b\n[Manufacturer] m\n[Number Of Pins]\n[Number Of Pins] x\n"
          "[Number Of Pins] 0\n[Number Of Pins] 1 pin\n[Number Of Pins] 3\n[Pin List] signal_name\n"
          "1 GND\n[Path Description] p\nPin 1\n" END,
     "ERROR (line    6) - Blank Number_of_Pins value.\n"
     "ERROR (line    7) - Duplicate [Number of Pins] keyword\n"
     "ERROR (line    7) - Bad Number_of_Pins value.\n"
     "ERROR (line    8) - Duplicate [Number of Pins] keyword\n"
     "ERROR (line    8) - Number_of_Pins = 0.\n"
     "ERROR (line    9) - Duplicate [Number of Pins] keyword\n"
     "WARNING (line    9) - Suspicious Number_of_Pins value.\n"
     "ERROR (line   10) - Duplicate [Number of Pins] keyword\n"
     "ERROR (line   10) - Duplicate Number_of_Pins keyword.\n"
     "WARNING - Pin '1' was referenced on Electrical Paths but is implicitly connected to a "
     "power or a gnd plane\n"},
    {"PinListHeader",
     HEAD
     "[Begin Board Description] b\n[Manufacturer] m\n[Number Of Pins] 1\n[Pin List]\n"
     "[Pin List] signal\n[Pin List] Signal_Name extra\n1 S1\n[Path Description] p\nPin 1\n" END,
     "ERROR (line    7) - Unable to find 'signal_name' after [Pin List] keyword.\n"
     "ERROR (line    8) - Duplicate [Pin List] keyword found.\n"
     "ERROR (line    8) - 'signal_name' column header not found.\n"
     "ERROR (line    9) - Duplicate [Pin List] keyword found.\n"
     "ERROR (line    9) - Unrecognized data after 'signal_name'\n"},
    {"PinLines",
     HEAD
     "[Begin Board Description] b\n[Manufacturer] m\n[Number Of Pins] 4\n"
     "[Pin List] signal_name\n1 S1\n1 S2\nLONGPINNAME SIGNAL_NAME_OF_30_CHARACTERS x\n2\n5 S5\n"
     "[Path Description] p\nPin 1 Len=0 L=1n / NC\n[Path Description] q\nPin 1 Len=0 L=1n / "
     "Pin LONGPINN Pin 2\n" END,
     "ERROR (line    9) - Duplicate Pin <1>.\n"
     "ERROR (line   10) - Pin name string too long. will be truncated.\n"
     "ERROR (line   10) - signal_name too long. will be truncated.\n"
     "ERROR (line   10) - Unexpected data after signal_name\n"
     "ERROR (line   11) - No signal_name found\n"
     "ERROR (line   12) - More Pin Numbers names than Number of pins.\n"
     "ERROR - Pin '1' was referenced 2 times on Electrical Paths\n"
     "ERROR - Pin '1' was referenced 2 times on Electrical Paths\n"},
    {"PinsBeforeTheirCountAndTooFewPins",
     HEAD "[Begin Board Description] b\n[Manufacturer] m\n[Pin List] signal_name\n1 S1\n"
          "[Number Of Pins] 3\n[Path Description] p\nPin 1\n" END,
     "ERROR (line    7) - Number of Pins is zero, unable to add Pin Number.\n"
     "ERROR - No Pin Numbers names found.\n"
     "ERROR - Pin '1' used in Path 'p' not defined\n"},
    {"SupplyAndReservedSignals",
     HEAD "[Begin Board Description] b\n[Manufacturer] m\n[Number Of Pins] 5\n"
          "[Pin List] signal_name\n1 GND_A\n2 POWER_3V3\n3 NC\n4 CLK\n[Path Description] p\n"
          "Pin 2 Len=0 L=1n / Node u1.1\n[Reference Designator Map]\nu1 u.ibs u\n" END,
     "WARNING - Pin '2' was referenced on Electrical Paths but is implicitly connected to a "
     "power or a gnd plane\n"
     "ERROR - Pin '4' was not referenced on any Electrical Path\n"
     "ERROR - Number of Pins <5> not the same as count of Pin Numbers names found <4>.\n"},
    {"OrphanPathItems",
     BOARD
     "[Path Description] p\nLen=0 L=1n / Pin 1\nNC\nFork\nEndfork\nNode u1.1\nNode\nPin\n" END,
     "ERROR (line   11) - Detected the start of an orphan R/L/C section\n"
     "ERROR (line   12) - Detected the start of an orphan 'NC'\n"
     "ERROR (line   13) - Detected the start of an orphan 'Fork'\n"
     "ERROR (line   14) - Detected the start of an orphan 'Endfork'\n"
     "ERROR (line   15) - Detected an orphan 'Node' sub param\n"
     "ERROR (line   16) - No ref_designatior.pin found after Node sub param\n"
     "ERROR (line   17) - No Pin Name found after Pin sub param\n"
     "ERROR - Pin '1' was not referenced on any Electrical Path\n"
     "ERROR - Pin '2' was not referenced on any Electrical Path\n"
     "ERROR - Path Descriptor 'p' has no segments\n"},
    {"ForksAndStrayItems",
     BOARD "[Path Description] p\nPin 1 Fork Endfork Endfork = / Foo\nFork Fork Len=0 L=1n /\n"
           "[Path Description] q\nPin 2 Fork Len=0 L=1n /\n" END,
     "ERROR (line   11) - Empty Fork/Endfork found\n"
     "ERROR (line   11) - Endfork found without enclosing Fork\n"
     "ERROR (line   11) - Unexpected '=' found\n"
     "ERROR (line   11) - Unexpected '/' found\n"
     "ERROR (line   11) - Unknown token found: 'Foo'\n"
     "ERROR (line   13) - Detected previous unterminated Forks\n"
     "ERROR (line   16) - Detected previous unterminated Forks\n"},
    {"SuspiciousPinAndNodeNames",
     BOARD "[Path Description] p\nPin 1 Pin A=1 Pin A/1 Pin Len Pin 123456789\n"
           "Node u1 Node abcdefghijk.1 Node u1.123456789 Node u1.a=b Node u/1.2 Node Fork\n"
           "[Path Description] q\nPin 2\n[Reference Designator Map]\nu1 u.ibs u\n" END,
     "WARNING (line   11) - Found a Pin Name 'A=1' containing '='. Possible syntax error\n"
     "WARNING (line   11) - Found a Pin Name 'A/1' containing '/'. Possible syntax error\n"
     "WARNING (line   11) - Found a Pin Name 'Len'. Possible syntax error\n"
     "ERROR (line   11) - Pin_name string too long. will be truncated.\n"
     "ERROR (line   12) - Invalid Node specified. Missing '.'\n"
     "ERROR (line   12) - Node Reference designator string too long. will be truncated.\n"
     "ERROR (line   12) - Node Pin name string too long. will be truncated.\n"
     "WARNING (line   12) - Found a Node 'u1.a=b' containing '='. Possible syntax error\n"
     "WARNING (line   12) - Found a Node 'u/1.2' containing '/'. Possible syntax error\n"
     "ERROR (line   12) - Invalid Node specified. Missing '.'\n"
     "WARNING (line   12) - Found a Node 'Fork'. Possible syntax error\n"
     "ERROR - Pin 'A=1' used in Path 'p' not defined\n"
     "ERROR - Pin 'A/1' used in Path 'p' not defined\n"
     "ERROR - Pin 'Len' used in Path 'p' not defined\n"
     "ERROR - Pin '12345678' used in Path 'p' not defined\n"
     "ERROR - Reference Designator 'abcdefghij' used in Path 'p' not defined\n"
     "ERROR - Reference Designator 'u/1' used in Path 'p' not defined\n"
     "ERROR - Reference Designator 'Fork' used in Path 'p' not defined\n"},
    {"UndefinedNamesAndNcNotLast",
     BOARD "[Path Description] p\nPin 1 NC Pin 2 Fork NC Endfork Node x1.1\n"
           "[Path Description] p\nPin 9\n[Path Description] p\nPin 1\n" END,
     "ERROR (line   12) - Duplicate Path_Description 'p'\n"
     "ERROR (line   14) - Duplicate Path_Description 'p'\n"
     "ERROR - Pin '1' was referenced 2 times on Electrical Paths\n"
     "ERROR - Path p or a branch does not terminate after NC\n"
     "ERROR - Reference Designator 'x1' used in Path 'p' not defined\n"
     "ERROR - Pin '9' used in Path 'p' not defined\n"},
    {"MapLines",
     BOARD
     "[Path Description] p\nPin 1 Pin 2\n[Reference Designator Map] x\n[Reference Designator Map]\n"
     "u1\nu2 f.ibs\nu1 f.ibs c\nabcdefghijkl f.ibs c\nu3 part.IBS comp1\nu4 a.b.ibs c\n"
     "u5 noext c\nu6 f*x.ibs c\nu7 averyveryverylongname_ab.ibs c\n"
     "u8 f.ebd a component name with blanks that runs past forty\n"
     "[End Board Description] x\n[End Board Description]\n[End]\n",
     "ERROR (line   12) - Extraneous data on 'Reference_Designator_Map' line.\n"
     "ERROR (line   13) - Duplicate 'Reference_Designator_Map' keyword found.\n"
     "ERROR (line   14) - No file name found\n"
     "ERROR (line   14) - No Component name found\n"
     "ERROR (line   15) - No Component name found\n"
     "ERROR (line   16) - Duplicate Reference Designator 'u1'\n"
     "ERROR (line   17) - Reference Designator name 'abcdefghijkl' too long. Will be truncated\n"
     "ERROR (line   18) - Unknown file extension'.IBS'. Should be '.ibs' or '.ebd'\n"
     "ERROR (line   18) - File_name 'part.IBS' contains an upper case character 'I'.\n"
     "ERROR (line   18) - File_name 'part.IBS' contains an upper case character 'B'.\n"
     "ERROR (line   18) - File_name 'part.IBS' contains an upper case character 'S'.\n"
     "ERROR (line   19) - File_name 'a.b.ibs' contains more than one period.\n"
     "ERROR (line   20) - Invalid file name 'noext'. It has no extension\n"
     "ERROR (line   21) - File_name 'f*x.ibs' contains a character '*' that is illegal for DOS.\n"
     "ERROR (line   22) - File name 'averyveryverylongname_ab.ibs' too long. Will be truncated\n"
     "ERROR (line   23) - Component name 'a component name with blanks that runs past forty' too "
     "long. Will be truncated\n"
     "ERROR (line   24) - Extraneous data on 'End_Board_Description' line.\n"
     "ERROR (line   25) - Duplicate 'End_Board_Description' keyword found.\n"},
    // [Manufacturer] belongs to the board only right after its opening
    // keyword; anywhere else it is a component's, and ends the board.
    {"DataAfterAKeywordWithoutData",
     HEAD "[Begin Board Description] b\n[Manufacturer] m\n[Manufacturer] n\ndata\n"
          "[Number Of Pins] 1\n[Pin List] signal_name\n1 S1\n[Path Description] p\nPin 1\n" END,
     "ERROR (line    6) - Duplicate 'Manufacturer' keyword.\n"
     "ERROR (line    7) - Orphan Data Line.\n"},
    {"RepeatedBoardNames",
     BOARD "[Path Description] p\nPin 1 Pin 2\n[End Board Description]\n"
           "[Begin Board Description] b\n[Manufacturer] m\n[Number Of Pins] 1\n"
           "[Pin List] signal_name\n1 S1\n[Path Description] p\nPin 1\n" END,
     "ERROR - Board Description 'b' is duplicated within the .ebd file.\n"},
    {"BoardLeftOpenByAnUnknownKeyword",
     BOARD "[Path Description] p\nPin 1 Pin 2\n[Nonsense]\n[End]\n",
     "ERROR (line   12) - Invalid Keyword: Nonsense\n"
     "ERROR - Required End_Board_Description keyword not found.\n"},
};
INSTANTIATE_TEST_SUITE_P(Sections, Board, ::testing::ValuesIn(kBoardCases),
                         [](const ::testing::TestParamInfo<EbdCase>& i) { return i.param.name; });

// References: t.ebd (board "b", pins 1 and 2) names other files of the same
// directory, written before it.  The body starts on line 10.
struct RefCase {
    const char* name;
    const char* otherName;
    const char* other;
    const char* body;
    const char* expected;
};

#define SUB_EBD                                                                        \
    "[IBIS Ver] 3.2\n[File Name] sub.ebd\n[File Rev] 1\n[Begin Board Description] s\n" \
    "[Manufacturer] m\n[Number Of Pins] 1\n[Pin List] signal_name\n1 S1\n"             \
    "[Path Description] p\nPin 1\n"
#define LOOP_EBD(self, other)                                                                \
    "[IBIS Ver] 3.2\n[File Name] " self "\n[File Rev] 1\n[Begin Board Description] " self    \
    "\n[Manufacturer] m\n[Number Of Pins] 1\n[Pin List] signal_name\n1 S1\n"                 \
    "[Path Description] p\nPin 1 Node u1.1\n[Reference Designator Map]\nu1 " other " " other \
    "\n" END

class References : public EbdFixture, public ::testing::WithParamInterface<RefCase> {};

// In expected texts "@/" stands for the test's directory: a message about
// another file than t.ebd begins with that file's path.
TEST_P(References, AreCheckedInTheFilesTheyName) {
    const RefCase& c = GetParam();
    if (c.otherName[0]) Write(c.otherName, c.other);
    std::string expected = c.expected;
    for (size_t at; (at = expected.find("@/")) != std::string::npos;)
        expected.replace(at, 2, dir_ + "/");
    EXPECT_EQ(Check(c.body), expected);
}

const RefCase kRefCases[] = {
    {"IntoTheFileItself", "", "",
     BOARD "[Path Description] p\nPin 1 Node u1.1 Node u1.2 Node u2.1 Node u2.2 Node u3.1\n"
           "[Path Description] q\nPin 2\n[Reference Designator Map]\nu1 t.ebd b\nu2 t.ebd c\n"
           "u3 t.ebd d\n[End Board Description]\n"
           "[Begin Board Description] c\n[Manufacturer] m\n[Number Of Pins] 1\n"
           "[Pin List] signal_name\n1 S1\n[Path Description] p\nPin 1\n" END,
     "ERROR - Reference Designator 'u1' refers to the Component 'b' itself being defined\n"
     "ERROR - Pin '2' not found on Component 'c' in file 't.ebd'\n"
     "ERROR - Component 'd' not found in file 't.ebd'\n"},
    {"IntoAnotherBoardFile", "sub.ebd", SUB_EBD END,
     BOARD "[Path Description] p\nPin 1 Node u1.1 Node u1.2 Node u2.1\n"
           "[Path Description] q\nPin 2 Node u1.1\n"
           "[Reference Designator Map]\nu1 sub.ebd s\nu2 sub.ebd nosuch\n" END,
     "ERROR - Pin '2' not found on Component 's' in file 'sub.ebd'\n"
     "ERROR - Component 'nosuch' not found in file 'sub.ebd'\n"},
    {"TheReferencedFileReportsItsOwnFaults", "sub.ebd", SUB_EBD "[End]\n",
     BOARD "[Path Description] p\nPin 1 Node u1.1\n[Path Description] q\nPin 2\n"
           "[Reference Designator Map]\nu1 sub.ebd s\n" END,
     "@/sub.ebd: ERROR - Required End_Board_Description keyword not found.\n"},
    {"IntoAComponentFile", "dram.ibs",
     "[IBIS Ver] 3.2\n[File Name] dram.ibs\n[File Rev] 1\n[Component] dram\n[Manufacturer] m\n"
     "[Package]\nR_pkg 0.1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n"
     "1 DQ0 dq\n2 VSS GND\n[Model] dq\nModel_type Input\nC_comp 1p NA NA\nVinl = 0.6\n"
     "Vinh = 0.9\n[Voltage Range] 1.5 NA NA\n[End]\n",
     BOARD
     "[Path Description] p\nPin 1 Node u1.1 Node u1.3 Node u2.1\n[Path Description] q\nPin 2\n"
     "[Reference Designator Map]\nu1 dram.ibs dram\nu2 dram.ibs ddr\n" END,
     "ERROR - Pin '3' not found on Component 'dram' in file 'dram.ibs'\n"
     "ERROR - Component 'ddr' not found in file 'dram.ibs'\n"},
    {"AnInvalidFileNameRecordsNoReference", "", "",
     BOARD "[Path Description] p\nPin 1 Node u1.1\n[Path Description] q\nPin 2\n"
           "[Reference Designator Map]\nu1 part.IBS comp1\n" END,
     "ERROR (line   15) - Unknown file extension'.IBS'. Should be '.ibs' or '.ebd'\n"
     "ERROR (line   15) - File_name 'part.IBS' contains an upper case character 'I'.\n"
     "ERROR (line   15) - File_name 'part.IBS' contains an upper case character 'B'.\n"
     "ERROR (line   15) - File_name 'part.IBS' contains an upper case character 'S'.\n"},
    // The name checked is the name used: one refused as too long is not
    // opened cut short.
    {"AnOverlongFileNameIsNotFollowed", "", "",
     BOARD "[Path Description] p\nPin 1 Node u1.1\n[Path Description] q\nPin 2\n"
           "[Reference Designator Map]\nu1 abcdefghijklmnopqrstu.ibs comp1\n" END,
     "ERROR (line   15) - File name 'abcdefghijklmnopqrstu.ibs' too long. Will be truncated\n"},
    {"AnIbsPinNameLongerThanAnyIbsPin", "dram.ibs",
     "[IBIS Ver] 3.2\n[File Name] dram.ibs\n[File Rev] 1\n[End]\n",
     BOARD "[Path Description] p\nPin 1 Node u1.123456\n[Path Description] q\nPin 2\n"
           "[Reference Designator Map]\nu1 dram.ibs dram\n" END,
     "ERROR - Length of Pin '123456' referenced for Component 'dram' is too long\n"},
    // Two files that name each other, but no chain of boards comes back:
    // b names u.ebd's board, which names a board t.ebd lacks.
    {"FilesNamingEachOtherWithoutABoardCycle", "u.ebd", LOOP_EBD("u.ebd", "t.ebd"),
     BOARD "[Path Description] p\nPin 1 Node u1.1\n[Path Description] q\nPin 2\n"
           "[Reference Designator Map]\nu1 u.ebd u.ebd\n" END,
     "@/u.ebd: ERROR - Component 't.ebd' not found in file 't.ebd'\n"},
    {"ACycleOfTwoBoardsInOneFile", "", "",
     BOARD "[Path Description] p\nPin 1 Node u1.1\n[Path Description] q\nPin 2\n"
           "[Reference Designator Map]\nu1 t.ebd c\n[End Board Description]\n"
           "[Begin Board Description] c\n[Manufacturer] m\n[Number Of Pins] 1\n"
           "[Pin List] signal_name\n1 S1\n[Path Description] p\nPin 1 Node u1.2\n"
           "[Reference Designator Map]\nu1 t.ebd b\n" END,
     "ERROR - Ebd file 't.ebd' recursively references the component b in the calling Ebd "
     "file 't.ebd'\n"},
};
INSTANTIATE_TEST_SUITE_P(Files, References, ::testing::ValuesIn(kRefCases),
                         [](const ::testing::TestParamInfo<RefCase>& i) { return i.param.name; });

// The referenced files leave their boards unended: each read of one
// reports it once.
#define LOOP_OPEN(self, other)                                                               \
    "[IBIS Ver] 3.2\n[File Name] " self "\n[File Rev] 1\n[Begin Board Description] " self    \
    "\n[Manufacturer] m\n[Number Of Pins] 1\n[Pin List] signal_name\n1 S1\n"                 \
    "[Path Description] p\nPin 1 Node u1.1\n[Reference Designator Map]\nu1 " other " " other \
    "\n[End]\n"

TEST_F(EbdFixture, ACycleOfThreeFilesIsReportedOnceAndEachFileReadOnce) {
    Write("b.ebd", LOOP_OPEN("b.ebd", "c.ebd"));
    Write("c.ebd", LOOP_OPEN("c.ebd", "a.ebd"));
    EXPECT_EQ(Check(LOOP_EBD("a.ebd", "b.ebd"), "a.ebd"),
              Path("b.ebd") + ": ERROR - Required End_Board_Description keyword not found.\n" +
                  Path("c.ebd") + ": ERROR - Required End_Board_Description keyword not found.\n" +
                  Path("c.ebd") +
                  ": ERROR - Ebd file 'c.ebd' recursively references the component a.ebd in the "
                  "calling Ebd file 'a.ebd'\n");
}

// A board that references nothing.
#define LEAF_BOARD(name)                       \
    "[Begin Board Description] " name          \
    "\n[Manufacturer] m\n[Number Of Pins] 1\n" \
    "[Pin List] signal_name\n1 S1\n[Path Description] p\nPin 1\n[End Board Description]\n"
// A board whose pin 1 reaches pin 1 of `component` in `file`.
#define REF_BOARD(name, file, component)                                    \
    "[Begin Board Description] " name                                       \
    "\n[Manufacturer] m\n[Number Of Pins] 1\n"                              \
    "[Pin List] signal_name\n1 S1\n[Path Description] p\nPin 1 Node u1.1\n" \
    "[Reference Designator Map]\nu1 " file " " component "\n[End Board Description]\n"

// x.ebd and y.ebd name each other, but brdX -> brdY -> brdZ ends: the
// files form a loop, the boards do not.
TEST_F(EbdFixture, AChainOfBoardsThatEndsIsNoRecursionWhereverItsFilesLead) {
    Write("y.ebd", "[IBIS Ver] 3.2\n[File Name] y.ebd\n[File Rev] 1\n" REF_BOARD("brdY", "x.ebd",
                                                                                 "brdZ") "[End]\n");
    EXPECT_EQ(Check("[IBIS Ver] 3.2\n[File Name] x.ebd\n[File Rev] 1\n" REF_BOARD(
                        "brdX", "y.ebd", "brdY") LEAF_BOARD("brdZ") "[End]\n",
                    "x.ebd"),
              "");
    Write("y.ebd", "[IBIS Ver] 3.2\n[File Name] y.ebd\n[File Rev] 1\n" REF_BOARD("brdY", "x.ebd",
                                                                                 "brdX") "[End]\n");
    EXPECT_EQ(Check("[IBIS Ver] 3.2\n[File Name] x.ebd\n[File Rev] 1\n" REF_BOARD(
                        "brdX", "y.ebd", "brdY") LEAF_BOARD("brdZ") "[End]\n",
                    "x.ebd"),
              Path("y.ebd") +
                  ": ERROR - Ebd file 'y.ebd' recursively references the component brdX in the "
                  "calling Ebd file 'x.ebd'\n");
}

TEST_F(EbdFixture, AMissingFileIsReportedAndTheCheckGoesOn) {
    Write("sub.ebd", SUB_EBD END);
    std::string gone = Path("gone.ebd");
    EXPECT_EQ(Check(BOARD "[Path Description] p\nPin 1 Node u1.1 Node u2.2\n"
                          "[Path Description] q\nPin 2 Node u1.2\n"
                          "[Reference Designator Map]\nu1 gone.ebd g\nu2 sub.ebd s\n" END),
              "ERROR - Unable To Open File '" + gone +
                  "'\nERROR - Could not determine Version for file " + gone +
                  "\nERROR - Pin '2' not found on Component 's' in file 'sub.ebd'\n");
}

// A directory spelled with a backslash ("x\\" here, a name of this
// directory on this system) joins the referenced name without a second
// separator, as a directory that ends in '/' does in every other test.
TEST_F(EbdFixture, AReferenceJoinsADirectoryEndingInABackslash) {
    Write("x\\sub.ebd", SUB_EBD END);
    EXPECT_EQ(Check(BOARD "[Path Description] p\nPin 1 Node u1.2\n[Path Description] q\nPin 2\n"
                          "[Reference Designator Map]\nu1 sub.ebd s\n" END,
                    "x\\t.ebd"),
              "ERROR - Pin '2' not found on Component 's' in file 'sub.ebd'\n");
}

TEST_F(EbdFixture, StoresPathElementsInOrderWithForkBranches) {
    std::string path = Write("t.ebd", BOARD
                             "[Path Description] p\nPin 1 Len=0 L=2n /\n"
                             "Fork Len=1 L=6n C=2p / Node u1.3 Endfork NC\n" END);
    IbisFile* file = nullptr;
    ASSERT_EQ(IBIS_New(&file), 1);
    ASSERT_EQ(PARSE_File(path.c_str(), CMN_FILE_EBD), 1);
    IbisItem* item = nullptr;
    ASSERT_EQ(IBIS_GetBoards(file, &item), 1);
    const EBDMDL* b = static_cast<const EBDMDL*>(item->record);
    ASSERT_NE(b->paths, nullptr);
    const EBDELEM* e = b->paths->first;
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->kind, EBD_ELEM_PIN);
    EXPECT_STREQ(e->pin, "1");
    ASSERT_NE(e = e->next, nullptr);
    ASSERT_EQ(e->kind, EBD_ELEM_SECTION);
    ASSERT_NE(e->sect->l, nullptr);
    EXPECT_DOUBLE_EQ(*e->sect->l, 2e-9);
    ASSERT_NE(e = e->next, nullptr);
    ASSERT_EQ(e->kind, EBD_ELEM_FORK);
    const EBDELEM* branch = e->branch;
    ASSERT_NE(branch, nullptr);
    EXPECT_EQ(branch->kind, EBD_ELEM_SECTION);
    ASSERT_NE(branch = branch->next, nullptr);
    EXPECT_EQ(branch->kind, EBD_ELEM_NODE);
    EXPECT_STREQ(branch->refdes, "u1");
    EXPECT_STREQ(branch->pin, "3");
    EXPECT_EQ(branch->next, nullptr);
    ASSERT_NE(e = e->next, nullptr);
    EXPECT_EQ(e->kind, EBD_ELEM_NC);
    EXPECT_EQ(e->next, nullptr);
    IBIS_Free(&file);
}

TEST_F(EbdFixture, NoReferenceIsFollowedWithTheCheckOff) {
    EBDMDL_SetReferenceCheck(0);
    EXPECT_EQ(Check(BOARD "[Path Description] p\nPin 1 Node u1.1\n[Path Description] q\nPin 2\n"
                          "[Reference Designator Map]\nu1 gone.ebd g\n" END),
              "");
}

TEST_F(EbdFixture, DeepForksAreReadWalkedAndReleasedWithoutRecursion) {
    std::string deep = BOARD "[Path Description] p\nPin 1\n";
    for (int i = 0; i < 100000; ++i) deep += "Fork Len=0 L=1n /\n";
    deep += "[Path Description] q\nPin 2\n" END;
    EXPECT_EQ(Check(deep), "ERROR (line 100012) - Detected previous unterminated Forks\n");
}

}  // namespace
