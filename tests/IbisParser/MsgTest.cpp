// Message log: line forms and their length bounds, coded output, unknown
// codes, suppression, counters and the summary.
#include <gtest/gtest.h>

#include <cstdarg>
#include <ostream>
#include <string>
#include <vector>

#include "IbisParser/msg.h"
#include "tests/IbisParser/MsgCapture.h"

namespace {

int Print(int type, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    int r = MSG_Print(type, fmt, &ap);
    va_end(ap);
    return r;
}

int PrintCode(int code, int type, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    int r = MSG_PrintCode(code, type, fmt, &ap);
    va_end(ap);
    return r;
}

int LineSeven() { return 7; }
int LineTwelve() { return 12; }

struct FormCase {
    int type;
    const char* prefix;  // one-line prefix, "(line    7)" where it has one
    size_t twoLineMin;   // 0: never two lines
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.prefix; }

class MsgForms : public MsgCapture, public ::testing::WithParamInterface<FormCase> {};

}  // namespace

// For every severity: one line just below the lower bound and just above
// 75 characters, two lines from the lower bound through 75 inclusive.
TEST_P(MsgForms, TwoLineFormExactlyWithinBounds) {
    const FormCase& c = GetParam();
    MSG_SetLineSource(LineSeven);
    const std::string head = std::string(c.prefix);
    size_t lengths[] = {c.twoLineMin ? c.twoLineMin - 1 : 71, c.twoLineMin ? c.twoLineMin : 72, 75, 76};
    for (size_t len : lengths) {
        std::string text(len, 'x');
        Print(c.type, "%s", text.c_str());
        bool two = c.twoLineMin && len >= c.twoLineMin && len <= 75;
        std::string expected = two ? head + " -\n    " + text + "\n" : head + " - " + text + "\n";
        EXPECT_EQ(Output(), expected) << "length " << len;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllSeverities, MsgForms,
    ::testing::Values(FormCase{MSG_TYPE_BUG, "PROGRAM BUG", 0},
                      FormCase{MSG_TYPE_BUG_LINE, "PROGRAM BUG (line    7)", 0},
                      FormCase{MSG_TYPE_ERROR, "ERROR", 72},
                      FormCase{MSG_TYPE_ERROR_LINE, "ERROR (line    7)", 60},
                      FormCase{MSG_TYPE_WARNING, "WARNING", 70},
                      FormCase{MSG_TYPE_WARNING_LINE, "WARNING (line    7)", 58},
                      FormCase{MSG_TYPE_CAUTION, "CAUTION", 70},
                      FormCase{MSG_TYPE_CAUTION_LINE, "CAUTION (line    7)", 58},
                      FormCase{MSG_TYPE_NOTE, "NOTE", 73},
                      FormCase{MSG_TYPE_NOTE_LINE, "NOTE (line    7)", 61}));

using MsgLog = MsgCapture;

TEST_F(MsgLog, ErrorCodeInUncodedModeShowsTextAndBlankLine) {
    MSG_ErrorCode(1906, 24u);
    EXPECT_EQ(Output(), "ERROR - Memory allocation failed.  This request 24.\n\n");
    EXPECT_EQ(Errors(), 1);
}

TEST_F(MsgLog, EntryPointsWriteTheirSeverityAndLineNumber) {
    MSG_SetLineSource(LineSeven);
    MSG_WarningLine("%s", "twenty characters ok");
    EXPECT_EQ(Output(), "WARNING (line    7) - twenty characters ok\n");
    MSG_Error("e %d", 1);
    MSG_Bug("b");
    MSG_Note("n");
    EXPECT_EQ(Output(), "ERROR - e 1\nPROGRAM BUG - b\nNOTE - n\n");
    MSG_NoteCodeLine(1920);
    MSG_BugCodeLine(1923);
    EXPECT_EQ(Output(), "NOTE (line    7) - Premature end of R/L/C section\n"
                        "PROGRAM BUG (line    7) - Numerical value expected\n");
}

TEST_F(MsgLog, LineNumberIsZeroWithoutSourceAndWidensPastFourDigits) {
    MSG_ErrorLine("x");
    EXPECT_EQ(Output(), "ERROR (line    0) - x\n");
    MSG_SetLineSource([] { return 123456; });
    MSG_ErrorLine("x");
    EXPECT_EQ(Output(), "ERROR (line 123456) - x\n");
}

TEST_F(MsgLog, CodedModeWritesLetterAndCode) {
    MSG_SetCoded(1);
    MSG_SetLineSource(LineTwelve);
    MSG_ErrorCodeLine(1906, 5u);
    EXPECT_EQ(Output(), "E1906 (line   12) - Memory allocation failed.  This request 5.\n\n");
    MSG_WarningCode(1923);
    MSG_NoteCode(1920);
    MSG_BugCode(1908, "IbisParser/cmn", 3);
    EXPECT_EQ(Output(), "W1923 - Numerical value expected\nN1920 - Premature end of R/L/C section\n"
                        "B1908 - Unable to Allocate Memory: IbisParser/cmn 3\n");
    // Same bounds as the uncoded forms: a 62-character text goes to a
    // second line after a line-numbered error.
    std::string arg(20, 'y');
    std::string text = "Unexpected token '" + arg + "' found in R/L/C section";
    ASSERT_EQ(text.size(), 62u);
    MSG_ErrorCodeLine(1919, arg.c_str());
    EXPECT_EQ(Output(), "E1919 (line   12) -\n    " + text + "\n");
}

TEST_F(MsgLog, UnknownCodeIsSilentUncodedAndFallbackInfoCoded) {
    EXPECT_EQ(MSG_ErrorCode(1), 0);
    EXPECT_EQ(Output(), "");
    EXPECT_EQ(Errors(), 0);
    MSG_SetCoded(1);
    MSG_SuppressErrors(1);  // the fallback is not subject to suppression
    MSG_ErrorCode(99999);
    EXPECT_EQ(Output(), "I0000 - Error code doesn't exist.\n");
    EXPECT_EQ(Errors(), 0);
}

TEST_F(MsgLog, CautionsNeverAppearThroughEntryPoints) {
    MSG_CautionCode(1920);
    MSG_Caution("c");
    MSG_CautionLine("c");
    EXPECT_EQ(Output(), "");
    MSG_Summary();
    EXPECT_EQ(Output(), "Errors  : 0\n\nFile Passed\n");
}

TEST_F(MsgLog, SuppressedSeveritiesAreNeitherWrittenNorCounted) {
    MSG_SuppressBugs(1);
    MSG_SuppressErrors(5);
    MSG_SuppressWarnings(1);
    MSG_Bug("b");
    MSG_ErrorCode(1906, 1u);
    MSG_WarningLine("w");
    MSG_NoteCode(1920);  // NOTE is never suppressed
    EXPECT_EQ(Output(), "NOTE - Premature end of R/L/C section\n");
    int b = -1, e = -1, w = -1;
    MSG_GetCounts(&b, &e, &w);
    EXPECT_EQ(b + e + w, 0);
    // MSG_Print consults no switch but counts.
    Print(MSG_TYPE_ERROR, "p");
    EXPECT_EQ(Output(), "ERROR - p\n");
    EXPECT_EQ(Errors(), 1);
}

TEST_F(MsgLog, PrintHandlesNullArgumentsAndUnknownTypes) {
    EXPECT_EQ(MSG_Print(MSG_TYPE_NOTE, "100% plain %s", nullptr), 1);
    EXPECT_EQ(Output(), "NOTE - 100% plain %s\n");
    EXPECT_EQ(Print(10, "x"), 0);
    EXPECT_EQ(Print(-1, "x"), 0);
    EXPECT_EQ(Output(), "");
}

TEST_F(MsgLog, PrintCodeUsesCodedFormsOnlyInCodedMode) {
    PrintCode(42, MSG_TYPE_WARNING, "w %d", 1);
    EXPECT_EQ(Output(), "WARNING - w 1\n");
    MSG_SetCoded(1);
    PrintCode(42, MSG_TYPE_WARNING, "w %d", 2);
    PrintCode(42, MSG_TYPE_INFO, "info");
    EXPECT_EQ(Output(), "W0042 - w 2\nI0042 - info\n");
    int w = 0;
    MSG_GetCounts(nullptr, nullptr, &w);
    EXPECT_EQ(w, 2);
}

TEST_F(MsgLog, OverlongTextIsCutAtTheBuffer) {
    std::string huge(10000, 'z');
    MSG_Error("%s%s", huge.c_str(), huge.c_str());
    std::string out = Output();
    EXPECT_EQ(out, "ERROR - " + std::string(MSG_BUFFER_SIZE - 1, 'z') + "\n");
}

TEST_F(MsgLog, SummaryVariants) {
    MSG_Summary();
    EXPECT_EQ(Output(), "Errors  : 0\n\nFile Passed\n");

    MSG_Warning("a");
    MSG_Warning("b");
    Output();
    MSG_Summary();
    EXPECT_EQ(Output(), "\nErrors  : 0\nWarnings: 2\n\nFile Passed\n");

    MSG_ResetCounts();
    MSG_Bug("x");
    Output();
    MSG_Summary();
    EXPECT_EQ(Output(), "\nBugs    : 1\nErrors  : 0\n\nFile Failed\n");

    MSG_ResetCounts();
    Print(MSG_TYPE_CAUTION, "c");
    MSG_Error("e");
    Output();
    MSG_Summary();
    EXPECT_EQ(Output(), "\nErrors  : 1\nCautions: 1\n\nFile Failed\n");
}

// ---- repetition limit and captured records --------------------------------

namespace {

class MsgRepeats : public MsgCapture {};

struct Captured {
    std::vector<MsgRecord> records;
    std::vector<std::string> texts, files;
};

void Capture(const MsgRecord* r, void* context) {
    auto* c = static_cast<Captured*>(context);
    c->records.push_back(*r);
    c->texts.push_back(r->text);
    c->files.push_back(r->file);
}

}  // namespace

TEST_F(MsgRepeats, ShowsTheFirstMessagesOfACodeAndCountsAllOfThem) {
    MSG_SetRepeatLimit(2);
    MSG_SetLineSource(LineSeven);
    for (int i = 0; i < 5; ++i) MSG_ErrorCodeLine(907, "[x]");
    MSG_WarningCode(921);  // another code keeps its own count
    int errors = 0, warnings = 0;
    MSG_GetCounts(nullptr, &errors, &warnings);
    EXPECT_EQ(errors, 5);
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(MSG_HiddenCount(907), 3);
    EXPECT_EQ(MSG_HiddenCount(921), 0);
    MSG_Summary();
    EXPECT_EQ(
        Output(),
        "ERROR (line    7) - Data for unknown keyword.\n[x]\n"
        "ERROR (line    7) - Data for unknown keyword.\n[x]\n"
        "WARNING - IBIS files should not contain tab characters.\n"
        "NOTE - 3 more messages like E0907 on line 7 not shown (\"Data for unknown keyword.\")\n"
        "\nErrors  : 5\nWarnings: 1\n\nFile Failed\n");
    // A new file starts every count afresh.
    MSG_ResetCounts();
    MSG_ErrorCodeLine(907, "[y]");
    EXPECT_EQ(MSG_HiddenCount(907), 0);
    EXPECT_EQ(Output(), "ERROR (line    7) - Data for unknown keyword.\n[y]\n");
}

// The codes a file met are reported in code order, whatever order they
// came in, and a new file starts them all afresh.
TEST_F(MsgRepeats, HeldBackCodesAreReportedInCodeOrder) {
    MSG_SetRepeatLimit(1);
    for (int i = 0; i < 3; ++i) MSG_WarningCode(921);
    for (int i = 0; i < 2; ++i) MSG_ErrorCode(907, "[x]");
    Output();
    MSG_Summary();
    std::string out = Output();
    EXPECT_LT(out.find("1 more messages like E0907"), out.find("2 more messages like W0921"))
        << out;
    MSG_ResetCounts();
    EXPECT_EQ(MSG_HiddenCount(921), 0);
    EXPECT_EQ(MSG_HiddenCount(907), 0);
    MSG_WarningCode(921);
    MSG_Summary();
    EXPECT_EQ(Output().find("not shown"), std::string::npos);
}

// Discard mode counts, limits and judges as ever, but writes nothing: not
// the messages, not the held-back counts, not the summary.
TEST_F(MsgRepeats, DiscardModeCountsAndWritesNothing) {
    Captured c;
    MSG_SetSink(Capture, &c);
    MSG_SetRepeatLimit(2);
    MSG_SetDiscard(1);
    for (int i = 0; i < 5; ++i) MSG_ErrorCode(907, "[x]");
    MSG_Warning("w %d", 1);
    MSG_Summary();
    MSG_SetDiscard(0);
    EXPECT_TRUE(c.records.empty());
    EXPECT_EQ(Errors(), 5);
    EXPECT_EQ(MSG_HiddenCount(907), 3);
    MSG_SetSink(nullptr, nullptr);
    MSG_Summary();
    EXPECT_EQ(Output(),
              "NOTE - 3 more messages of code 0907 not shown\n"
              "\nErrors  : 5\nWarnings: 1\n\nFile Failed\n");
}

TEST_F(MsgRepeats, NoLimitWritesEveryMessage) {
    for (int i = 0; i < 30; ++i) MSG_ErrorCode(921);
    MSG_Summary();
    std::string out = Output();
    EXPECT_EQ(out.find("not shown"), std::string::npos);
    EXPECT_EQ(MSG_HiddenCount(921), 0);
}

TEST_F(MsgRepeats, SinkReceivesEachMessageAsARecordAndTheSummaryWritesNothing) {
    Captured c;
    MSG_SetSink(Capture, &c);
    MSG_SetFileName("kit/a.ibs");
    MSG_SetLineSource(LineTwelve);
    MSG_SetRepeatLimit(1);
    MSG_ErrorCodeLine(1008, "9.9");
    MSG_ErrorCodeLine(1008, "9.8");
    MSG_Warning("plain %d", 3);
    MSG_Summary();
    EXPECT_EQ(Output(), "");
    ASSERT_EQ(c.records.size(), 3u);
    EXPECT_EQ(c.records[0].severity, MSG_SEV_ERROR);
    EXPECT_EQ(c.records[0].letter, 'E');
    EXPECT_EQ(c.records[0].code, 1008);
    EXPECT_EQ(c.records[0].line, 12);
    EXPECT_EQ(c.texts[0], "Illegal IBIS_Version '9.9'.");
    EXPECT_EQ(c.files[0], "kit/a.ibs");
    EXPECT_EQ(c.records[1].severity, MSG_SEV_WARNING);
    EXPECT_EQ(c.records[1].code, -1);
    EXPECT_EQ(c.records[1].line, 0);
    EXPECT_EQ(c.records[2].hidden, 1);
    EXPECT_EQ(c.records[2].code, 1008);
    EXPECT_EQ(c.records[2].severity, MSG_SEV_ERROR);
}

// Messages about a file the checked one made the checker read begin with
// that file's name; those about the checked file look as they always did.
TEST_F(MsgLog, MessagesAboutAnotherFileNameIt) {
    MSG_SetLineSource(LineSeven);
    MSG_SetCheckedFile("kit/a.ibs");
    MSG_ErrorCodeLine(1920);
    MSG_SetFileName("kit/p.pkg");
    MSG_ErrorCodeLine(1920);
    MSG_Error("%s", std::string(72, 'x').c_str());
    MSG_SetFileName("kit/a.ibs");
    MSG_Warning("w");
    EXPECT_EQ(Output(),
              "ERROR (line    7) - Premature end of R/L/C section\n"
              "kit/p.pkg: ERROR (line    7) - Premature end of R/L/C section\n"
              "kit/p.pkg: ERROR -\n    " +
                  std::string(72, 'x') +
                  "\n"
                  "WARNING - w\n");
}
