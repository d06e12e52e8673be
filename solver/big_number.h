#pragma once

// Whole and rational numbers of any size for the exact working, under one
// name on every platform: Boost.Multiprecision over GMP where GMP is at hand
// (PARVOLIN_GMP_NUMBERS=1, the desktop), over Boost's own cpp_int where it is
// not (WebAssembly). Both give the same values and the same texts; the
// functions here that GMP and Boost spell differently, or round differently,
// are written once for both.

#if !defined(PARVOLIN_GMP_NUMBERS)
#define PARVOLIN_GMP_NUMBERS 1
#endif

#if PARVOLIN_GMP_NUMBERS
#include <boost/multiprecision/gmp.hpp>
#else
#include <boost/multiprecision/cpp_int.hpp>
#endif

#include <cstdint>
#include <string>
#include <string_view>

namespace parvolin {

// Without expression templates: a value is a value, `auto` included.
#if PARVOLIN_GMP_NUMBERS
using Integer = boost::multiprecision::number<boost::multiprecision::gmp_int, boost::multiprecision::et_off>;
using Rational = boost::multiprecision::number<boost::multiprecision::gmp_rational, boost::multiprecision::et_off>;
#else
using Integer = boost::multiprecision::number<boost::multiprecision::cpp_int_backend<>, boost::multiprecision::et_off>;
using Rational =
    boost::multiprecision::number<boost::multiprecision::cpp_rational_backend, boost::multiprecision::et_off>;
#endif

using boost::multiprecision::abs;
using boost::multiprecision::denominator;
using boost::multiprecision::numerator;

inline int sgn(const Integer &x) { return x.sign(); }
inline int sgn(const Rational &x) { return x.sign(); }

// p / q in lowest terms, q != 0.
inline Rational ratio(const Integer &p, const Integer &q) { return Rational(p, q); }

// ⌊√n⌋ of n >= 0.
inline Integer isqrt(const Integer &n) { return boost::multiprecision::sqrt(n); }
bool is_perfect_square(const Integer &n);

inline Integer power(const Integer &base, std::uint32_t exponent) { return boost::multiprecision::pow(base, exponent); }
inline Integer power_of_ten(std::uint32_t exponent) { return power(Integer(10), exponent); }

inline Integer gcd(const Integer &x, const Integer &y) { return boost::multiprecision::gcd(x, y); }
inline Integer lcm(const Integer &x, const Integer &y) { return boost::multiprecision::lcm(x, y); }

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

// A probable prime by Miller–Rabin with `rounds` bases of a fixed sequence:
// the same answer on every run.
bool is_probable_prime(const Integer &n, unsigned rounds);

// Rounded towards zero, like GMP's own conversion.
double to_double(const Integer &n);
// The value of a finite double, exactly.
Rational exact_rational(double value);

// The double nearest to q, ties to even, as a correctly rounding reader of
// its decimal text gives it: ±HUGE_VAL beyond the largest double.
double nearest_double(const Rational &q);

// |x| of a finite x != 0 to two significant digits, ties to even, as
// digits · 10^(exponent − 1) with digits in 10..99: 0.000123 gives 12 and −4.
struct TwoDigits {
    int digits = 0;
    int exponent = 0;
};
TwoDigits two_significant_digits(double x);

// "-12", "-1/3": numerator and denominator in decimal, the denominator
// left out when it is 1.
// The number a string of decimal digits spells, leading zeros and all
// ("007" is 7, "" is 0).
Integer integer_from_digits(std::string_view digits);

inline std::string decimal_string(const Integer &n) { return n.str(); }
std::string decimal_string(const Rational &q);

} // namespace parvolin
