#include "ui/main/document_attachment.h"

#include "ui/main/solution_graph.h"
#include "ui/main/steps_html.h"

#include <QBuffer>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace parvolin {

namespace {

constexpr QSizeF picture_points{480, 360};
constexpr int picture_scale = 2;
constexpr int twips_per_point = 15; // at 96 points to the inch

} // namespace

QImage graph_picture(const SolutionGraph &graph)
{
    const QRectF area(QPointF(0, 0), picture_points);
    const std::optional<GraphPicture> laid_out = graph.laid_out(area);
    if (!laid_out)
        return {};
    QImage image((picture_points * picture_scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(picture_scale, picture_scale);
    laid_out->paint(painter);
    painter.end();
    return image;
}

RtfPicture graph_png(const SolutionGraph &graph)
{
    const QImage image = graph_picture(graph);
    RtfPicture picture;
    if (image.isNull())
        return picture;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    picture.png.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    picture.width_px = image.width();
    picture.height_px = image.height();
    picture.width_twips = static_cast<int>(picture_points.width()) * twips_per_point;
    picture.height_twips = static_cast<int>(picture_points.height()) * twips_per_point;
    return picture;
}

std::unique_ptr<QTextDocument> printed_with_attachment(const QTextDocument &document,
                                                       const std::optional<Working> &working, const QImage &picture)
{
    std::unique_ptr<QTextDocument> printed(document.clone());
    QTextCursor cursor(printed.get());
    cursor.movePosition(QTextCursor::End);
    if (working) {
        // A working that opens with the framed notice opens with a table,
        // and a table inserted in a block of its own would leave that block
        // empty above it: a blank line the saved document does not have.
        if (working->steps.empty() || working->steps.front().kind != StepKind::Notice)
            cursor.insertBlock(QTextBlockFormat());
        cursor.insertHtml(working_html(*working));
    }
    if (!picture.isNull()) {
        const QUrl name(QStringLiteral("parvolin-graph.png"));
        printed->addResource(QTextDocument::ImageResource, name, picture);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        // The line below the working's last table takes the picture.
        if (cursor.block().length() > 1 || !working)
            cursor.insertBlock(centred);
        else
            cursor.setBlockFormat(centred);
        QTextImageFormat image;
        image.setName(name.toString());
        image.setWidth(picture_points.width());
        image.setHeight(picture_points.height());
        cursor.insertImage(image);
    }
    return printed;
}

} // namespace parvolin
