#include "ui/main/graph_picture.h"

#include "solver/number_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

namespace parvolin {

namespace {

// The letters at the axes and the vertex.
constexpr char x_axis_letter[] = "x";
constexpr char y_axis_letter[] = "y";
constexpr char vertex_letter[] = "V";

// Colours: the curve blue, the solution set green, the rest greys, the
// caption a warning brown.
const QColor grid_colour(228, 233, 240);
const QColor axis_colour(64, 64, 64);
const QColor label_colour(80, 80, 80);
const QColor curve_colour(31, 95, 191);
const QColor band_colour(0, 153, 77);
const QColor band_edge_colour(0, 102, 51);
const QColor caption_colour(150, 50, 0);

// Pixels. The padding around the plot leaves room for the arrows and the axis
// letters; labels next to the axes get their room from the view itself.
constexpr qreal pad_left = 8;
constexpr qreal pad_right = 22;
constexpr qreal pad_top = 22;
constexpr qreal pad_bottom = 6;
constexpr qreal caption_gap = 6;
constexpr qreal tick_length = 3;
constexpr qreal label_gap = 3;
constexpr qreal dot_radius = 5;
constexpr qreal band_thickness = 6;
constexpr qreal arrow_length = 9;
constexpr qreal arrow_half_width = 5;
constexpr qreal vertex_size = 4;

QString text_of(const std::string &text) { return QString::fromStdString(text); }

// A triangle with its tip at `tip`, pointing along `direction` (a unit vector).
QPolygonF arrow_head(QPointF tip, QPointF direction)
{
    const QPointF back = tip - direction * arrow_length;
    const QPointF across(-direction.y() * arrow_half_width, direction.x() * arrow_half_width);
    return QPolygonF({tip, back + across, back - across});
}

// The polyline through `points` cut to the rows from `top` to `bottom`. The
// picture clips it itself: the SVG generator writes no clipping.
QPainterPath clipped_polyline(const std::vector<QPointF> &points, qreal top, qreal bottom)
{
    QPainterPath path;
    bool drawing = false;
    for (std::size_t i = 1; i < points.size(); ++i) {
        QPointF from = points[i - 1];
        QPointF to = points[i];
        const qreal dy = to.y() - from.y();
        // The share of the segment between the rows, from its start.
        qreal enter = 0;
        qreal leave = 1;
        for (const qreal limit : {top, bottom}) {
            const bool upper = limit == top;
            const qreal start = from.y() - limit;
            if (dy == 0) {
                if (upper ? start < 0 : start > 0)
                    leave = -1;
                continue;
            }
            const qreal share = -start / dy;
            if ((dy > 0) == upper)
                enter = std::max(enter, share);
            else
                leave = std::min(leave, share);
        }
        if (enter > leave) {
            drawing = false;
            continue;
        }
        const QPointF delta = to - from;
        to = from + delta * leave;
        from = from + delta * enter;
        if (!drawing || enter > 0)
            path.moveTo(from);
        path.lineTo(to);
        drawing = leave >= 1;
    }
    return path;
}

} // namespace

GraphPicture::GraphPicture(const Problem &problem, const Solution &solution, char decimal_separator,
                           const QRectF &area, const QFont &font, const std::string &caption)
    : problem_(problem), solution_(solution), separator_(decimal_separator), area_(area), font_(font),
      view_(graph_view(problem, solution)), band_(solution_band(solution)),
      caption_(caption.empty() ? std::string(graph_caption(problem, solution, view_)) : caption)
{
    const QFontMetricsF metrics(font_);
    plot_ = area_.adjusted(pad_left, pad_top, -pad_right, -pad_bottom);
    if (!caption_.empty()) {
        const QRectF width_only(0, 0, area_.width() - 2 * pad_left, area_.height());
        const QRectF wrapped = metrics.boundingRect(width_only, Qt::TextWordWrap, text_of(caption_));
        caption_area_ = QRectF(area_.left() + pad_left, area_.bottom() - pad_bottom - wrapped.height(),
                               width_only.width(), wrapped.height());
        plot_.setBottom(caption_area_.top() - caption_gap);
    }
    lay_out_ticks(metrics);
}

void GraphPicture::lay_out_ticks(const QFontMetricsF &metrics)
{
    const qreal line = metrics.height();
    // The x-axis needs a line under it for its tick labels and one above it
    // for the labels of the roots.
    view_.y = with_room_around_zero(view_.y, plot_.height(), tick_length + label_gap + line,
                                    dot_radius + label_gap + line);
    y_ticks_ = axis_ticks(view_.y, static_cast<int>(plot_.height() / (2.5 * line)));

    // The y-axis needs its widest tick label to its left.
    qreal widest = 0;
    for (const double value : y_ticks_.values)
        widest = std::max(widest, metrics.horizontalAdvance(text_of(tick_label(value, y_ticks_, separator_))));
    view_.x = with_room_around_zero(view_.x, plot_.width(), widest + tick_length + 2 * label_gap, 0);

    // As many x ticks as their labels leave room for.
    int count = std::max(2, static_cast<int>(plot_.width() / 40));
    for (;;) {
        x_ticks_ = axis_ticks(view_.x, count);
        qreal needed = 0;
        for (const double value : x_ticks_.values)
            needed += metrics.horizontalAdvance(text_of(tick_label(value, x_ticks_, separator_))) + 4 * label_gap;
        if (needed <= plot_.width() || count <= 2)
            break;
        count = std::max(2, count * 2 / 3);
    }
}

QPointF GraphPicture::to_pixel(double x, double y) const
{
    return at_share(share_of(view_.x, x), share_of(view_.y, y));
}

QPointF GraphPicture::at_share(double x_share, double y_share) const
{
    return {plot_.left() + x_share * plot_.width(), plot_.bottom() - y_share * plot_.height()};
}

void GraphPicture::paint(QPainter &painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font_);
    paint_grid(painter);
    paint_axes(painter);
    paint_curve(painter);
    paint_band(painter);
    paint_tick_labels(painter);
    paint_root_labels(painter);
    paint_caption(painter);
    painter.restore();
}

void GraphPicture::paint_grid(QPainter &painter) const
{
    painter.setPen(QPen(grid_colour, 1));
    for (const double value : x_ticks_.values) {
        const qreal x = to_pixel(value, 0).x();
        painter.drawLine(QPointF(x, plot_.top()), QPointF(x, plot_.bottom()));
    }
    for (const double value : y_ticks_.values) {
        const qreal y = to_pixel(0, value).y();
        painter.drawLine(QPointF(plot_.left(), y), QPointF(plot_.right(), y));
    }
}

void GraphPicture::paint_axes(QPainter &painter) const
{
    const QFontMetricsF metrics(font_);
    const QPointF origin = to_pixel(0, 0);
    const qreal axes_bottom = caption_.empty() ? area_.bottom() - 1 : caption_area_.top() - caption_gap;

    // The axes run across the whole picture, their arrows in the padding.
    painter.setPen(QPen(axis_colour, 1));
    painter.setBrush(axis_colour);
    const QPointF x_tip(area_.right() - 2, origin.y());
    const QPointF y_tip(origin.x(), area_.top() + 2);
    painter.drawLine(QPointF(area_.left() + 1, origin.y()), x_tip);
    painter.drawLine(QPointF(origin.x(), axes_bottom), y_tip);
    painter.drawPolygon(arrow_head(x_tip, QPointF(1, 0)));
    painter.drawPolygon(arrow_head(y_tip, QPointF(0, -1)));
    painter.drawText(QPointF(x_tip.x() - metrics.horizontalAdvance(QString::fromUtf8(x_axis_letter)),
                             origin.y() + arrow_half_width + metrics.ascent()),
                     QString::fromUtf8(x_axis_letter));
    painter.drawText(QPointF(origin.x() + arrow_half_width + label_gap, y_tip.y() + metrics.ascent()),
                     QString::fromUtf8(y_axis_letter));

    // The ticks; their labels come after the curve (paint_tick_labels).
    painter.setPen(QPen(axis_colour, 1));
    for (const double value : x_ticks_.values) {
        if (value == 0.0)
            continue;
        const qreal x = to_pixel(value, 0).x();
        painter.drawLine(QPointF(x, origin.y() - tick_length), QPointF(x, origin.y() + tick_length));
    }
    for (const double value : y_ticks_.values) {
        if (value == 0.0)
            continue;
        const qreal y = to_pixel(0, value).y();
        painter.drawLine(QPointF(origin.x() - tick_length, y), QPointF(origin.x() + tick_length, y));
    }
}

// The ticks' labels, 0 once at the origin, each on paper of its own so that
// the curve does not cross it out. A label that would reach the axis letters
// or leave the picture is left out, and so is one right under a root's dot:
// the root's own label above the axis says it, and two numbers at one dot
// read as one.
void GraphPicture::paint_tick_labels(QPainter &painter) const
{
    const QFontMetricsF metrics(font_);
    const qreal line = metrics.height();
    const QPointF origin = to_pixel(0, 0);
    const qreal axes_bottom = caption_.empty() ? area_.bottom() - 1 : caption_area_.top() - caption_gap;
    std::vector<qreal> dots;
    for (const BandPiece &piece : band_)
        for (const auto &end : {piece.lower, piece.upper})
            if (end)
                dots.push_back(to_pixel(end->at, 0).x());
    const auto draw = [&](const QRectF &box, int alignment, const QString &label) {
        painter.fillRect(box.adjusted(-1, 0, 1, 0), graph_paper_colour);
        painter.drawText(box, alignment, label);
    };

    painter.save();
    painter.setPen(label_colour);
    for (const double value : x_ticks_.values) {
        if (value == 0.0)
            continue;
        const qreal x = to_pixel(value, 0).x();
        const QString label = text_of(tick_label(value, x_ticks_, separator_));
        const qreal width = metrics.horizontalAdvance(label);
        const QRectF box(x - width / 2, origin.y() + tick_length + label_gap, width, line);
        if (box.left() < area_.left() || box.right() > area_.right() - pad_right)
            continue;
        const bool under_a_dot = std::any_of(dots.begin(), dots.end(), [&](qreal dot) {
            return dot + dot_radius >= box.left() && dot - dot_radius <= box.right();
        });
        if (!under_a_dot)
            draw(box, Qt::AlignCenter, label);
    }
    for (const double value : y_ticks_.values) {
        if (value == 0.0)
            continue;
        const qreal y = to_pixel(0, value).y();
        const QString label = text_of(tick_label(value, y_ticks_, separator_));
        const qreal width = metrics.horizontalAdvance(label);
        const QRectF box(origin.x() - tick_length - label_gap - width, y - line / 2, width, line);
        if (box.top() < area_.top() + pad_top / 2 || box.bottom() > axes_bottom || box.left() < area_.left())
            continue;
        draw(box, Qt::AlignRight | Qt::AlignVCenter, label);
    }
    const QString zero = QStringLiteral("0");
    draw(QRectF(origin.x() - label_gap - metrics.horizontalAdvance(zero), origin.y() + label_gap,
                metrics.horizontalAdvance(zero), line),
         Qt::AlignCenter, zero);
    painter.restore();
}

void GraphPicture::paint_curve(QPainter &painter) const
{
    painter.save();
    const int count = std::clamp(static_cast<int>(plot_.width()) + 1, 2, 4000);
    std::vector<QPointF> pixels;
    pixels.reserve(static_cast<std::size_t>(count));
    for (const GraphPoint &share : curve_in_view(problem_, view_, count))
        pixels.push_back(at_share(share.x, share.y));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(curve_colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(clipped_polyline(pixels, plot_.top(), plot_.bottom()));

    if (const std::optional<GraphPoint> vertex = parabola_vertex(problem_)) {
        const QPointF at = to_pixel(vertex->x, vertex->y);
        if (plot_.contains(at))
            paint_vertex(painter, at);
    }
    painter.restore();
}

// A diamond on the curve, and its letter on the outer side of the parabola,
// or the inner side when the outer one holds the labels of the x-axis; near
// the axis on both sides, the letter is left out.
void GraphPicture::paint_vertex(QPainter &painter, QPointF at) const
{
    painter.setPen(QPen(curve_colour, 1));
    painter.setBrush(curve_colour);
    painter.drawPolygon(QPolygonF({at + QPointF(0, -vertex_size), at + QPointF(vertex_size, 0),
                                   at + QPointF(0, vertex_size), at + QPointF(-vertex_size, 0)}));

    const QFontMetricsF metrics(font_);
    const qreal axis = to_pixel(0, 0).y();
    const qreal labels_top = axis - dot_radius - label_gap - metrics.height();
    const qreal labels_bottom = axis + tick_length + label_gap + metrics.height();
    const QRectF below(at.x() + 1, at.y() + vertex_size, metrics.height(), metrics.height());
    const QRectF above(at.x() + 1, at.y() - vertex_size - metrics.height(), metrics.height(), metrics.height());
    const bool opens_up = problem_.a > 0;
    for (const QRectF &box : {opens_up ? below : above, opens_up ? above : below}) {
        if (box.bottom() <= labels_top || box.top() >= labels_bottom) {
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(vertex_letter));
            return;
        }
    }
}

/*
 * The solution set on the x-axis: a thick green band over every piece, an
 * arrow where a piece runs on to infinity, and a dot at every end, filled
 * when the end belongs to the set and hollow when it does not. A single point
 * is a filled dot alone; "every x but r0" is the whole band with a hollow dot.
 * The dots go on last, so a hollow one stays hollow over the band.
 */
void GraphPicture::paint_band(QPainter &painter) const
{
    const qreal axis = to_pixel(0, 0).y();
    painter.save();
    for (const BandPiece &piece : band_) {
        // An arrow ends at the edge of the view, well clear of the axis's
        // own arrow in the padding; the band stops where the arrow widens.
        const qreal left = piece.lower ? to_pixel(piece.lower->at, 0).x() : plot_.left() + arrow_length / 2;
        const qreal right = piece.upper ? to_pixel(piece.upper->at, 0).x() : plot_.right() - arrow_length / 2;
        painter.setPen(QPen(band_colour, band_thickness, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(left, axis), QPointF(right, axis));
        painter.setPen(Qt::NoPen);
        painter.setBrush(band_colour);
        if (!piece.lower)
            painter.drawPolygon(arrow_head(QPointF(plot_.left(), axis), QPointF(-1, 0)));
        if (!piece.upper)
            painter.drawPolygon(arrow_head(QPointF(plot_.right(), axis), QPointF(1, 0)));
    }
    for (const BandPiece &piece : band_) {
        for (const auto &end : {piece.lower, piece.upper}) {
            if (!end)
                continue;
            painter.setPen(QPen(band_edge_colour, 2));
            painter.setBrush(end->closed ? band_colour : graph_paper_colour);
            painter.drawEllipse(to_pixel(end->at, 0), dot_radius, dot_radius);
        }
    }
    painter.restore();
}

// The rounded roots as the sentences write them, above their dots; a label
// that would overlap its left neighbour goes a line higher.
void GraphPicture::paint_root_labels(QPainter &painter) const
{
    std::vector<double> values;
    for (const BandPiece &piece : band_)
        for (const auto &end : {piece.lower, piece.upper})
            if (end)
                values.push_back(end->at);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());

    QFont bold = font_;
    bold.setBold(true);
    const QFontMetricsF metrics(bold);
    painter.save();
    painter.setFont(bold);
    painter.setPen(band_edge_colour);
    const qreal axis = to_pixel(0, 0).y();
    qreal previous_right = -1e9;
    int previous_level = -1;
    for (const double value : values) {
        const QString label = text_of(format_number(value, separator_));
        const qreal width = metrics.horizontalAdvance(label);
        const qreal x = std::clamp(to_pixel(value, 0).x() - width / 2, area_.left(), area_.right() - width);
        const int level = x < previous_right + label_gap ? previous_level + 1 : 0;
        const qreal bottom = axis - dot_radius - label_gap - level * metrics.height();
        const QRectF box(x, bottom - metrics.height(), width, metrics.height());
        // On paper of their own, so the curve through them does not cross
        // out the answer.
        painter.fillRect(box.adjusted(-1, 1, 1, -1), graph_paper_colour);
        painter.drawText(box, Qt::AlignCenter, label);
        previous_right = x + width;
        previous_level = level;
    }
    painter.restore();
}

void GraphPicture::paint_caption(QPainter &painter) const
{
    if (caption_.empty())
        return;
    painter.setPen(caption_colour);
    painter.drawText(caption_area_, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text_of(caption_));
}

} // namespace parvolin
