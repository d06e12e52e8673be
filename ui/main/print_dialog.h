#pragma once

#include "ui/main/print_queue.h"

#include <QString>

#include <string>
#include <vector>

class QWidget;

namespace parvolin {

// What the print dialog hands to the print command.
struct PrintChoice {
    std::string printer; // a queue's name
    int copies = 1;
    // A PDF file that takes the job in place of a print queue. Only tests set
    // it; the dialog offers no printing to a file.
    QString file;
};

// The program's own print dialog: the printers the print service offers
// (asked beforehand, on a thread of its own, so that the dialog never waits
// for the service) and the number of copies; all pages, always. Opens on
// `choice` and puts the user's choices into it; true when the user confirmed.
// Modal for the whole application.
bool run_print_dialog(const std::vector<PrinterEntry> &printers, PrintChoice &choice, QWidget *parent);

} // namespace parvolin
