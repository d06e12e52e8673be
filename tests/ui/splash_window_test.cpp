// The start picture offscreen: the region the window holds (offscreen does
// not cut windows on screen), its size and place, its end by its own timer,
// and its part in the main window's start.

#include "ui/aux/splash_window.h"
#include "ui/main/main_window.h"

#include "tests/test_rows.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace parvolin {
namespace {

// Runs the event loop until `object` is gone or `limit_ms` have passed.
bool destroyed_within(QObject *object, int limit_ms)
{
    QPointer<QObject> watched(object);
    QEventLoop loop;
    QObject::connect(object, &QObject::destroyed, &loop, &QEventLoop::quit);
    QTimer::singleShot(limit_ms, &loop, &QEventLoop::quit);
    if (watched)
        loop.exec();
    return watched.isNull();
}

struct RegionPoint {
    const char *name;
    QPoint point;
    bool inside;
};

class SplashRegion : public ::testing::TestWithParam<RegionPoint> {};

// The ellipse is 810 wide and 746 high: its ends lie on the window's edges,
// its corners and the picture's rows below 746 lie outside.
TEST_P(SplashRegion, IsTheEllipseOfTheDesignedSize)
{
    const SplashWindow splash;
    EXPECT_EQ(splash.mask().contains(GetParam().point), GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(
    Splash, SplashRegion,
    ::testing::Values(RegionPoint{"bottom_end", {405, 744}, true}, RegionPoint{"left_end", {1, 373}, true},
                      RegionPoint{"right_end", {808, 373}, true}, RegionPoint{"top_left_corner", {0, 0}, false},
                      RegionPoint{"diagonal_just_inside", {125, 115}, true},
                      RegionPoint{"diagonal_just_outside", {113, 104}, false},
                      RegionPoint{"picture_below_the_ellipse", {405, 760}, false}),
    row_name);

TEST(Splash, IsAFramelessTopmostWindowOfTheDesignedSizeShowingThePicture)
{
    SplashWindow splash;
    EXPECT_EQ(splash.size(), QSize(810, 746));
    EXPECT_TRUE(splash.isWindow());
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);

    const auto *picture = splash.findChild<QLabel *>(QStringLiteral("Image1"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 810, 810));
    EXPECT_EQ(picture->pixmap().size(), QSize(810, 810));

    const QTimer *timer = splash.close_timer();
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);
}

TEST(Splash, IsCentredOnTheScreenWhenFirstShown)
{
    SplashWindow splash;
    splash.show();
    QCoreApplication::processEvents();
    const QRect screen = splash.screen()->geometry();
    // The offscreen screen may be smaller than the splash: the offsets are
    // then negative, halves rounded towards zero.
    EXPECT_EQ(splash.pos(), QPoint(screen.x() + (screen.width() - 810) / 2, screen.y() + (screen.height() - 746) / 2));
}

TEST(Splash, ClicksDoNothing)
{
    auto *splash = new SplashWindow;
    QPointer<SplashWindow> alive(splash);
    splash->show();
    QWidget *picture = splash->findChild<QWidget *>(QStringLiteral("Image1"));
    QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, QPoint(405, 373));
    QTest::mouseDClick(picture, Qt::LeftButton, Qt::NoModifier, QPoint(405, 373));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(alive.isNull());
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->close_timer()->isActive());
    delete splash;
}

class StartSplash : public ::testing::Test {
protected:
    void SetUp() override { set_start_splash_enabled(true); }
    void TearDown() override { set_start_splash_enabled(false); }
};

TEST_F(StartSplash, ClosesItselfAtTheFirstTickOfItsTimer)
{
    QWidget owner;
    SplashWindow *splash = show_start_splash(&owner);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->parentWidget(), &owner);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->close_timer()->interval(), 2000);
    EXPECT_TRUE(splash->close_timer()->isActive());

    // The same timer, shortened to keep the test quick.
    splash->close_timer()->setInterval(20);
    EXPECT_TRUE(destroyed_within(splash, 2000));
}

TEST_F(StartSplash, IsShownByTheMainWindowsCreationBeforeTheRestOfIt)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    MainWindow window(RegionalSettings{}, folder.filePath(QStringLiteral("parvolin.ini")).toStdString());
    const auto splashes = window.findChildren<SplashWindow *>();
    ASSERT_EQ(splashes.size(), 1);
    EXPECT_TRUE(splashes.front()->isVisible());
    EXPECT_FALSE(window.isVisible());
    // The creation handler went on after the splash.
    EXPECT_EQ(window.findChild<QListWidget *>(QStringLiteral("ListBox1"))->currentRow(), 0);
}

} // namespace
} // namespace parvolin
