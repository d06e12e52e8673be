// The PDF module: Qt's PDF writer on the offscreen platform, loaded by
// parvolin-cli only for `worksheet --format pdf`.

#include "cli/worksheet_pdf.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

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
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "parvolin-cli";
        static char *argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly))
            return 1;
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(QString::fromUtf8(title));
        writer.setCreator(QStringLiteral("Parvolin"));
        QTextDocument document;
        document.setHtml(QString::fromUtf8(html, static_cast<qsizetype>(html_size)));
        document.print(&writer);
    }
    sink(context, bytes.constData(), static_cast<unsigned long>(bytes.size()));
    return 0;
}
