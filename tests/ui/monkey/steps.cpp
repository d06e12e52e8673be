#include "tests/ui/monkey/steps.h"

#include "ui/aux/about_window.h"
#include "ui/aux/shell_links.h"
#include "ui/main/coefficient_filter.h"

#include "tests/ui/window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace parvolin::monkey {

int Steps::pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
bool Steps::chance(double p) { return std::bernoulli_distribution(p)(random_); }

QString Steps::digits(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + pick(10));
    return text;
}

// Text that reaches a field without typing, set or pasted: numbers in both
// notations, with exponents and blanks, junk, and long digit runs.
QString Steps::pasted_text()
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
Key Steps::field_key()
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
        return plain_key(Qt::Key_Delete, "Delete");
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
        return several_characters(text, "several " + text_of(text));
    }
    if (kind < 99)
        return chance(0.5) ? plain_key(Qt::Key_Return, "Return", Qt::NoModifier, QStringLiteral("\r"))
                           : plain_key(Qt::Key_Enter, "keypad Enter", Qt::KeypadModifier, QStringLiteral("\r"));
    return plain_key(Qt::Key_F1, "F1");
}

// --- The steps

std::string Steps::take_one()
{
    struct Action {
        double weight;
        bool available;
        void (Steps::*run)();
    };
    const bool panel_open = walk_.expected.panel_page != nullptr;
    const bool separator_page = panel_open && std::string(walk_.expected.panel_page) == "oddelovac";
    const Action actions[] = {
        {45, computation_view(), &Steps::type_into_field},
        {6, computation_view(), &Steps::put_text_into_field},
        {4, computation_view(), &Steps::click_into_field},
        {5, computation_view(), &Steps::list_key},
        {4, computation_view(), &Steps::list_click},
        {1.5, computation_view(), &Steps::enter_in_list},
        {6, computation_view(), &Steps::solve_button},
        {2, computation_view(), &Steps::new_task_button},
        {0.3, true, &Steps::button_mnemonic},
        {5, true, &Steps::menu_item},
        {6, true, &Steps::menu_shortcut},
        {4, true, &Steps::toolbar_button},
        {3, panel_open, &Steps::close_side_panel},
        {3, separator_page, &Steps::separator_choice},
        {2, true, &Steps::regional_separator},
        {2, true, &Steps::resize_window},
        {1.5, !computation_view(), &Steps::web_link},
        {0.1, true, &Steps::about_window},
    };
    double total = 0;
    for (const Action &action : actions)
        total += action.available ? action.weight : 0;
    double point = std::uniform_real_distribution<double>(0, total)(random_);
    walk_.start_step();
    for (const Action &action : actions) {
        if (!action.available)
            continue;
        point -= action.weight;
        if (point < 0) {
            (this->*action.run)();
            return step_;
        }
    }
    menu_item();
    return step_;
}

void Steps::expect(Command command)
{
    switch (command) {
    case Command::Save:
        prepare_save();
        break;
    case Command::Print:
        prepare_print();
        break;
    case Command::Help:
        walk_.outcome.url = QUrl(); // any file named index.html
        break;
    default:
        apply(command, walk_.expected, walk_.outcome);
    }
}

void Steps::prepare_save()
{
    const int answer = pick(5);
    if (answer < 2) {
        walk_.save_answer.reset();
        return;
    }
    if (answer < 4 || walk_.saved_files.empty()) {
        walk_.save_answer = QStringLiteral("%1/saved-%2").arg(walk_.folder).arg(walk_.saved_files.size());
        walk_.outcome.file = *walk_.save_answer + QStringLiteral(".rtf");
        walk_.saved_files.push_back(*walk_.save_answer);
        return;
    }
    // A name already taken: the notice, and the file stays as it was.
    walk_.save_answer = one_of(walk_.saved_files);
    walk_.outcome.notices = 1;
}

void Steps::prepare_print()
{
    const int answer = pick(10);
    walk_.print_answer = answer < 4 ? PrintAnswer::NoPrinter : answer < 9 ? PrintAnswer::Cancel : PrintAnswer::ToFile;
    if (walk_.print_answer == PrintAnswer::NoPrinter)
        walk_.outcome.failures.push_back(shown("There is no default printer currently selected"));
    if (walk_.print_answer == PrintAnswer::ToFile)
        walk_.outcome.file = QStringLiteral("%1/printed-%2.pdf").arg(walk_.folder).arg(walk_.printed_files++);
}

// Clicks into a field: the cursor lands somewhere, or a stretch is selected.
void Steps::click_field(int index)
{
    QLineEdit *field = walk_.fields[static_cast<std::size_t>(index)];
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

void Steps::click_into_field()
{
    const int index = pick(3);
    click_field(index);
    step_ = "click into " + walk_.fields[static_cast<std::size_t>(index)]->objectName().toStdString();
}

// Delivers a key that is expected to start `command` or nothing, and
// notes when a shortcut answered otherwise.
void Steps::deliver_expecting(QWidget *target, const Key &key, std::optional<Command> command)
{
    if (command)
        expect(*command);
    const bool taken = click_key(target, key);
    if (taken != command.has_value())
        walk_.outcome.shortcut_mismatch = key.name + (taken ? " started a command" : " started no command");
}

void Steps::type_into_field()
{
    const int index = pick(3);
    QLineEdit *field = walk_.fields[static_cast<std::size_t>(index)];
    step_.clear();
    if (QApplication::focusWidget() != field || chance(0.05)) {
        click_field(index);
        step_ = "click, then ";
    }
    const Key key = field_key();
    step_ += key.name + " into " + field->objectName().toStdString();

    if (const std::optional<Command> command = shortcut_of(walk_.expected, key)) {
        deliver_expecting(field, key, command);
        return;
    }
    if (key.code == Qt::Key_Return || key.code == Qt::Key_Enter) {
        expect(Command::Solve);
        deliver_expecting(field, key, std::nullopt);
        return;
    }
    FieldEdit edit(walk_.expected.fields[static_cast<std::size_t>(index)], *field);
    if (key.code == Qt::Key_Backspace) {
        edit.backspace();
    } else if (key.code == Qt::Key_Delete) {
        edit.remove_forward();
    } else if (!key.text.isEmpty() && !(key.modifiers & (Qt::ControlModifier | Qt::AltModifier))
               && key.text.front() >= QLatin1Char(' ')) {
        // Typed characters; each one is judged against the text the ones
        // before it left.
        for (const QChar typed : key.text) {
            const std::optional<QChar> result = entry_rule(typed, edit.text, walk_.expected.dot);
            if (result && result->unicode() == 8)
                edit.backspace();
            else if (result)
                edit.insert(QString(*result));
        }
    }
    walk_.expected.fields[static_cast<std::size_t>(index)] = edit.text;
    deliver_expecting(field, key, std::nullopt);
}

void Steps::put_text_into_field()
{
    const int index = pick(3);
    QLineEdit *field = walk_.fields[static_cast<std::size_t>(index)];
    const QString text = pasted_text();
    const std::string name = field->objectName().toStdString();
    if (chance(0.5)) {
        // Pasted through the field's context menu: all of it, as typing
        // it key by key would give it, or nothing when a key would be
        // refused.
        click_field(index);
        FieldEdit edit(walk_.expected.fields[static_cast<std::size_t>(index)], *field);
        bool typeable = !text.isEmpty();
        for (const QChar typed : text) {
            const std::optional<QChar> result = entry_rule(typed, edit.text, walk_.expected.dot);
            if (!result || typed < QLatin1Char(' ')) {
                typeable = false;
                break;
            }
            edit.insert(QString(*result));
        }
        if (typeable)
            walk_.expected.fields[static_cast<std::size_t>(index)] = edit.text;
        QApplication::clipboard()->setText(text);
        walk_.window->findChild<CoefficientKeyFilter *>()->paste(field, text);
        step_ = "paste " + text_of(text) + " into " + name;
    } else {
        walk_.expected.fields[static_cast<std::size_t>(index)] = text;
        field->setText(text);
        step_ = "set " + name + " to " + text_of(text);
    }
}

void Steps::list_key()
{
    const int which = pick(2);
    QListWidget *list = walk_.lists[static_cast<std::size_t>(which)];
    int &row = which == 0 ? walk_.expected.relation : walk_.expected.precision;
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

void Steps::list_click()
{
    const int which = pick(2);
    QListWidget *list = walk_.lists[static_cast<std::size_t>(which)];
    const int row = pick(list->count());
    (which == 0 ? walk_.expected.relation : walk_.expected.precision) = row;
    list->setFocus(Qt::MouseFocusReason);
    list->setCurrentRow(row);
    step_ = "click item " + std::to_string(row) + " of " + list->objectName().toStdString();
}

void Steps::enter_in_list()
{
    QListWidget *list = walk_.lists[static_cast<std::size_t>(pick(2))];
    list->setFocus(Qt::MouseFocusReason);
    expect(Command::Solve);
    deliver_expecting(list, plain_key(Qt::Key_Return, "Return", Qt::NoModifier, QStringLiteral("\r")),
                      std::nullopt);
    step_ = "Return in " + list->objectName().toStdString();
}

void Steps::solve_button()
{
    expect(Command::Solve);
    walk_.find<QAbstractButton>("BitBtnVyresit")->click();
    step_ = "click Vyřešit";
}

void Steps::new_task_button()
{
    expect(Command::NewTask);
    walk_.find<QAbstractButton>("BitBtnNove")->click();
    step_ = "click Nové zadání";
}

// Alt+V and Alt+N: the buttons' mnemonics, which click them with the
// button shown pressed for a moment.
void Steps::button_mnemonic()
{
    const bool solve = chance(0.5);
    const Key key = plain_key(solve ? Qt::Key_V : Qt::Key_N, solve ? "Alt+V" : "Alt+N", Qt::AltModifier,
                              QLatin1String(solve ? "v" : "n"));
    QWidget *target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : walk_.window.get();
    deliver_expecting(target, key, shortcut_of(walk_.expected, key));
    auto *button = walk_.find<QAbstractButton>(solve ? "BitBtnVyresit" : "BitBtnNove");
    QElapsedTimer waited;
    waited.start();
    while (button->isDown() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    step_ = key.name;
}

// A command chosen in the menu, which offers only its enabled items.
void Steps::menu_item()
{
    std::vector<const MenuCommand *> enabled;
    for (const MenuCommand &menu : menu_commands())
        if (walk_.find<QAction>(menu.action)->isEnabled())
            enabled.push_back(&menu);
    const MenuCommand &menu = *one_of(enabled);
    expect(menu.command);
    walk_.find<QAction>(menu.action)->trigger();
    step_ = std::string("menu ") + menu.action;
}

void Steps::menu_shortcut()
{
    const MenuCommand &menu = one_of(menu_commands());
    QWidget *target = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : walk_.window.get();
    deliver_expecting(target, menu.key, shortcut_of(walk_.expected, menu.key));
    step_ = menu.key.name + " in " + target->objectName().toStdString();
}

void Steps::toolbar_button()
{
    static const std::vector<std::pair<const char *, Command>> buttons{
        {"ToolButtonteorie", Command::Theory},
        {"ToolButtonvypocet", Command::Computation},
        {"ToolButtonuloz", Command::Save},
        {"ToolButtontisk", Command::Print}};
    const auto &[name, command] = one_of(buttons);
    // A disabled button ignores the click.
    if (available(walk_.expected, command))
        expect(command);
    walk_.find<QAbstractButton>(name)->click();
    step_ = std::string("click ") + name;
}

void Steps::close_side_panel()
{
    const bool separator_page = std::string(walk_.expected.panel_page) == "oddelovac";
    const char *button = separator_page ? "schovatnastav" : "Button1";
    walk_.expected.panel_page = nullptr;
    walk_.outcome.side_panel_closed = true;
    walk_.find<QAbstractButton>(button)->click();
    step_ = std::string("click ") + button;
}

void Steps::separator_choice()
{
    walk_.expected.dot = chance(0.5);
    const char *button = walk_.expected.dot ? "RadioButton2" : "RadioButton1";
    walk_.find<QAbstractButton>(button)->click();
    step_ = std::string("click ") + button;
}

void Steps::regional_separator()
{
    walk_.expected.regional = chance(0.5) ? ',' : '.';
    RegionalSettings regional = walk_.window->regional_settings();
    regional.decimal_separator = walk_.expected.regional;
    walk_.window->set_regional_settings(regional);
    step_ = std::string("regional separator '") + walk_.expected.regional + "'";
}

void Steps::resize_window()
{
    const QSize outer(460 + pick(541), 300 + pick(501));
    walk_.window->resize(outer - (walk_.window->frameGeometry().size() - walk_.window->size()));
    step_ = "resize to " + std::to_string(outer.width()) + " x " + std::to_string(outer.height());
}

void Steps::web_link()
{
    static const std::vector<const char *> links{"Label19", "Label20", "Image1"};
    const char *link = one_of(links);
    walk_.outcome.url = address_url(link == std::string("Label20") ? walk_.window->second_address()
                                                               : walk_.window->first_address());
    QWidget *label = walk_.find<QWidget>(link);
    click_with_mouse(label, QRectF(label->rect()).center());
    step_ = std::string("click ") + link;
}

// "O programu", run modally for real; its OK button is clicked as soon
// as it shows, from the timer events of its own modal run.
void Steps::about_window()
{
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (qobject_cast<AboutWindow *>(widget) != nullptr && widget->isVisible())
                if (auto *ok = widget->findChild<QAbstractButton *>(QStringLiteral("BitBtn1")))
                    ok->click();
    });
    closer.start(5);
    walk_.find<QAction>("Oprogramu1")->trigger();
    step_ = "menu Oprogramu1, then OK";
}

} // namespace parvolin::monkey
