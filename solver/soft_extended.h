#pragma once

#include <bit>
#include <concepts>
#include <cstdint>

namespace parvolin {

// std::bit_cast, which the C++ library of emscripten 3.1.6 lacks; the
// compiler's builtin is the same operation.
template <typename To, typename From>
    requires(sizeof(To) == sizeof(From))
constexpr To bit_cast(const From &from) noexcept
{
#if defined(__cpp_lib_bit_cast)
    return std::bit_cast<To>(from);
#else
    return __builtin_bit_cast(To, from);
#endif
}

// Sticky status flags of the software extended type, with the x87's bit
// values and meaning: invalid only when an operation makes a new NaN (or
// meets a signalling one, or converts an out-of-range value to an integer),
// division by zero for a finite non-zero dividend over zero, overflow when a
// rounded result (an extended one, or one converted to double) leaves the
// format's range, underflow for a tiny inexact result (tininess after
// rounding), inexact for any rounding. An ordered comparison (<, <=, >, >=)
// with a NaN raises invalid, an equality only with a signalling NaN. The
// flags belong to the thread, as the hardware's do.
namespace soft_flags {

inline constexpr unsigned invalid = 0x01;
inline constexpr unsigned divide_by_zero = 0x04;
inline constexpr unsigned overflow = 0x08;
inline constexpr unsigned underflow = 0x10;
inline constexpr unsigned inexact = 0x20;
inline constexpr unsigned all = invalid | divide_by_zero | overflow | underflow | inexact;

inline thread_local unsigned status = 0;

inline unsigned test(unsigned mask) { return status & mask; }
inline void clear(unsigned mask) { status &= ~mask; }
inline void raise(unsigned mask) { status |= mask; }

} // namespace soft_flags

/*
 * The x87 extended format in software: a sign, a 15-bit exponent biased by
 * 16383 and a 64-bit significand with an explicit integer bit, laid out as
 * the hardware stores it. Every arithmetic operation is correctly rounded to
 * nearest, ties to even, with subnormals; NaNs follow the x87 rules (a new
 * NaN is the "indefinite" 0xFFFF C000000000000000, an operand NaN comes back
 * quiet, of two the larger significand). Only round-to-nearest exists here:
 * the solver never computes in another mode.
 *
 * Conversions from integers and from double are exact and implicit, so the
 * type reads like `long double` in expressions; the conversion to double
 * rounds and is explicit.
 */
class SoftExtended {
public:
    constexpr SoftExtended() = default; // +0

    // The value whose sign and exponent field is `sign_exponent` and whose
    // significand is `significand`: the way constants are written, since a
    // decimal literal would be rounded by whatever `long double` the
    // compiler has.
    static constexpr SoftExtended from_bits(std::uint16_t sign_exponent, std::uint64_t significand)
    {
        SoftExtended x;
        x.significand_ = significand;
        x.sign_exponent_ = sign_exponent;
        return x;
    }

    template <std::signed_integral T>
    constexpr SoftExtended(T value) // NOLINT: implicit, exact like the hardware's
    {
        const auto wide = static_cast<std::int64_t>(value);
        const std::uint64_t magnitude =
            wide < 0 ? 0 - static_cast<std::uint64_t>(wide) : static_cast<std::uint64_t>(wide);
        *this = from_magnitude(wide < 0, magnitude);
    }

    template <std::unsigned_integral T>
    constexpr SoftExtended(T value) // NOLINT: implicit, exact
    {
        *this = from_magnitude(false, static_cast<std::uint64_t>(value));
    }

    // Exact; a signalling NaN comes in quiet and raises invalid.
    constexpr SoftExtended(double value) // NOLINT: implicit, exact
    {
        const auto bits = parvolin::bit_cast<std::uint64_t>(value);
        const auto sign = static_cast<std::uint16_t>((bits >> 63) << 15);
        const int field = static_cast<int>((bits >> 52) & 0x7FF);
        const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
        constexpr std::uint64_t integer_bit = std::uint64_t{1} << 63;
        if (field == 0x7FF) {
            if (fraction != 0 && (fraction >> 51) == 0)
                soft_flags::raise(soft_flags::invalid);
            // An infinity, or a NaN with its payload and the quiet bit.
            const std::uint64_t quiet = fraction != 0 ? std::uint64_t{1} << 62 : 0;
            *this = from_bits(sign | 0x7FFF, integer_bit | quiet | (fraction << 11));
        } else if (field == 0) {
            // fraction * 2^-1074, normalised.
            const int shift = fraction == 0 ? 0 : std::countl_zero(fraction);
            const int exponent = fraction == 0 ? 0 : 16383 - 1074 + 63 - shift;
            *this = from_bits(static_cast<std::uint16_t>(sign | exponent), fraction << shift);
        } else {
            *this = from_bits(static_cast<std::uint16_t>(sign | (field - 1023 + 16383)),
                              integer_bit | (fraction << 11));
        }
    }

    // Rounds to nearest double; overflow gives an infinity and raises
    // overflow, a tiny inexact result raises underflow.
    explicit operator double() const;

    constexpr std::uint16_t sign_exponent() const { return sign_exponent_; }
    constexpr std::uint64_t significand() const { return significand_; }

    friend SoftExtended operator+(SoftExtended a, SoftExtended b);
    friend SoftExtended operator-(SoftExtended a, SoftExtended b);
    friend SoftExtended operator*(SoftExtended a, SoftExtended b);
    friend SoftExtended operator/(SoftExtended a, SoftExtended b);
    // Flips the sign only, of a NaN too; raises nothing.
    friend constexpr SoftExtended operator-(SoftExtended a)
    {
        a.sign_exponent_ ^= 0x8000;
        return a;
    }
    SoftExtended &operator+=(SoftExtended b) { return *this = *this + b; }
    SoftExtended &operator-=(SoftExtended b) { return *this = *this - b; }
    SoftExtended &operator*=(SoftExtended b) { return *this = *this * b; }
    SoftExtended &operator/=(SoftExtended b) { return *this = *this / b; }
    SoftExtended &operator++() { return *this = *this + SoftExtended(1); }

    // A NaN is unordered with everything (raising invalid, see soft_flags);
    // -0 equals +0.
    friend bool operator==(SoftExtended a, SoftExtended b);
    friend bool operator<(SoftExtended a, SoftExtended b);
    friend bool operator!=(SoftExtended a, SoftExtended b) { return !(a == b); }
    friend bool operator>(SoftExtended a, SoftExtended b) { return b < a; }
    friend bool operator<=(SoftExtended a, SoftExtended b) { return a < b || a == b; }
    friend bool operator>=(SoftExtended a, SoftExtended b) { return b < a || a == b; }

private:
    static constexpr SoftExtended from_magnitude(bool negative, std::uint64_t magnitude)
    {
        SoftExtended x;
        if (magnitude != 0) {
            const int shift = std::countl_zero(magnitude);
            x.significand_ = magnitude << shift;
            x.sign_exponent_ = static_cast<std::uint16_t>(16383 + 63 - shift);
        }
        if (negative)
            x.sign_exponent_ |= 0x8000;
        return x;
    }

    std::uint64_t significand_ = 0;
    std::uint16_t sign_exponent_ = 0;
};

// Correctly rounded; the root of a negative non-zero value is a new NaN.
SoftExtended sqrt(SoftExtended x);
// Integral values, rint to nearest even; each raises inexact when it
// changes the value, as the C library's do on the x87.
SoftExtended trunc(SoftExtended x);
SoftExtended floor(SoftExtended x);
SoftExtended ceil(SoftExtended x);
SoftExtended rint(SoftExtended x);
constexpr SoftExtended fabs(SoftExtended x)
{
    return SoftExtended::from_bits(x.sign_exponent() & 0x7FFF, x.significand());
}
// The unbiased binary exponent of a finite non-zero value (of a subnormal
// too, as if it were normalised); FP_ILOGB0, FP_ILOGBNAN or INT_MAX
// otherwise, as the C library gives them, raising invalid.
int ilogb(SoftExtended x);

// Truncate towards zero. Out of range (or a NaN) raises invalid and gives
// 0x8000000000000000, the x87's "integer indefinite"; a dropped fraction
// raises inexact.
std::int64_t to_int64(SoftExtended x);
std::uint64_t to_uint64(SoftExtended x);

constexpr bool isnan(SoftExtended x)
{
    return (x.sign_exponent() & 0x7FFF) == 0x7FFF && (x.significand() << 1) != 0;
}
constexpr bool isinf(SoftExtended x)
{
    return (x.sign_exponent() & 0x7FFF) == 0x7FFF && (x.significand() << 1) == 0;
}
constexpr bool isfinite(SoftExtended x) { return (x.sign_exponent() & 0x7FFF) != 0x7FFF; }
constexpr bool signbit(SoftExtended x) { return (x.sign_exponent() & 0x8000) != 0; }
// FP_NAN, FP_INFINITE, FP_ZERO, FP_SUBNORMAL or FP_NORMAL.
int fpclassify(SoftExtended x);

} // namespace parvolin
