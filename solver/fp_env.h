#pragma once

#include <cfenv>
#include <cfloat>

// The solver computes in the x87 extended format: 64-bit significand, 15-bit
// exponent. On x86-64 Linux that is exactly `long double`.
static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384,
              "long double must be the x87 80-bit extended format");
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must not carry excess precision");

namespace parvolin::fp {

// Puts the x87 unit into extended precision with round-to-nearest and the
// SSE unit into round-to-nearest. Linux starts processes that way; this is
// for a host program (or library) that changed it.
void establish_environment();

// The flags that count as failures; underflow and inexact results do not.
inline constexpr int failure_flags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

// Sticky status flags, read and cleared through <cfenv>. A computation clears
// them once, then calls check() after each step that may fail: the first
// step to raise a flag throws, so later steps never see a stale one.
// Clearing rewrites the whole x87 environment, which costs far more than
// testing it, and the failure flags are almost never set: test first.
inline void clear()
{
    if (std::fetestexcept(failure_flags) != 0)
        std::feclearexcept(failure_flags);
}

// Throws OverflowError, DivisionByZeroError or InvalidOperationError for a
// raised flag (invalid first, as the x87 reports it first).
void throw_for_flags(int flags);

inline void check()
{
    const int raised = std::fetestexcept(failure_flags);
    if (raised != 0)
        throw_for_flags(raised);
}

// Keeps the compiler from moving the computation of `value` past the next
// flag test: the value must exist in memory before the barrier.
template <typename T>
inline void materialize(T &value)
{
    asm volatile("" : "+m"(value));
}

// Rounds an extended value to double and fails on overflow (or on an invalid
// or division flag left by the extended steps that produced it).
inline double to_double(long double value)
{
    double result = static_cast<double>(value);
    materialize(result);
    check();
    return result;
}

} // namespace parvolin::fp
