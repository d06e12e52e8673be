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

// Return or Enter without Shift, Ctrl or Alt: the key that presses a
// window's default button.
bool is_enter_key(const QKeyEvent &key);

// Applies filter_coefficient_key to the typed characters of a line edit
// before the field sees them. Return/Enter (is_enter_key) runs `on_enter`
// instead (the window's default action); with a modifier it types nothing. Keys that type nothing (arrows, Delete, Home,
// Tab) pass unchanged.
class CoefficientKeyFilter : public QObject {
    Q_OBJECT
public:
    CoefficientKeyFilter(std::function<ChosenSeparator()> chosen_separator, std::function<void()> on_enter,
                         QObject *parent = nullptr);

    // Installs the filter on a field.
    void attach(QLineEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<ChosenSeparator()> chosen_separator_;
    std::function<void()> on_enter_;
};

} // namespace parvolin
