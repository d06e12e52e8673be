#!/usr/bin/env python3
"""Compares the exact solution sets of `parvolin-cli batch --steps` with SymPy.

    steps_sympy.py --cli PATH [--count N] [--seed S]

Generates N random problems with decimal coefficient texts (half of them with a
decimal comma), many of them built from rational roots so that double roots and
rational square discriminants come up, and solves each with SymPy: the real
roots from sympy.roots, then the sign of the polynomial at a rational point of
every piece between them decides which pieces belong to the set. The set the
program reports ("exact" in its JSON) must be the same set, end for end.
The seed is printed; PARVOLIN_STEPS_SEED picks another.
"""

import argparse
import json
import os
import random
import subprocess
import sys
from fractions import Fraction

import sympy as sp

X = sp.Symbol("x")
RELATIONS = ["=", "<", ">", "<=", ">="]


def decimal_text(value, sep):
    """An exact terminating decimal as typed: "-3,25"."""
    sign = "-" if value < 0 else ""
    value = abs(value)
    places = 0
    while (value * 10 ** places).denominator != 1:
        places += 1
    digits = str(int(value * 10 ** places)).rjust(places + 1, "0")
    if places == 0:
        return sign + digits
    return sign + digits[:-places] + sep + digits[-places:]


def random_decimal(rng, places):
    return Fraction(rng.randint(-60, 60), 10 ** places)


def random_text(rng, sep):
    kind = rng.random()
    if kind < 0.15:
        return rng.choice(["0", "1", "-1", ""])
    if kind < 0.55:
        return str(rng.randint(-12, 12))
    if kind < 0.85:
        return decimal_text(random_decimal(rng, rng.randint(1, 2)), sep)
    mantissa = decimal_text(random_decimal(rng, 1), sep)
    return "%sE%d" % (mantissa, rng.randint(-3, 3))


def problem(rng, sep):
    """Coefficient texts, relation, places."""
    if rng.random() < 0.5:
        # a (x - p)(x - q): rational roots, p = q now and then
        a = random_decimal(rng, rng.randint(0, 1)) or Fraction(1)
        p = random_decimal(rng, 1)
        q = p if rng.random() < 0.3 else random_decimal(rng, 1)
        texts = [decimal_text(v, sep) for v in (a, -a * (p + q), a * p * q)]
    else:
        texts = [random_text(rng, sep) for _ in range(3)]
    return texts, rng.choice(RELATIONS), rng.randint(2, 6)


def value_of(text, sep):
    return Fraction(text.replace(sep, ".")) if text.strip() else Fraction(0)


def holds(value, relation):
    return {"=": value == 0, "<": value < 0, ">": value > 0, "<=": value <= 0, ">=": value >= 0}[relation]


def reference(coefficients, relation):
    """The solution set as pieces (lower, lower_closed, upper, upper_closed),
    ascending; a single point is (r, True, r, True); None stands for -oo / oo."""
    a, b, c = (sp.Rational(v.numerator, v.denominator) for v in coefficients)
    poly = a * X ** 2 + b * X + c
    if a == 0 and b == 0:
        return [(None, False, None, False)] if holds(Fraction(int(c.p), int(c.q)), relation) else []
    roots = sorted(sp.roots(sp.Poly(poly, X), filter="R"), key=lambda r: sp.N(r, 60))
    # A rational point in each piece: beyond every root by Cauchy's bound,
    # and between two roots the vertex -b/2a.
    bound = 1 + max(abs(b / a), abs(c / a)) if a != 0 else abs(c / b) + 1
    if len(roots) == 2:
        samples = [-bound, -b / (2 * a), bound]
    elif len(roots) == 1:
        samples = [-bound, bound]
    else:
        samples = [sp.Integer(0)]
    pieces_in = [holds(Fraction(int(v.p), int(v.q)), relation) for v in (poly.subs(X, s) for s in samples)]
    root_in = holds(0, relation)

    pieces = []
    ends = [None] + roots + [None]
    for i, inside in enumerate(pieces_in):
        if inside:
            pieces.append([ends[i], False, ends[i + 1], False])
    # Closed ends, and isolated points, where a root itself belongs.
    if root_in:
        for r in roots:
            touching = [p for p in pieces if p[0] == r or p[2] == r]
            for p in touching:
                if p[0] == r:
                    p[1] = True
                if p[2] == r:
                    p[3] = True
            if not touching:
                pieces.append([r, True, r, True])
    # Two pieces that meet in a root of the set are one.
    pieces.sort(key=lambda p: -10 ** 100 if p[0] is None else sp.N(p[0], 60))
    merged = []
    for p in pieces:
        if merged and merged[-1][2] is not None and merged[-1][2] == p[0] and (merged[-1][3] or p[1]):
            merged[-1][2:] = p[2:]
        else:
            merged.append(p)
    return [tuple(p) for p in merged]


def ours(exact):
    """The program's set in the same pieces."""
    end = lambda e: None if e in ("oo", "-oo") else sp.sympify(e)
    kind = exact["kind"]
    if kind == "points":
        return [(end(p), True, end(p), True) for p in exact["points"]]
    pieces = [(end(i["lower"]), i["lower_closed"], end(i["upper"]), i["upper_closed"]) for i in exact["intervals"]]
    for e in exact["excluded"]:
        r = end(e)
        split = []
        for lo, lc, hi, hc in pieces:
            split += [(lo, lc, r, False), (r, False, hi, hc)]
        pieces = split
    return pieces


def same_end(x, y):
    if x is None or y is None:
        return x is None and y is None
    return x == y or sp.simplify(x - y) == 0


def same_set(p, q):
    return len(p) == len(q) and all(
        same_end(a[0], b[0]) and a[1] == b[1] and same_end(a[2], b[2]) and a[3] == b[3] for a, b in zip(p, q))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True)
    parser.add_argument("--count", type=int, default=2000)
    parser.add_argument("--seed", type=int, default=int(os.environ.get("PARVOLIN_STEPS_SEED", "15")))
    args = parser.parse_args()
    print("seed %d (PARVOLIN_STEPS_SEED picks another), %d problems" % (args.seed, args.count))

    rng = random.Random(args.seed)
    mismatches = 0
    checked = 0
    for sep in (",", "."):
        problems = [problem(rng, sep) for _ in range(args.count // 2)]
        lines = "".join("\t".join(texts + [rel, str(n)]) + "\n" for texts, rel, n in problems)
        run = subprocess.run([args.cli, "batch", "--json", "--steps", "--sep", sep], input=lines.encode(),
                             capture_output=True, check=True)
        results = [json.loads(line) for line in run.stdout.decode().splitlines()]
        assert len(results) == len(problems), "one result a problem"
        for (texts, rel, n), result in zip(problems, results):
            if "error" in result:
                continue  # the report refused it; no working to check
            checked += 1
            steps = result["steps"]
            expected = reference([value_of(t, sep) for t in texts], rel)
            got = ours(steps["exact"]) if steps else None
            if got is None or not same_set(got, expected):
                mismatches += 1
                if mismatches <= 10:
                    print("MISMATCH %r %s n=%d sep=%r\n  program: %s\n  sympy:   %s" %
                          (texts, rel, n, sep, steps and steps["exact"], expected))
    print("%d checked, %d mismatches" % (checked, mismatches))
    return 1 if mismatches or checked < args.count * 0.9 else 0


if __name__ == "__main__":
    sys.exit(main())
