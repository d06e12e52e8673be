#!/usr/bin/env python3
"""Differential test: random problems through parvolin-cli and through the model.

    differential.py --cli PATH [--seed S] [--count N] [--sep ,|.|both] [--show K]

Generates N problems per decimal separator (reproducibly from the seed), runs them
in one `parvolin-cli batch --json --sep SEP` call each, and compares every report line
and every failure message with parvolin_model.py byte for byte. The problems lean
hard on the places where a careless implementation goes wrong: discriminants that are
zero for the typed decimals but not for their doubles, roots on a rounding tie, roots
whose scaled value reaches 2**63, values at the ends of the double range, negative
zeros, and texts the parser must refuse.
"""

import argparse
import json
import os
import random
import subprocess
import sys
from decimal import Decimal, getcontext

sys.dont_write_bytecode = True  # keep the source tree clean when run from CTest
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from parvolin_model import expected_result  # noqa: E402
from x87 import DBL_BITS, DBL_EMIN, EXT_BITS, EXT_EMIN, round_to_bits  # noqa: E402

getcontext().prec = 200

RELATIONS = ["=", "<", ">", "<=", ">="]

# In generated texts "." stands for the separator under test and "W" for the other one.
WRONG = "W"

MALFORMED = ["1 000", "12abc", "- 5", "0x10", "1.2.3", "   ", " ", "1E5000", "1E4999", "+", "-",
             "e5", "E", "inf", "NaN", "--1", "+-1", "1E+-3", "1e5 5", "1EE5", "5W", "W5",
             "1W5", "1.5W", "1E-5000", "1.2E4932", "9E9999", "1e", "1 e5", "1. 5", ". 5",
             "'", '"', "\\", "1'", "1.5.", "..", "+.e", "0.0.0", "1_000", "1e1.5", "¹"]
NEGATIVE_ZEROS = ["-0", "-.", "-0e5", "-0.0", "+0", "-0E-400", "0E4999", "-000", "-.000E+3",
                  "-0E0500", "0.", "-0."]
EXPONENTS = ["1E-5", "2e+2", "5E", "5e-", "1E0500", "1e3", ".5e1", "5.e-1", "1E+", "1e-0",
             "1E00000000000000000000003", "-2.5E-0003", "7E499", "7E-499", "1e-499",
             "1.5E1", "15E-1", "0.000015E5",
             # powers of ten of 5120 and more, and digit strings beyond the extended range
             "0." + "0" * 150 + "1E-4999", "1" + "0" * 130 + "E4999", "1" + "0" * 5000,
             "0." + "0" * 4950 + "1", "0." + "0" * 4940 + "1", "9" * 400 + "E-400",
             "1" + "0" * 4932, "1" + "0" * 4931]
EXTREMES = ["1E150", "1E154", "1.34E154", "1.35E154", "-1.4E154", "1E200", "1E-300", "1E308",
            "-1E308", "1E309", "-1E309", "1.7976931348623157E308", "1.7976931348623158E308",
            "1.797693134862315807E308", "1.7976931348623159E308", "5E-324", "2E-324",
            "2.4703282292062327E-324", "2.4703282292062328E-324", "3E-324", "-5E-324",
            "2.2250738585072014E-308", "2.2250738585072011E-308", "4.9406564584124654E-324",
            "1E-400", "1E-4999", "1.18E4932", "1.19E4932", "1E4932", "1E-4950", "9.99E307",
            "1E307", "-1E307", "1.8E307", "1E-160", "1E-162", "3E-162"]


# Texts whose problem-line text depends on converting them exactly the program's way:
# digit by digit into an extended integer, then scaled by at most three rounded powers
# of ten, then rounded to double. A correctly rounding conversion, or one that scales
# by a single power, lands on a neighbouring double here, and the 16th digit of that
# neighbour (a 5 followed by nothing) rounds the 15-digit text the other way.
STEPWISE_PARSE = [
    "522629646689920500E283", "28365553146731150000E100", "7641582732017465E243",
    "1881768320430325E53", "123772408043579500E199", "4729216398003725000000000E-257",
    "9975702040354185000000000E-97", "16206878034846150000E-124",
    "8640557084759815197975156E-99", "9171352533568135000000000E277", "51110774377430550E12",
    "9821698119997955000000000E268", "96014648612089050000E247", "73700169182556550000E-85",
    "56340717291397450E-120", "677186371136353527E-83", "9540096007887395E-32",
    "821199141419187500E198", "9906781474439615000000000E-261", "81435225061976350000E147",
    "4962254355453825000000000E-40", "4589689141368605E-292", "3580188741242885E288",
    "19766305384402450000E-14", "152331890236094500E148", "2440995864037425000000000E-92",
    "30072798801765950000E22", "1518149881529695E-265", "51754138140498652075E72",
    "4754167258344715000000000E173", "32144341455664050E-251", "82586468184077850000E-317",
    "80421957206897554376E82", "7714572071641485000000000E190", "76382565997399853795E76",
    "810588699001871500E239", "4553542947586995E139", "936972895511244500E-217",
    "4251272486428535000000000E80", "63985016600646450E147", "69740044338100950000E166",
    "30074325596617951360E-220", "188991620235479500E225", "98069060571354051029E43",
    "9091888497233475E138", "193758029156704500E170", "4247994363345815000000000E-220",
    "83220815984447750E-247", "59816162800414252E-209", "3523501259697125000000000E274",
    "61717705260492250000E125", "5679319747667365E-78",
]

# Where the number text changes shape: the carry out of the 15th digit, the borders of
# plain notation (0.0001 and 10**15), and the doubles just above 2**-877 and 2**-681,
# the only ones whose first estimate of the decimal exponent is one too large.
FORMAT_EDGES = [
    "999999999999999.9", "99999999999999.98", "999999999999999", "9999999999999999",
    "999999999999999.4", "1E15", "0.0001", "0.00009999999999999999", "0.000099999999999999",
    "0.00009999999999999", "0.000099999999999995", "9.999999999999995E-5", "1E-4",
    "9.9999999999999949E-5", "999999999999999.5", "99999999999999.99", "0.99999999999999999",
    "9.99999999999999E307", "1.79769313486232E308", "4.9406564584124654E-324",
    "9.924161033296096E-265", "9.924161033296098E-265", "9.9241610332961E-265",
    "9.9241610332983E-265", "9.924161035606744E-265", "9.926583924173365E-265",
    "9.967194951097568E-206", "9.96719495109757E-206", "9.967194951097574E-206",
    "9.96719495109978E-206", "9.967194953418236E-206", "9.969628348302425E-206",
    "1E-323", "1.5E-323", "123456789012345678", "1234567890123456", "0.1", "0.3",
]


def rand_digits(rng, k, lead_nonzero=False):
    s = "".join(rng.choice("0123456789") for _ in range(k))
    if lead_nonzero and s:
        s = rng.choice("123456789") + s[1:]
    return s


def plain(d):
    """An exact decimal as plain text with "." (no exponent, no trailing zeros)."""
    s = format(d, "f")
    if "." in s:
        s = s.rstrip("0").rstrip(".")
    if s in ("-0", ""):
        s = "0"
    return s


def sig17(x):
    return repr(float(x)).replace("e", "E").replace("E+", "E")


def short_decimal(rng):
    sign = rng.choice(["", "", "-", "+"])
    ip = rng.choice(["", "0", str(rng.randint(0, 99))])
    fp = rand_digits(rng, rng.randint(1, 3))
    return sign + ip + "." + fp


def long_digits(rng):
    k = rng.choice([17, 18, 19, 20, 21, 25, 30, 40] + [300] * (rng.random() < 0.05))
    s = rand_digits(rng, k, lead_nonzero=True)
    pos = rng.randint(0, k)
    text = s[:pos] + "." + s[pos:] if rng.random() < 0.7 else s
    if rng.random() < 0.3:
        text = "0" * rng.randint(1, 30) + text
    if rng.random() < 0.3:
        text += "E" + str(rng.randint(-330, 310))
    return rng.choice(["", "-"]) + text


def exponent_form(rng):
    if rng.random() < 0.5:
        return rng.choice(EXPONENTS)
    mant = rng.choice([str(rng.randint(1, 9)), short_decimal(rng).lstrip("+-") or "1"])
    digits = rng.choice(["", str(rng.randint(0, 30)), str(rng.randint(0, 330)),
                         "0" * rng.randint(1, 4) + str(rng.randint(1, 9))])
    return rng.choice(["", "-"]) + mant + rng.choice("Ee") + rng.choice(["", "+", "-"]) + digits


def extreme(rng):
    if rng.random() < 0.6:
        return rng.choice(EXTREMES)
    return (rng.choice(["", "-"]) + str(rng.randint(1, 9)) + "." + rand_digits(rng, rng.randint(0, 4))
            + "E" + str(rng.choice([rng.randint(140, 160), rng.randint(295, 310),
                                    -rng.randint(150, 170), -rng.randint(300, 330)])))


def sixteenth_digit_tie(rng):
    """A double whose 16th significant digit is a 5 with nothing after it: written with
    15 digits it must round up, where round-half-even would go down half the time."""
    r = rng.randrange(3)
    if r == 0:  # 16-digit odd multiple of 5 below 2**53
        return str(rng.randrange(10 ** 15, 9 * 10 ** 15) // 10 * 10 + 5)
    if r == 1:  # 15 digits and a half
        return str(rng.randrange(10 ** 14, 10 ** 15)) + ".5"
    # the same digits scaled by a power of ten: no longer exact, the last digits decide
    return str(rng.randrange(10 ** 14, 10 ** 15)) + "5E" + str(rng.randint(-330, 290))


def decorate(rng, text):
    """Spellings of the same number: blanks around, a plus sign, zeros, an exponent."""
    r = rng.random()
    if r < 0.06:
        return " " * rng.randint(1, 3) + text + " " * rng.randint(0, 3)
    if r < 0.08 and text and text[0] not in "+-":
        return "+" + text
    if r < 0.10 and text and "E" not in text.upper():
        return text + ("0" if "." in text else ".0") + "E0"
    if r < 0.12 and text and "E" not in text.upper():
        return text + "e" + rng.choice(["", "+", "-"])
    return text


def coefficient(rng):
    r = rng.random()
    if r < 0.25:
        return str(rng.randint(-20, 20))
    if r < 0.45:
        return short_decimal(rng)
    if r < 0.50:
        return "0"
    if r < 0.53:
        return rng.choice(NEGATIVE_ZEROS)
    if r < 0.58:
        return ""
    if r < 0.66:
        return exponent_form(rng)
    if r < 0.74:
        return extreme(rng)
    if r < 0.81:
        return long_digits(rng)
    if r < 0.83:
        return rng.choice(MALFORMED)
    if r < 0.86:
        return rng.choice(STEPWISE_PARSE)
    if r < 0.89:
        return sixteenth_digit_tie(rng)
    if r < 0.84:
        return rng.choice(["1W5", "W5", "-0W25", "3W"])
    return str(rng.randint(-1000000, 1000000)) + ("." + rand_digits(rng, 2) if rng.random() < 0.5 else "")


def tie_value(rng, n):
    """A decimal with n + 1 places ending in 5: halfway between two n-place values."""
    whole = rng.choice([0, 0, 1, 2, rng.randint(0, 1000)])
    frac = rng.randint(0, 10 ** n - 1)
    d = Decimal(whole) + (Decimal(frac) + Decimal("0.5")) / Decimal(10) ** n
    return -d if rng.random() < 0.5 else d


def near_limit(rng, n):
    """A magnitude whose scaled value (times 10**n) lies at or near 2**63."""
    base = Decimal(2 ** 63) / Decimal(10) ** n
    k = rng.choice([0, 0, 1, -1, 2, -2, 3, -3, 10, -10, 100, -100, 10 ** 4, -(10 ** 4)])
    return base * (1 + Decimal(k) * Decimal("1e-16"))


def rounded_square(rng):
    """b*b and 4*a*c that agree once b*b is rounded to 64 bits: b is an integer of 33
    bits (its square needs 65 or 66), and 4*a*c is that rounded square, either as it is
    when it happens to fit in a double (then D is 0 in extended arithmetic although
    not in exact arithmetic) or rounded once more to double (D a few units of the last
    place of b*b, of either sign). All texts convert exactly."""
    want_zero = rng.random() < 0.5
    while True:
        m = rng.randrange(2 ** 32, 2 ** 33)
        sq, e = round_to_bits(m * m, 0, EXT_BITS, EXT_EMIN)
        if not want_zero or sq.bit_length() <= DBL_BITS:
            break
    sq, e = round_to_bits(sq, e, DBL_BITS, DBL_EMIN)
    prod = sq << e  # 4*a*c, a multiple of 2**12
    a = rng.choice([1, -1, 4, -4])
    if rng.random() < 0.3:
        a = rng.choice([Decimal("0.25"), Decimal("-0.25")])
    return plain(Decimal(a)), rng.choice(["", "-"]) + str(m), plain(Decimal(prod) / (4 * a))


def structured(rng, n):
    """Coefficients with a known shape; returns three texts."""
    kind = rng.randrange(12)
    small = [1, -1, 2, -2, 3, 4, -5, 10]
    if kind == 0:  # integer perfect square: D is exactly 0
        p, k = rng.choice(small), rng.randint(-60, 60)
        return str(p), str(-2 * p * k), str(p * k * k)
    if kind == 1:  # decimal perfect square: usually not 0 for the doubles
        p = Decimal(rng.choice(small))
        k = Decimal(rng.randint(-999, 999)) / Decimal(10) ** rng.randint(1, 3)
        return plain(p), plain(-2 * p * k), plain(p * k * k)
    if kind == 2:  # perfect square spread over the exponent range
        p, q = rng.randint(-300, 300), rng.randint(-150, 150)
        r = 2 * q - p
        if abs(r) > 330:
            r = 0
        return ("%sE%d" % (rng.choice(["1", "-1", "4", "0.25"]), p),
                "%sE%d" % (rng.choice(["2", "-2", "1", "-4"]), q), "1E%d" % r)
    if kind == 3:  # two roots on (or next to) a rounding tie
        p = Decimal(rng.choice(small))
        r1, r2 = tie_value(rng, n), tie_value(rng, n) if rng.random() < 0.7 else -tie_value(rng, n)
        return plain(p), plain(-p * (r1 + r2)), plain(p * r1 * r2)
    if kind == 4:  # double root on a tie
        p = Decimal(rng.choice(small))
        r = tie_value(rng, n)
        return plain(p), plain(-2 * p * r), plain(p * r * r)
    if kind == 5:  # linear root on a tie
        b = Decimal(rng.choice([1, -1, 2, -4, 8, 10, -10, 3]))
        t = tie_value(rng, n)
        return rng.choice(["0", "", "-0", "-."]), plain(b), plain(-b * t)
    if kind == 6:  # root whose scaled value reaches 2**63
        t = near_limit(rng, n) * rng.choice([1, -1])
        form = rng.randrange(3)
        if form == 0:
            return "0", rng.choice(["1", "-1"]), sig17(-t) if rng.random() < 0.5 else plain(-t)
        if form == 1:
            return "1", sig17(-t), rng.choice(["0", "1", "-1"])
        return "1", sig17(-2 * t), sig17(t * t)
    if kind == 7:  # discriminant or root beyond the double range
        return rng.choice([
            ("1", rng.choice(["1.34E154", "1.3407807929942596E154", "1.3407807929942597E154",
                              "-1.35E154"]), "0"),
            ("1E300", "1", rng.choice(["1E10", "-1E10", "5E7", "4.49E7"])),
            (rng.choice(["1E-300", "-1E-300"]), rng.choice(["1E10", "1E5", "1", "1E-10"]),
             rng.choice(["0", "1", "-1"])),
            ("0", rng.choice(["1", "1E-10", "-1E-300"]), rng.choice(["-1E307", "1E300", "1E-20"])),
            ("1", "0", rng.choice(["-1E300", "-1E32", "-8.5E37", "-8.6E37", "-1E-300"])),
        ])
    if kind == 9:
        return rounded_square(rng)
    if kind == 10:  # a hard text alone, so that the solve succeeds and shows it
        texts = [rng.choice(["0", "", "-0"]) for _ in range(3)]
        r = rng.random()
        hard = (rng.choice(STEPWISE_PARSE) if r < 0.4 else rng.choice(FORMAT_EDGES) if r < 0.7
                else sixteenth_digit_tie(rng))
        texts[rng.randrange(3)] = rng.choice(["", "-"]) + hard
        return tuple(texts)
    if kind == 8:  # tiny and subnormal coefficients
        tiny = ["5E-324", "-5E-324", "1E-310", "2.5E-320", "1E-300", "1E-200", "-1E-160"]
        return rng.choice(tiny + ["1", "0"]), rng.choice(tiny + ["0"]), rng.choice(tiny + ["0", "-1"])
    # two random roots with many digits
    p = Decimal(rng.choice(small)) / Decimal(rng.choice([1, 1, 4, 8]))
    r1 = Decimal(rng.randint(-10 ** 9, 10 ** 9)) / Decimal(10) ** rng.randint(0, 8)
    r2 = Decimal(rng.randint(-10 ** 9, 10 ** 9)) / Decimal(10) ** rng.randint(0, 8)
    return plain(p), plain(-p * (r1 + r2)), plain(p * r1 * r2)


def problem(rng):
    n = rng.randint(2, 6)
    rel = rng.choice(RELATIONS)
    if rng.random() < 0.5:
        texts = [coefficient(rng) for _ in range(3)]
    else:
        texts = list(structured(rng, n))
    texts = [decorate(rng, t) for t in texts]
    return texts, rel, n


def localise(text, sep):
    other = "," if sep == "." else "."
    return text.replace(".", sep).replace(WRONG, other)


def run(cli, sep, problems, show):
    lines = []
    expected = []
    for texts, rel, n in problems:
        a, b, c = (localise(t, sep) for t in texts)
        lines.append("\t".join([a, b, c, rel, str(n)]))
        expected.append(expected_result(a, b, c, rel, n, sep))
    proc = subprocess.run([cli, "batch", "--json", "--sep", sep],
                          input=("\n".join(lines) + "\n").encode("utf-8"),
                          capture_output=True, timeout=300)
    out = proc.stdout.decode("utf-8", errors="replace").split("\n")
    if out and out[-1] == "":
        out.pop()
    messages = []
    failed = 0
    if proc.returncode != 0:
        messages.append("parvolin-cli exited with %d: %s"
                        % (proc.returncode, proc.stderr.decode(errors="replace")))
    if len(out) != len(lines):
        messages.append("%d input lines, %d output lines" % (len(lines), len(out)))
    for i, (line, want) in enumerate(zip(lines, expected)):
        if "error" in want:
            # the batch names the line of every failure
            want = {"error": "line %d: %s" % (i + 1, want["error"])}
        got_text = out[i] if i < len(out) else ""
        try:
            got = json.loads(got_text)
        except ValueError:
            got = {"unparsable output": got_text}
        if got != want:
            failed += 1
            messages.append(describe(sep, line, want, got))
    if proc.returncode != 0 and failed == 0:
        failed = 1
    for message in messages[:show]:
        print(message)
    return len(lines) - failed, failed


def describe(sep, line, want, got):
    rows = ["sep %r input %s" % (sep, json.dumps(line, ensure_ascii=False))]
    if "lines" in want and "lines" in got and len(got["lines"]) == len(want["lines"]):
        for i, (w, g) in enumerate(zip(want["lines"], got["lines"]), 1):
            if w != g:
                rows.append("  line %d expected %s" % (i, json.dumps(w, ensure_ascii=False)))
                rows.append("  line %d actual   %s" % (i, json.dumps(g, ensure_ascii=False)))
    else:
        rows.append("  expected %s" % json.dumps(want, ensure_ascii=False))
        rows.append("  actual   %s" % json.dumps(got, ensure_ascii=False))
    return "\n".join(rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=5000)
    parser.add_argument("--sep", choices=[",", ".", "both"], default="both")
    parser.add_argument("--show", type=int, default=5, help="differences to print")
    args = parser.parse_args()

    passed = failed = 0
    for sep in ([",", "."] if args.sep == "both" else [args.sep]):
        rng = random.Random("%d %s" % (args.seed, sep))
        problems = [problem(rng) for _ in range(args.count)]
        p, f = run(args.cli, sep, problems, args.show)
        passed += p
        failed += f
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
