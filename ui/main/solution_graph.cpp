#include "ui/main/solution_graph.h"

#include "ui/main/error_display.h"
#include "ui/main/new_file.h"

#include "solver/number_text.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <utility>

namespace parvolin {

namespace {

// The picture's own texts: its context menu, the save dialog's file types,
// the name the dialog first offers, and the letters at the axes and the vertex.
constexpr char copy_caption[] = "&Kopírovat obrázek";
constexpr char save_png_caption[] = "Uložit obrázek jako PNG…";
constexpr char save_svg_caption[] = "Uložit obrázek jako SVG…";
constexpr char png_filter[] = "Obrázek PNG (*.png)";
constexpr char svg_filter[] = "Obrázek SVG (*.svg)";
constexpr char default_file_name[] = "graf";
constexpr char svg_title[] = "Parvolin";
constexpr char x_axis_letter[] = "x";
constexpr char y_axis_letter[] = "y";
constexpr char vertex_letter[] = "V";
constexpr char accessible_name[] = "Graf řešení";
constexpr char tool_tip[] = "Kliknutím a Ctrl+C graf zkopírujete, pravým tlačítkem myši ho uložíte jako PNG nebo SVG.";

// Colours: the curve blue, the solution set green, the rest greys, the
// caption a warning brown.
const QColor background_colour(255, 255, 255);
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
constexpr qreal smallest_font_pixels = 10;
// Saved PNGs have twice the pixels of the picture on screen, for printing.
constexpr qreal png_scale = 2;
constexpr qreal inches_per_metre = 39.3701;

PictureFileDialog &installed_dialog()
{
    static PictureFileDialog dialog;
    return dialog;
}

QString run_picture_dialog(QWidget *parent, const QString &shown_path, const QString &filter, const QString &suffix)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.selectFile(shown_path);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

// Writes through a temporary file that replaces `path` only when complete,
// so that a failure leaves neither half a picture nor a damaged old one.
template <typename Write>
void write_picture_file(const QString &path, Write &&write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileCreateError(QFile::encodeName(path).toStdString(), file.errorString().toStdString());
    if (!std::forward<Write>(write)(file) || !file.commit())
        throw StreamWriteError();
}

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

PictureFileDialog set_picture_file_dialog(PictureFileDialog dialog)
{
    return std::exchange(installed_dialog(), std::move(dialog));
}

// --- The picture -------------------------------------------------------------------

GraphPicture::GraphPicture(const Problem &problem, const Solution &solution, char decimal_separator,
                           const QRectF &area, const QFont &font)
    : problem_(problem), solution_(solution), separator_(decimal_separator), area_(area), font_(font),
      view_(graph_view(problem, solution)), band_(solution_band(solution)),
      caption_(graph_caption(problem, solution, view_))
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
        painter.fillRect(box.adjusted(-1, 0, 1, 0), background_colour);
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
            painter.setBrush(end->closed ? band_colour : background_colour);
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
        painter.fillRect(box.adjusted(-1, 1, 1, -1), background_colour);
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

// --- The widget --------------------------------------------------------------------

SolutionGraph::SolutionGraph(QWidget *parent) : QWidget(parent)
{
    // A click gives it the keyboard for Ctrl+C; the tab order of the view
    // stays as it is.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QString::fromUtf8(accessible_name));
    create_actions();
    update_actions();
}

void SolutionGraph::create_actions()
{
    copy_action_ = new QAction(QIcon::fromTheme(QStringLiteral("edit-copy")), QString::fromUtf8(copy_caption), this);
    copy_action_->setObjectName(QStringLiteral("copyPicture"));
    copy_action_->setShortcut(QKeySequence::Copy);
    copy_action_->setShortcutContext(Qt::WidgetShortcut);
    addAction(copy_action_);
    connect(copy_action_, &QAction::triggered, this, [this] { run_handler([this] { copy_picture(); }); });

    save_png_action_ = new QAction(QIcon::fromTheme(QStringLiteral("document-save-as")),
                                   QString::fromUtf8(save_png_caption), this);
    save_png_action_->setObjectName(QStringLiteral("savePicturePng"));
    connect(save_png_action_, &QAction::triggered, this, [this] { run_handler([this] { save_picture(Format::Png); }); });

    save_svg_action_ = new QAction(QString::fromUtf8(save_svg_caption), this);
    save_svg_action_->setObjectName(QStringLiteral("savePictureSvg"));
    connect(save_svg_action_, &QAction::triggered, this, [this] { run_handler([this] { save_picture(Format::Svg); }); });
}

void SolutionGraph::update_actions()
{
    for (QAction *action : {copy_action_, save_png_action_, save_svg_action_})
        action->setEnabled(!is_empty());
    setToolTip(is_empty() ? QString() : QString::fromUtf8(tool_tip));
}

void SolutionGraph::show_solution(const Problem &problem, const Solution &solution, char decimal_separator)
{
    shown_ = Shown{problem, solution, decimal_separator};
    update_actions();
    update();
}

void SolutionGraph::clear()
{
    shown_.reset();
    update_actions();
    update();
}

std::optional<GraphPicture> SolutionGraph::laid_out(const QRectF &area) const
{
    if (!shown_)
        return std::nullopt;
    // In pixels, so that the screen, the PNG and the SVG lay it out alike
    // whatever resolution each of them claims.
    QFont font = this->font();
    font.setPixelSize(std::max(static_cast<int>(smallest_font_pixels), QFontInfo(this->font()).pixelSize()));
    return GraphPicture(shown_->problem, shown_->solution, shown_->separator, area, font);
}

void SolutionGraph::paint_picture(QPainter &painter, const QRectF &area) const
{
    painter.fillRect(area, background_colour);
    if (const std::optional<GraphPicture> picture = laid_out(area))
        picture->paint(painter);
}

void SolutionGraph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint_picture(painter, rect());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

QImage SolutionGraph::picture(qreal scale) const
{
    if (size().isEmpty())
        return {};
    QImage image((QSizeF(size()) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    paint_picture(painter, QRectF(QPointF(0, 0), QSizeF(size())));
    return image;
}

void SolutionGraph::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(copy_action_);
    menu.addSeparator();
    menu.addAction(save_png_action_);
    menu.addAction(save_svg_action_);
    menu.exec(event->globalPos());
}

void SolutionGraph::copy_picture()
{
    if (!is_empty())
        QGuiApplication::clipboard()->setImage(picture(devicePixelRatioF()));
}

void SolutionGraph::save_png(const QString &path) const
{
    QImage image = picture(png_scale);
    // Twice the pixels at twice the resolution: as large as on screen.
    const int dots_per_metre = static_cast<int>(std::lround(png_scale * logicalDpiX() * inches_per_metre));
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    write_picture_file(path, [&image](QSaveFile &file) { return image.save(&file, "PNG"); });
}

void SolutionGraph::save_svg(const QString &path) const
{
    write_picture_file(path, [this](QSaveFile &file) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(size());
        generator.setViewBox(QRect(QPoint(0, 0), size()));
        generator.setResolution(logicalDpiX());
        generator.setTitle(QString::fromUtf8(svg_title));
        QPainter painter;
        if (!painter.begin(&generator))
            return false;
        paint_picture(painter, QRectF(QPointF(0, 0), QSizeF(size())));
        return painter.end() && file.error() == QFileDevice::NoError;
    });
}

void SolutionGraph::save_picture(Format format)
{
    if (is_empty())
        return;
    const bool png = format == Format::Png;
    const QString suffix = png ? QStringLiteral("png") : QStringLiteral("svg");
    const QString filter = QString::fromUtf8(png ? png_filter : svg_filter);
    // The name offered: the last picture's, with this format's suffix.
    const QString name = last_path_.isEmpty() ? QString::fromUtf8(default_file_name)
                                              : QFileInfo(last_path_).completeBaseName();
    const QString folder = last_path_.isEmpty() ? QDir::currentPath() : QFileInfo(last_path_).absolutePath();
    const QString shown_path = QDir(folder).filePath(name + QLatin1Char('.') + suffix);

    const PictureFileDialog &dialog = installed_dialog();
    const QString path = dialog ? dialog(window(), shown_path, filter, suffix)
                                : run_picture_dialog(window(), shown_path, filter, suffix);
    if (path.isEmpty())
        return;
    last_path_ = path;
    if (png)
        save_png(path);
    else
        save_svg(path);
}

} // namespace parvolin
