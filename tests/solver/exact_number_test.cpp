#include "solver/exact_number.h"
#include "solver/exact_solution.h"
#include "solver/number_text.h"
#include "solver/math_text.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace parvolin {
namespace {

struct ExactTextRow : NamedRow {
    const char *text;
    const char *value; // p/q
};

class ExactTexts : public ::testing::TestWithParam<ExactTextRow> {};

TEST_P(ExactTexts, AreTheDecimalsAsTyped)
{
    EXPECT_EQ(decimal_string(parse_exact(GetParam().text, ',')), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Coefficients, ExactTexts,
    ::testing::Values(ExactTextRow{"hundredths", "0,09", "9/100"}, ExactTextRow{"exponent", "1E-3", "1/1000"},
                      ExactTextRow{"blanks_sign_trailing_zero", "  -2,50 ", "-5/2"},
                      ExactTextRow{"no_integer_part", "+,5", "1/2"}, ExactTextRow{"no_fraction_part", "5,", "5"},
                      ExactTextRow{"separator_alone_is_zero", ",", "0"},
                      ExactTextRow{"lower_case_exponent_with_sign", "2,5e+2", "250"},
                      ExactTextRow{"exponent_without_digits", "1E", "1"},
                      ExactTextRow{"exponent_and_fraction", "12,5E-1", "5/4"}),
    row_name);

TEST(ExactTexts, RefusedLikeTheReportRefusesThem)
{
    for (const char *text : {"", "-", "+E1", "1,2,3", "1 2", "--1", "1.5", "1E5000", "0x10"})
        EXPECT_THROW(parse_exact(text, ','), ConvertError) << text;
}

TEST(ExactTexts, HugeTextsStayBounded)
{
    // The exponent stops below 5000; the digits stop at max_exact_digits.
    EXPECT_EQ(decimal_string(numerator(parse_exact("1E4999", ','))).size(), 5000u);
    EXPECT_EQ(decimal_string(denominator(parse_exact("1E-4999", ','))).size(), 5000u);
    EXPECT_EQ(decimal_string(numerator(parse_exact(std::string(100'000, '9'), ','))).size(), 100'000u);
    EXPECT_THROW(parse_exact("0," + std::string(max_exact_digits, '1'), ','), TooManyDigitsError);
}

struct SquareRow : NamedRow {
    const char *n, *k, *m;
};

class SquareParts : public ::testing::TestWithParam<SquareRow> {};

TEST_P(SquareParts, LeaveASquareFreeRest)
{
    Integer k, m;
    split_square(Integer(GetParam().n), k, m);
    EXPECT_EQ(decimal_string(k), GetParam().k);
    EXPECT_EQ(decimal_string(m), GetParam().m);
}

INSTANTIATE_TEST_SUITE_P(
    Integers, SquareParts,
    ::testing::Values(SquareRow{"one", "1", "1", "1"}, SquareRow{"forty_eight", "48", "4", "3"},
                      SquareRow{"seventy_two", "72", "6", "2"}, SquareRow{"prime", "1000003", "1", "1000003"},
                      // a square of a prime beyond the trial divisors, caught as a perfect square
                      SquareRow{"large_prime_squared", "7000042000063", "1000003", "7"},
                      SquareRow{"beyond_64_bits", "3541774862152233910272", "34359738368", "3"},
                      // above 2^32, a factor above 1000: found where a long has 32 bits too
                      SquareRow{"above_32_bits_factor_above_1000", "4358001117", "1019", "4197"},
                      // squares of primes past any trial division, up to 2⁶⁴
                      SquareRow{"square_beyond_65536", "281496452005891", "65537", "65539"},
                      SquareRow{"square_of_a_21_bit_prime", "18446572550348603149", "2097143", "4194301"},
                      SquareRow{"square_of_a_31_bit_prime", "13835058042397261827", "2147483647", "3"},
                      SquareRow{"two_large_primes", "9223372021822390277", "1", "9223372021822390277"},
                      SquareRow{"largest_64_bit_prime", "18446744073709551557", "1", "18446744073709551557"},
                      // beyond 64 bits the bounded search still finds a small square
                      SquareRow{"square_by_a_mersenne_prime", "9903822548043788861405265919", "65537",
                                "2305843009213693951"},
                      SquareRow{"square_of_a_20_bit_prime_beyond", "1208918901999840174013681", "1048573",
                                "1099511627689"},
                      // the edges of the machine-word trial division
                      SquareRow{"zero", "0", "0", "1"}, SquareRow{"negative", "-48", "4", "3"},
                      SquareRow{"two_to_the_63", "9223372036854775808", "2147483648", "2"},
                      SquareRow{"minus_two_to_the_63", "-9223372036854775808", "2147483648", "2"},
                      SquareRow{"two_to_the_64_minus_one", "18446744073709551615", "1", "18446744073709551615"},
                      SquareRow{"two_to_the_64", "18446744073709551616", "4294967296", "1"},
                      SquareRow{"prime_squared_below_the_bound", "994009", "997", "1"},
                      SquareRow{"prime_times_square_of_two", "3988", "2", "997"}),
    row_name);

struct RoundRow : NamedRow {
    Surd value;
    int places;
    const char *text; // decimal comma, untrimmed
    bool exact;
};

class Rounding : public ::testing::TestWithParam<RoundRow> {};

TEST_P(Rounding, GoesHalfAwayFromZero)
{
    const auto &row = GetParam();
    const RoundedValue rounded = round_to_places(row.value, row.places);
    EXPECT_EQ(decimal_text(rounded.scaled, row.places, ',', false), row.text);
    EXPECT_EQ(rounded.exact, row.exact);
}

Surd surd(long u, long v, long m, long w) { return {u, v, m, w}; }

INSTANTIATE_TEST_SUITE_P(
    Values, Rounding,
    ::testing::Values(RoundRow{"golden_lower", surd(3, -1, 5, 2), 3, "0,382", false},
                      RoundRow{"golden_upper", surd(3, 1, 5, 2), 6, "2,618034", false},
                      RoundRow{"negative_surd", surd(-1, -1, 3, 1), 2, "−2,73", false},
                      RoundRow{"surd_just_below_zero", surd(-100, 1, 9999, 1), 2, "−0,01", false},
                      RoundRow{"half_goes_up", surd(1, 0, 1, 8), 2, "0,13", false},
                      RoundRow{"negative_half_goes_down", surd(-1, 0, 1, 8), 2, "−0,13", false},
                      RoundRow{"exact_in_places", surd(1, 0, 1, 2), 2, "0,50", true},
                      RoundRow{"tiny_negative_shows_no_sign", surd(-1, 0, 1, 1000), 2, "0,00", false}),
    row_name);

// Small numbers are rounded in machine words; the same value with every part
// multiplied by 2^64 goes through big numbers. Both must agree, at the edges
// of the small path too (parts of 40 and 41 bits, 18 and 19 places).
struct SameRoundingRow : NamedRow {
    const char *u, *v, *m, *w;
    int places;
};

class SameRounding : public ::testing::TestWithParam<SameRoundingRow> {};

TEST_P(SameRounding, InMachineWordsAsInBigNumbers)
{
    const auto &row = GetParam();
    const Surd small{Integer(row.u), Integer(row.v), Integer(row.m), Integer(row.w)};
    const Integer big_factor = Integer(1) << 64;
    const Surd big{small.u * big_factor, small.v * big_factor, small.m, small.w * big_factor};
    const RoundedValue fast = round_to_places(small, row.places);
    const RoundedValue slow = round_to_places(big, row.places);
    EXPECT_EQ(decimal_string(fast.scaled), decimal_string(slow.scaled));
    if (small.is_rational()) {
        EXPECT_EQ(fast.exact, slow.exact);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, SameRounding,
    ::testing::Values(SameRoundingRow{"zero", "0", "0", "1", "1", 2},
                      SameRoundingRow{"half_at_18_places", "1", "0", "1", "2", 18},
                      SameRoundingRow{"thirds_at_19_places", "-2", "0", "1", "3", 19},
                      SameRoundingRow{"parts_of_40_bits", "1099511627775", "0", "1", "1099511627773", 18},
                      SameRoundingRow{"parts_of_41_bits", "-1099511627777", "0", "1", "1099511627775", 18},
                      SameRoundingRow{"half_below_zero", "-1", "0", "1", "8", 2},
                      SameRoundingRow{"golden_at_0_places", "3", "-1", "5", "2", 0},
                      SameRoundingRow{"root_below_zero", "-100", "1", "9999", "1", 2},
                      SameRoundingRow{"negative_root_part", "1", "-7", "2", "3", 6},
                      // 2 + 2·bits(v) + bits(m) + 7·places: beyond 105 bits the big numbers take over
                      SameRoundingRow{"large_root_parts", "-1099511627775", "1099511627775", "1099511627773",
                                      "1099511627775", 0},
                      SameRoundingRow{"large_root_parts_with_places", "5", "1048575", "1099511627773", "7", 4},
                      SameRoundingRow{"many_places_small_root", "1", "1", "2", "1", 14},
                      SameRoundingRow{"too_many_places_for_the_root", "1", "1", "2", "1", 15}),
    row_name);

// The rounded ends of a set as the report writes them: divided as doubles
// while both numbers are exact doubles, by big numbers beyond.
TEST(RoundedShape, WritesTheNearestDoubleOfEachEnd)
{
    const char *scaled_values[] = {"9007199254740991", "9007199254740992", "9007199254740993", "-9007199254740991",
                                   "0", "1", "-7", "123456789",
                                   // 54 bits, and at 23 places 10^23 is no double: big numbers
                                   "13804984579974445", "6854008534861994"};
    for (const char *text : scaled_values) {
        for (const int places : {0, 2, 15, 22, 23}) {
            const Rational value = ratio(Integer(text), power_of_ten(static_cast<std::uint32_t>(places)));
            ExactSet set;
            set.kind = SetKind::Points;
            set.points.push_back(make_surd(value));
            EXPECT_EQ(rounded_shape(set, places), "points " + format_number(nearest_double(value), '.'))
                << text << " at " << places;
        }
    }
}

TEST(Surds, AreReducedAndReadBySympy)
{
    // (-4 ± √48) / 4 = -1 ± √3
    const Surd root = make_surd(Rational(-1), Rational(1, 4), Rational(48));
    EXPECT_EQ(sympy_text(root), "-1 + sqrt(3)");
    EXPECT_EQ(sympy_text(make_surd(Rational(3, 2), Rational(-1, 2), Rational(5))), "(3 - sqrt(5))/2");
    EXPECT_EQ(sympy_text(make_surd(Rational(0), Rational(-1), Rational(8))), "-2*sqrt(2)");
    EXPECT_EQ(sympy_text(make_surd(Rational(0), Rational(1), Rational(1, 2))), "sqrt(2)/2");
    // a rational square root leaves a rational number
    EXPECT_EQ(sympy_text(make_surd(Rational(1, 3), Rational(1), Rational(4, 9))), "1");
    EXPECT_EQ(sympy_text(Rational(-1, 3)), "-1/3");
}

struct NumberRow : NamedRow {
    Rational value;
    NumberStyle style;
    Wrap wrap;
    const char *text;
};

class Numbers : public ::testing::TestWithParam<NumberRow> {};

TEST_P(Numbers, AreWrittenAsATeacherWritesThem)
{
    Math math;
    put_number(math, GetParam().value, {',', GetParam().style}, GetParam().wrap);
    EXPECT_EQ(plain_text(math), GetParam().text);
}

constexpr auto Fr = NumberStyle::Fractions;
constexpr auto De = NumberStyle::Decimals;

INSTANTIATE_TEST_SUITE_P(
    Values, Numbers,
    ::testing::Values(NumberRow{"fraction", Rational(-1, 2), Fr, Wrap::None, "−1/2"},
                      NumberRow{"decimal", Rational(-1, 2), De, Wrap::None, "−0,5"},
                      NumberRow{"third_stays_a_fraction", Rational(1, 3), De, Wrap::None, "1/3"},
                      NumberRow{"negative_factor", Rational(-3), Fr, Wrap::Factor, "(−3)"},
                      NumberRow{"fraction_under_a_power", Rational(1, 2), Fr, Wrap::Base, "(1/2)"},
                      NumberRow{"power_of_ten", Rational(1, 1'000'000'000'000), De, Wrap::Factor, "10⁻¹²"},
                      NumberRow{"scaled_power_of_ten", Rational(3, 2'000'000'000'000), De, Wrap::Factor,
                                "(1,5 · 10⁻¹²)"},
                      NumberRow{"large_round_number", Rational(500'000'000'000), Fr, Wrap::None, "5 · 10¹¹"},
                      NumberRow{"short_zeros_stay", Rational(100'000'000), Fr, Wrap::None, "100000000"},
                      NumberRow{"power_of_ten_under_a_power", Rational(1'000'000'000'000'000), Fr, Wrap::Base,
                                "(10¹⁵)"},
                      NumberRow{"small_power_of_ten_under_a_power", Rational(1, 10'000'000'000), De, Wrap::Base,
                                "(10⁻¹⁰)"}),
    row_name);

TEST(MathText, RendersStructureAsPlainText)
{
    Math math;
    math.text("x").mark(MathMark::IndexBegin).text("1,2").mark(MathMark::IndexEnd).text(" = ");
    math.mark(MathMark::FractionBegin).text("−b ± ").mark(MathMark::RootBegin).text("D").mark(MathMark::RootEnd);
    math.mark(MathMark::FractionBar).text("2a").mark(MathMark::FractionEnd).text(", ");
    math.mark(MathMark::RootBegin).text("33/4").mark(MathMark::RootEnd).text(", ");
    math.text("y").mark(MathMark::PowerBegin).text("n").mark(MathMark::PowerEnd).text(", −");
    math.symbol("oo");
    EXPECT_EQ(plain_text(math), "x₁,₂ = (−b ± √(D))/(2a), √(33/4), y^(n), −∞");
}

TEST(MathText, PadsTableColumns)
{
    Step step{StepKind::Table, "T:", {}, {{Math().text("x ∈"), Math().text("a")}, {Math().text("(1 ; 2)"), Math().text("+")}}};
    std::vector<std::string> lines;
    append_plain_lines(lines, step);
    EXPECT_EQ(lines, (std::vector<std::string>{"T:", "x ∈     | a", "(1 ; 2) | +"}));
}

} // namespace
} // namespace parvolin
