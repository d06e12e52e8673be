#include "tests/ui/monkey/walk.h"

#include <QApplication>

namespace parvolin::monkey {

Walk::Walk(const QString &folder_path) : folder(folder_path)
{
    RegionalSettings regional;
    regional.decimal_separator = expected.regional;
    window = std::make_unique<MainWindow>(regional, (folder + QStringLiteral("/parvolin.ini")).toStdString());
    fields = {find<QLineEdit>("kv_koef"), find<QLineEdit>("lin_koef"), find<QLineEdit>("abs_koef")};
    lists = {find<QListWidget>("ListBox1"), find<QListWidget>("desmista")};
    memo = find<QPlainTextEdit>("vypisreseni");
    previous_handler_ = qInstallMessageHandler(&quiet_platform);
    window->show();
    activate();
}

Walk::~Walk()
{
    window.reset();
    qInstallMessageHandler(previous_handler_);
}

// The offscreen platform warns at every size hint and raise, thousands of
// times in a walk; everything else is passed on.
void Walk::quiet_platform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    previous_handler_(type, context, message);
}

void Walk::activate()
{
    if (QApplication::activeWindow() == window.get())
        return;
    window->activateWindow();
    settle();
}

void Walk::settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void Walk::start_step()
{
    failures.clear();
    notices.clear();
    opened.clear();
    outcome = StepOutcome{};
}

} // namespace parvolin::monkey
