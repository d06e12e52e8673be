#include "solver/big_number.h"

#include <cmath>
#include <vector>

namespace parvolin {

bool is_perfect_square(const Integer &n)
{
    if (n < 0)
        return false;
    // Squares end in 0, 1, 4 or 9 in base 16: three in four others go at once.
    const unsigned low = static_cast<unsigned>(static_cast<std::uint64_t>(n & 15));
    if (low != 0 && low != 1 && low != 4 && low != 9)
        return false;
    const Integer root = isqrt(n);
    return root * root == n;
}

std::size_t bit_size(const Integer &n)
{
    return n == 0 ? 0 : static_cast<std::size_t>(boost::multiprecision::msb(abs(n))) + 1;
}

std::uint64_t magnitude_64(const Integer &n) { return static_cast<std::uint64_t>(abs(n)); }

Integer floor_divide(const Integer &x, const Integer &y)
{
    Integer quotient, remainder;
    boost::multiprecision::divide_qr(x, y, quotient, remainder);
    if (remainder != 0 && (remainder < 0) != (y < 0))
        --quotient;
    return quotient;
}

std::uint64_t remove_factor(Integer &n, std::uint32_t factor)
{
    if (n == 0)
        return 0;
    // factor, factor², factor⁴, ... while each still divides what is left.
    std::vector<Integer> powers{Integer(factor)};
    std::uint64_t count = 0;
    Integer quotient, remainder;
    for (;;) {
        boost::multiprecision::divide_qr(n, powers.back(), quotient, remainder);
        if (remainder != 0)
            break;
        n.swap(quotient);
        count += std::uint64_t{1} << (powers.size() - 1);
        if (bit_size(powers.back()) * 2 > bit_size(n) + 1)
            break;
        powers.push_back(powers.back() * powers.back());
    }
    // What is left holds fewer factors than the last power: one pass down.
    for (std::size_t i = powers.size(); i-- > 0;) {
        boost::multiprecision::divide_qr(n, powers[i], quotient, remainder);
        if (remainder != 0)
            continue;
        n.swap(quotient);
        count += std::uint64_t{1} << i;
    }
    return count;
}

bool is_probable_prime(const Integer &n, unsigned rounds)
{
    if (n < 2)
        return false;
    constexpr unsigned small_primes[] = {2,  3,  5,  7,  11, 13, 17, 19, 23,  29,  31,  37,  41,  43,  47,  53,
                                         59, 61, 67, 71, 73, 79, 83, 89, 97, 101, 103, 107, 109, 113, 127, 131};
    for (const unsigned p : small_primes) {
        if (n % p == 0)
            return n == p;
    }
    const Integer n_minus_1 = n - 1;
    const unsigned s = boost::multiprecision::lsb(n_minus_1);
    const Integer d = n_minus_1 >> s;
    // Bases 2, 3, 5, ...; beyond the table, 137, 139, ... as plain numbers.
    for (unsigned round = 0; round < rounds; ++round) {
        const Integer a = round < std::size(small_primes) ? Integer(small_primes[round]) : Integer(137 + 2 * round);
        Integer x = boost::multiprecision::powm(a, d, n);
        if (x == 1 || x == n_minus_1)
            continue;
        bool composite = true;
        for (unsigned r = 1; r < s && composite; ++r) {
            x = x * x % n;
            composite = x != n_minus_1;
        }
        if (composite)
            return false;
    }
    return true;
}

double to_double(const Integer &n)
{
    const std::size_t bits = bit_size(n);
    if (bits <= 53)
        return static_cast<double>(static_cast<std::int64_t>(n));
    // The leading 53 bits, the rest cut off.
    const std::size_t dropped = bits - 53;
    const auto leading = static_cast<std::int64_t>(magnitude_64(abs(n) >> dropped));
    const double magnitude = dropped > 2000 ? HUGE_VAL : std::ldexp(static_cast<double>(leading), static_cast<int>(dropped));
    return n < 0 ? -magnitude : magnitude;
}

Rational exact_rational(double value)
{
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent); // value = fraction · 2^exponent, |fraction| in [½, 1)
    const auto significand = static_cast<std::int64_t>(std::ldexp(fraction, 53));
    exponent -= 53;
    const Integer whole(significand);
    if (exponent >= 0)
        return Rational(whole << exponent);
    return ratio(whole, Integer(1) << -exponent);
}

double nearest_double(const Rational &q)
{
    if (q == 0)
        return 0.0;
    const Integer top = abs(numerator(q));
    const Integer &bottom = denominator(q);
    // top / bottom = m · 2^e with 2^53 <= m < 2^54 (one bit beyond the
    // significand), the rest of the division deciding ties.
    auto e = static_cast<long>(bit_size(top)) - static_cast<long>(bit_size(bottom)) - 53;
    const auto scaled = [&](long shift, Integer &quotient, Integer &remainder) {
        if (shift >= 0)
            boost::multiprecision::divide_qr(top, Integer(bottom << shift), quotient, remainder);
        else
            boost::multiprecision::divide_qr(Integer(top << -shift), bottom, quotient, remainder);
    };
    Integer m, rest;
    scaled(e, m, rest);
    if (bit_size(m) < 54) {
        --e;
        scaled(e, m, rest);
    }
    // Below the normal range the significand has fewer bits: 2^-1074 is the
    // smallest step.
    const long lowest = -1074 - 1;
    if (e < lowest) {
        scaled(lowest, m, rest);
        e = lowest;
    }
    const bool odd_half = static_cast<std::uint64_t>(m & 1) != 0;
    std::uint64_t significand = static_cast<std::uint64_t>(m >> 1);
    const bool above_half = odd_half && rest != 0;
    if (above_half || (odd_half && (significand & 1) != 0))
        ++significand;
    const double magnitude =
        e + 1 > 971 ? HUGE_VAL : std::ldexp(static_cast<double>(significand), static_cast<int>(e + 1));
    return q < 0 ? -magnitude : magnitude;
}

TwoDigits two_significant_digits(double x)
{
    const Rational v = abs(exact_rational(x));
    // A first guess from the binary exponent, then corrected by one.
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(x))));
    const auto scaled = [&](int e) { // v · 10^(1 − e)
        const int shift = 1 - e;
        return shift >= 0 ? Rational(v * power_of_ten(static_cast<std::uint32_t>(shift)))
                          : Rational(v / power_of_ten(static_cast<std::uint32_t>(-shift)));
    };
    Rational s = scaled(exponent);
    while (s >= 100)
        s = scaled(++exponent);
    while (s < 10)
        s = scaled(--exponent);
    Integer whole, rest;
    boost::multiprecision::divide_qr(numerator(s), denominator(s), whole, rest);
    const int twice = (2 * rest).compare(denominator(s));
    if (twice > 0 || (twice == 0 && static_cast<int>(whole % 2) == 1))
        ++whole;
    TwoDigits result{static_cast<int>(whole), exponent};
    if (result.digits == 100)
        result = {10, exponent + 1};
    return result;
}

Integer integer_from_digits(std::string_view digits)
{
    while (!digits.empty() && digits.front() == '0')
        digits.remove_prefix(1);
    // Boost reads a leading 0 as octal: there is none left to read.
    return digits.empty() ? Integer(0) : Integer(std::string(digits));
}

std::string decimal_string(const Rational &q)
{
    std::string text = numerator(q).str();
    const Integer den = denominator(q);
    if (den != 1) {
        text += '/';
        text += den.str();
    }
    return text;
}

} // namespace parvolin
