#include "solver/exact_solution.h"

#include "solver/number_text.h"

#include <algorithm>
#include <charconv>

namespace parvolin {

namespace {

bool wants_positive(Relation relation)
{
    return relation == Relation::Greater || relation == Relation::GreaterEqual;
}

ExactEnd finite(const Surd &value) { return {0, value}; }
constexpr int minus_infinity = -1;
constexpr int plus_infinity = 1;

ExactSet points(std::vector<Surd> values) { return {SetKind::Points, {}, std::move(values), {}}; }
ExactSet all_reals() { return {SetKind::AllReals, {{{minus_infinity, {}}, false, {plus_infinity, {}}, false}}, {}, {}}; }
ExactSet empty_set() { return {}; }

ExactSet intervals(std::vector<ExactInterval> pieces) { return {SetKind::Intervals, std::move(pieces), {}, {}}; }

/*
 * The sign of a x² + b x + c between and outside its zeros: with two zeros
 * the parabola has the sign of a outside them and the opposite sign between
 * them; with one (double) zero it has the sign of a everywhere else; with
 * none, everywhere. The wanted sign either agrees with that of a (outside,
 * or all reals) or not (between, or nothing); a non-strict relation adds the
 * zeros themselves.
 */
ExactSet quadratic_inequality(const std::vector<Surd> &zeros, bool opens_up, Relation relation)
{
    const bool strict = is_strict(relation);
    const bool agrees = opens_up == wants_positive(relation);
    if (zeros.size() == 2) {
        const ExactEnd lower = finite(zeros[0]);
        const ExactEnd upper = finite(zeros[1]);
        if (agrees)
            return intervals({{{minus_infinity, {}}, false, lower, !strict}, {upper, !strict, {plus_infinity, {}}, false}});
        return intervals({{lower, !strict, upper, !strict}});
    }
    if (zeros.size() == 1) {
        if (agrees && strict) {
            ExactSet set = all_reals();
            set.kind = SetKind::AllRealsExcept;
            set.excluded = zeros;
            return set;
        }
        if (agrees)
            return all_reals();
        return strict ? empty_set() : points(zeros);
    }
    return agrees ? all_reals() : empty_set();
}

ExactSet linear_inequality(const Surd &root, bool increasing, Relation relation)
{
    const bool strict = is_strict(relation);
    if (increasing == wants_positive(relation))
        return intervals({{finite(root), !strict, {plus_infinity, {}}, false}});
    return intervals({{{minus_infinity, {}}, false, finite(root), !strict}});
}

bool constant_holds(const Rational &c, Relation relation)
{
    switch (relation) {
    case Relation::Less: return c < 0;
    case Relation::Greater: return c > 0;
    case Relation::LessEqual: return c <= 0;
    case Relation::GreaterEqual: return c >= 0;
    case Relation::Equal: break;
    }
    return c == 0;
}

// A rounded end as format_number writes it, from the correctly rounded
// double nearest to the decimal.
std::string end_text(const Surd &value, int n)
{
    const Integer scaled = round_to_places(value, n).scaled;
    // Both numbers exact as doubles (below 2^53, 10^22): their quotient is
    // then already the nearest double, as the rounding is to nearest.
    constexpr std::size_t exact_bits = 53;
    if (n >= 0 && n <= 22 && bit_size(scaled) <= exact_bits) {
        double power = 1.0;
        for (int i = 0; i < n; ++i)
            power *= 10.0;
        const double top = static_cast<double>(magnitude_64(scaled));
        return format_number(sgn(scaled) < 0 ? -top / power : top / power, '.');
    }
    const double nearest = nearest_double(ratio(scaled, power_of_ten(static_cast<std::uint32_t>(n))));
    return format_number(nearest, '.');
}

std::string shape_text(const char *kind, const std::vector<std::string> &parts)
{
    std::string text = kind;
    for (const auto &part : parts)
        text += " " + part;
    return text;
}

std::string interval_text(bool lower_closed, const std::string &lower, const std::string &upper, bool upper_closed)
{
    return (lower_closed ? "<" : "(") + lower + ";" + upper + (upper_closed ? ">" : ")");
}

/*
 * The two rays outside the zeros, (-oo ; x1) U (x2 ; oo), where x1 and x2
 * are written alike: the set shown is the whole line without that number,
 * and with closed ends the whole line. A D just above zero in binary (or
 * exactly) gives these where the other side has R \ {x0} or R, and the two
 * then look the same. Two zeros between which the set lies stay an
 * interval: "( -5,5 ; -5,5 )" is not the same statement as "no solution".
 */
std::string outside_shape(const std::string &lower_end, bool closed, const std::string &upper_end)
{
    if (lower_end == upper_end)
        return closed ? shape_text("all", {}) : shape_text("all_except", {lower_end});
    return shape_text("intervals",
                      {interval_text(false, "-oo", lower_end, closed), interval_text(closed, upper_end, "oo", false)});
}

} // namespace

ExactAnalysis analyse_exact(const Rational &a, const Rational &b, const Rational &c, Relation relation)
{
    ExactAnalysis analysis;
    if (a != 0) {
        analysis.grade = Grade::Quadratic;
        analysis.discriminant = b * b - 4 * a * c;
        const Rational &d = analysis.discriminant;
        const Rational vertex = -b / (2 * a);
        if (d == 0) {
            analysis.zeros.push_back(make_surd(vertex));
        } else if (d > 0) {
            const Rational half_width = 1 / (2 * abs(a));
            Surd upper = make_surd(vertex, half_width, d);
            if (upper.is_rational()) {
                analysis.zeros.push_back(make_surd(vertex, -half_width, d));
            } else { // the conjugate: only the sign of the root's coefficient differs
                Surd lower = upper;
                lower.v = -lower.v;
                analysis.zeros.push_back(std::move(lower));
            }
            analysis.zeros.push_back(std::move(upper));
        }
        if (relation == Relation::Equal)
            analysis.set = analysis.zeros.empty() ? empty_set() : points(analysis.zeros);
        else
            analysis.set = quadratic_inequality(analysis.zeros, a > 0, relation);
        return analysis;
    }
    if (b != 0) {
        analysis.grade = Grade::Linear;
        analysis.zeros.push_back(make_surd(-c / b));
        if (relation == Relation::Equal)
            analysis.set = points(analysis.zeros);
        else
            analysis.set = linear_inequality(analysis.zeros[0], b > 0, relation);
        return analysis;
    }
    analysis.grade = Grade::Constant;
    analysis.set = constant_holds(c, relation) ? all_reals() : empty_set();
    return analysis;
}

const char *set_kind_name(SetKind kind)
{
    switch (kind) {
    case SetKind::Empty: return "empty";
    case SetKind::Points: return "points";
    case SetKind::Intervals: return "intervals";
    case SetKind::AllReals: return "all";
    case SetKind::AllRealsExcept: return "all_except";
    }
    return "empty";
}

std::string rounded_shape(const ExactSet &set, int n)
{
    std::vector<std::string> parts;
    switch (set.kind) {
    case SetKind::Points:
        for (const auto &point : set.points)
            parts.push_back(end_text(point, n));
        break;
    case SetKind::Intervals: {
        const auto end = [&](const ExactEnd &e) {
            return e.infinity == 0 ? end_text(e.value, n) : e.infinity < 0 ? std::string("-oo") : std::string("oo");
        };
        const auto &pieces = set.intervals;
        if (pieces.size() == 2 && pieces[0].lower.infinity < 0 && pieces[1].upper.infinity > 0 &&
            pieces[0].upper_closed == pieces[1].lower_closed)
            return outside_shape(end(pieces[0].upper), pieces[0].upper_closed, end(pieces[1].lower));
        for (const auto &piece : pieces)
            parts.push_back(interval_text(piece.lower_closed, end(piece.lower), end(piece.upper), piece.upper_closed));
        break;
    }
    case SetKind::AllRealsExcept:
        for (const auto &point : set.excluded)
            parts.push_back(end_text(point, n));
        break;
    case SetKind::Empty:
    case SetKind::AllReals:
        break;
    }
    return shape_text(set_kind_name(set.kind), parts);
}

std::string rounded_shape(const Solution &solution)
{
    const std::string first = format_number(solution.first, '.');
    const std::string second = format_number(solution.second, '.');
    const std::string low = solution.first <= solution.second ? first : second;
    const std::string high = solution.first <= solution.second ? second : first;
    switch (solution.kind) {
    case SolutionKind::TwoRoots: return shape_text("points", {low, high});
    case SolutionKind::DoubleRoot:
    case SolutionKind::LinearRoot:
    case SolutionKind::SinglePoint: return shape_text("points", {first});
    case SolutionKind::NoRealRoot:
    case SolutionKind::NoSolution:
    case SolutionKind::Empty:
    case SolutionKind::ConstantEmpty: return shape_text("empty", {});
    case SolutionKind::EveryNumber:
    case SolutionKind::AllReals:
    case SolutionKind::ConstantAllReals: return shape_text("all", {});
    case SolutionKind::AllRealsExcept: return shape_text("all_except", {first});
    case SolutionKind::OpenBetween: return shape_text("intervals", {interval_text(false, first, second, false)});
    case SolutionKind::ClosedBetween: return shape_text("intervals", {interval_text(true, first, second, true)});
    case SolutionKind::OpenOutside: return outside_shape(first, false, second);
    case SolutionKind::ClosedOutside: return outside_shape(first, true, second);
    case SolutionKind::RayBelowOpen: return shape_text("intervals", {interval_text(false, "-oo", first, false)});
    case SolutionKind::RayBelowClosed: return shape_text("intervals", {interval_text(false, "-oo", first, true)});
    case SolutionKind::RayAboveOpen: return shape_text("intervals", {interval_text(false, first, "oo", false)});
    case SolutionKind::RayAboveClosed: return shape_text("intervals", {interval_text(true, first, "oo", false)});
    }
    return {};
}

} // namespace parvolin
