// Interconnect models: sets, the models in them, the groups of a component
// and the files they name.  Each row is a body read after an IBIS 7.0
// header (lines 1 to 3, so the body starts at line 4) in a directory that
// also holds the files a model or group may name, and every message
// expected (coded, with its line when it carries one).  The after-file
// checks run as the checker runs them.
#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

#include "EmiScript.h"
#include "IbisFixture.h"

namespace {

struct Row {
    const char* name;
    std::string body;  // from line 4
    std::string expected;
};

class Interconnect : public IbisFixture, public ::testing::WithParamInterface<Row> {
protected:
    std::string Check(const std::string& body) {
        MSG_SetCoded(1);
        Write("pkg.iss", ".subckt pkg a b\n.ends pkg\n");
        Write("a.s2p", "# GHz S RI R 50\n1 0 0 1 0 1 0 0 0\n");
        EXPECT_EQ(mkdir(Path("sub").c_str(), 0700), 0);
        Write("sub/b.s2p", "# GHz S RI R 50\n1 0 0 1 0 1 0 0 0\n");
        Write("sets.ims",
              "| two sets in a file of their own\n"
              "[Interconnect Model Set] die\n[End Interconnect Model Set]\n"
              "[Comment Char] #_char\n"
              "[Interconnect_Model_Set]   spaced  # its comment\n");
        Write("none.ims", "[Interconnect Model] die\n");
        return emiscript::Compact(CheckIbs(
            "t.ibs", "[IBIS Ver] 7.0\n[File Name] t.ibs\n[File Rev] 1.0\n" + body + "[End]\n"));
    }
};

TEST_P(Interconnect, ReportsEachFaultAtItsLine) {
    const Row& r = GetParam();
    EXPECT_EQ(Check(r.body), r.expected) << r.name;
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

// A component of rail pins only, lines 4 to 12.
const std::string CMP =
    "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 VDD POWER\n2 VSS GND\n";
// A set of one clean model, five lines.
std::string Set(const std::string& name) {
    return "[Interconnect Model Set] " + name +
           "\n[Interconnect Model] m\nFile_TS a.s2p\n[End Interconnect Model]\n"
           "[End Interconnect Model Set]\n";
}
// A set (`lines` + 4 lines) whose one model "m" holds `lines`.
std::string Model(const std::string& lines, const std::string& set = "s") {
    return "[Interconnect Model Set] " + set + "\n[Interconnect Model] m\n" + lines +
           "[End Interconnect Model]\n[End Interconnect Model Set]\n";
}
// A group (from line 13) of the component CMP, with `lines`.
std::string Group(const std::string& lines) {
    return CMP + "[Interconnect Model Group] g\n" + lines + "[End Interconnect Model Group]\n";
}

const Row kSetRows[] = {
    {"CleanSetsAndGroup",
     Group("s NA\ndie sets.ims\nspaced sets.ims\n") +
         Model("File_IBIS-ISS pkg.iss pkg\nParam len value 5m\nParam c Value \"a b\"\n"
               "Number_of_terminals = 3\nUnused_port_termination 50\n1 Pin_I/O pin_name 1\n") +
         "[Interconnect Model Set] t\n[Interconnect Model] n\nFile_TS sub/b.s2p NA NA\n"
         "[End Interconnect Model]\n[End Interconnect Model Set]\n",
     ""},
    {"SetWithoutName", "[Interconnect Model Set]\n[End Interconnect Model Set]\n",
     "E5300@4 Missing [Interconnect Model Set] name.\n"
     "W5306@5 Interconnect Model Set '' contains no [Interconnect Model]."},
    {"SetNameWithBlank", Set("a b"),
     "W5301@4 [Interconnect Model Set] name 'a b' contains a blank character."},
    {"SetNameTwice", Set("s") + Set("s") + Set("S"),
     "E5302@9 Interconnect Model Set 's' is already defined at line 4."},
    {"SetEndedByAnotherKeyword",
     "[Interconnect Model Set] s\n[Interconnect Model] m\nFile_TS a.s2p\n"
     "[End Interconnect Model]\n" +
         CMP,
     "E5303@8 [Interconnect Model Set] 's' is not ended by [End Interconnect Model Set]."},
    {"SetEndedByTheFileEnd", "[Interconnect Model Set] s\n",
     "E5303@5 [Interconnect Model Set] 's' is not ended by [End Interconnect Model Set].\n"
     "W5306@5 Interconnect Model Set 's' contains no [Interconnect Model]."},
    {"EndSetWithoutSet", Set("s") + "[End Interconnect Model Set]\n",
     "E5304@9 [End Interconnect Model Set] without an open [Interconnect Model Set]."},
    {"DataAfterEndSet",
     "[Interconnect Model Set] s\n[Interconnect Model] m\nFile_TS a.s2p\n"
     "[End Interconnect Model]\n[End Interconnect Model Set] s\nstray\n",
     "E5305@8 Unexpected data after [End Interconnect Model Set].\n"
     "E5305@9 Unexpected data after [End Interconnect Model Set]."},
    {"LinesOfTheSetOutsideItsModels",
     "[Interconnect Model Set] s\nManufacturer x\n[Interconnect Model] m\nFile_TS a.s2p\n"
     "[End Interconnect Model]\nmore\n[End Interconnect Model Set]\n",
     "W5307@5 'Manufacturer' in Interconnect Model Set 's' is outside an [Interconnect Model]; "
     "it is not known to this checker and the line is skipped.\n"
     "W5307@9 'more' in Interconnect Model Set 's' is outside an [Interconnect Model]; it is "
     "not known to this checker and the line is skipped."},
    {"ModelKeywordsOutsideASet",
     "[Interconnect Model] m\nFile_TS a.s2p\n[End Interconnect Model]\n",
     "E5308@4 [Interconnect Model] outside an [Interconnect Model Set].\n"
     "E5308@6 [End Interconnect Model] outside an [Interconnect Model Set]."},
};
INSTANTIATE_TEST_SUITE_P(Sets, Interconnect, ::testing::ValuesIn(kSetRows), RowName);

const Row kModelRows[] = {
    {"ModelWithoutName",
     "[Interconnect Model Set] s\n[Interconnect Model]\nFile_TS a.s2p\n"
     "[End Interconnect Model]\n[End Interconnect Model Set]\n",
     "E5300@5 Missing [Interconnect Model] name."},
    {"ModelNameWithBlank",
     "[Interconnect Model Set] s\n[Interconnect Model] m 1\nFile_TS a.s2p\n"
     "[End Interconnect Model]\n[End Interconnect Model Set]\n",
     "W5301@5 [Interconnect Model] name 'm 1' contains a blank character."},
    {"ModelEndedByTheSetEnd",
     "[Interconnect Model Set] s\n[Interconnect Model] m\nFile_TS a.s2p\n"
     "[End Interconnect Model Set]\n",
     "E5303@7 [Interconnect Model] 'm' is not ended by [End Interconnect Model]."},
    {"ModelEndedByTheNextModel",
     "[Interconnect Model Set] s\n[Interconnect Model] m\n[Interconnect Model] n\n"
     "File_TS a.s2p\n[End Interconnect Model]\n[End Interconnect Model Set]\n",
     "E5303@6 [Interconnect Model] 'm' is not ended by [End Interconnect Model].\n"
     "E5309@6 Interconnect Model 'm' names neither File_IBIS-ISS nor File_TS."},
    {"EndModelTwice", Model("File_TS a.s2p\n[End Interconnect Model] m\n"),
     "E5305@7 Unexpected data after [End Interconnect Model].\n"
     "E5304@8 [End Interconnect Model] without an open [Interconnect Model]."},
    {"NoFile", Model("Param p Value 1\n"),
     "E5309@7 Interconnect Model 'm' names neither File_IBIS-ISS nor File_TS."},
    {"BothFiles", Model("File_TS a.s2p\nFile_IBIS-ISS pkg.iss pkg\n"),
     "E5310@7 Interconnect Model 'm' names both File_IBIS-ISS and File_TS; it takes one of "
     "them."},
    {"FileTwice", Model("File_IBIS-ISS pkg.iss pkg\nfile_ibis-iss pkg.iss pkg\n"),
     "E5311@7 File_IBIS-ISS is already given for Interconnect Model 'm' at line 6."},
    {"FileItems",
     Model("File_TS\n") + Model("File_IBIS-ISS pkg.iss\n", "s2") +
         Model("File_IBIS-ISS pkg.iss pkg x\n", "s3"),
     "E5312@6 File_TS of Interconnect Model 'm' takes a file_name; found 0 items.\n"
     "E5312@11 File_IBIS-ISS of Interconnect Model 'm' takes a file_name and a circuit_name; "
     "found 1 items.\n"
     "E5312@16 File_IBIS-ISS of Interconnect Model 'm' takes a file_name and a circuit_name; "
     "found 3 items."},
    {"FileOutsideTheDirectory",
     Model("File_TS ../a.s2p\n") + Model("File_IBIS-ISS /tmp/pkg.iss pkg\n", "s2") +
         Model("File_TS C:a.s2p\n", "s3"),
     "E5313@6 File '../a.s2p' of Interconnect Model 'm' is not in the directory of this file "
     "or below it.\n"
     "E5313@11 File '/tmp/pkg.iss' of Interconnect Model 'm' is not in the directory of this "
     "file or below it.\n"
     "E5313@16 File 'C:a.s2p' of Interconnect Model 'm' is not in the directory of this file "
     "or below it."},
    {"FileNotThere",
     Model("File_TS b.s2p\n") + Model("File_TS sub\n", "s2") + Model("File_TS a..s2p\n", "s3"),
     "E5314@6 File 'b.s2p' of Interconnect Model 'm' not found.\n"
     "E5314@11 File 'sub' of Interconnect Model 'm' not found.\n"
     "E5314@16 File 'a..s2p' of Interconnect Model 'm' not found."},
    {"ParamWithTouchstoneReportedOnce",
     Model("Param p Value 1\nParam q Value 2\nFile_TS a.s2p\n") +
         Model("File_TS a.s2p\nParam p Value 1\n", "s2"),
     "E5315@8 Param and File_TS are not allowed together in Interconnect Model 'm'; Param is "
     "passed to a File_IBIS-ISS circuit only.\n"
     "E5315@14 Param and File_TS are not allowed together in Interconnect Model 'm'; Param is "
     "passed to a File_IBIS-ISS circuit only."},
    {"ParamItems", Model("File_IBIS-ISS pkg.iss pkg\nParam\nParam p Value\nParam p Value 1 2\n"),
     "E5316@7 Param of Interconnect Model 'm' takes a name, the format Value and one value; "
     "found 0 items.\n"
     "E5316@8 Param of Interconnect Model 'm' takes a name, the format Value and one value; "
     "found 2 items.\n"
     "E5316@9 Param of Interconnect Model 'm' takes a name, the format Value and one value; "
     "found 4 items."},
    {"ParamFormatAndValue",
     Model("File_IBIS-ISS pkg.iss pkg\nParam p Range 1\nParam q Value one\n"
           "Param r Value \"open\n"),
     "E5317@7 Param 'p' has format 'Range'; the only format is Value.\n"
     "E5318@8 Param 'q' value 'one' is neither a number nor a quoted string.\n"
     "E5318@9 Param 'r' value '\"open' is neither a number nor a quoted string."},
    {"ParamNameTwice", Model("File_IBIS-ISS pkg.iss pkg\nParam p Value 1\nParam p Value 2\n"),
     "E5319@8 Param 'p' is already given for Interconnect Model 'm'."},
    {"UnknownSubparameter", Model("File_TS a.s2p\nFile_S2P a.s2p\n"),
     "W5320@7 'File_S2P' in Interconnect Model 'm' is not known to this checker; the line is "
     "skipped."},
};
INSTANTIATE_TEST_SUITE_P(Models, Interconnect, ::testing::ValuesIn(kModelRows), RowName);

const Row kGroupRows[] = {
    {"GroupWithoutName",
     CMP + "[Interconnect Model Group]\ns NA\n[End Interconnect Model Group]\n" + Set("s"),
     "E5400@13 Missing [Interconnect Model Group] name."},
    {"GroupNameWithBlank",
     CMP + "[Interconnect Model Group] g 1\ns NA\n[End Interconnect Model Group]\n" + Set("s"),
     "W5401@13 [Interconnect Model Group] name 'g 1' contains a blank character."},
    {"GroupEndedByAComponentKeyword",
     CMP + "[Interconnect Model Group] g\ns NA\n[Diff Pin] inv_pin vdiff tdelay_typ\n" + Set("s"),
     "E5402@15 [Interconnect Model Group] 'g' is not ended by [End Interconnect Model Group]."},
    {"EndGroupWithoutGroup", Group("s NA\n") + "[End Interconnect Model Group]\n" + Set("s"),
     "E5403@16 [End Interconnect Model Group] without an open [Interconnect Model Group]."},
    {"DataAfterEndGroup",
     CMP + "[Interconnect Model Group] g\ns NA\n[End Interconnect Model Group] g\nstray\n" +
         Set("s"),
     "E5404@15 Unexpected data after [End Interconnect Model Group].\n"
     "E5404@16 Unexpected data after [End Interconnect Model Group]."},
    {"GroupOfNoSet", Group(""),
     "W5405@14 Interconnect Model Group 'g' names no Interconnect Model Set."},
    {"LineItems", Group("s\ns NA x\n") + Set("s"),
     "E5406@14 Interconnect Model Group 'g': a line names an Interconnect Model Set and its "
     "file (NA for this file); found 1 items.\n"
     "E5406@15 Interconnect Model Group 'g': a line names an Interconnect Model Set and its "
     "file (NA for this file); found 3 items."},
    {"SetFileOutsideOrMissing", Group("die ../sets.ims\ndie gone.ims\ndie sub\n"),
     "E5407@14 File '../sets.ims' of Interconnect Model Group 'g' is not in the directory of "
     "this file or below it.\n"
     "E5408@15 File 'gone.ims' of Interconnect Model Group 'g' not found.\n"
     "E5408@16 File 'sub' of Interconnect Model Group 'g' not found."},
    {"SetNotInItsFile", Group("die none.ims\nDie sets.ims\nits sets.ims\n"),
     "E5409@14 Interconnect Model Set 'die' of Interconnect Model Group 'g' not found in file "
     "'none.ims'.\n"
     "E5409@15 Interconnect Model Set 'Die' of Interconnect Model Group 'g' not found in file "
     "'sets.ims'.\n"
     "E5409@16 Interconnect Model Set 'its' of Interconnect Model Group 'g' not found in file "
     "'sets.ims'."},
    {"SetNotInThisFile", Group("s na\nt NA\n") + Set("s"),
     "E5410 Component 'c': Interconnect Model Set 't' of Interconnect Model Group 'g' is not "
     "defined in this file."},
};
INSTANTIATE_TEST_SUITE_P(Groups, Interconnect, ::testing::ValuesIn(kGroupRows), RowName);

}  // namespace
