#pragma once

#include "solver/math_text.h"
#include "solver/rtf_writer.h"

#include <QImage>

#include <memory>
#include <optional>

class QTextDocument;

namespace parvolin {

class SolutionGraph;

// The picture of `graph` for a document: 480 × 360 points drawn at twice
// that in pixels, white behind it; a null image while the graph is empty.
QImage graph_picture(const SolutionGraph &graph);
// The same as PNG bytes, 5 × 3.75 inches on paper; no bytes while empty.
RtfPicture graph_png(const SolutionGraph &graph);

// A copy of `document` followed by the working (as the Postup view shows
// it) and the picture, for printing.
std::unique_ptr<QTextDocument> printed_with_attachment(const QTextDocument &document,
                                                       const std::optional<Working> &working, const QImage &picture);

} // namespace parvolin
