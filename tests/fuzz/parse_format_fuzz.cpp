// Coefficient texts: any bytes through parse_coefficient, and every number it
// returns through format_number and back.
//
// Input: the first byte picks the decimal separator (itself when it is '.' or
// ',', otherwise ',' for an odd byte); the rest is the text as typed.

#include "solver/failures.h"
#include "solver/fp_env.h"
#include "solver/number_text.h"
#include "tests/fuzz/fuzz_support.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

namespace {

using parvolin::fuzz::fail;
using parvolin::fuzz::require;

enum class Outcome { Number, NotANumber, Overflow };

struct Parsed {
    Outcome outcome = Outcome::NotANumber;
    double value = 0.0;
};

// A text either is a finite number, or is refused with one of the two
// failures the window knows how to show.
Parsed parse(std::string_view text, char separator)
{
    try {
        const double value = parvolin::parse_coefficient(text, separator);
        require(std::isfinite(value), "parse_coefficient returns a finite number", text);
        return {Outcome::Number, value};
    } catch (const parvolin::OverflowError &) {
        return {Outcome::Overflow, 0.0};
    } catch (const parvolin::ConvertError &) {
        return {Outcome::NotANumber, 0.0};
    } catch (const std::exception &other) {
        fail("parse_coefficient throws only ConvertError or OverflowError", other.what());
    }
}

// How many places a text parse_coefficient accepted shifts its digits to
// the right: the digits after the separator less the exponent.
long long places_to_the_right(std::string_view text, char separator)
{
    long long places = 0;
    std::size_t at = text.find(separator);
    if (at != std::string_view::npos) {
        for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
            ++places;
    }
    at = text.find_first_of("Ee");
    if (at == std::string_view::npos)
        return places;
    ++at;
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        ++at;
    long long exponent = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        exponent = exponent * 10 + (text[at] - '0'); // below 5000 in an accepted text
    return negative ? places + exponent : places - exponent;
}

// A text parse_coefficient accepted is one the C library reads too, once its
// separator is a dot (this process keeps the "C" locale). The two may differ
// in the last bits, since ours rounds after every extended step, but never by
// more than a rounding error: a wrong power, sign or digit is far beyond it.
// One difference is by design: from 5120 places to the right on, the scaling
// gives 0 whatever the digits (scale_by_power_of_ten), though the digits
// themselves may reach 1E4932 and the C library still see a double.
void compare_with_c_library(std::string_view text, char separator, const Parsed &parsed)
{
    if (parsed.outcome == Outcome::NotANumber)
        return;
    std::string c_text(text);
    for (char &c : c_text) {
        if (c == separator)
            c = '.';
    }
    const double reference = std::strtod(c_text.c_str(), nullptr);
    const double near_limit = DBL_MAX * (1.0 - 1e-12);
    if (parsed.outcome == Outcome::Overflow) {
        require(std::fabs(reference) >= near_limit, "an overflow is a text beyond the double range", text);
        return;
    }
    if (std::isinf(reference)) {
        require(std::fabs(parsed.value) >= near_limit, "a text beyond the double range overflows", text);
        return;
    }
    if (places_to_the_right(text, separator) >= 5120) {
        require(parsed.value == 0.0, "5120 places to the right and more read as 0", text);
        return;
    }
    const double difference = std::fabs(parsed.value - reference);
    const double allowed = 1e-12 * std::fmax(std::fabs(parsed.value), std::fabs(reference)) + 1e-322;
    if (!(difference <= allowed)) {
        char detail[160];
        std::snprintf(detail, sizeof detail, "ours %.17g, C library's %.17g", parsed.value, reference);
        fail("parse_coefficient agrees with strtod within rounding", detail + (" for " + c_text));
    }
}

// Significant digits the shortest text that reads back as `value` needs, up
// to 17.
int shortest_digits(double value)
{
    for (int digits = 1; digits < 17; ++digits) {
        char text[40];
        std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
        if (std::strtod(text, nullptr) == value)
            return digits;
    }
    return 17;
}

// What the header promises of every written number: no "-0", no '+', no
// trailing zero after the separator, at most 15 significant digits.
void check_written_form(const std::string &text, char separator)
{
    require(text != "-0", "format_number never writes -0", text);
    require(text.find('+') == std::string::npos, "format_number never writes '+'", text);
    const std::string mantissa = text.substr(0, text.find('E'));
    if (mantissa.find(separator) != std::string::npos)
        require(mantissa.back() != '0' && mantissa.back() != separator,
                "format_number writes no trailing zero after the separator", text);
    int significant = 0;
    bool leading = true;
    for (const char c : mantissa) {
        if (c < '0' || c > '9')
            continue;
        leading = leading && c == '0';
        if (!leading)
            ++significant;
    }
    require(significant <= 15, "format_number writes at most 15 significant digits", text);
}

// The written text reads back: one round reaches a fixed point, and a value
// that 15 digits tell apart from its neighbours comes back. Exactly when the
// text is a whole number below 2^64: the extended format then holds the
// digits, the power of ten and their product exactly, and the rounding to
// double is the only one. Otherwise the scaling rounds in the extended format
// first (by design: the arithmetic is the x87's), and that second rounding
// may leave the value one unit in the last place off: "1E126" reads as
// 1.0000000000000001E126, "3.41042135502501E21" as 3.4104213550250097E21.
void check_round_trip(double value, char separator)
{
    const std::string text = parvolin::format_number(value, separator);
    check_written_form(text, separator);
    const Parsed again = parse(text, separator);
    if (again.outcome == Outcome::Overflow) {
        // The largest doubles round up past DBL_MAX at 15 digits.
        const std::string limit = std::string("1") + separator + "79769313486232E308";
        require(text == limit || text == "-" + limit, "only a number rounded past DBL_MAX overflows", text);
        return;
    }
    require(again.outcome == Outcome::Number, "parse_coefficient reads what format_number wrote", text);
    require(parvolin::format_number(again.value, separator) == text,
            "format_number of the read-back number writes the same text", text);
    if (shortest_digits(value) > 15 || again.value == value)
        return;
    const bool exact_scaling = places_to_the_right(text, separator) <= 0 && std::fabs(value) < 0x1p64;
    const bool neighbour =
        again.value == std::nextafter(value, HUGE_VAL) || again.value == std::nextafter(value, -HUGE_VAL);
    if (exact_scaling || !neighbour) {
        char detail[160];
        std::snprintf(detail, sizeof detail, " from %.17g back as %.17g", value, again.value);
        fail("a number of at most 15 digits reads back (exactly when a whole number below 2^64, "
             "else within one unit in the last place)",
             text + detail);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    parvolin::fp::establish_environment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char first = static_cast<char>(data[0]);
    const char separator = first == '.' || first == ',' ? first : ((first & 1) != 0 ? ',' : '.');
    const std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);

    const Parsed parsed = parse(text, separator);
    compare_with_c_library(text, separator, parsed);
    if (parsed.outcome == Outcome::Number) {
        check_round_trip(parsed.value, '.');
        check_round_trip(parsed.value, ',');
    }
    return 0;
}
