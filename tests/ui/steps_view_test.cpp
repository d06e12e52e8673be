// The working beside the picture, and the document that may carry both.

#include "ui/main/document_attachment.h"
#include "ui/main/save_document.h"
#include "ui/main/settings_file.h"
#include "ui/main/solution_graph.h"
#include "ui/main/steps_html.h"
#include "ui/main/steps_view.h"

#include "solver/rtf_writer.h"
#include "solver/steps.h"

#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace parvolin {
namespace {

Working working_of(const char *a, const char *b, const char *c, int relation = 0)
{
    return build_steps(ProblemInput{a, b, c, relation, 0}, ',').working;
}

struct HtmlRow {
    const char *name;
    const char *a, *b, *c;
    int relation;
    std::vector<const char *> fragments; // in the HTML, in this order
};

class WorkingHtml : public ::testing::TestWithParam<HtmlRow> {};

// The mathematics as pupils write it: the fraction bar is the numerator's
// bottom border, the root's bar an overline over the radicand.
TEST_P(WorkingHtml, StacksFractionsAndRaisesPowers)
{
    const HtmlRow &row = GetParam();
    const QString html = working_html(working_of(row.a, row.b, row.c, row.relation));
    qsizetype from = 0;
    for (const char *fragment : row.fragments) {
        const qsizetype at = html.indexOf(QString::fromUtf8(fragment), from);
        EXPECT_GE(at, 0) << fragment << "\n" << html.toStdString();
        if (at >= 0)
            from = at;
    }
}

constexpr const char *bar = "border-bottom: 1px solid black";
constexpr const char *overline = "<span style=\"text-decoration: overline\">";

INSTANTIATE_TEST_SUITE_P(
    Rows, WorkingHtml,
    ::testing::Values(
        HtmlRow{"surd_roots", "2", "4", "-4", 0, {"x<sup>2</sup>", "D = ", "Kořeny", bar, overline, "3</span>"}},
        HtmlRow{"fraction_root", "2", "-3", "1", 2, {"x<sup>2</sup>", "black\">1</td>", "</tr><tr><td align=\"center\">2</td>",
                                                    "<th", "∞", "font-weight: bold", "∪"}},
        HtmlRow{"no_root", "1", "0", "1", 0, {"x<sup>2</sup>", "∅"}},
        HtmlRow{"school_brackets_and_reals", "1", "-1", "-6", 4, {"K = (−∞ ; −2⟩ ∪ ⟨3 ; ∞)"}},
        HtmlRow{"school_reals", "1", "0", "1", 2, {"K = ℝ"}},
        HtmlRow{"notice_framed", "1", "-0,6", "0,09", 0, {"bgcolor=\"#fff3cd\"", "Pozor", "</table>", "x<sub>0</sub>"}}),
    row_name);

// A line of mathematics is one table however many fractions it stacks:
// the numerators side by side in its first row, each over its denominator
// in the second, the text between them spanning both.
TEST(WorkingHtml, StacksALineOfFractionsInOneTable)
{
    QTextDocument document;
    document.setHtml(working_html(working_of("2", "-3", "1")));
    const QTextTable *roots = nullptr;
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        const auto *table = qobject_cast<const QTextTable *>(frame);
        if (table != nullptr && table->cellAt(0, 0).firstCursorPosition().block().text().startsWith(QStringLiteral("x")) &&
            table->columns() > 3) {
            roots = table;
            break;
        }
    }
    ASSERT_NE(roots, nullptr) << working_html(working_of("2", "-3", "1")).toStdString();
    EXPECT_EQ(roots->rows(), 2);
    EXPECT_TRUE(roots->childFrames().isEmpty());
    const auto text = [&](int row, int column) { return roots->cellAt(row, column).firstCursorPosition().block().text(); };
    EXPECT_EQ(roots->cellAt(0, 0).rowSpan(), 2);
    EXPECT_EQ(text(0, 1), QStringLiteral("−b ± √D"));
    EXPECT_EQ(text(1, 1), QStringLiteral("2a"));
    EXPECT_EQ(text(0, 3), QStringLiteral("3 ± √1"));
    EXPECT_EQ(text(1, 3), QStringLiteral("2 · 2"));
    EXPECT_EQ(roots->cellAt(0, 1).format().toTableCellFormat().bottomBorderStyle(), QTextFrameFormat::BorderStyle_Solid);
    EXPECT_EQ(roots->cellAt(1, 1).format().toTableCellFormat().bottomBorderStyle(), QTextFrameFormat::BorderStyle_None);
}

class StepsInWindow : public WindowTest {
protected:
    void solve_problem(const char *a, const char *b, const char *c)
    {
        find<QLineEdit>("kv_koef")->setText(QString::fromUtf8(a));
        find<QLineEdit>("lin_koef")->setText(QString::fromUtf8(b));
        find<QLineEdit>("abs_koef")->setText(QString::fromUtf8(c));
        solve();
        QCoreApplication::processEvents();
    }
};

TEST_F(StepsInWindow, FilledOnASolveAndEmptyAfterAFailure)
{
    open();
    find<QAction>("vypocet")->trigger();
    auto *view = find<StepsView>("stepsView");
    auto *tabs = find<QTabBar>("graphTabs");
    solve_problem("1", "-3", "2");
    EXPECT_FALSE(view->is_empty());
    EXPECT_FALSE(view->isVisibleTo(window_.get()));

    // The tab shows the working in the picture's place.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_TRUE(view->isVisibleTo(window_.get()));
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Diskriminant")));
    // Shown, it is filled at once by the next solve.
    solve_problem("1", "0", "-4");
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("Chybí lineární člen")));
    EXPECT_FALSE(find<QWidget>("solutionGraph")->isVisibleTo(window_.get()));
    EXPECT_EQ(view->geometry(), find<QWidget>("solutionGraph")->geometry());

    solve_problem("1", "x", "2");
    EXPECT_EQ(failures_.size(), 1u);
    EXPECT_TRUE(view->is_empty());
    EXPECT_TRUE(view->toPlainText().isEmpty());
}

// Once the task is edited after a solve, the graph and the working are
// paled and say they belong to the previous task, until the next solve.
struct StaleRow {
    const char *name;
    std::function<void(MainWindow &)> edit;
    bool stale;
};

class StaleViews : public StepsInWindow, public ::testing::WithParamInterface<StaleRow> {};

TEST_P(StaleViews, AreMarkedUntilTheNextSolve)
{
    const StaleRow &row = GetParam();
    open();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    find<QAction>("vypocet")->trigger();
    solve_problem("1", "-3", "2");
    auto *graph = find<QWidget>("solutionGraph");
    auto *box = find<QWidget>("graphBox");
    const QImage before = box->grab().toImage();
    auto *cover = find<QWidget>("staleCover");
    EXPECT_FALSE(cover->isVisibleTo(window_.get()));

    row.edit(*window_);
    QCoreApplication::processEvents();
    EXPECT_EQ(cover->isVisibleTo(window_.get()), row.stale);
    if (row.stale) {
        EXPECT_EQ(cover->accessibleName(),
                  QStringLiteral("Zadání se změnilo: graf a postup patří k předchozí úloze. "
                                 "Řešení nové úlohy ukáže tlačítko Vyřešit."));
        EXPECT_EQ(cover->geometry(), graph->geometry());
        // Paler: the darkest pixel of the picture is lighter than it was.
        const QImage after = box->grab().toImage();
        const QRect inside = graph->geometry().adjusted(0, graph->height() / 2, 0, 0);
        int darkest_before = 255;
        int darkest_after = 255;
        for (int y = inside.top(); y <= inside.bottom(); y += 2)
            for (int x = inside.left(); x <= inside.right(); x += 2) {
                darkest_before = std::min(darkest_before, qGray(before.pixel(x, y)));
                darkest_after = std::min(darkest_after, qGray(after.pixel(x, y)));
            }
        EXPECT_GT(darkest_after, darkest_before + 60);
        // The working's tab is marked as well.
        auto *tabs = find<QTabBar>("graphTabs");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        EXPECT_TRUE(cover->isVisibleTo(window_.get()));
    }

    solve();
    EXPECT_FALSE(cover->isVisibleTo(window_.get()));
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, StaleViews,
    ::testing::Values(
        StaleRow{"nothing_edited", [](MainWindow &) {}, false},
        StaleRow{"digit_typed",
                 [](MainWindow &window) { QTest::keyClicks(child<QLineEdit>(&window, "abs_koef"), QStringLiteral("5")); },
                 true},
        StaleRow{"edit_undone",
                 [](MainWindow &window) {
                     auto *c = child<QLineEdit>(&window, "abs_koef");
                     c->setFocus();
                     c->end(false);
                     QTest::keyClicks(c, QStringLiteral("5"));
                     QTest::keyClick(c, Qt::Key_Backspace);
                 },
                 false},
        StaleRow{"relation_changed", [](MainWindow &window) { child<QListWidget>(&window, "ListBox1")->setCurrentRow(2); },
                 true},
        StaleRow{"places_changed", [](MainWindow &window) { child<QListWidget>(&window, "desmista")->setCurrentRow(3); },
                 true}),
    row_name);

// Selected by keyboard and copied, the working comes out as its plain lines:
// a stacked fraction reads (−b ± √D)/(2a), not a cell a line.
TEST_F(StepsInWindow, CopyGivesThePlainLines)
{
    open();
    find<QAction>("vypocet")->trigger();
    solve_problem("2", "4", "-4");
    find<QTabBar>("graphTabs")->setCurrentIndex(1);
    auto *view = find<StepsView>("stepsView");
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    std::string expected;
    for (const std::string &line : plain_lines(*view->working()))
        expected += line + "\n";
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);
    EXPECT_NE(expected.find("−1 ± √3"), std::string::npos) << expected;
}

TEST_F(StepsInWindow, AttachingIsOffAtFirstAndKeptInItsOwnSection)
{
    open();
    auto *attach = find<QAction>("Prilozitpostup");
    EXPECT_TRUE(attach->isCheckable());
    EXPECT_FALSE(attach->isChecked());
    attach->trigger();
    window_->close();
    EXPECT_EQ(SettingsFile(settings_path().toStdString()).read_string("Dokument", "postupagraf", ""), "1");

    open();
    EXPECT_TRUE(find<QAction>("Prilozitpostup")->isChecked());
    EXPECT_TRUE(failures_.empty());
}

// The saved file with the option on and off: off, the bytes are the
// report's document alone, exactly as without the option.
class AttachedDocument : public StepsInWindow {
protected:
    QByteArray save_as(const char *name)
    {
        const QString chosen = path(name);
        const ReplacedSeam<SaveDialogs> dialogs{set_save_dialogs,
                                                {[&](QWidget *, const QString &) { return std::optional(chosen); },
                                                 [](const QString &, const QString &) {}}};
        find<QAction>("Ulozit")->trigger();
        QFile file(chosen + QStringLiteral(".rtf"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        return file.readAll();
    }
};

TEST_F(AttachedDocument, CarriesTheWorkingAndThePictureOnlyWhenAsked)
{
    open();
    find<QAction>("vypocet")->trigger();
    find<QListWidget>("ListBox1")->setCurrentRow(2); // ">": the working has a sign table
    solve_problem("2", "-3", "1");
    const std::string alone = rtf_document(ResultDocument{window_->document_lines()});
    EXPECT_EQ(save_as("off").toStdString(), alone);

    find<QAction>("Prilozitpostup")->trigger();
    const std::string on = save_as("on").toStdString();
    // The report's document first, as it is, less its closing brace.
    EXPECT_EQ(on.compare(0, alone.size() - 2, alone, 0, alone.size() - 2), 0);
    EXPECT_NE(on.find("Diskriminant:"), std::string::npos);
    EXPECT_NE(on.find("\\trowd"), std::string::npos);
    const std::size_t picture = on.find("{\\pict\\pngblip\\picw960\\pich720\\picwgoal7200\\pichgoal5400\n89504e47");
    EXPECT_NE(picture, std::string::npos);
    EXPECT_EQ(on.substr(on.size() - 3), "}}\n");
    // Braces balance, so a reader finds the picture's end and the document's.
    int depth = 0;
    for (std::size_t i = 0; i < on.size(); ++i) {
        if (on[i] == '\\') {
            ++i;
        } else if (on[i] == '{') {
            ++depth;
        } else if (on[i] == '}') {
            EXPECT_GE(--depth, 0) << i;
        }
    }
    EXPECT_EQ(depth, 0);

    find<QAction>("Prilozitpostup")->trigger();
    EXPECT_EQ(save_as("off_again").toStdString(), alone);
}

TEST_F(AttachedDocument, PrintoutCarriesTheWorkingAndThePicture)
{
    open();
    find<QAction>("vypocet")->trigger();
    solve_problem("1", "-3", "2");
    QTextDocument report;
    report.setPlainText(QStringLiteral("Řešení rovnice"));
    const std::unique_ptr<QTextDocument> printed = printed_with_attachment(
        report, find<StepsView>("stepsView")->working(), graph_picture(*find<SolutionGraph>("solutionGraph")));
    const QString text = printed->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Řešení rovnice\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Diskriminant")));
    EXPECT_TRUE(text.endsWith(QChar::ObjectReplacementCharacter));
    EXPECT_FALSE(printed->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("parvolin-graph.png"))).isNull());
}

// The printout goes from the report to the working and on to the picture as
// the saved document does, without a blank line, and has none below the
// tables: an empty line stands only where Qt must part two tables.
TEST_F(AttachedDocument, PrintoutHasNoBlankLines)
{
    open();
    find<QAction>("vypocet")->trigger();
    find<QListWidget>("ListBox1")->setCurrentRow(2);
    for (const auto &[a, b, c] : {std::array{"1", "-0,6", "0,09"}, std::array{"2", "-3", "1"}}) {
        solve_problem(a, b, c);
        QTextDocument report;
        report.setPlainText(QStringLiteral("Řešení\nVýpočet byl proveden pomocí programu"));
        QImage picture(4, 3, QImage::Format_RGB32);
        picture.fill(Qt::white);
        const std::unique_ptr<QTextDocument> printed =
            printed_with_attachment(report, find<StepsView>("stepsView")->working(), picture);
        EXPECT_TRUE(printed->lastBlock().text() == QString(QChar::ObjectReplacementCharacter));
        EXPECT_EQ(printed->lastBlock().blockFormat().alignment(), Qt::AlignHCenter);
        const auto in_table = [](const QTextBlock &block) {
            return block.isValid() && QTextCursor(block).currentTable() != nullptr;
        };
        for (QTextBlock block = printed->begin(); block.isValid(); block = block.next()) {
            if (block.text().isEmpty() && !in_table(block)) {
                EXPECT_TRUE(in_table(block.previous()) && in_table(block.next()))
                    << a << "; " << b << "; " << c << ": blank line after \"" << block.previous().text().toStdString()
                    << "\"";
            }
        }
    }
}

} // namespace
} // namespace parvolin
