#pragma once

#include "solver/failures.h"

#include <cups/http.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace parvolin {

// The print service (CUPS) as the print command meets it: whether it answers
// at all, the threads that ask it while the window runs, and the time it is
// allowed. A service may accept a connection and never answer; nothing here
// waits for it longer than the time it is given.

enum class PrintServiceState {
    Answered,    // it answered a request, whatever the answer
    Unreachable, // nothing there (refused, no such socket), or an answer that is no IPP
                 // answer
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
    // The same failure, with a detail of its own (UTF-8).
    explicit PrintServiceSilent(std::string detail);
};

// "host:port", or the socket path, of the server the client library is set
// to use on this thread.
std::string print_server_name();

// The client library waits this long at a time before it asks whether to go
// on waiting; short, since it may wait more than once per request.
inline constexpr double print_service_wait_step_seconds = 0.1;

// Bounds every wait of the client library on `http` by `deadline`, which
// must outlive the connection.
void bound_print_service_waits(http_t *http, const std::chrono::steady_clock::time_point &deadline);

// Runs `work` on a thread of its own while this thread's event loop keeps
// running (the window repaints, the clock ticks, commands run). True when
// `work` ended within `bound`; false when it did not, or when the event loop
// was told to end meanwhile (the program is quitting): the thread then goes
// on alone and deletes itself when `work` ends, so `work` must hold what it
// touches itself.
bool run_while_event_loop_runs(std::function<void()> work, std::chrono::milliseconds bound);

// The same for work with a result: nothing when it did not end in time.
template <typename Result>
std::optional<Result> result_while_event_loop_runs(std::function<Result()> work, std::chrono::milliseconds bound)
{
    auto result = std::make_shared<std::optional<Result>>();
    if (!run_while_event_loop_runs([result, work = std::move(work)] { *result = work(); }, bound))
        return std::nullopt;
    return std::move(*result);
}

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

// The time the print command allows the service for one question (the
// printers it offers, the chosen printer's paper); three seconds unless a test
// installs less. Returns the time installed before.
std::chrono::milliseconds set_print_service_timeout(std::chrono::milliseconds timeout);
std::chrono::milliseconds print_service_timeout();

// The time a print job is allowed from its hand-over to its end: two minutes,
// generous for a few pages through the service's filters on a busy machine,
// unless a test installs less. Returns the time installed before.
std::chrono::milliseconds set_print_job_timeout(std::chrono::milliseconds timeout);
std::chrono::milliseconds print_job_timeout();

} // namespace parvolin
