#include "ui/main/print_document.h"

#include "ui/main/output_texts.h"
#include "ui/main/print_service.h"
#include "ui/main/seam.h"

#include "solver/ascii.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace parvolin {

namespace {

constexpr int twips_per_inch = 1440;

Seam<PrintDialogs> print_dialogs_seam;

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

std::string seconds_text(std::chrono::milliseconds time)
{
    return integer_text((time.count() + 999) / 1000);
}

std::string quoted(const std::string &printer)
{
    return "„" + printer + "“";
}

// Runs `ask`, one of the service's questions (print_queue.h) given `allowed`,
// on a thread of its own while the window runs. Throws PrintServiceSilent
// when it has not ended a second after `allowed` (the client library may
// overrun by that much); the server is named as the question's own thread
// sees it, since the client library keeps its settings per thread.
template <typename Answer>
Answer ask_print_service(std::function<Answer(std::chrono::milliseconds)> ask, std::chrono::milliseconds allowed)
{
    struct Server {
        std::mutex mutex;
        std::string name;
    };
    auto server = std::make_shared<Server>();
    std::optional<Answer> answer = result_while_event_loop_runs<Answer>(
        [server, ask = std::move(ask), allowed] {
            {
                const std::lock_guard lock(server->mutex);
                server->name = print_server_name();
            }
            return ask(allowed);
        },
        allowed + std::chrono::seconds(1));
    if (!answer) {
        const std::lock_guard lock(server->mutex);
        throw PrintServiceSilent(server->name, allowed);
    }
    return std::move(*answer);
}

std::vector<PrinterEntry> offered_printers()
{
    const auto allowed = print_service_timeout();
    PrinterList list = ask_print_service<PrinterList>(&list_printers, allowed);
    if (list.state == PrintServiceState::Silent)
        throw PrintServiceSilent(list.server, allowed);
    return std::move(list.printers);
}

// The paper of `printer`; A4 without margins when the service names none,
// or is gone (the hand-over then says so).
PaperSetup printer_paper(const std::string &printer)
{
    const auto allowed = print_service_timeout();
    const PrinterPaper described = ask_print_service<PrinterPaper>(
        [printer](std::chrono::milliseconds time) { return describe_printer(printer, time); }, allowed);
    if (described.state == PrintServiceState::Silent)
        throw PrintServiceSilent(described.server, allowed);
    return described.paper;
}

// The chosen printer, or failing that the default, or the first.
std::string preselected(const std::vector<PrinterEntry> &printers, const std::string &last)
{
    const auto named = [&](const std::string &name) {
        return std::any_of(printers.begin(), printers.end(), [&](const PrinterEntry &entry) { return entry.name == name; });
    };
    if (named(last))
        return last;
    const auto standard =
        std::find_if(printers.begin(), printers.end(), [](const PrinterEntry &entry) { return entry.is_default; });
    return standard != printers.end() ? standard->name : printers.front().name;
}

// The pages `print` draws, as the bytes of a PDF file on `paper`, and the
// title it gave them.
std::pair<QByteArray, QString> drawn_pdf(const std::function<void(QPdfWriter &writer)> &print, const PaperSetup &paper)
{
    QByteArray bytes;
    QString title;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        throw PrintStartError();
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Parvolin"));
        writer.setTitle(QString::fromUtf8(print_job_name));
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(paper.width, paper.height), QPageSize::Millimeter),
                                         QPageLayout::Portrait,
                                         QMarginsF(paper.left, paper.top, paper.right, paper.bottom),
                                         QPageLayout::Millimeter));
        print(writer);
        title = writer.title();
    }
    // A writer that would not start leaves nothing.
    if (bytes.isEmpty())
        throw PrintStartError();
    return {bytes, title};
}

void write_pdf_file(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        throw PrintStartError();
}

// Hands the job over and follows it to its end, on a thread of its own.
void hand_over(const PrintChoice &choice, const std::string &title, const QByteArray &pdf)
{
    const auto allowed = print_job_timeout();
    const std::string printer = choice.printer;
    const int copies = choice.copies;
    const std::string data = pdf.toStdString();
    const JobReport report = ask_print_service<JobReport>(
        [printer, title, copies, data](std::chrono::milliseconds time) {
            return send_print_job(printer, title, copies, data, time);
        },
        allowed);
    const std::string job = "úlohu č. " + integer_text(report.job_id);
    switch (report.end) {
    case JobEnd::Completed:
        return;
    case JobEnd::Refused:
    case JobEnd::Unreachable:
        throw PrintStartError("Tisková služba úlohu pro tiskárnu " + quoted(printer)
                              + " nepřijala, nic se nevytisklo. Odpověď služby: " + report.reason);
    case JobEnd::HandOverStalled:
        throw PrintServiceSilent("Tiskový server " + report.server + " přestal odpovídat, když přebíral úlohu pro tiskárnu "
                                 + quoted(printer) + ", a do " + seconds_text(allowed)
                                 + " s ji celou nepřevzal, a tak se nic nevytisklo. Zkontrolujte, že tisková služba "
                                   "(CUPS) běží, a zkuste tisk znovu.");
    case JobEnd::Stopped:
        throw PrintFailedError("Tisková služba " + job + " pro tiskárnu " + quoted(printer)
                               + " přerušila, takže se nevytiskla celá."
                               + (report.reason.empty() ? std::string() : " Důvod: " + report.reason));
    case JobEnd::StillQueued:
        break;
    }
    throw PrintJobUnfinished("Tiskový server " + report.server + " má " + job + " ve frontě tiskárny " + quoted(printer) + ", ale ani za "
                             + seconds_text(allowed)
                             + " s se úloha nevytiskla. Zkontrolujte, že je tiskárna zapnutá, připojená a má papír; "
                               "úloha ve frontě zůstává a vytiskne se, až bude tiskárna připravena.");
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

void print_document(const QTextDocument &document, QPagedPaintDevice &device)
{
    if (device.paintingActive())
        throw PrintingInProgress();

    const QString job_name = QString::fromUtf8(print_job_name);
    auto *printer = dynamic_cast<QPrinter *>(&device);
    if (printer != nullptr) {
        printer->setDocName(job_name);
        // The whole printable area: no margins beyond those the device
        // cannot print on.
        printer->setFullPage(false);
        const QPageLayout layout = printer->pageLayout();
        printer->setPageMargins(layout.minimumMargins(), layout.units());
    } else if (auto *writer = dynamic_cast<QPdfWriter *>(&device)) {
        writer->setTitle(job_name);
    }

    QPainter painter;
    if (!painter.begin(&device))
        throw PrintStartError();

    // The rectangle in twips and back in device pixels, as a page renderer
    // working in twips sees it.
    const QRect twips = page_rectangle_twips(device);
    const QSizeF page(twips.width() * device.logicalDpiX() / twips_per_inch,
                      twips.height() * device.logicalDpiY() / twips_per_inch);
    // A copy: the events that run between pages may replace the window's
    // document while the job is still printing it.
    const PageRenderer renderer(document, device, page);
    const int total = renderer.character_count();

    int first = 0;
    for (;;) {
        const int next = renderer.render(painter, first);
        QCoreApplication::processEvents();
        if (next >= total)
            break;
        if (!device.newPage()) {
            painter.end();
            throw PrintFailedError();
        }
        first = next;
    }
    if (!painter.end() || (printer != nullptr && printer->printerState() == QPrinter::Error))
        throw PrintFailedError();
}

PrintJobUnfinished::PrintJobUnfinished(std::string detail) : Failure("Tisk se zatím nedokončil", std::move(detail)) {}

PrintCommand::PrintCommand() = default;
PrintCommand::~PrintCommand() = default;

void PrintCommand::run(QWidget *window, const QTextDocument &document)
{
    run(window, [&document](QPdfWriter &writer) { print_document(document, writer); });
}

void PrintCommand::run(QWidget *window, const std::function<void(QPdfWriter &writer)> &print)
{
    // This command is still at work on a job: this run came from the events
    // that run meanwhile.
    if (running_)
        throw PrintingInProgress(printing_in_progress_detail);
    running_ = true;
    const auto ended = qScopeGuard([this] { running_ = false; });

    const PrintDialogs &dialogs = print_dialogs_seam.installed();
    const std::vector<PrinterEntry> printers = dialogs.printers ? dialogs.printers() : offered_printers();
    if (printers.empty())
        throw NoDefaultPrinter(no_printer_detail);

    PrintChoice choice{preselected(printers, last_.printer), last_.copies, {}};
    if (!(dialogs.confirm ? dialogs.confirm(printers, choice, window) : run_print_dialog(printers, choice, window)))
        return;
    // The copy count of the printer's settings stays unless the dialog asks
    // for more than one copy.
    if (choice.copies == 1)
        choice.copies = last_.copies;
    last_ = {choice.printer, choice.copies, {}};

    const PaperSetup paper = choice.file.isEmpty() ? printer_paper(choice.printer) : PaperSetup{};
    const auto [pdf, title] = drawn_pdf(print, paper);
    if (!choice.file.isEmpty()) {
        write_pdf_file(choice.file, pdf);
        return;
    }
    hand_over(choice, title.toStdString(), pdf);
}

} // namespace parvolin
