// The worksheet dialog, opened from the window's menu and driven by keys and
// clicks inside its modal run; saved sheets read back with pdftotext and
// compared with what the command line writes for the same number.

#include "ui/main/print_document.h"
#include "ui/main/save_document.h"
#include "ui/main/save_folder.h"
#include "ui/main/worksheet_dialog.h"

#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace parvolin {
namespace {

bool have_pdftotext() { return ::access("/usr/bin/pdftotext", X_OK) == 0; }

QString run_tool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Runs of blanks and line breaks as one blank: pdftotext lays text out anew.
// Raised and lowered digits as plain ones: the key raises a power as the
// Postup view does, where the sheet writes x².
QString squeezed(const QString &text)
{
    QString level = text;
    const QString raised = QString::fromUtf8("⁰¹²³⁴⁵⁶⁷⁸⁹"), lowered = QString::fromUtf8("₀₁₂₃₄₅₆₇₈₉");
    for (int digit = 0; digit < 10; ++digit) {
        level.replace(raised[digit], QChar(u'0' + digit));
        level.replace(lowered[digit], QChar(u'0' + digit));
    }
    return QLatin1Char(' ') + level.simplified() + QLatin1Char(' ');
}

// The numbered lines of the command line's text sheet: the problems, then
// the key's "N)  problem:   K = ..." lines.
QStringList cli_numbered_lines(const QStringList &options)
{
    const QString sheet = run_tool(QStringLiteral(PARVOLIN_CLI), QStringList{QStringLiteral("worksheet")} + options);
    QStringList lines;
    for (const QString &line : sheet.split(QLatin1Char('\n')))
        if (line.contains(QRegularExpression(QStringLiteral("^[1-9][0-9]?\\)  "))))
            lines.append(line);
    return lines;
}

class WorksheetDialogTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        open();
    }

    // Opens the dialog with the mouse through "Rovnice › Pracovní list…",
    // runs `body` inside its modal run and closes it with Esc; true when the
    // dialog was seen and its run ended.
    bool with_dialog(const std::function<void(WorksheetDialog &dialog)> &body)
    {
        auto *bar = window_->menuBar();
        auto *menu = find<QMenu>("Rovnice1");
        auto *command = find<QAction>("Pracovnilist");
        if (bar == nullptr || menu == nullptr || command == nullptr)
            return false;
        click_with_mouse(bar, bar->actionGeometry(menu->menuAction()).center());
        if (!menu->isVisible())
            return false;
        bool seen = false;
        // Looks for the dialog from the event loop, its modal run included.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<WorksheetDialog *>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible())
                return;
            poll.stop();
            seen = true;
            EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
            body(*dialog);
            QWidget *focus = dialog->focusWidget();
            QTest::keyClick(focus != nullptr ? focus : dialog, Qt::Key_Escape);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "Esc left the dialog open";
                dialog->reject();
            }
        });
        poll.start(10);
        click_with_mouse(menu, menu->actionGeometry(command).center());
        return seen && QApplication::activeModalWidget() == nullptr;
    }

    // Types `text` into the field as a teacher does: all selected, then typed over.
    static void type_into(QWidget *field, const QString &text)
    {
        field->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }

    static void set_count_and_number(WorksheetDialog &dialog, int count, const char *number)
    {
        type_into(child<QSpinBox>(&dialog, "count"), QString::number(count));
        type_into(child<QLineEdit>(&dialog, "number"), QString::fromLatin1(number));
    }

    // The save dialog answers `chosen_` (nothing: cancelled) and records what it was shown.
    std::optional<QString> chosen_;
    std::vector<QString> shown_;
    ReplacedSeam<WorksheetFileDialog> file_dialog_{
        set_worksheet_file_dialog, [this](QWidget *, const QString &shown, const QString &) {
            shown_.push_back(shown);
            return chosen_;
        }};
    std::vector<QString> notices_;
    ReplacedSeam<SaveDialogs> save_dialogs_{
        set_save_dialogs, {{}, [this](const QString &text, const QString &) { notices_.push_back(text); }}};
    std::vector<std::pair<QString, QString>> failures_with_detail_;
    ReplacedSeam<FailureDisplay> display_with_detail_{
        set_failure_display,
        [this](const QString &text, const QString &detail) { failures_with_detail_.emplace_back(text, detail); }};
};

TEST_F(WorksheetDialogTest, OpensFromTheMenuWithEveryQuadraticKindAndRelation)
{
    const bool closed = with_dialog([](WorksheetDialog &dialog) {
        EXPECT_EQ(child<QSpinBox>(&dialog, "count")->value(), 20);
        for (QCheckBox *box : dialog.findChildren<QCheckBox *>()) {
            const QString name = box->objectName();
            if (name != QLatin1String("steps")) {
                const bool asked_only = name == QLatin1String("kind_linear") || name == QLatin1String("kind_constant");
                EXPECT_EQ(box->isChecked(), !asked_only) << name.toStdString();
            }
        }
        EXPECT_TRUE(child<QLineEdit>(&dialog, "number")->text().contains(QRegularExpression(QStringLiteral("^[1-9][0-9]{5}$"))));
        ASSERT_TRUE(dialog.sheet());
        EXPECT_EQ(dialog.sheet()->entries.size(), 20u);
        EXPECT_EQ(dialog.focusWidget(), child<QSpinBox>(&dialog, "count"));
    });
    EXPECT_TRUE(closed);
}

TEST_F(WorksheetDialogTest, PreviewFollowsCountNumberAndTicks)
{
    const bool closed = with_dialog([](WorksheetDialog &dialog) {
        set_count_and_number(dialog, 7, "4242");
        const QString preview = child<QTextBrowser>(&dialog, "preview")->toPlainText();
        EXPECT_TRUE(preview.contains(QString::fromUtf8("Pracovní list č. 4242")));
        EXPECT_TRUE(preview.contains(QStringLiteral("7)  ")));
        EXPECT_FALSE(preview.contains(QStringLiteral("8)  ")));
        ASSERT_TRUE(dialog.sheet());
        EXPECT_EQ(dialog.sheet()->number, 4242u);
        EXPECT_EQ(dialog.sheet()->entries.size(), 7u);

        // Quadratic unless asked: linear and constant start unticked.
        EXPECT_FALSE(child<QCheckBox>(&dialog, "kind_linear")->isChecked());
        EXPECT_FALSE(child<QCheckBox>(&dialog, "kind_constant")->isChecked());
        EXPECT_TRUE(child<QCheckBox>(&dialog, "kind_no-c")->isChecked());
        for (const auto &entry : dialog.sheet()->entries)
            EXPECT_NE(entry.problem.a, 0) << entry.statement;

        // Nothing ticked is no sheet: the generator would take it for all.
        for (QCheckBox *box : dialog.findChildren<QCheckBox *>(QRegularExpression(QStringLiteral("^kind_")))) {
            if (box->isChecked())
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        }
        EXPECT_FALSE(dialog.sheet());
        EXPECT_FALSE(child<QPushButton>(&dialog, "savePdf")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(&dialog, "print")->isEnabled());
        EXPECT_TRUE(child<QTextBrowser>(&dialog, "preview")->toPlainText().contains(QString::fromUtf8("aspoň jeden druh")));
        QTest::mouseClick(child<QCheckBox>(&dialog, "kind_linear"), Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_TRUE(dialog.sheet());
        for (const auto &entry : dialog.sheet()->entries)
            EXPECT_EQ(entry.problem.kind, ProblemKind::Linear) << entry.statement;
    });
    EXPECT_TRUE(closed);
}

TEST_F(WorksheetDialogTest, KeysReachTheOptions)
{
    const bool closed = with_dialog([](WorksheetDialog &dialog) {
        // Mnemonics are shortcuts of the active window, which the offscreen
        // platform leaves to the caller; its late activation of the main
        // window would take the focus from a box while it is being pressed.
        for (int settle = 0; settle < 10; ++settle) {
            QApplication::setActiveWindow(&dialog);
            QTest::qWait(10);
        }
        ASSERT_EQ(QApplication::activeWindow(), &dialog);
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), child<QWidget>(&dialog, "difficulty"));
        QTest::keyClick(dialog.focusWidget(), Qt::Key_S, Qt::AltModifier);
        EXPECT_EQ(dialog.focusWidget(), child<QWidget>(&dialog, "number"));
        QTest::keyClick(dialog.focusWidget(), Qt::Key_D, Qt::AltModifier);
        EXPECT_EQ(dialog.focusWidget(), child<QWidget>(&dialog, "kind_integer"));
        // A box's mnemonic clicks it as a short press; it ticks on release.
        const auto press_mnemonic = [&dialog](Qt::Key key, const char *box) {
            QTest::keyClick(dialog.focusWidget(), key, Qt::AltModifier);
            auto *pressed = child<QCheckBox>(&dialog, box);
            for (int waited = 0; pressed->isDown() && waited < 2000; waited += 10)
                QTest::qWait(10);
        };
        // the working belongs to the key: no key, no working
        press_mnemonic(Qt::Key_U, "steps");
        ASSERT_TRUE(dialog.sheet());
        EXPECT_TRUE(dialog.sheet()->steps);
        press_mnemonic(Qt::Key_V, "key");
        EXPECT_FALSE(child<QCheckBox>(&dialog, "steps")->isEnabled());
        ASSERT_TRUE(dialog.sheet());
        EXPECT_FALSE(dialog.sheet()->key);
        EXPECT_FALSE(dialog.sheet()->steps);
    });
    EXPECT_TRUE(closed);
}

// The preview shows every line of the key's working: the touches the pages
// give the document after the view has begun laying it out leave no line
// unlaid.
TEST_F(WorksheetDialogTest, PreviewLaysOutEveryLineOfTheWorking)
{
    ASSERT_TRUE(with_dialog([](WorksheetDialog &dialog) {
        set_count_and_number(dialog, 6, "178520");
        auto *steps = child<QCheckBox>(&dialog, "steps");
        steps->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(steps, Qt::Key_Space);
        ASSERT_TRUE(dialog.sheet() && dialog.sheet()->steps);
        QTextDocument *document = child<QTextBrowser>(&dialog, "preview")->document();
        document->documentLayout()->documentSize();
        int lines = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            if (block.text().isEmpty())
                continue;
            ++lines;
            EXPECT_GT(block.layout()->lineCount(), 0) << block.text().toStdString();
        }
        EXPECT_GT(lines, 100);
    }));
}

// What the dialog was closed with, it opens with after the program is
// started again; in a file of its own, the program's settings untouched.
TEST_F(WorksheetDialogTest, OpensAfterARestartAsItWasClosed)
{
    ASSERT_TRUE(with_dialog([](WorksheetDialog &dialog) {
        type_into(child<QSpinBox>(&dialog, "count"), QStringLiteral("7"));
        for (const char *name : {"kind_integer", "kind_linear", "relation_less", "steps", "key"}) {
            auto *box = child<QCheckBox>(&dialog, name);
            box->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(box, Qt::Key_Space);
        }
        auto *difficulty = child<QComboBox>(&dialog, "difficulty");
        difficulty->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(difficulty, Qt::Key_Down);
        ASSERT_EQ(difficulty->currentIndex(), 1);
    }));
    window_->close();
    QCoreApplication::processEvents();
    window_.reset();
    open();
    ASSERT_TRUE(with_dialog([](WorksheetDialog &dialog) {
        EXPECT_EQ(child<QSpinBox>(&dialog, "count")->value(), 7);
        EXPECT_EQ(child<QComboBox>(&dialog, "difficulty")->currentIndex(), 1);
        for (QCheckBox *box : dialog.findChildren<QCheckBox *>()) {
            const QString name = box->objectName();
            const bool changed = name == QLatin1String("kind_integer") || name == QLatin1String("kind_linear") ||
                                 name == QLatin1String("relation_less") || name == QLatin1String("steps") ||
                                 name == QLatin1String("key");
            const bool first_start = name != QLatin1String("kind_linear") && name != QLatin1String("kind_constant") &&
                                     name != QLatin1String("steps");
            EXPECT_EQ(box->isChecked(), changed != first_start) << name.toStdString();
        }
        EXPECT_FALSE(child<QCheckBox>(&dialog, "steps")->isEnabled());
    }));
    EXPECT_TRUE(QFile::exists(path("config/parvolin/worksheet.ini")));
    QFile settings(settings_path());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_FALSE(settings.readAll().contains("Pocet"));
    EXPECT_TRUE(failures_.empty() && failures_with_detail_.empty());
}

// A choices file that is too large or is a link opens the dialog on the
// defaults, and closing it says nothing and changes neither.
TEST_F(WorksheetDialogTest, OpensOnTheDefaultsBesideAFileItCannotTrust)
{
    ASSERT_TRUE(QDir().mkpath(path("config/parvolin")));
    const QString choices = path("config/parvolin/worksheet.ini");
    for (const bool link : {false, true}) {
        QFile::remove(choices);
        QFile::remove(path("elsewhere.ini"));
        const QByteArray text = "[Pracovni list]\nPocet=7\n" + QByteArray(link ? 10 : 70 * 1024, ';');
        QFile file(link ? path("elsewhere.ini") : choices);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        if (link) {
            ASSERT_TRUE(QFile::link(path("elsewhere.ini"), choices));
        }
        ASSERT_TRUE(with_dialog([](WorksheetDialog &dialog) {
            EXPECT_EQ(child<QSpinBox>(&dialog, "count")->value(), 20);
            type_into(child<QSpinBox>(&dialog, "count"), QStringLiteral("9"));
        }));
        EXPECT_EQ(QFileInfo(choices).isSymLink(), link);
        QFile after(link ? path("elsewhere.ini") : choices);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), text);
        EXPECT_TRUE(failures_.empty() && failures_with_detail_.empty());
    }
}

// The sheet's dialog opens where the result was saved last, and the next
// result's dialog where the sheet went.
TEST_F(WorksheetDialogTest, SavesInTheFolderTheOtherDialogsUsedLast)
{
    ASSERT_TRUE(QDir().mkpath(path("vysledky")));
    remember_save_folder(path("vysledky/úloha"));
    chosen_ = path("list");
    const bool closed = with_dialog([](WorksheetDialog &dialog) {
        set_count_and_number(dialog, 3, "4242");
        QTest::mouseClick(child<QPushButton>(&dialog, "saveRtf"), Qt::LeftButton);
    });
    ASSERT_TRUE(closed);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(QFileInfo(shown_[0]).absolutePath(), path("vysledky"));
    EXPECT_EQ(save_folder(), folder_.path());
    forget_save_folder();
}

// The PDF saved from the dialog holds every problem and every answer of the
// command line's sheet of the same number once.
TEST_F(WorksheetDialogTest, SavedPdfIsTheCommandLinesSheet)
{
    if (!have_pdftotext())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    chosen_ = path("list");
    const bool closed = with_dialog([](WorksheetDialog &dialog) {
        set_count_and_number(dialog, 12, "4242");
        QTest::mouseClick(child<QPushButton>(&dialog, "savePdf"), Qt::LeftButton);
    });
    ASSERT_TRUE(closed);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_TRUE(shown_[0].endsWith(QStringLiteral("pracovni-list-4242.pdf")));
    EXPECT_TRUE(failures_with_detail_.empty()) << failures_with_detail_[0].first.toStdString();
    const QString pdf = path("list.pdf");
    ASSERT_TRUE(QFile::exists(pdf));
    const QString text = squeezed(run_tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));

    const QStringList lines =
        cli_numbered_lines({QStringLiteral("--seed"), QStringLiteral("4242"), QStringLiteral("--count"),
                            QStringLiteral("12"), QStringLiteral("--key")});
    ASSERT_EQ(lines.size(), 24);
    // A set with a fraction is stacked: the line up to the set is the same.
    for (const QString &line : lines) {
        const QString compared = line.contains(QLatin1Char('/'))
                                     ? squeezed(line.left(line.indexOf(QLatin1String("K = ")) + 4)).chopped(1)
                                     : squeezed(line);
        EXPECT_EQ(text.count(compared), 1) << line.toStdString();
    }
    EXPECT_TRUE(text.contains(QString::fromUtf8(" Pracovní list č. 4242 ")));
}

TEST_F(WorksheetDialogTest, PrintedSheetHoldsEveryProblemOnce)
{
    if (!have_pdftotext())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString pdf = path("tisk.pdf");
    const ReplacedSeam<PrintDialogs> printer{set_print_dialogs,
                                             {[] { return std::vector<PrinterEntry>{{"pdf", {}, true}}; },
                                              [&pdf](const std::vector<PrinterEntry> &, PrintChoice &choice, QWidget *) {
                                                  choice.file = pdf;
                                                  return true;
                                              }}};
    std::vector<std::string> statements;
    const bool closed = with_dialog([&](WorksheetDialog &dialog) {
        set_count_and_number(dialog, 15, "777");
        ASSERT_TRUE(dialog.sheet());
        for (const auto &entry : dialog.sheet()->entries)
            statements.push_back(entry.statement);
        QTest::mouseClick(child<QPushButton>(&dialog, "print"), Qt::LeftButton);
    });
    ASSERT_TRUE(closed);
    EXPECT_TRUE(failures_with_detail_.empty()) << failures_with_detail_[0].second.toStdString();
    const QString text = squeezed(run_tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));
    ASSERT_EQ(statements.size(), 15u);
    for (std::size_t i = 0; i < statements.size(); ++i) {
        const QString problem = squeezed(QString::number(i + 1) + QStringLiteral(")  ") + QString::fromStdString(statements[i]));
        // once on the sheet and once in the key, before its answer
        EXPECT_EQ(text.count(problem), 1) << statements[i];
        EXPECT_EQ(text.count(problem.chopped(1) + QStringLiteral(": ")), 1) << statements[i];
    }
    EXPECT_TRUE(run_tool(QStringLiteral("pdfinfo"), {pdf}).contains(QString::fromUtf8("Pracovní list č. 777")));
}

// A save that cannot be done says so in Czech with the reason, and leaves
// nothing behind; a taken name gets the window's notice and stays as it was.
struct RefusedRow {
    const char *name;
    std::function<QString(const QString &folder)> prepare; // returns the path chosen
    const char *reason;                                     // in the detail; empty: the notice instead
    bool needs_non_root = false;
};

class WorksheetSaveRefused : public WorksheetDialogTest, public ::testing::WithParamInterface<RefusedRow> {};

TEST_P(WorksheetSaveRefused, SaysWhyAndWritesNothing)
{
    const RefusedRow &row = GetParam();
    if (row.needs_non_root && ::geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder";
    chosen_ = row.prepare(folder_.path());
    const QString target = *chosen_ + QStringLiteral(".rtf");
    const QByteArray before = QFile::exists(target) ? [&] {
        QFile file(target);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }() : QByteArray();
    const bool closed = with_dialog(
        [](WorksheetDialog &dialog) { QTest::mouseClick(child<QPushButton>(&dialog, "saveRtf"), Qt::LeftButton); });
    ASSERT_TRUE(closed);
    if (*row.reason == '\0') {
        ASSERT_EQ(notices_.size(), 1u);
        EXPECT_TRUE(notices_[0].contains(QString::fromUtf8("již existuje"))) << notices_[0].toStdString();
        EXPECT_TRUE(failures_with_detail_.empty());
        QFile file(target);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
    } else {
        ASSERT_EQ(failures_with_detail_.size(), 1u);
        EXPECT_EQ(failures_with_detail_[0].first.toStdString(), "Pracovní list se nepodařilo uložit.");
        EXPECT_EQ(failures_with_detail_[0].second.toStdString(),
                  "Soubor " + QFile::encodeName(target).toStdString() + " se nepodařilo zapsat: " + row.reason + ".");
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_TRUE(notices_.empty());
    }
    // writable again, for the clean-up of the test's folder
    for (const QString &name : QDir(folder_.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        QFile::setPermissions(folder_.filePath(name),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, WorksheetSaveRefused,
    ::testing::Values(
        RefusedRow{"folder_without_write_permission",
                   [](const QString &folder) {
                       const QString locked = folder + QStringLiteral("/zamceno");
                       QDir().mkdir(locked);
                       QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
                       return locked + QStringLiteral("/list");
                   },
                   "k zápisu nemáte oprávnění", true},
        RefusedRow{"missing_folder",
                   [](const QString &folder) { return folder + QStringLiteral("/neni/list"); },
                   "složka nebo soubor neexistuje"},
        RefusedRow{"file_in_place_of_a_folder",
                   [](const QString &folder) {
                       QFile file(folder + QStringLiteral("/soubor"));
                       EXPECT_TRUE(file.open(QIODevice::WriteOnly));
                       return folder + QStringLiteral("/soubor/list");
                   },
                   "část cesty není složka"},
        RefusedRow{"taken_name",
                   [](const QString &folder) {
                       QFile file(folder + QStringLiteral("/list.rtf"));
                       EXPECT_TRUE(file.open(QIODevice::WriteOnly));
                       file.write("starý list");
                       return folder + QStringLiteral("/list");
                   },
                   ""}),
    row_name);

} // namespace
} // namespace parvolin
