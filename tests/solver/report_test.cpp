#include "solver/failures.h"
#include "solver/report.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parvolin {
namespace {

// The report as a list, to hold against the reports the tests share.
std::vector<std::string> lines_of(const Report &report) { return {report.lines.begin(), report.lines.end()}; }

TEST(Report, SevenLinesOfAnEquation)
{
    EXPECT_EQ(lines_of(build_report(ProblemInput{"1", "-3", "2", 0, 0}, ',')), two_roots_report);
}

struct FrameRow : NamedRow {
    int relation_index;
    const char *header;
    const char *problem;
};

class ReportFrame : public ::testing::TestWithParam<FrameRow> {};

TEST_P(ReportFrame, HeaderAndProblemLinePerRelation)
{
    const auto &row = GetParam();
    const Report report = build_report(ProblemInput{"1", "-3", "2,5", row.relation_index, 0}, ',');
    EXPECT_EQ(report.lines[0], row.header);
    EXPECT_EQ(report.lines[1], row.problem);
    EXPECT_EQ(report.lines[2], "v oboru reálných čísel");
}

INSTANTIATE_TEST_SUITE_P(
    Relations, ReportFrame,
    ::testing::Values(FrameRow{"equal", 0, "Řešení rovnice ", "(1) . x^2 + (-3) . x + (2,5) = 0 ."},
                      FrameRow{"less", 1, "Řešení nerovnice ", "(1) . x^2 + (-3) . x + (2,5) < 0"},
                      FrameRow{"greater", 2, "Řešení nerovnice ", "(1) . x^2 + (-3) . x + (2,5) > 0"},
                      FrameRow{"less_equal_without_blank", 3, "Řešení nerovnice", "(1) . x^2 + (-3) . x + (2,5) <= 0"},
                      FrameRow{"greater_equal", 4, "Řešení nerovnice ", "(1) . x^2 + (-3) . x + (2,5) >= 0"},
                      FrameRow{"unknown_index_is_equal", 7, "Řešení rovnice ", "(1) . x^2 + (-3) . x + (2,5) = 0 ."},
                      FrameRow{"negative_index_is_equal", -1, "Řešení rovnice ", "(1) . x^2 + (-3) . x + (2,5) = 0 ."}),
    row_name);

TEST(Report, PrecisionLineInItsGrammaticalNumber)
{
    const char *expected[] = {
        "Výpočet byl proveden s přesností na 2desetinnná místa",
        "Výpočet byl proveden s přesností na 3desetinnná místa",
        "Výpočet byl proveden s přesností na 4desetinnná místa",
        "Výpočet byl proveden s přesností na 5desetinnných míst",
        "Výpočet byl proveden s přesností na 6desetinnných míst",
    };
    for (int index = 0; index < 5; ++index)
        EXPECT_EQ(build_report(ProblemInput{"1", "0", "-2", 0, index}, '.').lines[6], expected[index]);
    // An index off the list counts as its first entry, as the relation's does.
    for (const int index : {-1, 5})
        EXPECT_EQ(build_report(ProblemInput{"1", "0", "-2", 0, index}, '.').lines[6], expected[0]) << index;
}

TEST(Report, EmptyFieldsCountAsZero)
{
    EXPECT_EQ(lines_of(build_report(ProblemInput{"", "", "", 0, 0}, ',')), every_number_report);
}

TEST(Report, ProblemLineShowsParsedValuesNotTypedTexts)
{
    const Report report = build_report(ProblemInput{" +1E0", "-0", "0,50", 1, 0}, ',');
    EXPECT_EQ(report.lines[1], "(1) . x^2 + (0) . x + (0,5) < 0");
}

struct FailureRow : NamedRow {
    ProblemInput input;
    const char *message;
};

class ReportFailure : public ::testing::TestWithParam<FailureRow> {};

TEST_P(ReportFailure, FirstFailingStepWins)
{
    const auto &row = GetParam();
    try {
        build_report(row.input, ',');
        FAIL() << "no failure";
    } catch (const Failure &failure) {
        EXPECT_STREQ(failure.what(), row.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ReportFailure,
    ::testing::Values(
        FailureRow{"dot_while_separator_is_comma", {"1.5", "0", "0", 0, 0}, "'1.5' is not a valid floating point value"},
        FailureRow{"b_fails_before_c_is_read", {"1", "x", "y", 0, 0}, "'x' is not a valid floating point value"},
        FailureRow{"a_fails_first", {" ", "1E999", "y", 0, 0}, "' ' is not a valid floating point value"},
        FailureRow{"coefficient_overflow", {"1E309", "x", "0", 0, 0}, "Floating point overflow"},
        FailureRow{"discriminant_overflow", {"1", "1E200", "0", 1, 0}, "Floating point overflow"},
        FailureRow{"root_too_large_to_round", {"0", "1E-10", "-1E8", 0, 4}, "Invalid floating point operation"}),
    row_name);

TEST(Document, FramesTheDisplayRows)
{
    const ResultDocument document = build_document("7.12.2026", {"Řešení rovnice ", "x1= 2  x2= 1.", ""});
    const std::vector<std::string> expected{
        "Datum:7.12.2026",
        "-------------------------------",
        "Řešení rovnice ",
        "x1= 2  x2= 1.",
        "------------------------------------",
        "Výpočet byl proveden pomocí programu \"Parvolin\" ",
    };
    EXPECT_EQ(document.lines, expected);
}

TEST(Document, EmptyReportKeepsTheFrame)
{
    EXPECT_EQ(build_document("", {}).lines.size(), 4u);
}

} // namespace
} // namespace parvolin
