#include "ui/aux/splash_window.h"

#include "ui/aux/centred.h"
#include "ui/main/jpeg_image.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QRegion>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include <optional>

namespace parvolin {

namespace {

// The window's designed size. The picture is taller; the window keeps this
// size, because the ellipse cut from it would hide the rest anyway.
constexpr QSize window_size{810, 746};
constexpr QSize picture_size{810, 810};

constexpr int layout_timer_interval_ms = 1000; // a timer's usual interval
constexpr int start_close_interval_ms = 2000;

std::optional<bool> &splash_switch()
{
    static std::optional<bool> enabled;
    return enabled;
}

} // namespace

SplashWindow::SplashWindow(QWidget *owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TForm2"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(window_size);

    // The picture from the window's top-left corner at its own size; where it
    // would not cover the window, the window's own ground shows.
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->setGeometry(QRect(QPoint(0, 0), picture_size));
    const QImage splash = load_jpeg(QStringLiteral(":/assets/splash.jpg"));
    if (!splash.isNull()) {
        picture_->setPixmap(QPixmap::fromImage(splash));
        picture_->resize(splash.size());
    }

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(layout_timer_interval_ms);
    connect(timer_, &QTimer::timeout, this, &SplashWindow::Timer1Timer);
    timer_->start();

    FormCreate();

    // Where no window manager keeps a window on top (a bare X server), the
    // owner shown after the splash would cover it: come back up once it is.
    if (owner != nullptr)
        owner->installEventFilter(this);
}

void SplashWindow::FormCreate()
{
    // The outline: the ellipse inscribed in the window as it is now. It is
    // taken once and not recomputed.
    setMask(QRegion(rect(), QRegion::Ellipse));
}

void SplashWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (positioned_ || event->spontaneous())
        return;
    positioned_ = true;
    // Centred on the whole screen, once, with the window's own size; halves
    // are rounded towards zero.
    if (const QScreen *screen = this->screen()) {
        move(centred_in(screen->geometry(), size()));
    }
}

bool SplashWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Show && isVisible()) {
        // The owner is mapped after its show event: raise once that is done.
        QTimer::singleShot(0, this, [this] { raise(); });
    }
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::Timer1Timer()
{
    // One tick per window: the window and its timer go together.
    timer_->stop();
    deleteLater();
}

SplashWindow *show_start_splash(QWidget *owner)
{
    if (!start_splash_enabled())
        return nullptr;
    auto *splash = new SplashWindow(owner);
    splash->show();
    // Changing the interval of the running timer starts its count again.
    splash->close_timer()->setInterval(start_close_interval_ms);
    return splash;
}

bool start_splash_enabled()
{
    if (const std::optional<bool> &enabled = splash_switch())
        return *enabled;
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

void set_start_splash_enabled(bool enabled)
{
    splash_switch() = enabled;
}

} // namespace parvolin
