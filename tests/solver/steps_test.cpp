#include "solver/steps.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace parvolin {
namespace {

// A textbook problem and the lines of its working that carry the
// mathematics; the sentences between them may be reworded freely.
struct WorkedRow : NamedRow {
    const char *a, *b, *c;
    int relation_index;
    int places;
    std::vector<std::string> key_lines;
    char separator = ',';
};

class WorkedProblems : public ::testing::TestWithParam<WorkedRow> {};

TEST_P(WorkedProblems, ShowTheirKeyLines)
{
    const auto &row = GetParam();
    const StepsResult result =
        build_steps({row.a, row.b, row.c, row.relation_index, row.places - min_decimals}, row.separator);
    const std::vector<std::string> lines = plain_lines(result.working);
    for (const auto &expected : row.key_lines)
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << "missing: " << expected;
    EXPECT_TRUE(result.agrees_with_report);
    EXPECT_TRUE(std::any_of(result.working.steps.begin(), result.working.steps.end(),
                            [](const Step &step) { return step.kind == StepKind::Result; }));
}

constexpr int Eq = 0, Lt = 1, Gt = 2, Le = 3, Ge = 4;

INSTANTIATE_TEST_SUITE_P(
    Quadratic, WorkedProblems,
    ::testing::Values(
        WorkedRow{"integer_roots", "1", "-5", "6", Eq, 2,
                  {"Rovnice v základním tvaru: x² − 5x + 6 = 0", "Koeficienty: a = 1, b = −5, c = 6",
                   "Diskriminant: D = b² − 4ac = (−5)² − 4 · 1 · 6 = 25 − 24 = 1",
                   "Kořeny: x₁,₂ = (−b ± √D)/(2a) = (5 ± √1)/(2 · 1) = (5 ± 1)/2", "x₁ = 3, x₂ = 2",
                   "Rozklad na součin kořenových činitelů: x² − 5x + 6 = (x − 2)(x − 3)",
                   "Zkouška podle Viètových vzorců: x₁ + x₂ = 5 = −b/a, x₁ · x₂ = 6 = c/a",
                   "Výsledek: K = { 2 ; 3 }"}},
        WorkedRow{"fraction_roots_outside", "2", "-3", "1", Gt, 2,
                  {"Nerovnice v základním tvaru: 2x² − 3x + 1 > 0",
                   "Diskriminant: D = b² − 4ac = (−3)² − 4 · 2 · 1 = 9 − 8 = 1",
                   "a = 2 > 0, parabola je otevřená nahoru.",
                   "x ∈        | a = 2 | (x − 1/2) | (x − 1) | 2(x − 1/2)(x − 1)",
                   "(1/2 ; 1)  | +     | +         | −       | −",
                   "Výsledek: K = (−∞ ; 1/2) ∪ (1 ; ∞)",
                   "Zaokrouhleno na 2 desetinná místa: 1/2 = 0,5"}},
        WorkedRow{"surd_roots_reduced", "2", "4", "-4", Eq, 2,
                  {"Diskriminant: D = b² − 4ac = 4² − 4 · 2 · (−4) = 16 + 32 = 48",
                   "Částečné odmocnění: √D = √48 = 4√3",
                   "Kořeny: x₁,₂ = (−b ± √D)/(2a) = (−4 ± √48)/(2 · 2) = (−4 ± 4√3)/4 = −1 ± √3",
                   "x₁ = −1 + √3 ≐ 0,73, x₂ = −1 − √3 ≐ −2,73",
                   "Rozklad na součin kořenových činitelů: 2x² + 4x − 4 = 2(x + 1 + √3)(x + 1 − √3)",
                   "Výsledek: K = { −1 − √3 ; −1 + √3 }"}},
        WorkedRow{"surd_over_two_between", "1", "-3", "1", Lt, 3,
                  {"Kořeny: x₁,₂ = (−b ± √D)/(2a) = (3 ± √5)/(2 · 1) = (3 ± √5)/2",
                   "Výsledek: K = ((3 − √5)/2 ; (3 + √5)/2)",
                   "Zaokrouhleno na 3 desetinná místa: (3 − √5)/2 ≐ 0,382; (3 + √5)/2 ≐ 2,618"}},
        WorkedRow{"negative_a_between", "-1", "1", "2", Gt, 2,
                  {"Nerovnice v základním tvaru: −x² + x + 2 > 0", "a = −1 < 0, parabola je otevřená dolů.",
                   "Rozklad na součin kořenových činitelů: −x² + x + 2 = −(x + 1)(x − 2)",
                   "(−1 ; 2)  | +       | −       | +", "Výsledek: K = (−1 ; 2)"}},
        WorkedRow{"decimal_square_discriminant", "0,3", "0,1", "-0,2", Lt, 2,
                  {"Odmocnina z diskriminantu vychází přesně: √D = √0,25 = 0,5",
                   "Kořeny: x₁,₂ = (−b ± √D)/(2a) = (−0,1 ± √0,25)/(2 · 0,3) = (−0,1 ± 0,5)/0,6",
                   "x₁ = 2/3 ≐ 0,67, x₂ = −1", "Výsledek: K = (−1 ; 2/3)"}},
        WorkedRow{"closed_ends", "1", "-1", "-6", Ge, 2,
                  {"Nerovnice v základním tvaru: x² − x − 6 ≥ 0", "Výsledek: K = (−∞ ; −2⟩ ∪ ⟨3 ; ∞)"}},
        WorkedRow{"closed_between", "1", "-1", "-6", Le, 2, {"Výsledek: K = ⟨−2 ; 3⟩"}},
        WorkedRow{"double_root", "4", "-4", "1", Eq, 2,
                  {"D = 0, rovnice má jeden dvojnásobný kořen x₀.", "Kořeny: x₀ = −b/(2a) = 4/(2 · 4) = 1/2 = 0,5",
                   "Rozklad na součin kořenových činitelů: 4x² − 4x + 1 = 4(x − 1/2)²",
                   "Zkouška podle Viètových vzorců: x₁ + x₂ = 2x₀ = 1 = −b/a, x₁ · x₂ = x₀² = 1/4 = c/a",
                   "Součet i součin kořenů souhlasí (x₁ = x₂ = x₀).", "Výsledek: K = { 1/2 }"}},
        WorkedRow{"double_root_greater", "1", "-2", "1", Gt, 2, {"Výsledek: K = (−∞ ; 1) ∪ (1 ; ∞)"}},
        WorkedRow{"double_root_less_equal", "1", "-2", "1", Le, 2, {"Výsledek: K = { 1 }"}},
        WorkedRow{"double_root_less", "1", "-2", "1", Lt, 2, {"Výsledek: K = ∅"}},
        WorkedRow{"double_root_greater_equal", "1", "-2", "1", Ge, 2, {"Výsledek: K = ℝ"}},
        WorkedRow{"negative_discriminant", "1", "1", "1", Eq, 2,
                  {"Diskriminant: D = b² − 4ac = 1² − 4 · 1 · 1 = 1 − 4 = −3", "Výsledek: K = ∅"}},
        WorkedRow{"negative_discriminant_above", "1", "1", "1", Gt, 2,
                  {"Parabola leží celá nad osou x, výraz je kladný pro každé x.", "Výsledek: K = ℝ"}},
        WorkedRow{"negative_discriminant_below", "-1", "1", "-1", Ge, 2,
                  {"Parabola leží celá pod osou x, výraz je záporný pro každé x.", "Výsledek: K = ∅"}},
        WorkedRow{"decimals_stay_decimals", "0,5", "-0,25", "0", Lt, 2,
                  {"Nerovnice v základním tvaru: 0,5x² − 0,25x < 0", "Výsledek: K = (0 ; 0,5)"}},
        WorkedRow{"decimal_point", "0.5", "-0.25", "0", Lt, 2, {"Výsledek: K = (0 ; 0.5)"}, '.'},
        WorkedRow{"power_of_ten", "2E-3", "0", "-2E-3", Eq, 2,
                  {"Koeficienty: a = 0,002, b = 0, c = −0,002", "Výsledek: K = { −1 ; 1 }"}}),
    row_name);

// How a teacher writes the working: each row one rule on its example.
INSTANTIATE_TEST_SUITE_P(
    Wording, WorkedProblems,
    ::testing::Values(
        WorkedRow{"power_of_ten_squared_in_brackets", "1", "1E15", "1", Eq, 2,
                  {"Diskriminant: D = b² − 4ac = (10¹⁵)² − 4 · 1 · 1 = 10³⁰ − 4 = 999999999999999999999999999996"}},
        WorkedRow{"small_power_of_ten_squared_in_brackets", "1", "1E-10", "-1", Eq, 2,
                  {"Diskriminant: D = b² − 4ac = (10⁻¹⁰)² − 4 · 1 · (−1) = 10⁻²⁰ + 4 = 4,00000000000000000001"}},
        WorkedRow{"root_simplified_past_65536", "1", "0", "-281496452005891", Eq, 2,
                  {"Kořeny: x₁,₂ = ±√281496452005891 = ±65537√65539"}},
        WorkedRow{"negative_two_a_multiplied_out", "-3", "-6", "1", Eq, 2,
                  {"Kořeny: x₁,₂ = (−b ± √D)/(2a) = (6 ± √48)/(2 · (−3)) = (−6 ± 4√3)/6 = (−3 ± 2√3)/3",
                   "x₁ = (−3 + 2√3)/3 ≐ 0,15, x₂ = (−3 − 2√3)/3 ≐ −2,15"}},
        WorkedRow{"no_repeated_last_form", "1", "-39", "-1", Eq, 2,
                  {"Kořeny: x₁,₂ = (−b ± √D)/(2a) = (39 ± √1525)/(2 · 1) = (39 ± 5√61)/2"}},
        WorkedRow{"no_b_no_c_without_repeat", "1", "0", "0", Eq, 2,
                  {"Chybí lineární i absolutní člen (b = 0, c = 0): x² = 0 ⇒ x₀ = 0"}},
        WorkedRow{"whole_root_is_not_partial", "1", "-5", "4", Eq, 2,
                  {"Odmocnina z diskriminantu vychází přesně: √D = √9 = 3"}},
        WorkedRow{"whole_root_324", "1", "0", "-81", Eq, 2, {"Kořeny: x₁,₂ = ±√81 = ±9"}},
        WorkedRow{"double_zero_named", "1", "-2", "1", Gt, 2, {"D = 0, levá strana má jeden dvojnásobný nulový bod x₀."}},
        WorkedRow{"x_before_its_bracket", "1", "3", "0", Lt, 2,
                  {"Rozklad na součin kořenových činitelů: x² + 3x = x(x + 3)",
                   "x ∈       | (x + 3) | x | x(x + 3)"}},
        WorkedRow{"sentence_before_the_roots_ends_in_a_full_stop", "1", "-5", "6", Eq, 2,
                  {"D > 0, rovnice má dva různé reálné kořeny."}},
        WorkedRow{"no_b_plus_sign_is_x1", "2", "0", "-6", Eq, 2, {"x₁ = √3 ≐ 1,73, x₂ = −√3 ≐ −1,73"}}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    Incomplete, WorkedProblems,
    ::testing::Values(
        WorkedRow{"no_b", "1", "0", "-4", Eq, 2,
                  {"Chybí lineární člen (b = 0), diskriminant nepotřebujeme: x² = 4", "Kořeny: x₁,₂ = ±√4 = ±2",
                   "Výsledek: K = { −2 ; 2 }"}},
        WorkedRow{"no_b_divided", "2", "0", "-6", Lt, 2,
                  {"Chybí lineární člen (b = 0), diskriminant nepotřebujeme: 2x² = 6 ⇒ x² = 3",
                   "Kořeny: x₁,₂ = ±√3", "Výsledek: K = (−√3 ; √3)",
                   "Zaokrouhleno na 2 desetinná místa: −√3 ≐ −1,73; √3 ≐ 1,73"}},
        WorkedRow{"no_b_surd_simplified", "1", "0", "-12", Eq, 2, {"Kořeny: x₁,₂ = ±√12 = ±2√3"}},
        WorkedRow{"no_b_negative_square", "1", "0", "4", Eq, 2,
                  {"Druhá mocnina reálného čísla nemůže být záporná, rovnice nemá v oboru reálných čísel řešení.",
                   "Výsledek: K = ∅"}},
        WorkedRow{"no_c", "3", "-6", "0", Ge, 2,
                  {"Chybí absolutní člen (c = 0), vytkneme x: x(3x − 6) ≥ 0",
                   "Součin je roven nule, právě když je roven nule některý z činitelů: x₁ = 0, 3x − 6 = 0 ⇒ x₂ = 2",
                   "Rozklad na součin kořenových činitelů: 3x² − 6x = 3x(x − 2)",
                   "Výsledek: K = (−∞ ; 0⟩ ∪ ⟨2 ; ∞)"}},
        WorkedRow{"no_c_negative_a", "-2", "5", "0", Eq, 2,
                  {"Chybí absolutní člen (c = 0), vytkneme x: x(−2x + 5) = 0",
                   "Rozklad na součin kořenových činitelů: −2x² + 5x = −2x(x − 5/2)", "Výsledek: K = { 0 ; 5/2 }"}},
        WorkedRow{"no_b_no_c", "5", "0", "0", Le, 2,
                  {"Chybí lineární i absolutní člen (b = 0, c = 0): 5x² = 0 ⇒ x² = 0 ⇒ x₀ = 0",
                   "Výsledek: K = { 0 }"}}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    LinearAndConstant, WorkedProblems,
    ::testing::Values(
        WorkedRow{"negative_b_turns_the_sign", "0", "-2", "3", Gt, 2,
                  {"a = 0, nejde o kvadratickou, ale o lineární nerovnici: −2x + 3 > 0",
                   "Absolutní člen převedeme na pravou stranu: −2x > −3",
                   "Obě strany vydělíme číslem −2 (záporným, proto se znak nerovnosti obrací): x < 3/2 = 1,5",
                   "Výsledek: K = (−∞ ; 3/2)"}},
        WorkedRow{"positive_b_keeps_the_sign", "", "4", "-2", Ge, 2,
                  {"Obě strany vydělíme číslem 4 (kladným, znak nerovnosti se nemění): x ≥ 1/2 = 0,5",
                   "Výsledek: K = ⟨1/2 ; ∞)"}},
        WorkedRow{"negative_b_closed", "0", "-1", "0", Le, 2,
                  {"Obě strany vydělíme číslem −1 (záporným, proto se znak nerovnosti obrací): x ≥ 0",
                   "Výsledek: K = ⟨0 ; ∞)"}},
        WorkedRow{"linear_equation", "0", "3", "1", Eq, 3,
                  {"Obě strany vydělíme číslem 3: x = −1/3 ≐ −0,333", "Výsledek: K = { −1/3 }"}},
        WorkedRow{"constant_true", "0", "0", "5", Gt, 2,
                  {"a = 0 a b = 0: na levé straně zůstává jen číslo, které na x nezávisí: 5 > 0",
                   "Výsledek: K = ℝ"}},
        WorkedRow{"constant_false", "0", "0", "-1", Ge, 2, {"Výsledek: K = ∅"}},
        WorkedRow{"zero_equals_zero", "", "", "", Eq, 2,
                  {"Rovnost platí pro každé x, rovnice má nekonečně mnoho řešení.", "Výsledek: K = ℝ"}},
        WorkedRow{"constant_equation_false", "0", "0", "5", Eq, 2, {"Výsledek: K = ∅"}}),
    row_name);

// Problems where the report, computed in binary floating point, shows a
// different set from the exact one.
struct NoticeRow : NamedRow {
    const char *a, *b, *c;
    int relation_index;
    int places;
    std::vector<std::string> notice_parts;
};

class Disagreements : public ::testing::TestWithParam<NoticeRow> {};

TEST_P(Disagreements, OpenWithANoticeStatingBoth)
{
    const auto &row = GetParam();
    const StepsResult result = build_steps({row.a, row.b, row.c, row.relation_index, row.places - min_decimals}, ',');
    EXPECT_FALSE(result.agrees_with_report);
    ASSERT_FALSE(result.working.steps.empty());
    EXPECT_EQ(result.working.steps.front().kind, StepKind::Notice);
    EXPECT_EQ(result.working.steps.front().text, result.notice);
    for (const auto &part : row.notice_parts)
        EXPECT_NE(result.notice.find(part), std::string::npos) << "missing: " << part << "\nin: " << result.notice;
}

INSTANTIATE_TEST_SUITE_P(
    Report, Disagreements,
    ::testing::Values(
        NoticeRow{"square_lost_in_binary", "1", "-0,6", "0,09", Eq, 2,
                  {"Protokol uvádí „Množina kořenů: prázdná množina K={ }.“", "přesně vychází D = 0, K = { 0,3 }",
                   "čísla −0,6 a 0,09 nelze zapsat přesně", "D ≈ −1,3 · 10⁻¹⁷ místo D = 0"}},
        NoticeRow{"double_root_split_in_two", "2", "18,8", "44,18", Eq, 2,
                  {"„Množina kořenů: dvouprvková množina K={ -4,7 ; -4,7 }.“", "D = 0, K = { −4,7 }",
                   "čísla 18,8 a 44,18 nelze zapsat přesně", "místo D = 0"}},
        NoticeRow{"digits_lost", "1E-12", "1", "-1", Eq, 6,
                  {"K={ 0,999978 ; -1000000000001 }", "zaokrouhleno K ≐ { −1000000000001 ; 1 }",
                   "ztratily platné číslice"}},
        NoticeRow{"half_rounded_down", "0", "8", "-1", Eq, 2,
                  {"K={ 0,12 }", "K = { 1/8 }, zaokrouhleno K ≐ { 0,13 }", "pětku na konci zaokrouhluje k nule, zde od nuly"}},
        NoticeRow{"coefficient_below_the_range", "1E-4999", "1", "-1", Eq, 2,
                  {"K={ 1 }", "číslo 10⁻⁴⁹⁹⁹ je pro protokol tak malé, že s ním počítá jako s nulou"}},
        NoticeRow{"touching_interval_is_not_empty", "-2", "-17,2", "-36,98", Gt, 2,
                  {"( -4,3 ; -4,3 )", "K = ∅"}},
        NoticeRow{"report_overflows", "1E300", "1E300", "1", Eq, 2,
                  {"Pozor: protokol výpočet nedokončil (Floating point overflow), přesně vychází"}}),
    row_name);

// Problems whose report shows the exact set at its places, under the C locale
// and under the Czech one the window runs with (where the C library would read
// "1.25" as 1).
struct AgreementRow : NamedRow {
    const char *a, *b, *c;
    int relation_index;
    const char *locale;
};

class Agreements : public ::testing::TestWithParam<AgreementRow> {};

TEST_P(Agreements, OpenWithoutANotice)
{
    const auto &row = GetParam();
    const ScopedProcessLocale locale(row.locale);
    const StepsResult result = build_steps({row.a, row.b, row.c, row.relation_index, 0}, ',');
    EXPECT_TRUE(result.agrees_with_report) << result.notice;
    EXPECT_TRUE(result.notice.empty());
    EXPECT_NE(result.working.steps.front().kind, StepKind::Notice);
}

INSTANTIATE_TEST_SUITE_P(
    Report, Agreements,
    ::testing::Values(AgreementRow{"integer_roots", "1", "-3", "2", Eq, "C"},
                      AgreementRow{"half_root_czech", "2", "-3", "1", Gt, "cs_CZ.UTF-8"},
                      AgreementRow{"surd_roots_czech", "1", "-6", "-11", Le, "cs_CZ.UTF-8"},
                      AgreementRow{"fraction_roots_czech", "4", "13", "10", Eq, "cs_CZ.UTF-8"},
                      AgreementRow{"fraction_roots_german", "4", "13", "10", Lt, "de_DE.UTF-8"},
                      // D = 0 exactly, just above 0 in binary: the report's two
                      // rays meet at -4,3, which is R without -4,3
                      AgreementRow{"touching_strict_rays_meet", "2", "17,2", "36,98", Gt, "C"},
                      AgreementRow{"touching_closed_rays_cover", "2", "17,2", "36,98", Ge, "C"}),
    row_name);

TEST(Steps, TextsTheReportRefusesGiveNoWorking)
{
    EXPECT_THROW(build_steps({"1.5", "0", "0", 0, 0}, ','), ConvertError);
    EXPECT_THROW(build_steps({"1E400", "0", "0", 0, 0}, ','), OverflowError);
    // The report reads this as 0; it is too long to be worked exactly.
    const std::string tiny = "0," + std::string(max_exact_digits, '0') + "1";
    EXPECT_THROW(build_steps({"1", tiny, "0", 0, 0}, ','), TooManyDigitsError);
}

TEST(Steps, HugeCoefficientIsWorkedExactly)
{
    // b = 1,23456789 · 10^-99991 (100 000 digits as typed), which the report
    // reads as 0: x² + bx - 1 = 0 has the roots (-b ± √(b² + 4)) / 2.
    const std::string b = "0," + std::string(99'990, '0') + "123456789";
    const StepsResult result = build_steps({"1", b, "-1", 0, 2}, ',');
    ASSERT_EQ(result.exact.set.kind, SetKind::Points);
    ASSERT_EQ(result.exact.set.points.size(), 2u);
    EXPECT_FALSE(result.exact.set.points[0].is_rational());
    EXPECT_TRUE(result.agrees_with_report); // both round to -1 and 1
    const auto lines = plain_lines(result.working);
    EXPECT_EQ(lines.back().substr(lines.back().rfind(' ')), " 1,0000");
}

} // namespace
} // namespace parvolin
