#pragma once

#include "solver/math_text.h"

#include <QTextBrowser>

#include <optional>
#include <vector>

namespace parvolin {

// The "Postup" view: the working of the last solved problem as rich text,
// read-only, selectable. Empty until a working is shown and after clear().
// A copy that reaches into the mathematics of a step (a stacked fraction is
// a table, whose cells would come out one per line) copies the plain lines
// of every step it touches instead.
class StepsView : public QTextBrowser {
    Q_OBJECT

public:
    explicit StepsView(QWidget *parent = nullptr);

    void show_working(const Working &working);
    void clear_working();
    bool is_empty() const { return !working_.has_value(); }
    const std::optional<Working> &working() const { return working_; }

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void showEvent(QShowEvent *event) override;

private:
    void render();

    bool pending_ = false; // shown while hidden, not yet laid out
    std::optional<Working> working_;
    // Where each step starts in the document, in order.
    std::vector<int> step_starts_;
};

} // namespace parvolin
