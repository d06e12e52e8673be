#pragma once

// Whole and rational numbers of any size for the exact working, under one
// name on every platform: GMP's own C++ classes where GMP is at hand
// (PARVOLIN_GMP_NUMBERS=1, the desktop), Boost.Multiprecision's cpp_int where
// it is not (WebAssembly). Both give the same values and the same texts; what
// the two spell differently, or round differently, is written here once.

#if !defined(PARVOLIN_GMP_NUMBERS)
#define PARVOLIN_GMP_NUMBERS 1
#endif

#if PARVOLIN_GMP_NUMBERS
#include <gmpxx.h>
#else
#include <boost/multiprecision/cpp_int.hpp>
#endif

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace parvolin {

#if PARVOLIN_GMP_NUMBERS

using Integer = mpz_class;
using Rational = mpq_class;

inline const Integer &numerator(const Rational &q) { return q.get_num(); }
inline const Integer &denominator(const Rational &q) { return q.get_den(); }
inline int sgn(const Integer &x) { return ::sgn(x); }
inline int sgn(const Rational &x) { return ::sgn(x); }
// Negative, zero or positive as x is below, at or above y.
inline int compare(const Rational &x, const Rational &y) { return ::cmp(x, y); }
inline int compare(const Integer &x, const Integer &y) { return ::cmp(x, y); }
inline std::string decimal_string(const Integer &n) { return n.get_str(); }

#else

// Without expression templates: a value is a value, `auto` included.
using Integer = boost::multiprecision::number<boost::multiprecision::cpp_int_backend<>, boost::multiprecision::et_off>;
using Rational =
    boost::multiprecision::number<boost::multiprecision::cpp_rational_backend, boost::multiprecision::et_off>;

using boost::multiprecision::abs;
inline Integer numerator(const Rational &q) { return boost::multiprecision::numerator(q); }
inline Integer denominator(const Rational &q) { return boost::multiprecision::denominator(q); }
inline int sgn(const Integer &x) { return x.sign(); }
inline int sgn(const Rational &x) { return x.sign(); }
inline int compare(const Rational &x, const Rational &y) { return x.compare(y); }
inline int compare(const Integer &x, const Integer &y) { return x.compare(y); }
inline std::string decimal_string(const Integer &n) { return n.str(); }

#endif

// p / q in lowest terms, q != 0.
Rational ratio(const Integer &p, const Integer &q);
// The same on every processor (GMP's word-sized calls are 32 bits on some).
Integer integer_from_64(std::uint64_t value);

// x = q·y + r, the quotient rounded towards zero (the remainder takes x's sign).
void divide_truncating(const Integer &x, const Integer &y, Integer &q, Integer &r);

// ⌊√n⌋ of n >= 0.
Integer isqrt(const Integer &n);
bool is_perfect_square(const Integer &n);

Integer power(const Integer &base, std::uint32_t exponent);
Integer power_of_ten(std::uint32_t exponent);

Integer gcd(const Integer &x, const Integer &y);
Integer lcm(const Integer &x, const Integer &y);

// The number of bits of |n|, 0 for 0.
std::size_t bit_size(const Integer &n);
// |n| when bit_size(n) <= 64.
std::uint64_t magnitude_64(const Integer &n);

// ⌊x / y⌋, rounded towards −∞ whatever the signs.
Integer floor_divide(const Integer &x, const Integer &y);

// Takes every factor `factor` (>= 2) out of n != 0 and returns how many
// there were; by repeated squaring of the factor, so 10^200000 costs a few
// dozen divisions.
std::uint64_t remove_factor(Integer &n, std::uint32_t factor);

// A probable prime: GMP's test with `rounds` rounds, or Miller–Rabin with
// `rounds` bases of a fixed sequence (2, 3, 5, ...): the same answer on
// every run, and for a true prime on both.
bool is_probable_prime(const Integer &n, unsigned rounds);

// Rounded towards zero, like GMP's own conversion.
double to_double(const Integer &n);
// The value of a finite double, exactly.
Rational exact_rational(double value);

// The double nearest to q, ties to even, as a correctly rounding reader of
// its decimal text gives it: ±HUGE_VAL beyond the largest double.
double nearest_double(const Rational &q);

// |x| of a finite x != 0 to `count` significant digits (1 to 19), ties to
// even, as to_chars writes it in scientific form: digits · 10^(exponent −
// count + 1) with digits of exactly `count` figures; 0.000123 to two gives
// 12 and −4.
struct SignificantDigits {
    std::uint64_t digits = 0;
    int exponent = 0;
};
SignificantDigits significant_digits(double x, int count);

// "-12", "-1/3": numerator and denominator in decimal, the denominator
// left out when it is 1.
// The number a string of decimal digits spells, leading zeros and all
// ("007" is 7, "" is 0).
Integer integer_from_digits(std::string_view digits);

std::string decimal_string(const Rational &q);

} // namespace parvolin
