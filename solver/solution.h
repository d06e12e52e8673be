#pragma once

#include "solver/problem.h"

namespace parvolin {

// What an analysis found, before it is put into words. The sentences and any
// picture of the solution are both made from this one value.
enum class SolutionKind {
    // Equation, quadratic grade
    TwoRoots,       // {first, second} = {r1, r2}
    DoubleRoot,     // {first} = r0
    NoRealRoot,
    // Equation, linear and constant grades
    LinearRoot,     // {first} = rl
    NoSolution,     // c != 0
    EveryNumber,    // 0 = 0
    // Inequality, quadratic grade; first <= second are the two roots
    OpenBetween,    // (first ; second)
    OpenOutside,    // (-oo ; first) U (second ; oo)
    ClosedBetween,  // <first ; second>
    ClosedOutside,  // (-oo ; first> U <second ; oo)
    AllReals,
    AllRealsExcept, // every x but first = r0
    Empty,
    SinglePoint,    // {first} = r0
    // Inequality, linear grade; first = rl
    RayBelowOpen,   // (-oo ; first)
    RayAboveOpen,   // (first ; oo)
    RayBelowClosed, // (-oo ; first>
    RayAboveClosed, // <first ; oo)
    // Inequality, constant grade
    ConstantAllReals,
    ConstantEmpty,
};

struct Solution {
    SolutionKind kind = SolutionKind::NoSolution;
    double first = 0.0;  // rounded values, as written into the sentences
    double second = 0.0;
};

// The case analyses. They throw the arithmetic failures of the root values.
Solution analyse_equation(double a, double b, double c, int decimals);
Solution analyse_inequality(double a, double b, double c, Relation relation, int decimals);
Solution analyse(const Problem &problem);

// The three sentences for a solution, numbers written with the separator.
SolutionText describe(const Solution &solution, char decimal_separator);

} // namespace parvolin
