#include "solver/failures.h"
#include "solver/number_text.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace parvolin {
namespace {

// Bitwise equality, so +0 and -0 differ.
::testing::AssertionResult SameDouble(double expected, double actual)
{
    if (std::signbit(expected) == std::signbit(actual) && expected == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << std::hexfloat << expected << ", got " << actual;
}

struct FormatRow : NamedRow {
    double value;
    const char *dot;
    const char *comma;
};

class FormatNumber : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatNumber, WritesFifteenSignificantDigits)
{
    const FormatRow &row = GetParam();
    EXPECT_EQ(format_number(row.value, '.'), row.dot);
    EXPECT_EQ(format_number(row.value, ','), row.comma);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatNumber,
    ::testing::Values(
        FormatRow{"half", 0.5, "0.5", "0,5"},
        FormatRow{"negative_integer", -2, "-2", "-2"},
        FormatRow{"hundred", 100, "100", "100"},
        FormatRow{"plain_fraction", 12345.678, "12345.678", "12345,678"},
        FormatRow{"third", 1.0 / 3, "0.333333333333333", "0,333333333333333"},
        FormatRow{"two_thirds_rounds_up", 2.0 / 3, "0.666666666666667", "0,666666666666667"},
        FormatRow{"sum_noise_dropped", 0.1 + 0.2, "0.3", "0,3"},
        FormatRow{"smallest_plain", 0.0001, "0.0001", "0,0001"},
        FormatRow{"plain_with_zeros", 0.0001234, "0.0001234", "0,0001234"},
        FormatRow{"first_scientific", 0.00001, "1E-5", "1E-5"},
        FormatRow{"small_scientific", 0.00001234, "1.234E-5", "1,234E-5"},
        FormatRow{"negative_scientific", -1.5E-7, "-1.5E-7", "-1,5E-7"},
        FormatRow{"fifteen_nines", 999999999999999, "999999999999999", "999999999999999"},
        FormatRow{"carry_into_plain", 99999999999999.98, "100000000000000", "100000000000000"},
        FormatRow{"carry_into_scientific", 999999999999999.9, "1E15", "1E15"},
        FormatRow{"ten_to_15", 1e15, "1E15", "1E15"},
        FormatRow{"sixteen_digits", 1234567890123456, "1.23456789012346E15", "1,23456789012346E15"},
        FormatRow{"eighteen_digits", 123456789012345678.0, "1.23456789012346E17", "1,23456789012346E17"},
        FormatRow{"googol", 1e100, "1E100", "1E100"},
        FormatRow{"largest_double", DBL_MAX, "1.79769313486232E308", "1,79769313486232E308"},
        FormatRow{"smallest_subnormal", 4.9406564584124654e-324, "4.94065645841247E-324", "4,94065645841247E-324"},
        FormatRow{"negative_zero", -0.0, "0", "0"},
        FormatRow{"rounded_root", 1.6179999999999999, "1.618", "1,618"},
        FormatRow{"infinity", HUGE_VAL, "INF", "INF"},
        FormatRow{"negative_infinity", -HUGE_VAL, "-INF", "-INF"},
        FormatRow{"not_a_number", -NAN, "NAN", "NAN"}),
    row_name);

// Around the powers of two where the decimal exponent estimate is one off,
// the text must still stand for the value (read back, it is within the 15
// digits' precision) and have 15 significant digits at most.
TEST(FormatNumberDigits, RightMagnitudeNearEstimateBoundaries)
{
    for (int e2 = -1074; e2 <= 1023; ++e2) {
        const double power = std::ldexp(1.0, e2);
        for (double v : {power, std::nextafter(power, 0.0), std::nextafter(power, HUGE_VAL)}) {
            if (v == 0.0 || std::isinf(v))
                continue;
            const std::string text = format_number(v, '.');
            const double back = std::strtod(text.c_str(), nullptr);
            ASSERT_LE(std::fabs(back - v), std::fabs(v) * 1e-14) << text;
            std::string mantissa = text.substr(0, text.find('E'));
            std::erase(mantissa, '.');
            mantissa.erase(0, mantissa.find_first_not_of('0'));
            ASSERT_LE(mantissa.size(), 15u) << text;
        }
    }
}

struct ParseRow : NamedRow {
    std::string text;
    char separator;
    double expected;
};

class ParseCoefficient : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseCoefficient, Accepts)
{
    const ParseRow &row = GetParam();
    EXPECT_TRUE(SameDouble(row.expected, parse_coefficient(row.text, row.separator)));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCoefficient,
    ::testing::Values(
        ParseRow{"zero", "0", '.', 0.0},
        ParseRow{"blanks_around", "  12 ", '.', 12},
        ParseRow{"minus", "-3", '.', -3},
        ParseRow{"plus", "+4", '.', 4},
        ParseRow{"leading_separator", ".5", '.', 0.5},
        ParseRow{"trailing_separator", "5.", '.', 5},
        ParseRow{"separator_alone", ".", '.', 0},
        ParseRow{"minus_separator_is_negative_zero", "-.", '.', -0.0},
        ParseRow{"minus_zero", "-0", '.', -0.0},
        ParseRow{"exponent", "1e3", '.', 1000},
        ParseRow{"negative_exponent", "1E-3", '.', 0.001},
        ParseRow{"signed_exponent", "2e+2", '.', 200},
        ParseRow{"exponent_without_digits", "5E", '.', 5},
        ParseRow{"exponent_sign_without_digits", "5e-", '.', 5},
        ParseRow{"comma", "1,5", ',', 1.5},
        ParseRow{"largest_power", "1E308", '.', 1e308},
        ParseRow{"underflow_to_zero", "1E-400", '.', 0},
        ParseRow{"subnormal", "5E-324", '.', 4.9406564584124654e-324},
        ParseRow{"tenth", "0.1", '.', 0.1},
        ParseRow{"many_fraction_digits", "0.3333333333333333333333333", '.', 1.0 / 3},
        ParseRow{"negative_power_beyond_scaling", "0." + std::string(6000, '0') + "1", '.', 0}),
    row_name);

std::string repeated(const std::string &text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

struct RefusedRow : NamedRow {
    std::string text;
    char separator;
    std::string quoted = {}; // what the message quotes, when not the whole text
};

class ParseCoefficientRefuses : public ::testing::TestWithParam<RefusedRow> {};

// A long text is quoted by its start, its end and its length in characters.
TEST_P(ParseCoefficientRefuses, WithTheTextInTheMessage)
{
    const RefusedRow &row = GetParam();
    try {
        parse_coefficient(row.text, row.separator);
        FAIL() << "accepted";
    } catch (const ConvertError &error) {
        EXPECT_EQ(error.what(),
                  "'" + (row.quoted.empty() ? row.text : row.quoted) + "' is not a valid floating point value");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCoefficientRefuses,
    ::testing::Values(
        RefusedRow{"comma_with_dot_separator", "1,5", '.'},
        RefusedRow{"dot_with_comma_separator", "1.5", ','},
        RefusedRow{"leading_comma", ",5", '.'},
        RefusedRow{"exponent_only", "e5", '.'},
        RefusedRow{"sign_only", "+", '.'},
        RefusedRow{"blank_after_sign", "- 5", '.'},
        RefusedRow{"blanks_only", "   ", '.'},
        RefusedRow{"one_blank", " ", '.'},
        RefusedRow{"thousands_blank", "1 000", '.'},
        RefusedRow{"trailing_letters", "12abc", '.'},
        RefusedRow{"hexadecimal", "0x10", '.'},
        RefusedRow{"two_separators", "1.2.3", '.'},
        RefusedRow{"tab", "\t1", '.'},
        RefusedRow{"infinity_word", "INF", '.'},
        RefusedRow{"exponent_stops_at_500", "1E5000", '.'},
        RefusedRow{"beyond_extended_range", "1E4999", '.'},
        RefusedRow{"mantissa_beyond_extended_range", std::string(5000, '9'), '.',
                   std::string(24, '9') + "…" + std::string(24, '9') + " (5 000 znaků)"},
        RefusedRow{"longest_quoted_whole", std::string(63, '1') + "x", '.'},
        RefusedRow{"long_letters_cut_between_characters", repeated("ř", 65), '.',
                   repeated("ř", 24) + "…" + repeated("ř", 24) + " (65 znaků)"},
        RefusedRow{"pasted_page", "-0," + std::string(130'000, '3') + "x", ',',
                   "-0," + std::string(21, '3') + "…" + std::string(23, '3') + "x (130 004 znaků)"}),
    row_name);

// Digits past what the extended accumulator holds only shift the power: a
// third with thousands of places is a third.
TEST(ParseCoefficientLongFraction, IsTheNumberItStartsWith)
{
    for (const std::size_t places : {4900u, 4931u, 4932u, 4940u, 10'000u, 130'000u})
        EXPECT_NEAR(parse_coefficient("-0," + std::string(places, '3'), ','), -1.0 / 3, 1e-15) << places;
}

TEST(ParseCoefficientOverflow, BeyondTheDoubleRange)
{
    for (const char *text : {"1E309", "-1E309", "1E500", "1E0500", "2E308"})
        EXPECT_THROW(parse_coefficient(text, '.'), OverflowError) << text;
}

TEST(ParseCoefficientOverflow, LeavesNoFlagBehind)
{
    EXPECT_THROW(parse_coefficient("1E4999", '.'), ConvertError);
    EXPECT_TRUE(SameDouble(2.5, parse_coefficient("2.5", '.')));
}

#if LDBL_MANT_DIG == 64
// The C library's x87 long double as the solver's extended type.
Extended from_long_double(long double x)
{
#if PARVOLIN_SOFT_EXTENDED
    std::uint64_t significand;
    std::uint16_t sign_exponent;
    std::memcpy(&significand, &x, sizeof significand);
    std::memcpy(&sign_exponent, reinterpret_cast<const char *>(&x) + 8, sizeof sign_exponent);
    return SoftExtended::from_bits(sign_exponent, significand);
#else
    return x;
#endif
}

// The factors must be the extended values nearest to the powers of ten;
// the C library's conversion (outside any UI locale) rounds correctly.
TEST(ScaleByPowerOfTen, FactorsAreNearestExtendedValues)
{
    std::vector<int> powers;
    for (int k = 0; k < 32; ++k)
        powers.push_back(k);
    for (int k = 32; k < 512; k += 32)
        powers.push_back(k);
    for (int k = 512; k < 5120; k += 512)
        powers.push_back(k);
    for (int k : powers) {
        const std::string text = "1e" + std::to_string(k);
        EXPECT_TRUE(scale_by_power_of_ten(1, k) == from_long_double(std::strtold(text.c_str(), nullptr))) << text;
    }
}
#endif

TEST(ScaleByPowerOfTen, BeyondRangeGivesInfinityOrZero)
{
    EXPECT_TRUE(ext::isinf(scale_by_power_of_ten(0, 5120)));
    EXPECT_TRUE(scale_by_power_of_ten(1e300, -5120) == 0);
    EXPECT_TRUE(scale_by_power_of_ten(7, 0) == 7);
}

struct DisplayRow : NamedRow {
    std::string message;
    std::string shown;
};

class ErrorDisplayText : public ::testing::TestWithParam<DisplayRow> {};

TEST_P(ErrorDisplayText, AppendsFullStopAfterCharactersAboveDot)
{
    EXPECT_EQ(error_display_text(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ErrorDisplayText,
    ::testing::Values(DisplayRow{"letter", "Floating point overflow", "Floating point overflow."},
                      DisplayRow{"quote", "'1.5' is not a valid floating point value",
                                 "'1.5' is not a valid floating point value."},
                      DisplayRow{"digit", "code 7", "code 7."},
                      DisplayRow{"colon", "file:", "file:."},
                      DisplayRow{"full_stop", "Done.", "Done."},
                      DisplayRow{"comma", "a,", "a,"},
                      DisplayRow{"hyphen", "a-", "a-"},
                      DisplayRow{"bracket", "(a)", "(a)"},
                      DisplayRow{"exclamation", "a!", "a!"},
                      DisplayRow{"apostrophe", "'a'", "'a'"},
                      DisplayRow{"blank", "a ", "a "},
                      DisplayRow{"czech_letter", "chyba č", "chyba č."},
                      DisplayRow{"empty", "", ""}),
    row_name);

} // namespace
} // namespace parvolin
