#pragma once

#include <QWidget>

namespace parvolin {

// Laid over the graph and the working once the task has been edited after a
// solve: it pales what is under it and says at the top, in a band of its
// own, that the picture and the working belong to the previous task. Clicks
// and the wheel go through to the views, so the old picture can still be
// copied and the working scrolled.
class StaleCover : public QWidget {
public:
    explicit StaleCover(QWidget *parent);

    // The band's text, "Zadání se změnilo ...".
    static QString notice();

    // The band's height at the cover's width.
    int band_height() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace parvolin
