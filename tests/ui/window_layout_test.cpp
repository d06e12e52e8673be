// The window's width around the picture of the solution and the side panel:
// the panel never covers the picture or the views, the growth made for them
// is taken back and never stored, and the picture takes the room of a larger
// window while the views stay where they are.

#include "ui/main/settings_file.h"

#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace parvolin {
namespace {

class WindowLayout : public WindowTest {
protected:
    void command(const char *action)
    {
        find<QAction>(action)->trigger();
        QCoreApplication::processEvents();
    }
    void click(const char *button)
    {
        find<QAbstractButton>(button)->click();
        QCoreApplication::processEvents();
    }
    int outer_width() const { return window_->frameGeometry().width(); }
    // A control's rectangle in the window's coordinates.
    QRect in_window(const char *name)
    {
        QWidget *widget = find<QWidget>(name);
        return QRect(widget->mapTo(window_.get(), QPoint(0, 0)), widget->size());
    }
    // The picture shown whole: no scrolling, nothing over it, inside the window.
    void expect_graph_in_view()
    {
        auto *area = find<QScrollArea>("ScrollBox1");
        EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0);
        const QRect graph = in_window("graphBox");
        EXPECT_TRUE(window_->rect().contains(graph));
        if (find<QWidget>("nastav")->isVisibleTo(window_.get())) {
            EXPECT_FALSE(in_window("nastav").intersects(graph));
            EXPECT_FALSE(in_window("nastav").intersects(in_window("zadaniBox")));
            EXPECT_TRUE(window_->rect().contains(in_window("nastav")));
        }
    }
};

struct PanelCase {
    const char *name;
    const char *panel;
    const char *close_button;
    bool panel_first; // opened before the solve, or after it
};

class PanelBesideGraph : public WindowLayout, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(PanelBesideGraph, NeverCoversItAndClosesToTheWidthBefore)
{
    const PanelCase &row = GetParam();
    open();
    command("vypocet");
    if (row.panel_first)
        command(row.panel);
    const int before_solve = outer_width();
    solve();
    if (!row.panel_first) {
        const int before_panel = outer_width();
        command(row.panel);
        expect_graph_in_view();
        click(row.close_button);
        EXPECT_EQ(outer_width(), before_panel);
        return;
    }
    EXPECT_GT(outer_width(), before_solve);
    expect_graph_in_view();
    click(row.close_button);
    expect_graph_in_view();
    // Without the panel, only the picture keeps the window wide.
    command("teorie");
    EXPECT_EQ(outer_width(), 490);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, PanelBesideGraph,
                         ::testing::Values(PanelCase{"separator_after_solve", "Desetinnoddlova1", "schovatnastav", false},
                                           PanelCase{"notation_after_solve", "Pouitznaen1", "Button1", false},
                                           PanelCase{"separator_before_solve", "Desetinnoddlova1", "schovatnastav", true},
                                           PanelCase{"notation_before_solve", "Pouitznaen1", "Button1", true}),
                         row_name);

struct LeavingCase {
    const char *name;
    int user_width;        // 0: the window's first width, 490
    const char *leave;     // the command or button that leaves the result
    int width_after;
};

class LeavingTheResult : public WindowLayout, public ::testing::WithParamInterface<LeavingCase> {};

TEST_P(LeavingTheResult, GivesBackTheUsersWidthAndStoresIt)
{
    const LeavingCase &row = GetParam();
    open();
    command("vypocet");
    solve();
    QCoreApplication::processEvents();
    expect_graph_in_view();
    if (row.user_width != 0)
        resize_outer(QSize(row.user_width, window_->frameGeometry().height()));
    if (std::string(row.leave) == "BitBtnNove")
        click(row.leave);
    else
        command(row.leave);
    EXPECT_EQ(outer_width(), row.width_after);

    // A second solve and closing the window: the file gets the user's width,
    // not the growth.
    command("vypocet");
    solve();
    window_->close();
    EXPECT_EQ(SettingsFile(settings_path().toStdString()).read_string("Form", "Width", ""),
              std::to_string(row.width_after));
}

INSTANTIATE_TEST_SUITE_P(MainWindow, LeavingTheResult,
                         ::testing::Values(LeavingCase{"theory", 0, "teorie", 490},
                                           LeavingCase{"new_task", 0, "BitBtnNove", 490},
                                           LeavingCase{"computation", 0, "vypocet", 490},
                                           LeavingCase{"widened_by_the_user", 1100, "teorie", 1100}),
                         row_name);

TEST_F(WindowLayout, LargerWindowGivesThePictureTheRoomAndKeepsTheViews)
{
    open();
    command("vypocet");
    solve();
    const QRect views = in_window("zadaniBox");
    const QRect graph = in_window("graphBox");
    const QSize picture = find<QWidget>("solutionGraph")->size();

    resize_outer(QSize(1300, 900));
    EXPECT_EQ(in_window("zadaniBox"), views);
    EXPECT_EQ(in_window("graphBox").topLeft(), graph.topLeft());
    EXPECT_GT(find<QWidget>("solutionGraph")->width(), picture.width() + 300);
    EXPECT_GT(find<QWidget>("solutionGraph")->height(), picture.height() + 300);
    expect_graph_in_view();
    // The picture reaches the scrolling area's right and bottom, less a margin.
    auto *area = find<QScrollArea>("ScrollBox1");
    const QRect viewport(area->viewport()->mapTo(window_.get(), QPoint(0, 0)), area->viewport()->size());
    EXPECT_LE(viewport.right() - in_window("graphBox").right(), 8);
    EXPECT_LE(viewport.bottom() - in_window("graphBox").bottom(), 8);

    // Back to the smallest picture, the layout's; it never shrinks below it.
    resize_outer(QSize(600, 400));
    // (The box's height less its bottom frame and the tabs above the picture.)
    const int tabs = std::max(16, find<QTabBar>("graphTabs")->sizeHint().height());
    EXPECT_EQ(find<QWidget>("solutionGraph")->size(), QSize(350, 366 - 8 - tabs));
}

// At any width the user gives the window, the picture leaves the captions
// of its tabs whole, and the side panel covers no part of the picture that
// shows in the scrolling area.
class AnyWidth : public WindowLayout, public ::testing::WithParamInterface<int> {};

TEST_P(AnyWidth, TabsAndPanelStayClearOfThePicture)
{
    open();
    command("vypocet");
    solve();
    for (bool panel : {false, true}) {
        if (panel)
            command("Desetinnoddlova1");
        resize_outer(QSize(GetParam(), 520));
        auto *tabs = find<QTabBar>("graphTabs");
        EXPECT_GE(tabs->height(), tabs->sizeHint().height());
        EXPECT_FALSE(in_window("graphTabs").intersects(in_window("solutionGraph")));
        auto *area = find<QScrollArea>("ScrollBox1");
        const QRect viewport(area->viewport()->mapTo(window_.get(), QPoint(0, 0)), area->viewport()->size());
        const QRect graph_shown = in_window("graphBox") & viewport;
        if (panel) {
            EXPECT_FALSE(in_window("nastav").intersects(graph_shown)) << "at " << outer_width();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindow, AnyWidth, ::testing::Values(300, 490, 700, 900, 1300));

// Narrower than the views, the picture and the open side panel together, the
// window scrolls them; wherever it is scrolled to, the part of the picture on
// screen and the part of the panel on screen never meet. 0 is the window
// maximised.
class ScrolledWidth : public WindowLayout, public ::testing::WithParamInterface<int> {
protected:
    // What shows of a control: its rectangle, cut by each of its parents.
    QRect shown_part(const char *name)
    {
        QWidget *widget = find<QWidget>(name);
        QRect shown = in_window(name);
        for (QWidget *parent = widget->parentWidget(); parent != nullptr && parent != window_.get();
             parent = parent->parentWidget())
            shown &= QRect(parent->mapTo(window_.get(), QPoint(0, 0)), parent->size());
        return shown;
    }
};

TEST_P(ScrolledWidth, PanelAndPictureNeverMeet)
{
    open();
    command("vypocet");
    solve();
    command("Desetinnoddlova1");
    if (GetParam() == 0) {
        window_->showMaximized();
        QCoreApplication::processEvents();
    } else {
        resize_outer(QSize(GetParam(), 520));
    }
    auto *bar = find<QScrollArea>("ScrollBox1")->horizontalScrollBar();
    const int last = bar->maximum();
    for (int at : {0, last / 3, last / 2, last}) {
        bar->setValue(at);
        QCoreApplication::processEvents();
        const QRect panel = shown_part("nastav");
        const QRect graph = shown_part("graphBox");
        EXPECT_FALSE(panel.intersects(graph)) << "at " << outer_width() << ", scrolled " << at << " of " << last;
        EXPECT_FALSE(panel.intersects(shown_part("zadaniBox"))) << "at " << outer_width() << ", scrolled " << at;
    }
    // Unscrolled, the panel is whole where it was.
    bar->setValue(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown_part("nastav").size(), find<QWidget>("nastav")->size());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, ScrolledWidth, ::testing::Values(459, 700, 900, 1280, 0));

// At the window's least width (the one a start with a stored size too small
// gives) and wider, every command of the toolbar shows, none of them behind the overflow's "»", and
// every caption whole.
class ToolbarWidth : public WindowLayout, public ::testing::WithParamInterface<int> {};

TEST_P(ToolbarWidth, ShowsEveryCommand)
{
    open();
    command("vypocet");
    solve();
    resize_outer(QSize(GetParam(), 520));
    ASSERT_EQ(outer_width(), GetParam());
    auto *bar = find<QWidget>("ToolBar1");
    for (const char *name : {"ToolButtonteorie", "ToolButtonvypocet", "ToolButtonuloz", "ToolButtontisk"}) {
        auto *button = find<QAbstractButton>(name);
        EXPECT_TRUE(button->isVisible()) << name << " at " << outer_width();
        EXPECT_TRUE(bar->rect().contains(button->geometry())) << name << " at " << outer_width();
        EXPECT_GE(button->width(), button->sizeHint().width()) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindow, ToolbarWidth, ::testing::Values(459, 490, 1280));

// Texts that the desktop's wider font would cut: whole, in their places.
TEST_F(WindowLayout, TextsFitWhereTheLayoutPutsThem)
{
    open();
    auto *tabs = find<QTabWidget>("nastav");
    EXPECT_EQ(tabs->elideMode(), Qt::ElideNone);
    EXPECT_LE(tabs->tabBar()->sizeHint().width(), tabs->width());
    auto *label = find<QLabel>("desmistatext");
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    // A gap between the label and its list.
    EXPECT_GE(find<QWidget>("desmista")->geometry().left() - label->geometry().right(), 4);
    // The legend's second column starts at one place in every line.
    std::vector<int> columns;
    for (const char *name : {"Label14", "Label15", "Label16", "Label17", "Label18"}) {
        auto *line = find<QLabel>(name);
        const QString text = line->text();
        const qsizetype second = text.indexOf(QRegularExpression(QStringLiteral("\\S"), QRegularExpression::NoPatternOption), text.indexOf(QLatin1Char(' ')));
        columns.push_back(line->fontMetrics().horizontalAdvance(text.left(second)));
        EXPECT_LE(line->fontMetrics().horizontalAdvance(text), line->width()) << name;
    }
    EXPECT_EQ(std::count(columns.begin(), columns.end(), columns.front()), 5);

    // The computation view's frame runs above Panel1, not through it.
    auto *box = find<QGroupBox>("zadaniBox");
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect frame = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, box);
    EXPECT_LT(frame.top(), find<QWidget>("Panel1")->geometry().top());
}

} // namespace
} // namespace parvolin
