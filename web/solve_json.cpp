#include "web/solve_json.h"

#include "solver/disagreement_line.h"
#include "solver/entry_help.h"
#include "solver/failures.h"
#include "solver/graph_view.h"
#include "solver/math_html.h"
#include "solver/number_text.h"
#include "solver/problem.h"
#include "solver/report.h"
#include "solver/solution.h"
#include "solver/steps.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <new>
#include <optional>
#include <vector>

namespace parvolin::web {

namespace {

using nlohmann::json;

// The picture's layout in its own units: room for the tick labels, and a
// label's width guessed from its length, as the page's font is not known
// here (the SVG draws them in a font about this size).
constexpr double pad_left = 8, pad_top = 12, pad_right = 12, pad_bottom = 8;
constexpr double line_height = 16, char_width = 7.5, tick_length = 4, label_gap = 3, dot_radius = 4.5;
constexpr int curve_points = 400;

double label_width(std::string_view label)
{
    // Characters, not bytes: the UTF-8 lead bytes alone.
    double count = 0;
    for (const char byte : label)
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80 ? 1 : 0;
    return count * char_width;
}

json ticks_json(const AxisTicks &ticks, char separator)
{
    json list = json::array();
    for (const double value : ticks.values)
        list.push_back({value, tick_label(value, ticks, separator)});
    return list;
}

json end_json(const std::optional<BandEnd> &end)
{
    if (!end)
        return nullptr;
    return {end->at, end->closed};
}

json graph_json(const Problem &problem, const Solution &solution, char separator, const std::string &banner,
                double picture_width, double picture_height)
{
    GraphView view = graph_view(problem, solution);
    const std::string caption = banner.empty() ? std::string(graph_caption(problem, solution, view)) : banner;
    // The caption has a few lines of its own under the plot.
    // The page writes the caption under the picture, where it can wrap.
    const double width = picture_width - pad_left - pad_right;
    const double height = picture_height - pad_top - pad_bottom;

    view.y = with_room_around_zero(view.y, height, tick_length + label_gap + line_height,
                                   dot_radius + label_gap + line_height);
    const AxisTicks y_ticks = axis_ticks(view.y, static_cast<int>(height / (2.5 * line_height)));
    double widest = 0;
    for (const double value : y_ticks.values)
        widest = std::max(widest, label_width(tick_label(value, y_ticks, separator)));
    view.x = with_room_around_zero(view.x, width, widest + tick_length + 2 * label_gap, 0);
    int count = std::max(2, static_cast<int>(width / 40));
    AxisTicks x_ticks;
    for (;;) {
        x_ticks = axis_ticks(view.x, count);
        double needed = 0;
        for (const double value : x_ticks.values)
            needed += label_width(tick_label(value, x_ticks, separator)) + 4 * label_gap;
        if (needed <= width || count <= 2)
            break;
        count = std::max(2, count * 2 / 3);
    }

    json curve = json::array();
    for (const GraphPoint &point : curve_in_view(problem, view, curve_points))
        curve.push_back({point.x, point.y});
    json band = json::array();
    for (const BandPiece &piece : solution_band(solution))
        band.push_back({{"lower", end_json(piece.lower)}, {"upper", end_json(piece.upper)}});
    json vertex = nullptr;
    if (const auto top = parabola_vertex(problem))
        vertex = {share_of(view.x, top->x), share_of(view.y, top->y)};
    // Shares rather than values where a value may be past the double range.
    json x_ticks_json = json::array();
    for (const auto &tick : ticks_json(x_ticks, separator))
        x_ticks_json.push_back({share_of(view.x, tick[0].get<double>()), tick[1]});
    json y_ticks_json = json::array();
    for (const auto &tick : ticks_json(y_ticks, separator))
        y_ticks_json.push_back({share_of(view.y, tick[0].get<double>()), tick[1]});
    // The ends of the solution set, written as the sentences write them,
    // once each, from left to right.
    std::vector<double> ends;
    for (const BandPiece &piece : solution_band(solution))
        for (const auto &end : {piece.lower, piece.upper})
            if (end)
                ends.push_back(end->at);
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    json root_labels = json::array();
    for (const double at : ends)
        root_labels.push_back({share_of(view.x, at), format_number(at, separator)});
    for (auto &piece : band) {
        for (const char *side : {"lower", "upper"}) {
            if (!piece[side].is_null())
                piece[side][0] = share_of(view.x, piece[side][0].get<double>());
        }
    }
    return {{"size", {picture_width, picture_height}},
            {"plot", {pad_left, pad_top, width, height}},
            {"origin", {share_of(view.x, 0), share_of(view.y, 0)}},
            {"curve", curve},
            {"vertex", vertex},
            {"band", band},
            {"x_ticks", x_ticks_json},
            {"y_ticks", y_ticks_json},
            {"root_labels", root_labels},
            {"caption", caption}};
}

} // namespace

std::string solve_json(std::string_view a, std::string_view b, std::string_view c, int relation_index,
                       int places, char separator, double width, double height)
{
    // Not a number fails both comparisons and takes the least size too.
    width = width >= 160 && width <= 4000 ? width : width > 4000 ? 4000 : 160;
    height = height >= 120 && height <= 4000 ? height : height > 4000 ? 4000 : 120;
    json result = {{"lines", nullptr}, {"error", nullptr}, {"detail", ""},   {"field", nullptr},
                   {"banner", ""},     {"working", nullptr}, {"graph", nullptr}};
    try {
        if (relation_index < 0 || relation_index > 4 || places < min_decimals || places > max_decimals)
            throw Failure("the relation or the places are out of range");
        const ProblemInput input{a, b, c, relation_index, places - min_decimals};
        const Problem problem = parse_entries(input, separator, separator);
        // The working first, as the window does: a report that fails still
        // leaves the exact result beside its failure.
        std::optional<StepsResult> steps;
        try {
            steps = build_steps(input, separator);
        } catch (const Failure &) {
        }
        const std::string banner = steps ? disagreement_line(*steps) : std::string();
        result["banner"] = banner;
        if (steps)
            result["working"] = working_to_html(steps->working, {.indent_px = 0, .anchors = false, .spacing_px = 4});
        const Solution solution = analyse(problem);
        const Report report = build_report(problem, solution, separator);
        result["lines"] = report.lines;
        result["graph"] = graph_json(problem, solution, separator, banner, width, height);
    } catch (const CoefficientError &failure) {
        result["error"] = error_display_text(failure.message());
        result["detail"] = failure.detail();
        result["field"] = static_cast<int>(failure.coefficient());
    } catch (const Failure &failure) {
        result["error"] = error_display_text(failure.message());
        result["detail"] = failure.detail();
    } catch (const std::bad_alloc &) {
        result["error"] = "Na tuto operaci nemá program dost paměti.";
    }
    return result.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace parvolin::web
