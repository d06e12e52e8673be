// The about window: its texts, its glyph, and the ways its modal run ends.

#include "ui/aux/about_window.h"
#include "ui/main/main_window.h"

#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace parvolin {
namespace {

// Every blank counts.
const QStringList laws = {
    QStringLiteral("1. V každém programu je  alespoň jedna chyba."),
    QStringLiteral("2.  Každý program lze zkrátit alespoň o jeden řádek."),
    QStringLiteral("3. Banální chyby se nejhůře hledají."),
    QStringLiteral("4. Každou opravou se do progranu zanese nová chyba."),
    QStringLiteral("5. Když už se zdá, že je program  bez chyb , určitě jsme něco přehlédli."),
    QStringLiteral("6. Na závěr programujte vždy nějakou jednoduchou formalitu. "),
    QStringLiteral("   Určitě se v ní vyskytne zásadní problém jehož řešení zabere"),
    QStringLiteral("   daleko více času než hlavní část programu."),
    QStringLiteral("7. Jakmile je hotový program předán uživatelům, objevíte v něm "),
    QStringLiteral("   závažnou chybu."),
    QStringLiteral("8. Počítač nedělá to co chcete, ale to co mu nařídíte."),
    QStringLiteral("9. Programátor dělá, co umí. Počítač si dělá, co chce."),
};

QStringList text_lines(QWidget *about)
{
    return child<QPlainTextEdit>(about, "RichEdit1")->toPlainText().split(QLatin1Char('\n'));
}

// Ends whatever about window `owner` still holds after a while, so that a
// failed check cannot leave a test waiting in a modal run.
class Watchdog {
public:
    explicit Watchdog(QWidget *owner)
    {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [owner] {
            for (AboutWindow *about : owner->findChildren<AboutWindow *>())
                about->done(-1);
        });
        timer_.start(3000);
    }

private:
    QTimer timer_;
};

TEST(AboutWindow, HoldsItsTextsAndLayout)
{
    AboutWindow about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("O programu a programování"));
    const QLabel *caption = child<QLabel>(&about, "Label1");
    EXPECT_EQ(caption->text(), QStringLiteral("Tento program byl vyvíjen a testován v duchu  programátorských zákonů."));
    EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->width()) << "cut off";
    EXPECT_EQ(text_lines(&about), laws);
    EXPECT_FALSE(child<QPlainTextEdit>(&about, "RichEdit1")->isReadOnly());
    EXPECT_EQ(child<QAbstractButton>(&about, "BitBtn1")->text(), QStringLiteral("OK"));
    EXPECT_EQ(about.size(), QSize(464, 332));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_EQ(about.windowType(), Qt::Tool);
    EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(AboutWindow, OkGlyphIsDrawnWithoutItsBottomLeftColour)
{
    const QImage glyph = with_bottom_left_colour_transparent(QImage(QStringLiteral(":/assets/ok.png")));
    ASSERT_EQ(glyph.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(glyph.pixel(0, 31)), 0);
    EXPECT_EQ(qAlpha(glyph.pixel(31, 0)), 0) << "the ground, wherever it is";
    EXPECT_EQ(qAlpha(glyph.pixel(16, 22)), 255) << "the tick itself";
}

// One way of ending the modal run, done from inside it.
struct Ending {
    const char *name;
    std::function<void(QWidget *about)> act;
    int result;
};

class AboutEndings : public ::testing::TestWithParam<Ending> {};

void send_key(QWidget *to, Qt::Key key)
{
    QTest::keyClick(to, key);
}

TEST_P(AboutEndings, CloseTheWindowForGood)
{
    QWidget owner;
    owner.show();
    const Watchdog watchdog(&owner);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget *about = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<AboutWindow *>(about), nullptr);
        seen = true;
        EXPECT_EQ(about->parentWidget(), &owner);
        EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
        EXPECT_TRUE(about->isVisible());
        const QPoint centre = about->screen()->geometry().center();
        EXPECT_LE((about->frameGeometry().center() - centre).manhattanLength(), 2);
        GetParam().act(about);
    });
    EXPECT_EQ(run_about_window(&owner), GetParam().result);
    EXPECT_TRUE(seen);

    // Gone once deferred deletions have run: nothing stays hidden or comes back.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(owner.findChildren<AboutWindow *>().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    AboutWindow, AboutEndings,
    ::testing::Values(
        Ending{"ok_button", [](QWidget *about) { child<QAbstractButton>(about, "BitBtn1")->click(); },
               QDialog::Accepted},
        Ending{"space_on_ok",
               [](QWidget *about) {
                   QTest::keyClick(child<QAbstractButton>(about, "BitBtn1"), Qt::Key_Space);
               },
               QDialog::Accepted},
        Ending{"title_bar_close", [](QWidget *about) { about->close(); }, QDialog::Rejected},
        Ending{"escape_is_no_way_out",
               [](QWidget *about) {
                   send_key(child<QPlainTextEdit>(about, "RichEdit1"), Qt::Key_Escape);
                   send_key(about, Qt::Key_Escape);
                   EXPECT_TRUE(about->isVisible());
                   child<QAbstractButton>(about, "BitBtn1")->click();
               },
               QDialog::Accepted}),
    row_name);

TEST(AboutWindow, EveryCommandOpensAFreshWindowOwnedByTheMainWindow)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    MainWindow window(RegionalSettings{}, folder.filePath(QStringLiteral("parvolin.ini")).toStdString());
    window.show();
    auto *command = window.findChild<QAction *>(QStringLiteral("Oprogramu1"));
    ASSERT_NE(command, nullptr);
    const Watchdog watchdog(&window);

    // The first window's text is edited before OK; the second shows the laws.
    std::vector<QStringList> shown;
    for (int run = 0; run < 2; ++run) {
        QTimer::singleShot(0, [&] {
            QWidget *about = QApplication::activeModalWidget();
            ASSERT_NE(about, nullptr);
            EXPECT_EQ(about->parentWidget(), &window);
            shown.push_back(text_lines(about));
            child<QPlainTextEdit>(about, "RichEdit1")->setPlainText(QStringLiteral("upraveno"));
            child<QAbstractButton>(about, "BitBtn1")->click();
        });
        command->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.findChildren<AboutWindow *>().isEmpty());
    }
    ASSERT_EQ(shown.size(), 2U);
    EXPECT_EQ(shown[0], laws);
    EXPECT_EQ(shown[1], laws);
}

} // namespace
} // namespace parvolin
