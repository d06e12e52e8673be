#pragma once

namespace parvolin {

// D = b*b - 4*a*c, each product kept in extended precision until the
// subtraction, then rounded to double. Throws OverflowError beyond the double
// range.
double discriminant(double a, double b, double c);

// Rounds x to n decimal places: n multiplications by 10 (rounded to double
// after each), round half down on the fraction, n divisions by 10 (each
// quotient formed in extended precision, then rounded to double). Negative
// values round by magnitude, mirrored. A zero result is +0. Throws
// InvalidOperationError when the scaled value reaches 2^63 in magnitude and
// OverflowError when scaling leaves the double range.
double round_to_places(double x, int n);

// The root values written into the sentences, already rounded to n places.
// r1 = ((sqrt D) + (-b)) / (2a) and r2 = ((-b) - sqrt D) / (2a) need a != 0
// and D > 0; r0 = (-b) / (2a) needs a != 0; rl = (-c) / b needs b != 0.
// When a > 0, r1 is the larger root; when a < 0, the smaller.
double root_r1(double a, double b, double c, int n);
double root_r2(double a, double b, double c, int n);
double root_r0(double a, double b, int n);
double root_rl(double b, double c, int n);

namespace detail {
// The same with the discriminant already computed.
double root_r1(double a, double b, double d, int n);
double root_r2(double a, double b, double d, int n);
} // namespace detail

} // namespace parvolin
