#!/usr/bin/env python3
"""Checks the reference model against known results before it is trusted as an oracle.

Every row is a value worked out by hand (or a behaviour the program is known to have);
a model that gets one of them wrong would make the differential test report the
program wrong, or worse, agree with it on a fault.
"""

import os
import sys
from fractions import Fraction

sys.dont_write_bytecode = True  # keep the source tree clean when run from CTest
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import x87  # noqa: E402
from parvolin_model import (discriminant, expected_result, format_number,  # noqa: E402
                            parse_coefficient, report, round_to_places)

failures = []


def check(name, got, want):
    if got != want:
        failures.append("%s: got %r, want %r" % (name, got, want))


def exact(x):
    m, e = x
    return Fraction(m) * Fraction(2) ** e


def dbl(text):
    """A double from a Python literal (the platform's own, correctly rounded, parser)."""
    m, d = float(text).as_integer_ratio()
    return x87.normalise(m, -(d.bit_length() - 1))


def failure_of(fn, *args):
    try:
        fn(*args)
    except x87.Failure as f:
        return f.message
    return None


# Rounding to double and extended at the edges of their ranges.
check("double max", exact(x87.to_double(dbl("1.7976931348623157e308"))),
      Fraction(2 ** 53 - 1) * 2 ** 971)
check("just below the halfway point rounds to max", exact(x87.to_double((2 ** 55 - 3, 969))),
      Fraction(2 ** 53 - 1) * 2 ** 971)
check("overflow just past the halfway point", failure_of(x87.to_double, (2 ** 54 - 1, 970)),
      x87.OVERFLOW)
check("smallest subnormal", exact(x87.to_double((1, -1074))), Fraction(1, 2 ** 1074))
check("half of smallest subnormal ties to zero", x87.to_double((1, -1075)), x87.ZERO)
check("three quarters rounds up", exact(x87.to_double((3, -1076))), Fraction(1, 2 ** 1074))
check("ties to even at 64 bits", x87.ext(2 ** 64 + 1, 0), (1, 64))
check("ties to even upward", x87.ext(2 ** 64 + 3, 0), (2 ** 62 + 1, 2))
check("sqrt 2", x87.sqrt((2, 0)), x87.normalise(13043817825332782212, -63))
check("sqrt rounds up", x87.sqrt((3, 0)), x87.ext(15975348984942515101 + 1, -63))
check("sqrt 4", x87.sqrt((4, 0)), (1, 1))
check("division 1/3", exact(x87.div((1, 0), (3, 0))), Fraction(12297829382473034411, 2 ** 65))

# Number parsing, with "." as separator unless said otherwise.
for text, value in [("0", "0"), ("  12 ", "12"), ("-3", "-3"), ("+4", "4"), (".5", "0.5"),
                    ("5.", "5"), (".", "0"), ("-.", "0"), ("1e3", "1000"), ("1E-3", "0.001"),
                    ("2e+2", "200"), ("5E", "5"), ("5e-", "5"), ("1E308", "1e308"),
                    ("1E-400", "0"), ("0.1", "0.1"), ("-0.09", "-0.09"),
                    ("1.7976931348623157E308", "1.7976931348623157e308"),
                    ("5E-324", "5e-324"), ("2.2250738585072014E-308", "2.2250738585072014e-308")]:
    check("parse %r" % text, parse_coefficient(text, "."), dbl(value))
check("parse comma", parse_coefficient("1,5", ","), dbl("1.5"))
for text in ["1,5", ",5", "e5", "+", "- 5", "   ", "1 000", "12abc", "0x10", "1.2.3", "1E5000",
             "1E4999", "\t1"]:
    check("refused %r" % text, failure_of(parse_coefficient, text, "."),
          "'%s' is not a valid floating point value" % text)
check("refused dot with comma", failure_of(parse_coefficient, "1.5", ","),
      "'1.5' is not a valid floating point value")
for text in ["1E309", "1E500", "1E0500", "-1E309"]:
    check("overflow %r" % text, failure_of(parse_coefficient, text, "."), x87.OVERFLOW)

# Number text.
for value, text in [("0.5", "0.5"), ("-2", "-2"), ("100", "100"), ("12345.678", "12345.678"),
                    ("0.3333333333333333", "0.333333333333333"),
                    ("0.6666666666666666", "0.666666666666667"),
                    ("0.30000000000000004", "0.3"), ("0.0001", "0.0001"),
                    ("0.0001234", "0.0001234"), ("1e-5", "1E-5"), ("0.00001234", "1.234E-5"),
                    ("-1.5e-7", "-1.5E-7"), ("999999999999999", "999999999999999"),
                    ("99999999999999.98", "100000000000000"),
                    ("999999999999999.9", "1E15"), ("1e15", "1E15"),
                    ("1234567890123456", "1.23456789012346E15"),
                    ("123456789012345678", "1.23456789012346E17"), ("1e100", "1E100"),
                    ("1.7976931348623157e308", "1.79769313486232E308"),
                    ("5e-324", "4.94065645841247E-324"), ("-0.0", "0")]:
    check("format %s" % value, format_number(dbl(value), "."), text)
check("format comma", format_number(dbl("12345.678"), ","), "12345,678")
check("format comma scientific", format_number(dbl("0.00001234"), ","), "1,234E-5")

# Discriminant, in extended until the subtraction.
check("D 1 -3 2", discriminant(dbl("1"), dbl("-3"), dbl("2")), dbl("1"))
check("D 1 2 1", discriminant(dbl("1"), dbl("2"), dbl("1")), x87.ZERO)
check("D 1 1 1", discriminant(dbl("1"), dbl("1"), dbl("1")), dbl("-3"))
check("D 1 -0.6 0.09", discriminant(dbl("1"), dbl("-0.6"), dbl("0.09")),
      dbl("-1.3335686721571705e-17"))
check("D 1 -0.2 0.01", discriminant(dbl("1"), dbl("-0.2"), dbl("0.01")),
      dbl("3.6083603553033194e-18"))
check("D 1 -1 0.25", discriminant(dbl("1"), dbl("-1"), dbl("0.25")), x87.ZERO)

# Rounding to places; negative values mirror the positive ones.
for value, n, want in [("1.234567", 2, "1.23"), ("2.718281828", 3, "2.718"),
                       ("0.3333333333333333", 6, "0.333333"), ("0.125", 2, "0.12"),
                       ("2.675", 2, "2.67"), ("1.235", 2, "1.24"), ("1.005", 2, "1"),
                       ("1.5", 2, "1.5"), ("9e12", 6, "9e12"), ("-1.236", 2, "-1.24"),
                       ("-0.125", 2, "-0.12"), ("-1.235", 2, "-1.24")]:
    check("round %s %d" % (value, n), round_to_places(dbl(value), n), dbl(want))
check("round -0.004 is +0", round_to_places(dbl("-0.004"), 2), x87.ZERO)
for value, n in [("1e17", 2), ("1e13", 6), ("-1e17", 2), ("9223372036854775.808", 3)]:
    check("round %s %d fails" % (value, n), failure_of(round_to_places, dbl(value), n),
          x87.INVALID)
check("round just below 2^63", failure_of(round_to_places, dbl("92233720368547.7"), 5), None)
check("round 1e308 overflows", failure_of(round_to_places, dbl("1e308"), 2), x87.OVERFLOW)

# Whole reports.
check("report E1", report("1", "-3", "2", "=", 2, ","), [
    "Řešení rovnice ", "(1) . x^2 + (-3) . x + (2) = 0 .", "v oboru reálných čísel",
    "Zadaná kvadratická rovnice má dva různé reálné kořeny .", "x1= 2  x2= 1.",
    "Množina kořenů: dvouprvková množina K={ 2 ; 1 }.",
    "Výpočet byl proveden s přesností na 2desetinnná místa"])
check("report empty fields", report("", "", "", "=", 6, ".")[1::5],
      ["(0) . x^2 + (0) . x + (0) = 0 .", "Výpočet byl proveden s přesností na 6desetinnných míst"])
for args, want in [
    (("-1", "0", "4", "="), "x1= -2  x2= 2."),
    (("1", "-2", "0,999999", "="), "x1= 1  x2= 1."),
    (("1", "2", "1", "="), "x1,2= -1."),
    (("0", "2", "-3", "="), " x= 1,5."),
    (("0", "-2", "0", "="), " x= 0."),
    (("1", "-0,2", "0,01", "="), "x1= 0,1  x2= 0,1."),
    (("1", "-1", "0,25", "="), "x1,2= 0,5."),
    (("1", "-3", "2", "<"), "x> 1 a zároveň  x< 2."),
    (("1", "-3", "2", ">"), "x< 1 nebo  x> 2."),
    (("1", "-3", "2", "<="), "x >= 1 a zároveň  x <= 2."),
    (("1", "-3", "2", ">="), "x<= 1 nebo  x>= 2."),
    (("-1", "3", "-2", "<"), "x< 1 nebo  x> 2."),
    (("-1", "3", "-2", ">"), "x> 1 a zároveň  x< 2."),
    (("-1", "3", "-2", "<="), "x<= 1 nebo  x>= 2."),
    (("-1", "3", "-2", ">="), "x >= 1 a zároveň  x <= 2."),
    (("1", "-2", "1", "<"), "Neexistuje reálné číslo x, které vyhovuje zadané nerovnici."),
    (("1", "-2", "1", ">"), "x je libovolné reálné číslo , kromě čísla 1"),
    (("1", "-2", "1", "<="), " x =1"),
    (("1", "-2", "1", ">="), "x je libovolné reálné číslo. "),
    (("-1", "2", "-1", "<"), "x je libovolné reálné číslo , kromě čísla 1"),
    (("-1", "2", "-1", ">"), "Neexistuje reálné číslo x, které vyhovuje zadané nerovnici."),
    (("-1", "2", "-1", "<="), "x je libovolné reálné číslo. "),
    (("-1", "2", "-1", ">="), " x =1"),
    (("1", "0", "-2", "<"), "x> -1,41 a zároveň  x< 1,41."),
    (("1", "-2", "0,99999999", "<"), "x> 1 a zároveň  x< 1."),
    (("0", "2", "-4", "<"), " x< 2."),
    (("0", "2", "-4", ">="), " x >= 2."),
    (("0", "-2", "4", "<"), " x> 2."),
    (("0", "-2", "4", "<="), " x >= 2."),
    (("0", "-2", "4", ">="), " x<= 2."),
    (("-0", "0", "-5", "<="), "x je libovolné reálné číslo. "),
    (("0", "0", "0", "<"), "Neexistuje reálné číslo x, které vyhovuje zadané nerovnici."),
]:
    check("condition %r" % (args,), report(*args, 2, ",")[4], want)
check("set GE linear", report("0", "2", "-4", ">=", 2, ",")[5],
      "Množina kořenů: polouzavřený interval  I= < 2  ;  oo  ).")
check("set GT double root", report("1", "-2", "1", ">", 2, ",")[5],
      "Množina kořenů : sjednocení intervalů  (-oo  ; 1 ) U ( 1 ; oo   ).")
check("E3 for 0,09", report("1", "-0,6", "0,09", "=", 2, ",")[3],
      "Zadaná kvadratická rovnice nemá v oboru reálných čísel řešení .")
check("r1 1.618 at n=3", report("1", "-1", "-1", "=", 3, ",")[4], "x1= 1,618  x2= -0,618.")
check("error display, refused text", expected_result("1.5", "", "", "=", 2, ","),
      {"error": "'1.5' is not a valid floating point value."})
check("error display, later field not read", expected_result("1", "x", "1E999", "=", 2, "."),
      {"error": "'x' is not a valid floating point value."})
check("error display, overflow", expected_result("1E309", "", "", "=", 2, "."),
      {"error": "Floating point overflow."})
check("error display, discriminant overflow", expected_result("1", "1.4E154", "0", "<", 2, "."),
      {"error": "Floating point overflow."})
check("error display, root too large", expected_result("0", "1", "-1E17", ">", 2, "."),
      {"error": "Invalid floating point operation."})
check("error display, negative root too large", expected_result("0", "1", "1E17", ">", 2, "."),
      {"error": "Invalid floating point operation."})

if failures:
    print("\n".join(failures))
    print("%d model checks failed" % len(failures))
    sys.exit(1)
print("model self-check passed")
