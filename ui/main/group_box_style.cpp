#include "ui/main/group_box_style.h"

#include <QPainter>
#include <QPalette>
#include <QStyleOptionGroupBox>

namespace parvolin {

QRect GroupBoxStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                                    const QWidget *widget) const
{
    QRect rect = QProxyStyle::subControlRect(control, option, sub, widget);
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control == CC_GroupBox && sub == SC_GroupBoxFrame && box != nullptr && !box->text.isEmpty()) {
        const QRect label = QProxyStyle::subControlRect(control, option, SC_GroupBoxLabel, widget);
        rect.setTop(label.center().y());
    }
    return rect;
}

void GroupBoxStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                       const QWidget *widget) const
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || box == nullptr || box->text.isEmpty()) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The frame from the middle of the title down, without the stretch
    // behind the title, then the title over it.
    if (box->subControls & SC_GroupBoxFrame) {
        const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget).adjusted(-2, 0, 2, 0);
        const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
        painter->save();
        painter->setClipRegion(QRegion(box->rect) - label);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(box->palette.color(QPalette::Mid));
        painter->setBrush(box->palette.color(QPalette::Window).darker(104));
        painter->drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        painter->restore();
    }
    QStyleOptionGroupBox rest(*box);
    rest.subControls = box->subControls & ~SC_GroupBoxFrame;
    QProxyStyle::drawComplexControl(control, &rest, painter, widget);
}

} // namespace parvolin
