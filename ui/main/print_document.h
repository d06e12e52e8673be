#pragma once

#include "solver/failures.h"
#include "ui/main/print_dialog.h"
#include "ui/main/print_queue.h"

#include <QRect>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QPaintDevice;
class QPagedPaintDevice;
class QPdfWriter;
class QTextDocument;
class QWidget;

namespace parvolin {

using PrintingInProgress = FixedFailure<"Printing in progress">;
// The detail of PrintingInProgress, wherever printing starts.
inline constexpr char printing_in_progress_detail[] = "Tiskárna ještě tiskne předchozí úlohu; zkuste tisk za chvíli znovu.";
using NoDefaultPrinter = FixedFailure<"There is no default printer currently selected">;
// The detail of NoDefaultPrinter, wherever printing starts.
inline constexpr char no_printer_detail[] = "V systému není nastavena žádná tiskárna.";

// The job could not begin (a device that will not start, a queue that
// refuses the job, no print service there).
using PrintStartError = FixedFailure<"Cannot start the print job">;

// The printer gave up during the job (a page it would not start, output it
// could not finish): what was printed so far is not the whole document.
using PrintFailedError = FixedFailure<"The print job failed">;

// The desktop side of the print command. Tests install their own, so that no
// modal window opens and no print service is asked; an empty member stands
// for the real one.
struct PrintDialogs {
    // The printers the print service offers; none when the system has none.
    // The real one asks the service on a thread of its own.
    std::function<std::vector<PrinterEntry>()> printers;
    // The print dialog on `choice`: true when the user confirmed; `choice`
    // then holds the choices.
    std::function<bool(const std::vector<PrinterEntry> &printers, PrintChoice &choice, QWidget *parent)> confirm;
};

// Installs `dialogs` and returns those installed before.
PrintDialogs set_print_dialogs(PrintDialogs dialogs);

// The page rectangle in twips (1440 to the inch): the device's whole
// printable area, from 0,0, each side truncated to whole twips.
QRect page_rectangle_twips(const QPaintDevice &device);

// Prints `document` on `device` as one job named "Řešení úlohy": its
// paragraphs wrapped at the width of the printable area, page after page,
// each page going on exactly where the last one stopped. A printer gets the
// margins it cannot print on; any other device keeps the page layout it has.
// Pending events run after every page. Throws PrintingInProgress when the
// device is already being drawn on, PrintStartError when it cannot begin,
// PrintFailedError when it fails before the last page is done.
void print_document(const QTextDocument &document, QPagedPaintDevice &device);

// The print command has no dialog of its own to finish: a job that has not
// ended within print_job_timeout() (print_service.h), while the service
// still answers, is reported so.
class PrintJobUnfinished : public Failure {
public:
    explicit PrintJobUnfinished(std::string detail);
};

// "Tisk" and the worksheet's "Tisk…". Nothing of it waits for the print
// service on the window's thread: the printers are asked for, the chosen
// printer's paper is asked for, and the job is handed over and followed to
// its end, each on a thread of its own, while the window goes on running
// its events; a print command run meanwhile fails with PrintingInProgress.
// The pages are drawn on the window's thread into a PDF in memory, which is
// what the service gets. A service that does not answer within
// print_service_timeout() fails the command with PrintServiceSilent, a job
// not handed over within print_job_timeout() likewise, and a job handed over
// that has not ended by then with PrintJobUnfinished.
//
// The dialog is the program's own (print_dialog.h): Qt's print dialog asks
// the service for the printer's description on the window's thread and
// waits for minutes on a service that does not answer.
class PrintCommand {
public:
    PrintCommand();
    ~PrintCommand();

    void run(QWidget *window, const QTextDocument &document);
    // The same, with `print` drawing the job on the PDF writer the command
    // set up for the chosen printer's paper (and throwing the failures
    // print_document throws). The job takes the writer's title as its name.
    void run(QWidget *window, const std::function<void(QPdfWriter &writer)> &print);

private:
    // What the dialog last chose, for the next run: the printer, and the
    // copy count of the printer's settings (PrintChoice::copies).
    PrintChoice last_;
    bool running_ = false;
};

} // namespace parvolin
