#include "cli/worksheet_pdf.h"

#include "solver/practice_texts.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <memory>

namespace parvolin::cli {

namespace {

QString escaped(const std::string &text) { return QString::fromStdString(text).toHtmlEscaped(); }

QString paragraph(const std::string &text, const char *style)
{
    return QStringLiteral("<p style=\"%1\">%2</p>\n").arg(QLatin1String(style), escaped(text));
}

// The sheet as the HTML subset QTextDocument lays out; the room to work is
// the space below each problem.
QString worksheet_html(const Worksheet &sheet)
{
    using namespace worksheet_texts;
    QString html = QStringLiteral("<html><body style=\"font-family: 'DejaVu Sans'; font-size: 11pt\">\n");
    html += paragraph(sheet.title, "font-size: 16pt; font-weight: bold; text-align: center");
    html += paragraph(std::string(number) + std::to_string(sheet.number), "text-align: center");
    html += paragraph(std::string(name) + "   " + std::string(form) + "   " + std::string(date) + sheet.date,
                      "margin-top: 12px; white-space: pre");
    html += paragraph(std::string(task), "margin-top: 12px; margin-bottom: 12px");
    for (std::size_t i = 0; i < sheet.entries.size(); ++i)
        html += paragraph(std::to_string(i + 1) + ")  " + sheet.entries[i].statement,
                          "font-size: 13pt; margin-bottom: 110px; white-space: pre");
    if (sheet.key) {
        html += QStringLiteral("<p style=\"page-break-before: always; font-size: 14pt; font-weight: bold; "
                               "text-align: center\">%1</p>\n")
                    .arg(escaped(std::string(key_title) + std::to_string(sheet.number)));
        for (std::size_t i = 0; i < sheet.entries.size(); ++i) {
            const auto &entry = sheet.entries[i];
            html += paragraph(std::to_string(i + 1) + ")  " + entry.statement + ":   " + entry.answer,
                              entry.steps.empty() ? "white-space: pre" : "white-space: pre; font-weight: bold");
            for (const auto &line : entry.steps)
                // monospaced, so that the sign table's columns line up; long lines wrap
                html += paragraph("    " + line,
                                  "font-family: 'DejaVu Sans Mono'; font-size: 8pt; margin: 0; white-space: pre-wrap");
        }
    }
    html += QStringLiteral("</body></html>");
    return html;
}

} // namespace

std::string worksheet_pdf(const Worksheet &sheet)
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
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(QString::fromStdString(sheet.title));
        writer.setCreator(QStringLiteral("Parvolin"));
        QTextDocument document;
        document.setHtml(worksheet_html(sheet));
        document.print(&writer);
    }
    return bytes.toStdString();
}

} // namespace parvolin::cli
