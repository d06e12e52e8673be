#include "solver/graph_view.h"

#include "solver/ascii.h"
#include "solver/big_number.h"
#include "solver/extended.h"
#include "solver/fp_env.h"
#include "solver/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <limits>

namespace parvolin {

namespace {

// The notes under the picture where the curve seems to say more than the
// sentences. The computed discriminant is a double: it may come out slightly
// negative where the exact one is 0, or 0 where the exact one is too small
// for a double (coefficients near 1E-300).
constexpr std::string_view caption_no_root =
    "Parabola se na obrázku dotýká osy x, ale vypočtený diskriminant vyšel nepatrně záporný, "
    "proto rovnice nemá řešení.";
constexpr std::string_view caption_no_point =
    "Parabola se na obrázku dotýká osy x, ale vypočtený diskriminant vyšel nepatrně záporný, "
    "proto nerovnice nemá řešení.";
constexpr std::string_view caption_no_exception =
    "Parabola se na obrázku dotýká osy x, ale vypočtený diskriminant vyšel nepatrně záporný, "
    "proto řešením je každé reálné číslo.";
constexpr std::string_view caption_not_crossing =
    "Parabola na obrázku protíná osu x, ale vypočtený diskriminant nevyšel kladný (je menší, "
    "než výpočet rozliší), proto se s ní počítá, jako by osu x neprotínala.";
constexpr std::string_view caption_touching =
    "Parabola na obrázku osy x nedosahuje, ale vypočtený diskriminant vyšel nulový (je menší, "
    "než výpočet rozliší), proto se s ní počítá, jako by se osy x dotýkala.";

// The view's ends are doubles, so the view stays within the double range;
// spans, the room for labels and the positions in it are worked out in the
// extended format, where twice or ten times the double range still fits. It
// is never narrower than the smallest span, so that tick steps are normal
// numbers.
constexpr Extended view_limit = std::numeric_limits<double>::max();
constexpr Extended smallest_span = extended_from_bits(0x3C09, 0xE0B62E2929ABA83C); // 1E-305
// Each side of the view gets a tenth of its span as margin.
constexpr Extended margin_share = extended_from_bits(0x3FFB, 0xCCCCCCCCCCCCCCCD); // 0.1
// Half the width of a view that has nothing but the origin to show.
constexpr Extended default_half_width = Extended(2);
// A vertex nearer the axis than this share of the view's height is, to the
// eye, on the axis (about a pixel and a half in a picture 300 pixels high).
constexpr Extended touch_share = extended_from_bits(0x3FF7, 0xA3D70A3D70A3D70A); // 0.005

// The solver learns of its failures from the sticky floating-point flags.
// The picture's arithmetic may overflow harmlessly on extreme coefficients;
// the flags are put back as they were, so that no later step of the solver
// takes what the picture raised for a failure of its own.
using fp::FlagsKept;

// The smallest interval around the origin and the values taken so far.
struct Extent {
    Extended low = Extended(0);
    Extended high = Extended(0);

    void take(Extended value)
    {
        if (ext::isfinite(value)) {
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    Extended span() const { return high - low; }
};

// In the extended format, where no double coefficient and no x of the view
// can overflow it.
Extended value_at(const Problem &problem, Extended x)
{
    return (static_cast<Extended>(problem.a) * x + problem.b) * x + problem.c;
}

Extended vertex_height(const Problem &problem)
{
    const Extended a = problem.a;
    const Extended b = problem.b;
    return problem.c - b * b / (Extended(4) * a);
}

AxisRange with_margin(const Extent &extent)
{
    const Extended margin = margin_share * extent.span();
    return {static_cast<double>(std::max(extent.low - margin, -view_limit)),
            static_cast<double>(std::min(extent.high + margin, view_limit))};
}

void append_superscript(std::string &text, int exponent)
{
    static constexpr std::string_view digits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    if (exponent < 0) {
        text += "⁻";
        exponent = -exponent;
    }
    const std::string decimal = integer_text(exponent);
    for (const char digit : decimal)
        text += digits[digit - '0'];
}

} // namespace

std::vector<BandPiece> solution_band(const Solution &solution)
{
    const double first = solution.first;
    const double second = solution.second;
    const auto point = [](double at) { return BandPiece{BandEnd{at, true}, BandEnd{at, true}}; };
    const auto open = [](double at) { return BandEnd{at, false}; };
    const auto closed = [](double at) { return BandEnd{at, true}; };

    switch (solution.kind) {
    case SolutionKind::TwoRoots:
        // The equation writes r1 first, whichever is larger.
        return {point(std::min(first, second)), point(std::max(first, second))};
    case SolutionKind::DoubleRoot:
    case SolutionKind::LinearRoot:
    case SolutionKind::SinglePoint:
        return {point(first)};
    case SolutionKind::NoRealRoot:
    case SolutionKind::NoSolution:
    case SolutionKind::Empty:
    case SolutionKind::ConstantEmpty:
        return {};
    case SolutionKind::EveryNumber:
    case SolutionKind::AllReals:
    case SolutionKind::ConstantAllReals:
        return {BandPiece{}};
    case SolutionKind::OpenBetween:
        return {{open(first), open(second)}};
    case SolutionKind::ClosedBetween:
        return {{closed(first), closed(second)}};
    case SolutionKind::OpenOutside:
        return {{std::nullopt, open(first)}, {open(second), std::nullopt}};
    case SolutionKind::ClosedOutside:
        return {{std::nullopt, closed(first)}, {closed(second), std::nullopt}};
    case SolutionKind::AllRealsExcept:
        return {{std::nullopt, open(first)}, {open(first), std::nullopt}};
    case SolutionKind::RayBelowOpen:
        return {{std::nullopt, open(first)}};
    case SolutionKind::RayAboveOpen:
        return {{open(first), std::nullopt}};
    case SolutionKind::RayBelowClosed:
        return {{std::nullopt, closed(first)}};
    case SolutionKind::RayAboveClosed:
        return {{closed(first), std::nullopt}};
    }
    return {};
}

/*
 * The view. For a parabola with vertex V = (xv, yv) the points xv +- w with
 * w = sqrt(|yv / a|) are where the curve is as far from its vertex as the
 * vertex is from the axis: the true roots when it crosses the axis, the points
 * at twice the vertex's height when it does not. Taking them, and the mirror
 * image 2·xv of the y-intercept, keeps the picture symmetric about the
 * parabola's axis and its width in proportion to its depth.
 */
GraphView graph_view(const Problem &problem, const Solution &solution)
{
    const FlagsKept kept;
    const Extended a = problem.a;
    const Extended b = problem.b;
    const Extended c = problem.c;
    Extent x; // both start at the origin
    Extent y;
    y.take(c);
    if (a != Extended(0)) {
        const Extended xv = -b / (Extended(2) * a);
        const Extended yv = vertex_height(problem);
        x.take(xv);
        y.take(yv);
        x.take(Extended(2) * xv);
        const Extended w = ext::sqrt(ext::fabs(yv / a));
        x.take(xv - w);
        x.take(xv + w);
        y.take(value_at(problem, xv + w));
    } else if (b != Extended(0)) {
        // The root and the mirror image of the y-intercept about it: the root
        // in the middle, with room for a ray either way.
        const Extended root = -c / b;
        x.take(root);
        x.take(Extended(2) * root);
    }
    // The roots as written, which rounding may have moved off the curve's.
    for (const BandPiece &piece : solution_band(solution))
        for (const auto &end : {piece.lower, piece.upper})
            if (end)
                x.take(end->at);

    if (!(x.span() > smallest_span)) {
        x.take(-default_half_width);
        x.take(default_half_width);
    }
    if (!(y.span() > smallest_span)) {
        // The curve runs along the axis here (or is the axis): show how it
        // leaves it within the view, or one unit either side.
        y.take(value_at(problem, x.low));
        y.take(value_at(problem, x.high));
        if (!(y.span() > smallest_span)) {
            y.take(Extended(-1));
            y.take(Extended(1));
        }
    }
    return {with_margin(x), with_margin(y)};
}

double share_of(AxisRange range, double value)
{
    return static_cast<double>((static_cast<Extended>(value) - range.low) /
                               (static_cast<Extended>(range.high) - range.low));
}

AxisRange with_room_around_zero(AxisRange range, double length, double room_below, double room_above)
{
    const FlagsKept kept;
    const Extended below = room_below / static_cast<Extended>(length);
    const Extended above = room_above / static_cast<Extended>(length);
    // Too short an axis for the labels: leave it as it is.
    if (!(length > 0.0) || !(below >= Extended(0) && above >= Extended(0) && below + above < extended_from_bits(0x3FFE, 0xE666666666666666)))
        return range;
    const Extended low = range.low;
    const Extended high = range.high;
    const Extended span = high - low;
    if (!(span > Extended(0)))
        return range;
    // Share of the axis below 0; moving one end brings it to the wanted share
    // (as far as the double range allows).
    const Extended zero_at = -low / span;
    if (zero_at < below)
        range.low = static_cast<double>(std::max(-below * high / (Extended(1) - below), -view_limit));
    else if (zero_at > Extended(1) - above)
        range.high = static_cast<double>(std::min(-above * low / (Extended(1) - above), view_limit));
    return range;
}

namespace {

#include "solver/tick_powers_of_ten.inc"

constexpr int tick_power_count = static_cast<int>(std::size(kTickPowersOfTen));

// The index of the largest power of ten in the table not above x, by
// comparisons alone; the lowest for an x below the table, the one before
// last above it (the table reaches past every span of doubles either way).
int tick_power_index(Extended x)
{
    int low = 0, high = tick_power_count - 2;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (kTickPowersOfTen[middle] <= x)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

} // namespace

AxisTicks axis_ticks(AxisRange range, int max_count)
{
    const FlagsKept kept;
    AxisTicks ticks;
    max_count = std::clamp(max_count, 1, 50);
    // In the extended format: the span of a view across the whole double
    // range is twice the largest double.
    const Extended span = static_cast<Extended>(range.high) - range.low;
    if (!(span > Extended(0)) || !ext::isfinite(span))
        return ticks;
    // The step is 1, 2, 5 or 10 times 10^n, 10^n the largest power of ten
    // in the table not above span / max_count. Each candidate is the table's
    // power, doubled or halved exactly, so each is the extended value
    // nearest to its decimal on every processor.
    const int n = tick_power_index(span / max_count);
    const Extended candidates[] = {kTickPowersOfTen[n], Extended(2) * kTickPowersOfTen[n],
                                      kTickPowersOfTen[n + 1] / Extended(2), kTickPowersOfTen[n + 1]};
    Extended step = candidates[3];
    for (const Extended candidate : candidates) {
        if (span / candidate <= max_count) {
            step = candidate;
            break;
        }
    }
    ticks.step = static_cast<double>(step);
    const Extended first = ext::ceil(range.low / step);
    const Extended last = ext::floor(range.high / step);
    for (Extended k = first; k <= last && ticks.values.size() <= static_cast<std::size_t>(max_count); ++k) {
        // Never a negative zero.
        const double value = k == 0 ? 0.0 : static_cast<double>(k * step);
        // The product's rounding may carry the first or last multiple a
        // hair past an end (or, past the double range, to infinity).
        if (value >= range.low && value <= range.high)
            ticks.values.push_back(value);
    }
    const double largest = std::max(std::fabs(range.low), std::fabs(range.high));
    ticks.scientific = ticks.step < 1e-4 || largest >= 1e6;
    return ticks;
}

std::string tick_label(double value, const AxisTicks &ticks, char decimal_separator)
{
    if (value == 0.0)
        return "0";
    // Plain ticks are multiples of the step with the division's noise in the
    // 17th digit; the 15 digits of format_number drop it.
    if (!ticks.scientific)
        return format_number(value, decimal_separator);
    const FlagsKept kept;
    // A tick is a small multiple of 1, 2 or 5 times a power of ten: six
    // decimals of the mantissa are more than it has, and they drop the noise.
    // The decimal conversion is exact and rounds once, so the label is the
    // same on every processor and library (no log10 or pow, whose last bit
    // differs between C libraries): seven significant digits, then the
    // double nearest to d,dddddd.
    const SignificantDigits seven = significant_digits(value, 7);
    const Integer signed_digits = value < 0 ? Integer(-integer_from_64(seven.digits)) : integer_from_64(seven.digits);
    const double mantissa = nearest_double(ratio(signed_digits, power_of_ten(6)));
    const int exponent = seven.exponent;
    std::string text;
    if (mantissa == -1.0) {
        text += '-';
    } else if (mantissa != 1.0) {
        append_number(text, mantissa, decimal_separator);
        text += "·";
    }
    text += "10";
    append_superscript(text, exponent);
    return text;
}

std::optional<GraphPoint> parabola_vertex(const Problem &problem)
{
    if (problem.a == 0.0)
        return std::nullopt;
    const FlagsKept kept;
    const Extended xv = -static_cast<Extended>(problem.b) / (Extended(2) * problem.a);
    const GraphPoint vertex{static_cast<double>(xv), static_cast<double>(vertex_height(problem))};
    if (!std::isfinite(vertex.x) || !std::isfinite(vertex.y))
        return std::nullopt;
    return vertex;
}

std::vector<GraphPoint> curve_in_view(const Problem &problem, const GraphView &view, int count)
{
    const FlagsKept kept;
    std::vector<GraphPoint> points;
    if (count < 2)
        return points;
    const Extended x_low = view.x.low;
    const Extended x_span = static_cast<Extended>(view.x.high) - view.x.low;
    const Extended y_low = view.y.low;
    const Extended y_span = static_cast<Extended>(view.y.high) - view.y.low;
    points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const Extended x_share = static_cast<Extended>(i) / (count - 1);
        const Extended y = value_at(problem, x_low + x_span * x_share);
        const Extended y_share = std::clamp((y - y_low) / y_span, Extended(-10), Extended(11));
        points.push_back({static_cast<double>(x_share), static_cast<double>(y_share)});
    }
    return points;
}

/*
 * Where the curve as drawn and the sentences part. The sentences follow the
 * sign of the computed discriminant; the picture shows the vertex, which is
 * exact enough to be seen where it is:
 *  - on the axis to the eye while D < 0 (1, -0.6, 0.09 gives D about
 *    -1.3E-17): a touching curve would mean a double root for the equation,
 *    a single point for "<=" and ">=" where the parabola is on the wrong side,
 *    and an excepted point for "<" and ">" where it is on the right side;
 *  - clearly across the axis while D <= 0, or clearly off it while D = 0:
 *    the exact D is smaller than a double holds (1E-300, 1E-300, -1E-300).
 * Where a touching curve agrees with the text anyway (">=" for an upward
 * parabola, say), nothing is said.
 */
std::string_view graph_caption(const Problem &problem, const Solution &solution, const GraphView &view)
{
    if (problem.a == 0.0)
        return {};
    const FlagsKept kept;
    const Extended height = static_cast<Extended>(view.y.high) - view.y.low;
    const Extended vertex = vertex_height(problem);
    const bool touches = ext::fabs(vertex) <= touch_share * height;
    // Below the axis for a parabola that opens upwards, or above for one
    // that opens downwards.
    const bool crosses = !touches && (problem.a > 0.0) == (vertex < Extended(0));
    const bool strict = is_strict(problem.relation);

    switch (solution.kind) {
    case SolutionKind::DoubleRoot:
    case SolutionKind::AllRealsExcept:
    case SolutionKind::SinglePoint:
        // D = 0.
        if (crosses)
            return caption_not_crossing;
        return touches ? std::string_view{} : caption_touching;
    case SolutionKind::NoRealRoot:
        if (crosses)
            return caption_not_crossing;
        return touches ? caption_no_root : std::string_view{};
    case SolutionKind::Empty:
        // D = 0 or D < 0 for "<" and ">", D < 0 for "<=" and ">=".
        if (crosses)
            return caption_not_crossing;
        return touches && !strict ? caption_no_point : std::string_view{};
    case SolutionKind::AllReals:
        if (crosses)
            return caption_not_crossing;
        return touches && strict ? caption_no_exception : std::string_view{};
    default:
        return {};
    }
}

} // namespace parvolin
