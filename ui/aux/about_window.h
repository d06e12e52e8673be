#pragma once

#include <QDialog>
#include <QImage>

#include <memory>

namespace Ui {
class AboutWindow;
}

namespace parvolin {

// The about window `TForm3`: a tool window that stays on top, centred on the
// screen, with the laws of programming in an editable text box and an OK
// button. Its layout is about_window.ui. OK and the title bar's close button
// both end it: the window hides, the modal run returns, and the window is
// deleted when the event loop next gets to it.
class AboutWindow : public QDialog {
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *owner = nullptr);
    ~AboutWindow() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void BitBtn1Click();

private:
    std::unique_ptr<Ui::AboutWindow> ui_;
    bool positioned_ = false;
};

// "O programu": runs a new about window owned by `owner` modally and returns
// when it has been closed. Returns the modal result.
int run_about_window(QWidget *owner);

// The picture with every pixel of its bottom-left pixel's colour made
// transparent, as a button glyph of 16 colours is drawn.
QImage with_bottom_left_colour_transparent(const QImage &picture);

} // namespace parvolin
