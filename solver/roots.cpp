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
    const long double p = static_cast<long double>(b) * b;
    const long double q = (4.0L * a) * c;
    return fp::to_double(p - q);
}

// The root expressions are evaluated in extended precision and rounded to
// double once; that double is what gets rounded to n places.
double round_root(long double root, int n) { return round_to_places(fp::to_double(root), n); }

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
        v = fp::to_double(static_cast<long double>(v) * 10.0L);

    // The integer part must fit in a signed 64-bit integer. Checked by value
    // rather than by converting and testing the flag, because an out-of-range
    // conversion is undefined in C++.
    constexpr double two_to_63 = 9223372036854775808.0;
    if (!(v < two_to_63))
        throw InvalidOperationError();

    const long double whole = std::trunc(static_cast<long double>(v));
    auto k = static_cast<std::int64_t>(whole);
    // An exact half goes down: 0.125 scales to 12.5 and gives 0.12.
    if (static_cast<long double>(v) - whole > 0.5L)
        ++k;
    double result = static_cast<double>(k);

    // n divisions by ten, each quotient formed in extended precision and then
    // rounded to double (a double rounding, which the results depend on).
    for (int i = 0; i < n; ++i)
        result = fp::to_double(static_cast<long double>(result) / 10.0L);

    return negative && result != 0.0 ? -result : result;
}

namespace detail {

double root_r1(double a, double b, double d, int n)
{
    const long double sqrt_d = std::sqrt(static_cast<long double>(d));
    return round_root((sqrt_d + static_cast<long double>(-b)) / (2.0L * a), n);
}

double root_r2(double a, double b, double d, int n)
{
    const long double sqrt_d = std::sqrt(static_cast<long double>(d));
    return round_root((static_cast<long double>(-b) - sqrt_d) / (2.0L * a), n);
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
    return round_root(static_cast<long double>(-b) / (2.0L * a), n);
}

double root_rl(double b, double c, int n)
{
    fp::clear();
    return round_root(static_cast<long double>(-c) / b, n);
}

} // namespace parvolin
