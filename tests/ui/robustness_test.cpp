// What a disk that refuses the settings, a settings file of junk and a huge
// coefficient text do to the program: it answers with its messages, stays
// responsive, ends when asked to, and keeps what it had.
//
// The times measured are printed; the bounds asserted are generous, so that
// a loaded machine does not fail the suite. The solve's own speed is the
// benchmark's business (BM_HugeCoefficientText).

#include "ui/aux/help_pages.h"
#include "ui/main/error_display.h"
#include "ui/main/main_window.h"
#include "ui/main/settings_file.h"

#include "solver/failures.h"
#include "solver/report.h"

#include "tests/ui/test_files.h"
#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parvolin {
namespace {

double milliseconds(const QElapsedTimer &clock)
{
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Runs the program's event loop with `command` as its first event, as the
// running program would handle a command. True when the program then ends by
// itself (the loop returns 0) within ten seconds.
bool ends_by_itself(const std::function<void()> &command)
{
    // Left over from earlier tests: whatever is pending must not count.
    QCoreApplication::processEvents();
    bool timed_out = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [&timed_out] {
        timed_out = true;
        QCoreApplication::exit(1);
    });
    limit.start(10'000);
    QTimer::singleShot(0, qApp, command);
    const int code = QCoreApplication::exec();
    return code == 0 && !timed_out;
}

class RobustnessTest : public WindowTest {};

// --- A settings file that cannot be written -------------------------------------------------

// A file size limit: the write that would pass it fails as a full disk
// fails it (the write stops short and reports an error) instead of killing
// the process. Lifted again at the end of the scope.
class NoRoomBeyond {
public:
    explicit NoRoomBeyond(rlim_t bytes)
    {
        previous_signal_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~NoRoomBeyond()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previous_signal_);
    }
    NoRoomBeyond(const NoRoomBeyond &) = delete;
    NoRoomBeyond &operator=(const NoRoomBeyond &) = delete;

private:
    rlimit previous_{};
    void (*previous_signal_)(int) = nullptr;
};

// Root passes every permission check; where a test needs a file that cannot
// be written, the write runs as an ordinary user then.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : dropped_(::geteuid() == 0 && ::seteuid(65534) == 0) {}
    ~AsOrdinaryUser()
    {
        if (dropped_ && ::seteuid(0) != 0)
            std::abort(); // the rest of the suite would run without its rights
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;

private:
    bool dropped_;
};

bool can_act_as_ordinary_user()
{
    const AsOrdinaryUser user;
    return ::geteuid() != 0;
}

enum class Obstacle {
    FolderIsAFile,    // the settings folder's name is taken by a file
    NoRoomForNextKey, // room for the window's keys, none for the separator's section
    ReadOnly,         // the file and its folder are read-only
};

struct WriteFailureCase {
    const char *name;
    Obstacle obstacle;
    bool by_konec; // "Konec", or closing the window
};

class SettingsWriteFailure : public RobustnessTest, public ::testing::WithParamInterface<WriteFailureCase> {};

// The same number of characters as `value`, but a different number, so that
// rewriting it changes the file and keeps its size.
std::string other_of_same_width(int value)
{
    const std::string text = std::to_string(value);
    const char digit = text.back() == '9' ? '8' : '9';
    return (value < 0 ? "-" : "") + std::string(text.size() - (value < 0 ? 1 : 0), digit);
}

TEST_P(SettingsWriteFailure, IsReportedTheProgramEndsAndEarlierKeysStay)
{
    const WriteFailureCase &row = GetParam();
    if (row.obstacle == Obstacle::ReadOnly && !can_act_as_ordinary_user())
        GTEST_SKIP() << "running as root without the right to act as another user";

    const QString settings_folder = path("settings");
    const QString settings = settings_folder + QStringLiteral("/parvolin.ini");
    QString watched = settings; // the file whose contents are checked afterwards
    if (row.obstacle == Obstacle::FolderIsAFile) {
        watched = settings_folder;
        write_file(settings_folder, "a file, not a folder\n");
    } else {
        ASSERT_TRUE(QDir().mkdir(settings_folder));
    }
    open(settings);
    resize_outer(QSize(600, 450));
    const QRect outer = window_->frameGeometry();

    // The keys the window writes first, [Form], are in the file with other
    // values of the same widths: rewriting them keeps the size. What the
    // blocked path holds afterwards: the file that was there, untouched, as
    // all the keys are written in one rewrite.
    const auto form_keys = [](const std::string &top, const std::string &left, const char *height,
                              const char *width, const char *maximized) {
        return "[Form]\nTop=" + top + "\nLeft=" + left + "\nHeight=" + height + "\nWidth=" + width
               + "\nMaximized=" + maximized + "\n";
    };
    const std::string before =
        form_keys(other_of_same_width(outer.top()), other_of_same_width(outer.left()), "777", "888", "1");
    std::string after = before;
    switch (row.obstacle) {
    case Obstacle::FolderIsAFile:
        after = "a file, not a folder\n";
        break;
    case Obstacle::NoRoomForNextKey:
        write_file(settings, before);
        break; // all keys go in one rewrite: a failure leaves the file as it was
    case Obstacle::ReadOnly:
        write_file(settings, before);
        ::chmod(QFile::encodeName(folder_.path()).constData(), 0755); // open to the ordinary user
        ::chmod(QFile::encodeName(settings).constData(), 0444);
        ::chmod(QFile::encodeName(settings_folder).constData(), 0555);
        break;
    }
    const QStringList entries_before = QDir(folder_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

    const bool ended = ends_by_itself([&] {
        std::unique_ptr<NoRoomBeyond> limit;
        std::unique_ptr<AsOrdinaryUser> user;
        if (row.obstacle == Obstacle::NoRoomForNextKey)
            limit = std::make_unique<NoRoomBeyond>(before.size());
        if (row.obstacle == Obstacle::ReadOnly)
            user = std::make_unique<AsOrdinaryUser>();
        if (row.by_konec)
            find<QAction>("Konec1")->trigger();
        else
            window_->close();
    });
    ::chmod(QFile::encodeName(settings_folder).constData(), 0755);

    EXPECT_TRUE(ended);
    EXPECT_EQ(failures_, std::vector<QString>{QStringLiteral("Unable to write to %1.").arg(settings)});
    EXPECT_EQ(file_contents(watched).toStdString(), after);
    // Nothing half-written is left beside it.
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), entries_before);
    if (row.obstacle != Obstacle::FolderIsAFile) {
        EXPECT_EQ(QDir(settings_folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                  QStringList{QStringLiteral("parvolin.ini")});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Robustness, SettingsWriteFailure,
    ::testing::Values(WriteFailureCase{"folder_is_a_file_konec", Obstacle::FolderIsAFile, true},
                      WriteFailureCase{"folder_is_a_file_closed", Obstacle::FolderIsAFile, false},
                      WriteFailureCase{"no_room_for_the_separator_konec", Obstacle::NoRoomForNextKey, true},
                      WriteFailureCase{"no_room_for_the_separator_closed", Obstacle::NoRoomForNextKey, false},
                      WriteFailureCase{"read_only_konec", Obstacle::ReadOnly, true},
                      WriteFailureCase{"read_only_closed", Obstacle::ReadOnly, false}),
    row_name);

// With the real message box: the program ends only once the message has been
// read, not while it is on screen.
TEST_F(RobustnessTest, TheMessageStaysUntilReadThenTheProgramEnds)
{
    set_failure_display({});
    const QString blocker = path("settings");
    write_file(blocker, "");
    const QString settings = blocker + QStringLiteral("/parvolin.ini");
    open(settings);

    QString shown;
    // Looking every 200 ms leaves time enough for the program to end early, if it would.
    MessageBoxReader reader(200, [&](const QMessageBox &box) { shown = box.text(); });
    EXPECT_TRUE(ends_by_itself([&] { find<QAction>("Konec1")->trigger(); }));
    EXPECT_EQ(shown, QStringLiteral("Unable to write to %1.").arg(settings));
}

// --- A settings file of junk ------------------------------------------------------------------

// As much junk as a settings file may hold, leaving room for the keys the
// program adds; a larger file is not read at all (see OversizedSettings).
constexpr std::size_t junk_size = max_settings_file_size - 1024;

std::string random_bytes()
{
    std::mt19937 random(20240601);
    std::string junk(junk_size, '\0');
    for (char &c : junk)
        c = static_cast<char>(random());
    return junk;
}

std::string one_line_without_a_break()
{
    std::string junk(junk_size, 'x');
    for (std::size_t i = 0; i < junk.size(); i += 97)
        junk[i] = '=';
    return junk;
}

// Sections, entries, comments and broken lines, none of them the program's.
std::string lines_like_settings()
{
    std::string junk;
    junk.reserve(junk_size + 100);
    for (int n = 0; junk.size() < junk_size; ++n)
        junk += "[Sekce " + std::to_string(n) + "]\r\nklic=hodnota\r\n; Width=1\r\n=bez klice\r\n[Form\r\n"
                + "Top\r\n\r\n";
    return junk;
}

struct JunkCase {
    const char *name;
    std::string (*junk)();
};

class JunkSettings : public RobustnessTest, public ::testing::WithParamInterface<JunkCase> {};

TEST_P(JunkSettings, StartWithDefaultsAndSurviveTheNextWrite)
{
    const std::string junk = GetParam().junk();
    const QString settings = path("parvolin.ini");
    write_file(settings, junk);

    QElapsedTimer clock;
    clock.start();
    open(settings);
    const double start_ms = milliseconds(clock);
    EXPECT_EQ(window_->frameGeometry().size(), QSize(490, 520));
    EXPECT_TRUE(find<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_EQ(find<QLabel>("Label19")->text().toStdString(), equations_page_address());
    EXPECT_EQ(find<QLabel>("Label20")->text().toStdString(), inequalities_page_address());

    double close_ms = 0;
    EXPECT_TRUE(ends_by_itself([&] {
        clock.restart();
        window_->close();
        close_ms = milliseconds(clock);
    }));
    std::printf("%s: start %.0f ms, close (eight keys written) %.0f ms\n", GetParam().name, start_ms, close_ms);
    EXPECT_LT(start_ms, 20'000.0);
    EXPECT_LT(close_ms, 60'000.0);
    EXPECT_TRUE(failures_.empty());

    // The junk is all still there, the program's keys after it.
    const std::string written = file_contents(settings).toStdString();
    ASSERT_GT(written.size(), junk.size());
    EXPECT_TRUE(written.compare(0, junk.size(), junk) == 0) << "the junk was changed";
    const SettingsFile file(settings.toStdString());
    EXPECT_EQ(file.read_integer("Form", "Width", 0), 490);
    EXPECT_EQ(file.read_integer("Form", "Height", 0), 520);
    EXPECT_EQ(file.read_string("Oddelovac", "tecka", ""), "0");
    EXPECT_EQ(file.read_string("Adresawebu", "adresamehowebu", ""), equations_page_address());
}

INSTANTIATE_TEST_SUITE_P(Robustness, JunkSettings,
                         ::testing::Values(JunkCase{"random_bytes", &random_bytes},
                                           JunkCase{"one_line_without_a_break", &one_line_without_a_break},
                                           JunkCase{"lines_like_settings", &lines_like_settings}),
                         row_name);

// A pipe where the settings file should be: reading it must not wait for a
// writer that never comes, and writing to it is refused.
TEST_F(RobustnessTest, SettingsPathThatIsAPipe)
{
    const QString settings = path("parvolin.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(settings).constData(), 0600), 0);
    QElapsedTimer clock;
    clock.start();
    open(settings);
    std::printf("start with a pipe as settings file: %.0f ms\n", milliseconds(clock));
    EXPECT_EQ(window_->frameGeometry().size(), QSize(490, 520));
    EXPECT_TRUE(ends_by_itself([&] { window_->close(); }));
    EXPECT_EQ(failures_, std::vector<QString>{QStringLiteral("Unable to write to %1.").arg(settings)});
}

// --- A huge coefficient text --------------------------------------------------------------------

constexpr int huge_length = 100'000;

struct HugeTextCase {
    const char *name;
    const char *field;
    QString (*text)();
    bool paste; // through the clipboard, else put in as a whole
};

QString ones() { return QString(huge_length, QLatin1Char('1')); }
QString zeros_then_one() { return QString(huge_length - 1, QLatin1Char('0')) + QLatin1Char('1'); }
QString tiny_fraction() { return QStringLiteral("0,") + QString(huge_length - 3, QLatin1Char('0')) + QLatin1Char('7'); }
QString minus_signs() { return QString(huge_length, QLatin1Char('-')); }
QString long_exponent() { return QStringLiteral("1E") + QString(huge_length - 2, QLatin1Char('9')); }
QString czech_letters() { return QString(huge_length, QChar(u'ř')); }

class HugeCoefficient : public RobustnessTest, public ::testing::WithParamInterface<HugeTextCase> {};

TEST_P(HugeCoefficient, IsAnsweredQuickly)
{
    const HugeTextCase &row = GetParam();
    open();
    RegionalSettings regional;
    regional.decimal_separator = ',';
    window_->set_regional_settings(regional);
    find<QAction>("vypocet")->trigger();
    auto *other_field = find<QLineEdit>(std::string(row.field) == "lin_koef" ? "abs_koef" : "lin_koef");
    other_field->setText(QStringLiteral("-3"));
    auto *field = find<QLineEdit>(row.field);
    const QString text = row.text();
    if (row.paste) {
        field->selectAll();
        QApplication::clipboard()->setText(text);
        field->paste();
    } else {
        field->setText(text);
    }
    // A line edit holds as much of it as its length limit lets in.
    ASSERT_FALSE(field->text().isEmpty());
    ASSERT_TRUE(text.startsWith(field->text()));

    QElapsedTimer clock;
    clock.start();
    solve();
    const double solve_ms = milliseconds(clock);
    std::printf("%s: %lld of %d characters in the field, solved in %.2f ms\n", row.name,
                static_cast<long long>(field->text().size()), huge_length, solve_ms);
    EXPECT_LT(solve_ms, 500.0);

    // The answer is the solver's for what the fields hold: its report or its message.
    const std::string a = find<QLineEdit>("kv_koef")->text().toStdString();
    const std::string b = find<QLineEdit>("lin_koef")->text().toStdString();
    const std::string c = find<QLineEdit>("abs_koef")->text().toStdString();
    QStringList expected_memo;
    std::vector<QString> expected_failures;
    try {
        for (const std::string &line : build_report(ProblemInput{a, b, c, 0, 0}, ',').lines)
            expected_memo << QString::fromStdString(line);
    } catch (const std::exception &failure) {
        expected_failures.push_back(QString::fromStdString(error_display_text(failure.what())));
    }
    EXPECT_EQ(failures_, expected_failures);
    EXPECT_EQ(find<QPlainTextEdit>("vypisreseni")->toPlainText(), expected_memo.join(QLatin1Char('\n')));
    // The text stays in the field for the next try.
    EXPECT_TRUE(text.startsWith(field->text()));
    EXPECT_EQ(other_field->text(), QStringLiteral("-3"));
}

INSTANTIATE_TEST_SUITE_P(
    Robustness, HugeCoefficient,
    ::testing::Values(HugeTextCase{"digits_beyond_the_double_range", "kv_koef", &ones, false},
                      HugeTextCase{"leading_zeros_of_a_one", "kv_koef", &zeros_then_one, true},
                      HugeTextCase{"fraction_below_the_smallest_double", "abs_koef", &tiny_fraction, false},
                      HugeTextCase{"minus_signs", "lin_koef", &minus_signs, true},
                      HugeTextCase{"exponent_of_many_digits", "abs_koef", &long_exponent, false},
                      HugeTextCase{"czech_letters", "kv_koef", &czech_letters, true}),
    row_name);

// The message of a refused huge text, in the real message box.
TEST_F(RobustnessTest, HugeTextMessageBoxOpensAndClosesQuickly)
{
    set_failure_display({});
    open();
    find<QAction>("vypocet")->trigger();
    find<QLineEdit>("kv_koef")->setText(minus_signs());

    double shown_ms = -1;
    QElapsedTimer clock;
    MessageBoxReader reader(0, [&](const QMessageBox &) { shown_ms = milliseconds(clock); });
    clock.start();
    solve();
    const double total_ms = milliseconds(clock);
    std::printf("message box of a %lld-character message: shown after %.1f ms, closed after %.1f ms\n",
                static_cast<long long>(find<QLineEdit>("kv_koef")->text().size()), shown_ms, total_ms);
    EXPECT_GE(shown_ms, 0.0);
    EXPECT_LT(total_ms, 5'000.0);
}

} // namespace
} // namespace parvolin
