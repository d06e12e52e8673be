// From a click on "Vyřešit" to the result, the picture and the working
// painted, in an offscreen window.

#include "ui/main/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void solve_and_show(benchmark::State &state, int tab)
{
    QTemporaryDir folder;
    parvolin::MainWindow window(parvolin::RegionalSettings{}, folder.filePath(QStringLiteral("parvolin.ini")).toStdString());
    window.show();
    QCoreApplication::processEvents();
    window.findChild<QAction *>(QStringLiteral("vypocet"))->trigger();
    window.findChild<QLineEdit *>(QStringLiteral("kv_koef"))->setText(QStringLiteral("2"));
    window.findChild<QLineEdit *>(QStringLiteral("lin_koef"))->setText(QStringLiteral("-3"));
    window.findChild<QLineEdit *>(QStringLiteral("abs_koef"))->setText(QStringLiteral("1"));
    window.findChild<QListWidget *>(QStringLiteral("ListBox1"))->setCurrentRow(2);
    auto *solve = window.findChild<QAbstractButton *>(QStringLiteral("BitBtnVyresit"));
    solve->click();
    window.findChild<QTabBar *>(QStringLiteral("graphTabs"))->setCurrentIndex(tab);
    QCoreApplication::processEvents();
    QWidget *shown = window.findChild<QWidget *>(tab == 0 ? QStringLiteral("solutionGraph") : QStringLiteral("stepsView"));
    for (auto _ : state) {
        solve->click();
        // The view in front painted now, then whatever else the click
        // changed, as the next pass of the event loop would.
        shown->repaint();
        QCoreApplication::processEvents();
    }
}

void BM_SolveShowingTheGraph(benchmark::State &state) { solve_and_show(state, 0); }
void BM_SolveShowingTheWorking(benchmark::State &state) { solve_and_show(state, 1); }

BENCHMARK(BM_SolveShowingTheGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveShowingTheWorking)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
