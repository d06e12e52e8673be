#include "ui/main/views_layout.h"

#include <algorithm>

namespace parvolin {

ViewsLayout lay_out_views(const ViewsGeometry &geometry)
{
    if (!geometry.graph_shown)
        return {views_content_size, QRect(), views_content_size.width()};

    int graph_left = smallest_graph_box.left();
    if (geometry.panel_open)
        graph_left = std::max(graph_left, geometry.panel.right() + 1 + graph_gap - geometry.content_left);
    const int smallest_width = graph_left + smallest_graph_box.width() + graph_margin;
    const int smallest_height = std::max(views_content_size.height(),
                                         smallest_graph_box.top() + smallest_graph_box.height() + graph_margin);

    // A scroll bar takes room from the other direction, which may call for
    // the other bar in turn.
    int width = geometry.viewport.width();
    int height = geometry.viewport.height();
    bool vertical = height < smallest_height;
    if (vertical)
        width -= geometry.scroll_bar;
    if (width < smallest_width) {
        height -= geometry.scroll_bar;
        if (!vertical && height < smallest_height) {
            vertical = true;
            width -= geometry.scroll_bar;
        }
    }

    ViewsLayout layout;
    layout.content = QSize(std::max(smallest_width, width), std::max(smallest_height, height));
    layout.graph_box = QRect(graph_left, smallest_graph_box.top(), layout.content.width() - graph_margin - graph_left,
                             layout.content.height() - graph_margin - smallest_graph_box.top());
    layout.needed_viewport_width = smallest_width + (vertical ? geometry.scroll_bar : 0);
    return layout;
}

} // namespace parvolin
