#include "tests/ui/monkey/keys.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QWidget>

#include <utility>

namespace parvolin::monkey {

Key character_key(QChar c)
{
    const int code = c.isLetter() ? c.toUpper().unicode() : c.unicode();
    const bool ascii = c.unicode() >= u' ' && c.unicode() < 0x7f;
    return {code, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c),
            "'" + QString(c).toStdString() + "'", ascii ? Key::Typing::Character : Key::Typing::OwnText};
}

Key control_key(char letter)
{
    return {Qt::Key_A + (letter - 'A'), Qt::ControlModifier, QString(QChar(letter - 'A' + 'a')),
            std::string("Ctrl+") + letter, Key::Typing::Named};
}

Key plain_key(Qt::Key code, const char *name, Qt::KeyboardModifiers modifiers, QString text)
{
    return {code, modifiers, std::move(text), name, Key::Typing::Named};
}

Key several_characters(const QString &text, std::string name)
{
    return {Qt::Key_unknown, Qt::NoModifier, text, std::move(name), Key::Typing::OwnText};
}

namespace {

// Counts the shortcut events sent while it lives: a shortcut that matches a
// key is activated by one, sent to its action or widget.
class ShortcutCount : public QObject {
public:
    ShortcutCount() { QCoreApplication::instance()->installEventFilter(this); }
    ~ShortcutCount() override { QCoreApplication::instance()->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Shortcut)
            ++count;
        return false;
    }
};

} // namespace

bool click_key(QWidget *target, const Key &key)
{
    ShortcutCount shortcuts;
    switch (key.typing) {
    case Key::Typing::Character:
        QTest::keyClick(target, key.text.front().toLatin1(), key.modifiers);
        break;
    case Key::Typing::Named:
        QTest::keyClick(target, static_cast<Qt::Key>(key.code), key.modifiers);
        break;
    case Key::Typing::OwnText:
        // keyClick knows only the texts of ASCII characters; this is the
        // QTest function it delivers its keys through, given the text.
        QTest::sendKeyEvent(QTest::Click, target, static_cast<Qt::Key>(key.code), key.text, key.modifiers);
        break;
    }
    return shortcuts.count > 0;
}

} // namespace parvolin::monkey
