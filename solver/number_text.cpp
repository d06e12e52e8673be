#include "solver/number_text.h"

#include "solver/extended.h"
#include "solver/failures.h"
#include "solver/fp_env.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace parvolin {

namespace {

#include "solver/powers_of_ten.inc"

bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }

// floor(a / b) for b > 0, also for negative a.
int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

} // namespace

Extended scale_by_power_of_ten(Extended x, int n)
{
    if (n == 0)
        return x;
    const long long m = n < 0 ? -static_cast<long long>(n) : n;
    if (m >= 5120)
        return n > 0 ? ext::infinity : Extended(0);

    const auto apply = [&](Extended factor) { x = n > 0 ? x * factor : x / factor; };
    apply(kPowersOfTen[m % 32]);
    if (m >= 32 && (m / 32) % 16 != 0)
        apply(kPowersOfTen32[(m / 32) % 16]);
    if (m >= 512)
        apply(kPowersOfTen512[m / 512]);
    return x;
}

CoefficientText scan_coefficient(std::string_view text, char decimal_separator)
{
    const std::size_t size = text.size();
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < size && is_digit(text[i]))
            ++i;
        return text.substr(start, i - start);
    };
    while (i < size && text[i] == ' ')
        ++i;

    CoefficientText scanned;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        scanned.negative = text[i] == '-';
        ++i;
    }
    scanned.whole = digits();
    bool separator = false;
    if (i < size && text[i] == decimal_separator) {
        separator = true;
        ++i;
        scanned.fraction = digits();
    }
    if (scanned.whole.empty() && !separator)
        throw ConvertError(text);

    if (i < size && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negative_exponent = false;
        if (i < size && (text[i] == '+' || text[i] == '-')) {
            negative_exponent = text[i] == '-';
            ++i;
        }
        while (i < size && is_digit(text[i]) && scanned.exponent < 500) {
            scanned.exponent = scanned.exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (negative_exponent)
            scanned.exponent = -scanned.exponent;
    }

    while (i < size && text[i] == ' ')
        ++i;
    if (i != size)
        throw ConvertError(text);
    return scanned;
}

double parse_coefficient(std::string_view text, char decimal_separator)
{
    const CoefficientText scanned = scan_coefficient(text, decimal_separator);

    // Every digit, before and after the separator, goes into one extended
    // accumulator; the separator only shifts the decimal power.
    // A digit that would carry the accumulator past the extended range
    // (some 4,932 digits) and every digit after it only shift the power:
    // beyond 64 bits they would be rounded away all the same.
    fp::clear();
    Extended mantissa = Extended(0);
    long long dropped = 0;
    for (const std::string_view part : {scanned.whole, scanned.fraction}) {
        for (const char digit : part) {
            if (dropped == 0) {
                const Extended next = mantissa * Extended(10) + (digit - '0');
                if (!ext::isinf(next)) {
                    mantissa = next;
                    continue;
                }
                fp::clear(); // the overflow of the discarded step
            }
            ++dropped;
        }
    }

    long long power = scanned.exponent - static_cast<long long>(scanned.fraction.size()) + dropped;
    if (power < -5120)
        power = -5120;
    Extended value = scale_by_power_of_ten(mantissa, static_cast<int>(power));
    fp::materialize(value);
    // Beyond the extended range (about 1.19E4932) the text is not a number.
    if (fp::test_flags(fp::overflow | fp::invalid) != 0) {
        fp::clear();
        throw ConvertError(text);
    }
    if (scanned.negative)
        value = -value;
    // Beyond the double range it is a number, but too large: an overflow.
    return fp::to_double(value);
}

void append_number(std::string &out, double value, char decimal_separator)
{
    if (std::isnan(value)) {
        out += "NAN";
        return;
    }
    if (std::isinf(value)) {
        out += value > 0 ? "INF" : "-INF";
        return;
    }
    if (value == 0.0) { // either sign
        out += '0';
        return;
    }

    // 18 decimal digits of |value| from the extended format: S in
    // [1E17, 1E18) with |value| = 0.S * 10^E. The exponent estimate from the
    // binary exponent (log10(2) ~ 19728 / 65536) is sometimes one too small
    // and, for a few tiny values, one too large.
    const Extended magnitude = ext::fabs(static_cast<Extended>(value));
    int exponent10 = floor_div(ext::ilogb(magnitude) * 19728, 65536) + 1;
    Extended scaled = ext::rint(scale_by_power_of_ten(magnitude, 18 - exponent10));
    if (scaled >= 1e18) {
        scaled = ext::rint(scaled / Extended(10));
        ++exponent10;
    } else if (scaled < 1e17) {
        --exponent10;
        scaled = ext::rint(scale_by_power_of_ten(magnitude, 18 - exponent10));
    }
    const std::uint64_t digits18 = ext::to_uint64(scaled);

    // Round to 15 digits by the 16th alone; a carry out of the first digit
    // gives 1000...0, whose trailing zeros go below, and one more in E.
    std::uint64_t digits15 = digits18 / 1000;
    if ((digits18 / 100) % 10 >= 5) {
        ++digits15;
        if (digits15 == 1'000'000'000'000'000) {
            digits15 = 100'000'000'000'000;
            ++exponent10;
        }
    }
    while (digits15 % 10 == 0)
        digits15 /= 10;

    char digits[16];
    int count = 0;
    for (std::uint64_t rest = digits15; rest != 0; rest /= 10)
        digits[count++] = static_cast<char>('0' + rest % 10);
    // digits[] holds them last first; `digit(k)` is the k-th from the left.
    const auto digit = [&](int k) { return digits[count - 1 - k]; };

    // At most "-", 15 digits, a separator, three zeros and "E-324": 32 is plenty.
    char text[32];
    int length = 0;
    const auto put = [&](char ch) { text[length++] = ch; };
    if (value < 0)
        put('-');
    if (exponent10 > 15 || exponent10 < -3) {
        put(digit(0));
        if (count > 1) {
            put(decimal_separator);
            for (int k = 1; k < count; ++k)
                put(digit(k));
        }
        put('E');
        int shown = exponent10 - 1;
        if (shown < 0) {
            put('-');
            shown = -shown;
        }
        if (shown >= 100)
            put(static_cast<char>('0' + shown / 100));
        if (shown >= 10)
            put(static_cast<char>('0' + shown / 10 % 10));
        put(static_cast<char>('0' + shown % 10));
    } else if (exponent10 <= 0) {
        put('0');
        put(decimal_separator);
        for (int k = 0; k < -exponent10; ++k)
            put('0');
        for (int k = 0; k < count; ++k)
            put(digit(k));
    } else {
        for (int k = 0; k < exponent10; ++k)
            put(k < count ? digit(k) : '0');
        if (count > exponent10) {
            put(decimal_separator);
            for (int k = exponent10; k < count; ++k)
                put(digit(k));
        }
    }
    out.append(text, static_cast<std::size_t>(length));
}

std::string format_number(double value, char decimal_separator)
{
    std::string text;
    append_number(text, value, decimal_separator);
    return text;
}

} // namespace parvolin
