#include "ui/main/coefficient_filter.h"

#include "tests/test_rows.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace parvolin {
namespace {

constexpr auto comma = ChosenSeparator::Comma;
constexpr auto dot = ChosenSeparator::Dot;

struct CharacterRow {
    const char *name;
    ChosenSeparator separator;
    const char *text;
    char16_t typed;
    char16_t expected; // 0: swallowed
};

class FilterCoefficientKey : public testing::TestWithParam<CharacterRow> {};

TEST_P(FilterCoefficientKey, GivesTheCharacterToInsert)
{
    const CharacterRow &row = GetParam();
    const std::optional<QChar> result =
        filter_coefficient_key(QChar(row.typed), QString::fromUtf8(row.text), row.separator);
    EXPECT_EQ(result ? result->unicode() : u'\0', row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FilterCoefficientKey,
    testing::Values(CharacterRow{"digit", comma, "0", u'7', u'7'}, CharacterRow{"minus_anywhere", comma, "-1-", u'-', u'-'},
                    CharacterRow{"backspace_in_empty_field", comma, "", u'\b', u'\b'},
                    CharacterRow{"comma_chosen_dot_becomes_comma", comma, "0", u'.', u','},
                    CharacterRow{"comma_chosen_second_comma", comma, "0,5", u',', 0},
                    CharacterRow{"comma_chosen_second_via_dot", comma, "0,5", u'.', 0},
                    CharacterRow{"comma_chosen_empty_field", comma, "", u',', 0},
                    CharacterRow{"comma_chosen_dot_from_before", comma, "0.5", u'.', u','},
                    CharacterRow{"dot_chosen_comma_becomes_dot", dot, "0", u',', u'.'},
                    CharacterRow{"dot_chosen_second_dot", dot, "-.", u'.', 0},
                    CharacterRow{"dot_chosen_empty_field", dot, "", u',', 0},
                    CharacterRow{"letter", comma, "0", u'e', 0}, CharacterRow{"blank", comma, "0", u' ', 0},
                    CharacterRow{"plus_below_the_range", comma, "0", u'+', 0},
                    CharacterRow{"slash_above_the_range", dot, "0", u'/', 0},
                    CharacterRow{"paste_character", comma, "0", u'\x16', 0},
                    CharacterRow{"arabic_indic_three", comma, "0", u'\u0663', 0}),
    row_name);

// ---------------------------------------------------------------------------

// A key as QTest types it, with the text QTest gives the key ("\r" for
// Return, "x" for X); `text` only for a text QTest cannot give.
struct Stroke {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    std::optional<QString> text = std::nullopt;
};

// The keys that type the ASCII characters of `text`.
std::vector<Stroke> typing(const char *text)
{
    std::vector<Stroke> strokes;
    for (const char *c = text; *c != '\0'; ++c)
        strokes.push_back({static_cast<Qt::Key>(QChar::toUpper(char16_t(*c))), Qt::NoModifier, std::nullopt});
    return strokes;
}

std::vector<Stroke> operator+(std::vector<Stroke> first, const std::vector<Stroke> &second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const std::vector<Stroke> backspace{{Qt::Key_Backspace}};
// Ctrl+A with the control character X11 gives it as its text.
const std::vector<Stroke> select_all_keys{{Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01")}};
const std::vector<Stroke> home_delete{{Qt::Key_Home}, {Qt::Key_Delete}};
const std::vector<Stroke> keypad_comma{{Qt::Key_Comma, Qt::KeypadModifier}};
const std::vector<Stroke> composed{{Qt::Key_unknown, Qt::NoModifier, QStringLiteral("1a,,")}};

// Through QTest, which offers the key to the shortcuts (a ShortcutOverride
// to the field first) before it presses it.
void send(QLineEdit &field, const Stroke &stroke)
{
    if (stroke.text) // keyClick gives a key only QTest's own text
        QTest::sendKeyEvent(QTest::Click, &field, stroke.key, *stroke.text, stroke.modifiers);
    else
        QTest::keyClick(&field, stroke.key, stroke.modifiers);
}

struct TypingRow {
    const char *name;
    ChosenSeparator separator;
    const char *before;
    bool selected;
    std::vector<Stroke> strokes;
    const char *after;
};

class TypingIntoAField : public testing::TestWithParam<TypingRow> {};

TEST_P(TypingIntoAField, LeavesTheText)
{
    const TypingRow &row = GetParam();
    QLineEdit field(QString::fromUtf8(row.before));
    CoefficientKeyFilter filter([&] { return row.separator; }, [] {});
    filter.attach(&field);
    if (row.selected)
        field.selectAll();
    for (const Stroke &stroke : row.strokes)
        send(field, stroke);
    EXPECT_EQ(field.text().toStdString(), row.after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TypingIntoAField,
    testing::Values(TypingRow{"comma_chosen_dot_then_comma_then_five", comma, "0", false, typing(".,5"), "0,5"},
                    TypingRow{"dot_chosen_empty_comma_refused", dot, "", false, typing(","), ""},
                    TypingRow{"dot_chosen_minus_then_dot", dot, "", false, typing("-."), "-."},
                    TypingRow{"letter_and_blank", comma, "0", false, typing("x "), "0"},
                    TypingRow{"backspace", comma, "12", false, backspace + backspace + backspace, ""},
                    TypingRow{"selected_zero_replaced_by_comma", comma, "0", true, typing(","), ","},
                    TypingRow{"ctrl_a_selects_nothing", comma, "0", false, select_all_keys + typing("5"), "05"},
                    TypingRow{"delete_and_home_pass", comma, "10", false, home_delete, "0"},
                    TypingRow{"keypad_comma_with_dot_chosen", dot, "1", false, keypad_comma, "1."},
                    TypingRow{"several_characters_in_one_key", comma, "0", false, composed, "01,"}),
    row_name);

TEST(CoefficientKeyFilter, ReadsTheSeparatorAtEachKey)
{
    QLineEdit field(QStringLiteral("1"));
    ChosenSeparator separator = dot;
    CoefficientKeyFilter filter([&] { return separator; }, [] {});
    filter.attach(&field);
    send(field, typing(",").front());
    separator = comma;
    send(field, typing(".").front());
    EXPECT_EQ(field.text(), QStringLiteral("1.,"));
}

TEST(CoefficientKeyFilter, EnterRunsTheDefaultActionAndTypesNothing)
{
    QLineEdit field(QStringLiteral("0"));
    int runs = 0;
    CoefficientKeyFilter filter([] { return comma; }, [&] { ++runs; });
    filter.attach(&field);
    send(field, {Qt::Key_Return});
    send(field, {Qt::Key_Enter, Qt::KeypadModifier});
    EXPECT_EQ(runs, 2);
    // With Shift, Ctrl or Alt it is no default-button key, here as in the
    // window's lists; it types nothing either.
    for (const Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
        send(field, {Qt::Key_Return, modifier});
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(field.text(), QStringLiteral("0"));
}

TEST(CoefficientKeyFilter, KeyboardPasteNeverHappensButTheMenuPasteDoes)
{
    QLineEdit field(QStringLiteral("0"));
    CoefficientKeyFilter filter([] { return comma; }, [] {});
    filter.attach(&field);
    QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
    // Ctrl+V with the texts X11 and other platforms give it, and QTest's own.
    send(field, {Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16")});
    send(field, {Qt::Key_V, Qt::ControlModifier, QString()});
    send(field, {Qt::Key_V, Qt::ControlModifier});
    send(field, {Qt::Key_Insert, Qt::ShiftModifier});
    EXPECT_EQ(field.text(), QStringLiteral("0"));
    field.paste(); // what the context menu does: not typed, not filtered
    EXPECT_EQ(field.text(), QStringLiteral("0x9"));
}

// The field claims Ctrl+letter keys for its own editing, which would keep
// the window's menu shortcuts (Ctrl+Z, Ctrl+K, ...) from firing while a
// coefficient field has the focus.
TEST(CoefficientKeyFilter, LeavesControlLettersToTheWindowShortcuts)
{
    // The field's answer to the ShortcutOverride alone: QTest delivers that
    // event only inside a whole key click and does not say how it was
    // answered, so this one is sent by hand.
    const auto claimed = [](QLineEdit &field, int key, Qt::KeyboardModifiers modifiers, const QString &text) {
        QKeyEvent event(QEvent::ShortcutOverride, key, modifiers, text);
        event.setAccepted(false);
        QApplication::sendEvent(&field, &event);
        return event.isAccepted();
    };
    QLineEdit plain(QStringLiteral("0"));
    QLineEdit filtered(QStringLiteral("0"));
    CoefficientKeyFilter filter([] { return comma; }, [] {});
    filter.attach(&filtered);

    ASSERT_TRUE(claimed(plain, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a")));
    EXPECT_FALSE(claimed(filtered, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a")));
    EXPECT_FALSE(claimed(filtered, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16")));
    EXPECT_TRUE(claimed(filtered, Qt::Key_5, Qt::NoModifier, QStringLiteral("5")));
    EXPECT_TRUE(claimed(filtered, Qt::Key_Left, Qt::NoModifier, {}));
}

// Keys that type nothing reach the field (and through it the window, for Tab
// and Escape) untouched.
TEST(CoefficientKeyFilter, PassesKeysThatTypeNothing)
{
    struct Probe : QObject {
        std::vector<int> seen;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::KeyPress)
                seen.push_back(static_cast<QKeyEvent *>(event)->key());
            return false;
        }
    } probe;
    QLineEdit field(QStringLiteral("0"));
    field.installEventFilter(&probe); // runs after the filter installed next
    CoefficientKeyFilter filter([] { return comma; }, [] {});
    filter.attach(&field);
    for (const Stroke &stroke : std::vector<Stroke>{{Qt::Key_Tab},
                                                    {Qt::Key_Escape},
                                                    {Qt::Key_Backtab, Qt::ShiftModifier},
                                                    {Qt::Key_Right},
                                                    {Qt::Key_F1},
                                                    {Qt::Key_A}})
        send(field, stroke);
    // QTest presses Shift before Shift+Backtab, as the keyboard does.
    EXPECT_EQ(probe.seen, (std::vector<int>{Qt::Key_Tab, Qt::Key_Escape, Qt::Key_Shift, Qt::Key_Backtab, Qt::Key_Right,
                                            Qt::Key_F1}));
}

} // namespace
} // namespace parvolin
