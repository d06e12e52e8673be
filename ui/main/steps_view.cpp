#include "ui/main/steps_view.h"

#include "ui/main/steps_html.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace parvolin {

StepsView::StepsView(QWidget *parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setOpenLinks(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Steps closer together than paragraphs of prose.
    document()->setDefaultStyleSheet(QStringLiteral("p { margin-top: 3px; margin-bottom: 3px; }"));
    // Czech and the mathematics' signs need no shaping; without it the
    // text lays out several times faster.
    QFont plain = font();
    plain.setStyleStrategy(QFont::PreferNoShaping);
    setFont(plain);
}

void StepsView::show_working(const Working &working)
{
    working_ = working;
    // Laying out the rich text costs more than the solve; while the picture
    // is the tab in front it waits until the view is shown.
    if (isVisible())
        render();
    else
        pending_ = true;
}

void StepsView::showEvent(QShowEvent *event)
{
    if (pending_)
        render();
    QTextBrowser::showEvent(event);
}

void StepsView::render()
{
    pending_ = false;
    const Working &working = *working_;
    // Laid out once at the width it is read at: a working taller than the
    // view would otherwise be laid out again when the scroll bar appears.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHtml(working_html(working));
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The anchors "step<N>" mark where each step begins.
    step_starts_.assign(working.steps.size(), -1);
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            for (const QString &name : it.fragment().charFormat().anchorNames()) {
                bool ok = false;
                const int index = name.startsWith(QLatin1String("step")) ? name.mid(4).toInt(&ok) : -1;
                if (ok && index >= 0 && static_cast<std::size_t>(index) < step_starts_.size() &&
                    step_starts_[index] < 0)
                    step_starts_[index] = it.fragment().position();
            }
        }
    }
    // A step whose anchor found no character to hold it (no sentence, its
    // mathematics a table) starts where the step before it does.
    for (std::size_t i = 0; i < step_starts_.size(); ++i) {
        if (step_starts_[i] < 0)
            step_starts_[i] = i > 0 ? step_starts_[i - 1] : 0;
    }
}

void StepsView::clear_working()
{
    working_.reset();
    pending_ = false;
    step_starts_.clear();
    clear();
}

QMimeData *StepsView::createMimeDataFromSelection() const
{
    QMimeData *data = QTextBrowser::createMimeDataFromSelection();
    const QTextCursor selection = textCursor();
    if (!working_ || !selection.hasSelection())
        return data;
    QTextCursor start(document());
    start.setPosition(selection.selectionStart());
    QTextCursor end(document());
    end.setPosition(selection.selectionEnd());
    // Text within one paragraph outside any table copies as it is.
    if (start.block() == end.block() && start.currentTable() == nullptr)
        return data;

    const auto step_at = [this](int position) {
        const auto after = std::upper_bound(step_starts_.begin(), step_starts_.end(), position);
        return after == step_starts_.begin() ? std::size_t{0}
                                             : static_cast<std::size_t>(after - step_starts_.begin()) - 1;
    };
    const std::size_t first = step_at(selection.selectionStart());
    // A selection that ends right where a step begins does not take it.
    const std::size_t last = step_at(std::max(selection.selectionStart(), selection.selectionEnd() - 1));
    std::vector<std::string> lines;
    for (std::size_t i = first; i <= last && i < working_->steps.size(); ++i)
        append_plain_lines(lines, working_->steps[i]);
    QString text;
    for (const std::string &line : lines)
        text += QString::fromStdString(line) + QLatin1Char('\n');
    // The default data makes its text from the selection whenever asked,
    // whatever is set on it; a plain one keeps the rich text beside ours.
    auto *lines_data = new QMimeData;
    lines_data->setHtml(data->html());
    lines_data->setText(text);
    delete data;
    return lines_data;
}

} // namespace parvolin
