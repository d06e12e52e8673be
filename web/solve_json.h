#pragma once

// One solve for the page, as the window does it: the report, the line
// above it where the exact result differs, the working as HTML and the
// picture's numbers, in one JSON text.

#include <string>
#include <string_view>

namespace parvolin::web {

// The picture's drawing area in the page's own units; the SVG scales it.
inline constexpr double picture_width = 640;
inline constexpr double picture_height = 400;

// `relation_index` and `places` as the command line takes them (0 to 4 in
// the order = < > <= >=, and 2 to 6); the separator is both the fields' and
// the one the numbers are written with, as a browser has no regional one.
// {"lines": [7 texts] | null, "error": text | null, "detail": text,
//  "field": 0..2 | null (the coefficient that did not convert),
//  "banner": text, "working": HTML | null,
//  "graph": {"plot": [left, top, width, height], "x": [low, high],
//            "y": [low, high], "curve": [[x share, y share]...],
//            "vertex": [x, y] | null, "band": [{"lower": [at, closed] | null,
//            "upper": ...}], "x_ticks": [[value, label]...], "y_ticks": ...,
//            "caption": text} | null}
// Never throws: a failure is the "error" of the result.
std::string solve_json(std::string_view a, std::string_view b, std::string_view c, int relation_index,
                       int places, char separator);

} // namespace parvolin::web
