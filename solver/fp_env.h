#pragma once

#include "solver/extended.h"

#include <cfenv>
#include <cfloat>

// The solver computes in the x87 extended format: 64-bit significand, 15-bit
// exponent (solver/extended.h). Its double arithmetic must be plain double.
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must not carry excess precision");

namespace parvolin::fp {

// Puts the x87 unit into extended precision with round-to-nearest and the
// SSE unit into round-to-nearest. Linux starts processes that way; this is
// for a host program (or library) that changed it. With the software type
// it clears that type's flags and leaves the hardware alone.
void establish_environment();

// The status flags the solver reads, those of the extended type in use:
// the hardware's through <cfenv>, or the software type's own.
#if PARVOLIN_SOFT_EXTENDED
inline constexpr int invalid = soft_flags::invalid;
inline constexpr int divide_by_zero = soft_flags::divide_by_zero;
inline constexpr int overflow = soft_flags::overflow;
inline constexpr int all_flags = soft_flags::all;
inline int test_flags(int mask) { return static_cast<int>(soft_flags::test(static_cast<unsigned>(mask))); }
inline void clear_flags(int mask) { soft_flags::clear(static_cast<unsigned>(mask)); }
inline void raise_flags(int mask) { soft_flags::raise(static_cast<unsigned>(mask)); }
#else
inline constexpr int invalid = FE_INVALID;
inline constexpr int divide_by_zero = FE_DIVBYZERO;
inline constexpr int overflow = FE_OVERFLOW;
inline constexpr int all_flags = FE_ALL_EXCEPT;
inline int test_flags(int mask) { return std::fetestexcept(mask); }
inline void clear_flags(int mask) { std::feclearexcept(mask); }
inline void raise_flags(int mask) { std::feraiseexcept(mask); }
#endif

// The flags that count as failures; underflow and inexact results do not.
inline constexpr int failure_flags = invalid | divide_by_zero | overflow;

// Sticky status flags. A computation clears them once, then calls check()
// after each step that may fail: the first step to raise a flag throws, so
// later steps never see a stale one. Clearing rewrites the whole x87
// environment, which costs far more than testing it, and the failure flags
// are almost never set: test first.
inline void clear()
{
    if (test_flags(failure_flags) != 0)
        clear_flags(failure_flags);
}

// Throws OverflowError, DivisionByZeroError or InvalidOperationError for a
// raised flag (invalid first, as the x87 reports it first).
void throw_for_flags(int flags);

inline void check()
{
    const int raised = test_flags(failure_flags);
    if (raised != 0)
        throw_for_flags(raised);
}

// Every status flag as it is, put back at the end of the scope: for a
// computation whose own overflows are harmless and must not count as the
// solver's.
class FlagsKept {
public:
#if PARVOLIN_SOFT_EXTENDED
    FlagsKept() : saved_(soft_flags::status) {}
    ~FlagsKept() { soft_flags::status = saved_; }
#else
    FlagsKept() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
    ~FlagsKept() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
#endif
    FlagsKept(const FlagsKept &) = delete;
    FlagsKept &operator=(const FlagsKept &) = delete;

private:
#if PARVOLIN_SOFT_EXTENDED
    unsigned saved_;
#else
    std::fexcept_t saved_{};
#endif
};

// Keeps the compiler from moving the computation of `value` past the next
// flag test: the value must exist in memory before the barrier. The software
// type's flags are ordinary memory, ordered by the language itself.
template <typename T>
inline void materialize(T &value)
{
#if PARVOLIN_SOFT_EXTENDED
    (void)value;
#else
    asm volatile("" : "+m"(value));
#endif
}

// Rounds an extended value to double and fails on overflow (or on an invalid
// or division flag left by the extended steps that produced it).
inline double to_double(Extended value)
{
    double result = static_cast<double>(value);
    materialize(result);
    check();
    return result;
}

} // namespace parvolin::fp
