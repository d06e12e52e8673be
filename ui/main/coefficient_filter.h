#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QKeyEvent;
class QLineEdit;

namespace parvolin {

enum class ChosenSeparator { Comma, Dot };

// What a typed character becomes in a coefficient field: only backspace,
// digits, '-', and the separators get through; the other separator is turned
// into the chosen one; a separator is refused when the text (as it is before
// the key, a selection not considered) already holds one or is empty.
// std::nullopt: the character is swallowed.
std::optional<QChar> filter_coefficient_key(QChar typed, const QString &current_text, ChosenSeparator separator);

// What pasting `pasted` into a field inserts: each character as typing it
// would make it, judged against the text the ones before it left (the field's
// whole `current_text` for the first, `text_around` (the text outside the
// selection the paste replaces) with the ones already inserted for the
// rest). std::nullopt when the filter would swallow any of them, or when
// one is a control character: such a text cannot be typed, and nothing of it
// is pasted.
std::optional<QString> filter_pasted_text(const QString &pasted, const QString &current_text,
                                          const QString &text_around, ChosenSeparator separator);

// Return or Enter without Shift, Ctrl or Alt: the key that presses a
// window's default button.
bool is_enter_key(const QKeyEvent &key);

// Applies filter_coefficient_key to the typed characters of a line edit
// before the field sees them. Return/Enter (is_enter_key) runs `on_enter`
// instead (the window's default action); with a modifier it types nothing.
// Keys that type nothing (arrows, Delete, Home, Tab) pass unchanged.
// Text that arrives without typing goes through filter_pasted_text: the
// context menu's paste and the middle button's paste of the selection; drops
// are refused. A field entered by a click has its whole text selected (Tab
// selects it already), so that typing replaces it.
class CoefficientKeyFilter : public QObject {
    Q_OBJECT
public:
    CoefficientKeyFilter(std::function<ChosenSeparator()> chosen_separator, std::function<void()> on_enter,
                         QObject *parent = nullptr);

    // Installs the filter on a field.
    void attach(QLineEdit *field);

    // Pastes `text` into `field` as the rule for pasted text allows: all of
    // it, or nothing. True when it was pasted.
    bool paste(QLineEdit *field, const QString &text) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ChosenSeparator separator() const;
    void show_context_menu(QLineEdit *field, const QPoint &global_position) const;

    std::function<ChosenSeparator()> chosen_separator_;
    QLineEdit *entered_by_click_ = nullptr; // until the button that gave it the focus is released
    std::function<void()> on_enter_;
};

} // namespace parvolin
