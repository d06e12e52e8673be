#pragma once

// The window as the monkey walk's steps should have left it: its state table
// (the Welcome, Entry and Result views), what the pupil entered and chose, the
// memo, and what the commands do to all of it. Nothing here touches a window.

#include "tests/ui/monkey/keys.h"

#include <QString>
#include <QUrl>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;

namespace parvolin::monkey {

enum class View { Welcome, Entry, Result };

const char *view_name(View view);

enum class Command { Theory, Computation, Save, Print, SeparatorPanel, NotationPanel, Help, Solve, NewTask };

// The menu commands with a shortcut, as the menu names them.
struct MenuCommand {
    const char *action;
    Command command;
    Key key;
};

const std::vector<MenuCommand> &menu_commands();

// What the entry rules make of a typed character; nothing when it is refused.
std::optional<QChar> entry_rule(QChar typed, const QString &text, bool dot);

// A line edit's text with its cursor and selection, edited as a line edit
// edits: an insertion or deletion takes the selection away first.
struct FieldEdit {
    QString text;
    int cursor = 0;
    int selection_start = 0;
    int selection_length = 0;

    // The expected text, with the cursor and selection the field shows.
    FieldEdit(QString expected_text, const QLineEdit &field);

    bool remove_selection();
    void insert(const QString &inserted);
    void backspace();
    void remove_forward();
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

// What one step is expected to bring about besides the window's state.
struct StepOutcome {
    bool solved = false;
    bool side_panel_closed = false;
    std::string shortcut_mismatch; // a key a shortcut answered otherwise than expected
    std::vector<QString> failures;
    int notices = 0;
    std::optional<QUrl> url; // an empty URL: the help page
    QString file;            // a file that saving or printing must have written
};

// Whether the window offers `command` in the state `expected`.
bool available(const Expected &expected, Command command);

// Which command a key pressed anywhere in the window starts, if any.
std::optional<Command> shortcut_of(const Expected &expected, const Key &key);

// What a command does to the views, the side panel and the fields; a solve
// also sets the memo, or the failure shown instead. Saving, printing and help
// change none of them; the steps expect what they bring about, which depends
// on the answers the steps give the dialogs.
void apply(Command command, Expected &expected, StepOutcome &outcome);

// A failure's message as the error display shows it.
QString shown(const std::string &message);

// A text in quotes, for the reports of the walk.
std::string text_of(const QString &text);

} // namespace parvolin::monkey
