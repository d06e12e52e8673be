#pragma once

#include <QProxyStyle>

namespace parvolin {

// The desktop's style with a group box's frame drawn through the middle of
// its title, as on the desktop the window's layout was drawn for. Styles
// that put the frame under the title lay it over controls placed just below
// the title (Panel1 of the computation view). Only the frame moves; the
// title and the controls stay where they are.
class GroupBoxStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                         const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override;
};

} // namespace parvolin
