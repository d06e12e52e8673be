#include "ui/main/print_service.h"

#include "solver/ascii.h"
#include "ui/main/seam.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <cups/cups.h>

#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace parvolin {

namespace {

using Clock = std::chrono::steady_clock;

Seam<std::chrono::milliseconds> service_timeout_seam{std::chrono::milliseconds{3000}};
Seam<std::chrono::milliseconds> job_timeout_seam{std::chrono::milliseconds{120000}};

// The client library asks this whenever its wait for the service runs out:
// go on waiting while time is left.
int keep_waiting(http_t *, void *deadline)
{
    return Clock::now() < *static_cast<const Clock::time_point *>(deadline) ? 1 : 0;
}

std::string server_name(const char *server, int port)
{
    std::string name = server != nullptr ? server : "";
    if (!name.empty() && name.front() != '/')
        name += ":" + integer_text(port);
    return name;
}

} // namespace

PrintServiceSilent::PrintServiceSilent(const std::string &server, std::chrono::milliseconds waited)
    : PrintServiceSilent("Tiskový server " + server + " nepřijal dotaz nebo na něj do "
                         + integer_text((waited.count() + 999) / 1000)
                         + " s neodpověděl, a tak se nic netisklo. Zkontrolujte, že tisková služba (CUPS) běží, "
                           "případně nastavení tiskového serveru (proměnná CUPS_SERVER), a zkuste tisk znovu.")
{
}

PrintServiceSilent::PrintServiceSilent(std::string detail) : Failure("Tisková služba neodpovídá", std::move(detail)) {}

std::string print_server_name()
{
    return server_name(cupsServer(), ippPort());
}

void bound_print_service_waits(http_t *http, const Clock::time_point &deadline)
{
    httpSetTimeout(http, print_service_wait_step_seconds, &keep_waiting, const_cast<Clock::time_point *>(&deadline));
}

bool run_while_event_loop_runs(std::function<void()> work, std::chrono::milliseconds bound)
{
    QThread *thread = QThread::create(std::move(work));
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);

    QEventLoop loop;
    bool ended = false;
    QObject::connect(thread, &QThread::finished, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QTimer::singleShot(bound, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    return ended;
}

PrintServiceProbe probe_print_service(std::chrono::milliseconds timeout)
{
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + timeout;
    const char *server = cupsServer();
    const int port = ippPort();
    PrintServiceProbe probe{server_name(server, port), PrintServiceState::Unreachable};

    int cancel = 0;
    http_t *http = httpConnect2(server, port, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                static_cast<int>(timeout.count()), &cancel);
    if (http == nullptr) {
        // A refusal comes at once; a connection that never completes takes
        // the whole time.
        if (Clock::now() >= deadline)
            probe.state = PrintServiceState::Silent;
        return probe;
    }
    // Against a silent service the library still overruns the deadline by
    // about a second.
    bound_print_service_waits(http, deadline);
    ipp_t *answer = cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
    if (answer != nullptr) {
        probe.state = PrintServiceState::Answered;
        ippDelete(answer);
    } else if (Clock::now() >= deadline) {
        probe.state = PrintServiceState::Silent;
    }
    httpClose(http);
    return probe;
}

PrintServiceProbe probe_print_service_while_running(std::chrono::milliseconds timeout)
{
    // The server's name is read on the probe's own thread as well: the
    // client library keeps its settings per thread.
    struct Shared {
        std::mutex mutex;
        PrintServiceProbe probe;
    };
    auto shared = std::make_shared<Shared>();
    const bool ended = run_while_event_loop_runs(
        [shared, timeout] {
            {
                const std::lock_guard lock(shared->mutex);
                shared->probe.server = print_server_name();
            }
            const PrintServiceProbe probe = probe_print_service(timeout);
            const std::lock_guard lock(shared->mutex);
            shared->probe = probe;
        },
        timeout + std::chrono::seconds(1));

    const std::lock_guard lock(shared->mutex);
    if (!ended)
        return {shared->probe.server, PrintServiceState::Silent};
    return shared->probe;
}

std::chrono::milliseconds set_print_service_timeout(std::chrono::milliseconds timeout)
{
    return service_timeout_seam.set(timeout);
}

std::chrono::milliseconds print_service_timeout()
{
    return service_timeout_seam.installed();
}

std::chrono::milliseconds set_print_job_timeout(std::chrono::milliseconds timeout)
{
    return job_timeout_seam.set(timeout);
}

std::chrono::milliseconds print_job_timeout()
{
    return job_timeout_seam.installed();
}

} // namespace parvolin
