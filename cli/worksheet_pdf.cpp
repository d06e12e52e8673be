// The PDF module: Qt's PDF writer on the offscreen platform, loaded by
// parvolin-cli only for `worksheet --format pdf`. The pages are drawn as the
// window draws them (ui/main/worksheet_pages.cpp, built into this module).

#include "cli/worksheet_pdf.h"

#include "ui/main/worksheet_pages.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <memory>

extern "C" __attribute__((visibility("default"))) int
parvolin_html_to_pdf(const char *html, unsigned long html_size, const char *title,
                     void (*sink)(void *context, const char *data, unsigned long size), void *context)
{
    std::unique_ptr<QGuiApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        // Qt's own notes (a missing runtime folder) are not the program's
        // words; the command line shows only its messages.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        // Offscreen whatever the environment names: a display's platform
        // would abort without its display, and "minimal" has no fonts.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "parvolin-cli";
        static char *argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    if (QFontDatabase::families().isEmpty())
        return 2;
    const QByteArray bytes = parvolin::html_pdf(QString::fromUtf8(html, static_cast<qsizetype>(html_size)),
                                                QString::fromUtf8(title));
    if (bytes.isEmpty())
        return 1;
    // A font Qt has no file of (none installed, a platform without fonts) is
    // drawn as outlines of boxes: a sheet nobody can read, or search.
    if (!bytes.contains("/FontFile"))
        return 2;
    sink(context, bytes.constData(), static_cast<unsigned long>(bytes.size()));
    return 0;
}
