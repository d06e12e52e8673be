#include "tests/ui/monkey/comparison.h"

#include "ui/main/memo_rows.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>
#include <sstream>

namespace parvolin::monkey {

namespace {

// The document frames the memo's display rows; after a failure it is empty.
std::optional<std::string> document_disagreement(const Walk &walk)
{
    const QString rich = walk.find<QTextEdit>("RichEdit1")->toPlainText();
    if (walk.expected.memo.isEmpty()) {
        if (!walk.document.empty() || !rich.isEmpty())
            return std::string("the document is not empty after a failed solve");
        return std::nullopt;
    }
    const std::vector<std::string> rows = display_rows(*walk.memo);
    if (walk.document.size() != rows.size() + 4 || !walk.document.front().starts_with("Datum:")
        || walk.document[1] != std::string(31, '-') || walk.document[walk.document.size() - 2] != std::string(36, '-')
        || !std::equal(rows.begin(), rows.end(), walk.document.begin() + 2))
        return std::string("the document does not frame the memo's rows");
    QStringList lines;
    for (const std::string &line : walk.document)
        lines << QString::fromStdString(line);
    if (rich != lines.join(QLatin1Char('\n')))
        return std::string("RichEdit1 does not hold the document");
    return std::nullopt;
}

} // namespace

std::optional<std::string> disagreement(Walk &walk)
{
    std::ostringstream out;
    if (!walk.outcome.shortcut_mismatch.empty()) {
        out << walk.outcome.shortcut_mismatch;
        walk.outcome.shortcut_mismatch.clear();
        return out.str();
    }

    // The state table.
    const bool welcome_shown = !walk.find<QWidget>("TextTeorie")->isHidden();
    const bool entry_shown = !walk.find<QWidget>("zadaniBox")->isHidden();
    const bool result_shown = !walk.find<QWidget>("vysledekBox")->isHidden();
    const bool enabled = walk.find<QAction>("Ulozit")->isEnabled();
    const bool theory_down = walk.find<QAbstractButton>("ToolButtonteorie")->isChecked();
    const bool computation_down = walk.find<QAbstractButton>("ToolButtonvypocet")->isChecked();
    const QString panel = walk.find<QLabel>("StatusPanel2")->text();
    std::optional<View> state;
    if (welcome_shown && !entry_shown && !result_shown && !enabled && theory_down && !computation_down
        && panel == QStringLiteral("Teorie"))
        state = View::Welcome;
    else if (!welcome_shown && entry_shown && computation_down && !theory_down
             && panel == QStringLiteral("Výpočet"))
        state = result_shown && enabled ? std::optional(View::Result)
                : !result_shown && !enabled ? std::optional(View::Entry)
                                            : std::nullopt;
    if (!state || *state != walk.expected.view) {
        out << "expected the " << view_name(walk.expected.view) << " state, the window shows: Teorie box "
            << welcome_shown << ", entry box " << entry_shown << ", result box " << result_shown
            << ", saving enabled " << enabled << ", Teorie down " << theory_down << ", Výpočet down "
            << computation_down << ", view panel " << text_of(panel);
        return out.str();
    }
    if (walk.find<QAction>("tisk")->isEnabled() != enabled)
        return "tisk disagrees with Ulozit";
    for (const char *name : {"ToolButtonuloz", "ToolButtontisk"})
        if (walk.find<QWidget>(name)->isEnabled() != enabled)
            return std::string(name) + " disagrees with Ulozit";
    for (const char *name : {"teorie", "vypocet", "Konec1", "Desetinnoddlova1", "Pouitznaen1", "aaa1",
                             "Oprogramu1"})
        if (!walk.find<QAction>(name)->isEnabled())
            return std::string(name) + " is disabled";
    if (!walk.find<QWidget>("RichEdit1")->isHidden())
        return "RichEdit1 is shown";

    // What the pupil entered and chose.
    for (std::size_t i = 0; i < walk.fields.size(); ++i)
        if (walk.fields[i]->text() != walk.expected.fields[i]) {
            out << walk.fields[i]->objectName().toStdString() << " holds " << text_of(walk.fields[i]->text())
                << ", expected " << text_of(walk.expected.fields[i]);
            return out.str();
        }
    if (walk.lists[0]->currentRow() != walk.expected.relation || walk.lists[1]->currentRow() != walk.expected.precision) {
        out << "list rows " << walk.lists[0]->currentRow() << ", " << walk.lists[1]->currentRow() << ", expected "
            << walk.expected.relation << ", " << walk.expected.precision;
        return out.str();
    }
    if (walk.find<QAbstractButton>("RadioButton2")->isChecked() != walk.expected.dot
        || walk.find<QAbstractButton>("RadioButton1")->isChecked() == walk.expected.dot)
        return "the radio buttons do not show the expected separator";
    auto *side_panel = walk.find<QTabWidget>("nastav");
    if (side_panel->isHidden() != (walk.expected.panel_page == nullptr))
        return walk.expected.panel_page == nullptr ? "the side panel is open" : "the side panel is closed";
    if (walk.expected.panel_page != nullptr
        && side_panel->currentWidget()->objectName() != QLatin1String(walk.expected.panel_page))
        return "the side panel shows page " + side_panel->currentWidget()->objectName().toStdString();

    // The memo and the document.
    const QString memo = walk.memo->toPlainText();
    if (memo != walk.expected.memo) {
        out << "the memo holds\n" << memo.toStdString() << "\nexpected\n" << walk.expected.memo.toStdString();
        return out.str();
    }
    if (walk.outcome.solved) {
        walk.document = walk.window->document_lines();
        if (std::optional<std::string> problem = document_disagreement(walk))
            return problem;
    } else if (walk.window->document_lines() != walk.document) {
        return "the document changed without a solve";
    }

    // Messages and the ways out of the program.
    if (walk.failures != walk.outcome.failures) {
        out << "messages shown:";
        for (const QString &text : walk.failures)
            out << ' ' << text_of(text);
        out << "; expected:";
        for (const QString &text : walk.outcome.failures)
            out << ' ' << text_of(text);
        return out.str();
    }
    if (static_cast<int>(walk.notices.size()) != walk.outcome.notices)
        return "notices shown: " + std::to_string(walk.notices.size());
    if (walk.outcome.url.has_value() != !walk.opened.empty() || walk.opened.size() > 1)
        return "the shell was asked to open " + std::to_string(walk.opened.size()) + " addresses";
    if (walk.outcome.url && !walk.outcome.url->isEmpty() && walk.opened.front() != *walk.outcome.url)
        return "the shell was asked to open " + walk.opened.front().toString().toStdString();
    if (walk.outcome.url && walk.outcome.url->isEmpty() && walk.opened.front().fileName() != QStringLiteral("index.html"))
        return "help opened " + walk.opened.front().toString().toStdString();
    if (!walk.outcome.file.isEmpty() && QFileInfo(walk.outcome.file).size() <= 0)
        return "no file " + walk.outcome.file.toStdString();

    // The layout follows the window's outer size.
    const QSize outer = walk.window->frameGeometry().size();
    if (walk.find<QScrollArea>("ScrollBox1")->size() != outer - QSize(30, 120)) {
        out << "ScrollBox1 is " << walk.find<QScrollArea>("ScrollBox1")->width() << " x "
            << walk.find<QScrollArea>("ScrollBox1")->height() << " in a window of " << outer.width() << " x "
            << outer.height();
        return out.str();
    }
    // Closing the side panel makes the window 490 wide, or as wide as
    // the graph of a result needs (at most the screen's width).
    if (walk.outcome.side_panel_closed && walk.expected.view != View::Result && outer.width() != 490)
        return "closing the side panel left the width at " + std::to_string(outer.width());
    if (walk.outcome.side_panel_closed && walk.expected.view == View::Result) {
        const bool whole = walk.find<QScrollArea>("ScrollBox1")->horizontalScrollBar()->maximum() == 0;
        if (!whole && outer.width() != walk.window->screen()->availableGeometry().width())
            return "closing the side panel hid part of the graph at width " + std::to_string(outer.width());
    }
    return std::nullopt;
}

} // namespace parvolin::monkey
