#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace parvolin {

// The start picture `TForm2`: a borderless window that stays on top, centred
// on the screen, cut to an ellipse 810 wide and 746 high, showing the 810 × 810
// splash picture from its top-left corner (its bottom rows lie outside the
// ellipse). It has no text and no commands, and clicks on it do nothing; its
// timer `Timer1` ends it by deferred deletion at the first tick.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    // Owned by `owner` (the main window), as a window of its own.
    explicit SplashWindow(QWidget *owner = nullptr);

    // `Timer1`: enabled from creation with the timer's usual 1000 ms.
    QTimer *close_timer() const { return timer_; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void Timer1Timer();

    QLabel *picture_ = nullptr;
    QTimer *timer_ = nullptr;
    bool positioned_ = false;
};

// The program start's part: creates the splash owned by `owner`, shows it,
// and lets it close itself 2000 ms later. Returns the window, or nullptr when
// start splashes are switched off.
SplashWindow *show_start_splash(QWidget *owner);

// Whether show_start_splash shows anything. On, except on the offscreen
// platform, where nobody looks at it and every window test would otherwise
// carry one.
bool start_splash_enabled();
void set_start_splash_enabled(bool enabled);

} // namespace parvolin
