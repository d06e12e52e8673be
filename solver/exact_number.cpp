#include "solver/exact_number.h"

#include <utility>

namespace parvolin {

namespace {

constexpr std::string_view kMinus = "−";

bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }

mpz_class power_of_ten(unsigned long exponent)
{
    mpz_class result;
    mpz_ui_pow_ui(result.get_mpz_t(), 10, exponent);
    return result;
}

// Removes every factor `factor` from n and returns how many there were.
unsigned long remove_factor(mpz_class &n, unsigned long factor)
{
    if (n == 0)
        return 0;
    const mpz_class f = factor;
    return mpz_remove(n.get_mpz_t(), n.get_mpz_t(), f.get_mpz_t());
}

// A text of digits, plain unless it would carry more than eight zeros
// besides its significant digits: then d,ddd · 10ⁿ (10⁻¹², 5 · 10¹¹).

// |value| = digits · 10^exponent, digits without trailing zeros.
void put_scaled_digits(Math &math, const std::string &digits, long exponent, const NumberFormat &format, bool &scientific)
{
    scientific = false;
    const long length = static_cast<long>(digits.size());
    // Characters of the plain form: the digits, zeros after them or before them.
    const long plain_length = exponent >= 0 ? length + exponent : std::max(length, -exponent) + 2;
    std::string text;
    if (plain_length > length + 8) {
        // a product "d,ddd · 10ⁿ" needs parentheses as a factor, a bare 10ⁿ does not
        scientific = digits != "1";
        const long shown_exponent = exponent + length - 1;
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
            math.text(kMinus).text(std::to_string(-shown_exponent));
        else
            math.text(std::to_string(shown_exponent));
        math.mark(MathMark::PowerEnd);
        return;
    }
    if (exponent >= 0) {
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

void put_integer(Math &math, const mpz_class &magnitude, const NumberFormat &format, bool &scientific)
{
    mpz_class digits = magnitude;
    const long zeros = static_cast<long>(remove_factor(digits, 10));
    put_scaled_digits(math, digits.get_str(), zeros, format, scientific);
}

// |value| as a decimal when its denominator is 2^i 5^j; false otherwise.
bool put_terminating(Math &math, const mpq_class &magnitude, const NumberFormat &format, bool &scientific)
{
    mpz_class rest = magnitude.get_den();
    const unsigned long twos = remove_factor(rest, 2);
    const unsigned long fives = remove_factor(rest, 5);
    if (rest != 1)
        return false;
    const unsigned long places = std::max(twos, fives);
    mpz_class digits = magnitude.get_num();
    digits *= power_of_ten(places) / magnitude.get_den();
    const long zeros = static_cast<long>(remove_factor(digits, 10));
    put_scaled_digits(math, digits.get_str(), zeros - static_cast<long>(places), format, scientific);
    return true;
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
void put_surd_sum(Math &math, const mpz_class &u, const mpz_class &v, const mpz_class &m, const NumberFormat &format,
                  bool plus_minus = false)
{
    bool scientific = false;
    const NumberFormat integers{format.separator, NumberStyle::Fractions};
    if (u != 0) {
        if (u < 0)
            math.text(kMinus);
        put_integer(math, abs(u), integers, scientific);
        math.text(plus_minus ? " ± " : v < 0 ? " − " : " + ");
    } else if (plus_minus) {
        math.text("±");
    } else if (v < 0) {
        math.text(kMinus);
    }
    if (abs(v) != 1)
        put_integer(math, abs(v), integers, scientific);
    math.mark(MathMark::RootBegin);
    put_integer(math, m, integers, scientific);
    math.mark(MathMark::RootEnd);
}

} // namespace

TooManyDigitsError::TooManyDigitsError()
    : Failure("Koeficient má příliš mnoho číslic na přesný postup řešení (nejvýše 200 000).")
{
}

mpq_class parse_exact(std::string_view text, char decimal_separator)
{
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    std::string digits;
    bool read_mantissa = false;
    long fraction_digits = 0;
    const auto take_digits = [&](bool fraction) {
        const std::size_t start = i;
        while (i < size && is_digit(text[i]))
            ++i;
        if (digits.size() + (i - start) > max_exact_digits)
            throw TooManyDigitsError();
        digits.append(text.substr(start, i - start));
        if (fraction)
            fraction_digits += static_cast<long>(i - start);
        read_mantissa = read_mantissa || i > start;
    };
    take_digits(false);
    if (i < size && text[i] == decimal_separator) {
        read_mantissa = true;
        ++i;
        take_digits(true);
    }
    if (!read_mantissa)
        throw ConvertError(text);

    // The exponent is read as the number text reads it: it stops at the
    // digit that brings it to 500 or more, and a digit left over is refused.
    long exponent = 0;
    if (i < size && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negative_exponent = false;
        if (i < size && (text[i] == '+' || text[i] == '-')) {
            negative_exponent = text[i] == '-';
            ++i;
        }
        while (i < size && is_digit(text[i]) && exponent < 500) {
            exponent = exponent * 10 + (text[i] - '0');
            ++i;
        }
        if (negative_exponent)
            exponent = -exponent;
    }
    while (i < size && text[i] == ' ')
        ++i;
    if (i != size)
        throw ConvertError(text);

    mpq_class value;
    if (!digits.empty())
        value.get_num().set_str(digits, 10);
    const long power = exponent - fraction_digits;
    if (power >= 0)
        value.get_num() *= power_of_ten(static_cast<unsigned long>(power));
    else
        value.get_den() = power_of_ten(static_cast<unsigned long>(-power));
    value.canonicalize();
    if (negative)
        value = -value;
    return value;
}

void split_square(const mpz_class &n, mpz_class &k, mpz_class &m)
{
    k = 1;
    m = 1;
    if (n == 0) {
        k = 0;
        return;
    }
    mpz_class rest = abs(n);
    const unsigned long limit = rest.fits_ulong_p() ? 65536 : 1000;
    for (unsigned long d = 2; d <= limit; d += d == 2 ? 1 : 2) {
        if (rest < d * d)
            break;
        if (!mpz_divisible_ui_p(rest.get_mpz_t(), d))
            continue;
        unsigned long count = 0;
        do {
            mpz_divexact_ui(rest.get_mpz_t(), rest.get_mpz_t(), d);
            ++count;
        } while (mpz_divisible_ui_p(rest.get_mpz_t(), d));
        mpz_class factor;
        mpz_ui_pow_ui(factor.get_mpz_t(), d, count / 2);
        k *= factor;
        if (count % 2 == 1)
            m *= d;
    }
    if (rest == 1)
        return;
    if (mpz_perfect_square_p(rest.get_mpz_t()))
        k *= sqrt(rest);
    else
        m *= rest;
}

mpq_class ratio(const mpz_class &p, const mpz_class &q)
{
    mpq_class result(p, q);
    result.canonicalize();
    return result;
}

Surd make_surd(const mpq_class &value)
{
    Surd result;
    result.u = value.get_num();
    result.w = value.get_den();
    return result;
}

Surd make_surd(const mpq_class &p, const mpq_class &t, const mpq_class &r)
{
    if (t == 0 || r == 0)
        return make_surd(p);
    // √(g/h) = √(g·h) / h = k√m / h
    mpz_class k, m;
    split_square(r.get_num() * r.get_den(), k, m);
    const mpq_class coefficient = t * ratio(k, r.get_den());
    if (m == 1)
        return make_surd(p + coefficient);
    Surd result;
    mpz_lcm(result.w.get_mpz_t(), p.get_den().get_mpz_t(), coefficient.get_den().get_mpz_t());
    result.u = p.get_num() * (result.w / p.get_den());
    result.v = coefficient.get_num() * (result.w / coefficient.get_den());
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
    const mpz_class left = value.u * value.u;
    const mpz_class right = value.v * value.v * value.m;
    return left > right ? sgn(value.u) : sgn(value.v);
}

void put_number(Math &math, const mpq_class &value, const NumberFormat &format, Wrap wrap)
{
    const bool negative = value < 0;
    const mpq_class magnitude = abs(value);
    Math body;
    bool scientific = false;
    bool fraction = false;
    if (magnitude.get_den() == 1) {
        put_integer(body, magnitude.get_num(), format, scientific);
    } else if (format.style == NumberStyle::Fractions || !put_terminating(body, magnitude, format, scientific)) {
        fraction = true;
        body.mark(MathMark::FractionBegin);
        put_integer(body, magnitude.get_num(), format, scientific);
        body.mark(MathMark::FractionBar);
        put_integer(body, magnitude.get_den(), format, scientific);
        body.mark(MathMark::FractionEnd);
        scientific = false;
    }
    const bool parentheses =
        wrap != Wrap::None && (negative || scientific || (wrap == Wrap::Base && fraction));
    open_if(math, parentheses);
    if (negative)
        math.text(kMinus);
    math.append(body);
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
    bool scientific = false;
    const bool negative_root = value.u == 0 && value.v < 0;
    const bool parentheses = wrap != Wrap::None && negative_root;
    open_if(math, parentheses);
    if (negative_root)
        math.text(kMinus);
    math.mark(MathMark::FractionBegin);
    put_surd_sum(math, value.u, negative_root ? mpz_class(-value.v) : value.v, value.m, format);
    math.mark(MathMark::FractionBar);
    put_integer(math, value.w, format, scientific);
    math.mark(MathMark::FractionEnd);
    close_if(math, parentheses);
}

void put_plus_minus(Math &math, const Surd &larger, const NumberFormat &format)
{
    if (larger.w == 1) {
        put_surd_sum(math, larger.u, larger.v, larger.m, format, true);
        return;
    }
    bool scientific = false;
    math.mark(MathMark::FractionBegin);
    put_surd_sum(math, larger.u, larger.v, larger.m, format, true);
    math.mark(MathMark::FractionBar);
    put_integer(math, larger.w, format, scientific);
    math.mark(MathMark::FractionEnd);
}

std::string sympy_text(const mpq_class &value) { return value.get_str(); }

std::string sympy_text(const Surd &value)
{
    if (value.is_rational())
        return sympy_text(value.rational());
    std::string text;
    if (value.u != 0) {
        text += value.u.get_str();
        text += value.v < 0 ? " - " : " + ";
    } else if (value.v < 0) {
        text += '-';
    }
    const mpz_class v = abs(value.v);
    if (v != 1) {
        text += v.get_str();
        text += '*';
    }
    text += "sqrt(" + value.m.get_str() + ")";
    if (value.w == 1)
        return text;
    return "(" + text + ")/" + value.w.get_str();
}

RoundedValue round_to_places(const Surd &value, int n)
{
    const mpz_class scale = power_of_ten(static_cast<unsigned long>(n));
    RoundedValue result;
    if (value.is_rational()) {
        const mpz_class numerator = abs(value.u) * scale;
        mpz_class remainder;
        mpz_tdiv_qr(result.scaled.get_mpz_t(), remainder.get_mpz_t(), numerator.get_mpz_t(), value.w.get_mpz_t());
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
    const mpz_class root = sqrt(4 * value.v * value.v * value.m * scale * scale);
    mpz_class top = 2 * value.u * scale + value.w;
    top += value.v > 0 ? mpz_class(root) : mpz_class(-root - 1);
    const mpz_class bottom = 2 * value.w;
    mpz_fdiv_q(result.scaled.get_mpz_t(), top.get_mpz_t(), bottom.get_mpz_t());
    return result;
}

std::string decimal_text(const mpz_class &scaled, int n, char separator, bool trim)
{
    std::string digits = mpz_class(abs(scaled)).get_str();
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
