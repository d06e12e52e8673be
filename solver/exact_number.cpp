#include "solver/exact_number.h"

#include "solver/ascii.h"
#include "solver/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace parvolin {

namespace {

constexpr std::string_view kMinus = "−";


// |n| when it has at most 64 bits, the same on every processor.
bool fits_64_bits(const Integer &n) { return bit_size(n) <= 64; }

// |value| = digits · 10^exponent, digits without trailing zeros.
struct Scaled {
    std::string digits;
    std::int64_t exponent = 0;

    // Plain unless that would carry more than eight zeros besides the
    // significant digits: then d,ddd · 10ⁿ (10⁻¹², 5 · 10¹¹).
    bool power_form() const
    {
        const auto length = static_cast<std::int64_t>(digits.size());
        const std::int64_t plain_length = exponent >= 0 ? length + exponent : std::max(length, -exponent) + 2;
        return plain_length > length + 8;
    }
    // A product "d,ddd · 10ⁿ" needs parentheses as a factor, a bare 10ⁿ does not.
    bool is_product() const { return power_form() && digits != "1"; }
};

// Of |n|.
Scaled scaled_integer(const Integer &n)
{
    Scaled result;
    if (fits_64_bits(n)) {
        std::uint64_t value = magnitude_64(n);
        while (value != 0 && value % 10 == 0) {
            value /= 10;
            ++result.exponent;
        }
        result.digits = integer_text(value);
        return result;
    }
    Integer digits = abs(n);
    result.exponent = static_cast<std::int64_t>(remove_factor(digits, 10));
    result.digits = decimal_string(digits);
    return result;
}

// |value| as a decimal when its denominator is 2^i 5^j.
bool scaled_terminating(const Rational &magnitude, Scaled &result)
{
    std::uint64_t twos = 0, fives = 0;
    const Integer &den = denominator(magnitude);
    if (fits_64_bits(den)) {
        std::uint64_t rest = magnitude_64(den);
        for (; rest % 2 == 0; rest /= 2)
            ++twos;
        for (; rest % 5 == 0; rest /= 5)
            ++fives;
        if (rest != 1)
            return false;
    } else {
        Integer rest = den;
        twos = remove_factor(rest, 2);
        fives = remove_factor(rest, 5);
        if (rest != 1)
            return false;
    }
    const std::uint64_t places = std::max(twos, fives);
    result = scaled_integer(numerator(magnitude) * (power_of_ten(static_cast<std::uint32_t>(places)) / den));
    result.exponent -= static_cast<std::int64_t>(places);
    return true;
}


// ---- factors for split_square ----

// Trial division first, up to here: it takes the many small factors of a
// decimal's denominator at once.
constexpr std::uint64_t trial_bound = 1000;
// Steps of Pollard's rho granted to the factors of a number beyond 64 bits,
// and the largest such number searched at all (the exact working meets
// numbers of thousands of digits).
constexpr std::uint64_t rho_budget = 4'000;
constexpr std::size_t rho_bits = 256;

using u128 = unsigned __int128;

std::uint64_t mul_mod(std::uint64_t a, std::uint64_t b, std::uint64_t n)
{
    return static_cast<std::uint64_t>(static_cast<u128>(a) * b % n);
}

std::uint64_t pow_mod(std::uint64_t base, std::uint64_t exponent, std::uint64_t n)
{
    std::uint64_t result = 1 % n;
    base %= n;
    for (; exponent != 0; exponent >>= 1) {
        if (exponent & 1)
            result = mul_mod(result, base, n);
        base = mul_mod(base, base, n);
    }
    return result;
}

// Miller–Rabin with the first twelve primes as bases: no composite below
// 3.3 · 10²⁴ passes them all, so below 2⁶⁴ the answer is certain.
bool is_prime_64(std::uint64_t n)
{
    constexpr std::uint64_t bases[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
    if (n < 2)
        return false;
    for (const std::uint64_t p : bases) {
        if (n % p == 0)
            return n == p;
    }
    std::uint64_t d = n - 1;
    int s = 0;
    for (; d % 2 == 0; d /= 2)
        ++s;
    for (const std::uint64_t a : bases) {
        std::uint64_t x = pow_mod(a, d, n);
        if (x == 1 || x == n - 1)
            continue;
        bool composite = true;
        for (int r = 1; r < s && composite; ++r) {
            x = mul_mod(x, x, n);
            composite = x != n - 1;
        }
        if (composite)
            return false;
    }
    return true;
}

std::uint64_t gcd_64(std::uint64_t a, std::uint64_t b)
{
    while (b != 0)
        a = std::exchange(b, a % b);
    return a;
}

// A proper divisor of the odd composite n (Pollard's rho, Brent's cycle
// search, products of 128 differences per gcd). Always succeeds: some
// constant c of the map x² + c splits every composite.
std::uint64_t rho_divisor_64(std::uint64_t n)
{
    for (std::uint64_t c = 1;; ++c) {
        const auto f = [&](std::uint64_t x) { return (mul_mod(x, x, n) + c) % n; };
        std::uint64_t y = 2, x = 2, saved = 2, product = 1, g = 1;
        for (std::uint64_t length = 1; g == 1; length *= 2) {
            x = y;
            for (std::uint64_t i = 0; i < length; ++i)
                y = f(y);
            for (std::uint64_t done = 0; done < length && g == 1; done += 128) {
                saved = y;
                for (std::uint64_t i = 0; i < 128 && i < length - done; ++i) {
                    y = f(y);
                    product = mul_mod(product, x > y ? x - y : y - x, n);
                }
                g = gcd_64(product, n);
            }
        }
        if (g == n) { // the batch overshot: one difference at a time
            do {
                saved = f(saved);
                g = gcd_64(x > saved ? x - saved : saved - x, n);
            } while (g == 1);
        }
        if (g != n)
            return g;
    }
}

void prime_factors_64(std::uint64_t n, std::vector<Integer> &out)
{
    if (n == 1)
        return;
    if (is_prime_64(n)) {
        out.push_back(integer_from_64(n));
        return;
    }
    const std::uint64_t d = rho_divisor_64(n);
    prime_factors_64(d, out);
    prime_factors_64(n / d, out);
}

// Pollard's rho in big integers within `budget` steps: a proper divisor
// of n, or 0 when none was found in time. The differences of a block of
// steps are multiplied together and meet n in one gcd, a multiplication
// costing far less than a gcd; a block that reaches n at once is stepped
// through again one by one.
Integer rho_divisor(const Integer &n, std::uint64_t &budget)
{
    constexpr int block = 32;
    for (std::uint32_t c = 1; budget != 0 && c < 20; ++c) {
        const auto step = [&](Integer &v) { v = (v * v + c) % n; };
        Integer x = 2, y = 2, g = 1;
        while (g == 1 && budget != 0) {
            const Integer x_before = x, y_before = y;
            Integer product = 1;
            int steps = 0;
            for (; steps < block && budget != 0; ++steps) {
                --budget;
                step(x);
                step(y);
                step(y);
                product = product * abs(x - y) % n;
            }
            g = gcd(product, n);
            if (g == n) {
                x = x_before;
                y = y_before;
                g = 1;
                for (int i = 0; i < steps && g == 1; ++i) {
                    step(x);
                    step(y);
                    step(y);
                    const Integer difference = abs(x - y);
                    g = gcd(difference, n);
                }
            }
        }
        if (g != 1 && g != n)
            return g;
    }
    return 0;
}

// The prime factors of n (no factor below trial_bound), all of them when n
// fits in 64 bits; beyond, as far as `budget` goes, a part left unsplit
// is put in whole.
void collect_factors(const Integer &n, std::vector<Integer> &out, std::uint64_t &budget)
{
    if (n == 1)
        return;
    if (fits_64_bits(n)) {
        std::vector<Integer> primes;
        prime_factors_64(magnitude_64(n), primes);
        out.insert(out.end(), primes.begin(), primes.end());
        return;
    }
    if (is_perfect_square(n)) {
        const Integer root = isqrt(n);
        collect_factors(root, out, budget);
        collect_factors(root, out, budget);
        return;
    }
    if (bit_size(n) > rho_bits || is_probable_prime(n, 30)) {
        out.push_back(n);
        return;
    }
    const Integer d = rho_divisor(n, budget);
    if (d == 0) {
        out.push_back(n);
        return;
    }
    collect_factors(d, out, budget);
    collect_factors(n / d, out, budget);
}

void put_scaled(Math &math, const Scaled &scaled, const NumberFormat &format)
{
    const std::string &digits = scaled.digits;
    const auto length = static_cast<std::int64_t>(digits.size());
    const std::int64_t exponent = scaled.exponent;
    std::string text;
    if (scaled.power_form()) {
        const std::int64_t shown_exponent = exponent + length - 1;
        if (digits != "1") {
            text += digits[0];
            if (length > 1) {
                text += format.separator;
                text.append(digits, 1);
            }
            text += " · ";
        }
        text += "10";
        math.text(text);
        math.mark(MathMark::PowerBegin);
        if (shown_exponent < 0)
            math.text(kMinus).text(integer_text(-shown_exponent));
        else
            math.text(integer_text(shown_exponent));
        math.mark(MathMark::PowerEnd);
        return;
    }
    if (exponent >= 0) {
        if (exponent == 0) {
            math.text(digits);
            return;
        }
        text = digits;
        text.append(static_cast<std::size_t>(exponent), '0');
    } else if (-exponent >= length) {
        text = "0";
        text += format.separator;
        text.append(static_cast<std::size_t>(-exponent - length), '0');
        text += digits;
    } else {
        text.assign(digits, 0, static_cast<std::size_t>(length + exponent));
        text += format.separator;
        text.append(digits, static_cast<std::size_t>(length + exponent));
    }
    math.text(text);
}

// |n|, whatever its sign.
void put_integer(Math &math, const Integer &magnitude, const NumberFormat &format)
{
    put_scaled(math, scaled_integer(magnitude), format);
}

void open_if(Math &math, bool wrap)
{
    if (wrap)
        math.text("(");
}

void close_if(Math &math, bool wrap)
{
    if (wrap)
        math.text(")");
}

// u + v√m with integers, as written: "−1 + √3", "2√3", "−√3".
void put_surd_sum(Math &math, const Integer &u, const Integer &v, const Integer &m, const NumberFormat &format,
                  bool plus_minus = false)
{
    const NumberFormat integers{format.separator, NumberStyle::Fractions};
    if (u != 0) {
        if (u < 0)
            math.text(kMinus);
        put_integer(math, u, integers); // by magnitude
        math.text(plus_minus ? " ± " : v < 0 ? " − " : " + ");
    } else if (plus_minus) {
        math.text("±");
    } else if (v < 0) {
        math.text(kMinus);
    }
    if (v != 1 && v != -1)
        put_integer(math, v, integers);
    math.mark(MathMark::RootBegin);
    put_integer(math, m, integers);
    math.mark(MathMark::RootEnd);
}

} // namespace

Rational parse_exact(std::string_view text, char decimal_separator)
{
    const CoefficientText scanned = scan_coefficient(text, decimal_separator);
    if (scanned.whole.size() + scanned.fraction.size() > max_exact_digits)
        throw TooManyDigitsError();

    std::string digits;
    digits.reserve(scanned.whole.size() + scanned.fraction.size());
    digits.append(scanned.whole).append(scanned.fraction);
    Integer top = integer_from_digits(digits);
    Integer bottom = 1;
    const std::int64_t power = scanned.exponent - static_cast<std::int64_t>(scanned.fraction.size());
    if (power >= 0)
        top *= power_of_ten(static_cast<std::uint32_t>(power));
    else
        bottom = power_of_ten(static_cast<std::uint32_t>(-power));
    Rational value = ratio(top, bottom);
    if (scanned.negative)
        value = -value;
    return value;
}

void split_square(const Integer &n, Integer &k, Integer &m)
{
    k = 1;
    m = 1;
    if (n == 0) {
        k = 0;
        return;
    }
    Integer rest;
    const auto take = [&](const Integer &prime, std::uint64_t count) {
        k *= power(prime, static_cast<std::uint32_t>(count / 2));
        if (count % 2 == 1)
            m *= prime;
    };
    if (fits_64_bits(n)) {
        // The same trial division in machine words: k² · m = |n| keeps both in 64 bits.
        std::uint64_t small = magnitude_64(n), small_k = 1, small_m = 1;
        for (std::uint64_t d = 2; d < trial_bound && d * d <= small; d += d == 2 ? 1 : 2) {
            unsigned count = 0;
            for (; small % d == 0; small /= d)
                ++count;
            for (unsigned i = 0; i < count / 2; ++i)
                small_k *= d;
            if (count % 2 == 1)
                small_m *= d;
        }
        k = integer_from_64(small_k);
        m = integer_from_64(small_m);
        if (small == 1)
            return;
        if (small < trial_bound * trial_bound) { // no divisor below its root: a prime
            m *= integer_from_64(small);
            return;
        }
        rest = integer_from_64(small);
    } else {
        rest = abs(n);
        for (std::uint64_t d = 2; d < trial_bound; d += d == 2 ? 1 : 2) {
            if (rest < d * d)
                break;
            if (rest % d != 0)
                continue;
            // all at once: a denominator 10^k brings thousands of 2s and 5s
            take(integer_from_64(d), remove_factor(rest, static_cast<std::uint32_t>(d)));
        }
        if (rest == 1)
            return;
        if (rest < trial_bound * trial_bound) { // no divisor below its root: a prime
            m *= rest;
            return;
        }
    }
    std::vector<Integer> factors; // primes, and beyond 64 bits perhaps a composite rest
    std::uint64_t budget = rho_budget;
    collect_factors(rest, factors, budget);
    std::sort(factors.begin(), factors.end());
    for (std::size_t i = 0; i < factors.size();) {
        std::size_t j = i;
        while (j < factors.size() && factors[j] == factors[i])
            ++j;
        if (j - i == 1 && is_perfect_square(factors[i])) // an unsplit p²
            k *= isqrt(factors[i]);
        else
            take(factors[i], j - i);
        i = j;
    }
}

Surd make_surd(const Rational &value)
{
    Surd result;
    result.u = numerator(value);
    result.w = denominator(value);
    return result;
}

Surd make_surd(const Rational &p, const Rational &t, const Rational &r)
{
    if (t == 0 || r == 0)
        return make_surd(p);
    // √(g/h) = √(g·h) / h = k√m / h
    Integer k, m;
    split_square(numerator(r) * denominator(r), k, m);
    const Rational coefficient = t * ratio(k, denominator(r));
    if (m == 1)
        return make_surd(p + coefficient);
    Surd result;
    result.w = lcm(denominator(p), denominator(coefficient));
    result.u = numerator(p) * (result.w / denominator(p));
    result.v = numerator(coefficient) * (result.w / denominator(coefficient));
    result.m = m;
    return result;
}

int sign(const Surd &value)
{
    if (value.v == 0)
        return sgn(value.u);
    // u + v√m against 0: compare u² with v²m when the signs differ.
    if (value.u == 0 || sgn(value.u) == sgn(value.v))
        return sgn(value.v);
    const Integer left = value.u * value.u;
    const Integer right = value.v * value.v * value.m;
    return left > right ? sgn(value.u) : sgn(value.v);
}

void put_number(Math &math, const Rational &value, const NumberFormat &format, Wrap wrap)
{
    const bool negative = value < 0;
    const Rational &magnitude = value; // the integers below are written by magnitude
    Scaled scaled;
    const bool fraction = denominator(magnitude) != 1 &&
                          (format.style == NumberStyle::Fractions || !scaled_terminating(magnitude, scaled));
    if (denominator(magnitude) == 1)
        scaled = scaled_integer(numerator(magnitude));
    const bool parentheses =
        wrap != Wrap::None && (negative || (!fraction && scaled.is_product()) ||
                               (wrap == Wrap::Base && (fraction || scaled.power_form()))); // (10¹⁵)², not 10¹⁵²
    open_if(math, parentheses);
    if (negative)
        math.text(kMinus);
    if (fraction) {
        math.mark(MathMark::FractionBegin);
        put_integer(math, numerator(magnitude), format);
        math.mark(MathMark::FractionBar);
        put_integer(math, denominator(magnitude), format);
        math.mark(MathMark::FractionEnd);
    } else {
        put_scaled(math, scaled, format);
    }
    close_if(math, parentheses);
}

void put_number(Math &math, const Surd &value, const NumberFormat &format, Wrap wrap)
{
    if (value.is_rational()) {
        put_number(math, value.rational(), format, wrap);
        return;
    }
    if (value.w == 1) {
        const bool parentheses = wrap != Wrap::None && (value.u != 0 || value.v < 0);
        open_if(math, parentheses);
        put_surd_sum(math, value.u, value.v, value.m, format);
        close_if(math, parentheses);
        return;
    }
    const bool negative_root = value.u == 0 && value.v < 0;
    const bool parentheses = wrap != Wrap::None && negative_root;
    open_if(math, parentheses);
    if (negative_root)
        math.text(kMinus);
    math.mark(MathMark::FractionBegin);
    put_surd_sum(math, value.u, negative_root ? Integer(-value.v) : value.v, value.m, format);
    math.mark(MathMark::FractionBar);
    put_integer(math, value.w, format);
    math.mark(MathMark::FractionEnd);
    close_if(math, parentheses);
}

void put_plus_minus(Math &math, const Surd &larger, const NumberFormat &format)
{
    if (larger.w == 1) {
        put_surd_sum(math, larger.u, larger.v, larger.m, format, true);
        return;
    }
    math.mark(MathMark::FractionBegin);
    put_surd_sum(math, larger.u, larger.v, larger.m, format, true);
    math.mark(MathMark::FractionBar);
    put_integer(math, larger.w, format);
    math.mark(MathMark::FractionEnd);
}

std::string sympy_text(const Rational &value) { return decimal_string(value); }

std::string sympy_text(const Surd &value)
{
    if (value.is_rational())
        return sympy_text(value.rational());
    std::string text;
    if (value.u != 0) {
        text += decimal_string(value.u);
        text += value.v < 0 ? " - " : " + ";
    } else if (value.v < 0) {
        text += '-';
    }
    const Integer v = abs(value.v);
    if (v != 1) {
        text += decimal_string(v);
        text += '*';
    }
    text += "sqrt(" + decimal_string(value.m) + ")";
    if (value.w == 1)
        return text;
    if (value.u == 0)
        return text + "/" + decimal_string(value.w);
    return "(" + text + ")/" + decimal_string(value.w);
}

namespace {

using i128 = __int128;

// n as an Integer, from 128 bits; false beyond 64.
bool set_from_128(i128 n, Integer &out)
{
    const u128 magnitude = n < 0 ? -static_cast<u128>(n) : static_cast<u128>(n);
    if (magnitude >> 64 != 0)
        return false;
    out = integer_from_64(static_cast<std::uint64_t>(magnitude));
    if (n < 0)
        out = -out;
    return true;
}

// ⌊√x⌋ of x < 2^106: the double's root is off by less than one there.
std::uint64_t isqrt_small(u128 x)
{
    auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(x)));
    while (root != 0 && static_cast<u128>(root) * root > x)
        --root;
    while (static_cast<u128>(root + 1) * (root + 1) <= x)
        ++root;
    return root;
}

// round_to_places in 128-bit arithmetic, for the small numbers of a school
// problem (parts of at most 40 bits, at most 18 places); false, with
// `result` untouched, when they do not fit.
bool round_small(const Surd &value, int n, RoundedValue &result)
{
    constexpr std::size_t part_bits = 40;
    if (n < 0 || n > 18 || bit_size(value.u) > part_bits || bit_size(value.v) > part_bits ||
        bit_size(value.m) > part_bits || bit_size(value.w) > part_bits)
        return false;
    std::uint64_t scale = 1;
    for (int i = 0; i < n; ++i)
        scale *= 10;
    const auto u = static_cast<i128>(magnitude_64(value.u)) * sgn(value.u);
    const auto w = static_cast<i128>(magnitude_64(value.w));
    i128 scaled = 0;
    bool exact = false;
    if (value.is_rational()) {
        const i128 top = (u < 0 ? -u : u) * scale; // below 2^104
        const i128 remainder = top % w;
        scaled = top / w + (2 * remainder >= w ? 1 : 0);
        exact = remainder == 0;
        if (u < 0)
            scaled = -scaled;
    } else {
        // as below: ⌊(2u·10^n + w ± √(4v²m·10^2n)) / 2w⌋, 10^2n below 2^(7n)
        const std::uint64_t v = magnitude_64(value.v);
        const std::uint64_t m = magnitude_64(value.m);
        if (2 + 2 * bit_size(value.v) + bit_size(value.m) + 7 * static_cast<std::size_t>(n) > 105)
            return false;
        const u128 radicand = 4 * static_cast<u128>(v) * v * m * scale * scale;
        const auto root = static_cast<i128>(isqrt_small(radicand));
        const i128 top = 2 * u * scale + w + (sgn(value.v) > 0 ? root : -root - 1);
        const i128 bottom = 2 * w;
        scaled = top / bottom;
        if (top % bottom != 0 && top < 0)
            --scaled;
    }
    Integer big;
    if (!set_from_128(scaled, big))
        return false;
    result.scaled = std::move(big);
    result.exact = exact;
    return true;
}

} // namespace

RoundedValue round_to_places(const Surd &value, int n)
{
    RoundedValue small;
    if (round_small(value, n, small))
        return small;
    const Integer scale = power_of_ten(static_cast<std::uint32_t>(n));
    RoundedValue result;
    if (value.is_rational()) {
        Integer remainder;
        divide_truncating(Integer(abs(value.u) * scale), value.w, result.scaled, remainder);
        result.exact = remainder == 0;
        if (2 * remainder >= value.w)
            ++result.scaled;
        if (value.u < 0)
            result.scaled = -result.scaled;
        return result;
    }
    // value·10^n + 1/2 = (2u·10^n + w ± √(4v²m·10^2n)) / 2w, never a half
    // itself, so its floor is the rounded value; the floor of the root
    // alone decides it, as √ of a non-square is never a whole number.
    const Integer root = isqrt(4 * value.v * value.v * value.m * scale * scale);
    Integer top = 2 * value.u * scale + value.w;
    top += value.v > 0 ? Integer(root) : Integer(-root - 1);
    const Integer bottom = 2 * value.w;
    result.scaled = floor_divide(top, bottom);
    return result;
}

std::string decimal_text(const Integer &scaled, int n, char separator, bool trim)
{
    std::string digits = decimal_string(Integer(abs(scaled)));
    if (digits.size() <= static_cast<std::size_t>(n))
        digits.insert(0, static_cast<std::size_t>(n) + 1 - digits.size(), '0');
    std::string text = scaled < 0 ? std::string(kMinus) : std::string();
    text.append(digits, 0, digits.size() - static_cast<std::size_t>(n));
    std::string fraction = digits.substr(digits.size() - static_cast<std::size_t>(n));
    if (trim)
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
    if (!fraction.empty()) {
        text += separator;
        text += fraction;
    }
    return text;
}

} // namespace parvolin
