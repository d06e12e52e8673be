#pragma once

// The working and its mathematics as the HTML subset Qt's rich text takes:
// superscripts and subscripts raised and lowered, a root sign with a bar over
// its radicand, fractions stacked (a small table, since Qt's rich text has no
// inline blocks), the notice in a framed box, the sign table as a table and
// the result in bold. The Postup view, the document's attachment and the
// worksheet's key are all set from here, so that they read alike. UTF-8.

#include "solver/math_text.h"

#include <string>

namespace parvolin {

// The characters HTML gives a meaning to, as entities.
void append_html_escaped(std::string &out, std::string_view text);

// One piece of mathematics: with `stacked`, a piece that holds a fraction is
// a table row of its own (its text in cells beside the fractions, centred on
// the bars), otherwise inline text. `table_style`: the CSS of that table.
std::string math_to_html(const Math &math, bool stacked, std::string_view table_style = {});

// How a working is set. `indent_px`: the left margin of every paragraph and
// table, so that a line that wraps keeps its indent. `anchors`: each step's
// first character carries the anchor "step<N>", N its index in the working.
// `spacing_px`: the room above and below each paragraph; -1 leaves it to
// the reader's style.
struct WorkingHtmlStyle {
    int indent_px = 0;
    bool anchors = true;
    int spacing_px = -1;
};

// A paragraph per step, the notice framed, the sign table a table, the
// result in bold.
std::string working_to_html(const Working &working, const WorkingHtmlStyle &style = {});

} // namespace parvolin
