#pragma once

// The exact solution of a x² + b x + c (relation) 0 for rational
// coefficients, and how it compares with the report's solution.

#include "solver/exact_number.h"
#include "solver/problem.h"
#include "solver/solution.h"

#include "solver/big_number.h"

#include <string>
#include <vector>

namespace parvolin {

enum class Grade { Quadratic, Linear, Constant };

// An end of an interval: a number, or -oo / oo.
struct ExactEnd {
    int infinity = 0; // -1 for -oo, 1 for oo, 0 for `value`
    Surd value;
};

struct ExactInterval {
    ExactEnd lower;
    bool lower_closed = false;
    ExactEnd upper;
    bool upper_closed = false;
};

enum class SetKind {
    Empty,
    Points,         // `points`, ascending
    Intervals,      // the union of `intervals`, ascending and disjoint
    AllReals,       // one interval (-oo ; oo)
    AllRealsExcept, // one interval (-oo ; oo) without `excluded`
};

struct ExactSet {
    SetKind kind = SetKind::Empty;
    std::vector<ExactInterval> intervals;
    std::vector<Surd> points;
    std::vector<Surd> excluded;
};

struct ExactAnalysis {
    Grade grade = Grade::Constant;
    Rational discriminant; // quadratic grade only
    // The real zeros of the left side, ascending: none, one (a double root or
    // the root of the linear grade) or two.
    std::vector<Surd> zeros;
    ExactSet set;
};

ExactAnalysis analyse_exact(const Rational &a, const Rational &b, const Rational &c, Relation relation);

// "empty", "points", "intervals", "all", "all_except".
const char *set_kind_name(SetKind kind);

// The set as the report would show it at n places: its kind and its ends
// rounded (half away from zero) and written as format_number writes them,
// e.g. "intervals (-oo;0.5) (1;oo)". Two sets that give the same text look
// the same in the report's words. The rays outside two ends written alike
// are the set they show: "all_except 1.5", or "all" with closed ends.
std::string rounded_shape(const ExactSet &set, int n);
std::string rounded_shape(const Solution &solution);

} // namespace parvolin
