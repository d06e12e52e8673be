#pragma once

#include "solver/graph_view.h"
#include "solver/problem.h"
#include "solver/solution.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>

#include <string>
#include <vector>

class QFontMetricsF;
class QPainter;

namespace parvolin {

// The paper the picture is painted on; whoever shows it fills its area with
// this colour first.
inline const QColor graph_paper_colour(255, 255, 255);

// One solved problem laid out in a rectangle: the view of graph_view with room
// for the labels next to the axes, the ticks, and the mapping from the plane
// to the rectangle. The widget, the copied and the saved pictures all paint
// through it.
class GraphPicture {
public:
    // `caption`, when not empty, is written under the picture instead of the
    // picture's own note (graph_caption): the window's word on the problem.
    GraphPicture(const Problem &problem, const Solution &solution, char decimal_separator, const QRectF &area,
                 const QFont &font, const std::string &caption = {});

    // Where the point (x, y) of the plane is drawn.
    QPointF to_pixel(double x, double y) const;
    // Where a point at these shares of the view (0 to 1 inside) is drawn.
    QPointF at_share(double x_share, double y_share) const;
    // The rectangle the view fills; axes, arrows and the caption reach outside it.
    const QRectF &plot_area() const { return plot_; }
    const GraphView &view() const { return view_; }
    const std::string &caption() const { return caption_; }

    void paint(QPainter &painter) const;

private:
    void lay_out_ticks(const QFontMetricsF &metrics);
    void paint_grid(QPainter &painter) const;
    void paint_axes(QPainter &painter) const;
    void paint_curve(QPainter &painter) const;
    void paint_vertex(QPainter &painter, QPointF at) const;
    void paint_band(QPainter &painter) const;
    void paint_tick_labels(QPainter &painter) const;
    void paint_root_labels(QPainter &painter) const;
    void paint_caption(QPainter &painter) const;

    Problem problem_;
    Solution solution_;
    char separator_;
    QRectF area_;
    QFont font_;
    QRectF plot_;
    QRectF caption_area_;
    GraphView view_;
    AxisTicks x_ticks_;
    AxisTicks y_ticks_;
    std::vector<BandPiece> band_;
    std::string caption_;
};

} // namespace parvolin
