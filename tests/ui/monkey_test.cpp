// The main window under a seeded random walk, as a pupil who tries every key
// and command takes it: menu commands from the menu, the toolbar and their
// shortcut keys, characters typed into the coefficient fields (those the key
// filter refuses too), text set and pasted through the context menu, list selections by mouse
// and keyboard, solving by button, Alt+V and Enter, a new task, the side
// panel, the separator choice, the regional separator, window sizes, the web
// links, the about window, saving and printing.
//
// After every step the window must be in the state of its state table that
// the steps lead to (views, result box, enabled commands in menu and
// toolbar, pressed view button, view panel of the status bar), the fields
// must hold what the entry rules let through, and the memo must hold nothing
// or exactly the report of the texts and choices of the last solve.
//
// The walk starts from a fixed seed, so that a run cannot fail by chance, and
// prints it. PARVOLIN_MONKEY_SEED picks another seed or replays a walk that
// went wrong, PARVOLIN_MONKEY_STEPS sets its length: 20,000 steps, or 3,000 in a
// build with the address sanitizer, where a step costs several times as much.
//
// Left out: "Konec" (Ctrl+K) and closing the window, which end the program,
// and the practice view (Ctrl+E), which practice_view_test.cpp walks through.
// The modal windows stay closed through the seams (error display, save and
// print dialogs, shell), except the about window, which is run for real and
// closed by its OK button.

#include "ui/aux/about_window.h"
#include "ui/aux/shell_links.h"
#include "ui/main/coefficient_filter.h"
#include "ui/main/error_display.h"
#include "ui/main/main_window.h"
#include "ui/main/memo_rows.h"
#include "ui/main/print_document.h"
#include "ui/main/save_document.h"

#include "solver/report.h"

#include "tests/ui/window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// Offers a key to the shortcuts the way the platform does before the focus
// widget gets it: the focus widget may claim it through a ShortcutOverride
// event, otherwise the shortcut map tries it. True when a shortcut took it.
// Exported by QtGui for QtTest, which delivers its key clicks this way.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject *o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString &text, bool autorep, ushort count);

namespace parvolin {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool address_sanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool address_sanitizer = true;
#else
constexpr bool address_sanitizer = false;
#endif
#else
constexpr bool address_sanitizer = false;
#endif

constexpr int default_steps = address_sanitizer ? 3'000 : 20'000;
constexpr std::uint64_t default_seed = 0x5eed'2026'0917;

// --- Keys --------------------------------------------------------------------------

struct Key {
    int code;
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::string name;
};

Key character_key(QChar c)
{
    const int code = c.isLetter() ? c.toUpper().unicode() : c.unicode();
    return {code, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c), "'" + QString(c).toStdString() + "'"};
}

// Ctrl with a letter: the control character as its text, as X11 delivers it.
Key control_key(char letter)
{
    return {Qt::Key_A + (letter - 'A'), Qt::ControlModifier, QString(QChar(letter - 'A' + 1)),
            std::string("Ctrl+") + letter};
}

Key plain_key(Qt::Key code, const char *name, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QString text = {})
{
    return {code, modifiers, std::move(text), name};
}

// The focus widget first, then the shortcuts; when no shortcut took the key,
// it is pressed and released on `target`, from where Qt passes it on to the
// parents while it is ignored.
bool deliver_key(QWidget *target, const Key &key)
{
    if (qt_sendShortcutOverrideEvent(target, 0, key.code, key.modifiers, key.text, false, 1))
        return true;
    QKeyEvent press(QEvent::KeyPress, key.code, key.modifiers, key.text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key.code, key.modifiers, key.text);
    QApplication::sendEvent(target, &release);
    return false;
}

// --- The expected window ---------------------------------------------------------------

enum class View { Welcome, Entry, Result };

const char *view_name(View view)
{
    return view == View::Welcome ? "Welcome" : view == View::Entry ? "Entry" : "Result";
}

enum class Command { Theory, Computation, Save, Print, SeparatorPanel, NotationPanel, Help, Solve, NewTask };

// The menu commands with a shortcut, as the menu names them.
struct MenuCommand {
    const char *action;
    Command command;
    Key key;
};

const std::vector<MenuCommand> &menu_commands()
{
    static const std::vector<MenuCommand> commands{
        {"teorie", Command::Theory, control_key('T')},
        {"vypocet", Command::Computation, control_key('R')},
        {"Ulozit", Command::Save, control_key('U')},
        {"tisk", Command::Print, control_key('I')},
        {"Desetinnoddlova1", Command::SeparatorPanel, control_key('D')},
        {"Pouitznaen1", Command::NotationPanel, control_key('Z')},
        {"aaa1", Command::Help, plain_key(Qt::Key_F1, "F1")},
    };
    return commands;
}

// What the entry rules make of a typed character; nothing when it is refused.
std::optional<QChar> entry_rule(QChar typed, const QString &text, bool dot)
{
    const QChar chosen = QLatin1Char(dot ? '.' : ',');
    const QChar other = QLatin1Char(dot ? ',' : '.');
    const char16_t code = typed.unicode();
    if (!(code == 8 || code == u',' || code == u'-' || code == u'.' || (code >= u'0' && code <= u'9')))
        return std::nullopt;
    if (typed == other)
        typed = chosen;
    if (typed == chosen && (text.contains(chosen) || text.isEmpty()))
        return std::nullopt;
    return typed;
}

// A line edit's text with its cursor and selection, edited as a line edit
// edits: an insertion or deletion takes the selection away first.
struct FieldEdit {
    QString text;
    int cursor = 0;
    int selection_start = 0;
    int selection_length = 0;

    FieldEdit(QString expected_text, const QLineEdit &field)
        : text(std::move(expected_text)), cursor(field.cursorPosition())
    {
        if (field.hasSelectedText()) {
            selection_start = field.selectionStart();
            selection_length = field.selectionLength();
        }
    }

    bool remove_selection()
    {
        if (selection_length == 0)
            return false;
        text.remove(selection_start, selection_length);
        cursor = selection_start;
        selection_length = 0;
        return true;
    }
    void insert(const QString &inserted)
    {
        remove_selection();
        text.insert(cursor, inserted);
        cursor += inserted.size();
    }
    void backspace()
    {
        if (!remove_selection() && cursor > 0)
            text.remove(--cursor, 1);
    }
    void remove_forward()
    {
        if (!remove_selection() && cursor < text.size())
            text.remove(cursor, 1);
    }
};

struct Expected {
    View view = View::Welcome;
    std::array<QString, 3> fields{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    int relation = 0;
    int precision = 0;
    bool dot = false;
    char regional = ',';
    const char *panel_page = nullptr; // the side panel's page; nullptr while it is closed
    QString memo;                      // nothing, or the last report's lines
};

// A failure's message as the error display shows it.
QString shown(const std::string &message)
{
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return QString::fromStdString(text);
}

std::string text_of(const QString &text)
{
    return '"' + text.toStdString() + '"';
}

// --- The walk -------------------------------------------------------------------------

class MonkeyWalk {
public:
    MonkeyWalk(std::uint64_t seed, const QString &folder) : random_(seed), folder_(folder)
    {
        RegionalSettings regional;
        regional.decimal_separator = expected_.regional;
        window_ = std::make_unique<MainWindow>(regional, (folder + QStringLiteral("/parvolin.ini")).toStdString());
        fields_ = {find<QLineEdit>("kv_koef"), find<QLineEdit>("lin_koef"), find<QLineEdit>("abs_koef")};
        lists_ = {find<QListWidget>("ListBox1"), find<QListWidget>("desmista")};
        memo_ = find<QPlainTextEdit>("vypisreseni");
        previous_handler_ = qInstallMessageHandler(&quiet_platform);
        window_->show();
        activate();
    }

    ~MonkeyWalk()
    {
        window_.reset();
        qInstallMessageHandler(previous_handler_);
    }

    // The first disagreement between the window and the expectation, with
    // the steps that led to it; nothing when all steps agreed.
    std::optional<std::string> run(int steps)
    {
        if (std::optional<std::string> problem = disagreement())
            return "at start: " + *problem;
        for (int step = 1; step <= steps; ++step) {
            activate();
            take_a_step();
            settle();
            trail_.push_back(std::to_string(step) + ": " + step_);
            if (trail_.size() > 25)
                trail_.pop_front();
            if (std::optional<std::string> problem = disagreement()) {
                std::ostringstream report;
                report << "step " << step << " (" << step_ << "): " << *problem << "\nthe last steps:\n";
                for (const std::string &line : trail_)
                    report << "  " << line << '\n';
                return report.str();
            }
        }
        return std::nullopt;
    }

private:
    template <typename Widget>
    Widget *find(const char *name)
    {
        auto *widget = window_->findChild<Widget *>(QString::fromLatin1(name));
        if (widget == nullptr)
            throw std::runtime_error(std::string("no control ") + name);
        return widget;
    }

    // The offscreen platform warns at every size hint and raise, thousands
    // of times in a walk; everything else is passed on.
    static void quiet_platform(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (message.startsWith(QLatin1String("This plugin does not support")))
            return;
        previous_handler_(type, context, message);
    }

    // The pupil's clicks keep the window active: the about window takes the
    // activation away, and window shortcuts only work in the active window.
    void activate()
    {
        if (QApplication::activeWindow() == window_.get())
            return;
        window_->activateWindow();
        settle();
    }

    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    // --- Random choices

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
    template <typename T>
    const T &one_of(const std::vector<T> &items)
    {
        return items[static_cast<std::size_t>(pick(static_cast<int>(items.size())))];
    }

    QString digits(int count)
    {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + pick(10));
        return text;
    }

    // Text that reaches a field without typing, set or pasted: numbers in both
    // notations, with exponents and blanks, junk, and long digit runs.
    QString pasted_text()
    {
        static const std::vector<QString> junk{
            QStringLiteral("abc"),  QStringLiteral("1,2,3"), QStringLiteral("--5"),    QStringLiteral("1e"),
            QStringLiteral(",5"),   QStringLiteral("5,"),    QStringLiteral("ěščř"),   QStringLiteral("0x10"),
            QStringLiteral("inf"),  QStringLiteral("NaN"),   QStringLiteral("1 000"),  QStringLiteral("+3"),
            QStringLiteral(" 7 "),  QStringLiteral("-"),     QStringLiteral("1E309"),  QStringLiteral("-1e-400"),
            QStringLiteral("2.5"),  QStringLiteral("2,5"),   QStringLiteral("1E+2"),   QString()};
        const int kind = pick(10);
        if (kind < 5) {
            QString number = chance(0.3) ? QStringLiteral("-") : QString();
            number += digits(1 + pick(6));
            if (chance(0.5))
                number += QLatin1Char(chance(0.5) ? ',' : '.') + digits(1 + pick(6));
            if (chance(0.3))
                number += QLatin1String(chance(0.5) ? "E" : "e-") + digits(1 + pick(3));
            return number;
        }
        if (kind < 7)
            return one_of(junk);
        if (kind < 8)
            return digits(20 + pick(400));
        return QString::number(pick(21) - 10);
    }

    // A key typed into a coefficient field.
    Key field_key()
    {
        static const QString refused = QStringLiteral("aAeExz +*/;ěščřžýáíé=<>");
        const int kind = pick(100);
        if (kind < 30)
            return character_key(QChar(u'0' + pick(10)));
        if (kind < 36)
            return character_key(QLatin1Char('-'));
        if (kind < 44)
            return character_key(QLatin1Char(','));
        if (kind < 52)
            return character_key(QLatin1Char('.'));
        if (kind < 62)
            return character_key(refused.at(pick(static_cast<int>(refused.size()))));
        if (kind < 72)
            return plain_key(Qt::Key_Backspace, "Backspace", Qt::NoModifier, QStringLiteral("\b"));
        if (kind < 76)
            return plain_key(Qt::Key_Delete, "Delete", Qt::NoModifier, QStringLiteral("\x7f"));
        if (kind < 86) {
            static const std::vector<Key> moves{
                plain_key(Qt::Key_Left, "Left"),
                plain_key(Qt::Key_Right, "Right"),
                plain_key(Qt::Key_Home, "Home"),
                plain_key(Qt::Key_End, "End"),
                plain_key(Qt::Key_Left, "Shift+Left", Qt::ShiftModifier),
                plain_key(Qt::Key_Right, "Shift+Right", Qt::ShiftModifier),
                plain_key(Qt::Key_Home, "Shift+Home", Qt::ShiftModifier),
                plain_key(Qt::Key_End, "Shift+End", Qt::ShiftModifier),
                plain_key(Qt::Key_Left, "Ctrl+Left", Qt::ControlModifier),
                plain_key(Qt::Key_Up, "Up"),
                plain_key(Qt::Key_Escape, "Escape", Qt::NoModifier, QStringLiteral("\x1b")),
                plain_key(Qt::Key_Tab, "Tab", Qt::NoModifier, QStringLiteral("\t")),
            };
            return one_of(moves);
        }
        if (kind < 94) {
            // Every Ctrl letter but K, which ends the program, and E, which
            // opens practice, a view of its own that the walk leaves alone.
            static const std::string letters = "ABCDFGHIJLMNOPQRSTUVWXYZ";
            if (chance(0.1))
                return plain_key(Qt::Key_Insert, "Shift+Insert", Qt::ShiftModifier);
            return control_key(letters[static_cast<std::size_t>(pick(static_cast<int>(letters.size())))]);
        }
        if (kind < 97) {
            // A compose sequence or an input device that types several characters at once.
            static const std::vector<QString> several{QStringLiteral("1,5"), QStringLiteral("-."),
                                                      QStringLiteral("7\b"), QStringLiteral("a1"),
                                                      QStringLiteral(".,")};
            const QString &text = one_of(several);
            return {Qt::Key_unknown, Qt::NoModifier, text, "several " + text_of(text)};
        }
        if (kind < 99)
            return chance(0.5) ? plain_key(Qt::Key_Return, "Return", Qt::NoModifier, QStringLiteral("\r"))
                               : plain_key(Qt::Key_Enter, "keypad Enter", Qt::KeypadModifier, QStringLiteral("\r"));
        return plain_key(Qt::Key_F1, "F1");
    }

    // --- The steps

    bool computation_view() const { return expected_.view != View::Welcome; }

    void take_a_step()
    {
        struct Action {
            double weight;
            bool available;
            void (MonkeyWalk::*run)();
        };
        const bool panel_open = expected_.panel_page != nullptr;
        const bool separator_page = panel_open && std::string(expected_.panel_page) == "oddelovac";
        const Action actions[] = {
            {45, computation_view(), &MonkeyWalk::type_into_field},
            {6, computation_view(), &MonkeyWalk::put_text_into_field},
            {4, computation_view(), &MonkeyWalk::click_into_field},
            {5, computation_view(), &MonkeyWalk::list_key},
            {4, computation_view(), &MonkeyWalk::list_click},
            {1.5, computation_view(), &MonkeyWalk::enter_in_list},
            {6, computation_view(), &MonkeyWalk::solve_button},
            {2, computation_view(), &MonkeyWalk::new_task_button},
            {0.3, true, &MonkeyWalk::button_mnemonic},
            {5, true, &MonkeyWalk::menu_item},
            {6, true, &MonkeyWalk::menu_shortcut},
            {4, true, &MonkeyWalk::toolbar_button},
            {3, panel_open, &MonkeyWalk::close_side_panel},
            {3, separator_page, &MonkeyWalk::separator_choice},
            {2, true, &MonkeyWalk::regional_separator},
            {2, true, &MonkeyWalk::resize_window},
            {1.5, !computation_view(), &MonkeyWalk::web_link},
            {0.1, true, &MonkeyWalk::about_window},
        };
        double total = 0;
        for (const Action &action : actions)
            total += action.available ? action.weight : 0;
        double point = std::uniform_real_distribution<double>(0, total)(random_);
        failures_.clear();
        notices_.clear();
        opened_.clear();
        expected_failures_.clear();
        expected_notices_ = 0;
        expected_url_.reset();
        expected_file_.clear();
        solved_ = false;
        side_panel_closed_ = false;
        for (const Action &action : actions) {
            if (!action.available)
                continue;
            point -= action.weight;
            if (point < 0) {
                (this->*action.run)();
                return;
            }
        }
        menu_item();
    }

    // Applies a command to the expectation and prepares the seams it will ask.
    void expect(Command command)
    {
        switch (command) {
        case Command::Theory:
            expected_.view = View::Welcome;
            break;
        case Command::Computation:
            expected_.view = View::Entry;
            break;
        case Command::Save:
            prepare_save();
            break;
        case Command::Print:
            prepare_print();
            break;
        case Command::SeparatorPanel:
            expected_.panel_page = "oddelovac";
            break;
        case Command::NotationPanel:
            expected_.panel_page = "znaceni";
            break;
        case Command::Help:
            expected_url_ = QUrl(); // any file named index.html
            break;
        case Command::Solve:
            expect_solve();
            break;
        case Command::NewTask:
            expected_.view = View::Entry;
            expected_.fields.fill(QStringLiteral("0"));
            break;
        }
    }

    bool available(Command command) const
    {
        if (command == Command::Save || command == Command::Print)
            return expected_.view == View::Result;
        if (command == Command::Solve || command == Command::NewTask)
            return computation_view();
        return true;
    }

    void expect_solve()
    {
        expected_.view = View::Result;
        solved_ = true;
        const std::string a = expected_.fields[0].toStdString();
        const std::string b = expected_.fields[1].toStdString();
        const std::string c = expected_.fields[2].toStdString();
        try {
            const Report report =
                build_report(ProblemInput{a, b, c, expected_.relation, expected_.precision}, expected_.regional);
            QStringList lines;
            for (const std::string &line : report.lines)
                lines << QString::fromStdString(line);
            expected_.memo = lines.join(QLatin1Char('\n'));
        } catch (const std::exception &failure) {
            expected_.memo.clear();
            expected_failures_.push_back(shown(failure.what()));
        }
    }

    void prepare_save()
    {
        const int answer = pick(5);
        if (answer < 2) {
            save_answer_.reset();
            return;
        }
        if (answer < 4 || saved_files_.empty()) {
            save_answer_ = QStringLiteral("%1/saved-%2").arg(folder_).arg(saved_files_.size());
            expected_file_ = *save_answer_ + QStringLiteral(".rtf");
            saved_files_.push_back(*save_answer_);
            return;
        }
        // A name already taken: the notice, and the file stays as it was.
        save_answer_ = one_of(saved_files_);
        expected_notices_ = 1;
    }

    void prepare_print()
    {
        const int answer = pick(10);
        print_answer_ = answer < 4 ? PrintAnswer::NoPrinter : answer < 9 ? PrintAnswer::Cancel : PrintAnswer::ToFile;
        if (print_answer_ == PrintAnswer::NoPrinter)
            expected_failures_.push_back(shown("There is no default printer currently selected"));
        if (print_answer_ == PrintAnswer::ToFile)
            expected_file_ = QStringLiteral("%1/printed-%2.pdf").arg(folder_).arg(printed_files_++);
    }

    // Clicks into a field: the cursor lands somewhere, or a stretch is selected.
    void click_field(int index)
    {
        QLineEdit *field = fields_[static_cast<std::size_t>(index)];
        field->setFocus(Qt::MouseFocusReason);
        const int length = static_cast<int>(field->text().size());
        switch (pick(4)) {
        case 0:
            field->selectAll();
            break;
        case 1: {
            const int start = pick(length + 1);
            field->setSelection(start, pick(length - start + 1));
            break;
        }
        default:
            field->setCursorPosition(pick(length + 1));
        }
    }

    void click_into_field()
    {
        const int index = pick(3);
        click_field(index);
        step_ = "click into " + fields_[static_cast<std::size_t>(index)]->objectName().toStdString();
    }

    // Which command a key pressed anywhere in the window starts, if any.
    std::optional<Command> shortcut_of(const Key &key) const
    {
        for (const MenuCommand &menu : menu_commands())
            if (menu.key.code == key.code && menu.key.modifiers == key.modifiers)
                return available(menu.command) ? std::optional(menu.command) : std::nullopt;
        if (key.modifiers == Qt::AltModifier && (key.code == Qt::Key_V || key.code == Qt::Key_N)) {
            const Command command = key.code == Qt::Key_V ? Command::Solve : Command::NewTask;
            return available(command) ? std::optional(command) : std::nullopt;
        }
        return std::nullopt;
    }

    // Delivers a key that is expected to start `command` or nothing, and
    // notes when a shortcut answered otherwise.
    void deliver_expecting(QWidget *target, const Key &key, std::optional<Command> command)
    {
        if (command)
            expect(*command);
        const bool taken = deliver_key(target, key);
        if (taken != command.has_value())
            shortcut_mismatch_ = key.name + (taken ? " started a command" : " started no command");
    }

    void type_into_field()
    {
        const int index = pick(3);
        QLineEdit *field = fields_[static_cast<std::size_t>(index)];
        step_.clear();
        if (QApplication::focusWidget() != field || chance(0.05)) {
            click_field(index);
            step_ = "click, then ";
        }
        const Key key = field_key();
        step_ += key.name + " into " + field->objectName().toStdString();

        if (const std::optional<Command> command = shortcut_of(key)) {
            deliver_expecting(field, key, command);
            return;
        }
        if (key.code == Qt::Key_Return || key.code == Qt::Key_Enter) {
            expect_solve();
            deliver_expecting(field, key, std::nullopt);
            return;
        }
        FieldEdit edit(expected_.fields[static_cast<std::size_t>(index)], *field);
        if (key.code == Qt::Key_Backspace) {
            edit.backspace();
        } else if (key.code == Qt::Key_Delete) {
            edit.remove_forward();
        } else if (!key.text.isEmpty() && !(key.modifiers & (Qt::ControlModifier | Qt::AltModifier))
                   && key.text.front() >= QLatin1Char(' ')) {
            // Typed characters; each one is judged against the text the ones
            // before it left.
            for (const QChar typed : key.text) {
                const std::optional<QChar> result = entry_rule(typed, edit.text, expected_.dot);
                if (result && result->unicode() == 8)
                    edit.backspace();
                else if (result)
                    edit.insert(QString(*result));
            }
        }
        expected_.fields[static_cast<std::size_t>(index)] = edit.text;
        deliver_expecting(field, key, std::nullopt);
    }

    void put_text_into_field()
    {
        const int index = pick(3);
        QLineEdit *field = fields_[static_cast<std::size_t>(index)];
        const QString text = pasted_text();
        const std::string name = field->objectName().toStdString();
        if (chance(0.5)) {
            // Pasted through the field's context menu: all of it, as typing
            // it key by key would give it, or nothing when a key would be
            // refused.
            click_field(index);
            FieldEdit edit(expected_.fields[static_cast<std::size_t>(index)], *field);
            bool typeable = !text.isEmpty();
            for (const QChar typed : text) {
                const std::optional<QChar> result = entry_rule(typed, edit.text, expected_.dot);
                if (!result || typed < QLatin1Char(' ')) {
                    typeable = false;
                    break;
                }
                edit.insert(QString(*result));
            }
            if (typeable)
                expected_.fields[static_cast<std::size_t>(index)] = edit.text;
            QApplication::clipboard()->setText(text);
            window_->findChild<CoefficientKeyFilter *>()->paste(field, text);
            step_ = "paste " + text_of(text) + " into " + name;
        } else {
            expected_.fields[static_cast<std::size_t>(index)] = text;
            field->setText(text);
            step_ = "set " + name + " to " + text_of(text);
        }
    }

    void list_key()
    {
        const int which = pick(2);
        QListWidget *list = lists_[static_cast<std::size_t>(which)];
        int &row = which == 0 ? expected_.relation : expected_.precision;
        static const std::vector<Key> keys{plain_key(Qt::Key_Up, "Up"), plain_key(Qt::Key_Down, "Down"),
                                           plain_key(Qt::Key_Home, "Home"), plain_key(Qt::Key_End, "End")};
        const Key &key = one_of(keys);
        const int last = list->count() - 1;
        switch (key.code) {
        case Qt::Key_Up:
            row = std::max(0, row - 1);
            break;
        case Qt::Key_Down:
            row = std::min(last, row + 1);
            break;
        case Qt::Key_Home:
            row = 0;
            break;
        default:
            row = last;
        }
        list->setFocus(Qt::MouseFocusReason);
        deliver_expecting(list, key, std::nullopt);
        step_ = key.name + " in " + list->objectName().toStdString();
    }

    void list_click()
    {
        const int which = pick(2);
        QListWidget *list = lists_[static_cast<std::size_t>(which)];
        const int row = pick(list->count());
        (which == 0 ? expected_.relation : expected_.precision) = row;
        list->setFocus(Qt::MouseFocusReason);
        list->setCurrentRow(row);
        step_ = "click item " + std::to_string(row) + " of " + list->objectName().toStdString();
    }

    void enter_in_list()
    {
        QListWidget *list = lists_[static_cast<std::size_t>(pick(2))];
        list->setFocus(Qt::MouseFocusReason);
        expect_solve();
        deliver_expecting(list, plain_key(Qt::Key_Return, "Return", Qt::NoModifier, QStringLiteral("\r")),
                          std::nullopt);
        step_ = "Return in " + list->objectName().toStdString();
    }

    void solve_button()
    {
        expect_solve();
        find<QAbstractButton>("BitBtnVyresit")->click();
        step_ = "click Vyřešit";
    }

    void new_task_button()
    {
        expect(Command::NewTask);
        find<QAbstractButton>("BitBtnNove")->click();
        step_ = "click Nové zadání";
    }

    // Alt+V and Alt+N: the buttons' mnemonics, which click them with the
    // button shown pressed for a moment.
    void button_mnemonic()
    {
        const bool solve = chance(0.5);
        const Key key{solve ? Qt::Key_V : Qt::Key_N, Qt::AltModifier, QLatin1String(solve ? "v" : "n"),
                      solve ? "Alt+V" : "Alt+N"};
        QWidget *target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window_.get();
        deliver_expecting(target, key, shortcut_of(key));
        auto *button = find<QAbstractButton>(solve ? "BitBtnVyresit" : "BitBtnNove");
        QElapsedTimer waited;
        waited.start();
        while (button->isDown() && waited.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        step_ = key.name;
    }

    // A command chosen in the menu, which offers only its enabled items.
    void menu_item()
    {
        std::vector<const MenuCommand *> enabled;
        for (const MenuCommand &menu : menu_commands())
            if (find<QAction>(menu.action)->isEnabled())
                enabled.push_back(&menu);
        const MenuCommand &menu = *one_of(enabled);
        expect(menu.command);
        find<QAction>(menu.action)->trigger();
        step_ = std::string("menu ") + menu.action;
    }

    void menu_shortcut()
    {
        const MenuCommand &menu = one_of(menu_commands());
        QWidget *target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window_.get();
        deliver_expecting(target, menu.key, shortcut_of(menu.key));
        step_ = menu.key.name + " in " + target->objectName().toStdString();
    }

    void toolbar_button()
    {
        static const std::vector<std::pair<const char *, Command>> buttons{
            {"ToolButtonteorie", Command::Theory},
            {"ToolButtonvypocet", Command::Computation},
            {"ToolButtonuloz", Command::Save},
            {"ToolButtontisk", Command::Print}};
        const auto &[name, command] = one_of(buttons);
        // A disabled button ignores the click.
        if (available(command))
            expect(command);
        find<QAbstractButton>(name)->click();
        step_ = std::string("click ") + name;
    }

    void close_side_panel()
    {
        const bool separator_page = std::string(expected_.panel_page) == "oddelovac";
        const char *button = separator_page ? "schovatnastav" : "Button1";
        expected_.panel_page = nullptr;
        side_panel_closed_ = true;
        find<QAbstractButton>(button)->click();
        step_ = std::string("click ") + button;
    }

    void separator_choice()
    {
        expected_.dot = chance(0.5);
        const char *button = expected_.dot ? "RadioButton2" : "RadioButton1";
        find<QAbstractButton>(button)->click();
        step_ = std::string("click ") + button;
    }

    void regional_separator()
    {
        expected_.regional = chance(0.5) ? ',' : '.';
        RegionalSettings regional = window_->regional_settings();
        regional.decimal_separator = expected_.regional;
        window_->set_regional_settings(regional);
        step_ = std::string("regional separator '") + expected_.regional + "'";
    }

    void resize_window()
    {
        const QSize outer(460 + pick(541), 300 + pick(501));
        window_->resize(outer - (window_->frameGeometry().size() - window_->size()));
        step_ = "resize to " + std::to_string(outer.width()) + " x " + std::to_string(outer.height());
    }

    void web_link()
    {
        static const std::vector<const char *> links{"Label19", "Label20", "Image1"};
        const char *link = one_of(links);
        expected_url_ = address_url(link == std::string("Label20") ? window_->second_address()
                                                                   : window_->first_address());
        QWidget *label = find<QWidget>(link);
        click_with_mouse(label, QRectF(label->rect()).center());
        step_ = std::string("click ") + link;
    }

    // "O programu", run modally for real; its OK button is clicked as soon
    // as it shows, from the timer events of its own modal run.
    void about_window()
    {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
            for (QWidget *widget : QApplication::topLevelWidgets())
                if (qobject_cast<AboutWindow *>(widget) != nullptr && widget->isVisible())
                    if (auto *ok = widget->findChild<QAbstractButton *>(QStringLiteral("BitBtn1")))
                        ok->click();
        });
        closer.start(5);
        find<QAction>("Oprogramu1")->trigger();
        step_ = "menu Oprogramu1, then OK";
    }

    // --- The comparison

    std::optional<std::string> disagreement()
    {
        std::ostringstream out;
        if (!shortcut_mismatch_.empty()) {
            out << shortcut_mismatch_;
            shortcut_mismatch_.clear();
            return out.str();
        }

        // The state table.
        const bool welcome_shown = !find<QWidget>("TextTeorie")->isHidden();
        const bool entry_shown = !find<QWidget>("zadaniBox")->isHidden();
        const bool result_shown = !find<QWidget>("vysledekBox")->isHidden();
        const bool enabled = find<QAction>("Ulozit")->isEnabled();
        const bool theory_down = find<QAbstractButton>("ToolButtonteorie")->isChecked();
        const bool computation_down = find<QAbstractButton>("ToolButtonvypocet")->isChecked();
        const QString panel = find<QLabel>("StatusPanel2")->text();
        std::optional<View> state;
        if (welcome_shown && !entry_shown && !result_shown && !enabled && theory_down && !computation_down
            && panel == QStringLiteral("Teorie"))
            state = View::Welcome;
        else if (!welcome_shown && entry_shown && computation_down && !theory_down
                 && panel == QStringLiteral("Výpočet"))
            state = result_shown && enabled ? std::optional(View::Result)
                    : !result_shown && !enabled ? std::optional(View::Entry)
                                                : std::nullopt;
        if (!state || *state != expected_.view) {
            out << "expected the " << view_name(expected_.view) << " state, the window shows: Teorie box "
                << welcome_shown << ", entry box " << entry_shown << ", result box " << result_shown
                << ", saving enabled " << enabled << ", Teorie down " << theory_down << ", Výpočet down "
                << computation_down << ", view panel " << text_of(panel);
            return out.str();
        }
        if (find<QAction>("tisk")->isEnabled() != enabled)
            return "tisk disagrees with Ulozit";
        for (const char *name : {"ToolButtonuloz", "ToolButtontisk"})
            if (find<QWidget>(name)->isEnabled() != enabled)
                return std::string(name) + " disagrees with Ulozit";
        for (const char *name : {"teorie", "vypocet", "Konec1", "Desetinnoddlova1", "Pouitznaen1", "aaa1",
                                 "Oprogramu1"})
            if (!find<QAction>(name)->isEnabled())
                return std::string(name) + " is disabled";
        if (!find<QWidget>("RichEdit1")->isHidden())
            return "RichEdit1 is shown";

        // What the pupil entered and chose.
        for (std::size_t i = 0; i < fields_.size(); ++i)
            if (fields_[i]->text() != expected_.fields[i]) {
                out << fields_[i]->objectName().toStdString() << " holds " << text_of(fields_[i]->text())
                    << ", expected " << text_of(expected_.fields[i]);
                return out.str();
            }
        if (lists_[0]->currentRow() != expected_.relation || lists_[1]->currentRow() != expected_.precision) {
            out << "list rows " << lists_[0]->currentRow() << ", " << lists_[1]->currentRow() << ", expected "
                << expected_.relation << ", " << expected_.precision;
            return out.str();
        }
        if (find<QAbstractButton>("RadioButton2")->isChecked() != expected_.dot
            || find<QAbstractButton>("RadioButton1")->isChecked() == expected_.dot)
            return "the radio buttons do not show the expected separator";
        auto *side_panel = find<QTabWidget>("nastav");
        if (side_panel->isHidden() != (expected_.panel_page == nullptr))
            return expected_.panel_page == nullptr ? "the side panel is open" : "the side panel is closed";
        if (expected_.panel_page != nullptr
            && side_panel->currentWidget()->objectName() != QLatin1String(expected_.panel_page))
            return "the side panel shows page " + side_panel->currentWidget()->objectName().toStdString();

        // The memo and the document.
        const QString memo = memo_->toPlainText();
        if (memo != expected_.memo) {
            out << "the memo holds\n" << memo.toStdString() << "\nexpected\n" << expected_.memo.toStdString();
            return out.str();
        }
        if (solved_) {
            document_ = window_->document_lines();
            if (std::optional<std::string> problem = document_disagreement())
                return problem;
        } else if (window_->document_lines() != document_) {
            return "the document changed without a solve";
        }

        // Messages and the ways out of the program.
        if (failures_ != expected_failures_) {
            out << "messages shown:";
            for (const QString &text : failures_)
                out << ' ' << text_of(text);
            out << "; expected:";
            for (const QString &text : expected_failures_)
                out << ' ' << text_of(text);
            return out.str();
        }
        if (static_cast<int>(notices_.size()) != expected_notices_)
            return "notices shown: " + std::to_string(notices_.size());
        if (expected_url_.has_value() != !opened_.empty() || opened_.size() > 1)
            return "the shell was asked to open " + std::to_string(opened_.size()) + " addresses";
        if (expected_url_ && !expected_url_->isEmpty() && opened_.front() != *expected_url_)
            return "the shell was asked to open " + opened_.front().toString().toStdString();
        if (expected_url_ && expected_url_->isEmpty() && opened_.front().fileName() != QStringLiteral("index.html"))
            return "help opened " + opened_.front().toString().toStdString();
        if (!expected_file_.isEmpty() && QFileInfo(expected_file_).size() <= 0)
            return "no file " + expected_file_.toStdString();

        // The layout follows the window's outer size.
        const QSize outer = window_->frameGeometry().size();
        if (find<QScrollArea>("ScrollBox1")->size() != outer - QSize(30, 120)) {
            out << "ScrollBox1 is " << find<QScrollArea>("ScrollBox1")->width() << " x "
                << find<QScrollArea>("ScrollBox1")->height() << " in a window of " << outer.width() << " x "
                << outer.height();
            return out.str();
        }
        // Closing the side panel makes the window 490 wide, or as wide as
        // the graph of a result needs (at most the screen's width).
        if (side_panel_closed_ && expected_.view != View::Result && outer.width() != 490)
            return "closing the side panel left the width at " + std::to_string(outer.width());
        if (side_panel_closed_ && expected_.view == View::Result) {
            const bool whole = find<QScrollArea>("ScrollBox1")->horizontalScrollBar()->maximum() == 0;
            if (!whole && outer.width() != window_->screen()->availableGeometry().width())
                return "closing the side panel hid part of the graph at width " + std::to_string(outer.width());
        }
        return std::nullopt;
    }

    // The document frames the memo's display rows; after a failure it is empty.
    std::optional<std::string> document_disagreement()
    {
        const QString rich = find<QTextEdit>("RichEdit1")->toPlainText();
        if (expected_.memo.isEmpty()) {
            if (!document_.empty() || !rich.isEmpty())
                return std::string("the document is not empty after a failed solve");
            return std::nullopt;
        }
        const std::vector<std::string> rows = display_rows(*memo_);
        if (document_.size() != rows.size() + 4 || !document_.front().starts_with("Datum:")
            || document_[1] != std::string(31, '-') || document_[document_.size() - 2] != std::string(36, '-')
            || !std::equal(rows.begin(), rows.end(), document_.begin() + 2))
            return std::string("the document does not frame the memo's rows");
        QStringList lines;
        for (const std::string &line : document_)
            lines << QString::fromStdString(line);
        if (rich != lines.join(QLatin1Char('\n')))
            return std::string("RichEdit1 does not hold the document");
        return std::nullopt;
    }

    enum class PrintAnswer { NoPrinter, Cancel, ToFile };

    std::mt19937_64 random_;
    QString folder_;
    std::unique_ptr<MainWindow> window_;
    std::array<QLineEdit *, 3> fields_{};
    std::array<QListWidget *, 2> lists_{};
    QPlainTextEdit *memo_ = nullptr;

    Expected expected_;
    std::vector<std::string> document_;

    // This step's description, and what it is expected to bring about
    // besides the window's state.
    std::string step_;
    std::deque<std::string> trail_;
    bool solved_ = false;
    bool side_panel_closed_ = false;
    std::string shortcut_mismatch_;
    std::vector<QString> expected_failures_;
    int expected_notices_ = 0;
    std::optional<QUrl> expected_url_; // an empty URL: the help page
    QString expected_file_;            // a file that saving or printing must have written

    // What the seams answer and what they saw.
    std::optional<QString> save_answer_;
    std::vector<QString> saved_files_;
    PrintAnswer print_answer_ = PrintAnswer::Cancel;
    int printed_files_ = 0;
    std::vector<QString> failures_;
    std::vector<QString> notices_;
    std::vector<QUrl> opened_;

    static inline QtMessageHandler previous_handler_ = nullptr;
    // Installed for as long as the walk lives.
    ReplacedSeam<FailureDisplay> display_{set_failure_display,
                                          [this](const QString &text, const QString &) { failures_.push_back(text); }};
    ReplacedSeam<ShellOpener> opener_{set_shell_opener, [this](const QUrl &url) { opened_.push_back(url); }};
    ReplacedSeam<SaveDialogs> save_dialogs_{
        set_save_dialogs,
        {[this](QWidget *, const QString &) { return save_answer_; },
         [this](const QString &text, const QString &) { notices_.push_back(text); }}};
    ReplacedSeam<PrintDialogs> print_dialogs_{
        set_print_dialogs,
        {[this] { return print_answer_ != PrintAnswer::NoPrinter; },
         [this](QPrinter &printer, QWidget *) {
             if (print_answer_ != PrintAnswer::ToFile)
                 return false;
             printer.setOutputFormat(QPrinter::PdfFormat);
             printer.setOutputFileName(expected_file_);
             return true;
         }}};
};

// A positive number from the environment; nothing when the variable is unset.
std::optional<std::uint64_t> number_from_environment(const char *name)
{
    const char *value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    char *end = nullptr;
    const unsigned long long number = std::strtoull(value, &end, 10);
    if (*end != '\0')
        throw std::invalid_argument(std::string(name) + " is not a number: " + value);
    return number;
}

TEST(MonkeyWalk, EveryStepLeavesTheWindowInTheStateItLeadsTo)
{
    std::uint64_t seed = 0;
    int steps = default_steps;
    try {
        seed = number_from_environment("PARVOLIN_MONKEY_SEED").value_or(default_seed);
        steps = static_cast<int>(number_from_environment("PARVOLIN_MONKEY_STEPS").value_or(default_steps));
    } catch (const std::invalid_argument &error) {
        FAIL() << error.what();
    }
    std::printf("monkey walk: seed %llu, %d steps\n", static_cast<unsigned long long>(seed), steps);
    std::fflush(stdout);
    RecordProperty("seed", std::to_string(seed));

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QElapsedTimer clock;
    clock.start();
    MonkeyWalk walk(seed, folder.path());
    const std::optional<std::string> problem = walk.run(steps);
    std::printf("monkey walk: %d steps in %lld ms\n", steps, static_cast<long long>(clock.elapsed()));
    if (problem)
        ADD_FAILURE() << "The walk with seed " << seed << " went wrong at " << *problem
                      << "Replay it with PARVOLIN_MONKEY_SEED=" << seed << " (PARVOLIN_MONKEY_STEPS to stop sooner).";
}

} // namespace
} // namespace parvolin
