#include "ui/main/worksheet_pages.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

#include <cmath>
#include <utility>

namespace parvolin {

namespace {

// The sheet's margins are the document's own, in the layout's 96-dpi pixels
// (it scales them to the device); the device's are left at nothing, or they
// would come on top.
constexpr qreal margin_mm = 20;
constexpr qreal margin_px = margin_mm / 25.4 * 96;
constexpr int pdf_resolution = 300;

int page_of(qreal y, qreal page_height)
{
    return static_cast<int>(std::floor(y / page_height));
}

void set_break_before(QTextDocument &document, const QTextBlock &block)
{
    QTextCursor cursor(block);
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.mergeBlockFormat(format);
    static_cast<void>(document);
}

void set_break_before(QTextFrame &frame)
{
    QTextFrameFormat format = frame.frameFormat();
    format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    frame.setFrameFormat(format);
}

// The first table that a page's end cuts, and the block before it; false
// when there is none. Tables taller than a page are passed over.
bool move_one_cut_table(QTextDocument &document, qreal page_height, qreal margin)
{
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    QTextBlock before;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        QTextFrame *frame = it.currentFrame();
        if (frame == nullptr) {
            before = it.currentBlock();
            continue;
        }
        const QRectF box = layout->frameBoundingRect(frame);
        const int first = page_of(box.top(), page_height);
        if (box.height() > page_height - 2 * margin || first == page_of(box.bottom() - 1, page_height)) {
            before = QTextBlock();
            continue;
        }
        // The sentence that leads to the table goes with it, unless it
        // already opens its page.
        if (before.isValid() && !before.text().isEmpty()) {
            const QRectF line = layout->blockBoundingRect(before);
            if (page_of(line.top(), page_height) == first && line.top() - first * page_height > margin * 1.5 &&
                !(before.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)) {
                set_break_before(document, before);
                return true;
            }
        }
        if (frame->frameFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            continue;
        set_break_before(*frame);
        return true;
    }
    return false;
}

} // namespace

void finish_sheet_document(QTextDocument &document)
{
    QTextFrame *table = nullptr;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            table = frame;
            continue;
        }
        // The line Qt keeps after every table.
        const QTextBlock after = it.currentBlock();
        QTextFrame *before = std::exchange(table, nullptr);
        if (before == nullptr)
            continue;
        QTextCursor cursor(after);
        if (after.text().isEmpty() && after.next().isValid()) {
            // Empty, with a paragraph after it: no blank line under a
            // stacked line.
            QTextBlockFormat format;
            format.setTopMargin(0);
            format.setBottomMargin(0);
            cursor.mergeBlockFormat(format);
            QTextCharFormat tiny;
            tiny.setFontPointSize(1);
            cursor.mergeBlockCharFormat(tiny);
        } else if (const qreal indent = before->frameFormat().leftMargin();
                   indent > 0 && after.blockFormat().leftMargin() <= 0) {
            QTextBlockFormat format;
            format.setLeftMargin(indent);
            cursor.mergeBlockFormat(format);
        }
    }
    // A view lays its document out step by step, and would leave the blocks
    // between two changes of a step unlaid: the whole is laid out anew.
    document.markContentsDirty(0, document.characterCount());
}

int lay_out_pages(QTextDocument &document, QSizeF page)
{
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.setMargin(margin_px);
    document.rootFrame()->setFrameFormat(root);
    document.setPageSize(page);
    // The margins as the layout draws them, in the device's units.
    const qreal scale = document.documentLayout()->paintDevice() != nullptr
                            ? document.documentLayout()->paintDevice()->logicalDpiY() / 96.0
                            : 1.0;
    // Each move shifts only what follows it; a table is moved at most once
    // with its sentence and once alone, so this ends.
    for (int moves = 0; moves < 10000 && move_one_cut_table(document, page.height(), margin_px * scale); ++moves) {
    }
    return document.pageCount();
}

int set_sheet_pages(QTextDocument &document, const QString &html, QPagedPaintDevice &device)
{
    document.documentLayout()->setPaintDevice(&device);
    // The page numbers are drawn in the default font; the sheet names its own.
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    document.setHtml(html);
    finish_sheet_document(document);
    return lay_out_pages(document, QSizeF(device.width(), device.height()));
}

void draw_html_pages(const QString &html, QPagedPaintDevice &device)
{
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device))
        return;
    QTextDocument document;
    const int pages = set_sheet_pages(document, html, device);
    const QSizeF page = document.pageSize();

    const qreal margin = margin_px * device.logicalDpiY() / 96.0;
    const QFont number_font = document.defaultFont();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage())
            return;
        painter.save();
        const QRectF view(0, i * page.height(), page.width(), page.height());
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.setClipping(false);
        painter.setFont(number_font);
        const QString number = QString::number(i + 1);
        const QFontMetricsF metrics(number_font, &device);
        painter.drawText(QPointF(page.width() - margin - metrics.horizontalAdvance(number),
                                 view.bottom() - margin + metrics.ascent() + 5 * device.logicalDpiY() / 72.0),
                         number);
        painter.restore();
    }
    painter.end();
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
    // A writer that would not start leaves the buffer empty.
    return bytes;
}

} // namespace parvolin
