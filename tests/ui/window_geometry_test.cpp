// The window's geometry from the settings file, kept on the screen: sizes
// and places no screen can show (a hand-edited file, a window once dragged
// larger than the screen) give a window within the available area.

#include "ui/main/window_geometry.h"

#include "tests/test_rows.h"
#include "tests/ui/test_files.h"
#include "tests/ui/window_fixture.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace parvolin {
namespace {

struct FitCase {
    const char *name;
    int left, top, width, height;
    QRect expected; // within an area of 800 × 560 at 0,40
};

class FitOuterGeometry : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitOuterGeometry, KeepsTheWindowOnTheArea)
{
    const FitCase &row = GetParam();
    EXPECT_EQ(fit_outer_geometry(row.left, row.top, row.width, row.height, QRect(0, 40, 800, 560)), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    WindowGeometry, FitOuterGeometry,
    ::testing::Values(FitCase{"fits_as_it_is", 30, 50, 490, 520, QRect(30, 50, 490, 520)},
                      FitCase{"larger_than_the_area", 30, 50, 100000, 100000, QRect(0, 40, 800, 560)},
                      FitCase{"largest_int_everywhere", INT_MAX, INT_MAX, INT_MAX, INT_MAX, QRect(0, 40, 800, 560)},
                      FitCase{"smallest_int_everywhere", INT_MIN, INT_MIN, INT_MIN, INT_MIN, QRect(0, 40, 0, 0)},
                      FitCase{"title_bar_above_the_area", 30, -200, 490, 520, QRect(30, 40, 490, 520)},
                      FitCase{"off_the_right_and_bottom", 700, 500, 490, 520, QRect(310, 80, 490, 520)},
                      FitCase{"off_the_left", -400, 50, 490, 520, QRect(0, 50, 490, 520)},
                      FitCase{"exactly_the_area", 0, 40, 800, 560, QRect(0, 40, 800, 560)}),
    row_name);

struct StoredCase {
    const char *name;
    const char *form; // the [Form] keys
};

class StoredGeometry : public WindowTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredGeometry, NeverMakesAWindowLargerThanTheScreen)
{
    write_file(settings_path(), std::string("[Form]\n") + GetParam().form);
    open();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect outer = window_->frameGeometry();
    EXPECT_LE(outer.width(), available.width());
    EXPECT_LE(outer.height(), available.height());
    EXPECT_TRUE(available.contains(outer)) << outer.x() << "," << outer.y() << " " << outer.width() << "x"
                                           << outer.height() << " on " << available.width() << "x"
                                           << available.height();
}

INSTANTIATE_TEST_SUITE_P(
    WindowGeometry, StoredGeometry,
    ::testing::Values(StoredCase{"hundred_thousand", "Width=100000\nHeight=100000\n"},
                      StoredCase{"largest_int", "Top=2147483647\nLeft=2147483647\nWidth=2147483647\nHeight=2147483647\n"},
                      StoredCase{"ten_thousand_far_away", "Top=-10000\nLeft=-10000\nWidth=10000\nHeight=10000\n"}),
    row_name);

} // namespace
} // namespace parvolin
