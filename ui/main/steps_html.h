#pragma once

#include "solver/math_text.h"

#include <QString>

namespace parvolin {

// The working as Qt rich text, for the Postup view and the printout, as
// solver/math_html.h sets it; each step's first character carries the anchor
// "step<N>", N its index in the working.
QString working_html(const Working &working);

// One piece of mathematics as the working writes it: with `stacked`, a piece
// that holds a fraction is a table row of its own, otherwise inline text.
QString math_html(const Math &math, bool stacked);

} // namespace parvolin
