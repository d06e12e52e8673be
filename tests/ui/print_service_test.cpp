// The print command against a print service that takes connections and
// never answers, and the probe that finds it out without the window
// waiting: the service here is a stub of the test's own on 127.0.0.1,
// which lets everything go after a few seconds, so that even a window that
// did wait would not wait long.

#include "ui/main/print_document.h"
#include "ui/main/print_service.h"

#include "tests/test_rows.h"
#include "tests/ui/scoped_variable.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace parvolin {
namespace {

using namespace std::chrono_literals;

// A listening socket on 127.0.0.1 with a thread that takes every connection.
// Silent: it reads and never writes. Answering: it replies to the first
// request with an IPP answer "no default printer". Everything is closed
// after `hold`, or when the stub goes.
class PrintServiceStub {
public:
    enum Mode { Silent, Answering };

    PrintServiceStub(Mode mode, std::chrono::milliseconds hold) : mode_(mode)
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(listener_, 16) != 0
            || ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            ADD_FAILURE() << "no listening socket on 127.0.0.1";
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this, until = std::chrono::steady_clock::now() + hold] { serve(until); });
    }
    ~PrintServiceStub()
    {
        stop_ = true;
        thread_.join();
    }

    std::string server() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    void serve(std::chrono::steady_clock::time_point until)
    {
        std::vector<int> peers;
        while (!stop_ && std::chrono::steady_clock::now() < until) {
            std::vector<pollfd> watched{{listener_, POLLIN, 0}};
            for (int peer : peers)
                watched.push_back({peer, POLLIN, 0});
            if (::poll(watched.data(), watched.size(), 20) <= 0)
                continue;
            if (watched[0].revents & POLLIN)
                peers.push_back(::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC));
            for (std::size_t i = 1; i < watched.size(); ++i) {
                if (!(watched[i].revents & POLLIN))
                    continue;
                char buffer[4096];
                const ssize_t got = ::read(watched[i].fd, buffer, sizeof buffer);
                if (got > 0 && mode_ == Answering && !answered_) {
                    answered_ = true;
                    // IPP 2.0, status client-error-not-found, request 1, no attributes.
                    static const char answer[] = "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\n"
                                                 "Content-Length: 9\r\n\r\n\x02\x00\x04\x06\x00\x00\x00\x01\x03";
                    (void)!::write(watched[i].fd, answer, sizeof answer - 1);
                }
            }
        }
        for (int peer : peers)
            ::close(peer);
        ::close(listener_);
    }

    Mode mode_;
    int listener_ = -1;
    int port_ = 0;
    bool answered_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A port nothing listens on: taken, then let go.
std::string closed_server()
{
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr *>(&address), length);
    ::getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(probe);
    return "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

struct ProbeCase {
    const char *name;
    int service; // -1: nothing there; otherwise a PrintServiceStub::Mode
    PrintServiceState expected;
};

class ServiceProbe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ServiceProbe, TellsAnswerFromSilenceWithinItsTime)
{
    const ProbeCase &row = GetParam();
    std::unique_ptr<PrintServiceStub> stub;
    if (row.service >= 0)
        stub = std::make_unique<PrintServiceStub>(static_cast<PrintServiceStub::Mode>(row.service), 5s);
    const std::string server = stub ? stub->server() : closed_server();
    const ScopedVariable variable("CUPS_SERVER", QByteArray::fromStdString(server));

    QElapsedTimer clock;
    clock.start();
    // The probe gives up a second after its time at the latest.
    const PrintServiceProbe probe = probe_print_service_while_running(500ms);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(probe.state, row.expected);
    EXPECT_EQ(probe.server, server);
}

INSTANTIATE_TEST_SUITE_P(
    PrintService, ServiceProbe,
    ::testing::Values(ProbeCase{"silent", PrintServiceStub::Silent, PrintServiceState::Silent},
                      ProbeCase{"answering", PrintServiceStub::Answering, PrintServiceState::Answered},
                      ProbeCase{"nothing_there", -1, PrintServiceState::Unreachable}),
    row_name);

class SilentPrintService : public WindowTest {};

// Ctrl+I against the silent service: the window keeps running its events
// all the while, and after the probe's time the pupil reads why nothing
// printed; the print dialog never opens.
TEST_F(SilentPrintService, IsReportedWhileTheWindowRuns)
{
    const PrintServiceStub stub(PrintServiceStub::Silent, 6s);
    const ScopedVariable variable("CUPS_SERVER", QByteArray::fromStdString(stub.server()));
    const auto previous_timeout = set_print_service_timeout(800ms);
    bool dialog_opened = false;
    const ReplacedSeam<PrintDialogs> dialogs(set_print_dialogs,
                                             {{}, [&](const std::vector<PrinterEntry> &, PrintChoice &, QWidget *) {
                                                  dialog_opened = true;
                                                  return false;
                                              }});
    std::vector<std::pair<QString, QString>> shown;
    const ReplacedSeam<FailureDisplay> display(
        set_failure_display, [&](const QString &text, const QString &detail) { shown.emplace_back(text, detail); });
    open();
    solve();

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QElapsedTimer clock;
    clock.start();
    find<QAction>("tisk")->trigger();
    const qint64 waited = clock.elapsed();
    const int ticks_while_printing = ticks;
    set_print_service_timeout(previous_timeout);

    EXPECT_LT(waited, 3000);
    EXPECT_GE(ticks_while_printing, 10) << "the event loop stood still for " << waited << " ms";
    EXPECT_FALSE(dialog_opened);
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown[0].first.toStdString(), "Tisková služba neodpovídá.");
    EXPECT_TRUE(shown[0].second.contains(QString::fromStdString(stub.server()))) << shown[0].second.toStdString();
}

} // namespace
} // namespace parvolin
