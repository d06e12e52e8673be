#include "solver/practice_answer.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace parvolin {
namespace {

constexpr Relation Eq = Relation::Equal, Lt = Relation::Less, Gt = Relation::Greater, Le = Relation::LessEqual,
                   Ge = Relation::GreaterEqual;

ExactAnalysis exact_of(long a, long b, long c, Relation relation) { return analyse_exact(a, b, c, relation); }

// A written answer and a problem whose exact set it is.
struct AcceptedRow : NamedRow {
    const char *text;
    long a, b, c;
    Relation relation;
};

class AcceptedForms : public ::testing::TestWithParam<AcceptedRow> {};

TEST_P(AcceptedForms, ReadAsTheExactSet)
{
    const auto &row = GetParam();
    const Verdict verdict = judge_answer(exact_of(row.a, row.b, row.c, row.relation), row.relation, parse_answer(row.text));
    EXPECT_EQ(verdict.kind, VerdictKind::Right) << verdict.message;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AcceptedForms,
    ::testing::Values(
        AcceptedRow{"report_union", "(-oo ; 1/2) U (1 ; oo)", 2, -3, 1, Gt},
        AcceptedRow{"no_blanks_unicode", "(−∞;1/2)∪(1;∞)", 2, -3, 1, Gt},
        AcceptedRow{"decimal_comma_end", "K = (-oo ; 0,5) U (1 ; +oo)", 2, -3, 1, Gt},
        AcceptedRow{"decimal_dot_end", "(-oo;0.5)U(1;oo)", 2, -3, 1, Gt},
        AcceptedRow{"closed", "<2 ; 3>", 1, -5, 6, Le},
        AcceptedRow{"brackets", "[2;3]", 1, -5, 6, Le},
        AcceptedRow{"points_k", "K={ 2 ; 3 }", 1, -5, 6, Eq},
        AcceptedRow{"points_any_order", "{3;2}", 1, -5, 6, Eq},
        AcceptedRow{"reals", "R", 1, 0, 1, Gt},
        AcceptedRow{"reals_k", "K = R", 1, 0, 1, Ge},
        AcceptedRow{"reals_as_interval", "(-oo ; oo)", 1, 0, 1, Gt},
        AcceptedRow{"empty_braces", "{}", 1, 0, 1, Lt},
        AcceptedRow{"empty_sign", "K = ∅", 1, 0, 1, Eq},
        AcceptedRow{"empty_spaced", "K = { }", 1, 0, 1, Le},
        AcceptedRow{"reals_but_point", "R \\ {1}", 1, -2, 1, Gt},
        AcceptedRow{"reals_but_point_as_union", "(-oo;1) U (1;oo)", 1, -2, 1, Gt},
        AcceptedRow{"surd_sign", "{ -1 - √3 ; -1 + √3 }", 2, 4, -4, Eq},
        AcceptedRow{"surd_sqrt", "{-1-sqrt(3); -1+sqrt(3)}", 2, 4, -4, Eq},
        AcceptedRow{"surd_unsimplified", "{(-4 - √48)/4 ; (-4 + 4√3)/4}", 2, 4, -4, Eq},
        AcceptedRow{"plus_minus", "x1,2 = -1 ± √3", 2, 4, -4, Eq},
        AcceptedRow{"plus_minus_ascii", "x12=-1+-sqrt(3)", 2, 4, -4, Eq},
        AcceptedRow{"two_x", "x1 = 2, x2 = 3", 1, -5, 6, Eq},
        AcceptedRow{"one_x", "x = 2", 0, 2, -4, Eq},
        AcceptedRow{"surd_fraction_ends", "((3 - √5)/2 ; (3 + √5)/2)", 1, -3, 1, Lt},
        AcceptedRow{"surd_over_two", "(3/2 - √5/2 ; 3/2 + √(5)/2)", 1, -3, 1, Lt},
        AcceptedRow{"overlap_merged", "(-oo ; 3) U <1 ; oo)", 1, 0, 1, Gt},
        AcceptedRow{"point_and_ray", "{1} U (1 ; oo)", 0, 1, -1, Ge},
        AcceptedRow{"ray_closed", "(-oo ; -2>", 0, -1, -2, Ge}),
    row_name);

struct RefusedRow : NamedRow {
    const char *text;
    std::size_t column;
    const char *message;
};

class RefusedForms : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(RefusedForms, SayWhereAndWhy)
{
    const auto &row = GetParam();
    try {
        parse_answer(row.text);
        FAIL() << "read " << row.text;
    } catch (const AnswerSyntaxError &error) {
        EXPECT_EQ(error.column(), row.column);
        EXPECT_EQ(error.message(), row.message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RefusedForms,
    ::testing::Values(
        RefusedRow{"empty", "  ", 3,
                   "Odpověď je prázdná. Napište množinu řešení, např. K = { 2 ; 3 }, K = (−oo ; 1) U (4 ; oo), K = R "
                   "nebo K = ∅."},
        RefusedRow{"letter", "(1 ; a)", 6, "Na 6. místě odpovědi je znak, kterému nerozumím."},
        RefusedRow{"sqrt_without_paren", "{sqrt5}", 6, "Za sqrt na 6. místě patří číslo v závorce, např. sqrt(5); nebo pište √5."},
        RefusedRow{"no_semicolon", "(1 2)", 4, "Na 4. místě má být středník, který odděluje meze intervalu."},
        RefusedRow{"unclosed", "(1 ; 2", 7, "Interval není uzavřen: na 7. místě má být závorka ) nebo >."},
        RefusedRow{"unclosed_set", "{1 ; 2", 7, "Množina není uzavřena: na 7. místě má být závorka }."},
        RefusedRow{"comma_list", "{2, 3}", 3,
                   "Na 3. místě je čárka s mezerou: čísla v množině oddělujte středníkem, desetinnou čárku pište bez "
                   "mezery."},
        RefusedRow{"trailing", "{2} 3", 5, "Za koncem množiny na 5. místě je ještě další text."},
        RefusedRow{"zero_division", "{1/0}", 3, "Na 3. místě se dělí nulou."},
        RefusedRow{"negative_root", "{√-4}", 2,
                   "Na 2. místě je odmocnina ze záporného čísla, ta v oboru reálných čísel neexistuje."},
        RefusedRow{"two_radicands", "{√2 + √3}", 5, "Číslo na 5. místě má dvě různé odmocniny; zapište ho jednodušeji."},
        RefusedRow{"infinity_point", "{oo}", 2, "Nekonečno na 2. místě může být jen mezí intervalu, ne prvkem množiny."},
        RefusedRow{"infinity_closed", "<-oo ; 2)", 1,
                   "U nekonečna na 1. místě má být kulatá závorka: nekonečno do intervalu nepatří."},
        RefusedRow{"infinity_left", "(oo ; 2)", 2,
                   "Na 2. místě stojí nekonečno na špatné straně: vlevo se píše −oo, vpravo oo."},
        RefusedRow{"reversed", "(3 ; 1)", 1,
                   "Interval začatý na 1. místě má levou mez větší nebo rovnou pravé; menší číslo patří vlevo."},
        RefusedRow{"column_in_characters", "K = ⟨1 ; x⟩", 10, "Na 10. místě odpovědi je znak, kterému nerozumím."}),
    row_name);

// Every bracket, sign and root sign takes the reader one level deeper; a
// pasted wall of them must be refused, not run the stack out.
struct NestingRow : NamedRow {
    const char *level; // repeated, then "2", then what closes the levels
    const char *close;
    std::size_t width; // characters per level
    bool shallow_reads; // twenty levels read as 2 (a root of a root is refused for itself)
};

class DeepNesting : public ::testing::TestWithParam<NestingRow> {};

TEST_P(DeepNesting, IsRefusedAtTheLimitAndReadFarBelowIt)
{
    const auto &row = GetParam();
    const auto nested = [&](int levels) {
        std::string text = "{";
        for (int i = 0; i < levels; ++i)
            text += row.level;
        text += "2";
        for (int i = 0; i < levels; ++i)
            text += row.close;
        return text + "}";
    };
    if (row.shallow_reads) {
        const RealSet shallow = parse_answer(nested(20));
        ASSERT_EQ(shallow.size(), 1u);
        EXPECT_EQ(compare(shallow[0].lower.value, make_surd(mpq_class(2))), 0);
    }
    try {
        parse_answer(nested(100000));
        FAIL() << "read 100000 levels";
    } catch (const AnswerSyntaxError &error) {
        EXPECT_EQ(error.column(), 2 + 200 * row.width);
        EXPECT_EQ(error.message(), "Na " + std::to_string(2 + 200 * row.width) +
                                       ". místě je v sobě příliš mnoho závorek, znamének nebo odmocnin; zapište "
                                       "číslo jednodušeji.");
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, DeepNesting,
                         ::testing::Values(NestingRow{"parentheses", "(", ")", 1, true},
                                           NestingRow{"plus_signs", "+", "", 1, true},
                                           NestingRow{"roots", "√", "", 1, false},
                                           NestingRow{"sqrt", "sqrt(", ")", 5, false}),
                         row_name);

struct VerdictRow : NamedRow {
    long a, b, c;
    Relation relation;
    const char *text;
    VerdictKind kind;
    const char *message;
};

class Verdicts : public ::testing::TestWithParam<VerdictRow> {};

TEST_P(Verdicts, NameTheFirstMistake)
{
    const auto &row = GetParam();
    const Verdict verdict = judge_answer(exact_of(row.a, row.b, row.c, row.relation), row.relation, parse_answer(row.text));
    EXPECT_EQ(verdict.kind, row.kind);
    EXPECT_EQ(verdict.message, row.message);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Verdicts,
    ::testing::Values(
        VerdictRow{"right", 1, -5, 6, Eq, "{2;3}", VerdictKind::Right, "Správně!"},
        VerdictRow{"wrong_root", 1, -5, 6, Eq, "{2;4}", VerdictKind::WrongEnd, "Číslo 4 není kořenem rovnice."},
        VerdictRow{"wrong_end", 1, -5, 6, Lt, "(2;3,5)", VerdictKind::WrongEnd,
                   "Číslo 3,5 není nulovým bodem levé strany, mezí řešení proto být nemůže."},
        VerdictRow{"rounded_end", 2, 4, -4, Lt, "(-2,73 ; 0,73)", VerdictKind::RoundedEnd,
                   "Číslo −2,73 je jen přibližná hodnota; zapište ho přesně (zlomkem nebo odmocninou)."},
        VerdictRow{"open_not_closed", 1, -5, 6, Le, "(2 ; 3>", VerdictKind::ShouldBeClosed,
                   "U čísla 2 má být lomená závorka: do řešení patří."},
        VerdictRow{"closed_not_open", 1, -5, 6, Gt, "(-oo ; 2> U (3 ; oo)", VerdictKind::ShouldBeOpen,
                   "U čísla 2 má být kulatá závorka: do řešení nepatří."},
        VerdictRow{"missing_root", 1, -5, 6, Eq, "{2}", VerdictKind::MissingPart,
                   "Chybí kořen: rovnice má ještě další řešení."},
        VerdictRow{"missing_ray", 1, -5, 6, Gt, "(3 ; oo)", VerdictKind::MissingPart,
                   "Chybí část řešení: například číslo 0 nerovnici vyhovuje, ale v odpovědi není."},
        VerdictRow{"missing_point", 1, -2, 1, Ge, "R \\ {1}", VerdictKind::MissingPart,
                   "Chybí část řešení: například číslo 1 nerovnici vyhovuje, ale v odpovědi není."},
        VerdictRow{"between_not_outside", 1, -5, 6, Gt, "(2 ; 3)", VerdictKind::MissingPart,
                   "Chybí část řešení: například číslo 0 nerovnici vyhovuje, ale v odpovědi není."},
        VerdictRow{"extra_reals", 1, 0, 1, Lt, "R", VerdictKind::ExtraPart,
                   "Odpověď obsahuje i čísla, která nevyhovují, například 0."},
        VerdictRow{"extra_narrow", 100, -1, 0, Lt, "(0 ; 1/10)", VerdictKind::WrongEnd,
                   "Číslo 0,1 není nulovým bodem levé strany, mezí řešení proto být nemůže."},
        VerdictRow{"missing_narrow", 100, -1, 0, Gt, "(-oo ; 0)", VerdictKind::MissingPart,
                   "Chybí část řešení: například číslo 1 nerovnici vyhovuje, ale v odpovědi není."}),
    row_name);

struct OrderRow : NamedRow {
    const char *x, *y;
    int sign;
};

class SurdOrder : public ::testing::TestWithParam<OrderRow> {};

TEST_P(SurdOrder, IsExact)
{
    const auto &row = GetParam();
    const auto value = [](const char *text) { return parse_answer(std::string("{") + text + "}").front().lower.value; };
    EXPECT_EQ(compare(value(row.x), value(row.y)), row.sign);
    EXPECT_EQ(compare(value(row.y), value(row.x)), -row.sign);
}

INSTANTIATE_TEST_SUITE_P(Values, SurdOrder,
                         ::testing::Values(OrderRow{"rationals", "1/3", "0,333", 1},
                                           OrderRow{"same_radicand", "1 + √2", "2√2 - 0,4", -1},
                                           OrderRow{"different_radicands", "√2 + 1", "√6", -1},
                                           OrderRow{"close_radicands", "(1 + √5)/2", "√(2,618)", 1},
                                           OrderRow{"equal_written_apart", "√8", "2√2", 0},
                                           OrderRow{"negative", "-√3", "-1,732", -1}),
                         row_name);

} // namespace
} // namespace parvolin
