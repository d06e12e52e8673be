#include "ui/aux/about_window.h"

#include "ui/aux/centred.h"

#include "ui_about_window.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>

namespace parvolin {

namespace {

// The layout's label width was drawn for a narrow font. Where the desktop's
// font is wider, the line is set smaller rather than cut off.
void shrink_to_fit(QLabel *label)
{
    QFont font = label->font();
    while (QFontMetrics(font).horizontalAdvance(label->text()) > label->width() && font.pointSizeF() > 6.0)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

} // namespace

AboutWindow::AboutWindow(QWidget *owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint
                         | Qt::CustomizeWindowHint),
      ui_(std::make_unique<Ui::AboutWindow>())
{
    ui_->setupUi(this);
    // Not resizable: the client area is the layout's.
    setFixedSize(size());
    shrink_to_fit(ui_->Label1);

    const QImage glyph = with_bottom_left_colour_transparent(QImage(QStringLiteral(":/assets/ok.png")));
    if (!glyph.isNull())
        ui_->BitBtn1->setIcon(QIcon(QPixmap::fromImage(glyph)));
    connect(ui_->BitBtn1, &QPushButton::clicked, this, &AboutWindow::BitBtn1Click);
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (positioned_ || event->spontaneous())
        return;
    positioned_ = true;
    // Centred on the screen, not over the owner as a dialog would be.
    if (const QScreen *screen = this->screen()) {
        move(centred_in(screen->geometry(), frameGeometry().size()));
    }
}

void AboutWindow::BitBtn1Click()
{
    accept();
    deleteLater();
}

void AboutWindow::closeEvent(QCloseEvent *event)
{
    // The title bar's close button ends the window as OK does, with the
    // modal result Cancel.
    QDialog::closeEvent(event);
    if (event->isAccepted())
        deleteLater();
}

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    // No button answers Escape; only OK and the title bar close the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

int run_about_window(QWidget *owner)
{
    // A new window every time, so edits to the text do not outlive it.
    auto *about = new AboutWindow(owner);
    return about->exec();
}

QImage with_bottom_left_colour_transparent(const QImage &picture)
{
    if (picture.isNull())
        return picture;
    QImage glyph = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = glyph.pixel(0, glyph.height() - 1);
    for (int y = 0; y < glyph.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(glyph.scanLine(y));
        for (int x = 0; x < glyph.width(); ++x) {
            if (line[x] == key)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return glyph;
}

} // namespace parvolin
