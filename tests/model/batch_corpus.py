#!/usr/bin/env python3
"""Writes a fixed corpus of batch problems (A, B, C, relation, places, tab
separated) with the comma separator: small integers, many-digit decimals,
wide exponents, coefficients beyond the double range and squares near
cancellation, so that two builds of parvolin-cli can be compared byte for
byte on their batch output.

  batch_corpus.py [COUNT] [SEED]      (20000 problems, seed 7 by default)"""
import random
import sys

count = int(sys.argv[1]) if len(sys.argv) > 1 else 20000
rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 7)
RELATIONS = ["=", "<", ">", "<=", ">="]


def digits(low, high):
    return str(rng.randint(0, 10 ** rng.randint(low, high)))


def coefficient():
    sign = rng.choice(["", "-"])
    kind = rng.random()
    if kind < 0.3:
        return sign + str(rng.randint(0, 1000))
    if kind < 0.6:
        return sign + digits(1, 25) + "," + digits(1, 25)
    if kind < 0.8:
        return sign + str(rng.randint(1, 99999)) + "E" + str(rng.randint(-330, 330))
    if kind < 0.9:
        return sign + "0," + "0" * rng.randint(0, 30) + str(rng.randint(1, 10 ** 19))
    many = "".join(rng.choice("0123456789") for _ in range(rng.randint(15, 40)))
    return sign + str(rng.randint(1, 9)) + "," + many + "E" + str(rng.randint(-4950, 4950))


for _ in range(count):
    if rng.random() < 0.3:
        # b^2 within a few units of 4ac: the discriminant cancels.
        b = 2 * rng.randint(1, 10 ** 9)
        a = rng.randint(1, 1000)
        c = b * b // (4 * a) + rng.randint(-2, 2)
        row = [str(a), str(b), str(c)]
    else:
        row = [coefficient(), coefficient(), coefficient()]
    row += [rng.choice(RELATIONS), str(rng.randint(2, 6))]
    print("\t".join(row))
