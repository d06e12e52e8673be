#pragma once

// The print service's client side for the print command: the printers it
// offers, the chosen printer's paper, and one job handed over as PDF and
// followed to its end. Every function blocks its thread for at most about
// the time it is given (the client library may add a second of its own),
// talks only to the server the user's CUPS settings name (CUPS_SERVER,
// client.conf, or the local scheduler), and is safe on any thread: the print
// command runs them on threads of their own, never on the window's.

#include "ui/main/print_service.h"

#include <chrono>
#include <string>
#include <vector>

namespace parvolin {

struct PrinterEntry {
    std::string name;        // the queue's name
    std::string description; // its description for people (printer-info); may be empty
    bool is_default = false;
};

struct PrinterList {
    std::string server;
    PrintServiceState state = PrintServiceState::Unreachable;
    std::vector<PrinterEntry> printers; // in the service's order
};

// The queues the service offers, and which of them is the user's default.
PrinterList list_printers(std::chrono::milliseconds timeout);

// The printer's paper in millimetres: its size and the margins it cannot
// print on.
struct PaperSetup {
    double width = 210;
    double height = 297;
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

struct PrinterPaper {
    std::string server;
    PrintServiceState state = PrintServiceState::Unreachable;
    PaperSetup paper; // A4 without margins unless the service names the printer's default paper
};

// The default paper of the queue `printer`.
PrinterPaper describe_printer(const std::string &printer, std::chrono::milliseconds timeout);

enum class JobEnd {
    Completed,       // the service printed it
    Refused,         // the service would not take it (a queue that rejects jobs, an unknown queue)
    Unreachable,     // no service there
    HandOverStalled, // the service stopped answering before it had the whole job
    Stopped,         // the service took it and then cancelled or aborted it
    StillQueued,     // the service has it, but it had not ended within the time given
};

struct JobReport {
    std::string server;
    JobEnd end = JobEnd::Unreachable;
    int job_id = 0;     // 0 until the service gave the job a number
    std::string reason; // the service's own words, when it gave any
};

// Hands `pdf` to the queue `printer` as one job named `title`, of `copies`
// copies (the queue's own setting when `copies` is 1), and waits for the
// job's end, all within `timeout`.
JobReport send_print_job(const std::string &printer, const std::string &title, int copies, const std::string &pdf,
                         std::chrono::milliseconds timeout);

} // namespace parvolin
