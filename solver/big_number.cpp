#include "solver/big_number.h"

#include <cmath>
#include <vector>

namespace parvolin {

#if PARVOLIN_GMP_NUMBERS

Rational ratio(const Integer &p, const Integer &q)
{
    Rational result(p, q);
    result.canonicalize();
    return result;
}

Integer integer_from_64(std::uint64_t value)
{
    Integer n;
    mpz_import(n.get_mpz_t(), 1, -1, sizeof value, 0, 0, &value);
    return n;
}

void divide_truncating(const Integer &x, const Integer &y, Integer &q, Integer &r)
{
    mpz_tdiv_qr(q.get_mpz_t(), r.get_mpz_t(), x.get_mpz_t(), y.get_mpz_t());
}

Integer isqrt(const Integer &n) { return sqrt(n); }

bool is_perfect_square(const Integer &n) { return mpz_perfect_square_p(n.get_mpz_t()) != 0; }

// The exponents here stay far below 2^32, which GMP's word-sized arguments
// hold on every processor (they are 32 bits wide on some).
Integer power(const Integer &base, std::uint32_t exponent)
{
    Integer result;
    mpz_pow_ui(result.get_mpz_t(), base.get_mpz_t(), exponent);
    return result;
}

Integer power_of_ten(std::uint32_t exponent)
{
    Integer result;
    mpz_ui_pow_ui(result.get_mpz_t(), 10, exponent);
    return result;
}

Integer gcd(const Integer &x, const Integer &y)
{
    Integer result;
    mpz_gcd(result.get_mpz_t(), x.get_mpz_t(), y.get_mpz_t());
    return result;
}

Integer lcm(const Integer &x, const Integer &y)
{
    Integer result;
    mpz_lcm(result.get_mpz_t(), x.get_mpz_t(), y.get_mpz_t());
    return result;
}

std::size_t bit_size(const Integer &n) { return n == 0 ? 0 : mpz_sizeinbase(n.get_mpz_t(), 2); }

std::uint64_t magnitude_64(const Integer &n)
{
#if GMP_LIMB_BITS == 64
    return mpz_size(n.get_mpz_t()) == 0 ? 0 : static_cast<std::uint64_t>(mpz_getlimbn(n.get_mpz_t(), 0));
#endif
    std::uint64_t value = 0;
    mpz_export(&value, nullptr, -1, sizeof value, 0, 0, n.get_mpz_t());
    return value;
}

Integer floor_divide(const Integer &x, const Integer &y)
{
    Integer quotient;
    mpz_fdiv_q(quotient.get_mpz_t(), x.get_mpz_t(), y.get_mpz_t());
    return quotient;
}

std::uint64_t remove_factor(Integer &n, std::uint32_t factor)
{
    if (n == 0)
        return 0;
    const Integer f = factor;
    return mpz_remove(n.get_mpz_t(), n.get_mpz_t(), f.get_mpz_t());
}

bool is_probable_prime(const Integer &n, unsigned rounds)
{
    return mpz_probab_prime_p(n.get_mpz_t(), static_cast<int>(rounds)) != 0;
}

double to_double(const Integer &n) { return n.get_d(); }

#else

namespace mp = boost::multiprecision;

// Boost 1.74's rational refuses a negative denominator of an unbounded type
// (it compares it with the type's largest value, which is 0): the sign moves
// up first.
Rational ratio(const Integer &p, const Integer &q) { return q < 0 ? Rational(-p, -q) : Rational(p, q); }

Integer integer_from_64(std::uint64_t value) { return Integer(value); }

void divide_truncating(const Integer &x, const Integer &y, Integer &q, Integer &r) { mp::divide_qr(x, y, q, r); }

Integer isqrt(const Integer &n) { return mp::sqrt(n); }

Integer power(const Integer &base, std::uint32_t exponent) { return mp::pow(base, exponent); }
Integer power_of_ten(std::uint32_t exponent) { return mp::pow(Integer(10), exponent); }

Integer gcd(const Integer &x, const Integer &y) { return mp::gcd(x, y); }
Integer lcm(const Integer &x, const Integer &y) { return mp::lcm(x, y); }

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
    return n == 0 ? 0 : static_cast<std::size_t>(mp::msb(abs(n))) + 1;
}

std::uint64_t magnitude_64(const Integer &n) { return static_cast<std::uint64_t>(abs(n)); }

Integer floor_divide(const Integer &x, const Integer &y)
{
    Integer quotient, remainder;
    mp::divide_qr(x, y, quotient, remainder);
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
        mp::divide_qr(n, powers.back(), quotient, remainder);
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
        mp::divide_qr(n, powers[i], quotient, remainder);
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
    const unsigned s = mp::lsb(n_minus_1);
    const Integer d = n_minus_1 >> s;
    // Bases 2, 3, 5, ...; beyond the table, 137, 139, ... as plain numbers.
    for (unsigned round = 0; round < rounds; ++round) {
        const Integer a = round < std::size(small_primes) ? Integer(small_primes[round]) : Integer(137 + 2 * round);
        Integer x = mp::powm(a, d, n);
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

#endif

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
            divide_truncating(top, Integer(bottom << shift), quotient, remainder);
        else
            divide_truncating(Integer(top << -shift), bottom, quotient, remainder);
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
    const bool odd_half = (magnitude_64(m) & 1) != 0;
    std::uint64_t significand = magnitude_64(m) >> 1; // m < 2^54
    const bool above_half = odd_half && rest != 0;
    if (above_half || (odd_half && (significand & 1) != 0))
        ++significand;
    const double magnitude =
        e + 1 > 971 ? HUGE_VAL : std::ldexp(static_cast<double>(significand), static_cast<int>(e + 1));
    return q < 0 ? -magnitude : magnitude;
}

SignificantDigits significant_digits(double x, int count)
{
    const Rational v = abs(exact_rational(x));
    // A first guess from log10, then corrected by one.
    int exponent = static_cast<int>(std::floor(std::log10(std::fabs(x))));
    const Integer low = power_of_ten(static_cast<std::uint32_t>(count - 1));
    const Integer high = low * 10;
    const auto scaled = [&](int e) { // v · 10^(count − 1 − e)
        const int shift = count - 1 - e;
        return shift >= 0 ? Rational(v * power_of_ten(static_cast<std::uint32_t>(shift)))
                          : Rational(v / power_of_ten(static_cast<std::uint32_t>(-shift)));
    };
    Rational s = scaled(exponent);
    while (s >= high)
        s = scaled(++exponent);
    while (s < low)
        s = scaled(--exponent);
    Integer whole, rest;
    divide_truncating(numerator(s), denominator(s), whole, rest);
    const int twice = compare(Integer(2 * rest), denominator(s));
    if (twice > 0 || (twice == 0 && (magnitude_64(whole) & 1) != 0))
        ++whole;
    if (whole == high) {
        whole = low;
        ++exponent;
    }
    return {magnitude_64(whole), exponent};
}

Integer integer_from_digits(std::string_view digits)
{
    while (!digits.empty() && digits.front() == '0')
        digits.remove_prefix(1);
    // Boost reads a leading 0 as octal: there is none left to read.
#if PARVOLIN_GMP_NUMBERS
    return digits.empty() ? Integer(0) : Integer(std::string(digits), 10);
#else
    return digits.empty() ? Integer(0) : Integer(std::string(digits));
#endif
}

std::string decimal_string(const Rational &q)
{
    std::string text = decimal_string(numerator(q));
    const Integer &den = denominator(q);
    if (den != 1) {
        text += '/';
        text += decimal_string(den);
    }
    return text;
}

} // namespace parvolin
