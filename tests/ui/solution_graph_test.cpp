// The picture of the solution offscreen: a few probe pixels of rendered
// pictures, the picture beside the computation view after solving, and
// copying and saving it with the save dialog replaced.

#include "ui/main/error_display.h"
#include "ui/main/main_window.h"
#include "ui/main/solution_graph.h"

#include "solver/solution.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace parvolin {
namespace {

constexpr QSize picture_size(350, 342);

// --- Probe pixels ----------------------------------------------------------------

enum class Ink { Band, NotBand, Paper, Curve };

struct Probe {
    double x;
    double y;
    Ink ink;
};

struct PictureRow {
    const char *name;
    Problem problem;
    std::vector<Probe> probes;
};

void PrintTo(const PictureRow &row, std::ostream *out) { *out << row.name; }

// Loose on purpose: antialiasing and fonts differ, the inks do not.
bool is_band(QColor c) { return c.green() > 110 && c.red() < 60 && c.blue() < 120; }
bool is_paper(QColor c) { return c.red() > 215 && c.green() > 215 && c.blue() > 215; }
bool is_curve(QColor c) { return c.blue() > c.red() + 60 && c.blue() > c.green() + 30; }
bool is_caption(QColor c) { return c.red() > c.blue() + 60 && c.red() > c.green() + 40; }

class PictureProbes : public ::testing::TestWithParam<PictureRow> {};

TEST_P(PictureProbes, ShowTheBandAndTheCurve)
{
    const PictureRow &row = GetParam();
    SolutionGraph graph;
    graph.resize(picture_size);
    graph.show_solution(row.problem, analyse(row.problem), ',');
    const QImage image = graph.picture(1);
    const std::optional<GraphPicture> layout = graph.laid_out(QRectF(QPointF(0, 0), QSizeF(picture_size)));
    ASSERT_TRUE(layout.has_value());
    for (const Probe &probe : row.probes) {
        const QPoint at = layout->to_pixel(probe.x, probe.y).toPoint();
        const QColor colour = image.pixelColor(at);
        SCOPED_TRACE(testing::Message() << "(" << probe.x << ", " << probe.y << ") at " << at.x() << "," << at.y()
                                        << " is " << colour.name().toStdString());
        switch (probe.ink) {
        case Ink::Band: EXPECT_TRUE(is_band(colour)); break;
        case Ink::NotBand: EXPECT_FALSE(is_band(colour)); break;
        case Ink::Paper: EXPECT_TRUE(is_paper(colour)); break;
        case Ink::Curve: EXPECT_TRUE(is_curve(colour)); break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    SolutionGraph, PictureProbes,
    ::testing::Values(
        // (1 ; 2): band between hollow dots, nothing outside, the vertex below.
        PictureRow{"open_interval",
                   {1, -3, 2, Relation::Less, 2},
                   {{1.5, 0, Ink::Band}, {1, 0, Ink::Paper}, {2, 0, Ink::Paper}, {0.5, 0, Ink::NotBand},
                    {2.7, 0, Ink::NotBand}, {1.5, -0.25, Ink::Curve}, {2.5, 1.8, Ink::Paper}}},
        // {1}: one filled dot, no band either side.
        PictureRow{"single_point",
                   {-1, 2, -1, Relation::GreaterEqual, 2},
                   {{1, 0, Ink::Band}, {0.5, 0, Ink::NotBand}, {1.6, 0, Ink::NotBand}, {2, -1, Ink::Curve}}},
        // Every x: the band along the whole axis under a horizontal line.
        PictureRow{"constant_all_reals",
                   {0, 0, -5, Relation::Less, 2},
                   {{-2, 0, Ink::Band}, {1.5, 0, Ink::Band}, {2.2, 0, Ink::Band}, {1, -5, Ink::Curve},
                    {1, -2.5, Ink::Paper}}}),
    [](const auto &info) { return std::string(info.param.name); });

// 1, -0.6, 0.09 has no root in the text: nothing green on the axis, although
// the curve reaches it, and the caption says why.
TEST(SolutionGraphPicture, TouchingCurveWithoutRootHasNoBandAndACaption)
{
    const Problem problem{1, -0.6, 0.09, Relation::Equal, 2};
    SolutionGraph graph;
    graph.resize(picture_size);
    graph.show_solution(problem, analyse(problem), ',');
    const QImage image = graph.picture(1);
    const GraphPicture layout = *graph.laid_out(QRectF(QPointF(0, 0), QSizeF(picture_size)));
    ASSERT_FALSE(layout.caption().empty());

    const QPointF vertex = layout.to_pixel(0.3, 0);
    EXPECT_TRUE(is_curve(image.pixelColor(vertex.toPoint())));
    const int axis = qRound(vertex.y());
    for (int x = 0; x < image.width(); ++x)
        for (int y = axis - 3; y <= axis + 3; ++y)
            ASSERT_FALSE(is_band(image.pixelColor(x, y))) << x << "," << y;
    int caption_pixels = 0;
    for (int y = qRound(layout.plot_area().bottom()); y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            caption_pixels += is_caption(image.pixelColor(x, y)) ? 1 : 0;
    EXPECT_GT(caption_pixels, 50);
}

// Extreme coefficients still give a picture: a good length of curve inside
// the plot, whatever the scale.
class ExtremePicture : public ::testing::TestWithParam<Problem> {};

TEST_P(ExtremePicture, ShowsTheCurve)
{
    const Problem &problem = GetParam();
    SolutionGraph graph;
    graph.resize(picture_size);
    graph.show_solution(problem, analyse(problem), ',');
    const QImage image = graph.picture(1);
    const QRect plot = graph.laid_out(QRectF(QPointF(0, 0), QSizeF(picture_size)))->plot_area().toRect();
    int curve_pixels = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x <= plot.right(); ++x)
            curve_pixels += is_curve(image.pixelColor(x, y)) ? 1 : 0;
    // Half the plot's width at least: near the double limit only a narrow
    // dip of the curve fits under the top of the view.
    EXPECT_GT(curve_pixels, plot.width() / 2);
}

INSTANTIATE_TEST_SUITE_P(SolutionGraph, ExtremePicture,
                         ::testing::Values(Problem{1e150, 0, -1e150, Relation::Less, 2},
                                           Problem{5e-324, 0, 1, Relation::Greater, 2},
                                           Problem{1, 0, 4e307, Relation::Greater, 2},
                                           Problem{1e-10, 0, 1.7e308, Relation::Greater, 2},
                                           Problem{1e-300, 1e-300, 1e-300, Relation::Equal, 2},
                                           Problem{-1e10, 0, 1, Relation::GreaterEqual, 6},
                                           Problem{0, -1e-200, 1e-200, Relation::Less, 2}));

// --- In the main window -------------------------------------------------------------

TEST(GraphInWindow, ComesWithTheResultBoxAndIsEmptyAfterAFailedSolve)
{
    std::vector<QString> failures;
    const FailureDisplay previous = set_failure_display([&](const QString &text) { failures.push_back(text); });
    QTemporaryDir folder;
    MainWindow window(RegionalSettings{}, folder.filePath(QStringLiteral("parvolin.ini")).toStdString());
    window.show();
    QCoreApplication::processEvents();
    window.findChild<QAction *>(QStringLiteral("vypocet"))->trigger();
    auto *box = window.findChild<QGroupBox *>(QStringLiteral("graphBox"));
    auto *graph = window.findChild<SolutionGraph *>(QStringLiteral("solutionGraph"));
    auto *content = window.findChild<QWidget *>(QStringLiteral("ScrollBox1Contents"));
    const QWidget *viewport = window.findChild<QScrollArea *>(QStringLiteral("ScrollBox1"))->viewport();
    const int views_width = content->width();
    const auto solve = [&](const char *b) {
        window.findChild<QLineEdit *>(QStringLiteral("lin_koef"))->setText(QString::fromLatin1(b));
        window.findChild<QAbstractButton *>(QStringLiteral("BitBtnVyresit"))->click();
        QCoreApplication::processEvents();
    };

    solve("-3");
    EXPECT_TRUE(box->isVisibleTo(&window));
    EXPECT_FALSE(graph->is_empty());
    // The window has grown to show most of the picture without scrolling.
    const QRect seen = QRect(box->mapTo(viewport, QPoint(0, 0)), box->size()).intersected(viewport->rect());
    EXPECT_GT(seen.width(), box->width() / 2);
    // Closing the side panel makes the window narrow again, but not so
    // narrow that the picture goes out of view.
    const int width_with_graph = window.frameGeometry().width();
    window.findChild<QAction *>(QStringLiteral("Desetinnoddlova1"))->trigger();
    window.findChild<QAbstractButton *>(QStringLiteral("schovatnastav"))->click();
    EXPECT_EQ(window.frameGeometry().width(), width_with_graph);

    solve("x");
    EXPECT_EQ(failures.size(), 1u);
    EXPECT_TRUE(box->isVisibleTo(&window));
    EXPECT_TRUE(graph->is_empty());

    window.findChild<QAbstractButton *>(QStringLiteral("BitBtnNove"))->click();
    EXPECT_FALSE(box->isVisibleTo(&window));
    EXPECT_EQ(content->width(), views_width) << "the views without the picture need no sideways scrolling";
    set_failure_display(previous);
}

// --- Copying and saving ----------------------------------------------------------------

class GraphFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        previous_display_ = set_failure_display([this](const QString &text) { failures_.push_back(text); });
        previous_dialog_ = set_picture_file_dialog(
            [this](QWidget *, const QString &shown, const QString &, const QString &) {
                offered_.push_back(shown);
                return choice_;
            });
        const Problem problem{1, -3, 2, Relation::Greater, 2};
        graph_.resize(picture_size);
        graph_.show_solution(problem, analyse(problem), ',');
    }

    void TearDown() override
    {
        set_picture_file_dialog(std::move(previous_dialog_));
        set_failure_display(std::move(previous_display_));
    }

    QString path(const char *name) const { return folder_.filePath(QString::fromLatin1(name)); }
    void run(const char *action, QString choice)
    {
        choice_ = std::move(choice);
        graph_.findChild<QAction *>(QString::fromLatin1(action))->trigger();
    }

    QTemporaryDir folder_;
    SolutionGraph graph_;
    QString choice_;
    std::vector<QString> offered_;
    std::vector<QString> failures_;
    FailureDisplay previous_display_;
    PictureFileDialog previous_dialog_;
};

TEST_F(GraphFiles, SavesPngOverAnOldFileAndSvg)
{
    QFile old(path("graf.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a picture");
    old.close();

    run("savePicturePng", path("graf.png"));
    EXPECT_EQ(QImage(path("graf.png")).size(), picture_size * 2) << "twice the pixels, for printing";
    run("savePictureSvg", path("graf.svg"));
    const QSvgRenderer svg(path("graf.svg"));
    EXPECT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), picture_size));
    // The dialog offers the last folder and name with its own suffix.
    ASSERT_EQ(offered_.size(), 2u);
    EXPECT_EQ(offered_[1], path("graf.svg"));
    EXPECT_TRUE(failures_.empty());
}

TEST_F(GraphFiles, CancelWritesNothingAndAFailureLeavesNothingBehind)
{
    run("savePicturePng", QString());
    const QString unreachable = path("missing/graf.svg");
    run("savePictureSvg", unreachable);
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_TRUE(failures_[0].startsWith(QStringLiteral("Cannot create file \"") + unreachable + QStringLiteral("\". ")))
        << failures_[0].toStdString();
    EXPECT_TRUE(QDir(folder_.path()).isEmpty());
}

TEST_F(GraphFiles, CtrlCOnTheGraphCopiesThePicture)
{
    auto *copy = graph_.findChild<QAction *>(QStringLiteral("copyPicture"));
    EXPECT_EQ(copy->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(copy->shortcutContext(), Qt::WidgetShortcut);
    QGuiApplication::clipboard()->clear();
    copy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), picture_size * graph_.devicePixelRatioF());

    graph_.clear();
    EXPECT_FALSE(copy->isEnabled());
}

} // namespace
} // namespace parvolin
