#include "solver/failures.h"
#include "solver/roots.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace parvolin {
namespace {

struct DiscriminantRow : NamedRow {
    double a, b, c;
    double expected;
};

class Discriminant : public ::testing::TestWithParam<DiscriminantRow> {};

TEST_P(Discriminant, KeepsProductsExtendedUntilTheSubtraction)
{
    const auto &row = GetParam();
    EXPECT_EQ(discriminant(row.a, row.b, row.c), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Coefficients, Discriminant,
    ::testing::Values(DiscriminantRow{"positive", 1, -3, 2, 1},
                      DiscriminantRow{"zero", 1, 2, 1, 0},
                      DiscriminantRow{"negative", 1, 1, 1, -3},
                      // In double arithmetic throughout these would be 0.
                      DiscriminantRow{"typed_square_slightly_negative", 1, -0.6, 0.09, -1.3335686721571705e-17},
                      DiscriminantRow{"typed_square_slightly_positive", 1, -0.2, 0.01, 3.6083603553033194e-18},
                      DiscriminantRow{"exact_square", 1, -1, 0.25, 0}),
    row_name);

TEST(DiscriminantFailure, OverflowBeyondDoubleRange)
{
    EXPECT_THROW(discriminant(1, 1.4e154, 0), OverflowError);
    EXPECT_THROW(discriminant(1e200, 0, -1e200), OverflowError);
    EXPECT_NO_THROW(discriminant(1, 1.3e154, 0));
}

struct RoundRow : NamedRow {
    double x;
    int n;
    double expected;
};

class RoundToPlaces : public ::testing::TestWithParam<RoundRow> {};

TEST_P(RoundToPlaces, RoundsTheScaledDouble)
{
    const auto &row = GetParam();
    const double result = round_to_places(row.x, row.n);
    EXPECT_EQ(result, row.expected);
    EXPECT_EQ(std::signbit(result), std::signbit(row.expected)) << "sign of zero";
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundToPlaces,
    ::testing::Values(RoundRow{"two_places", 1.234567, 2, 1.23},
                      RoundRow{"three_places", 2.718281828, 3, 2.718},
                      RoundRow{"six_places", 1.0 / 3, 6, 0.333333},
                      // 0.125 and 2.675 scale to exact halves, which go down.
                      RoundRow{"exact_half_down", 0.125, 2, 0.12},
                      RoundRow{"exact_half_down_2675", 2.675, 2, 2.67},
                      // 1.235 scales to 123.50000000000001, 1.005 to 100.49999999999999.
                      RoundRow{"just_above_half", 1.235, 2, 1.24},
                      RoundRow{"just_below_half", 1.005, 2, 1},
                      RoundRow{"already_rounded", 1.5, 2, 1.5},
                      RoundRow{"integer", 7, 6, 7},
                      RoundRow{"no_scaling_for_zero_places", 2.5, 0, 2},
                      RoundRow{"largest_at_six_places", 9e12, 6, 9e12},
                      // Negative values round by magnitude.
                      RoundRow{"negative_up_in_magnitude", -1.236, 2, -1.24},
                      RoundRow{"negative_exact_half", -0.125, 2, -0.12},
                      RoundRow{"negative_to_zero_is_positive", -0.004, 2, 0.0},
                      RoundRow{"negative_zero_is_positive", -0.0, 2, 0.0},
                      RoundRow{"negative_root", -1.4142135623730951, 2, -1.41}),
    row_name);

TEST(RoundToPlacesFailure, ScaledValueBeyondSigned64Bits)
{
    EXPECT_THROW(round_to_places(1e17, 2), InvalidOperationError);
    EXPECT_THROW(round_to_places(1e13, 6), InvalidOperationError);
    EXPECT_THROW(round_to_places(-1e13, 6), InvalidOperationError);
    EXPECT_THROW(round_to_places(9.3e16, 2), InvalidOperationError);
    EXPECT_NO_THROW(round_to_places(9.2e16, 2));
}

TEST(RoundToPlacesFailure, ScalingBeyondDoubleRange)
{
    EXPECT_THROW(round_to_places(1e307, 2), OverflowError);
}

struct RootsRow : NamedRow {
    double a, b, c;
    int n;
    double r1, r2;
};

class Roots : public ::testing::TestWithParam<RootsRow> {};

TEST_P(Roots, FirstRootFollowsTheSignOfA)
{
    const auto &row = GetParam();
    EXPECT_EQ(root_r1(row.a, row.b, row.c, row.n), row.r1);
    EXPECT_EQ(root_r2(row.a, row.b, row.c, row.n), row.r2);
}

INSTANTIATE_TEST_SUITE_P(
    Problems, Roots,
    ::testing::Values(RootsRow{"a_positive", 1, -3, 2, 2, 2, 1},
                      RootsRow{"a_positive_larger_first", 2, -1, -1, 2, 1, -0.5},
                      RootsRow{"a_negative_smaller_first", -1, 0, 4, 2, -2, 2},
                      RootsRow{"irrational", 1, 0, -2, 2, 1.41, -1.41},
                      // The unscaling by repeated division lands one ulp
                      // below the double nearest 1.618.
                      RootsRow{"golden_ratio", 1, -1, -1, 3, 1.6179999999999999, -0.618}),
    row_name);

TEST(Roots, DoubleAndLinearRoots)
{
    EXPECT_EQ(root_r0(1, -3, 2), 1.5);
    EXPECT_EQ(root_r0(1, 2, 2), -1);
    EXPECT_EQ(root_rl(2, -3, 2), 1.5);
    // -0 / -2 would be +0 anyway; 0 / -2 is -0 before rounding and +0 after.
    EXPECT_FALSE(std::signbit(root_rl(-2, 0, 2)));
}

TEST(Roots, RootBeyondDoubleRangeOverflows)
{
    EXPECT_THROW(root_rl(1e-300, 1e300, 2), OverflowError);
    EXPECT_THROW(root_r0(1e-300, 1e300, 2), OverflowError);
}

} // namespace
} // namespace parvolin
