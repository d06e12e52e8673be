#include "ui/main/application_title.h"
#include "ui/main/main_window.h"
#include "ui/main/toolkit_translation.h"

#include "solver/fp_env.h"
#include "solver/regional_settings.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

// Developer aid: with PARVOLIN_MEASURE_STARTUP set, prints the time from the
// start of main() until the main window is first on screen (exposed and
// painted), then leaves without touching the settings file.
class StartupMeter : public QObject {
public:
    explicit StartupMeter(Clock::time_point started) : started_(started) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !reported_ && static_cast<QWindow *>(watched)->isExposed()) {
            reported_ = true;
            // Reported once the exposure has been handled, painting included.
            QTimer::singleShot(0, this, [this] {
                const std::chrono::duration<double, std::milli> elapsed = Clock::now() - started_;
                const QByteArray ms = QByteArray::number(elapsed.count(), 'f', 1); // always a "."
                std::fputs(("start-up to first shown main window: " + ms + " ms\n").constData(), stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    Clock::time_point started_;
    bool reported_ = false;
};

} // namespace

int main(int argc, char *argv[])
{
    const Clock::time_point started = Clock::now();

    QApplication app(argc, argv);
    parvolin::fp::establish_environment();
    // Without it the program runs all the same, with the toolkit's English.
    const auto toolkit_czech = parvolin::install_toolkit_translation();

    // Before any window exists.
    const parvolin::RegionalSettings regional = parvolin::load_regional_settings();

    parvolin::MainWindow window(regional);

    const QString title = QString::fromUtf8(parvolin::application_title);
    QApplication::setApplicationName(title);
    QApplication::setApplicationDisplayName(title);

    StartupMeter meter(started);
    window.show();
    if (qEnvironmentVariableIsSet("PARVOLIN_MEASURE_STARTUP") && window.windowHandle() != nullptr)
        window.windowHandle()->installEventFilter(&meter);

    return app.exec();
}
