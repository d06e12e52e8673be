#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace parvolin {

// The outer bounds the window is given at start, from the four numbers of
// the settings file, kept inside `available` (the screen's area less its
// panels): neither side longer than the area's, and the whole window, title
// bar first, on it. Any int is accepted, INT_MIN and INT_MAX included; a
// width or height below `smallest`'s (zero, negative) becomes that, and
// without `smallest` 0 (the window's minimum size then decides). `available`
// must not be empty.
QRect fit_outer_geometry(int left, int top, int width, int height, const QRect &available,
                         const QSize &smallest = QSize(0, 0));

// The available area of the screen `window` is on (the primary screen before
// it is shown); without any screen, as much as a widget can take.
QRect available_screen_area(const QWidget *window);

} // namespace parvolin
