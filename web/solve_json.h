#pragma once

// One solve for the page, as the window does it: the report, the line
// above it where the exact result differs, the working as HTML and the
// picture's numbers, in one JSON text.

#include <string>
#include <string_view>

namespace parvolin::web {

// `relation_index` and `places` as the command line takes them (0 to 4 in
// the order = < > <= >=, and 2 to 6); the separator is both the fields' and
// the one the numbers are written with, as a browser has no regional one.
// `width` and `height`: the picture's size in the page's pixels (from 160
// by 120 to 4000 by 4000), for as many ticks as their labels leave room for.
// {"lines": [7 texts] | null, "error": text | null, "detail": text,
//  "field": 0..2 | null (the coefficient that did not convert),
//  "banner": text, "working": HTML | null,
//  "graph": {"size": [width, height], "plot": [left, top, width, height],
//            "origin": [x share, y share], "curve": [[x share, y share]...],
//            "vertex": [x, y] | null, "band": [{"lower": [at, closed] | null,
//            "upper": ...}], "x_ticks": [[share, label]...], "y_ticks": ...,
//            "root_labels": [[share, label]...], "caption": text} | null}
// Never throws: a failure is the "error" of the result.
std::string solve_json(std::string_view a, std::string_view b, std::string_view c, int relation_index,
                       int places, char separator, double width = 640, double height = 400);

} // namespace parvolin::web
