"""A second, independent implementation of Parvolin's arithmetic and report texts.

It exists to be compared with the real program (differential.py): the same problem
must give the same seven lines, byte for byte, or the same failure message. The
arithmetic is done exactly with integers (x87.py) and rounded where the program
rounds, so agreement is expected to the last bit, not approximately.
"""

from x87 import (INVALID, ZERO, ExtendedOverflow, Failure, add, compare, div,
                 fraction_above_half, from_int, is_zero, mul, neg, round_to_integer,
                 scale10, sign, sqrt, sub, to_double, top_exponent, trunc)

TEN = from_int(10)
TWO = from_int(2)
FOUR = from_int(4)
HALF_2_63 = 1 << 63


# ---------------------------------------------------------------- number text

def quoted(text):
    """A text longer than 64 characters as its first 24, "…", its last 24 and its length."""
    if len(text) <= 64:
        return text
    count = "{:,}".format(len(text)).replace(",", " ")
    return "%s…%s (%s znaků)" % (text[:24], text[-24:], count)


def not_a_number_message(text):
    return "'%s' is not a valid floating point value" % quoted(text)


def parse_coefficient(text, sep):
    """Coefficient text -> double, or Failure. The empty text is the caller's 0.0."""
    if text == "":
        return ZERO
    n = len(text)
    i = 0
    while i < n and text[i] == " ":
        i += 1
    negative = False
    if i < n and text[i] in "+-":
        negative = text[i] == "-"
        i += 1
    digits = []
    after_sep = 0
    mantissa_seen = False
    while i < n and "0" <= text[i] <= "9":
        digits.append(ord(text[i]) - 48)
        i += 1
        mantissa_seen = True
    if i < n and text[i] == sep:
        i += 1
        mantissa_seen = True
        while i < n and "0" <= text[i] <= "9":
            digits.append(ord(text[i]) - 48)
            after_sep += 1
            i += 1
    if not mantissa_seen:
        raise Failure(not_a_number_message(text))
    exponent = 0
    if i < n and text[i] in "Ee":
        i += 1
        exp_negative = False
        if i < n and text[i] in "+-":
            exp_negative = text[i] == "-"
            i += 1
        # Reading stops right after the digit that takes the exponent to 500 or more,
        # so a longer exponent leaves digits over and the text is refused.
        while i < n and "0" <= text[i] <= "9" and exponent < 500:
            exponent = exponent * 10 + ord(text[i]) - 48
            i += 1
        if exp_negative:
            exponent = -exponent
    while i < n and text[i] == " ":
        i += 1
    if i != n:
        raise Failure(not_a_number_message(text))
    # Once the next digit would take the accumulator past the extended range,
    # it and all after it only shift the power.
    m = ZERO
    dropped = 0
    for d in digits:
        if dropped == 0:
            try:
                m = add(mul(m, TEN), from_int(d))
                continue
            except ExtendedOverflow:
                pass
        dropped += 1
    try:
        value = scale10(m, exponent - after_sep + dropped)
    except ExtendedOverflow:
        raise Failure(not_a_number_message(text)) from None
    if negative:
        value = neg(value)
    return to_double(value)


def _decimal_digits(x):
    """|x| != 0 -> (S, E): 10**17 <= S < 10**18 and |x| ~ 0.S * 10**E."""
    e2 = top_exponent(x)
    exp10 = (e2 * 19728) // 65536 + 1
    s = round_to_integer(scale10(x, 18 - exp10))
    if s >= 10 ** 18:
        s = round_to_integer(div(from_int(s), TEN))
        exp10 += 1
    elif s < 10 ** 17:
        exp10 -= 1
        s = round_to_integer(scale10(x, 18 - exp10))
    return s, exp10


def format_number(x, sep):
    if is_zero(x):
        return "0"
    mag = (abs(x[0]), x[1])
    s, exp10 = _decimal_digits(mag)
    top = s // 1000
    if (s // 100) % 10 >= 5:
        top += 1
        if top == 10 ** 15:
            top = 1
            exp10 += 1
    digits = str(top).rstrip("0")
    out = "-" if x[0] < 0 else ""
    if exp10 > 15 or exp10 < -3:
        out += digits[0]
        if len(digits) > 1:
            out += sep + digits[1:]
        out += "E" + ("-" if exp10 - 1 < 0 else "") + str(abs(exp10 - 1))
    elif exp10 <= 0:
        out += "0" + sep + "0" * -exp10 + digits
    else:
        out += digits[:exp10].ljust(exp10, "0")
        if len(digits) > exp10:
            out += sep + digits[exp10:]
    return out


def error_display(message):
    if message and ord(message[-1]) > 46:
        return message + "."
    return message


# ---------------------------------------------------------------- roots and rounding

def discriminant(a, b, c):
    p = mul(b, b)
    q = mul(mul(FOUR, a), c)
    return to_double(sub(p, q))


def round_to_places(x, n):
    """x rounded to n decimal places. Negative values are rounded by their magnitude,
    so the result is the mirror image of the positive case; a zero result is +0."""
    negative = x[0] < 0
    v = (abs(x[0]), x[1])
    for _ in range(n):
        v = to_double(mul(v, TEN))
    if compare(v, from_int(HALF_2_63)) >= 0:
        raise Failure(INVALID)
    k = trunc(v)
    # An exact half stays down: the test is strictly "greater than 0.5".
    if fraction_above_half(v):
        k += 1
    v = to_double(from_int(k))
    for _ in range(n):
        v = to_double(div(v, TEN))
    return neg(v) if negative and not is_zero(v) else v


def root_r1(a, b, d, n):
    return round_to_places(to_double(div(add(sqrt(d), neg(b)), mul(TWO, a))), n)


def root_r2(a, b, d, n):
    return round_to_places(to_double(div(sub(neg(b), sqrt(d)), mul(TWO, a))), n)


def root_r0(a, b, n):
    return round_to_places(to_double(div(neg(b), mul(TWO, a))), n)


def root_rl(b, c, n):
    return round_to_places(to_double(div(neg(c), b)), n)


# ---------------------------------------------------------------- equation

NO_ROOT_CONDITION_EQ = "Neexistuje reálné číslo x, které vyhovuje zadané rovnici."
EMPTY_SET = "Množina kořenů: prázdná množina K={ }."
ALL_REALS_CONDITION = "x je libovolné reálné číslo. "
ALL_REALS_SET = "Množina kořenů : všechna reálná čísla K= R ."


def analyse_equation(a, b, c, n, fmt):
    if is_zero(a):
        if is_zero(b):
            if is_zero(c):
                return ("Zadaná lineární rovnice má nekonečně mnoho řešení. ",
                        ALL_REALS_CONDITION, ALL_REALS_SET)
            return ("Zadaná lineární rovnice nemá řešení .", NO_ROOT_CONDITION_EQ, EMPTY_SET)
        rl = fmt(root_rl(b, c, n))
        return ("Zadaná lineární rovnice má  řešení", " x= " + rl + ".",
                "Množina kořenů: jednoprvková množina K={ " + rl + " }.")
    d = discriminant(a, b, c)
    if sign(d) < 0:
        return ("Zadaná kvadratická rovnice nemá v oboru reálných čísel řešení .",
                NO_ROOT_CONDITION_EQ, EMPTY_SET)
    if is_zero(d):
        r0 = fmt(root_r0(a, b, n))
        return ("Zadaná kvadratická rovnice má jeden dvojnásobný kořen", "x1,2= " + r0 + ".",
                "Množina kořenů: jednoprvková množina K={" + r0 + "}.")
    r1 = fmt(root_r1(a, b, d, n))
    r2 = fmt(root_r2(a, b, d, n))
    return ("Zadaná kvadratická rovnice má dva různé reálné kořeny .",
            "x1= " + r1 + "  x2= " + r2 + ".",
            "Množina kořenů: dvouprvková množina K={ " + r1 + " ; " + r2 + " }.")


# ---------------------------------------------------------------- inequalities

LESS, GREATER, LESS_EQUAL, GREATER_EQUAL = "<", ">", "<=", ">="

NO_ROOT_CONDITION_NE = "Neexistuje reálné číslo x, které vyhovuje zadané nerovnici."
QUAD_TWO_ROOTS = "Zadaná kvadratická nerovnice má v oboru reálných čísel řešení ."
QUAD_ALL = ("Zadaná kvadratická nerovnice má v oboru reálných čísel řešení. ",
            ALL_REALS_CONDITION, ALL_REALS_SET)
QUAD_NONE = ("Zadaná kvadratická nerovnice nemá v oboru reálných čísel řešení .",
             NO_ROOT_CONDITION_NE, EMPTY_SET)
# The linear verdicts differ by one blank: one after "má" when the solution lies below
# the root, two when it lies above.
LIN_BELOW = "Zadaná lineární nerovnice má v oboru reálných čísel řešení"
LIN_ABOVE = "Zadaná lineární nerovnice má  v oboru reálných čísel řešení"
CONST_ALL = ("Zadaná lineární nerovnice má v oboru reálných čísel řešení. ",
             ALL_REALS_CONDITION, ALL_REALS_SET)
CONST_NONE = ("Zadaná lineární nerovnice nemá v oboru reálných čísel řešení .",
              NO_ROOT_CONDITION_NE, EMPTY_SET)


def _between(lo, hi, closed):
    if closed:
        return ("x >= " + lo + " a zároveň  x <= " + hi + ".",
                "Množina kořenů: uzavřený interval I=< " + lo + " ; " + hi + " >.")
    return ("x> " + lo + " a zároveň  x< " + hi + ".",
            "Množina kořenů: otevřený interval I=( " + lo + " ; " + hi + " ).")


def _outside(lo, hi, closed):
    if closed:
        return ("x<= " + lo + " nebo  x>= " + hi + ".",
                "Množina kořenů: sjednocení  intervalů (-oo  ; " + lo + "> U  < " + hi + " ;  oo ).")
    return ("x< " + lo + " nebo  x> " + hi + ".",
            "Množina kořenů: sjednocení  intervalů (-oo  ; " + lo + ") U  ( " + hi + " ;  oo ).")


def analyse_inequality(a, b, c, rel, n, fmt):
    strict = rel in (LESS, GREATER)
    wants_negative = rel in (LESS, LESS_EQUAL)
    if not is_zero(a):
        d = discriminant(a, b, c)
        a_pos = sign(a) > 0
        if sign(d) > 0:
            r1 = fmt(root_r1(a, b, d, n))
            r2 = fmt(root_r2(a, b, d, n))
            lo, hi = (r2, r1) if a_pos else (r1, r2)
            # The quadratic is negative between its roots when a > 0.
            if wants_negative == a_pos:
                cond, roots = _between(lo, hi, not strict)
            else:
                cond, roots = _outside(lo, hi, not strict)
            return (QUAD_TWO_ROOTS, cond, roots)
        # D <= 0: the quadratic has the sign of a everywhere except at a double root,
        # where it is zero. A strict relation that the sign of a satisfies then loses
        # that one point; a non-strict one that the sign of a violates gains it.
        sign_wanted = wants_negative != a_pos
        if strict and not sign_wanted:
            return QUAD_NONE
        if not strict and sign_wanted:
            return QUAD_ALL
        if not is_zero(d):
            return QUAD_ALL if strict else QUAD_NONE
        r0 = fmt(root_r0(a, b, n))
        if strict:
            return (QUAD_ALL[0], "x je libovolné reálné číslo , kromě čísla " + r0,
                    "Množina kořenů : sjednocení intervalů  (-oo  ; " + r0 + " ) U ( " + r0
                    + " ; oo   ).")
        return ("Zadaná kvadratická nerovnice má v oboru reálných čísel jediné řešení .",
                " x =" + r0, "Množina kořenů : jednoprvková množina K={ " + r0 + " }.")
    if not is_zero(b):
        rl = fmt(root_rl(b, c, n))
        below = wants_negative == (sign(b) > 0)
        if below:
            if strict:
                return (LIN_BELOW, " x< " + rl + ".",
                        "Množina kořenů: otevřený interval  I=(-oo  ; " + rl + " ).")
            return (LIN_BELOW, " x<= " + rl + ".",
                    "Množina kořenů: polouzavřený interval  I=(-oo  ; " + rl + " >.")
        if strict:
            return (LIN_ABOVE, " x> " + rl + ".",
                    "Množina kořenů: otevřený interval  I=( " + rl + "  ;  oo  ).")
        return (LIN_ABOVE, " x >= " + rl + ".",
                "Množina kořenů: polouzavřený interval  I= < " + rl + "  ;  oo  ).")
    sc = sign(c)
    holds = {LESS: sc < 0, GREATER: sc > 0, LESS_EQUAL: sc <= 0, GREATER_EQUAL: sc >= 0}[rel]
    return CONST_ALL if holds else CONST_NONE


# ---------------------------------------------------------------- report

HEADERS = {
    "=": ("Řešení rovnice ", ") = 0 ."),
    LESS: ("Řešení nerovnice ", ") < 0"),
    GREATER: ("Řešení nerovnice ", ") > 0"),
    LESS_EQUAL: ("Řešení nerovnice", ") <= 0"),
    GREATER_EQUAL: ("Řešení nerovnice ", ") >= 0"),
}


def precision_line(n):
    return ("Výpočet byl proveden s přesností na " + str(n)
            + ("desetinnných míst" if n in (5, 6) else "desetinnná místa"))


def report(a_text, b_text, c_text, rel, n, sep):
    """The seven report lines, or Failure carrying the message that ended the solve."""
    fmt = lambda x: format_number(x, sep)  # noqa: E731
    a = parse_coefficient(a_text, sep)
    b = parse_coefficient(b_text, sep)
    c = parse_coefficient(c_text, sep)
    header, ending = HEADERS[rel]
    problem = "(" + fmt(a) + ") . x^2 + (" + fmt(b) + ") . x + (" + fmt(c) + ending
    if rel == "=":
        solution = analyse_equation(a, b, c, n, fmt)
    else:
        solution = analyse_inequality(a, b, c, rel, n, fmt)
    return [header, problem, "v oboru reálných čísel", *solution, precision_line(n)]


def expected_result(a_text, b_text, c_text, rel, n, sep):
    """What the batch front writes as JSON: {"lines": [...]} or {"error": ...}."""
    try:
        return {"lines": report(a_text, b_text, c_text, rel, n, sep)}
    except Failure as f:
        return {"error": error_display(f.message)}
