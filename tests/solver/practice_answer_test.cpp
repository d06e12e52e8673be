#include "solver/practice_answer.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "solver/steps.h"

#include <random>
#include <string>
#include <vector>

namespace parvolin {
namespace {

constexpr Relation Eq = Relation::Equal, Lt = Relation::Less, Gt = Relation::Greater, Le = Relation::LessEqual,
                   Ge = Relation::GreaterEqual;

ExactAnalysis exact_of(long a, long b, long c, Relation relation) { return analyse_exact(a, b, c, relation); }

std::string integer_text_of(long value)
{
    char digits[24];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

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
        AcceptedRow{"ray_closed", "(-oo ; -2>", 0, -1, -2, Ge},
        AcceptedRow{"x_in_interval", "x ∈ (1;2)", 1, -3, 2, Lt},
        AcceptedRow{"x_in_reals", "x ∈ R", 1, 0, 1, Gt},
        AcceptedRow{"x_in_closed", "x ∈ ⟨1 ; 2⟩", 1, -3, 2, Le},
        AcceptedRow{"k_colon", "K: (1;2)", 1, -3, 2, Lt},
        AcceptedRow{"full_stop", "K = {1; 2}.", 1, -3, 2, Eq},
        AcceptedRow{"bare_value", "2", 0, 1, -2, Eq},
        AcceptedRow{"bare_double_root", "2", 1, -4, 4, Eq},
        AcceptedRow{"bare_values", "1; 2", 1, -3, 2, Eq},
        AcceptedRow{"bare_surds", "3-2√5; 3+2√5", 1, -6, -11, Eq},
        AcceptedRow{"bare_sqrt_spaced", "3 - 2 sqrt(5) ; 3 + 2 sqrt(5)", 1, -6, -11, Eq},
        AcceptedRow{"bare_plus_minus", "3 ± 2√5", 1, -6, -11, Eq},
        AcceptedRow{"bare_bracketed_number", "(−1 ± √5)/2", 1, 1, -1, Eq},
        AcceptedRow{"bare_number_with_full_stop", "x = 2.", 0, 1, -2, Eq},
        AcceptedRow{"greater", "x > 2", 0, 1, -2, Gt},
        AcceptedRow{"greater_written_backwards", "2 < x", 0, 1, -2, Gt},
        AcceptedRow{"or_word", "x < 1 nebo x > 2", 1, -3, 2, Gt},
        AcceptedRow{"or_sign", "x ≤ 1 ∨ x ≥ 2", 1, -3, 2, Ge},
        AcceptedRow{"or_ascii", "x <= 1 or x >= 2", 1, -3, 2, Ge},
        AcceptedRow{"between", "1 < x < 2", 1, -3, 2, Lt},
        AcceptedRow{"between_falling", "2 ≥ x ≥ 1", 1, -3, 2, Le},
        AcceptedRow{"not_equal", "x ≠ 3", 1, -6, 9, Gt},
        AcceptedRow{"not_equal_ascii", "x != 3", 1, -6, 9, Gt},
        AcceptedRow{"equal_or_equal", "x = 1 nebo x = 2", 1, -3, 2, Eq},
        AcceptedRow{"closed_point", "<1;1>", 1, -2, 1, Le},
        AcceptedRow{"reals_but_interval", "R \\ <1;2>", 1, -3, 2, Gt},
        AcceptedRow{"no_solution", "nemá řešení", 1, 0, 1, Lt},
        AcceptedRow{"no_solution_capital_stop", "Žádné řešení.", 1, 0, 1, Eq},
        AcceptedRow{"every_x", "všechna x", 1, 0, 1, Gt},
        AcceptedRow{"each_x", "Každé x", 1, 0, 1, Ge},
        AcceptedRow{"working_fraction", "x₁,₂ = (1 ± √22)/3", 3, -2, -7, Eq},
        AcceptedRow{"working_plus_minus_root", "x₁,₂ = ±√5", 1, 0, -5, Eq},
        AcceptedRow{"working_set", "{13 ± 3√19}", 1, -26, -2, Eq},
        AcceptedRow{"working_double_root", "x₀ = 2", 1, -4, 4, Eq},
        AcceptedRow{"plus_minus_ascii_prefix", "x = +-sqrt(5)", 1, 0, -5, Eq}),
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
        RefusedRow{"unclosed", "(1 ; 2", 7, "Na 7. místě má být pravá závorka intervalu, ) nebo >."},
        RefusedRow{"unclosed_set", "{1 ; 2", 7,
                   "Na 7. místě má být středník před dalším prvkem nebo závorka }, která výčet končí."},
        RefusedRow{"two_numbers_without_semicolon", "9 9", 3,
                   "Na 3. místě začíná další číslo: čísla oddělujte středníkem, např. 1 ; 2."},
        RefusedRow{"bare_comma_list", "1, 2", 2,
                   "Na 2. místě je čárka s mezerou: čísla v množině oddělujte středníkem, desetinnou čárku pište bez "
                   "mezery."},
        RefusedRow{"plus_minus_end", "(1 ± 2 ; 5)", 4,
                   "Na 4. místě je ±, ale tady má stát jedno číslo: mez intervalu nebo nerovnosti pište zvlášť."},
        RefusedRow{"two_plus_minus", "{1 ± 2 ± 3}", 8,
                   "Na 8. místě je ± tam, kde mu nerozumím; obě čísla zapište zvlášť, např. { 1 ; 3 }."},
        RefusedRow{"plus_minus_under_root", "√(1 ± 2)", 5,
                   "Na 5. místě je ± tam, kde mu nerozumím; obě čísla zapište zvlášť, např. { 1 ; 3 }."},
        RefusedRow{"no_relation", "x 2", 3, "Na 3. místě má za x být =, <, >, ≤, ≥, ≠ nebo ∈."},
        RefusedRow{"no_x", "1 < 2", 5, "Na 5. místě má být x, např. 1 < x < 2."},
        RefusedRow{"mixed_relations", "1 < x > 2", 7,
                   "Znaménko na 7. místě míří jinam než první: pište např. 1 < x < 2 nebo 2 > x > 1."},
        RefusedRow{"reversed_condition", "2 < x < 1", 7,
                   "Podmínce na 7. místě nevyhovuje žádné x: menší číslo patří vlevo, např. 1 < x < 2."},
        RefusedRow{"and_word", "x > 1 a x < 2", 7,
                   "Na 7. místě se podmínky spojují „a“: zapište je jako 1 < x < 2 nebo intervalem, např. K = (1 ; "
                   "2)."},
        RefusedRow{"relation_without_number", "x ≥", 4, "Na 4. místě má být číslo."},
        RefusedRow{"plus_minus_without_number", "{1 ± }", 6, "Na 6. místě má být číslo."},
        RefusedRow{"end_missing", "(1 ; )", 6, "Na 6. místě má být číslo."},
        RefusedRow{"open_point", "(1 ; 1)", 1,
                   "Interval začatý na 1. místě má levou mez větší nebo rovnou pravé; menší číslo patří vlevo."},
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
        EXPECT_EQ(compare(shallow[0].lower.value, make_surd(Rational(2))), 0);
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

// A pasted wall of numbers is read in one pass, not sorted after each.
TEST(LongAnswers, AreReadInReasonableTime)
{
    std::string list = "{", bare, digits(100'000, '7');
    for (int i = 1; i <= 20'000; ++i) {
        const std::string n = integer_text_of(i);
        list += n + ";";
        bare += n + (i < 20'000 ? "; " : "");
    }
    list.back() = '}';
    EXPECT_EQ(parse_answer(list).size(), 20'000u);
    EXPECT_EQ(parse_answer(bare).size(), 20'000u);
    const RealSet big = parse_answer("{" + digits + "}");
    ASSERT_EQ(big.size(), 1u);
    EXPECT_EQ(decimal_string(big[0].lower.value.u), digits);
}

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
                   "Chybí část řešení: například číslo 1 nerovnici vyhovuje, ale v odpovědi není."},
        VerdictRow{"one_of_two_rays", 1, -3, 2, Gt, "x > 2", VerdictKind::MissingPart,
                   "Chybí část řešení: například číslo 0 nerovnici vyhovuje, ale v odpovědi není."},
        VerdictRow{"between_closed_at_one_end", 1, -3, 2, Lt, "1 < x ≤ 2", VerdictKind::ShouldBeOpen,
                   "U čísla 2 má být kulatá závorka: do řešení nepatří."},
        VerdictRow{"not_equal_but_equal_allowed", 1, -6, 9, Ge, "x ≠ 3", VerdictKind::MissingPart,
                   "Chybí část řešení: například číslo 3 nerovnici vyhovuje, ale v odpovědi není."},
        VerdictRow{"plus_minus_wrong_sign", 1, -26, 2, Eq, "{13 ± 3√19}", VerdictKind::WrongEnd,
                   "Číslo 13 − 3√19 není kořenem rovnice."},
        VerdictRow{"no_solution_said_of_two_roots", 1, -3, 2, Eq, "nemá řešení", VerdictKind::MissingPart,
                   "Chybí kořen: rovnice má ještě další řešení."},
        VerdictRow{"every_x_but_one_missing", 1, -2, 1, Gt, "všechna x", VerdictKind::ExtraPart,
                   "Odpověď obsahuje i čísla, která nevyhovují, například 1."},
        VerdictRow{"one_root_of_two", 1, -3, 2, Eq, "2", VerdictKind::MissingPart,
                   "Chybí kořen: rovnice má ještě další řešení."},
        VerdictRow{"rounded_bare_roots", 1, 0, -5, Eq, "x₁,₂ = ±2,24", VerdictKind::RoundedEnd,
                   "Číslo −2,24 je jen přibližná hodnota; zapište ho přesně (zlomkem nebo odmocninou)."}),
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


// ---- no wrong answer is accepted ----

// The sign of a·x² + b·x + c at x = (u + v√m)/w, worked out here on its own:
// w²·(a x² + b x + c) = P + T√m.
int sign_at(long a, long b, long c, const Surd &x)
{
    const Integer P = a * (x.u * x.u + x.v * x.v * x.m) + b * x.w * x.u + c * x.w * x.w;
    const Integer T = 2 * a * x.u * x.v + b * x.w * x.v;
    const int sp = sgn(P), st = sgn(T);
    if (st == 0 || sp == st || sp == 0)
        return sp != 0 ? sp : st;
    const int c2 = compare(Integer(P * P), Integer(T * T * x.m));
    return c2 > 0 ? sp : c2 < 0 ? st : 0;
}

bool satisfies(long a, long b, long c, Relation relation, const Surd &x)
{
    const int s = sign_at(a, b, c, x);
    switch (relation) {
    case Relation::Equal:
        return s == 0;
    case Relation::Less:
        return s < 0;
    case Relation::Greater:
        return s > 0;
    case Relation::LessEqual:
        return s <= 0;
    case Relation::GreaterEqual:
        return s >= 0;
    }
    return false;
}

bool member(const RealSet &set, const Surd &x)
{
    for (const auto &p : set) {
        const int lo = p.lower.infinity != 0 ? -p.lower.infinity : compare(x, p.lower.value);
        const int hi = p.upper.infinity != 0 ? -p.upper.infinity : compare(x, p.upper.value);
        if ((lo > 0 || (lo == 0 && p.lower_closed)) && (hi < 0 || (hi == 0 && p.upper_closed)))
            return true;
    }
    return false;
}

double approximately(const Surd &x)
{
    return (to_double(x.u) + to_double(x.v) * std::sqrt(to_double(x.m))) / to_double(x.w);
}

// Where the set `read` and the problem's own set could differ: every end of
// `read` and the problem's zeros, and rationals between and beyond them.
std::vector<Surd> probes(const RealSet &read, const ExactAnalysis &exact)
{
    std::vector<Surd> ends(exact.zeros);
    for (const auto &p : read) {
        for (const ExactEnd *e : {&p.lower, &p.upper}) {
            if (e->infinity == 0)
                ends.push_back(e->value);
        }
    }
    std::vector<double> at;
    for (const auto &e : ends)
        at.push_back(approximately(e));
    std::sort(at.begin(), at.end());
    std::vector<Surd> out(ends);
    out.push_back(make_surd(Rational(0)));
    if (!at.empty()) {
        out.push_back(make_surd(Rational(at.front() - 1)));
        out.push_back(make_surd(Rational(at.back() + 1)));
    }
    for (std::size_t i = 1; i < at.size(); ++i) {
        if (at[i] - at[i - 1] > 1e-6)
            out.push_back(make_surd(Rational((at[i] + at[i - 1]) / 2)));
    }
    return out;
}

// One edit of an answer's text: a character replaced by another a pupil
// might type.
std::string mistyped(const std::string &text, std::mt19937_64 &random)
{
    static const std::vector<std::string> swaps{"(", ")", "<", ">", "{", "}", ";", "1", "2", "3", "−", "-",
                                                "+", "±", "√", "x", "∪", "0", "9", "/", " ", ""};
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    }
    const std::size_t at = starts[random() % starts.size()];
    std::size_t length = 1;
    while (at + length < text.size() && (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80)
        ++length;
    return text.substr(0, at) + swaps[random() % swaps.size()] + text.substr(at + length);
}

TEST(WrongAnswers, AreNeverAccepted)
{
    std::mt19937_64 random(20261209);
    const Relation relations[] = {Eq, Lt, Gt, Le, Ge};
    const auto coefficient = [&](int range) { return static_cast<long>(random() % (2 * range + 1)) - range; };
    int accepted = 0, checked = 0;
    for (int round = 0; round < 3000; ++round) {
        const long a = coefficient(3), b = coefficient(8), c = coefficient(8);
        const Relation relation = relations[random() % 5];
        const ExactAnalysis exact = exact_of(a, b, c, relation);
        // The answer of another problem, or this one's mistyped, in the
        // working's own words.
        const long a2 = coefficient(3), b2 = coefficient(8), c2 = coefficient(8);
        const Relation relation2 = relations[random() % 5];
        const bool other = random() % 2 == 0;
        const ExactAnalysis source = other ? exact_of(a2, b2, c2, relation2) : exact;
        std::string text = plain_text(other ? problem_math(a2, b2, c2, relation2, source.set, ',').set
                                            : problem_math(a, b, c, relation, source.set, ',').set);
        if (!other)
            text = mistyped(text, random);
        RealSet read;
        try {
            read = parse_answer(text);
        } catch (const AnswerSyntaxError &) {
            continue;
        }
        ++checked;
        if (judge_answer(exact, relation, read).kind != VerdictKind::Right)
            continue;
        ++accepted;
        for (const Surd &x : probes(read, exact))
            ASSERT_EQ(member(read, x), satisfies(a, b, c, relation, x))
                << text << " accepted for " << a << " " << b << " " << c << " at " << approximately(x);
    }
    // The test saw both kinds: answers refused and answers taken.
    EXPECT_GT(accepted, 100);
    EXPECT_GT(checked - accepted, 300);
}

std::string integer_text(long value)
{
    char digits[24];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// The roots as the working's last lines write them, read back as the answer.
TEST(WorkingNotation, IsReadAsTheAnswer)
{
    std::mt19937_64 random(7);
    for (int round = 0; round < 200; ++round) {
        const long a = static_cast<long>(random() % 9) - 4, b = static_cast<long>(random() % 41) - 20,
                   c = static_cast<long>(random() % 41) - 20;
        if (a == 0)
            continue;
        const ExactAnalysis exact = exact_of(a, b, c, Eq);
        const std::string text = plain_text(problem_math(a, b, c, Eq, exact.set, ',').set);
        const Verdict verdict = judge_answer(exact, Eq, parse_answer(text));
        EXPECT_EQ(verdict.kind, VerdictKind::Right) << text;
        // The last form of the roots line: "x₁,₂ = (1 ± √22)/3", "x₀ = 1/2".
        const std::string a_text = integer_text(a), b_text = integer_text(b), c_text = integer_text(c);
        const std::string lead = "Kořeny: ";
        for (const std::string &line : plain_lines(build_steps({a_text, b_text, c_text, 0, 0}, ',').working)) {
            if (!line.starts_with(lead))
                continue;
            const std::string name = line.substr(lead.size(), line.find(" = ") - lead.size());
            std::string last = line.substr(line.rfind(" = ") + 3);
            last = last.substr(0, last.find(" ≐ "));
            const std::string roots = name + " = " + last;
            EXPECT_EQ(judge_answer(exact, Eq, parse_answer(roots)).kind, VerdictKind::Right) << roots;
        }
    }
}

} // namespace
} // namespace parvolin
