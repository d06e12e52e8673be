#include "solver/soft_extended.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace parvolin {
namespace {

namespace flags = soft_flags;

constexpr SoftExtended bits(std::uint16_t se, std::uint64_t m) { return SoftExtended::from_bits(se, m); }

constexpr SoftExtended one = bits(0x3FFF, 0x8000000000000000);
constexpr SoftExtended infinity = bits(0x7FFF, 0x8000000000000000);
constexpr SoftExtended indefinite = bits(0xFFFF, 0xC000000000000000);
constexpr SoftExtended quiet_nan = bits(0x7FFF, 0xC000000000001234);
constexpr SoftExtended signalling_nan = bits(0x7FFF, 0x8000000000001234);
constexpr SoftExtended largest = bits(0x7FFE, 0xFFFFFFFFFFFFFFFF);
constexpr SoftExtended smallest_normal = bits(0x0001, 0x8000000000000000);

struct FlagRow : NamedRow {
    std::function<SoftExtended()> operation;
    SoftExtended result;
    unsigned raised;
};

class Flags : public ::testing::TestWithParam<FlagRow> {};

TEST_P(Flags, ResultAndFlagsAsTheX87Gives)
{
    const FlagRow &row = GetParam();
    flags::clear(flags::all);
    const SoftExtended got = row.operation();
    EXPECT_EQ(got.sign_exponent(), row.result.sign_exponent());
    EXPECT_EQ(got.significand(), row.result.significand());
    EXPECT_EQ(flags::test(flags::all), row.raised);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Flags,
    ::testing::Values(
        // Invalid only where a new NaN is made.
        FlagRow{"inf_minus_inf_is_a_new_nan", [] { return infinity - infinity; }, indefinite, flags::invalid},
        FlagRow{"zero_times_inf", [] { return SoftExtended(0) * infinity; }, indefinite, flags::invalid},
        FlagRow{"zero_over_zero_is_invalid_not_division", [] { return SoftExtended(0) / SoftExtended(0); },
                indefinite, flags::invalid},
        FlagRow{"root_of_minus_one", [] { return sqrt(SoftExtended(-1)); }, indefinite, flags::invalid},
        FlagRow{"root_of_minus_zero_is_minus_zero", [] { return sqrt(-SoftExtended(0)); }, bits(0x8000, 0), 0},
        FlagRow{"quiet_nan_passes_silently", [] { return quiet_nan + one; }, quiet_nan, 0},
        FlagRow{"signalling_nan_comes_back_quiet", [] { return signalling_nan * one; },
                bits(0x7FFF, 0xC000000000001234), flags::invalid},
        // Division by zero only for a finite non-zero dividend.
        FlagRow{"one_over_minus_zero", [] { return one / -SoftExtended(0); }, -infinity, flags::divide_by_zero},
        FlagRow{"inf_over_zero_is_exact", [] { return infinity / SoftExtended(0); }, infinity, 0},
        // Overflow and underflow, rounded to nearest.
        FlagRow{"largest_doubled_overflows", [] { return largest * SoftExtended(2); }, infinity,
                flags::overflow | flags::inexact},
        FlagRow{"halved_smallest_normal_is_an_exact_subnormal", [] { return smallest_normal / SoftExtended(2); },
                bits(0x0000, 0x4000000000000000), 0},
        FlagRow{"inexact_subnormal_underflows", [] { return smallest_normal / SoftExtended(3); },
                bits(0x0000, 0x2AAAAAAAAAAAAAAB), flags::underflow | flags::inexact},
        // Tininess after rounding: 2^-16382 (1 - 2^-66) would round to the
        // smallest normal with an unbounded exponent, so it is not tiny.
        FlagRow{"rounding_up_to_the_smallest_normal_is_not_tiny",
                [] { return bits(0x0000, 0x7FFFFFFFC0000000) * bits(0x3FFF, 0x8000000040000000); },
                smallest_normal, flags::inexact},
        // Ties go to the even significand.
        FlagRow{"tie_below_stays_even", [] { return one + bits(0x3FBF, 0x8000000000000000); }, one,
                flags::inexact},
        FlagRow{"tie_above_rounds_up_to_even", [] { return bits(0x3FFF, 0x8000000000000001) + bits(0x3FBF, 0x8000000000000000); },
                bits(0x3FFF, 0x8000000000000002), flags::inexact},
        // Ordered comparisons with a NaN are invalid; equality only for a signalling one.
        FlagRow{"less_than_a_quiet_nan", [] { return SoftExtended(quiet_nan < one ? 1 : 0); }, SoftExtended(0),
                flags::invalid},
        FlagRow{"equal_to_a_quiet_nan", [] { return SoftExtended(quiet_nan == one ? 1 : 0); }, SoftExtended(0), 0}),
    row_name);

struct DoubleRow : NamedRow {
    SoftExtended value;
    std::uint64_t result; // the double's bits
    unsigned raised;
};

class ToDouble : public ::testing::TestWithParam<DoubleRow> {};

TEST_P(ToDouble, RoundsOnceAndFlagsOverflowThere)
{
    const DoubleRow &row = GetParam();
    flags::clear(flags::all);
    const double got = static_cast<double>(row.value);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), row.result);
    EXPECT_EQ(flags::test(flags::all), row.raised);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, ToDouble,
    ::testing::Values(
        DoubleRow{"exact", SoftExtended(0.1), std::bit_cast<std::uint64_t>(0.1), 0},
        // Halfway between the largest double and 2^1024: to even, so infinity.
        DoubleRow{"halfway_past_the_largest_overflows", bits(0x43FE, 0xFFFFFFFFFFFFFC00), 0x7FF0000000000000,
                  flags::overflow | flags::inexact},
        DoubleRow{"just_below_halfway_is_the_largest", bits(0x43FE, 0xFFFFFFFFFFFFFBFF), 0x7FEFFFFFFFFFFFFF,
                  flags::inexact},
        DoubleRow{"extended_only_magnitude_overflows", largest, 0x7FF0000000000000, flags::overflow | flags::inexact},
        DoubleRow{"half_the_smallest_subnormal_goes_to_zero", bits(0x3BCC, 0x8000000000000000), 0,
                  flags::underflow | flags::inexact}),
    row_name);

TEST(SoftExtendedConstants, BitPatternsAreTheValuesTheyName)
{
    EXPECT_TRUE(SoftExtended(1) == one);
    EXPECT_TRUE(SoftExtended(0.5) * SoftExtended(2) == one);
    EXPECT_TRUE(SoftExtended(-0x1p63) == bits(0xC03E, 0x8000000000000000));
    EXPECT_EQ(to_int64(bits(0xC03E, 0x8000000000000000)), INT64_MIN);
}

} // namespace
} // namespace parvolin
