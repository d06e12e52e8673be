#include "ui/main/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdint>

namespace parvolin {

namespace {

// `start` moved so that a run of `length` from it lies within the run of
// `room` from `first`; `length` is at most `room`. In 64 bits, since
// start + length overflows an int for the values a settings file may hold.
int fit_start(int start, int length, int first, int room)
{
    const std::int64_t last_start = std::int64_t{first} + room - length;
    return static_cast<int>(std::clamp<std::int64_t>(start, first, last_start));
}

} // namespace

QRect fit_outer_geometry(int left, int top, int width, int height, const QRect &available, const QSize &smallest)
{
    const int fitted_width = std::clamp(std::max(width, smallest.width()), 0, available.width());
    const int fitted_height = std::clamp(std::max(height, smallest.height()), 0, available.height());
    return QRect(fit_start(left, fitted_width, available.left(), available.width()),
                 fit_start(top, fitted_height, available.top(), available.height()), fitted_width, fitted_height);
}

QRect available_screen_area(const QWidget *window)
{
    const QScreen *screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    return area.isEmpty() ? QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : area;
}

} // namespace parvolin
