// Package-model matrices and their rows: types, bandwidth, row placement,
// banded, circle-back, sparse and full row data, and the checks when a
// matrix ends.
#include <gtest/gtest.h>

#include <string>

#include "PkgFixture.h"

namespace {

// A clean full 3-pin inductance matrix (7 lines).
#define L3 "[Inductance Matrix] Full_matrix\n[Row] A1\n1n 2n 3n\n[Row] A2\n4n 5n\n[Row] A3\n6n\n"
// A clean sparse capacitance matrix of 3 or 4 pins (7 or 9 lines).
#define C3 "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA1 1p\n[Row] A2\nA2 1p\n[Row] A3\nA3 1p\n"
#define C4 C3 "[Row] A4\nA4 1p\n"
#define END "[End Model Data]\n[End Package Model]\n[End]\n"

struct MtxCase {
    const char* name;
    int pins;  // the body starts on line 11 + pins
    const char* body;
    const char* expected;
};

class Matrix : public PkgFixture, public ::testing::WithParamInterface<MtxCase> {};

TEST_P(Matrix, ReportsItsFaults) {
    const MtxCase& c = GetParam();
    EXPECT_EQ(ParsePkg(Model(c.pins, c.body)), c.expected);
}

const MtxCase kMatrixCases[] = {
    {"CleanFullAndSparse", 3, L3 C3 END, ""},
    {"FullRowShortOfData", 3,
     "[Inductance Matrix] Full_matrix\n[Row] A1\n1n 2n 3n\n[Row] A2\n4n\n[Row] A3\n6n\n" C3 END,
     "ERROR (line   21) - Expected 2 columns of Row data for [Row] A2 in Matrix ending previous "
     "to this line, found 1 column\n"},
    {"FullRowTakesNoMoreThanItsColumns", 3,
     "[Inductance Matrix] Full_matrix\n[Row] A1\n1n 2n 3n\n[Row] A2\n4n 5n\n[Row] A3\n6n 7n\n" C3
         END,
     "ERROR (line   20) - More row data than allowed for this row.\n"},
    {"UnreadableAndSuspiciousValues", 3,
     "[Inductance Matrix] Full_matrix\n[Row] A1\n1n x 3n\n[Row] A2\n4n 5n6\n[Row] A3\n6n\n" C3 END,
     "ERROR (line   16) - Unable to convert row data.\n"
     "WARNING (line   18) - Suspicious row data.\n"
     "ERROR (line   21) - Expected 3 columns of Row data for [Row] A1 in Matrix ending previous "
     "to this line, found 1 column\n"},
    {"MissingRow", 3,
     "[Inductance Matrix] Full_matrix\n[Row] A1\n1n 2n 3n\n[Row] A2\n4n 5n\n" C3 END,
     "ERROR (line   19) - Expected 3 Rows, found 2 for Matrix ending previous to this line.\n"},
    {"RowPastTheLastIsReportedAndItsDataIgnored", 3, L3 "[Row] A1\n7n\n" C3 END,
     "ERROR (line   21) - Extra [Row] A1: the matrix of 3 pins takes no more rows; its data is "
     "ignored.\n"},
    // Its data would otherwise turn the banded matrix into a circle-back one.
    {"RowPastTheLastOfABandedMatrix", 3,
     "[Inductance Matrix] Banded_matrix\n[Bandwidth] 1\n[Row] A1\n1n 2n\n[Row] A2\n1n 2n\n"
     "[Row] A3\n1n\n[Row] 9\n1n\n" C3 END,
     "ERROR (line   22) - Extra [Row] 9: the matrix of 3 pins takes no more rows; its data is "
     "ignored.\n"},
    {"RowNamesOutOfPlaceRepeatedAndTooLong", 3,
     "[Inductance Matrix] Full_matrix\n[Row] A2\n1n 2n 3n\n[Row] A2\n4n 5n\n[Row] ABCDEFG\n6n\n" C3
         END,
     "ERROR (line   15) - Expected Pin <A2> at matrix row index 2, found at matrix row index 1.\n"
     "ERROR (line   17) - Repeated ROW <A2>.\n"
     "ERROR (line   19) - PIN NUMBER string too long.\n"
     "ERROR (line   19) - Unable to find Pin <ABCDE> in Package Model Pin_Number list.\n"},
    {"RowRepeatedManyTimesIsReportedOncePerRow", 3,
     "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA1 1p\n[Row] A1\nA2 1p\n[Row] A1\nA3 1p\n" L3
         END,
     "ERROR (line   17) - Repeated ROW <A1>.\n"
     "ERROR (line   17) - Expected Pin <A1> at matrix row index 1, found at matrix row index 2.\n"
     "ERROR (line   19) - Repeated ROW <A1>.\n"
     "ERROR (line   19) - Expected Pin <A1> at matrix row index 1, found at matrix row index 3.\n"
     "ERROR (line   21) - [Row] A1 must contain a self-coupled index and entry.\n"
     "ERROR (line   21) - [Row] A1 must contain a self-coupled index and entry.\n"},
    {"EmptyAndReservedRowNames", 3,
     "[Inductance Matrix] Full_matrix\n[Row]\n1n 2n 3n\n[Row] GND\n4n 5n\n[Row] A3\n6n\n" C3 END,
     "ERROR (line   15) - Unknown PIN NUMBER.\n"
     "ERROR (line   15) - Unable to find Pin <> in Package Model Pin_Number list.\n"
     "ERROR (line   17) - Illegal use of Reserved Word 'GND'.\n"
     "ERROR (line   17) - Unable to find Pin <GND> in Package Model Pin_Number list.\n"},
    {"BandedRowHoldsOnlyItsBand", 4,
     "[Inductance Matrix] Banded_matrix\n[Bandwidth] 1\n[Row] A1\n1n 2n 3n\n[Row] A2\n1n 2n\n"
     "[Row] A3\n1n 2n\n[Row] A4\n1n\n" C4 END,
     "ERROR (line   18) - Only 2 columns of data allowed for this Row .\n"},
    {"BandedWrapsAroundWithinTheLimit", 4,
     "[Inductance Matrix] Banded_matrix\n[Bandwidth] 1\n[Row] A1\n1n 2n\n[Row] A2\n1n 2n\n"
     "[Row] A3\n1n 2n\n[Row] A4\n1n 2n\n" C4 END,
     ""},
    {"BandedWrapBeyondTheLimit", 4,
     "[Inductance Matrix] Banded_matrix\n[Bandwidth] 2\n[Row] A1\n1n 2n 3n\n[Row] A2\n1n 2n 3n\n"
     "[Row] A3\n1n 2n\n[Row] A4\n1n 2n\n" C4 END,
     "ERROR (line   24) - Bandwidth for this Banded, circle-back matrix exceeds the limit of 1.\n"},
    {"BandwidthPlacementAndSize", 3,
     "[Inductance Matrix] Banded_matrix\n[Bandwidth] 3\n[Bandwidth] 1\n[Row] A1\n[Bandwidth] 1\n" C3
         END,
     "ERROR (line   15) - Bandwidth <3> must be less than Number_of_Pins <3>.\n"
     "ERROR (line   16) - Multiple Bandwidth keywords.\n"
     "ERROR (line   18) - Bandwidth keyword in wrong location.\n"
     "ERROR (line   19) - Expected 3 Rows, found 1 for Matrix ending previous to this line.\n"
     "ERROR (line   19) - Expected 3 columns of Row data for [Row] A1 in Matrix ending previous "
     "to this line, found 0 columns.\n"},
    {"BandwidthValuesAndDuplicateMatrix", 3,
     "[Resistance Matrix] Banded_matrix\n[Bandwidth] x\n[Inductance Matrix] Banded_matrix\n"
     "[Bandwidth] 1z\n[Inductance Matrix] Full_matrix\n" C3 END,
     "ERROR (line   15) - Bad Bandwidth value.\n"
     "ERROR (line   16) - Expected 3 Rows, found 0 for Matrix ending previous to this line.\n"
     "ERROR (line   17) - Suspicious Bandwidth value.\n"
     "ERROR (line   18) - Duplicate Inductance Matrix.\n"
     "ERROR (line   19) - Expected 3 Rows, found 0 for Matrix ending previous to this line.\n"},
    {"BandedMatrixWithoutBandwidth", 3,
     "[Inductance Matrix] Banded_matrix\n[Row] A1\n1n\n[Row] A2\n1n\n[Row] A3\n1n\n[Bandwidth] "
     "0\n" C3 END,
     "ERROR (line   21) - Bandwidth keyword in wrong location.\n"
     "ERROR - The Inductance Matrix is Banded and requires the 'Bandwidth' keyword.\n"},
    {"BandwidthOfAFullMatrix", 3,
     "[Inductance Matrix] Full_matrix\n[Bandwidth] 1\n[Row] A1\n1n 2n 3n\n[Row] A2\n4n 5n\n"
     "[Row] A3\n6n\n" C3 END,
     "ERROR (line   15) - Bandwidth only allowed for Banded Matrices\n"},
    {"MatrixTypes", 3,
     "[Inductance Matrix]\n[Row] A1\n1n\n[Resistance Matrix] Diagonal_matrix\n" C3 END,
     "ERROR (line   14) - Matrix type not specified.\n"
     "ERROR (line   17) - Expected 3 Rows, found 0 for Matrix ending previous to this line.\n"
     "ERROR (line   17) - Unknown matrix type 'Diagonal_matrix'.\n"
     "ERROR (line   18) - Expected 3 Rows, found 0 for Matrix ending previous to this line.\n"},
    {"WordsAfterTheMatrixType", 3, "[Inductance Matrix] Full_matrix junk\n" C3 END,
     "ERROR (line   14) - Unknown matrix type 'Full_matrix junk'.\n"
     "ERROR (line   15) - Expected 3 Rows, found 0 for Matrix ending previous to this line.\n"},
    {"RowOutsideAMatrix", 3, "[Row] A1\n1n\n" L3 C3 END,
     "ERROR (line   14) - Row keyword in wrong location.\n"
     "ERROR (line   15) - Orphan Data line.\n"},
    {"SparseEntries", 3,
     "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA1 1p\nA2 x\n[Row] A2\nA1 1p\nA2 5p\nA2 "
     "6p\nA3\n"
     "Z9 1p\nA3 1p extra\n[Row] A3\nA3 1p\n" L3 END,
     "ERROR (line   17) - Unable to convert row data.\n"
     "ERROR (line   19) - This Row Column Index defines an entry in the lower matrix triangle.\n"
     "ERROR (line   21) - Duplicate Row column index 2.\n"
     "ERROR (line   22) - No row data.\n"
     "ERROR (line   23) - Unable to find Pin <Z9> in Package Model Pin_Number list.\n"
     "ERROR (line   24) - Excessive data <extra>, only Index and Value should be specified for a "
     "Sparse_matrix.\n"},
    {"SparseRowWithoutDiagonal", 3,
     "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA2 1p\n[Row] A2\nA2 1p\n[Row] A3\nA3 1p\n" L3
         END,
     "ERROR (line   21) - [Row] A1 must contain a self-coupled index and entry.\n"},
    {"FirstFaultyRowSilencesTheDiagonalCheck", 3,
     "[Capacitance Matrix] Sparse_matrix\n[Row] A1\n[Row] A2\nA3 1p\n[Row] A3\nA3 1p\n" L3 END,
     "ERROR (line   20) - Expected at least one column of Row data for [Row] A1 in Matrix ending "
     "previous to this line.\n"},
    {"RowOfAMatrixWithoutPins", 0, "[Capacitance Matrix] Sparse_matrix\n[Row] A1\n" END,
     "ERROR (line    8) - Number_of_Pins = 0.\n"
     "ERROR (line   12) - Unable to add new matrix row, expected column count = 0.\n"
     "ERROR - Number_of_Pins keyword not found or value bad for Package Model 'qfn'.\n"
     "ERROR - Inductance matrix not found for Package Model 'qfn'.\n"},
};

INSTANTIATE_TEST_SUITE_P(Rows, Matrix, ::testing::ValuesIn(kMatrixCases),
                         [](const ::testing::TestParamInfo<MtxCase>& i) { return i.param.name; });

class MatrixRecord : public PkgFixture {};

TEST_F(MatrixRecord, CircleBackWidensEveryRowToTheBand) {
    IbisFile* file = Keep(Model(4,
                                "[Inductance Matrix] Banded_matrix\n[Bandwidth] 1\n[Row] A1\n1 2\n"
                                "[Row] A2\n3 4\n[Row] A3\n5 6\n[Row] A4\n7 8\n" C4 END));
    PKGMDL* m = First(file);
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->inductance, nullptr);
    EXPECT_EQ(m->inductance->eMatrixType, MTX_TYPE_BANDED_WRAP);
    double v = 0;
    for (ROW* row = m->inductance->rows; row; row = row->next) {
        EXPECT_EQ(row->uiColumnCount, 2u) << row->pin;
        EXPECT_EQ(row->count, 2u) << row->pin;
    }
    ASSERT_EQ(ROW_Entry(m->inductance->last, 1, &v), 1);
    EXPECT_EQ(v, 8.0);
    IBIS_Free(&file);
    EXPECT_EQ(Output(), "");
}

TEST_F(MatrixRecord, SparseRowsKeepTheirEntriesByColumn) {
    IbisFile* file = Keep(Model(3, L3 "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA3 3p\nA1 1p\n"
                                      "[Row] A2\nA2 2p\n[Row] A3\nA3 4p\n" END));
    PKGMDL* m = First(file);
    ASSERT_NE(m, nullptr);
    ROW* row = m->capacitance->rows;
    double v = 0;
    EXPECT_EQ(row->uiColumnCount, 3u);
    EXPECT_EQ(ROW_Entry(row, 0, &v), 1);
    EXPECT_DOUBLE_EQ(v, 1e-12);
    EXPECT_EQ(ROW_Entry(row, 1, &v), 0);
    EXPECT_EQ(ROW_Entry(row, 2, &v), 1);
    EXPECT_DOUBLE_EQ(v, 3e-12);
    EXPECT_EQ(ROW_Entry(row, 7, &v), 0);
    IBIS_Free(&file);
    EXPECT_EQ(Output(), "");
}

// A declared pin count far above the pins given costs nothing: storage
// follows the text, not the declaration.
TEST_F(MatrixRecord, HugeDeclaredPinCountAllocatesOnlyWhatTheFileHolds) {
    std::string text =
        "[IBIS Ver] 3.2\n[File Name] t.pkg\n[File Rev] 1\n[Define Package Model] p\n"
        "[Manufacturer] m\n[OEM] o\n[Description] d\n[Number of Pins] 4000000000\n"
        "[Pin Numbers]\nA1\nA2\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] A1\n1 2 3\n"
        "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA2 1\nA1 2\n" END;
    std::string out = ParsePkg(text);
    EXPECT_NE(out.find("Number of Pins <4000000000> not the same as count of Pin Numbers names "
                       "found <2> for Package Model 'p'."),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("ERROR (line   16) - Expected 4000000000 Rows, found 1"), std::string::npos)
        << out;
}

}  // namespace
