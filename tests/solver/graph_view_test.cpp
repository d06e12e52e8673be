// What the picture shows, without a window: the solution set on the x-axis
// for every row of the case tables (through the real analysis), the view for
// extreme coefficients, tick labels, room for labels and the caption.

#include "solver/fp_env.h"
#include "solver/graph_view.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

namespace parvolin {

namespace {

// Characters, not bytes: superscript digits take three bytes each.
long characters(const std::string &text)
{
    return std::count_if(text.begin(), text.end(), [](char byte) { return (byte & 0xC0) != 0x80; });
}

constexpr auto Eq = Relation::Equal;
constexpr auto Lt = Relation::Less;
constexpr auto Gt = Relation::Greater;
constexpr auto Le = Relation::LessEqual;
constexpr auto Ge = Relation::GreaterEqual;

using Band = std::vector<BandPiece>;

BandPiece point(double at) { return {BandEnd{at, true}, BandEnd{at, true}}; }
BandPiece between(double low, double high, bool closed) { return {BandEnd{low, closed}, BandEnd{high, closed}}; }
BandPiece below(double at, bool closed) { return {std::nullopt, BandEnd{at, closed}}; }
BandPiece above(double at, bool closed) { return {BandEnd{at, closed}, std::nullopt}; }
const Band whole{BandPiece{}};
const Band nothing{};
Band outside(double low, double high, bool closed) { return {below(low, closed), above(high, closed)}; }
Band except(double at) { return {below(at, false), above(at, false)}; }

// --- The band --------------------------------------------------------------------

struct BandRow : NamedRow {
    double a, b, c;
    Relation relation;
    Band band;
};

class BandOfCase : public ::testing::TestWithParam<BandRow> {};

TEST_P(BandOfCase, IsTheSolutionSetTheSentencesWrite)
{
    const BandRow &row = GetParam();
    EXPECT_EQ(solution_band(analyse(Problem{row.a, row.b, row.c, row.relation, 2})), row.band);
}

// One row per row of the case tables, in their order.
INSTANTIATE_TEST_SUITE_P(
    Equation, BandOfCase,
    ::testing::Values(BandRow{"two_roots", 1, -3, 2, Eq, {point(1), point(2)}},
                      BandRow{"two_roots_a_negative", -1, 0, 4, Eq, {point(-2), point(2)}},
                      BandRow{"double_root", 1, 2, 1, Eq, {point(-1)}},
                      BandRow{"no_real_root", 1, 1, 1, Eq, nothing},
                      BandRow{"linear", 0, 2, -3, Eq, {point(1.5)}},
                      BandRow{"no_solution", 0, 0, 5, Eq, nothing},
                      BandRow{"every_number", 0, 0, 0, Eq, whole}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    Less, BandOfCase,
    ::testing::Values(BandRow{"two_roots_a_negative", -1, 3, -2, Lt, outside(1, 2, false)},
                      BandRow{"two_roots_a_positive", 1, -3, 2, Lt, {between(1, 2, false)}},
                      BandRow{"no_real_root_a_negative", -1, 0, -1, Lt, whole},
                      BandRow{"double_root_a_negative", -1, 2, -1, Lt, except(1)},
                      BandRow{"d_not_positive_a_positive", 1, -2, 1, Lt, nothing},
                      BandRow{"linear_b_positive", 0, 2, -4, Lt, {below(2, false)}},
                      BandRow{"linear_b_negative", 0, -2, 4, Lt, {above(2, false)}},
                      BandRow{"constant_negative", 0, 0, -5, Lt, whole},
                      BandRow{"constant_zero", 0, 0, 0, Lt, nothing}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    Greater, BandOfCase,
    ::testing::Values(BandRow{"two_roots_a_positive", 1, -3, 2, Gt, outside(1, 2, false)},
                      BandRow{"two_roots_a_negative", -1, 3, -2, Gt, {between(1, 2, false)}},
                      BandRow{"no_real_root_a_positive", 1, 0, 1, Gt, whole},
                      BandRow{"double_root_a_positive", 1, -2, 1, Gt, except(1)},
                      BandRow{"d_not_positive_a_negative", -1, 2, -1, Gt, nothing},
                      BandRow{"linear_b_positive", 0, 2, -4, Gt, {above(2, false)}},
                      BandRow{"linear_b_negative", 0, -2, 4, Gt, {below(2, false)}},
                      BandRow{"constant_positive", 0, 0, 5, Gt, whole},
                      BandRow{"constant_zero", 0, 0, 0, Gt, nothing}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    LessEqual, BandOfCase,
    ::testing::Values(BandRow{"two_roots_a_negative", -1, 3, -2, Le, outside(1, 2, true)},
                      BandRow{"two_roots_a_positive", 1, -3, 2, Le, {between(1, 2, true)}},
                      BandRow{"d_not_positive_a_negative", -1, 0, -1, Le, whole},
                      BandRow{"no_real_root_a_positive", 1, 0, 1, Le, nothing},
                      BandRow{"double_root_a_positive", 1, -2, 1, Le, {point(1)}},
                      BandRow{"linear_b_positive", 0, 2, -4, Le, {below(2, true)}},
                      BandRow{"linear_b_negative", 0, -2, 4, Le, {above(2, true)}},
                      BandRow{"constant_zero", 0, 0, 0, Le, whole},
                      BandRow{"constant_positive", 0, 0, 5, Le, nothing}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    GreaterEqual, BandOfCase,
    ::testing::Values(BandRow{"two_roots_a_positive", 1, -3, 2, Ge, outside(1, 2, true)},
                      BandRow{"two_roots_a_negative", -1, 3, -2, Ge, {between(1, 2, true)}},
                      BandRow{"d_not_positive_a_positive", 1, 0, 1, Ge, whole},
                      BandRow{"no_real_root_a_negative", -1, 0, -1, Ge, nothing},
                      BandRow{"double_root_a_negative", -1, 2, -1, Ge, {point(1)}},
                      BandRow{"linear_b_positive", 0, 2, -4, Ge, {above(2, true)}},
                      BandRow{"linear_b_negative", 0, -2, 4, Ge, {below(2, true)}},
                      BandRow{"constant_zero", 0, 0, 0, Ge, whole},
                      BandRow{"constant_negative", 0, 0, -5, Ge, nothing}),
    row_name);

// Where the picture could drift from the text: the ends are the rounded
// values, and the extended discriminant decides, not the typed decimals.
INSTANTIATE_TEST_SUITE_P(
    AsWritten, BandOfCase,
    ::testing::Values(BandRow{"rounded_ends", 1, 0, -2, Lt, {between(-1.41, 1.41, false)}},
                      BandRow{"roots_rounding_alike", 1, -2, 0.99999999, Lt, {between(1, 1, false)}},
                      BandRow{"perfect_square_in_decimals", 1, -0.6, 0.09, Le, nothing},
                      BandRow{"negative_zero_a_is_linear", -0.0, 2, -4, Lt, {below(2, false)}}),
    row_name);

// --- The view ---------------------------------------------------------------------

struct ViewRow : NamedRow {
    double a, b, c;
    Relation relation;
    std::vector<GraphPoint> inside; // the roots, vertex and intercept that fit the view
    bool x_scientific;
    bool y_scientific;
};

class ViewOf : public ::testing::TestWithParam<ViewRow> {};

bool within(double value, const AxisRange &range) { return range.low <= value && value <= range.high; }

TEST_P(ViewOf, ShowsTheFeaturesWithReadableTicks)
{
    const ViewRow &row = GetParam();
    const Problem problem{row.a, row.b, row.c, row.relation, 2};
    const GraphView view = graph_view(problem, analyse(problem));
    for (const AxisRange &range : {view.x, view.y}) {
        ASSERT_TRUE(std::isfinite(range.low) && std::isfinite(range.high));
        EXPECT_LT(range.low, range.high);
        EXPECT_TRUE(within(0.0, range)) << "the axes must be in the picture";
    }
    for (const GraphPoint &point : row.inside) {
        // Strictly inside: the margin keeps a feature off the edge.
        EXPECT_TRUE(point.x > view.x.low && point.x < view.x.high) << point.x;
        EXPECT_TRUE(point.y > view.y.low && point.y < view.y.high) << point.y;
    }
    for (const auto &[range, scientific] : {std::pair{view.x, row.x_scientific}, std::pair{view.y, row.y_scientific}}) {
        const AxisTicks ticks = axis_ticks(range, 8);
        EXPECT_GE(ticks.values.size(), 3u);
        EXPECT_LE(ticks.values.size(), 9u);
        EXPECT_EQ(ticks.scientific, scientific);
        for (const double value : ticks.values) {
            const std::string label = tick_label(value, ticks, ',');
            EXPECT_TRUE(within(value, range));
            EXPECT_LE(characters(label), 10) << label;
            EXPECT_EQ(label.find('E'), std::string::npos) << label;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Graph, ViewOf,
    ::testing::Values(
        ViewRow{"ordinary", 1, -3, 2, Lt, {{1, 0}, {2, 0}, {1.5, -0.25}, {0, 2}}, false, false},
        ViewRow{"huge_a", 1e150, 0, -1e150, Lt, {{-1, 0}, {1, 0}, {0, -1e150}}, false, true},
        ViewRow{"roots_a_million_apart", 1e-6, 1, 1, Gt, {{-999999, 0}, {-1, 0}, {0, 1}}, true, false},
        ViewRow{"subnormal_a", 5e-324, 0, 1, Gt, {{0, 1}}, true, false},
        ViewRow{"c_near_the_double_limit", 1, 0, 4e307, Gt, {{0, 4e307}}, true, true},
        ViewRow{"c_the_largest_double", 1e-10, 0, 1.7e308, Gt, {{0, 1.7e308}}, true, true},
        ViewRow{"steep_tiny_roots", 1e10, 0, -1, Lt, {{-1e-5, 0}, {1e-5, 0}, {0, -1}}, true, false},
        ViewRow{"tiny_linear", 0, 1e-200, 1e-200, Lt, {{-1, 0}, {0, 1e-200}}, false, true},
        ViewRow{"everything_zero", 0, 0, 0, Eq, {}, false, false},
        ViewRow{"line_through_origin", 0, 5, 0, Gt, {{0, 0}}, false, false},
        // Every value of the curve near 1E-300: its own scale, not a line on the axis.
        ViewRow{"all_coefficients_tiny", 1e-300, 1e-300, 1e-300, Lt, {{-0.5, 0.75e-300}, {0, 1e-300}}, false, true},
        ViewRow{"scale_below_the_smallest_span", 1, -1e-307, 0, Eq, {}, false, false}),
    row_name);

// --- Ticks and their labels ----------------------------------------------------------

struct LabelRow : NamedRow {
    double value;
    bool scientific;
    char separator;
    const char *label;
};

class TickLabel : public ::testing::TestWithParam<LabelRow> {};

TEST_P(TickLabel, IsShortAndRegional)
{
    const LabelRow &row = GetParam();
    AxisTicks ticks;
    ticks.scientific = row.scientific;
    EXPECT_EQ(tick_label(row.value, ticks, row.separator), row.label);
}

INSTANTIATE_TEST_SUITE_P(
    Graph, TickLabel,
    ::testing::Values(LabelRow{"multiple_with_noise", 3 * 0.1, false, ',', "0,3"},
                      LabelRow{"scientific_dot", 2.5e9, true, '.', "2.5·10⁹"},
                      LabelRow{"power_alone", 1e-7, true, ',', "10⁻⁷"},
                      LabelRow{"negative_power", -1e12, true, ',', "-10¹²"},
                      LabelRow{"just_under_a_power", 9.999999999999999e-6, true, ',', "10⁻⁵"},
                      LabelRow{"three_digit_exponent", -4e-150, true, ',', "-4·10⁻¹⁵⁰"}),
    row_name);

struct StepRow : NamedRow {
    AxisRange range;
    int max_count;
    double step;
    std::vector<double> values;
};

class TickSteps : public ::testing::TestWithParam<StepRow> {};

TEST_P(TickSteps, ComeFromTheTableOfPowersOfTen)
{
    const StepRow &row = GetParam();
    const AxisTicks ticks = axis_ticks(row.range, row.max_count);
    EXPECT_EQ(ticks.step, row.step);
    EXPECT_EQ(ticks.values, row.values);
}

INSTANTIATE_TEST_SUITE_P(
    Graph, TickSteps,
    ::testing::Values(
        // 5 · 10⁻² taken from the table reaches the end at 1; a step computed
        // through the logarithm came out a hair too large and lost it.
        StepRow{"twenty_steps_reach_the_end",
                {0, 1},
                20,
                0.05,
                {0, 0.05, 0.1, 0.15, 0.2, 0.25, 0.3, 0.35, 0.4, 0.45, 0.5, 0.55, 0.6, 0.65, 0.7, 0.75, 0.8, 0.85,
                 0.9, 0.95, 1}},
        StepRow{"fifty_steps_reach_the_end",
                {-0.5, 0.5},
                50,
                0.02,
                {-0.5, -0.48, -0.46, -0.44, -0.42, -0.4, -0.38, -0.36, -0.34, -0.32, -0.3, -0.28, -0.26,
                 -0.24, -0.22, -0.2, -0.18, -0.16, -0.14, -0.12, -0.1, -0.08, -0.06, -0.04, -0.02, 0,
                 0.02, 0.04, 0.06, 0.08, 0.1, 0.12, 0.14, 0.16, 0.18, 0.2, 0.22, 0.24, 0.26, 0.28, 0.3,
                 0.32, 0.34, 0.36, 0.38, 0.4, 0.42, 0.44, 0.46, 0.48, 0.5}},
        // Just below a power of ten the step is that power, not a tenth of it.
        StepRow{"span_just_under_a_power", {0, 9.999999999999998}, 1, 10, {0}},
        StepRow{"whole_double_range", {-1.7e308, 1.7e308}, 4, 1e308, {-1e308, 0, 1e308}}),
    row_name);

// --- Room for labels ----------------------------------------------------------------

struct RoomRow : NamedRow {
    AxisRange range;
    double length;
    AxisRange expected;
};

class RoomAroundZero : public ::testing::TestWithParam<RoomRow> {};

TEST_P(RoomAroundZero, MovesOneEndOnly)
{
    const RoomRow &row = GetParam();
    const AxisRange room = with_room_around_zero(row.range, row.length, 20, 10);
    EXPECT_DOUBLE_EQ(room.low, row.expected.low);
    EXPECT_DOUBLE_EQ(room.high, row.expected.high);
}

INSTANTIATE_TEST_SUITE_P(
    Graph, RoomAroundZero,
    ::testing::Values(
        // 20 of 100 pixels below zero: low = -0.2 * 8 / 0.8.
        RoomRow{"zero_at_the_low_end", {0, 8}, 100, {-2, 8}},
        // 10 of 100 pixels above zero: high = 0.1 * 9 / 0.9.
        RoomRow{"zero_at_the_high_end", {-9, 0}, 100, {-9, 1}},
        RoomRow{"room_enough", {-5, 5}, 100, {-5, 5}},
        RoomRow{"axis_too_short_for_labels", {0, 8}, 25, {0, 8}}),
    row_name);

// --- The caption ---------------------------------------------------------------------

struct CaptionRow : NamedRow {
    double a, b, c;
    Relation relation;
    const char *ending; // of the caption; nullptr: no caption
};

class Caption : public ::testing::TestWithParam<CaptionRow> {};

TEST_P(Caption, ExplainsACurveTheTextSeemsToDeny)
{
    const CaptionRow &row = GetParam();
    const Problem problem{row.a, row.b, row.c, row.relation, 2};
    const Solution solution = analyse(problem);
    const std::string caption(graph_caption(problem, solution, graph_view(problem, solution)));
    if (row.ending == nullptr)
        EXPECT_EQ(caption, "");
    else
        EXPECT_TRUE(caption.ends_with(row.ending)) << caption;
}

INSTANTIATE_TEST_SUITE_P(
    Graph, Caption,
    ::testing::Values(CaptionRow{"equation_touching", 1, -0.6, 0.09, Eq, "rovnice nemá řešení."},
                      CaptionRow{"less_equal_touching", 1, -0.6, 0.09, Le, "nerovnice nemá řešení."},
                      CaptionRow{"greater_touching", 1, -0.6, 0.09, Gt, "každé reálné číslo."},
                      CaptionRow{"greater_equal_touching", -1, 0.6, -0.09, Ge, "nerovnice nemá řešení."},
                      // A touching curve agrees with these texts.
                      CaptionRow{"less_touching", 1, -0.6, 0.09, Lt, nullptr},
                      CaptionRow{"greater_equal_touching_upwards", 1, -0.6, 0.09, Ge, nullptr},
                      CaptionRow{"exact_double_root", 1, -1, 0.25, Eq, nullptr},
                      CaptionRow{"clear_of_the_axis", 1, 1, 1, Eq, nullptr},
                      // The exact discriminants below are about 1E-600: a
                      // double holds them as 0.
                      CaptionRow{"double_root_of_a_curve_above", 1e-300, 1e-300, 1e-300, Eq, "by se osy x dotýkala."},
                      CaptionRow{"all_reals_of_a_crossing_curve", 1e-300, 1e-300, -1e-300, Ge,
                                 "jako by osu x neprotínala."},
                      CaptionRow{"except_point_downwards", -1e-300, -1e-300, 1e-300, Lt, "jako by osu x neprotínala."},
                      CaptionRow{"empty_agrees_with_a_curve_above", 1e-300, 1e-300, 1e-300, Lt, nullptr},
                      CaptionRow{"two_roots_are_never_explained", 1, -2000, 999999, Eq, nullptr}),
    row_name);

// A parabola whose vertex is near the largest double still rises on both
// sides in the picture; its values beyond the double range are not cut flat.
TEST(GraphCurve, RisesOnBothSidesNearTheDoubleLimit)
{
    for (const Problem &problem : {Problem{1e-10, 0, 1.7e308, Relation::Greater, 2},
                                   Problem{1, -3, 2, Relation::Less, 2}}) {
        const GraphView view = graph_view(problem, analyse(problem));
        const std::vector<GraphPoint> curve = curve_in_view(problem, view, 101);
        ASSERT_EQ(curve.size(), 101u);
        EXPECT_EQ(curve.front().x, 0.0);
        EXPECT_EQ(curve.back().x, 1.0);
        const auto lowest = std::min_element(curve.begin(), curve.end(),
                                             [](const GraphPoint &p, const GraphPoint &q) { return p.y < q.y; });
        EXPECT_NEAR(lowest->x, share_of(view.x, parabola_vertex(problem)->x), 0.011);
        EXPECT_GT(curve.front().y, lowest->y + 0.1);
        EXPECT_GT(curve.back().y, lowest->y + 0.1);
    }
}

// The solver reads its failures from the sticky flags: the picture's
// arithmetic must leave them as it found them, set or not.
TEST(GraphArithmetic, LeavesTheFloatingPointFlagsAsItFoundThem)
{
    // The vertex lies near x = -1E315, beyond the double range.
    const Problem problem{5e-324, 1e-8, 1.7e308, Relation::Greater, 2};
    const Solution solution = analyse(problem);
    for (const int before : {0, fp::invalid}) {
        fp::clear_flags(fp::all_flags);
        if (before != 0)
            fp::raise_flags(before);
        EXPECT_FALSE(parabola_vertex(problem).has_value());
        const GraphView view = graph_view(problem, solution);
        curve_in_view(problem, view, 50);
        axis_ticks(with_room_around_zero(view.y, 100, 20, 20), 8);
        graph_caption(problem, solution, view);
        EXPECT_EQ(fp::test_flags(fp::failure_flags), before);
    }
    fp::clear_flags(fp::all_flags);
}

} // namespace
} // namespace parvolin
