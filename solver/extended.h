#pragma once

// The solver's extended type: the x87 80-bit format, the hardware's
// `long double` on x86 and the software type everywhere else (or anywhere,
// with PARVOLIN_SOFT_EXTENDED defined to 1, as the build option sets it).

#include "solver/soft_extended.h"

#include <bit>
#include <cfloat>
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
    return std::bit_cast<long double>(Layout{significand, sign_exponent, {}});
}

#endif

} // namespace parvolin
