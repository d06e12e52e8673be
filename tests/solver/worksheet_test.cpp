#include "solver/practice_answer.h"
#include "solver/problem_generator.h"
#include "solver/steps.h"
#include "solver/worksheet.h"
#include "tests/fuzz/rtf_reader.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <codecvt>
#include <locale>
#include <string>

namespace parvolin {
namespace {

std::size_t count_of(const std::string &text, const std::string &part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

struct SheetRow : NamedRow {
    int count;
    Difficulty difficulty;
    bool key, steps;
};

class Sheets : public ::testing::TestWithParam<SheetRow> {};

TEST_P(Sheets, HoldEveryProblemOnceAndAKeyThatIsRight)
{
    const auto &row = GetParam();
    WorksheetOptions options;
    options.count = row.count;
    options.generator.difficulty = row.difficulty;
    options.seed = 2026;
    options.key = row.key;
    options.steps = row.steps;
    options.date = czech_date(9, 12, 2026);
    const Worksheet sheet = build_worksheet(options);
    const std::string text = worksheet_text(sheet);
    const std::string rtf = worksheet_rtf(sheet);
    ASSERT_EQ(sheet.entries.size(), static_cast<std::size_t>(row.count));
    EXPECT_NE(text.find("Jméno:"), std::string::npos);
    EXPECT_NE(text.find("Třída:"), std::string::npos);
    EXPECT_NE(text.find("Datum: 9. 12. 2026"), std::string::npos);
    EXPECT_NE(text.find("Pracovní list č. 2026"), std::string::npos);
    EXPECT_EQ(count_of(rtf, "\\page"), row.key ? 1u : 0u);
    EXPECT_EQ(count_of(text, "\f"), row.key ? 1u : 0u);
    for (std::size_t i = 0; i < sheet.entries.size(); ++i) {
        const auto &entry = sheet.entries[i];
        const std::string line = std::to_string(i + 1) + ")  " + entry.statement + "\n";
        EXPECT_EQ(count_of(text, line), 1u) << line;
        // the key's set, read back by the pupil's reader, is the exact answer
        const auto &p = entry.problem;
        const Verdict verdict =
            judge_answer(analyse_exact(p.a, p.b, p.c, p.relation), p.relation, parse_answer(entry.answer));
        EXPECT_EQ(verdict.kind, VerdictKind::Right) << entry.statement << ": " << entry.answer;
        if (row.key) {
            EXPECT_EQ(count_of(text, entry.statement + ":   " + entry.answer + "\n"), 1u) << entry.answer;
        }
        EXPECT_EQ(entry.steps.empty(), !row.steps);
    }
}

INSTANTIATE_TEST_SUITE_P(Worksheets, Sheets,
                         ::testing::Values(SheetRow{"one_problem", 1, Difficulty::Small, false, false},
                                           SheetRow{"twenty_with_key", 20, Difficulty::Small, true, false},
                                           SheetRow{"sixty_large_with_steps", 60, Difficulty::Large, true, true}),
                         row_name);

// Every problem of a sheet is one whose report, read from the problem's own
// texts, shows the key's set: a pupil who checks a sheet with the program must
// not be told otherwise. Under the Czech process locale as well, where the C
// library reads "0.8" as 0.
struct AgreeingSheetRow : NamedRow {
    std::uint64_t first_seed, last_seed;
    Difficulty difficulty;
    std::vector<ProblemKind> kinds;
    const char *locale;
};

class AgreeingSheets : public ::testing::TestWithParam<AgreeingSheetRow> {};

TEST_P(AgreeingSheets, HoldNoProblemWhoseReportDiffersFromTheKey)
{
    const auto &row = GetParam();
    const ScopedProcessLocale locale(row.locale);
    ASSERT_TRUE(locale.installed());
    for (std::uint64_t seed = row.first_seed; seed <= row.last_seed; ++seed) {
        WorksheetOptions options;
        options.seed = seed;
        options.key = true;
        options.generator.difficulty = row.difficulty;
        options.generator.kinds = row.kinds;
        const Worksheet sheet = build_worksheet(options);
        for (const auto &entry : sheet.entries) {
            const auto &p = entry.problem;
            const std::string a = coefficient_text(p.a, ','), b = coefficient_text(p.b, ','),
                              c = coefficient_text(p.c, ',');
            const StepsResult steps = build_steps({a, b, c, static_cast<int>(p.relation), 0}, ',');
            EXPECT_TRUE(steps.agrees_with_report) << "seed " << seed << ": " << entry.statement << "\n" << steps.notice;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Worksheets, AgreeingSheets,
    ::testing::Values(AgreeingSheetRow{"large_numbers",
                                       1,
                                       40,
                                       Difficulty::Large,
                                       {ProblemKind::DoubleRoot, ProblemKind::IntegerRoots,
                                        ProblemKind::FractionRoots, ProblemKind::SurdRoots},
                                       "C"},
                      AgreeingSheetRow{"czech_locale", 1, 6, Difficulty::Small, {}, "cs_CZ.UTF-8"},
                      AgreeingSheetRow{"czech_locale_large", 7, 9, Difficulty::Large, {}, "cs_CZ.UTF-8"}),
    row_name);

// A word processor's reading of the RTF gives the text's lines as paragraphs.
TEST(Worksheet, RtfReadsAsTheSameProblemsAndKey)
{
    WorksheetOptions options;
    options.count = 30;
    options.seed = 99;
    options.steps = true;
    options.date = czech_date(1, 9, 2026);
    const Worksheet sheet = build_worksheet(options);
    const std::string rtf = worksheet_rtf(sheet);
    const auto text = fuzz::read_rtf(rtf, fuzz::RtfReaderKind::Unicode);
    EXPECT_EQ(text.code_page, 1250);
    EXPECT_NO_THROW(fuzz::read_rtf(rtf, fuzz::RtfReaderKind::CodePage));
    std::wstring_convert<std::codecvt_utf8<char32_t>, char32_t> utf8;
    const auto count = [&](const std::string &line) {
        return std::count(text.paragraphs.begin(), text.paragraphs.end(), utf8.from_bytes(line));
    };
    for (std::size_t i = 0; i < sheet.entries.size(); ++i) {
        const auto &entry = sheet.entries[i];
        EXPECT_EQ(count(std::to_string(i + 1) + ")  " + entry.statement), 1) << entry.statement;
        EXPECT_EQ(count(std::to_string(i + 1) + ")  " + entry.statement + ":   " + entry.answer), 1) << entry.answer;
    }
}

// The key's working: a paragraph a step, indented by its margin so that a
// wrapped line keeps the indent; the sign table an RTF table whose rows stay
// together, on the page of the sentence that leads to it.
TEST(Worksheet, RtfSetsTheSignTableAsATable)
{
    WorksheetOptions options;
    options.count = 8;
    options.seed = 5;
    options.steps = true;
    options.generator.relations = {Relation::Less, Relation::GreaterEqual};
    const Worksheet sheet = build_worksheet(options);
    std::size_t steps = 0, tables = 0, rows = 0;
    for (const auto &entry : sheet.entries) {
        steps += entry.working.steps.size();
        for (const auto &step : entry.working.steps) {
            if (step.kind == StepKind::Table) {
                ++tables;
                rows += step.table.size();
            }
        }
    }
    ASSERT_GT(tables, 0u);
    const std::string rtf = worksheet_rtf(sheet);
    EXPECT_EQ(count_of(rtf, "\\trowd\\trgaph70\\trkeep\\trleft420"), rows);
    EXPECT_EQ(count_of(rtf, "\\ql\\li420\\sa30"), steps);
    EXPECT_EQ(count_of(rtf, "\\ql\\li420\\sa30\\uc1\\f0\\fs19\\keepn "), tables);
    EXPECT_EQ(count_of(rtf, "\\intbl\\qc\\keepn"), rows - tables);
    EXPECT_EQ(count_of(rtf, "\\f1\\fs"), 0u); // no column of blanks to line up
    EXPECT_EQ(rtf.find("oo"), std::string::npos);
}

// The relations' signs are text in the HTML, never tags.
TEST(Worksheet, HtmlEscapesTheSigns)
{
    WorksheetOptions options;
    options.count = 10;
    options.seed = 8;
    options.key = true;
    options.generator.relations = {Relation::Less, Relation::GreaterEqual};
    const Worksheet sheet = build_worksheet(options);
    const std::string html = worksheet_html(sheet);
    EXPECT_EQ(html.find(" < 0"), std::string::npos);
    for (std::size_t i = 0; i < sheet.entries.size(); ++i) {
        std::string statement = sheet.entries[i].statement;
        for (auto at = statement.find('<'); at != std::string::npos; at = statement.find('<', at))
            statement.replace(at, 1, "&lt;");
        EXPECT_EQ(count_of(html, ">" + std::to_string(i + 1) + ")  " + statement + "</p>"), 1u) << statement;
    }
}

TEST(Worksheet, SameNumberSameSheet)
{
    WorksheetOptions options;
    options.seed = 777;
    options.key = true;
    EXPECT_EQ(worksheet_text(build_worksheet(options)), worksheet_text(build_worksheet(options)));
    WorksheetOptions other = options;
    other.seed = 778;
    EXPECT_NE(worksheet_text(build_worksheet(options)), worksheet_text(build_worksheet(other)));
}

TEST(Worksheet, ConstantProblemsShowTheVanishedX)
{
    WorksheetOptions options;
    options.count = 6;
    options.generator.kinds = {ProblemKind::Constant};
    options.generator.relations = {Relation::Greater};
    for (const auto &entry : build_worksheet(options).entries)
        EXPECT_TRUE(entry.statement.starts_with("0 · x") && entry.statement.ends_with(" > 0")) << entry.statement;
}

} // namespace
} // namespace parvolin
