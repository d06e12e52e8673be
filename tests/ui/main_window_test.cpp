// The main window offscreen: views and commands, the solve command's effects
// on the window, the side panel, resizing, and the settings file at start and
// at the end. Sizes are outer (frame) sizes, as the window's rules are; the
// offscreen platform gives windows a thin frame once they are shown.

#include "ui/main/error_display.h"
#include "ui/main/main_window.h"
#include "ui/main/memo_rows.h"
#include "ui/aux/help_pages.h"
#include "ui/main/settings_file.h"

#include "solver/date_time_text.h"
#include "solver/report.h"

#include "tests/ui/test_files.h"
#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace parvolin {
namespace {

const std::string top_rule(31, '-');
const std::string bottom_rule(36, '-');

class MainWindowTest : public WindowTest {
protected:
    // A menu command by its shortcut, as the keyboard would run it.
    void press(const char *shortcut)
    {
        QAction *found = nullptr;
        for (QAction *action : window_->findChildren<QAction *>())
            if (action->shortcut() == QKeySequence(QString::fromLatin1(shortcut))) {
                ASSERT_EQ(found, nullptr) << "two commands on " << shortcut;
                found = action;
            }
        ASSERT_NE(found, nullptr) << shortcut;
        ASSERT_TRUE(found->isEnabled()) << shortcut;
        found->trigger();
    }

    // "Ctrl+..." runs a menu command, anything else clicks the button of that name.
    void run(const std::string &step)
    {
        if (step.starts_with("Ctrl+"))
            press(step.c_str());
        else
            find<QAbstractButton>(step.c_str())->click();
    }

    void set_coefficients(const char *a, const char *b, const char *c)
    {
        find<QLineEdit>("kv_koef")->setText(QString::fromUtf8(a));
        find<QLineEdit>("lin_koef")->setText(QString::fromUtf8(b));
        find<QLineEdit>("abs_koef")->setText(QString::fromUtf8(c));
    }

    QStringList memo_lines() { return find<QPlainTextEdit>("vypisreseni")->toPlainText().split(QLatin1Char('\n')); }

    bool shown(const char *name) { return find<QWidget>(name)->isVisibleTo(window_.get()); }

    // Ulozit, tisk and their tool buttons, which must always agree.
    bool result_commands_enabled()
    {
        const bool save = find<QAction>("Ulozit")->isEnabled();
        EXPECT_EQ(find<QAction>("tisk")->isEnabled(), save);
        EXPECT_EQ(find<QWidget>("ToolButtonuloz")->isEnabled(), save);
        EXPECT_EQ(find<QWidget>("ToolButtontisk")->isEnabled(), save);
        return save;
    }

    std::string read_key(const char *section, const char *key)
    {
        return SettingsFile(settings_path().toStdString()).read_string(section, key, "<absent>");
    }
};

// --- Views and commands -------------------------------------------------------

enum class State { Welcome, Entry, Result };

struct StateCase {
    const char *name;
    std::vector<std::string> steps;
    State state;
    const char *a_after; // kv_koef after the steps; the others follow it
};

class ViewStates : public MainWindowTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(ViewStates, CommandsLeadToTheStateOfTheTable)
{
    const StateCase &row = GetParam();
    open();
    set_coefficients("1", "-3", "2");
    find<QListWidget>("ListBox1")->setCurrentRow(3);
    bool solved = false;
    for (const std::string &step : row.steps) {
        run(step);
        solved = solved || step == "BitBtnVyresit";
    }

    const bool welcome = row.state == State::Welcome;
    EXPECT_EQ(shown("TextTeorie"), welcome);
    EXPECT_EQ(shown("zadaniBox"), !welcome);
    EXPECT_EQ(shown("vysledekBox"), row.state == State::Result);
    EXPECT_EQ(result_commands_enabled(), row.state == State::Result);
    EXPECT_EQ(find<QAbstractButton>("ToolButtonteorie")->isChecked(), welcome);
    EXPECT_EQ(find<QAbstractButton>("ToolButtonvypocet")->isChecked(), !welcome);
    EXPECT_EQ(find<QLabel>("StatusPanel2")->text(), welcome ? QStringLiteral("Teorie") : QStringLiteral("Výpočet"));
    EXPECT_EQ(find<QLineEdit>("kv_koef")->text(), QString::fromUtf8(row.a_after));
    const bool reset = std::string(row.a_after) == "0";
    EXPECT_EQ(find<QLineEdit>("lin_koef")->text(), reset ? QStringLiteral("0") : QStringLiteral("-3"));
    EXPECT_EQ(find<QLineEdit>("abs_koef")->text(), reset ? QStringLiteral("0") : QStringLiteral("2"));
    // Neither the views nor "Nové zadání" touch the selection or the last result.
    EXPECT_EQ(find<QListWidget>("ListBox1")->currentRow(), 3);
    EXPECT_EQ(memo_lines().size(), solved ? Report::line_count : 1);
    EXPECT_TRUE(failures_.empty());
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ViewStates,
    ::testing::Values(StateCase{"start", {}, State::Welcome, "1"},
                      StateCase{"computation", {"Ctrl+R"}, State::Entry, "1"},
                      StateCase{"solved", {"Ctrl+R", "BitBtnVyresit"}, State::Result, "1"},
                      StateCase{"solved_then_theory", {"Ctrl+R", "BitBtnVyresit", "Ctrl+T"}, State::Welcome, "1"},
                      StateCase{"solved_theory_computation", {"Ctrl+R", "BitBtnVyresit", "Ctrl+T", "Ctrl+R"},
                                State::Entry, "1"},
                      StateCase{"solved_twice", {"Ctrl+R", "BitBtnVyresit", "BitBtnVyresit"}, State::Result, "1"},
                      StateCase{"new_task", {"Ctrl+R", "BitBtnVyresit", "BitBtnNove"}, State::Entry, "0"},
                      StateCase{"toolbar_buttons", {"ToolButtonvypocet", "ToolButtonteorie"}, State::Welcome, "1"}),
    row_name);

TEST_F(MainWindowTest, StartsCentredWithFirstItemsAndClockCaptionsAlone)
{
    open();
    EXPECT_EQ(find<QListWidget>("ListBox1")->currentRow(), 0);
    EXPECT_EQ(find<QListWidget>("desmista")->currentRow(), 0);
    EXPECT_EQ(find<QLabel>("StatusPanel0")->text(), QStringLiteral("Datum:"));
    EXPECT_EQ(find<QLabel>("StatusPanel1")->text(), QStringLiteral("Čas:"));
    EXPECT_TRUE(find<QTimer>("Timer1")->isActive());
    EXPECT_EQ(find<QTimer>("Timer1")->interval(), 1000);
    // Centring wins over the stored (default) position.
    const QPoint centre = window_->screen()->availableGeometry().center();
    EXPECT_LE((window_->frameGeometry().center() - centre).manhattanLength(), 2);

    QMetaObject::invokeMethod(window_.get(), "Timer1Timer");
    const std::string date = "Datum:" + date_text(local_now(), window_->regional_settings());
    EXPECT_EQ(find<QLabel>("StatusPanel0")->text().toStdString(), date);
    EXPECT_TRUE(find<QLabel>("StatusPanel1")->text().startsWith(QStringLiteral("Čas:")));
    EXPECT_GT(find<QLabel>("StatusPanel1")->text().size(), 4);
}

// --- The solve command ----------------------------------------------------------

TEST_F(MainWindowTest, SolveFillsTheMemoAndFramesItsRowsInTheDocument)
{
    open();
    press("Ctrl+R");
    set_coefficients("1", "-3", "2");
    solve();

    const Report report = build_report(ProblemInput{"1", "-3", "2", 0, 0}, '.');
    QStringList expected;
    for (const std::string &line : report.lines)
        expected << QString::fromStdString(line);
    EXPECT_EQ(memo_lines(), expected);

    const std::vector<std::string> &document = window_->document_lines();
    ASSERT_GE(document.size(), 11u);
    EXPECT_EQ(document[0], "Datum:" + date_text(local_now(), window_->regional_settings()));
    EXPECT_EQ(document[1], top_rule);
    EXPECT_EQ(document[document.size() - 2], bottom_rule);
    EXPECT_EQ(document.back(), "Výpočet byl proveden pomocí programu \"Parvolin\" ");
    EXPECT_EQ(document.size(), display_rows(*find<QPlainTextEdit>("vypisreseni")).size() + 4);

    // RichEdit1 holds the same lines, one centred paragraph each, in Arial 14 pt.
    auto *rich_edit = find<QTextEdit>("RichEdit1");
    EXPECT_EQ(rich_edit->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(rich_edit->font().pointSize(), 14);
    EXPECT_FALSE(rich_edit->isVisibleTo(window_.get()));
    const QTextDocument *rich = rich_edit->document();
    ASSERT_EQ(rich->blockCount(), static_cast<int>(document.size()));
    int i = 0;
    for (QTextBlock block = rich->firstBlock(); block.isValid(); block = block.next(), ++i) {
        EXPECT_EQ(block.text().toStdString(), document[i]);
        EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    }
    EXPECT_TRUE(failures_.empty());
}

// Long report lines wrap in the memo; the document must get the rows the memo
// shows, also when the solve runs before the window was ever on screen.
class DocumentRows : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DocumentRows, AreTheRowsTheMemoShows)
{
    const bool shown_before_solving = GetParam();
    open(settings_path(), shown_before_solving);
    find<QAction>("vypocet")->trigger();
    set_coefficients("1", "0", "-2.5");
    find<QListWidget>("ListBox1")->setCurrentRow(1);
    find<QListWidget>("desmista")->setCurrentRow(4);
    solve();
    const std::vector<std::string> document = window_->document_lines();
    ASSERT_GT(document.size(), 7u + 4u) << "no report line was wrapped";

    window_->show();
    QCoreApplication::processEvents();
    const std::vector<std::string> on_screen = display_rows(*find<QPlainTextEdit>("vypisreseni"));
    EXPECT_EQ(std::vector<std::string>(document.begin() + 2, document.end() - 2), on_screen);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, DocumentRows, ::testing::Values(true, false),
                         [](const auto &info) { return info.param ? "shown" : "never_shown"; });

struct FailureCase {
    const char *name;
    char separator;
    const char *a;
    const char *b;
    const char *message;
};

class SolveFailures : public MainWindowTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SolveFailures, LeaveAnEmptyResultThatCanBeSavedAndPrinted)
{
    const FailureCase &row = GetParam();
    open();
    press("Ctrl+R");
    RegionalSettings regional;
    regional.decimal_separator = row.separator;
    window_->set_regional_settings(regional);
    set_coefficients("1", "-3", "2");
    solve(); // a result that the failing solve must take away
    ASSERT_FALSE(window_->document_lines().empty());

    set_coefficients(row.a, row.b, "2");
    solve();
    EXPECT_EQ(failures_, std::vector<QString>{QString::fromUtf8(row.message)});
    EXPECT_TRUE(find<QPlainTextEdit>("vypisreseni")->toPlainText().isEmpty());
    EXPECT_TRUE(window_->document_lines().empty());
    EXPECT_TRUE(find<QTextEdit>("RichEdit1")->toPlainText().isEmpty());
    EXPECT_TRUE(shown("vysledekBox"));
    EXPECT_TRUE(result_commands_enabled());
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, SolveFailures,
    ::testing::Values(
        FailureCase{"dot_with_regional_comma", ',', "1.5", "0", "'1.5' is not a valid floating point value."},
        FailureCase{"comma_with_regional_dot", '.', "1,5", "0", "'1,5' is not a valid floating point value."},
        FailureCase{"second_coefficient", '.', "1", "- 5", "'- 5' is not a valid floating point value."},
        FailureCase{"overflow", '.', "1E309", "0", "Floating point overflow."}),
    row_name);

// Enter acts as the window's default button would.
TEST_F(MainWindowTest, EnterInAnEntryControlSolves)
{
    open();
    press("Ctrl+R");
    for (const char *control : {"kv_koef", "lin_koef", "abs_koef", "ListBox1", "desmista"}) {
        SCOPED_TRACE(control);
        find<QAbstractButton>("BitBtnNove")->click();
        QTest::keyClick(find<QWidget>(control), Qt::Key_Return);
        EXPECT_TRUE(shown("vysledekBox"));
    }
}

TEST_F(MainWindowTest, RadioButtonsChooseTheSeparatorTheFieldsAccept)
{
    open();
    press("Ctrl+R");
    const struct {
        const char *radio;
        Qt::Key key; // typed with its own character
        const char *result;
    } rows[] = {{"RadioButton1", Qt::Key_Period, "1,"}, {"RadioButton2", Qt::Key_Comma, "1."}};
    QLineEdit *field = find<QLineEdit>("lin_koef");
    for (const auto &row : rows) {
        SCOPED_TRACE(row.radio);
        find<QRadioButton>(row.radio)->click();
        field->setText(QStringLiteral("1"));
        QTest::keyClick(field, row.key);
        EXPECT_EQ(field->text(), QString::fromLatin1(row.result));
    }
}

// --- Layout -------------------------------------------------------------------

class Resizing : public MainWindowTest, public ::testing::WithParamInterface<QSize> {};

TEST_P(Resizing, FollowsTheOuterWindowSize)
{
    open();
    resize_outer(GetParam());
    ASSERT_EQ(window_->frameGeometry().size(), GetParam());
    EXPECT_EQ(find<QScrollArea>("ScrollBox1")->size(), GetParam() - QSize(30, 120));
    EXPECT_EQ(find<QLabel>("StatusPanel0")->width(), 120);
    EXPECT_EQ(find<QLabel>("StatusPanel1")->width(), 100);
    EXPECT_EQ(find<QLabel>("StatusPanel2")->width(), find<QStatusBar>("StatusBar1")->width() - 220);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Resizing, ::testing::Values(QSize(600, 500), QSize(490, 520), QSize(800, 300)));

struct PanelCase {
    const char *name;
    const char *shortcut;
    const char *page;
    const char *close_button;
};

class SidePanel : public MainWindowTest, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(SidePanel, OpensWideningTheWindowAndClosesToWidth490)
{
    const PanelCase &row = GetParam();
    open();
    ASSERT_EQ(window_->frameGeometry().width(), 490);
    press(row.shortcut);
    QCoreApplication::processEvents();
    auto *panel = find<QTabWidget>("nastav");
    EXPECT_TRUE(shown("nastav"));
    EXPECT_EQ(panel->currentWidget()->objectName(), QString::fromLatin1(row.page));
    EXPECT_GE(window_->width(), panel->mapTo(window_.get(), QPoint(panel->width(), 0)).x());

    resize_outer(QSize(700, 400));
    find<QAbstractButton>(row.close_button)->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown("nastav"));
    EXPECT_EQ(window_->frameGeometry().width(), 490);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, SidePanel,
                         ::testing::Values(PanelCase{"separator", "Ctrl+D", "oddelovac", "schovatnastav"},
                                           PanelCase{"notation", "Ctrl+Z", "znaceni", "Button1"}),
                         row_name);

// --- Settings file --------------------------------------------------------------

struct StartSettingsCase {
    const char *name;
    const char *file; // nullptr: no file
    QSize size;
    bool dot;
    const char *first_caption; // nullptr: the default address
    std::size_t padding = 0;   // a comment line after the keys, making the file this large
    const char *failure = nullptr; // the message shown at start, if any
};

class StartSettings : public MainWindowTest, public ::testing::WithParamInterface<StartSettingsCase> {};

TEST_P(StartSettings, AreAppliedToTheWindow)
{
    const StartSettingsCase &row = GetParam();
    if (row.file != nullptr) {
        std::string text = row.file;
        if (row.padding > text.size())
            text += ";" + std::string(row.padding - text.size() - 2, 'x') + "\n";
        write_file(settings_path(), text);
    }
    open();
    EXPECT_EQ(failures_, row.failure != nullptr ? std::vector<QString>{QString::fromUtf8(row.failure)}
                                                : std::vector<QString>{});
    EXPECT_EQ(window_->frameGeometry().size(), row.size);
    EXPECT_EQ(find<QRadioButton>("RadioButton2")->isChecked(), row.dot);
    EXPECT_NE(find<QRadioButton>("RadioButton1")->isChecked(), row.dot);
    const std::string first = row.first_caption != nullptr ? row.first_caption : equations_page_address();
    EXPECT_EQ(find<QLabel>("Label19")->text().toStdString(), first);
    EXPECT_EQ(find<QLabel>("Label20")->text().toStdString(), inequalities_page_address());
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, StartSettings,
    ::testing::Values(StartSettingsCase{"first_start", nullptr, QSize(490, 520), false, nullptr},
                      StartSettingsCase{"hexadecimal_width_and_true_five",
                                        "[Form]\nWidth=0x200\nHeight=abc\n[Oddelovac]\ntecka=5\n", QSize(512, 520),
                                        true, nullptr},
                      StartSettingsCase{"own_address", "[Adresawebu]\nadresamehowebu=něco jiného\n", QSize(490, 520),
                                        false, "něco jiného"},
                      // The smallest size that shows the views whole.
                      StartSettingsCase{"zero_size", "[Form]\nWidth=0\nHeight=0\n", QSize(459, 496), false, nullptr},
                      StartSettingsCase{"negative_size", "[Form]\nWidth=-490\nHeight=-1\n", QSize(459, 496), false,
                                        nullptr},
                      StartSettingsCase{"tiny_size", "[Form]\nWidth=134\nHeight=104\n", QSize(459, 496), false,
                                        nullptr},
                      StartSettingsCase{"oversized_file",
                                        "[Form]\nWidth=600\n[Oddelovac]\ntecka=1\n[Adresawebu]\nadresamehowebu=jiná\n",
                                        QSize(490, 520), false, nullptr, max_settings_file_size + 1,
                                        "Soubor nastavení je příliš velký, program ho nečte ani nepřepíše."},
                      StartSettingsCase{"largest_file_read", "[Form]\nWidth=600\n", QSize(600, 520), false, nullptr,
                                        max_settings_file_size}),
    row_name);

// A huge settings file (sparse: 20 GB of nothing) is neither read nor
// rewritten, by closing or by "Konec".
class OversizedSettings : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(OversizedSettings, AreLeftAsTheyAre)
{
    const std::string path = settings_path().toStdString();
    write_file(settings_path(), "[Form]\nWidth=600\n");
    ASSERT_EQ(::truncate(path.c_str(), 20LL << 30), 0);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    open();
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(window_->frameGeometry().size(), QSize(490, 520));
    EXPECT_EQ(find<QLabel>("Label19")->text().toStdString(), equations_page_address());
    if (GetParam())
        press("Ctrl+K");
    window_->close();
    EXPECT_EQ(failures_.size(), 1u);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    ::unlink(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, OversizedSettings, ::testing::Values(false, true),
                         [](const auto &info) { return std::string(info.param ? "konec" : "close"); });

// The window closed, or ended by "Konec" first.
class EndSettings : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(EndSettings, WriteTheirKeys)
{
    const bool by_konec = GetParam();
    open();
    find<QRadioButton>("RadioButton2")->click();
    resize_outer(QSize(600, 450));
    const QRect outer = window_->frameGeometry();
    if (by_konec)
        press("Ctrl+K");
    window_->close(); // after "Konec" this writes nothing more

    EXPECT_EQ(read_key("Form", "Width"), "600");
    EXPECT_EQ(read_key("Form", "Height"), "450");
    EXPECT_EQ(read_key("Form", "Top"), std::to_string(outer.top()));
    EXPECT_EQ(read_key("Form", "Left"), std::to_string(outer.left()));
    EXPECT_EQ(read_key("Form", "Maximized"), "0");
    EXPECT_EQ(read_key("Oddelovac", "tecka"), "1");
    const std::string absent = "<absent>";
    EXPECT_EQ(read_key("Adresawebu", "adresamehowebu"), by_konec ? absent : equations_page_address());
    EXPECT_EQ(read_key("Adresawebu", "adresamehodruhehowebu"), by_konec ? absent : inequalities_page_address());
    EXPECT_TRUE(failures_.empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, EndSettings, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "konec" : "window_closed"; });

TEST_F(MainWindowTest, UnwritableSettingsFileIsReportedOnTheWayOut)
{
    const QString settings = path("missing/parvolin.ini");
    open(settings);
    press("Ctrl+K");
    EXPECT_EQ(failures_, std::vector<QString>{QStringLiteral("Unable to write to %1.").arg(settings)});
}

// The box says which file and why, under the message.
TEST_F(MainWindowTest, SettingsFailureShowsTheFileAndTheReason)
{
    const QString settings = path("parvolin.ini");
    ASSERT_TRUE(QFile::link(path("elsewhere.ini"), settings));
    open(settings);
    std::vector<QString> shown;
    const ReplacedSeam<FailureDisplay> display{set_failure_display, [&](const QString &text, const QString &detail) {
                                                   shown.push_back(text + QLatin1Char('|') + detail);
                                               }};
    press("Ctrl+K");
    EXPECT_EQ(shown, std::vector<QString>{QStringLiteral("Unable to write to %1.|Soubor %1 se nepodařilo zapsat: je "
                                                         "to symbolický odkaz a přes odkazy program nezapisuje.")
                                              .arg(settings)});
    EXPECT_FALSE(QFile::exists(path("elsewhere.ini")));
}

// --- The default error display ------------------------------------------------------

TEST(ErrorDisplay, ShowsAStopBoxCaptionedWithTheTitle)
{
    const ReplacedSeam<FailureDisplay> message_box(set_failure_display, {});
    bool application_modal = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    MessageBoxReader reader(0, [&](const QMessageBox &box) {
        application_modal = QApplication::activeModalWidget() == &box && box.windowModality() == Qt::ApplicationModal;
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = box.standardButtons();
    });
    show_failure("Floating point overflow");

    EXPECT_TRUE(application_modal);
    EXPECT_EQ(title, QStringLiteral("Parvolin"));
    EXPECT_EQ(text, QStringLiteral("Floating point overflow."));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(ErrorDisplay, AFailuresDetailIsTheInformativeText)
{
    const ReplacedSeam<FailureDisplay> message_box(set_failure_display, {});
    QString text;
    QString informative;
    MessageBoxReader reader(0, [&](const QMessageBox &box) {
        text = box.text();
        informative = box.informativeText();
    });
    run_handler([] { throw Failure("Unable to write to /x/parvolin.ini", "Soubor /x/parvolin.ini: Disk je plný."); });

    EXPECT_EQ(text, QStringLiteral("Unable to write to /x/parvolin.ini."));
    EXPECT_EQ(informative, QStringLiteral("Soubor /x/parvolin.ini: Disk je plný."));
}

} // namespace
} // namespace parvolin
