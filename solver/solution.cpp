#include "solver/solution.h"

#include "solver/czech_texts.h"
#include "solver/fp_env.h"
#include "solver/number_text.h"
#include "solver/roots.h"

namespace parvolin {

namespace {

bool wants_positive(Relation relation)
{
    return relation == Relation::Greater || relation == Relation::GreaterEqual;
}

// Whether the constant c alone satisfies "c (relation) 0".
bool constant_holds(double c, Relation relation)
{
    switch (relation) {
    case Relation::Less: return c < 0.0;
    case Relation::Greater: return c > 0.0;
    case Relation::LessEqual: return c <= 0.0;
    case Relation::GreaterEqual: return c >= 0.0;
    case Relation::Equal: break;
    }
    return c == 0.0;
}

// One line of a sentence: literal pieces around up to two numbers,
// pieces[0] + first + pieces[1] + second + pieces[2].
struct LineTemplate {
    std::string_view pieces[3];
    int numbers = 0;
};

struct SentenceTemplate {
    std::string_view verdict;
    LineTemplate condition;
    LineTemplate root_set;
};

using namespace texts;

// Indexed by SolutionKind. The inequality rows are written with the smaller
// root first; which of r1 and r2 that is the analysis decides from the sign of a.
constexpr SentenceTemplate kSentences[] = {
    // TwoRoots
    {equation_two_roots,
     {{"x1= ", "  x2= ", "."}, 2},
     {{"Množina kořenů: dvouprvková množina K={ ", " ; ", " }."}, 2}},
    // DoubleRoot: no blanks inside the braces, unlike the other sets
    {equation_double_root,
     {{"x1,2= ", "."}, 1},
     {{"Množina kořenů: jednoprvková množina K={", "}."}, 1}},
    // NoRealRoot
    {equation_no_real_root, {{no_real_x_equation}}, {{empty_set}}},
    // LinearRoot
    {equation_linear,
     {{" x= ", "."}, 1},
     {{"Množina kořenů: jednoprvková množina K={ ", " }."}, 1}},
    // NoSolution
    {equation_no_solution, {{no_real_x_equation}}, {{empty_set}}},
    // EveryNumber
    {equation_every_number, {{any_x}}, {{all_reals_set}}},
    // OpenBetween
    {quadratic_has,
     {{"x> ", " a zároveň  x< ", "."}, 2},
     {{"Množina kořenů: otevřený interval I=( ", " ; ", " )."}, 2}},
    // OpenOutside
    {quadratic_has,
     {{"x< ", " nebo  x> ", "."}, 2},
     {{"Množina kořenů: sjednocení  intervalů (-oo  ; ", ") U  ( ", " ;  oo )."}, 2}},
    // ClosedBetween
    {quadratic_has,
     {{"x >= ", " a zároveň  x <= ", "."}, 2},
     {{"Množina kořenů: uzavřený interval I=< ", " ; ", " >."}, 2}},
    // ClosedOutside
    {quadratic_has,
     {{"x<= ", " nebo  x>= ", "."}, 2},
     {{"Množina kořenů: sjednocení  intervalů (-oo  ; ", "> U  < ", " ;  oo )."}, 2}},
    // AllReals
    {quadratic_has_all, {{any_x}}, {{all_reals_set}}},
    // AllRealsExcept: the condition ends with the number itself, no full stop
    {quadratic_has_all,
     {{"x je libovolné reálné číslo , kromě čísla ", ""}, 1},
     {{"Množina kořenů : sjednocení intervalů  (-oo  ; ", " ) U ( ", " ; oo   )."}, 2}},
    // Empty
    {quadratic_has_none, {{no_real_x_inequality}}, {{empty_set}}},
    // SinglePoint
    {quadratic_has_one,
     {{" x =", ""}, 1},
     {{"Množina kořenů : jednoprvková množina K={ ", " }."}, 1}},
    // RayBelowOpen
    {linear_has,
     {{" x< ", "."}, 1},
     {{"Množina kořenů: otevřený interval  I=(-oo  ; ", " )."}, 1}},
    // RayAboveOpen: the rays to +oo have two blanks after "má"
    {linear_has_above,
     {{" x> ", "."}, 1},
     {{"Množina kořenů: otevřený interval  I=( ", "  ;  oo  )."}, 1}},
    // RayBelowClosed
    {linear_has,
     {{" x<= ", "."}, 1},
     {{"Množina kořenů: polouzavřený interval  I=(-oo  ; ", " >."}, 1}},
    // RayAboveClosed
    {linear_has_above,
     {{" x >= ", "."}, 1},
     {{"Množina kořenů: polouzavřený interval  I= < ", "  ;  oo  )."}, 1}},
    // ConstantAllReals
    {linear_has_all, {{any_x}}, {{all_reals_set}}},
    // ConstantEmpty
    {linear_has_none, {{no_real_x_inequality}}, {{empty_set}}},
};
static_assert(std::size(kSentences) == static_cast<std::size_t>(SolutionKind::ConstantEmpty) + 1);

std::string fill(const LineTemplate &line, const Solution &solution, char separator)
{
    std::string text(line.pieces[0]);
    if (line.numbers >= 1) {
        append_number(text, solution.first, separator);
        text += line.pieces[1];
    }
    if (line.numbers >= 2) {
        append_number(text, solution.second, separator);
        text += line.pieces[2];
    }
    return text;
}

} // namespace

/*
 * The equation a x^2 + b x + c = 0. The grades are tried in order: quadratic
 * (a != 0), linear (b != 0), constant. Comparisons are exact, so -0 counts as
 * zero, and D = 0 means the double discriminant is exactly zero: for
 * x^2 - 0.6 x + 0.09 the extended products leave D slightly negative and the
 * equation has no real root, although the typed decimals form a square.
 */
Solution analyse_equation(double a, double b, double c, int decimals)
{
    fp::clear();
    if (a == 0.0) {
        if (b == 0.0)
            return {c == 0.0 ? SolutionKind::EveryNumber : SolutionKind::NoSolution};
        return {SolutionKind::LinearRoot, root_rl(b, c, decimals)};
    }
    const double d = discriminant(a, b, c);
    if (!(d >= 0.0))
        return {SolutionKind::NoRealRoot};
    if (d == 0.0)
        return {SolutionKind::DoubleRoot, root_r0(a, b, decimals)};
    // Both roots are written even when they round to the same value.
    const double r1 = detail::root_r1(a, b, d, decimals);
    const double r2 = detail::root_r2(a, b, d, decimals);
    return {SolutionKind::TwoRoots, r1, r2};
}

/*
 * The inequality a x^2 + b x + c (relation) 0.
 *
 * Quadratic grade: the parabola opens upwards when a > 0. With D > 0 it is
 * negative strictly between its roots and positive outside them, so the
 * solution lies between the roots when the wanted sign differs from the sign
 * of a, and outside them when it agrees. r1 is the smaller root when a < 0
 * and the larger when a > 0; the sign of a decides, the roots are never
 * compared. With D <= 0 the parabola keeps the sign of a except at a double
 * root: when the wanted sign agrees, every x solves it (for a strict relation
 * every x but a double root r0); when it differs, nothing does (for a
 * non-strict relation, only a double root r0).
 *
 * Linear grade: b x + c grows with x when b > 0, so the solution is the ray
 * above rl when the wanted sign agrees with the sign of b, otherwise the ray
 * below. Constant grade: c itself either satisfies the relation or not.
 */
Solution analyse_inequality(double a, double b, double c, Relation relation, int decimals)
{
    fp::clear();
    const bool strict = is_strict(relation);
    const bool positive = wants_positive(relation);

    if (a != 0.0) {
        const bool opens_up = a > 0.0;
        const double d = discriminant(a, b, c);
        if (d > 0.0) {
            const double r1 = detail::root_r1(a, b, d, decimals);
            const double r2 = detail::root_r2(a, b, d, decimals);
            const double lower = opens_up ? r2 : r1;
            const double upper = opens_up ? r1 : r2;
            const bool outside = opens_up == positive;
            const SolutionKind kind = outside ? (strict ? SolutionKind::OpenOutside : SolutionKind::ClosedOutside)
                                              : (strict ? SolutionKind::OpenBetween : SolutionKind::ClosedBetween);
            return {kind, lower, upper};
        }
        if (opens_up == positive) {
            if (!strict || d != 0.0)
                return {SolutionKind::AllReals};
            const double r0 = root_r0(a, b, decimals);
            return {SolutionKind::AllRealsExcept, r0, r0};
        }
        if (strict || d != 0.0)
            return {SolutionKind::Empty};
        return {SolutionKind::SinglePoint, root_r0(a, b, decimals)};
    }

    if (b != 0.0) {
        const double rl = root_rl(b, c, decimals);
        const bool above = (b > 0.0) == positive;
        const SolutionKind kind = above ? (strict ? SolutionKind::RayAboveOpen : SolutionKind::RayAboveClosed)
                                        : (strict ? SolutionKind::RayBelowOpen : SolutionKind::RayBelowClosed);
        return {kind, rl};
    }

    return {constant_holds(c, relation) ? SolutionKind::ConstantAllReals : SolutionKind::ConstantEmpty};
}

Solution analyse(const Problem &problem)
{
    if (problem.relation == Relation::Equal)
        return analyse_equation(problem.a, problem.b, problem.c, problem.decimals);
    return analyse_inequality(problem.a, problem.b, problem.c, problem.relation, problem.decimals);
}

SolutionText describe(const Solution &solution, char decimal_separator)
{
    const SentenceTemplate &sentence = kSentences[static_cast<int>(solution.kind)];
    return {std::string(sentence.verdict), fill(sentence.condition, solution, decimal_separator),
            fill(sentence.root_set, solution, decimal_separator)};
}

} // namespace parvolin
