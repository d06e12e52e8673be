// The picture of the solution offscreen: a few probe pixels of rendered
// pictures, the picture beside the computation view after solving, and
// copying and saving it with the save dialog replaced.

#include "ui/main/error_display.h"
#include "ui/main/main_window.h"
#include "ui/main/solution_graph.h"

#include "solver/solution.h"

#include "tests/ui/test_files.h"
#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace parvolin {
namespace {

constexpr QSize picture_size(350, 342);

// The problem solved and shown, as the window shows it, at the picture's size.
void show_at_picture_size(SolutionGraph &graph, const Problem &problem)
{
    graph.resize(picture_size);
    graph.show_solution(problem, analyse(problem), ',');
}

// A problem's picture, and the layout that says where its points are drawn.
struct Drawn {
    QImage image;
    std::optional<GraphPicture> layout;
};

Drawn draw(const Problem &problem)
{
    SolutionGraph graph;
    show_at_picture_size(graph, problem);
    return {graph.picture(1), graph.laid_out(QRectF(QPointF(0, 0), QSizeF(picture_size)))};
}

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

// Loose on purpose: antialiasing and fonts differ, the inks do not.
bool is_band(QColor c) { return c.green() > 110 && c.red() < 60 && c.blue() < 120; }
bool is_paper(QColor c) { return c.red() > 215 && c.green() > 215 && c.blue() > 215; }
bool is_curve(QColor c) { return c.blue() > c.red() + 60 && c.blue() > c.green() + 30; }
bool is_caption(QColor c) { return c.red() > c.blue() + 60 && c.red() > c.green() + 40; }

class PictureProbes : public ::testing::TestWithParam<PictureRow> {};

TEST_P(PictureProbes, ShowTheBandAndTheCurve)
{
    const PictureRow &row = GetParam();
    const auto [image, layout] = draw(row.problem);
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
    row_name);

// 1, -0.6, 0.09 has no root in the text: nothing green on the axis, although
// the curve reaches it, and the caption says why.
TEST(SolutionGraphPicture, TouchingCurveWithoutRootHasNoBandAndACaption)
{
    const auto [image, layout] = draw(Problem{1, -0.6, 0.09, Relation::Equal, 2});
    ASSERT_TRUE(layout.has_value());
    ASSERT_FALSE(layout->caption().empty());

    const QPointF vertex = layout->to_pixel(0.3, 0);
    EXPECT_TRUE(is_curve(image.pixelColor(vertex.toPoint())));
    const int axis = qRound(vertex.y());
    for (int x = 0; x < image.width(); ++x)
        for (int y = axis - 3; y <= axis + 3; ++y)
            ASSERT_FALSE(is_band(image.pixelColor(x, y))) << x << "," << y;
    int caption_pixels = 0;
    for (int y = qRound(layout->plot_area().bottom()); y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            caption_pixels += is_caption(image.pixelColor(x, y)) ? 1 : 0;
    EXPECT_GT(caption_pixels, 50);
}

// Extreme coefficients still give a picture: a good length of curve inside
// the plot, whatever the scale.
class ExtremePicture : public ::testing::TestWithParam<Problem> {};

TEST_P(ExtremePicture, ShowsTheCurve)
{
    const auto [image, layout] = draw(GetParam());
    ASSERT_TRUE(layout.has_value());
    const QRect plot = layout->plot_area().toRect();
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

class GraphInWindow : public WindowTest {};

TEST_F(GraphInWindow, ComesWithTheResultBoxAndIsEmptyAfterAFailedSolve)
{
    open();
    find<QAction>("vypocet")->trigger();
    auto *box = find<QGroupBox>("graphBox");
    auto *graph = find<SolutionGraph>("solutionGraph");
    auto *content = find<QWidget>("ScrollBox1Contents");
    const QWidget *viewport = find<QScrollArea>("ScrollBox1")->viewport();
    const int views_width = content->width();
    const auto solve_with_b = [&](const char *b) {
        find<QLineEdit>("lin_koef")->setText(QString::fromLatin1(b));
        solve();
        QCoreApplication::processEvents();
    };

    solve_with_b("-3");
    EXPECT_TRUE(box->isVisibleTo(window_.get()));
    EXPECT_FALSE(graph->is_empty());
    // The window has grown to show most of the picture without scrolling.
    const QRect seen = QRect(box->mapTo(viewport, QPoint(0, 0)), box->size()).intersected(viewport->rect());
    EXPECT_GT(seen.width(), box->width() / 2);
    // Closing the side panel makes the window narrow again, but not so
    // narrow that the picture goes out of view.
    const int width_with_graph = window_->frameGeometry().width();
    find<QAction>("Desetinnoddlova1")->trigger();
    find<QAbstractButton>("schovatnastav")->click();
    EXPECT_EQ(window_->frameGeometry().width(), width_with_graph);

    solve_with_b("x");
    EXPECT_EQ(failures_.size(), 1u);
    EXPECT_TRUE(box->isVisibleTo(window_.get()));
    EXPECT_TRUE(graph->is_empty());

    find<QAbstractButton>("BitBtnNove")->click();
    EXPECT_FALSE(box->isVisibleTo(window_.get()));
    EXPECT_EQ(content->width(), views_width) << "the views without the picture need no sideways scrolling";
}

// --- Copying and saving ----------------------------------------------------------------

class GraphFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        show_at_picture_size(graph_, Problem{1, -3, 2, Relation::Greater, 2});
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
    std::vector<QString> details_;
    ReplacedSeam<FailureDisplay> display_{set_failure_display,
                                          [this](const QString &text, const QString &detail) {
                                              failures_.push_back(text);
                                              details_.push_back(detail);
                                          }};
    ReplacedSeam<PictureFileDialog> dialog_{set_picture_file_dialog,
                                            [this](QWidget *, const QString &shown, const QString &, const QString &) {
                                                offered_.push_back(shown);
                                                return choice_;
                                            }};
};

TEST_F(GraphFiles, SavesPngOverAnOldFileAndSvg)
{
    write_file(path("graf.png"), "not a picture");
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

// A write that fails part-way (here: over the process's file-size limit,
// as a full disk or a quota would) names the file and the reason and leaves
// the old file whole.
TEST_F(GraphFiles, AFailedWriteSaysWhyAndKeepsTheOldFile)
{
    write_file(path("graf.png"), "old");
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &previous);
    rlimit limit{}, small{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    small = limit;
    small.rlim_cur = 512;
    ::setrlimit(RLIMIT_FSIZE, &small);
    run("savePicturePng", path("graf.png"));
    run("savePictureSvg", path("graf.svg"));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::sigaction(SIGXFSZ, &previous, nullptr);

    ASSERT_EQ(failures_.size(), 2u) << "a cut picture taken for saved";
    for (std::size_t i = 0; i < failures_.size(); ++i) {
        EXPECT_EQ(failures_[i], QStringLiteral("Failed to Save Stream."));
        EXPECT_TRUE(details_[i].startsWith(QStringLiteral("Soubor ") + folder_.path())) << details_[i].toStdString();
        EXPECT_TRUE(details_[i].endsWith(QStringLiteral(" se nepodařilo zapsat: soubor by byl příliš velký.")))
            << details_[i].toStdString();
    }
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{QStringLiteral("graf.png")});
    EXPECT_EQ(file_contents(path("graf.png")), QByteArray("old"));
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
