#include "solver/big_number.h"
#include "solver/ascii.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace parvolin {
namespace {

// The conversions to and from double must give what the C++ library's
// correctly rounding to_chars and from_chars give, which the WebAssembly
// library lacks: the working and the notice are written from them.
struct NearestRow : NamedRow {
    const char *decimal;
    double expected;
};

class NearestDouble : public ::testing::TestWithParam<NearestRow> {};

Rational decimal_value(std::string_view text)
{
    const auto e = text.find('e');
    std::string digits(text.substr(0, e));
    const auto point = digits.find('.');
    int exponent = 0;
    if (point != std::string::npos) {
        exponent -= static_cast<int>(digits.size() - point - 1);
        digits.erase(point, 1);
    }
    if (e != std::string_view::npos) {
        int written = 0;
        std::from_chars(text.data() + e + 1, text.data() + text.size(), written);
        exponent += written;
    }
    const bool negative = digits[0] == '-';
    Integer top = integer_from_digits(negative ? digits.substr(1) : digits);
    if (negative)
        top = -top;
    return exponent >= 0 ? Rational(top * power_of_ten(static_cast<std::uint32_t>(exponent)))
                         : ratio(top, power_of_ten(static_cast<std::uint32_t>(-exponent)));
}

TEST_P(NearestDouble, RoundsToNearestTiesToEven)
{
    EXPECT_EQ(nearest_double(decimal_value(GetParam().decimal)), GetParam().expected) << GetParam().decimal;
}

INSTANTIATE_TEST_SUITE_P(
    Decimals, NearestDouble,
    ::testing::Values(NearestRow{"tenth", "0.1", 0.1}, NearestRow{"negative", "-2.675", -2.675},
                      NearestRow{"tie_to_even_down", "9007199254740993", 9007199254740992.0},
                      NearestRow{"tie_to_even_up", "9007199254740995", 9007199254740996.0},
                      NearestRow{"just_above_a_tie", "9007199254740993.000001", 9007199254740994.0},
                      NearestRow{"smallest_normal", "2.2250738585072014e-308", 0x1p-1022},
                      NearestRow{"subnormal", "1e-310", 1e-310},
                      NearestRow{"half_the_smallest_is_zero", "2.4703282292062327208828439643411e-324", 0.0},
                      NearestRow{"above_half_the_smallest", "2.4703282292062328e-324", 0x1p-1074},
                      NearestRow{"largest", "1.7976931348623157e308", 0x1.fffffffffffffp1023},
                      NearestRow{"beyond_the_largest", "1.797693134862315808e308", HUGE_VAL}),
    row_name);

TEST(NearestDouble, AgreesWithFromCharsOnRandomDecimals)
{
    const unsigned seed = 2403;
    std::mt19937_64 random(seed);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = integer_text(random() >> (random() % 64)) + "e" +
                                 integer_text(static_cast<int>(random() % 640) - 340);
        double expected = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), expected);
        if (error != std::errc())
            continue; // beyond the range: the table holds those
        ASSERT_EQ(nearest_double(decimal_value(text)), expected) << text << " (seed " << seed << ")";
    }
}

struct TwoDigitsRow : NamedRow {
    double value;
    std::uint64_t digits;
    int exponent;
};

class TwoDigitsOf : public ::testing::TestWithParam<TwoDigitsRow> {};

TEST_P(TwoDigitsOf, RoundTiesToEven)
{
    const SignificantDigits two = significant_digits(GetParam().value, 2);
    EXPECT_EQ(two.digits, GetParam().digits);
    EXPECT_EQ(two.exponent, GetParam().exponent);
}

INSTANTIATE_TEST_SUITE_P(Doubles, TwoDigitsOf,
                         ::testing::Values(TwoDigitsRow{"exact_tie_down", 0.125, 12, -1},
                                           TwoDigitsRow{"exact_tie_up", 0.375, 38, -1},
                                           TwoDigitsRow{"carries_into_a_digit", 99.5, 10, 2},
                                           TwoDigitsRow{"negative", -1.25e-17, 12, -17},
                                           TwoDigitsRow{"smallest", 0x1p-1074, 49, -324}),
                         row_name);

TEST(TwoDigitsOf, AgreesWithToCharsOnRandomDoubles)
{
    const unsigned seed = 2404;
    std::mt19937_64 random(seed);
    for (const int count : {2, 7}) {
        for (int i = 0; i < 20000; ++i) {
            const double x = std::bit_cast<double>(random() & ~(std::uint64_t{1} << 63));
            if (!std::isfinite(x) || x == 0)
                continue;
            char buffer[32];
            const char *end =
                std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, count - 1).ptr;
            const SignificantDigits some = significant_digits(x, count);
            const std::string digits = integer_text(some.digits);
            const std::string mine = digits.substr(0, 1) + "." + digits.substr(1) + "e" +
                                     (some.exponent < 0 ? "-" : "+") + (std::abs(some.exponent) < 10 ? "0" : "") +
                                     integer_text(std::abs(some.exponent));
            ASSERT_EQ(mine, std::string(static_cast<const char *>(buffer), end)) << " (seed " << seed << ")";
        }
    }
}

struct IntegerRow : NamedRow {
    const char *n;
    bool prime;
    bool square;
};

class IntegerTests : public ::testing::TestWithParam<IntegerRow> {};

TEST_P(IntegerTests, PrimeAndSquare)
{
    const Integer n = integer_from_digits(GetParam().n);
    EXPECT_EQ(is_probable_prime(n, 30), GetParam().prime);
    EXPECT_EQ(is_perfect_square(n), GetParam().square);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, IntegerTests,
    ::testing::Values(IntegerRow{"mersenne_127", "170141183460469231731687303715884105727", true, false},
                      // passes Miller–Rabin for every prime base up to 41
                      IntegerRow{"strong_pseudoprime_to_twelve_bases", "3317044064679887385961981", false, false},
                      IntegerRow{"square_of_a_prime", "28948022309329048855892746252171976962977213799489202546401021394546514198529", false, true},
                      IntegerRow{"leading_zeros_are_decimal", "0049", false, true}),
    row_name);

TEST(Integers, RemoveFactorCountsEveryFactor)
{
    Integer n = power_of_ten(200'000) * 7;
    EXPECT_EQ(remove_factor(n, 10), 200'000u);
    EXPECT_EQ(n, 7);
    Integer m = Integer(3) << 1000;
    EXPECT_EQ(remove_factor(m, 2), 1000u);
    EXPECT_EQ(m, 3);
}

TEST(Integers, DivisionAndConversionRoundLikeGmp)
{
    EXPECT_EQ(floor_divide(-7, 2), -4);
    EXPECT_EQ(floor_divide(7, -2), -4);
    EXPECT_EQ(floor_divide(-6, 2), -3);
    EXPECT_EQ(to_double((Integer(1) << 53) + 1), 0x1p53);    // cut off, not rounded
    EXPECT_EQ(to_double(-((Integer(1) << 54) - 1)), -0x1.fffffffffffffp53);
    EXPECT_EQ(bit_size(Integer(0)), 0u);
    EXPECT_EQ(magnitude_64(-((Integer(1) << 64) - 1)), UINT64_MAX);
    EXPECT_EQ(decimal_string(ratio(6, -4)), "-3/2");
    EXPECT_EQ(exact_rational(0.1), ratio(3602879701896397, Integer(1) << 55));
}

} // namespace
} // namespace parvolin
