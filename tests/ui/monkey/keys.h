#pragma once

// The keys of the monkey walk and how they reach the window: through QTest,
// which offers each key to the window's shortcuts before the widget gets it,
// as the platform does.

#include <QString>
#include <Qt>

#include <string>

class QWidget;

namespace parvolin::monkey {

struct Key {
    // How QTest types it: an ASCII character, a named key with the text QTest
    // gives it, or a key with a text keyClick cannot give (a letter outside
    // ASCII, several characters in one key).
    enum class Typing { Character, Named, OwnText };

    int code;
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::string name;
    Typing typing = Typing::Named;
};

// A character as the keyboard types it; upper case with Shift.
Key character_key(QChar c);

// Ctrl with a letter, 'A' to 'Z'.
Key control_key(char letter);

// A named key; `text` is what QTest gives it ("\b" for Backspace, "\r" for
// Return, nothing for the arrows and Delete).
Key plain_key(Qt::Key code, const char *name, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QString text = {});

// One key that types several characters at once, as a compose sequence or an
// input device does.
Key several_characters(const QString &text, std::string name);

// Clicks `key` on `target`: the focus widget may claim it, otherwise the
// shortcuts try it; when none took it, it is pressed and released on
// `target`, from where Qt passes it on to the parents while it is ignored.
// True when a shortcut took it.
bool click_key(QWidget *target, const Key &key);

} // namespace parvolin::monkey
