#pragma once

#include "solver/failures.h"

#include <chrono>
#include <string>

namespace parvolin {

// The print service (CUPS) asked once, before anything of the print command
// waits for it: Qt's printer list, its printer object and its dialog all ask
// the service on the user-interface thread and wait up to minutes for a
// service that accepts a connection and never answers.

enum class PrintServiceState {
    Answered,    // it answered a request, whatever the answer
    Unreachable, // nothing there (refused, no such socket), or an answer that is no IPP
                 // answer: Qt's printing takes it from there without waiting
    Silent,      // no connection or no answer within the time allowed
};

struct PrintServiceProbe {
    std::string server; // as the user's CUPS settings name it: a socket path or host:port
    PrintServiceState state = PrintServiceState::Unreachable;
};

// The service did not answer in time; `server` names it in the detail.
class PrintServiceSilent : public Failure {
public:
    PrintServiceSilent(const std::string &server, std::chrono::milliseconds waited);
};

// Asks the service the CUPS client settings name (CUPS_SERVER, client.conf,
// or the local scheduler) for its default printer, allowing `timeout` for
// connecting and answering together. Blocks its thread for about that long
// at most (the client library may add a second of its own); safe on any thread (the client library keeps its settings per
// thread, read afresh on a new one).
PrintServiceProbe probe_print_service(std::chrono::milliseconds timeout);

// probe_print_service on a thread of its own while this thread's event loop
// keeps running (the window repaints, the clock ticks, commands run). Gives
// Silent when the probe has not ended a second after `timeout`, or when the
// event loop is told to end meanwhile (the program is quitting).
PrintServiceProbe probe_print_service_while_running(std::chrono::milliseconds timeout);

// The time the print command allows the service; three seconds unless a test
// installs less. Returns the time installed before.
std::chrono::milliseconds set_print_service_timeout(std::chrono::milliseconds timeout);
std::chrono::milliseconds print_service_timeout();

} // namespace parvolin
