#include "solver/entry_help.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace parvolin {
namespace {

struct EntryRow : NamedRow {
    const char *a;
    const char *b;
    const char *c;
    char chosen;
    char regional;
    std::optional<Coefficient> failing; // nothing: the texts convert
    const char *message;
    const char *detail;
};

class EntryFailures : public ::testing::TestWithParam<EntryRow> {};

TEST_P(EntryFailures, NameTheFieldAndSayHowToWriteIt)
{
    const EntryRow &row = GetParam();
    const ProblemInput input{row.a, row.b, row.c, 2, 1};
    if (!row.failing) {
        const Problem problem = parse_entries(input, row.chosen, row.regional);
        const Problem expected = parse_problem(input, row.regional);
        EXPECT_EQ(problem.a, expected.a);
        EXPECT_EQ(problem.b, expected.b);
        EXPECT_EQ(problem.c, expected.c);
        EXPECT_EQ(problem.relation, Relation::Greater);
        EXPECT_EQ(problem.decimals, 3);
        return;
    }
    try {
        parse_entries(input, row.chosen, row.regional);
        FAIL() << "no failure";
    } catch (const CoefficientError &failure) {
        EXPECT_EQ(failure.coefficient(), *row.failing);
        EXPECT_STREQ(failure.what(), row.message);
        EXPECT_EQ(failure.detail(), row.detail);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EntryFailures,
    ::testing::Values(
        EntryRow{"minus_alone_in_a", "-", "0", "0", ',', ',', Coefficient::A, "'-' is not a valid floating point value",
                 "Kvadratický koeficient a: „-“ není číslo. Zapište číslo s desetinnou čárkou, např. 2,5."},
        EntryRow{"first_bad_field_wins", "1", "1,2,3", "x", ',', ',', Coefficient::B,
                 "'1,2,3' is not a valid floating point value",
                 "Lineární koeficient b: „1,2,3“ není číslo. Zapište číslo s desetinnou čárkou, např. 2,5."},
        EntryRow{"dot_example_for_a_dot_system", "1", "0", "- 5", '.', '.', Coefficient::C,
                 "'- 5' is not a valid floating point value",
                 "Absolutní koeficient c: „- 5“ není číslo. Zapište číslo s desetinnou tečkou, např. 2.5."},
        EntryRow{"comma_chosen_dot_system", "1,5", "0", "0", ',', '.', Coefficient::A,
                 "'1,5' is not a valid floating point value",
                 "Kvadratický koeficient a: „1,5“ není číslo. Zapište číslo s desetinnou tečkou, např. 2.5.\n"
                 "Systém píše čísla s desetinnou tečkou, zvolte „Windows používá tečku“."},
        EntryRow{"dot_chosen_comma_system", "0", "2.5", "0", '.', ',', Coefficient::B,
                 "'2.5' is not a valid floating point value",
                 "Lineární koeficient b: „2.5“ není číslo. Zapište číslo s desetinnou čárkou, např. 2,5.\n"
                 "Systém píše čísla s desetinnou čárkou, zvolte „Windows používá čárku“."},
        // Forty characters are quoted whole, the forty-first is cut; a
        // two-byte letter is never split.
        EntryRow{"long_text_cut_between_characters", "1", "0", "řřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřx", ',', ',',
                 Coefficient::C, "'řřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřx' is not a valid floating point value",
                 "Absolutní koeficient c: „řřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřřř…“ není číslo. Zapište číslo s "
                 "desetinnou čárkou, např. 2,5."},
        EntryRow{"empty_fields_are_zero", "", "-2,5", "", ',', ',', std::nullopt, nullptr, nullptr},
        EntryRow{"disagreeing_separator_but_valid", "3", "-1", "2", '.', ',', std::nullopt, nullptr, nullptr}),
    row_name);

TEST(EntryHelp, SeparatorLineOnlyWhenTheChoicesDisagree)
{
    EXPECT_EQ(separator_disagreement(',', ','), "");
    EXPECT_EQ(separator_disagreement('.', '.'), "");
    EXPECT_EQ(separator_disagreement(',', '.'), "Systém píše čísla s desetinnou tečkou, zvolte „Windows používá tečku“.");
    EXPECT_EQ(separator_disagreement('.', ','), "Systém píše čísla s desetinnou čárkou, zvolte „Windows používá čárku“.");
}

// Overflow is not a text the pupil mistyped: it keeps its own failure.
TEST(EntryHelp, OverflowStaysAnOverflow)
{
    EXPECT_THROW(parse_entries(ProblemInput{"1E309", "0", "0", 0, 0}, '.', '.'), OverflowError);
}

} // namespace
} // namespace parvolin
