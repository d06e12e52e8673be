#include "ui/main/stale_cover.h"

#include <QPainter>

namespace parvolin {

namespace {

constexpr char notice_text[] =
    "Zadání se změnilo: graf a postup patří k předchozí úloze. Řešení nové úlohy ukáže tlačítko Vyřešit.";
constexpr int band_padding = 4;
// How much of the white the pale layer lets through from below.
constexpr int pale_alpha = 170;

QRect text_area(const QWidget &widget, int height)
{
    return QRect(band_padding, band_padding, widget.width() - 2 * band_padding, height);
}

} // namespace

StaleCover::StaleCover(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("staleCover"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(notice());
    hide();
}

QString StaleCover::notice() { return QString::fromUtf8(notice_text); }

int StaleCover::band_height() const
{
    const QRect bounds =
        fontMetrics().boundingRect(text_area(*this, 10000), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, notice());
    return bounds.height() + 2 * band_padding;
}

void StaleCover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(255, 255, 255, pale_alpha));
    const int band = band_height();
    painter.fillRect(QRect(0, 0, width(), band), palette().color(QPalette::ToolTipBase));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, band - 1, width() - 1, band - 1);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawText(text_area(*this, band - 2 * band_padding), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                     notice());
}

} // namespace parvolin
