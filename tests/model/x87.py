"""Binary floating point emulated with Python integers.

A value is a pair (m, e) of integers meaning m * 2**e; zero is (0, 0). The sign of a
zero is not kept: nothing the report writes depends on it (a zero is always written
"0", and no operation here divides by a zero).

Two formats matter: the x87 extended format (64-bit significand, 15-bit exponent)
in which every operation is carried out, and IEEE double (53-bit significand) to
which coefficients, the discriminant and the roots are stored. Every operation below
is the exact result rounded once to the format, to nearest with ties to even, with
gradual underflow.
"""

from math import isqrt

EXT_BITS, EXT_EMIN, EXT_EMAX = 64, -16382, 16383
DBL_BITS, DBL_EMIN, DBL_EMAX = 53, -1022, 1023

ZERO = (0, 0)


class ExtendedOverflow(Exception):
    """An extended result beyond the largest finite extended value (the infinity case)."""


class Failure(Exception):
    """A floating-point or conversion failure; the message is the program's own text."""

    def __init__(self, message):
        super().__init__(message)
        self.message = message


OVERFLOW = "Floating point overflow"
INVALID = "Invalid floating point operation"


def normalise(m, e):
    if m == 0:
        return ZERO
    tz = (m & -m).bit_length() - 1
    return (m >> tz, e + tz)


def round_to_bits(m, e, bits, emin):
    """The value nearest to m * 2**e with a `bits`-bit significand, never finer than the
    subnormal quantum 2**(emin - bits + 1); ties to the even significand."""
    if m == 0:
        return ZERO
    neg = m < 0
    a = -m if neg else m
    quantum = max(e + a.bit_length() - bits, emin - bits + 1)
    if quantum > e:
        shift = quantum - e
        q = a >> shift
        rest = a - (q << shift)
        half = 1 << (shift - 1)
        if rest > half or (rest == half and q & 1):
            q += 1
        a, e = q, quantum
    return normalise(-a if neg else a, e)


def top_exponent(x):
    """e such that 2**e <= |x| < 2**(e+1); x must not be zero."""
    m, e = x
    return e + abs(m).bit_length() - 1


def ext(m, e):
    """Round an exact dyadic value to extended; beyond the range raises ExtendedOverflow."""
    r = round_to_bits(m, e, EXT_BITS, EXT_EMIN)
    if r[0] and top_exponent(r) > EXT_EMAX:
        raise ExtendedOverflow()
    return r


def to_double(x):
    """Store an extended value as a double; beyond the double range is the overflow failure."""
    r = round_to_bits(x[0], x[1], DBL_BITS, DBL_EMIN)
    if r[0] and top_exponent(r) > DBL_EMAX:
        raise Failure(OVERFLOW)
    return r


def neg(x):
    return (-x[0], x[1])


def mul(x, y):
    return ext(x[0] * y[0], x[1] + y[1])


def add(x, y):
    if x[0] == 0:
        return ext(*y)
    if y[0] == 0:
        return ext(*x)
    e = min(x[1], y[1])
    return ext((x[0] << (x[1] - e)) + (y[0] << (y[1] - e)), e)


def sub(x, y):
    return add(x, neg(y))


def div(x, y):
    """x / y rounded to extended; y must not be zero."""
    if x[0] == 0:
        return ZERO
    n, d = abs(x[0]), abs(y[0])
    # A quotient of at least 67 bits plus a sticky bit below it rounds like the exact one.
    shift = max(0, EXT_BITS + 4 - (n.bit_length() - d.bit_length()))
    q, r = divmod(n << shift, d)
    q = 2 * q + (1 if r else 0)
    if (x[0] < 0) != (y[0] < 0):
        q = -q
    return ext(q, x[1] - y[1] - shift - 1)


def sqrt(x):
    """Correctly rounded extended square root of a positive value."""
    m, e = x
    if e & 1:
        m <<= 1
        e -= 1
    # Scale so that the integer root has at least 67 bits; the remainder is the sticky bit.
    k = max(0, (2 * (EXT_BITS + 3) - m.bit_length()) // 2 + 1)
    n = m << (2 * k)
    r = isqrt(n)
    sticky = 1 if n != r * r else 0
    return ext(2 * r + sticky, e // 2 - k - 1)


def from_int(k):
    return normalise(k, 0)


def is_zero(x):
    return x[0] == 0


def sign(x):
    return (x[0] > 0) - (x[0] < 0)


def compare(x, y):
    """-1, 0 or 1 as x is below, equal to or above y (exact)."""
    e = min(x[1], y[1])
    d = (x[0] << (x[1] - e)) - (y[0] << (y[1] - e))
    return (d > 0) - (d < 0)


def trunc(x):
    """The integer part, cut toward zero."""
    m, e = x
    if e >= 0:
        return m << e
    a = abs(m) >> -e
    return -a if m < 0 else a


def fraction_above_half(x):
    """For x >= 0: is x - trunc(x) strictly greater than one half?"""
    m, e = x
    if e >= 0:
        return False
    frac = m & ((1 << -e) - 1)
    return frac > (1 << (-e - 1))


def round_to_integer(x):
    """Nearest integer to x >= 0, ties to even (the FPU's rounding of an extended value)."""
    m, e = x
    if e >= 0:
        return m << e
    q = m >> -e
    rest = m - (q << -e)
    half = 1 << (-e - 1)
    if rest > half or (rest == half and q & 1):
        q += 1
    return q


# The extended values nearest to the powers of ten used by the scaling.
_POW10 = {}


def pow10(k):
    f = _POW10.get(k)
    if f is None:
        f = ext(10 ** k, 0)
        _POW10[k] = f
    return f


def scale10(x, n):
    """x * 10**n the way the number conversions do it: at most three extended
    multiplications or divisions, by 10**(m mod 32), 10**(32 * ((m div 32) mod 16))
    and 10**(512 * (m div 512)), each factor the extended value nearest the power."""
    if n == 0:
        return x
    if abs(n) >= 5120:
        if n > 0:
            raise ExtendedOverflow()
        return ZERO
    m = abs(n)
    op = mul if n > 0 else div
    x = op(x, pow10(m % 32))
    if m >= 32 and (m // 32) % 16:
        x = op(x, pow10(32 * ((m // 32) % 16)))
    if m >= 512:
        x = op(x, pow10(512 * (m // 512)))
    return x
