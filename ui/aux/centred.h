#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace parvolin {

// The top-left corner that centres a window of `size` in `area`, halves
// rounded towards zero. The callers choose the area (the whole screen or
// the part free of panels) and the size (with or without the frame).
inline QPoint centred_in(const QRect &area, const QSize &size)
{
    return {area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2};
}

} // namespace parvolin
