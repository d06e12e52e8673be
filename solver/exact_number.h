#pragma once

// Exact numbers for the working of a problem: the coefficient texts as
// rationals, roots as reduced surds, and both written as mathematics, as
// SymPy input and as decimals rounded to n places.

#include "solver/failures.h"
#include "solver/math_text.h"

#include "solver/big_number.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace parvolin {

// The most digits (before and after the separator together) a coefficient
// text may have for its exact working. The exponent needs no bound of its
// own: the number text stops reading it below 5000.
inline constexpr std::size_t max_exact_digits = 200'000;

// A coefficient text too long for the exact working; its report is unaffected.
using TooManyDigitsError =
    FixedFailure<"Koeficient má příliš mnoho číslic na přesný postup řešení (nejvýše 200 000).">;

// The exact value of a coefficient text, read by the same rules as
// parse_coefficient: "0,09" is 9/100, "1E-3" is 1/1000, "-" alone is refused.
// Throws ConvertError for a text those rules refuse (the empty text included)
// and TooManyDigitsError beyond max_exact_digits.
Rational parse_exact(std::string_view text, char decimal_separator);

// n = k² · m. While |n| fits in 64 bits, m is square-free for certain (all
// prime factors found: trial division, then Pollard's rho with a
// deterministic Miller–Rabin). Beyond 64 bits, m is free of the squares of
// the primes below 1000 and of whole perfect-square parts, and, for parts of
// up to 256 bits, of the primes a bounded search of Pollard's rho finds
// (4 000 steps); the square of a larger prime hidden in a part left unsplit
// may remain in m.
void split_square(const Integer &n, Integer &k, Integer &m);

// (u + v√m) / w in lowest terms: w > 0, m > 1 square-free as far as
// split_square tells, or v = 0 and m = 1 for a rational number.
struct Surd {
    Integer u = 0;
    Integer v = 0;
    Integer m = 1;
    Integer w = 1;

    bool is_rational() const { return v == 0; }
    Rational rational() const { return ratio(u, w); } // for is_rational() only
};

Surd make_surd(const Rational &value);
// p + t·√r for rational p, t and r >= 0, reduced.
Surd make_surd(const Rational &p, const Rational &t, const Rational &r);

int sign(const Surd &value);

enum class NumberStyle {
    Fractions, // every non-integer as a fraction p/q
    Decimals,  // terminating decimals as decimals (0,3), the rest as fractions
};

struct NumberFormat {
    char separator = ',';
    NumberStyle style = NumberStyle::Fractions;
};

enum class Wrap {
    None,
    Factor, // in a product: parentheses around a negative number or a power of ten
    Base,   // under an exponent: also around a fraction
};

// The number as a teacher writes it, with a true minus sign; very long
// decimals with many zeros as d,ddd · 10ⁿ.
void put_number(Math &math, const Rational &value, const NumberFormat &format, Wrap wrap = Wrap::None);
void put_number(Math &math, const Surd &value, const NumberFormat &format, Wrap wrap = Wrap::None);
// Both roots at once, "−1 ± √3" or "(3 ± √5)/2", from the larger one (v > 0).
void put_plus_minus(Math &math, const Surd &larger, const NumberFormat &format);

// SymPy's sympify reads these: "-1/3", "(3 - sqrt(5))/2".
std::string sympy_text(const Rational &value);
std::string sympy_text(const Surd &value);

// The value rounded to n places, half away from zero: value ≐ scaled / 10^n.
struct RoundedValue {
    Integer scaled;
    bool exact = false; // the value has at most n decimal places
};
RoundedValue round_to_places(const Surd &value, int n);

// scaled / 10^n with the separator; without trailing zeros when `trim`.
std::string decimal_text(const Integer &scaled, int n, char separator, bool trim);

} // namespace parvolin
