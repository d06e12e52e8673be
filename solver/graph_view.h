#pragma once

// What the picture of a solved problem shows, in numbers: the solution set
// as a band on the x-axis, the part of the plane in view, the ticks and their
// labels, the curve and a caption. Everything the window draws is decided
// here, without a window, from the one Solution the sentences are made of.

#include "solver/problem.h"
#include "solver/solution.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parvolin {

// --- The solution set on the x-axis -------------------------------------------

// One end of a piece of the solution set: the rounded value the sentences
// write, and whether it belongs to the set (a filled dot) or not (a hollow one).
struct BandEnd {
    double at = 0.0;
    bool closed = false;
    friend bool operator==(const BandEnd &, const BandEnd &) = default;
};

// A piece of the solution set. A missing end runs on to infinity (drawn as an
// arrow); a piece closed at both ends on one value is a single point.
struct BandPiece {
    std::optional<BandEnd> lower;
    std::optional<BandEnd> upper;
    friend bool operator==(const BandPiece &, const BandPiece &) = default;
};

// The pieces from left to right; none when nothing solves the problem, one
// piece without ends for every real number.
std::vector<BandPiece> solution_band(const Solution &solution);

// --- The part of the plane in the picture ---------------------------------------

struct AxisRange {
    double low = -1.0;
    double high = 1.0;
    friend bool operator==(const AxisRange &, const AxisRange &) = default;
};

struct GraphView {
    AxisRange x;
    AxisRange y;
};

// The origin (so both axes are always in the picture), the y-intercept and its
// mirror image about the axis of the parabola (about the root of a line), the
// vertex, the true roots and the written ones, with a margin. Always finite
// and never of zero span; its span may exceed the double range (work it out
// in long double).
GraphView graph_view(const Problem &problem, const Solution &solution);

// Where `value` lies along `range`: 0 at its low end, 1 at its high end.
// Exact enough for a picture for any range of doubles, also one wider than
// the double range.
double share_of(AxisRange range, double value);

// Widens `range` so that 0 lies at least `room_below` pixels above its low end
// and `room_above` pixels below its high end, on an axis `length` pixels long:
// room for the labels on both sides of an axis.
AxisRange with_room_around_zero(AxisRange range, double length, double room_below, double room_above);

// --- Ticks --------------------------------------------------------------------

struct AxisTicks {
    double step = 0.0;
    std::vector<double> values;
    // Labels as "2,5·10⁹": the steps or the values are too small or too
    // large for plain decimals to stay short.
    bool scientific = false;
};

// Multiples of 1, 2 or 5 times a power of ten inside the range, at most about
// `max_count` + 1 of them.
AxisTicks axis_ticks(AxisRange range, int max_count);

// A tick's label with the regional decimal separator: "2,5", or in the
// scientific form "2,5·10⁹", "10⁻⁷", "-10¹²".
std::string tick_label(double value, const AxisTicks &ticks, char decimal_separator);

// --- The curve ------------------------------------------------------------------

struct GraphPoint {
    double x = 0.0;
    double y = 0.0;
};

// The vertex of the parabola; nothing for a line.
std::optional<GraphPoint> parabola_vertex(const Problem &problem);

// `count` points of y = a·x² + b·x + c from one side of the view to the
// other, as shares of the view (see share_of): x from 0 to 1, y clipped to
// ten spans below and above it. Worked out in the extended format, so a curve
// near the end of the double range is drawn as it runs, not cut flat.
std::vector<GraphPoint> curve_in_view(const Problem &problem, const GraphView &view, int count);

// A short note under the picture where the drawn curve seems to say more
// than the sentences: its vertex is on the axis as far as the eye can tell
// while the computed discriminant is negative, or clearly off the axis while
// it is zero or negative. Empty when the picture needs no note.
std::string_view graph_caption(const Problem &problem, const Solution &solution, const GraphView &view);

} // namespace parvolin
