// Printing the result document into a PDF file, read back with poppler's
// pdftotext. The print dialog is replaced, so nothing modal opens. One test
// prints through a real CUPS queue when PARVOLIN_CUPS_QUEUE names one
// (tools/cups-print-test.sh sets that up).

#include "ui/main/error_display.h"
#include "ui/main/main_window.h"
#include "ui/main/print_document.h"
#include "ui/main/print_service.h"

#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace parvolin {
namespace {

// Centred paragraphs in Arial 14 point, as the window holds its document.
std::unique_ptr<QTextDocument> make_document(const QStringList &lines)
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("Arial"), 14));
    QTextCursor cursor(document.get());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(centred);
        cursor.insertText(lines[i]);
    }
    return document;
}

void print_to_pdf(QPrinter &printer, const QString &file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

// The output of a poppler tool (package poppler-utils).
QString poppler(const char *tool, const QStringList &arguments)
{
    QProcess process;
    process.start(QString::fromLatin1(tool), arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << tool << " did not run (package poppler-utils)";
    EXPECT_EQ(process.exitCode(), 0);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of a PDF, laid out as printed: lines ending in a hyphen stay
// apart (plain pdftotext joins them to the next line).
QString pdf_text(const QString &file)
{
    return poppler("pdftotext", {QStringLiteral("-layout"), file, QStringLiteral("-")});
}

// The words in order, one blank between each two.
std::string words(const QString &text)
{
    return text.simplified().toStdString();
}

// `count` paragraphs of `words` numbered words each; long ones wrap into
// many lines, so that page breaks fall inside them.
QStringList numbered_lines(int count, int words = 4)
{
    QStringList lines;
    for (int p = 1; p <= count; ++p) {
        QStringList line{QStringLiteral("Řádek")};
        for (int w = 1; w < words; ++w)
            line.append(QStringLiteral("ž%1.%2").arg(p).arg(w));
        lines.append(line.join(QLatin1Char(' ')));
    }
    return lines;
}

struct PagesRow {
    const char *name;
    QStringList lines;
    int pages;
};

class PrintPages : public ::testing::TestWithParam<PagesRow> {};

TEST_P(PrintPages, EveryWordOnceInOrder)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("tisk.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    print_to_pdf(printer, file);

    print_document(*make_document(GetParam().lines), printer);

    const QString text = pdf_text(file);
    EXPECT_EQ(text.count(QLatin1Char('\f')), GetParam().pages);
    EXPECT_EQ(words(text), words(GetParam().lines.join(QLatin1Char(' '))));
    EXPECT_TRUE(poppler("pdfinfo", {file}).contains(QRegularExpression(QString::fromUtf8("Title: +Řešení úlohy\n"))));
}

INSTANTIATE_TEST_SUITE_P(Documents, PrintPages,
                         ::testing::Values(PagesRow{"numbered_lines", numbered_lines(150), 3},
                                           PagesRow{"long_wrapped_paragraphs", numbered_lines(12, 150), 3},
                                           PagesRow{"empty_document_is_one_empty_page", {}, 1}),
                         row_name);

// A printer that will not start a second page: the job fails with a
// message, it does not end quietly after the first page.
TEST(PrintFailure, APageThePrinterRefusesFailsTheJob)
{
    class RefusingPrinter : public QPrinter {
    public:
        bool newPage() override { return false; }
    };
    QTemporaryDir folder;
    RefusingPrinter printer;
    print_to_pdf(printer, folder.filePath(QStringLiteral("tisk.pdf")));
    EXPECT_THROW(print_document(*make_document(numbered_lines(150)), printer), PrintFailedError);
    EXPECT_FALSE(printer.paintingActive());
}

// The print dialog records the copy count it opens with, prints into a PDF
// file in the test's folder, and lets on_dialog_ act on the printer.
class PrintCommandTest : public WindowTest {
protected:
    QString pdf_file() const { return path("tisk.pdf"); }

    bool printer_installed_ = true;
    std::vector<int> entry_copies_;
    std::function<void(PrintChoice &)> on_dialog_;
    ReplacedSeam<PrintDialogs> dialogs_{set_print_dialogs,
                                        {[this] {
                                             return printer_installed_ ? std::vector<PrinterEntry>{{"pdf", {}, true}}
                                                                       : std::vector<PrinterEntry>{};
                                         },
                                         [this](const std::vector<PrinterEntry> &, PrintChoice &choice, QWidget *) {
                                             entry_copies_.push_back(choice.copies);
                                             choice.file = pdf_file();
                                             if (on_dialog_)
                                                 on_dialog_(choice);
                                             return true;
                                         }}};
};

TEST_F(PrintCommandTest, NoPrinterFailsBeforeTheDialog)
{
    printer_installed_ = false;
    PrintCommand command;
    EXPECT_THROW(command.run(nullptr, *make_document({})), NoDefaultPrinter);
    EXPECT_TRUE(entry_copies_.empty());

    // Ctrl+I says it with the Czech detail the worksheet's "Tisk…" gives.
    open();
    find<QLineEdit>("kv_koef")->setText(QStringLiteral("1"));
    solve();
    find<QAction>("tisk")->trigger();
    EXPECT_EQ(failures_, std::vector<QString>{QStringLiteral("There is no default printer currently selected.")});
    EXPECT_EQ(details_, std::vector<QString>{QStringLiteral("V systému není nastavena žádná tiskárna.")});
}

// One copy in the dialog leaves the printer's count as it was; any other
// number replaces it. The printer lives from run to run.
TEST_F(PrintCommandTest, CopiesRule)
{
    const std::vector<int> chosen{3, 1, 2, 1};
    std::size_t run = 0;
    on_dialog_ = [&](PrintChoice &choice) { choice.copies = chosen[run]; };
    PrintCommand command;
    for (run = 0; run < chosen.size(); ++run)
        command.run(nullptr, *make_document({}));
    EXPECT_EQ(entry_copies_, (std::vector<int>{1, 3, 3, 2}));
}

TEST_F(PrintCommandTest, EventsBetweenPagesCannotStartASecondJobNorChangeThisOne)
{
    open(settings_path(), false);
    const auto solve_with_a = [&](const char *a) {
        find<QLineEdit>("kv_koef")->setText(QString::fromLatin1(a));
        solve();
    };
    solve_with_a("1");
    QStringList printed;
    for (const std::string &line : window_->document_lines())
        printed.append(QString::fromStdString(line));
    auto *print = find<QAction>("tisk");

    // Run while the job is still on its page: a second print command, and a
    // solve that replaces the window's document.
    on_dialog_ = [&](PrintChoice &) {
        QTimer::singleShot(0, print, &QAction::trigger);
        QTimer::singleShot(0, window_.get(), [&] { solve_with_a("2"); });
    };
    print->trigger();

    EXPECT_EQ(entry_copies_.size(), 1u);
    EXPECT_EQ(failures_, std::vector<QString>{QStringLiteral("Printing in progress.")});
    EXPECT_NE(window_->document_lines().at(3), printed.at(3).toStdString());
    EXPECT_EQ(words(pdf_text(pdf_file())), words(printed.join(QLatin1Char(' '))));
}

// The program's own print dialog, answered from the event loop as a user
// would: it opens on the choice it is given (or the first printer when that
// one is gone), and only a confirmation changes the choice.
struct DialogRow {
    const char *name;
    const char *opened_on;     // PrintChoice::printer on opening
    int shown;                 // the printer it shows, by place
    bool confirm;              // Tisknout rather than Zrušit
    const char *chosen;        // the printer picked in it
    const char *printer_after; // PrintChoice::printer when it closed
    int copies_after;
};

class PrintDialogChoice : public ::testing::TestWithParam<DialogRow> {};

TEST_P(PrintDialogChoice, OpensOnTheChoiceAndKeepsItUnlessConfirmed)
{
    const DialogRow &row = GetParam();
    const std::vector<PrinterEntry> printers{{"kabinet", "Tiskárna v kabinetu", false}, {"ucebna", {}, true}};
    PrintChoice choice{row.opened_on, 3, {}};
    int shown = -1;
    int copies_shown = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        answer.stop();
        auto *printer = child<QComboBox>(dialog, "printer");
        auto *copies = child<QSpinBox>(dialog, "copies");
        shown = printer->currentIndex();
        copies_shown = copies->value();
        printer->setCurrentIndex(printer->findData(QString::fromLatin1(row.chosen)));
        copies->setValue(5);
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        QTest::mouseClick(buttons->button(row.confirm ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    answer.start(20);

    EXPECT_EQ(run_print_dialog(printers, choice, nullptr), row.confirm);
    EXPECT_EQ(shown, row.shown);
    EXPECT_EQ(copies_shown, 3);
    EXPECT_EQ(choice.printer, row.printer_after);
    EXPECT_EQ(choice.copies, row.copies_after);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, PrintDialogChoice,
    ::testing::Values(DialogRow{"confirmed", "ucebna", 1, true, "kabinet", "kabinet", 5},
                      DialogRow{"cancelled", "ucebna", 1, false, "kabinet", "ucebna", 3},
                      DialogRow{"printer_gone", "sborovna", 0, true, "ucebna", "ucebna", 5}),
    row_name);

// Whether the print service offers the queue `name`.
bool offered(const std::vector<PrinterEntry> &printers, const char *name)
{
    return std::any_of(printers.begin(), printers.end(), [&](const PrinterEntry &entry) { return entry.name == name; });
}

TEST(CupsQueue, JobReachesTheQueue)
{
    const char *queue = std::getenv("PARVOLIN_CUPS_QUEUE");
    if (queue == nullptr || *queue == '\0')
        GTEST_SKIP() << "PARVOLIN_CUPS_QUEUE names no CUPS queue; tools/cups-print-test.sh sets one up and runs this";

    bool on_queue = false;
    const ReplacedSeam<PrintDialogs> dialogs(
        set_print_dialogs,
        PrintDialogs{{}, [&](const std::vector<PrinterEntry> &printers, PrintChoice &choice, QWidget *) {
                         choice.printer = queue;
                         on_queue = offered(printers, queue);
                         return on_queue;
                     }});
    PrintCommand command;
    try {
        command.run(nullptr, *make_document(numbered_lines(150)));
    } catch (const Failure &failure) {
        ADD_FAILURE() << failure.message() << ": " << failure.detail();
    }
    EXPECT_TRUE(on_queue) << queue << " is not a CUPS queue";
}

// The same queue told to reject jobs (cupsreject): the job is reported as
// not started, with the service's answer, never taken for printed.
TEST(CupsQueue, RefusedJobIsReported)
{
    const char *queue = std::getenv("PARVOLIN_CUPS_REFUSING_QUEUE");
    if (queue == nullptr || *queue == '\0')
        GTEST_SKIP() << "PARVOLIN_CUPS_REFUSING_QUEUE names no CUPS queue that rejects jobs; tools/cups-print-test.sh "
                        "sets one up and runs this";

    const ReplacedSeam<PrintDialogs> dialogs(
        set_print_dialogs,
        PrintDialogs{{}, [&](const std::vector<PrinterEntry> &printers, PrintChoice &choice, QWidget *) {
                         choice.printer = queue;
                         return offered(printers, queue);
                     }});
    PrintCommand command;
    try {
        command.run(nullptr, *make_document(numbered_lines(3)));
        ADD_FAILURE() << "a job the queue refused was taken for printed";
    } catch (const PrintStartError &error) {
        EXPECT_NE(error.detail().find(std::string("„") + queue + "“"), std::string::npos) << error.detail();
    }
}

// A queue that takes jobs but does not print them (cupsdisable): the job
// waits in it, and after the time allowed the pupil reads that it has not
// printed yet and where it is, not that it printed.
TEST(CupsQueue, JobThatDoesNotEndIsReported)
{
    const char *queue = std::getenv("PARVOLIN_CUPS_STOPPED_QUEUE");
    if (queue == nullptr || *queue == '\0')
        GTEST_SKIP() << "PARVOLIN_CUPS_STOPPED_QUEUE names no CUPS queue that holds its jobs; tools/cups-print-test.sh "
                        "sets one up and runs this";

    const ReplacedSeam<PrintDialogs> dialogs(
        set_print_dialogs,
        PrintDialogs{{}, [&](const std::vector<PrinterEntry> &printers, PrintChoice &choice, QWidget *) {
                         choice.printer = queue;
                         return offered(printers, queue);
                     }});
    const auto allowed = set_print_job_timeout(std::chrono::milliseconds(1500));
    PrintCommand command;
    try {
        command.run(nullptr, *make_document(numbered_lines(3)));
        ADD_FAILURE() << "a job that never printed was taken for printed";
    } catch (const PrintJobUnfinished &failure) {
        EXPECT_NE(failure.detail().find(std::string("„") + queue + "“"), std::string::npos) << failure.detail();
        EXPECT_NE(failure.detail().find(" 2 s "), std::string::npos) << failure.detail();
    }
    set_print_job_timeout(allowed);
}

// The print service stopped between the dialog and the job (the scheduler
// whose process PARVOLIN_CUPS_STOP_PID names is ended from the dialog): the
// job cannot be handed over, and that is reported.
TEST(CupsQueue, JobForAStoppedServiceIsReported)
{
    const char *queue = std::getenv("PARVOLIN_CUPS_QUEUE");
    const char *scheduler = std::getenv("PARVOLIN_CUPS_STOP_PID");
    if (queue == nullptr || *queue == '\0' || scheduler == nullptr || *scheduler == '\0')
        GTEST_SKIP() << "PARVOLIN_CUPS_QUEUE and PARVOLIN_CUPS_STOP_PID name no queue and scheduler to stop; "
                        "tools/cups-print-test.sh sets them up and runs this";

    bool stopped = false;
    const ReplacedSeam<PrintDialogs> dialogs(
        set_print_dialogs, PrintDialogs{{}, [&](const std::vector<PrinterEntry> &printers, PrintChoice &choice, QWidget *) {
                                            choice.printer = queue;
                                            ::kill(static_cast<pid_t>(std::atol(scheduler)), SIGTERM);
                                            for (int tries = 0; tries < 50 && !stopped; ++tries)
                                                stopped = probe_print_service_while_running(std::chrono::milliseconds(200)).state
                                                          == PrintServiceState::Unreachable;
                                            return offered(printers, queue);
                                        }});
    PrintCommand command;
    try {
        command.run(nullptr, *make_document(numbered_lines(3)));
        ADD_FAILURE() << "a job the stopped service never got was taken for printed";
    } catch (const PrintStartError &error) {
        EXPECT_NE(error.detail().find(std::string("„") + queue + "“"), std::string::npos) << error.detail();
    }
    EXPECT_TRUE(stopped) << "the scheduler did not stop";
}

} // namespace
} // namespace parvolin
