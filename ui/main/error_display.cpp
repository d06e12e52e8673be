#include "ui/main/error_display.h"

#include "ui/main/application_title.h"
#include "ui/main/seam.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <string>

namespace parvolin {

namespace {

Seam<FailureDisplay> failure_display_seam;

void show_in_message_box(const QString &text, const QString &detail)
{
    const QPointer<QWidget> active_window = QApplication::activeWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();

    // Owned by the application, not by a window: every window is blocked
    // while it is open.
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(application_title), text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    if (!detail.isEmpty())
        box.setInformativeText(detail);
    box.exec();

    if (active_window)
        active_window->activateWindow();
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
}

} // namespace

void show_failure(std::string_view message, std::string_view detail)
{
    const QString text = QString::fromStdString(error_display_text(message));
    const QString informative = QString::fromUtf8(detail.data(), static_cast<qsizetype>(detail.size()));
    if (const FailureDisplay &display = failure_display_seam.installed())
        display(text, informative);
    else
        show_in_message_box(text, informative);
}

FailureDisplay set_failure_display(FailureDisplay display)
{
    return failure_display_seam.set(std::move(display));
}

} // namespace parvolin
