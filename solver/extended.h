#pragma once

// The solver's extended type: the x87 80-bit format, the hardware's
// `long double` on x86 and the software type everywhere else (or anywhere,
// with PARVOLIN_SOFT_EXTENDED defined to 1, as the build option sets it).

#include "solver/soft_extended.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

#if !defined(PARVOLIN_SOFT_EXTENDED)
#if defined(__x86_64__) || defined(__i386__)
#define PARVOLIN_SOFT_EXTENDED 0
#else
#define PARVOLIN_SOFT_EXTENDED 1
#endif
#endif

namespace parvolin {

#if PARVOLIN_SOFT_EXTENDED

using Extended = SoftExtended;

constexpr Extended extended_from_bits(std::uint16_t sign_exponent, std::uint64_t significand)
{
    return SoftExtended::from_bits(sign_exponent, significand);
}

#else

static_assert(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384,
              "long double must be the x87 80-bit extended format");
using Extended = long double;

// The value with these bits, as the x87 stores it in memory.
constexpr Extended extended_from_bits(std::uint16_t sign_exponent, std::uint64_t significand)
{
    struct Layout {
        std::uint64_t significand;
        std::uint16_t sign_exponent;
        std::uint16_t padding[(sizeof(long double) - 10) / 2];
    };
    return parvolin::bit_cast<long double>(Layout{significand, sign_exponent, {}});
}

#endif

// The functions the solver applies to extended values, one name for either
// type: ext::sqrt(x), ext::to_int64(x), ...
namespace ext {

#if PARVOLIN_SOFT_EXTENDED
inline Extended sqrt(Extended x) { return parvolin::sqrt(x); }
inline Extended trunc(Extended x) { return parvolin::trunc(x); }
inline Extended floor(Extended x) { return parvolin::floor(x); }
inline Extended ceil(Extended x) { return parvolin::ceil(x); }
inline Extended rint(Extended x) { return parvolin::rint(x); }
constexpr Extended fabs(Extended x) { return parvolin::fabs(x); }
inline int ilogb(Extended x) { return parvolin::ilogb(x); }
constexpr bool isfinite(Extended x) { return parvolin::isfinite(x); }
constexpr bool isnan(Extended x) { return parvolin::isnan(x); }
constexpr bool isinf(Extended x) { return parvolin::isinf(x); }
// Truncating; the value must be in range.
inline std::int64_t to_int64(Extended x) { return parvolin::to_int64(x); }
inline std::uint64_t to_uint64(Extended x) { return parvolin::to_uint64(x); }
#else
inline Extended sqrt(Extended x) { return std::sqrt(x); }
inline Extended trunc(Extended x) { return std::trunc(x); }
inline Extended floor(Extended x) { return std::floor(x); }
inline Extended ceil(Extended x) { return std::ceil(x); }
inline Extended rint(Extended x) { return std::rint(x); }
inline Extended fabs(Extended x) { return std::fabs(x); }
inline int ilogb(Extended x) { return std::ilogb(x); }
inline bool isfinite(Extended x) { return std::isfinite(x); }
inline bool isnan(Extended x) { return std::isnan(x); }
inline bool isinf(Extended x) { return std::isinf(x); }
inline std::int64_t to_int64(Extended x) { return static_cast<std::int64_t>(x); }
inline std::uint64_t to_uint64(Extended x) { return static_cast<std::uint64_t>(x); }
#endif

inline constexpr Extended infinity = extended_from_bits(0x7FFF, 0x8000000000000000);

} // namespace ext

} // namespace parvolin
