// Printing through a print service that passes the first requests and then
// never answers: a proxy of the test's own (data/stalling_ipp_proxy.py) in
// front of a real scheduler, which stalls from the first request of one kind
// on. The window's event loop must go on running all the while, a second
// print command meanwhile must say that printing is in progress, and after
// the time allowed the pupil reads in Czech why nothing printed.
//
// Needs the scheduler and a queue on it: tools/cups-print-test.sh sets them
// up and names them in PARVOLIN_CUPS_UPSTREAM (host:port) and
// PARVOLIN_CUPS_QUEUE; without them the test is skipped.

#include "ui/main/print_document.h"
#include "ui/main/print_service.h"
#include "ui/main/worksheet_dialog.h"

#include "tests/test_rows.h"
#include "tests/ui/scoped_variable.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace parvolin {
namespace {

using namespace std::chrono_literals;

struct StallRow {
    const char *name;
    const char *operation; // the IPP operation, in hex, from which on the service is silent
    bool worksheet;        // the worksheet's "Tisk…" rather than the window's Ctrl+I
    const char *message;   // what the pupil reads after the time allowed
};

class PrintServiceStall : public WindowTest, public ::testing::WithParamInterface<StallRow> {};

TEST_P(PrintServiceStall, WindowRunsOnAndSaysWhyNothingPrinted)
{
    const StallRow &row = GetParam();
    const char *upstream = std::getenv("PARVOLIN_CUPS_UPSTREAM");
    const char *queue = std::getenv("PARVOLIN_CUPS_QUEUE");
    if (upstream == nullptr || *upstream == '\0' || queue == nullptr || *queue == '\0')
        GTEST_SKIP() << "PARVOLIN_CUPS_UPSTREAM and PARVOLIN_CUPS_QUEUE name no scheduler and queue; "
                        "tools/cups-print-test.sh sets them up and runs this";

    QProcess proxy;
    proxy.start(QStringLiteral("python3"), {QStringLiteral(PARVOLIN_UI_TEST_DATA "/stalling_ipp_proxy.py"),
                                            QString::fromLocal8Bit(upstream), QString::fromLatin1(row.operation),
                                            QStringLiteral("60")});
    ASSERT_TRUE(proxy.waitForReadyRead(10000)) << "the proxy did not start";
    const QByteArray server = proxy.readLine().trimmed();
    const ScopedVariable variable("CUPS_SERVER", server);
    const auto service_timeout = set_print_service_timeout(1500ms);
    const auto job_timeout = set_print_job_timeout(3000ms);

    bool dialog_opened = false;
    const ReplacedSeam<PrintDialogs> dialogs(set_print_dialogs,
                                             {{}, [&](const std::vector<PrinterEntry> &, PrintChoice &choice, QWidget *) {
                                                  dialog_opened = true;
                                                  choice.printer = queue;
                                                  return true;
                                              }});
    open();
    solve();
    PrintCommand worksheet_command;
    std::unique_ptr<WorksheetDialog> sheet;
    std::function<void()> print = [this] { find<QAction>("tisk")->trigger(); };
    if (row.worksheet) {
        sheet = std::make_unique<WorksheetDialog>(',', worksheet_command, window_.get());
        sheet->show();
        print = [&sheet] { child<QPushButton>(sheet.get(), "print")->click(); };
    }

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    // The second command, while the first one waits for the service.
    QTimer::singleShot(1000, print);
    QElapsedTimer clock;
    clock.start();
    print();
    const qint64 waited = clock.elapsed();
    const int ticks_while_printing = ticks;
    set_print_job_timeout(job_timeout);
    set_print_service_timeout(service_timeout);
    proxy.closeWriteChannel();
    proxy.waitForFinished(5000);

    EXPECT_TRUE(dialog_opened);
    EXPECT_LT(waited, 8000);
    // 20 ms ticks over at least the 1.5 s the service is allowed.
    EXPECT_GE(ticks_while_printing, 30) << "the event loop stood still for " << waited << " ms";
    ASSERT_EQ(failures_.size(), 2U);
    EXPECT_EQ(failures_[0].toStdString(), row.worksheet ? "Pracovní list se nepodařilo vytisknout." : "Printing in progress.");
    EXPECT_EQ(details_[0].toStdString(), printing_in_progress_detail);
    EXPECT_EQ(failures_[1].toStdString(), row.message) << details_[1].toStdString();
    EXPECT_TRUE(details_[1].contains(QString::fromLatin1(server))) << details_[1].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cups, PrintServiceStall,
    ::testing::Values(StallRow{"at_the_job_data", "0002", false, "Tisková služba neodpovídá."},
                      StallRow{"at_the_printer_description", "000b", false, "Tisková služba neodpovídá."},
                      StallRow{"worksheet_at_the_job_data", "0002", true, "Tisková služba neodpovídá."}),
    row_name);

} // namespace
} // namespace parvolin
