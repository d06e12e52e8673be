#include "ui/main/memo_rows.h"

#include <QCoreApplication>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextLayout>

namespace parvolin {

namespace {

// A memo that has not been on screen still holds the resize events of its
// layout geometry: until they arrive, its viewport has no width and its text
// is laid out at none in particular. Delivered here as showing the memo would
// deliver them: first to the memo, which places its viewport and scroll bar,
// then to the viewport, whose new width sets the wrapping width of the text.
void deliver_pending_resize(QWidget &widget)
{
    if (!widget.testAttribute(Qt::WA_PendingResizeEvent))
        return;
    QResizeEvent event(widget.size(), QSize());
    QCoreApplication::sendEvent(&widget, &event);
    widget.setAttribute(Qt::WA_PendingResizeEvent, false);
}

} // namespace

std::vector<std::string> display_rows(QPlainTextEdit &memo)
{
    memo.ensurePolished();
    deliver_pending_resize(memo);
    deliver_pending_resize(*memo.viewport());

    auto *layout = qobject_cast<QPlainTextDocumentLayout *>(memo.document()->documentLayout());
    std::vector<std::string> rows;
    for (QTextBlock block = memo.document()->firstBlock(); block.isValid(); block = block.next()) {
        // The memo lays blocks out when it first needs them; asking for the
        // block's bounds makes it do so now.
        if (layout != nullptr)
            layout->blockBoundingRect(block);
        const QString text = block.text();
        const QTextLayout *lines = block.layout();
        if (lines == nullptr || lines->lineCount() == 0) {
            rows.push_back(text.toStdString());
            continue;
        }
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            rows.push_back(text.mid(line.textStart(), line.textLength()).toStdString());
        }
    }
    return rows;
}

} // namespace parvolin
