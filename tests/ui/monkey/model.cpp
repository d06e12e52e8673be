#include "tests/ui/monkey/model.h"

#include "solver/report.h"

#include <QLineEdit>
#include <QStringList>

#include <exception>
#include <utility>

namespace parvolin::monkey {

const char *view_name(View view)
{
    return view == View::Welcome ? "Welcome" : view == View::Entry ? "Entry" : "Result";
}

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

FieldEdit::FieldEdit(QString expected_text, const QLineEdit &field)
    : text(std::move(expected_text)), cursor(field.cursorPosition())
{
    if (field.hasSelectedText()) {
        selection_start = field.selectionStart();
        selection_length = field.selectionLength();
    }
}

bool FieldEdit::remove_selection()
{
    if (selection_length == 0)
        return false;
    text.remove(selection_start, selection_length);
    cursor = selection_start;
    selection_length = 0;
    return true;
}

void FieldEdit::insert(const QString &inserted)
{
    remove_selection();
    text.insert(cursor, inserted);
    cursor += inserted.size();
}

void FieldEdit::backspace()
{
    if (!remove_selection() && cursor > 0)
        text.remove(--cursor, 1);
}

void FieldEdit::remove_forward()
{
    if (!remove_selection() && cursor < text.size())
        text.remove(cursor, 1);
}

bool available(const Expected &expected, Command command)
{
    if (command == Command::Save || command == Command::Print)
        return expected.view == View::Result;
    if (command == Command::Solve || command == Command::NewTask)
        return expected.view != View::Welcome;
    return true;
}

std::optional<Command> shortcut_of(const Expected &expected, const Key &key)
{
    for (const MenuCommand &menu : menu_commands())
        if (menu.key.code == key.code && menu.key.modifiers == key.modifiers)
            return available(expected, menu.command) ? std::optional(menu.command) : std::nullopt;
    if (key.modifiers == Qt::AltModifier && (key.code == Qt::Key_V || key.code == Qt::Key_N)) {
        const Command command = key.code == Qt::Key_V ? Command::Solve : Command::NewTask;
        return available(expected, command) ? std::optional(command) : std::nullopt;
    }
    return std::nullopt;
}

namespace {

void solve(Expected &expected, StepOutcome &outcome)
{
    expected.view = View::Result;
    outcome.solved = true;
    const std::string a = expected.fields[0].toStdString();
    const std::string b = expected.fields[1].toStdString();
    const std::string c = expected.fields[2].toStdString();
    try {
        const Report report =
            build_report(ProblemInput{a, b, c, expected.relation, expected.precision}, expected.regional);
        QStringList lines;
        for (const std::string &line : report.lines)
            lines << QString::fromStdString(line);
        expected.memo = lines.join(QLatin1Char('\n'));
    } catch (const std::exception &failure) {
        expected.memo.clear();
        outcome.failures.push_back(shown(failure.what()));
    }
}

} // namespace

void apply(Command command, Expected &expected, StepOutcome &outcome)
{
    switch (command) {
    case Command::Theory:
        expected.view = View::Welcome;
        break;
    case Command::Computation:
        expected.view = View::Entry;
        break;
    case Command::SeparatorPanel:
        expected.panel_page = "oddelovac";
        break;
    case Command::NotationPanel:
        expected.panel_page = "znaceni";
        break;
    case Command::Solve:
        solve(expected, outcome);
        break;
    case Command::NewTask:
        expected.view = View::Entry;
        expected.fields.fill(QStringLiteral("0"));
        break;
    case Command::Save:
    case Command::Print:
    case Command::Help:
        break;
    }
}

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

} // namespace parvolin::monkey
