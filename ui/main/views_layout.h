#pragma once

#include <QRect>
#include <QSize>

namespace parvolin {

// Where the scrolling area's content goes: the two views stay where the
// layout has them, the picture of the solution stands right of them (right
// of the side panel while that is open, so the panel never covers it) and
// takes whatever room the window has beyond its smallest size.
struct ViewsGeometry {
    QSize viewport;         // inside the scrolling area's frame, scroll bars not taken off
    int scroll_bar = 0;     // the width of a scroll bar
    int content_left = 0;   // the content's left edge in the window's client area, unscrolled
    QRect panel;            // the side panel, in client coordinates
    bool graph_shown = false;
    bool panel_open = false;
};

struct ViewsLayout {
    QSize content;
    QRect graph_box;            // in content coordinates; empty without the picture
    int needed_viewport_width;  // the narrowest viewport that shows the whole content unscrolled
};

// The views' own size, and the picture's place and smallest size, as the
// layout has them.
inline constexpr QSize views_content_size{427, 374};
inline constexpr QRect smallest_graph_box{427, 4, 366, 366};
// Between the side panel and the picture, and below and right of the picture.
inline constexpr int graph_gap = 8;
inline constexpr int graph_margin = 4;

ViewsLayout lay_out_views(const ViewsGeometry &geometry);

} // namespace parvolin
