#include "solver/solution.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace parvolin {
namespace {

struct SentenceRow : NamedRow {
    double a, b, c;
    Relation relation;
    int n;
    const char *verdict;
    const char *condition;
    const char *root_set;
};

class Sentences : public ::testing::TestWithParam<SentenceRow> {};

TEST_P(Sentences, AreWrittenCharacterForCharacter)
{
    const auto &row = GetParam();
    const Problem problem{row.a, row.b, row.c, row.relation, row.n};
    const SolutionText text = describe(analyse(problem), ',');
    EXPECT_EQ(text.verdict, row.verdict);
    EXPECT_EQ(text.condition, row.condition);
    EXPECT_EQ(text.root_set, row.root_set);
}

constexpr auto Eq = Relation::Equal;
constexpr auto Lt = Relation::Less;
constexpr auto Gt = Relation::Greater;
constexpr auto Le = Relation::LessEqual;
constexpr auto Ge = Relation::GreaterEqual;

// Texts that several rows expect. Where two differ only in a doubled blank,
// the program writes them so, and the names say which is which.
constexpr const char *kTwoRoots = "Zadaná kvadratická rovnice má dva různé reálné kořeny .";
constexpr const char *kDoubleRoot = "Zadaná kvadratická rovnice má jeden dvojnásobný kořen";
constexpr const char *kNoRealRoot = "Zadaná kvadratická rovnice nemá v oboru reálných čísel řešení .";
constexpr const char *kLinearRoot = "Zadaná lineární rovnice má  řešení";
constexpr const char *kNoXEquation = "Neexistuje reálné číslo x, které vyhovuje zadané rovnici.";
constexpr const char *kQuadraticHas = "Zadaná kvadratická nerovnice má v oboru reálných čísel řešení .";
constexpr const char *kQuadraticAll = "Zadaná kvadratická nerovnice má v oboru reálných čísel řešení. ";
constexpr const char *kQuadraticNone = "Zadaná kvadratická nerovnice nemá v oboru reálných čísel řešení .";
constexpr const char *kQuadraticOne = "Zadaná kvadratická nerovnice má v oboru reálných čísel jediné řešení .";
constexpr const char *kLinearHas = "Zadaná lineární nerovnice má v oboru reálných čísel řešení";
constexpr const char *kLinearHasWide = "Zadaná lineární nerovnice má  v oboru reálných čísel řešení";
constexpr const char *kNoX = "Neexistuje reálné číslo x, které vyhovuje zadané nerovnici.";
constexpr const char *kAnyXBut1 = "x je libovolné reálné číslo , kromě čísla 1";
constexpr const char *kAnyX = "x je libovolné reálné číslo. ";
constexpr const char *kEmpty = "Množina kořenů: prázdná množina K={ }.";
constexpr const char *kAllReals = "Množina kořenů : všechna reálná čísla K= R .";
constexpr const char *kAllRealsBut1 = "Množina kořenů : sjednocení intervalů  (-oo  ; 1 ) U ( 1 ; oo   ).";
constexpr const char *kJust1 = "Množina kořenů : jednoprvková množina K={ 1 }.";
constexpr const char *kBelow2 = "Množina kořenů: otevřený interval  I=(-oo  ; 2 ).";
constexpr const char *kAbove2 = "Množina kořenů: otevřený interval  I=( 2  ;  oo  ).";
constexpr const char *kTo2 = "Množina kořenů: polouzavřený interval  I=(-oo  ; 2 >.";
constexpr const char *kFrom2 = "Množina kořenů: polouzavřený interval  I= < 2  ;  oo  ).";

INSTANTIATE_TEST_SUITE_P(
    Equation, Sentences,
    ::testing::Values(
        SentenceRow{"two_roots", 1, -3, 2, Eq, 2, kTwoRoots, "x1= 2  x2= 1.",
                    "Množina kořenů: dvouprvková množina K={ 2 ; 1 }."},
        SentenceRow{"smaller_root_first_when_a_negative", -1, 0, 4, Eq, 2, kTwoRoots, "x1= -2  x2= 2.",
                    "Množina kořenů: dvouprvková množina K={ -2 ; 2 }."},
        SentenceRow{"two_roots_rounding_alike", 1, -2, 0.999999, Eq, 2, kTwoRoots, "x1= 1  x2= 1.",
                    "Množina kořenů: dvouprvková množina K={ 1 ; 1 }."},
        SentenceRow{"double_root", 1, 2, 1, Eq, 2, kDoubleRoot, "x1,2= -1.",
                    "Množina kořenů: jednoprvková množina K={-1}."},
        SentenceRow{"exact_zero_discriminant", 1, -1, 0.25, Eq, 2, kDoubleRoot, "x1,2= 0,5.",
                    "Množina kořenů: jednoprvková množina K={0,5}."},
        SentenceRow{"no_real_root", 1, 1, 1, Eq, 2, kNoRealRoot, kNoXEquation, kEmpty},
        // The typed decimals form a square, their doubles do not.
        SentenceRow{"typed_square_has_no_root", 1, -0.6, 0.09, Eq, 2, kNoRealRoot, kNoXEquation, kEmpty},
        SentenceRow{"typed_square_has_two_roots", 1, -0.2, 0.01, Eq, 2, kTwoRoots, "x1= 0,1  x2= 0,1.",
                    "Množina kořenů: dvouprvková množina K={ 0,1 ; 0,1 }."},
        SentenceRow{"golden_ratio_three_places", 1, -1, -1, Eq, 3, kTwoRoots, "x1= 1,618  x2= -0,618.",
                    "Množina kořenů: dvouprvková množina K={ 1,618 ; -0,618 }."},
        SentenceRow{"linear", 0, 2, -3, Eq, 2, kLinearRoot, " x= 1,5.",
                    "Množina kořenů: jednoprvková množina K={ 1,5 }."},
        SentenceRow{"linear_zero_root_has_no_sign", 0, -2, 0, Eq, 2, kLinearRoot, " x= 0.",
                    "Množina kořenů: jednoprvková množina K={ 0 }."},
        SentenceRow{"negative_zero_a_is_linear", -0.0, 4, -1, Eq, 2, kLinearRoot, " x= 0,25.",
                    "Množina kořenů: jednoprvková množina K={ 0,25 }."},
        SentenceRow{"no_solution", 0, 0, 5, Eq, 2, "Zadaná lineární rovnice nemá řešení .", kNoXEquation, kEmpty},
        SentenceRow{"every_number", 0, 0, 0, Eq, 2, "Zadaná lineární rovnice má nekonečně mnoho řešení. ",
                    kAnyX, kAllReals}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    Inequality, Sentences,
    ::testing::Values(
        SentenceRow{"less_between", 1, -3, 2, Lt, 2, kQuadraticHas, "x> 1 a zároveň  x< 2.",
                    "Množina kořenů: otevřený interval I=( 1 ; 2 )."},
        SentenceRow{"greater_outside", 1, -3, 2, Gt, 2, kQuadraticHas, "x< 1 nebo  x> 2.",
                    "Množina kořenů: sjednocení  intervalů (-oo  ; 1) U  ( 2 ;  oo )."},
        SentenceRow{"less_equal_between", 1, -3, 2, Le, 2, kQuadraticHas, "x >= 1 a zároveň  x <= 2.",
                    "Množina kořenů: uzavřený interval I=< 1 ; 2 >."},
        SentenceRow{"greater_equal_outside", 1, -3, 2, Ge, 2, kQuadraticHas, "x<= 1 nebo  x>= 2.",
                    "Množina kořenů: sjednocení  intervalů (-oo  ; 1> U  < 2 ;  oo )."},
        SentenceRow{"less_outside_a_negative", -1, 3, -2, Lt, 2, kQuadraticHas, "x< 1 nebo  x> 2.",
                    "Množina kořenů: sjednocení  intervalů (-oo  ; 1) U  ( 2 ;  oo )."},
        SentenceRow{"greater_between_a_negative", -1, 3, -2, Gt, 2, kQuadraticHas, "x> 1 a zároveň  x< 2.",
                    "Množina kořenů: otevřený interval I=( 1 ; 2 )."},
        SentenceRow{"less_equal_outside_a_negative", -1, 3, -2, Le, 2, kQuadraticHas, "x<= 1 nebo  x>= 2.",
                    "Množina kořenů: sjednocení  intervalů (-oo  ; 1> U  < 2 ;  oo )."},
        SentenceRow{"greater_equal_between_a_negative", -1, 3, -2, Ge, 2, kQuadraticHas,
                    "x >= 1 a zároveň  x <= 2.", "Množina kořenů: uzavřený interval I=< 1 ; 2 >."},
        SentenceRow{"less_double_root_a_positive", 1, -2, 1, Lt, 2, kQuadraticNone, kNoX, kEmpty},
        SentenceRow{"greater_double_root_a_positive", 1, -2, 1, Gt, 2, kQuadraticAll, kAnyXBut1, kAllRealsBut1},
        SentenceRow{"less_equal_double_root_a_positive", 1, -2, 1, Le, 2, kQuadraticOne, " x =1", kJust1},
        SentenceRow{"greater_equal_double_root_a_positive", 1, -2, 1, Ge, 2, kQuadraticAll, kAnyX, kAllReals},
        SentenceRow{"less_double_root_a_negative", -1, 2, -1, Lt, 2, kQuadraticAll, kAnyXBut1, kAllRealsBut1},
        SentenceRow{"greater_double_root_a_negative", -1, 2, -1, Gt, 2, kQuadraticNone, kNoX, kEmpty},
        SentenceRow{"less_equal_double_root_a_negative", -1, 2, -1, Le, 2, kQuadraticAll, kAnyX, kAllReals},
        SentenceRow{"greater_equal_double_root_a_negative", -1, 2, -1, Ge, 2, kQuadraticOne, " x =1", kJust1},
        SentenceRow{"less_no_root", 1, 0, 1, Lt, 2, kQuadraticNone, kNoX, kEmpty},
        SentenceRow{"less_equal_no_root", 1, 0, 1, Le, 2, kQuadraticNone, kNoX, kEmpty},
        SentenceRow{"greater_no_root", 1, 0, 1, Gt, 2, kQuadraticAll, kAnyX, kAllReals},
        SentenceRow{"greater_equal_no_root", 1, 0, 1, Ge, 2, kQuadraticAll, kAnyX, kAllReals},
        SentenceRow{"rounded_roots", 1, 0, -2, Lt, 2, kQuadraticHas, "x> -1,41 a zároveň  x< 1,41.",
                    "Množina kořenů: otevřený interval I=( -1,41 ; 1,41 )."},
        SentenceRow{"roots_rounding_alike", 1, -2, 0.99999999, Lt, 2, kQuadraticHas, "x> 1 a zároveň  x< 1.",
                    "Množina kořenů: otevřený interval I=( 1 ; 1 )."},
        SentenceRow{"less_linear_b_positive", 0, 2, -4, Lt, 2, kLinearHas, " x< 2.", kBelow2},
        SentenceRow{"greater_equal_linear_b_positive", 0, 2, -4, Ge, 2, kLinearHasWide, " x >= 2.", kFrom2},
        SentenceRow{"greater_linear_b_positive", 0, 2, -4, Gt, 2, kLinearHasWide, " x> 2.", kAbove2},
        SentenceRow{"less_equal_linear_b_positive", 0, 2, -4, Le, 2, kLinearHas, " x<= 2.", kTo2},
        SentenceRow{"less_linear_b_negative", 0, -2, 4, Lt, 2, kLinearHasWide, " x> 2.", kAbove2},
        SentenceRow{"greater_linear_b_negative", 0, -2, 4, Gt, 2, kLinearHas, " x< 2.", kBelow2},
        SentenceRow{"less_equal_linear_b_negative", 0, -2, 4, Le, 2, kLinearHasWide, " x >= 2.", kFrom2},
        SentenceRow{"greater_equal_linear_b_negative", 0, -2, 4, Ge, 2, kLinearHas, " x<= 2.", kTo2},
        SentenceRow{"linear_zero_root_has_no_sign", 0, -3, 0, Lt, 2, kLinearHasWide, " x> 0.",
                    "Množina kořenů: otevřený interval  I=( 0  ;  oo  )."},
        SentenceRow{"constant_holds", 0, 0, -5, Lt, 2,
                    "Zadaná lineární nerovnice má v oboru reálných čísel řešení. ", kAnyX, kAllReals},
        SentenceRow{"constant_fails", 0, 0, 0, Gt, 2,
                    "Zadaná lineární nerovnice nemá v oboru reálných čísel řešení .", kNoX, kEmpty}),
    row_name);

// Which case each grade and relation lands in; the picture of the solution
// relies on these kinds as much as the sentences do.
struct KindRow : NamedRow {
    double a, b, c;
    Relation relation;
    SolutionKind kind;
};

class Kinds : public ::testing::TestWithParam<KindRow> {};

TEST_P(Kinds, FollowTheCaseTables)
{
    const auto &row = GetParam();
    EXPECT_EQ(analyse(Problem{row.a, row.b, row.c, row.relation, 2}).kind, row.kind);
}

using K = SolutionKind;

INSTANTIATE_TEST_SUITE_P(
    Rows, Kinds,
    ::testing::Values(
        KindRow{"eq_linear", 0, 1, 1, Eq, K::LinearRoot}, KindRow{"eq_constant_zero", -0.0, -0.0, -0.0, Eq, K::EveryNumber},
        KindRow{"eq_constant", 0, 0, 1, Eq, K::NoSolution},
        KindRow{"constant_zero_lt", 0, 0, 0, Lt, K::ConstantEmpty}, KindRow{"constant_zero_gt", 0, 0, 0, Gt, K::ConstantEmpty},
        KindRow{"constant_zero_le", 0, 0, 0, Le, K::ConstantAllReals},
        KindRow{"constant_zero_ge", 0, 0, 0, Ge, K::ConstantAllReals},
        KindRow{"constant_positive_lt", 0, 0, 5, Lt, K::ConstantEmpty},
        KindRow{"constant_positive_gt", 0, 0, 5, Gt, K::ConstantAllReals},
        KindRow{"constant_positive_le", 0, 0, 5, Le, K::ConstantEmpty},
        KindRow{"constant_positive_ge", 0, 0, 5, Ge, K::ConstantAllReals},
        KindRow{"constant_negative_lt", 0, 0, -5, Lt, K::ConstantAllReals},
        KindRow{"constant_negative_gt", 0, 0, -5, Gt, K::ConstantEmpty},
        KindRow{"constant_negative_le", 0, 0, -5, Le, K::ConstantAllReals},
        KindRow{"constant_negative_ge", 0, 0, -5, Ge, K::ConstantEmpty},
        KindRow{"negative_zero_a_and_b", -0.0, -0.0, 1, Gt, K::ConstantAllReals},
        KindRow{"up_no_root_lt", 1, 0, 1, Lt, K::Empty}, KindRow{"up_no_root_gt", 1, 0, 1, Gt, K::AllReals},
        KindRow{"down_no_root_lt", -1, 0, -1, Lt, K::AllReals}, KindRow{"down_no_root_gt", -1, 0, -1, Gt, K::Empty},
        KindRow{"down_no_root_le", -1, 0, -1, Le, K::AllReals}, KindRow{"down_no_root_ge", -1, 0, -1, Ge, K::Empty},
        KindRow{"up_double_le", 1, -2, 1, Le, K::SinglePoint}, KindRow{"down_double_ge", -1, 2, -1, Ge, K::SinglePoint},
        KindRow{"up_double_gt", 1, -2, 1, Gt, K::AllRealsExcept}, KindRow{"down_double_lt", -1, 2, -1, Lt, K::AllRealsExcept}),
    row_name);

TEST(Solution, InequalityWritesTheSmallerRootFirstForEitherSignOfA)
{
    const Solution up = analyse_inequality(2, -1, -1, Relation::Less, 2);
    EXPECT_EQ(up.first, -0.5);
    EXPECT_EQ(up.second, 1);
    const Solution down = analyse_inequality(-2, 1, 1, Relation::Less, 2);
    EXPECT_EQ(down.first, -0.5);
    EXPECT_EQ(down.second, 1);
}

} // namespace
} // namespace parvolin
