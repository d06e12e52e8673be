// Where the exact result differs from the report, a line above the report
// and the caption under the picture say so, in the same words; they go with
// the next solve that agrees and are greyed with the graph once the task is
// edited.

#include "ui/main/solution_graph.h"

#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>

#include <gtest/gtest.h>

#include <string>

namespace parvolin {
namespace {

class Banner : public WindowTest {
protected:
    // The window as a Czech desktop has it: the comma typed and written.
    void open_czech()
    {
        open();
        RegionalSettings czech;
        czech.decimal_separator = ',';
        window_->set_regional_settings(czech);
        find<QAction>("vypocet")->trigger();
    }
    void solve_problem(const char *a, const char *b, const char *c, int relation)
    {
        find<QLineEdit>("kv_koef")->setText(QString::fromUtf8(a));
        find<QLineEdit>("lin_koef")->setText(QString::fromUtf8(b));
        find<QLineEdit>("abs_koef")->setText(QString::fromUtf8(c));
        find<QListWidget>("ListBox1")->setCurrentRow(relation);
        solve();
        QCoreApplication::processEvents();
    }
    QLabel *banner() { return find<QLabel>("disagreementBanner"); }
    bool banner_shown() { return banner()->isVisibleTo(window_.get()); }
    std::string caption()
    {
        const auto picture = find<SolutionGraph>("solutionGraph")->laid_out(QRectF(0, 0, 400, 300));
        return picture ? picture->caption() : std::string();
    }
};

struct BannerRow {
    const char *name;
    const char *a, *b, *c;
    int relation;
    const char *line; // "" where the report agrees and nothing is shown
};

class BannerRows : public Banner, public ::testing::WithParamInterface<BannerRow> {};

TEST_P(BannerRows, NamesTheExactResultAboveTheReportAndUnderThePicture)
{
    const BannerRow &row = GetParam();
    open_czech();
    solve_problem(row.a, row.b, row.c, row.relation);
    const std::string line = row.line;
    EXPECT_EQ(banner_shown(), !line.empty());
    EXPECT_EQ(banner()->accessibleName().toStdString(), line);
    if (line.empty())
        return;
    EXPECT_EQ(caption(), line);
    // Above the report, clear of it, and whole: the report keeps its lines.
    auto *memo = find<QPlainTextEdit>("vypisreseni");
    EXPECT_LE(banner()->geometry().bottom(), memo->geometry().top());
    EXPECT_GE(banner()->height(), banner()->heightForWidth(banner()->width()));
    EXPECT_EQ(memo->width(), 353);
    EXPECT_EQ(memo->geometry().bottom(), 16 + 169 - 1);
    EXPECT_EQ(memo->blockCount(), 7);
}

// The wording for each relation is the solver's own test; here, that the
// window shows it, and where.
constexpr int Eq = 0, Lt = 1, Gt = 2;

INSTANTIATE_TEST_SUITE_P(
    MainWindow, BannerRows,
    ::testing::Values(
        BannerRow{"touching_equation", "1", "-0,6", "0,09", Eq,
                  "Pozor: přesně vychází K = { 0,3 }, protokol se od toho liší. Důvod vysvětluje záložka Postup."},
        BannerRow{"touching_less_agrees", "1", "-0,6", "0,09", Lt, ""},
        BannerRow{"integer_roots_agree", "1", "-5", "6", Eq, ""}),
    row_name);

TEST_F(Banner, GreyedAfterAnEditAndGoneWithAnAgreeingSolve)
{
    open_czech();
    auto *memo = find<QPlainTextEdit>("vypisreseni");
    const QRect memo_place = memo->geometry();
    solve_problem("1", "-0,6", "0,09", Eq);
    ASSERT_TRUE(banner_shown());
    EXPECT_TRUE(banner()->isEnabled());
    EXPECT_TRUE(banner()->text().contains(QStringLiteral("<a href=\"postup\">záložka Postup</a>")));

    // Its link opens the working.
    QMetaObject::invokeMethod(banner(), "linkActivated", Q_ARG(QString, QStringLiteral("postup")));
    EXPECT_EQ(find<QTabBar>("graphTabs")->currentIndex(), 1);

    // The task edited: greyed with the graph, until the next solve.
    QTest::keyClicks(find<QLineEdit>("abs_koef"), QStringLiteral("1"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(banner_shown());
    EXPECT_FALSE(banner()->isEnabled());
    EXPECT_FALSE(banner()->text().contains(QStringLiteral("<a ")));

    solve_problem("1", "-5", "6", Eq);
    EXPECT_FALSE(banner_shown());
    EXPECT_EQ(memo->geometry(), memo_place);
    EXPECT_TRUE(caption().empty());

    // Back, and gone with a new task as the result box is.
    solve_problem("1", "-0,6", "0,09", Gt);
    EXPECT_TRUE(banner_shown());
    EXPECT_TRUE(banner()->isEnabled());
    find<QAbstractButton>("BitBtnNove")->click();
    EXPECT_FALSE(banner_shown());
}

} // namespace
} // namespace parvolin
