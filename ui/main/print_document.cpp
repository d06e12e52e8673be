#include "ui/main/print_document.h"

#include "ui/main/output_texts.h"
#include "ui/main/print_service.h"
#include "ui/main/seam.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cups/cups.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace parvolin {

namespace {

constexpr int twips_per_inch = 1440;

Seam<PrintDialogs> print_dialogs_seam;

bool any_printer_installed()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool run_print_dialog(QPrinter &printer, QWidget *parent)
{
    // All pages only: no page numbers, no selection, no current page, and
    // no printing to a file.
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setWindowModality(Qt::ApplicationModal);
    return dialog.exec() == QDialog::Accepted;
}

// The document laid out for the printer, one column as wide as the page and
// as long as the text, with every line's place in it. A page is a run of
// whole lines cut out of that column, so that a page boundary never falls
// inside a line.
class PageRenderer {
public:
    PageRenderer(const QTextDocument &source, QPaintDevice &device, const QSizeF &page)
        : document_(source.clone()), page_(page)
    {
        // Printed from the top-left corner of the printable area: no
        // margin of the document's own.
        document_->setDocumentMargin(0);
        QAbstractTextDocumentLayout *layout = document_->documentLayout();
        layout->setPaintDevice(&device);
        document_->setTextWidth(page.width());
        for (QTextBlock block = document_->begin(); block.isValid(); block = block.next()) {
            const QTextLayout *lines = block.layout();
            const QPointF origin = layout->blockBoundingRect(block).topLeft() - lines->boundingRect().topLeft();
            for (int i = 0; i < lines->lineCount(); ++i) {
                const QTextLine line = lines->lineAt(i);
                const qreal top = origin.y() + line.y();
                lines_.push_back({block.position() + line.textStart(), top, top + line.height()});
            }
        }
    }

    int character_count() const { return document_->characterCount(); }

    // Draws as much of the document as fits on one page, starting with the
    // line that holds `first`; returns the first character not drawn, or
    // the character count when the document is done. A page takes at least
    // one line, so that the job always ends.
    int render(QPainter &painter, int first) const
    {
        if (lines_.empty())
            return character_count();
        const auto after = std::upper_bound(lines_.begin(), lines_.end(), first,
                                            [](int position, const Line &line) { return position < line.first; });
        const std::size_t start = after == lines_.begin() ? 0 : static_cast<std::size_t>(after - lines_.begin()) - 1;
        const qreal top = lines_[start].top;
        std::size_t end = start + 1;
        while (end < lines_.size() && lines_[end].bottom - top <= page_.height())
            ++end;
        const qreal bottom = end < lines_.size() ? std::min(lines_[end].top, top + page_.height()) : top + page_.height();

        const QRectF clip(0, top, page_.width(), bottom - top);
        painter.save();
        painter.translate(0, -top);
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        // Automatic colour is black on paper, whatever the desktop's theme.
        context.palette.setColor(QPalette::Text, Qt::black);
        document_->documentLayout()->draw(&painter, context);
        painter.restore();

        return end < lines_.size() ? lines_[end].first : character_count();
    }

private:
    struct Line {
        int first; // the line's first character in the document
        qreal top;
        qreal bottom;
    };

    std::unique_ptr<QTextDocument> document_;
    QSizeF page_;
    std::vector<Line> lines_;
};

// A job for a print queue is handed to the print service when the painter
// ends, and Qt does not look at the answer: a queue that rejects jobs, or a
// service stopped since the dialog, would lose the job without a word. The
// client library keeps the answer to the last request of this thread, which
// is that hand-over.
void check_job_accepted(const QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat)
        return;
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return;
    const char *reason = cupsLastErrorString();
    throw PrintStartError("Tisková služba úlohu pro tiskárnu „" + printer.printerName().toStdString()
                          + "“ nepřijala, nic se nevytisklo. Odpověď služby: "
                          + (reason != nullptr && *reason != '\0' ? reason : ippErrorString(cupsLastError())));
}

} // namespace

PrintDialogs set_print_dialogs(PrintDialogs dialogs)
{
    return print_dialogs_seam.set(std::move(dialogs));
}

QRect page_rectangle_twips(const QPaintDevice &device)
{
    return QRect(0, 0, device.width() * twips_per_inch / device.logicalDpiX(),
                 device.height() * twips_per_inch / device.logicalDpiY());
}

void print_document(const QTextDocument &document, QPrinter &printer)
{
    if (printer.paintingActive())
        throw PrintingInProgress();

    printer.setDocName(QString::fromUtf8(print_job_name));
    // The whole printable area: no margins beyond those the device cannot
    // print on.
    printer.setFullPage(false);
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());

    QPainter painter;
    if (!painter.begin(&printer))
        throw PrintStartError();

    // The rectangle in twips and back in device pixels, as a page renderer
    // working in twips sees it.
    const QRect twips = page_rectangle_twips(printer);
    const QSizeF page(twips.width() * printer.logicalDpiX() / twips_per_inch,
                      twips.height() * printer.logicalDpiY() / twips_per_inch);
    // A copy: the events that run between pages may replace the window's
    // document while the job is still printing it.
    const PageRenderer renderer(document, printer, page);
    const int total = renderer.character_count();

    int first = 0;
    for (;;) {
        const int next = renderer.render(painter, first);
        QCoreApplication::processEvents();
        if (next >= total)
            break;
        if (!printer.newPage()) {
            painter.end();
            throw PrintFailedError();
        }
        first = next;
    }
    if (!painter.end())
        throw PrintFailedError();
    check_print_job(printer);
}

void check_print_job(const QPrinter &printer)
{
    if (printer.printerState() == QPrinter::Error)
        throw PrintFailedError();
    check_job_accepted(printer);
}

PrintCommand::PrintCommand() = default;
PrintCommand::~PrintCommand() = default;

void PrintCommand::run(QWidget *window, const QTextDocument &document)
{
    run(window, [&document](QPrinter &printer) { print_document(document, printer); });
}

void PrintCommand::run(QWidget *window, const std::function<void(QPrinter &printer)> &print)
{
    // A job of this command is still being spooled (this run came from the
    // events processed between its pages).
    if (printer_ && printer_->paintingActive())
        throw PrintingInProgress();

    // Asked before anything that would wait for the print service on this
    // thread; the window goes on running meanwhile, and a print command run
    // from it then finds this one in progress.
    if (probing_)
        throw PrintingInProgress();
    {
        probing_ = true;
        const auto probed = qScopeGuard([this] { probing_ = false; });
        const PrintServiceProbe probe = probe_print_service_while_running(print_service_timeout());
        if (probe.state == PrintServiceState::Silent)
            throw PrintServiceSilent(probe.server, print_service_timeout());
    }

    const PrintDialogs &dialogs = print_dialogs_seam.installed();
    if (!(dialogs.printer_installed ? dialogs.printer_installed() : any_printer_installed()))
        throw NoDefaultPrinter(no_printer_detail);
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);

    // The copy count of the printer's settings stays unless the dialog asks
    // for more than one copy.
    const int device_copies = printer_->copyCount();
    if (!(dialogs.confirm ? dialogs.confirm(*printer_, window) : run_print_dialog(*printer_, window)))
        return;
    if (printer_->copyCount() == 1)
        printer_->setCopyCount(device_copies);

    print(*printer_);
}

} // namespace parvolin
