// The numbers behind the graph, for any three finite coefficients: the view,
// the room for labels, the ticks and their labels, the curve and the caption
// stay finite, ordered and short, and leave the floating-point flags as they
// found them.
//
// Input: a, b and c as the eight bytes of a double each; a byte for the
// relation and one for the places; two bytes for the axis length and the
// room asked for labels; a byte for the tick count; a byte naming the flags
// already raised before the picture is drawn.

#include "solver/failures.h"
#include "solver/fp_env.h"
#include "solver/graph_view.h"
#include "solver/solution.h"
#include "tests/fuzz/fuzz_support.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using parvolin::fuzz::require;

// The labels are short: a sign, a mantissa of a few digits, "·10" and an
// exponent of at most three superscript digits and a minus.
constexpr std::size_t longest_label = 14;

double read_double(const std::uint8_t *data)
{
    double value = 0.0;
    std::memcpy(&value, data, sizeof value);
    return value;
}

void check_range(const parvolin::AxisRange &range, const char *what)
{
    require(std::isfinite(range.low) && std::isfinite(range.high), what);
    require(range.low < range.high, what);
}

void check_ticks(const parvolin::AxisRange &range, int count)
{
    const parvolin::AxisTicks ticks = parvolin::axis_ticks(range, count);
    require(ticks.values.size() <= 51, "at most 51 ticks");
    double previous = -INFINITY;
    for (const double value : ticks.values) {
        require(std::isfinite(value) && value > previous, "ticks are finite and increase");
        require(value >= range.low && value <= range.high, "ticks lie inside the range");
        previous = value;
        for (const char separator : {',', '.'}) {
            const std::string label = parvolin::tick_label(value, ticks, separator);
            require(!label.empty() && parvolin::fuzz::character_count(label) <= longest_label,
                    "a tick label is short", label);
            require(label.find_first_of("eEnN") == std::string::npos, "a tick label is plain or a power of ten",
                    label);
            require(parvolin::fuzz::is_valid_utf8(label), "a tick label is UTF-8", label);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 29)
        return 0;
    const double a = read_double(data);
    const double b = read_double(data + 8);
    const double c = read_double(data + 16);
    // The window only ever has finite coefficients.
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c))
        return 0;
    const auto relation = static_cast<parvolin::Relation>(data[24] % 5);
    const int places = 2 + data[25] % 5;
    const double length = 1 + data[26] * 16;
    const double room = data[27] % 64;
    const int count = data[28] % 60;
    const int raised_before =
        size > 29 ? (data[29] & 1 ? parvolin::fp::overflow : 0) | (data[29] & 2 ? parvolin::fp::invalid : 0) : 0;

    const parvolin::Problem problem{a, b, c, relation, places};
    parvolin::Solution solution;
    try {
        parvolin::fp::establish_environment();
        solution = parvolin::analyse(problem);
    } catch (const parvolin::Failure &) {
        return 0; // the window shows no picture for a failed solve
    }

    parvolin::fp::clear_flags(parvolin::fp::all_flags);
    if (raised_before != 0)
        parvolin::fp::raise_flags(raised_before);

    const parvolin::GraphView view = parvolin::graph_view(problem, solution);
    check_range(view.x, "the x range is finite and not empty");
    check_range(view.y, "the y range is finite and not empty");
    require(view.x.low <= 0 && view.x.high >= 0 && view.y.low <= 0 && view.y.high >= 0,
            "both axes are in the picture");
    require(c >= view.y.low && c <= view.y.high, "the y-intercept is in view");
    for (const parvolin::BandPiece &piece : parvolin::solution_band(solution))
        for (const auto &end : {piece.lower, piece.upper})
            require(!end || (end->at >= view.x.low && end->at <= view.x.high), "the band's ends are in view");

    const parvolin::AxisRange y = parvolin::with_room_around_zero(view.y, length, room, room / 2);
    check_range(y, "room for labels keeps the range finite and not empty");
    require(y.low <= view.y.low && y.high >= view.y.high, "room for labels only widens");
    check_ticks(view.x, count);
    check_ticks(y, count);

    for (const parvolin::GraphPoint &point : parvolin::curve_in_view(problem, {view.x, y}, 64))
        require(point.x >= 0 && point.x <= 1 && point.y >= -10 && point.y <= 11,
                "the curve runs across the view and is clipped ten spans beyond it");
    if (const auto vertex = parvolin::parabola_vertex(problem))
        require(std::isfinite(vertex->x) && std::isfinite(vertex->y), "the vertex is finite");
    (void)parvolin::graph_caption(problem, solution, view);

    require(parvolin::fp::test_flags(parvolin::fp::failure_flags) == raised_before,
            "the picture leaves the flags as it found them");
    return 0;
}
