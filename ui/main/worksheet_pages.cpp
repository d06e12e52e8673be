#include "ui/main/worksheet_pages.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextDocument>

namespace parvolin {

namespace {

// The page's own margins are left at nothing: QTextDocument::print lays an
// unpaginated document out with 2 cm margins of its own (the page number
// goes in the bottom one), and margins on the device would come on top of
// them, 4 cm in all.
constexpr qreal margin_mm = 0;
constexpr int pdf_resolution = 300;

} // namespace

void draw_html_pages(const QString &html, QPagedPaintDevice &device)
{
    device.setPageMargins(QMarginsF(margin_mm, margin_mm, margin_mm, margin_mm), QPageLayout::Millimeter);
    QTextDocument document;
    // The page numbers are drawn in the default font; the sheet names its own.
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    document.setHtml(html);
    document.print(&device);
}

QByteArray html_pdf(const QString &html, const QString &title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(pdf_resolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Parvolin"));
        draw_html_pages(html, writer);
    }
    // QTextDocument::print says nothing when the writer would not start: it
    // then leaves the buffer empty.
    return bytes;
}

} // namespace parvolin
