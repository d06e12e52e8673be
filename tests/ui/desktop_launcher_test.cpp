// The help page handed to the desktop's launcher for real: a stand-in
// xdg-open first on PATH records what it is given and ends as the row says.
// A launcher that opens nothing is reported, not left to a line on stderr.

#include "ui/aux/help_pages.h"
#include "ui/aux/shell_links.h"

#include "tests/test_rows.h"
#include "tests/ui/scoped_variable.h"
#include "tests/ui/test_files.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace parvolin {
namespace {

struct LauncherCase {
    const char *name;
    int exit_code;    // of the stand-in; -1: there is no xdg-open at all
    const char *detail; // part of the message's detail; nullptr: no message
};

class DesktopLauncher : public WindowTest, public ::testing::WithParamInterface<LauncherCase> {};

TEST_P(DesktopLauncher, ReportsAHelpPageNothingOpened)
{
    const LauncherCase &row = GetParam();
    const QString bin = path("bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    const QString arguments = path("arguments");
    if (row.exit_code >= 0) {
        const QString script = bin + QStringLiteral("/xdg-open");
        write_file(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + arguments.toStdString() + "'\nexit "
                               + std::to_string(row.exit_code) + "\n");
        ASSERT_TRUE(QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    std::vector<std::pair<QString, QString>> shown;
    const ReplacedSeam<FailureDisplay> display(
        set_failure_display, [&](const QString &text, const QString &detail) { shown.emplace_back(text, detail); });
    const ScopedVariable path_variable("PATH", QFile::encodeName(bin));
    const ScopedVariable browser("BROWSER", "");
    const ScopedVariable default_browser("DEFAULT_BROWSER", "");
    open();

    find<QAction>("aaa1")->trigger();
    const QString page = resolve_help_page(QDir::currentPath(), shipped_help_folders());
    // The launcher's verdict comes from the event loop; a launcher that
    // succeeds is given a moment more to be reported wrongly.
    QDeadlineTimer deadline(5000);
    while (shown.empty() && !deadline.hasExpired() && !(row.detail == nullptr && QFileInfo::exists(arguments)))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (QDeadlineTimer more(300); !more.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    if (row.exit_code >= 0) {
        // One argument, the page's file address.
        EXPECT_EQ(file_contents(arguments).toStdString(), QUrl::fromLocalFile(page).toEncoded().toStdString() + "\n");
    }
    if (row.detail == nullptr) {
        EXPECT_TRUE(shown.empty()) << shown.front().first.toStdString();
        return;
    }
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown[0].first, QStringLiteral("Nepodařilo se otevřít %1.").arg(page));
    EXPECT_TRUE(shown[0].second.contains(QString::fromUtf8(row.detail))) << shown[0].second.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Links, DesktopLauncher,
    ::testing::Values(LauncherCase{"opened", 0, nullptr},
                      LauncherCase{"no_application_for_it", 4, "není nastavena žádná aplikace"},
                      LauncherCase{"tool_missing", 3, "Chybí program"},
                      LauncherCase{"no_launcher_no_browser", -1, "xdg-open"}),
    row_name);

} // namespace
} // namespace parvolin
