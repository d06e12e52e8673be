#pragma once

#include "solver/failures.h"

#include <QRect>

#include <functional>
#include <memory>
#include <string>
#include <utility>

class QPaintDevice;
class QPrinter;
class QTextDocument;
class QWidget;

namespace parvolin {

using PrintingInProgress = FixedFailure<"Printing in progress">;
using NoDefaultPrinter = FixedFailure<"There is no default printer currently selected">;
// The detail of NoDefaultPrinter, wherever printing starts.
inline constexpr char no_printer_detail[] = "V systému není nastavena žádná tiskárna.";

// The printer would not start the job (an output file that cannot be
// written, a queue that refuses it).
using PrintStartError = FixedFailure<"Cannot start the print job">;

// The printer gave up during the job (a page it would not start, output it
// could not finish): what was printed so far is not the whole document.
using PrintFailedError = FixedFailure<"The print job failed">;

// The desktop side of the print command. Tests install their own, so that no
// modal window opens; an empty member stands for the real one.
struct PrintDialogs {
    // Whether the system has any printer at all.
    std::function<bool()> printer_installed;
    // The print dialog on `printer`: true when the user confirmed; the
    // printer then holds the choices.
    std::function<bool(QPrinter &printer, QWidget *parent)> confirm;
};

// Installs `dialogs` and returns those installed before.
PrintDialogs set_print_dialogs(PrintDialogs dialogs);

// The page rectangle in twips (1440 to the inch): the device's whole
// printable area, from 0,0, each side truncated to whole twips.
QRect page_rectangle_twips(const QPaintDevice &device);

// Prints `document` on `printer` as one job named "Řešení úlohy": its
// paragraphs wrapped at the width of the printable area, page after page,
// each page going on exactly where the last one stopped. Pending events run
// after every page, as the spooler takes it. Throws PrintingInProgress when
// the printer is already printing a job, PrintStartError when it cannot
// begin one or its print queue refuses the finished job (a queue that rejects
// jobs, a print service gone since the dialog), PrintFailedError when it
// fails before the last page is done.
void print_document(const QTextDocument &document, QPrinter &printer);

// After a job drawn on `printer` by other means: throws PrintFailedError when
// the printer gave up, PrintStartError when its print queue refused the job.
void check_print_job(const QPrinter &printer);

// "Tisk". The printer and its settings chosen in the dialog stay current for
// as long as the command lives (the run of the program). The print service
// is asked first, while the event loop runs (print_service.h); one that does
// not answer in time fails the command with PrintServiceSilent.
class PrintCommand {
public:
    PrintCommand();
    ~PrintCommand();

    void run(QWidget *window, const QTextDocument &document);
    // The same, with `print` drawing the job on the printer the dialog set up
    // (and throwing the failures print_document throws).
    void run(QWidget *window, const std::function<void(QPrinter &printer)> &print);

private:
    std::unique_ptr<QPrinter> printer_;
    bool probing_ = false; // waiting for the print service to answer
};

} // namespace parvolin
