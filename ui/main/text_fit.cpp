#include "ui/main/text_fit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

namespace parvolin {

namespace {

constexpr char narrow_family[] = "Liberation Sans Narrow";
constexpr double smallest_points = 6;
constexpr double step_points = 0.5;

} // namespace

void fit_font(QWidget *widget, int room, const std::function<int(const QFont &font)> &needed_width)
{
    const QFont own = widget->font();
    if (needed_width(own) <= room)
        return;
    QFont narrow = own;
    narrow.setFamilies({QString::fromLatin1(narrow_family)});
    const double points = own.pointSizeF() > 0 ? own.pointSizeF() : 8;
    for (double size = points; size >= smallest_points; size -= step_points) {
        narrow.setPointSizeF(size);
        if (needed_width(narrow) <= room)
            break;
    }
    widget->setFont(narrow);
}

void fit_tab_captions(QTabWidget *tabs)
{
    QTabBar *bar = tabs->tabBar();
    tabs->setElideMode(Qt::ElideNone);
    fit_font(bar, tabs->width(), [bar](const QFont &font) {
        bar->setFont(font);
        return bar->sizeHint().width();
    });
}

void fit_label(QLabel *label)
{
    const int room = label->contentsRect().width() - 2 * label->margin();
    fit_font(label, room,
             [label](const QFont &font) { return QFontMetrics(font).horizontalAdvance(label->text()); });
}

} // namespace parvolin
