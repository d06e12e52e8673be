#include "ui/main/solution_graph.h"

#include "ui/main/error_display.h"
#include "ui/main/new_file.h"
#include "ui/main/save_folder.h"
#include "ui/main/seam.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QSaveFile>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QSvgGenerator>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <utility>

namespace parvolin {

namespace {

// The widget's own texts: its context menu, the save dialog's file types and
// the name the dialog first offers.
constexpr char copy_caption[] = "&Kopírovat obrázek";
constexpr char save_png_caption[] = "Uložit obrázek jako PNG…";
constexpr char save_svg_caption[] = "Uložit obrázek jako SVG…";
constexpr char png_filter[] = "Obrázek PNG (*.png)";
constexpr char svg_filter[] = "Obrázek SVG (*.svg)";
constexpr char default_file_name[] = "graf";
constexpr char svg_title[] = "Parvolin";
constexpr char accessible_name[] = "Graf řešení";
constexpr char tool_tip[] = "Kliknutím a Ctrl+C graf zkopírujete, pravým tlačítkem myši ho uložíte jako PNG nebo SVG.";

constexpr qreal smallest_font_pixels = 10;
// Saved PNGs have twice the pixels of the picture on screen, for printing.
constexpr qreal png_scale = 2;
constexpr qreal inches_per_metre = 39.3701;

Seam<PictureFileDialog> picture_dialog_seam;

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
// The picture is made in memory first: the encoders do not look at what a
// write returns, and a short write (a file-size limit, a disk that fills
// during the write) raises no error in the device, so the whole is written
// here and every count checked.
void write_picture_file(const QString &path, const QByteArray &bytes)
{
    const std::string full_path = QFile::encodeName(path).toStdString();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileCreateError(full_path, file.errorString().toStdString());
    errno = 0;
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            break;
        done += written;
    }
    if (file.error() == QFileDevice::NoError && file.commit())
        return;
    // The system's reason, in Czech where we know it; Qt's own text where
    // the failing call left no errno behind.
    const int error = errno;
    if (error != 0)
        throw StreamWriteError(full_path, error);
    throw StreamWriteError(full_path, file.errorString().toStdString());
}

} // namespace

PictureFileDialog set_picture_file_dialog(PictureFileDialog dialog)
{
    return picture_dialog_seam.set(std::move(dialog));
}

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

void SolutionGraph::show_solution(const Problem &problem, const Solution &solution, char decimal_separator,
                                  const std::string &caption)
{
    shown_ = Shown{problem, solution, decimal_separator, caption};
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
    return GraphPicture(shown_->problem, shown_->solution, shown_->separator, area, font, shown_->caption);
}

void SolutionGraph::paint_picture(QPainter &painter, const QRectF &area) const
{
    painter.fillRect(area, graph_paper_colour);
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
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        throw StreamWriteError();
    write_picture_file(path, bytes);
}

void SolutionGraph::save_svg(const QString &path) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        throw StreamWriteError();
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size());
    generator.setViewBox(QRect(QPoint(0, 0), size()));
    generator.setResolution(logicalDpiX());
    generator.setTitle(QString::fromUtf8(svg_title));
    QPainter painter;
    if (!painter.begin(&generator))
        throw StreamWriteError();
    paint_picture(painter, QRectF(QPointF(0, 0), QSizeF(size())));
    if (!painter.end())
        throw StreamWriteError();
    write_picture_file(path, bytes);
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
    const QString folder = last_path_.isEmpty() ? save_folder() : QFileInfo(last_path_).absolutePath();
    const QString shown_path = QDir(folder).filePath(name + QLatin1Char('.') + suffix);

    const PictureFileDialog &dialog = picture_dialog_seam.installed();
    const QString path = dialog ? dialog(window(), shown_path, filter, suffix)
                                : run_picture_dialog(window(), shown_path, filter, suffix);
    if (path.isEmpty())
        return;
    last_path_ = path;
    remember_save_folder(path);
    if (png)
        save_png(path);
    else
        save_svg(path);
}

} // namespace parvolin
