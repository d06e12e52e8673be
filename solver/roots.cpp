#include "solver/roots.h"

#include "solver/failures.h"
#include "solver/fp_env.h"

#include <cmath>
#include <cstdint>

namespace parvolin {

namespace {

// b*b and (4*a)*c cannot leave the extended range for finite doubles; only
// the final rounding to double can overflow.
double discriminant_unchecked(double a, double b, double c)
{
    const Extended p = static_cast<Extended>(b) * b;
    const Extended q = (Extended(4) * a) * c;
    return fp::to_double(p - q);
}

// The root expressions are evaluated in extended precision and rounded to
// double once; that double is what gets rounded to n places.
double round_root(Extended root, int n) { return round_to_places(fp::to_double(root), n); }

} // namespace

double discriminant(double a, double b, double c)
{
    fp::clear();
    return discriminant_unchecked(a, b, c);
}

double round_to_places(double x, int n)
{
    fp::clear();
    // Negative values round by their magnitude and get their sign back, so
    // -1.236 gives -1.24 as 1.236 gives 1.24; zero always comes back as +0.
    const bool negative = x < 0.0;
    double v = negative ? -x : x;

    // n separate multiplications, each rounded to double: 1.005 scales to
    // 100.49999999999999, not to 100.5.
    for (int i = 0; i < n; ++i)
        v = fp::to_double(static_cast<Extended>(v) * Extended(10));

    // The integer part must fit in a signed 64-bit integer. Checked by value
    // rather than by converting and testing the flag, because an out-of-range
    // conversion is undefined in C++.
    constexpr double two_to_63 = 9223372036854775808.0;
    if (!(v < two_to_63))
        throw InvalidOperationError();

    const Extended whole = ext::trunc(static_cast<Extended>(v));
    auto k = ext::to_int64(whole);
    // An exact half goes down: 0.125 scales to 12.5 and gives 0.12.
    if (static_cast<Extended>(v) - whole > 0.5)
        ++k;
    double result = static_cast<double>(k);

    // n divisions by ten, each quotient formed in extended precision and then
    // rounded to double (a double rounding, which the results depend on).
    for (int i = 0; i < n; ++i)
        result = fp::to_double(static_cast<Extended>(result) / Extended(10));

    return negative && result != 0.0 ? -result : result;
}

namespace detail {

double root_r1(double a, double b, double d, int n)
{
    const Extended sqrt_d = ext::sqrt(static_cast<Extended>(d));
    return round_root((sqrt_d + static_cast<Extended>(-b)) / (Extended(2) * a), n);
}

double root_r2(double a, double b, double d, int n)
{
    const Extended sqrt_d = ext::sqrt(static_cast<Extended>(d));
    return round_root((static_cast<Extended>(-b) - sqrt_d) / (Extended(2) * a), n);
}

} // namespace detail

double root_r1(double a, double b, double c, int n)
{
    return detail::root_r1(a, b, discriminant(a, b, c), n);
}

double root_r2(double a, double b, double c, int n)
{
    return detail::root_r2(a, b, discriminant(a, b, c), n);
}

double root_r0(double a, double b, int n)
{
    fp::clear();
    return round_root(static_cast<Extended>(-b) / (Extended(2) * a), n);
}

double root_rl(double b, double c, int n)
{
    fp::clear();
    return round_root(static_cast<Extended>(-c) / b, n);
}

} // namespace parvolin
