#include "solver/soft_extended.h"

#include <climits>
#include <cmath>

namespace parvolin {

namespace {

using u128 = unsigned __int128;

constexpr int bias = 16383;
constexpr int max_field = 0x7FFF;
constexpr std::uint64_t top_bit = std::uint64_t{1} << 63;
constexpr std::uint64_t quiet_bit = std::uint64_t{1} << 62;

constexpr std::uint16_t sign_of(bool negative) { return negative ? 0x8000 : 0; }

constexpr SoftExtended indefinite() { return SoftExtended::from_bits(0xFFFF, 0xC000000000000000); }
constexpr SoftExtended infinity(bool negative) { return SoftExtended::from_bits(sign_of(negative) | max_field, top_bit); }
constexpr SoftExtended zero(bool negative) { return SoftExtended::from_bits(sign_of(negative), 0); }

int countl_zero128(u128 x)
{
    const auto high = static_cast<std::uint64_t>(x >> 64);
    return high != 0 ? std::countl_zero(high) : 64 + std::countl_zero(static_cast<std::uint64_t>(x));
}

// A value taken apart: (-1)^negative * significand * 2^(exponent - 63), the
// significand normalised (top bit set) for finite non-zero values.
struct Unpacked {
    bool negative;
    int exponent;
    std::uint64_t significand;
};

enum class Kind { Zero, Finite, Infinite, NaN, Unsupported };

Kind kind_of(SoftExtended x)
{
    const int field = x.sign_exponent() & 0x7FFF;
    const std::uint64_t m = x.significand();
    if (field == max_field) {
        if ((m & top_bit) == 0)
            return Kind::Unsupported; // pseudo-infinity, pseudo-NaN
        return (m << 1) == 0 ? Kind::Infinite : Kind::NaN;
    }
    if (field == 0)
        return m == 0 ? Kind::Zero : Kind::Finite; // subnormal or pseudo-subnormal
    return (m & top_bit) != 0 ? Kind::Finite : Kind::Unsupported; // unnormal
}

Unpacked unpack(SoftExtended x)
{
    const bool negative = signbit(x);
    const int field = x.sign_exponent() & 0x7FFF;
    std::uint64_t m = x.significand();
    // A zero exponent field scales like field 1, without the integer bit.
    int exponent = (field == 0 ? 1 : field) - bias;
    const int shift = std::countl_zero(m);
    m <<= shift;
    exponent -= shift;
    return {negative, exponent, m};
}

bool is_signalling(SoftExtended x) { return isnan(x) && (x.significand() & quiet_bit) == 0; }

SoftExtended quieted(SoftExtended x)
{
    return SoftExtended::from_bits(x.sign_exponent(), x.significand() | quiet_bit);
}

// The result of an operation with a NaN operand (at least one of a, b is a
// NaN or unsupported): a signalling NaN raises invalid; of two NaNs a quiet
// one is preferred, then the larger significand; the result is quiet.
SoftExtended nan_result(SoftExtended a, SoftExtended b)
{
    const Kind ka = kind_of(a), kb = kind_of(b);
    if (ka == Kind::Unsupported || kb == Kind::Unsupported) {
        soft_flags::raise(soft_flags::invalid);
        return indefinite();
    }
    if (is_signalling(a) || is_signalling(b))
        soft_flags::raise(soft_flags::invalid);
    if (ka == Kind::NaN && kb == Kind::NaN) {
        // A quiet one beats a signalling one; between two of a kind the
        // larger significand wins.
        if (is_signalling(a) != is_signalling(b))
            return is_signalling(a) ? b : a;
        const std::uint64_t ma = a.significand(), mb = b.significand();
        if (ma != mb)
            return quieted(ma > mb ? a : b);
        // Equal significands: the x87 keeps the positive one.
        return quieted(signbit(a) ? b : a);
    }
    return quieted(ka == Kind::NaN ? a : b);
}

struct Shifted {
    u128 kept;
    bool inexact;
};

// sig >> drop rounded to nearest, ties to even (drop >= 1).
Shifted round_right(u128 sig, int drop)
{
    if (drop > 128)
        return {0, sig != 0};
    const u128 half = u128{1} << (drop - 1);
    if (drop == 128)
        return {sig > half ? u128{1} : u128{0}, sig != 0};
    u128 kept = sig >> drop;
    const u128 rest = sig & ((u128{1} << drop) - 1);
    if (rest > half || (rest == half && (kept & 1) != 0))
        ++kept;
    return {kept, rest != 0};
}

// Rounds (-1)^negative * sig * 2^(exponent - 127) to the format; sig != 0,
// any bits below the rounding point already folded into its lowest bit.
SoftExtended round_pack(bool negative, int exponent, u128 sig)
{
    const int shift = countl_zero128(sig);
    sig <<= shift;
    int field = exponent - shift + bias; // of the top bit, now bit 127
    if (field >= 1) {
        Shifted r = round_right(sig, 64);
        if (r.kept >> 64) {
            r.kept >>= 1;
            ++field;
        }
        if (field >= max_field) {
            soft_flags::raise(soft_flags::overflow | soft_flags::inexact);
            return infinity(negative);
        }
        if (r.inexact)
            soft_flags::raise(soft_flags::inexact);
        return SoftExtended::from_bits(sign_of(negative) | field, static_cast<std::uint64_t>(r.kept));
    }
    // Below the normal range. Tiny unless rounding to 64 bits with an
    // unbounded exponent would reach the smallest normal.
    const bool tiny = field < 0 || round_right(sig, 64).kept >> 64 == 0;
    const Shifted r = round_right(sig, 64 + 1 - field);
    if (r.inexact)
        soft_flags::raise(tiny ? soft_flags::inexact | soft_flags::underflow : soft_flags::inexact);
    const auto m = static_cast<std::uint64_t>(r.kept);
    if (m == 0)
        return zero(negative);
    return SoftExtended::from_bits(sign_of(negative) | ((m & top_bit) != 0 ? 1 : 0), m);
}

// A value with its lowest bit set when any of `bits` is, for a shift right.
u128 shift_right_jamming(u128 x, int count)
{
    if (count <= 0)
        return x;
    if (count >= 128)
        return x != 0 ? 1 : 0;
    return (x >> count) | ((x << (128 - count)) != 0 ? 1 : 0);
}

SoftExtended add_magnitudes(SoftExtended a, SoftExtended b, bool subtract)
{
    const Kind ka = kind_of(a), kb = kind_of(b);
    if (ka >= Kind::NaN || kb >= Kind::NaN)
        return nan_result(a, b);
    const bool na = signbit(a), nb = signbit(b) != subtract;
    if (ka == Kind::Infinite || kb == Kind::Infinite) {
        if (ka == Kind::Infinite && kb == Kind::Infinite && na != nb) {
            soft_flags::raise(soft_flags::invalid);
            return indefinite();
        }
        return infinity(ka == Kind::Infinite ? na : nb);
    }
    if (ka == Kind::Zero && kb == Kind::Zero)
        return zero(na && nb);
    if (kb == Kind::Zero)
        return a;
    if (ka == Kind::Zero)
        return subtract ? -b : b;

    Unpacked x = unpack(a), y = unpack(b);
    y.negative = nb;
    if (x.exponent < y.exponent || (x.exponent == y.exponent && x.significand < y.significand))
        std::swap(x, y);
    // The significands at bit 126, one bit of headroom for a carry.
    const u128 sx = u128{x.significand} << 63;
    const u128 sy = shift_right_jamming(u128{y.significand} << 63, x.exponent - y.exponent);
    if (x.negative == y.negative)
        return round_pack(x.negative, x.exponent + 1, sx + sy);
    const u128 difference = sx - sy;
    if (difference == 0)
        return zero(false);
    return round_pack(x.negative, x.exponent + 1, difference);
}

} // namespace

SoftExtended::operator double() const
{
    const Kind k = kind_of(*this);
    const bool negative = signbit(*this);
    const std::uint64_t sign = negative ? top_bit : 0;
    switch (k) {
    case Kind::Zero:
        return parvolin::bit_cast<double>(sign);
    case Kind::Infinite:
        return parvolin::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
    case Kind::Unsupported:
        soft_flags::raise(soft_flags::invalid);
        return parvolin::bit_cast<double>(std::uint64_t{0xFFF8} << 48);
    case Kind::NaN:
        if (is_signalling(*this))
            soft_flags::raise(soft_flags::invalid);
        return parvolin::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52) | (std::uint64_t{1} << 51) |
                                     ((significand_ << 1) >> 12));
    case Kind::Finite:
        break;
    }
    const Unpacked u = unpack(*this);
    int field = u.exponent + 1023;
    const u128 sig = u128{u.significand} << 64;
    if (field >= 1) {
        Shifted r = round_right(sig, 75);
        if (r.kept >> 53) {
            r.kept >>= 1;
            ++field;
        }
        if (field >= 0x7FF) {
            soft_flags::raise(soft_flags::overflow | soft_flags::inexact);
            return parvolin::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
        }
        if (r.inexact)
            soft_flags::raise(soft_flags::inexact);
        const auto m = static_cast<std::uint64_t>(r.kept);
        return parvolin::bit_cast<double>(sign | (std::uint64_t(field) << 52) | (m & ((std::uint64_t{1} << 52) - 1)));
    }
    const bool tiny = field < 0 || round_right(sig, 75).kept >> 53 == 0;
    const Shifted r = round_right(sig, 75 + 1 - field);
    if (r.inexact)
        soft_flags::raise(tiny ? soft_flags::inexact | soft_flags::underflow : soft_flags::inexact);
    // A carry into bit 52 makes the smallest normal, as the encoding has it.
    return parvolin::bit_cast<double>(sign | static_cast<std::uint64_t>(r.kept));
}

SoftExtended operator+(SoftExtended a, SoftExtended b) { return add_magnitudes(a, b, false); }

SoftExtended operator-(SoftExtended a, SoftExtended b) { return add_magnitudes(a, b, true); }

SoftExtended operator*(SoftExtended a, SoftExtended b)
{
    const Kind ka = kind_of(a), kb = kind_of(b);
    if (ka >= Kind::NaN || kb >= Kind::NaN)
        return nan_result(a, b);
    const bool negative = signbit(a) != signbit(b);
    if (ka == Kind::Infinite || kb == Kind::Infinite) {
        if (ka == Kind::Zero || kb == Kind::Zero) {
            soft_flags::raise(soft_flags::invalid);
            return indefinite();
        }
        return infinity(negative);
    }
    if (ka == Kind::Zero || kb == Kind::Zero)
        return zero(negative);
    const Unpacked x = unpack(a), y = unpack(b);
    // The product of two 64-bit significands has its top bit at 126 or 127.
    return round_pack(negative, x.exponent + y.exponent + 1, u128{x.significand} * y.significand);
}

SoftExtended operator/(SoftExtended a, SoftExtended b)
{
    const Kind ka = kind_of(a), kb = kind_of(b);
    if (ka >= Kind::NaN || kb >= Kind::NaN)
        return nan_result(a, b);
    const bool negative = signbit(a) != signbit(b);
    if (ka == Kind::Infinite) {
        if (kb == Kind::Infinite) {
            soft_flags::raise(soft_flags::invalid);
            return indefinite();
        }
        return infinity(negative);
    }
    if (kb == Kind::Infinite)
        return zero(negative);
    if (kb == Kind::Zero) {
        if (ka == Kind::Zero) {
            soft_flags::raise(soft_flags::invalid);
            return indefinite();
        }
        soft_flags::raise(soft_flags::divide_by_zero);
        return infinity(negative);
    }
    if (ka == Kind::Zero)
        return zero(negative);

    const Unpacked x = unpack(a), y = unpack(b);
    // Long division by 64-bit digits: an integer digit, then two fraction
    // digits of 64 bits, the remainder folded into the lowest bit.
    std::uint64_t rest = x.significand;
    const bool whole = rest >= y.significand;
    if (whole)
        rest -= y.significand;
    const u128 n1 = u128{rest} << 64;
    const auto q1 = static_cast<std::uint64_t>(n1 / y.significand);
    const u128 n2 = (n1 % y.significand) << 64;
    const auto q2 = static_cast<std::uint64_t>(n2 / y.significand);
    const bool remainder = n2 % y.significand != 0;
    u128 sig;
    int exponent = x.exponent - y.exponent;
    if (whole) {
        // 1.q1q2: the integer digit at bit 127.
        sig = (u128{1} << 127) | (u128{q1} << 63) | (q2 >> 1) | ((q2 & 1) != 0 || remainder ? 1 : 0);
    } else {
        // 0.q1q2 with q1's top bit set (the quotient exceeds 1/2).
        sig = (u128{q1} << 64) | q2 | (remainder ? 1 : 0);
        exponent -= 1;
    }
    return round_pack(negative, exponent, sig);
}

bool operator==(SoftExtended a, SoftExtended b)
{
    const Kind ka = kind_of(a), kb = kind_of(b);
    if (ka >= Kind::NaN || kb >= Kind::NaN) {
        if (ka == Kind::Unsupported || kb == Kind::Unsupported || is_signalling(a) || is_signalling(b))
            soft_flags::raise(soft_flags::invalid);
        return false;
    }
    if (ka == Kind::Zero && kb == Kind::Zero)
        return true;
    if (ka == Kind::Zero || kb == Kind::Zero || signbit(a) != signbit(b))
        return false;
    const Unpacked x = unpack(a), y = unpack(b);
    return x.exponent == y.exponent && x.significand == y.significand;
}

bool operator<(SoftExtended a, SoftExtended b)
{
    const Kind ka = kind_of(a), kb = kind_of(b);
    if (ka >= Kind::NaN || kb >= Kind::NaN) {
        soft_flags::raise(soft_flags::invalid);
        return false;
    }
    if (ka == Kind::Zero && kb == Kind::Zero)
        return false;
    const bool na = ka != Kind::Zero && signbit(a);
    const bool nb = kb != Kind::Zero && signbit(b);
    if (na != nb)
        return na;
    // Same sign (a zero counts as positive here): compare magnitudes.
    const auto magnitude_less = [](SoftExtended p, Kind kp, SoftExtended q, Kind kq) {
        if (kp == Kind::Zero)
            return kq != Kind::Zero;
        if (kq == Kind::Zero)
            return false;
        if (kp == Kind::Infinite)
            return false;
        if (kq == Kind::Infinite)
            return true;
        const Unpacked x = unpack(p), y = unpack(q);
        return x.exponent < y.exponent || (x.exponent == y.exponent && x.significand < y.significand);
    };
    return na ? magnitude_less(b, kb, a, ka) : magnitude_less(a, ka, b, kb);
}

SoftExtended sqrt(SoftExtended x)
{
    const Kind k = kind_of(x);
    if (k >= Kind::NaN)
        return nan_result(x, x);
    if (k == Kind::Zero)
        return x;
    if (signbit(x)) {
        soft_flags::raise(soft_flags::invalid);
        return indefinite();
    }
    if (k == Kind::Infinite)
        return x;
    const Unpacked u = unpack(x);
    // x = n * 2^(2 r) with n a 127- or 128-bit integer whose root s has 64
    // bits; s rounds up exactly when the remainder n - s^2 exceeds s.
    const bool odd = (u.exponent & 1) != 0;
    const u128 n = u128{u.significand} << (odd ? 64 : 63);
    const int half_exponent = odd ? (u.exponent - 1) / 2 : u.exponent / 2;
    // A double estimate good to about 52 bits, one Newton step, then exact.
    u128 s = static_cast<u128>(std::sqrt(static_cast<double>(n)));
    s = (s + n / s) / 2;
    while (s * s > n)
        --s;
    while (s < ~std::uint64_t{0} && (s + 1) * (s + 1) <= n)
        ++s;
    const u128 remainder = n - s * s;
    if (remainder != 0)
        soft_flags::raise(soft_flags::inexact);
    std::uint64_t m = static_cast<std::uint64_t>(s);
    int exponent = half_exponent;
    if (remainder > s && ++m == 0) {
        m = top_bit;
        ++exponent;
    }
    return SoftExtended::from_bits(static_cast<std::uint16_t>(exponent + bias), m);
}

namespace {

enum class Direction { TowardZero, Down, Up, Nearest };

SoftExtended round_to_integral(SoftExtended x, Direction direction)
{
    const Kind k = kind_of(x);
    if (k >= Kind::NaN)
        return nan_result(x, x);
    if (k != Kind::Finite)
        return x;
    const Unpacked u = unpack(x);
    if (u.exponent >= 63)
        return x;
    // The integer part `kept` and what is dropped, of |x| = sig * 2^(exponent - 127).
    const u128 sig = u128{u.significand} << 64;
    const int drop = 127 - u.exponent;
    const u128 kept = drop >= 128 ? 0 : sig >> drop;
    const u128 rest = drop >= 128 ? sig : sig & ((u128{1} << drop) - 1);
    const u128 half = drop > 128 ? 0 : u128{1} << (drop - 1);
    bool up = false;
    switch (direction) {
    case Direction::TowardZero:
        break;
    case Direction::Down:
        up = u.negative && rest != 0;
        break;
    case Direction::Up:
        up = !u.negative && rest != 0;
        break;
    case Direction::Nearest:
        up = drop <= 128 && (rest > half || (rest == half && (kept & 1) != 0));
        break;
    }
    if (rest != 0)
        soft_flags::raise(soft_flags::inexact);
    const auto magnitude = static_cast<std::uint64_t>(kept + (up ? 1 : 0));
    if (magnitude == 0)
        return zero(u.negative);
    const SoftExtended result(magnitude);
    return u.negative ? -result : result;
}

// The truncated magnitude of a finite x below 2^64, and whether a fraction was dropped.
struct Truncated {
    std::uint64_t magnitude;
    bool inexact;
    bool in_range;
};

Truncated truncate_magnitude(SoftExtended x)
{
    const Kind k = kind_of(x);
    if (k == Kind::Zero)
        return {0, false, true};
    if (k != Kind::Finite)
        return {0, false, false};
    const Unpacked u = unpack(x);
    if (u.exponent >= 64)
        return {0, false, false};
    if (u.exponent < 0)
        return {0, true, true};
    const int drop = 63 - u.exponent;
    const std::uint64_t rest = drop == 0 ? 0 : u.significand & ((std::uint64_t{1} << drop) - 1);
    return {u.significand >> drop, rest != 0, true};
}

constexpr std::uint64_t integer_indefinite = top_bit;

} // namespace

SoftExtended trunc(SoftExtended x) { return round_to_integral(x, Direction::TowardZero); }
SoftExtended floor(SoftExtended x) { return round_to_integral(x, Direction::Down); }
SoftExtended ceil(SoftExtended x) { return round_to_integral(x, Direction::Up); }
SoftExtended rint(SoftExtended x) { return round_to_integral(x, Direction::Nearest); }

int ilogb(SoftExtended x)
{
    switch (kind_of(x)) {
    case Kind::Finite:
        return unpack(x).exponent;
    case Kind::Zero:
        soft_flags::raise(soft_flags::invalid);
        return FP_ILOGB0;
    case Kind::Infinite:
        soft_flags::raise(soft_flags::invalid);
        return INT_MAX;
    default:
        soft_flags::raise(soft_flags::invalid);
        return FP_ILOGBNAN;
    }
}

std::int64_t to_int64(SoftExtended x)
{
    const Truncated t = truncate_magnitude(x);
    const bool negative = signbit(x);
    if (!t.in_range || t.magnitude > (negative ? top_bit : top_bit - 1)) {
        soft_flags::raise(soft_flags::invalid);
        return static_cast<std::int64_t>(integer_indefinite);
    }
    if (t.inexact)
        soft_flags::raise(soft_flags::inexact);
    return negative ? static_cast<std::int64_t>(0 - t.magnitude) : static_cast<std::int64_t>(t.magnitude);
}

std::uint64_t to_uint64(SoftExtended x)
{
    const Truncated t = truncate_magnitude(x);
    if (!t.in_range || (signbit(x) && t.magnitude != 0)) {
        soft_flags::raise(soft_flags::invalid);
        return integer_indefinite;
    }
    if (t.inexact)
        soft_flags::raise(soft_flags::inexact);
    return t.magnitude;
}

int fpclassify(SoftExtended x)
{
    switch (kind_of(x)) {
    case Kind::Zero:
        return FP_ZERO;
    case Kind::Infinite:
        return FP_INFINITE;
    case Kind::Finite:
        return (x.sign_exponent() & 0x7FFF) == 0 ? FP_SUBNORMAL : FP_NORMAL;
    default:
        return FP_NAN;
    }
}

} // namespace parvolin
