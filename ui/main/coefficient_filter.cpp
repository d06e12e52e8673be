#include "ui/main/coefficient_filter.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>

#include <memory>

namespace parvolin {

std::optional<QChar> filter_coefficient_key(QChar typed, const QString &current_text, ChosenSeparator separator)
{
    const QChar chosen = separator == ChosenSeparator::Dot ? QLatin1Char('.') : QLatin1Char(',');
    const QChar other = separator == ChosenSeparator::Dot ? QLatin1Char(',') : QLatin1Char('.');

    // Backspace, ',' '-' '.' (44 to 46) and the digits.
    const char16_t code = typed.unicode();
    const bool allowed = code == 8 || (code >= 44 && code <= 46) || (code >= u'0' && code <= u'9');
    if (!allowed)
        return std::nullopt;
    if (typed == other)
        typed = chosen;
    if (typed == chosen && current_text.contains(chosen))
        return std::nullopt;
    if (typed == chosen && current_text.isEmpty())
        return std::nullopt;
    return typed;
}

std::optional<QString> filter_pasted_text(const QString &pasted, const QString &current_text,
                                          const QString &text_around, ChosenSeparator separator)
{
    QString inserted;
    for (const QChar character : pasted) {
        // Backspace passes the key filter, but pasted it would be a
        // character in the text, not an erasure.
        if (character.unicode() < u' ')
            return std::nullopt;
        const std::optional<QChar> result =
            filter_coefficient_key(character, inserted.isEmpty() ? current_text : text_around + inserted, separator);
        if (!result)
            return std::nullopt;
        inserted += *result;
    }
    return inserted;
}

namespace {

// Keys that move the cursor or the focus, or delete, without typing a
// character. Some of them carry a control character as their text (Tab,
// Escape), which the filter would otherwise swallow.
bool is_editing_key(int key)
{
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

// Ctrl with a letter types a control character; where the platform leaves
// the event's text empty, it is still that character.
bool is_control_letter(const QKeyEvent *event)
{
    return event->modifiers().testFlag(Qt::ControlModifier) && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z;
}

enum class Verdict { PassOn, Swallow, Filter };

// What becomes of a key before the characters are looked at.
Verdict classify(const QKeyEvent *event)
{
    // Every keyboard paste (Ctrl+V, Shift+Insert) brings text that was not
    // typed key by key, so none of them reaches the field.
    if (event->matches(QKeySequence::Paste) || is_control_letter(event))
        return Verdict::Swallow;
    if (event->key() == Qt::Key_Backspace || is_editing_key(event->key()) || event->text().isEmpty())
        return Verdict::PassOn;
    return Verdict::Filter;
}

} // namespace

bool is_enter_key(const QKeyEvent &key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
           && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

CoefficientKeyFilter::CoefficientKeyFilter(std::function<ChosenSeparator()> chosen_separator,
                                           std::function<void()> on_enter, QObject *parent)
    : QObject(parent), chosen_separator_(std::move(chosen_separator)), on_enter_(std::move(on_enter))
{
}

void CoefficientKeyFilter::attach(QLineEdit *field)
{
    // An input method would commit its text past the key filter; a number
    // field has no use for one. A dropped text would too.
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setAcceptDrops(false);
    field->installEventFilter(this);
}

ChosenSeparator CoefficientKeyFilter::separator() const
{
    return chosen_separator_ ? chosen_separator_() : ChosenSeparator::Comma;
}

bool CoefficientKeyFilter::paste(QLineEdit *field, const QString &text) const
{
    QString around = field->text();
    if (field->hasSelectedText())
        around.remove(field->selectionStart(), field->selectionLength());
    const std::optional<QString> inserted = filter_pasted_text(text, field->text(), around, separator());
    if (!inserted || inserted->isEmpty())
        return false;
    field->insert(*inserted);
    return true;
}

// The field's own menu, with its paste going through the rule for pasted
// text. The shortcut hints go: the key filter swallows those keys, so the
// menu must not promise them.
void CoefficientKeyFilter::show_context_menu(QLineEdit *field, const QPoint &global_position) const
{
    const std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    const QString paste_caption = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *action : menu->actions()) {
        const QString caption = action->text().section(QLatin1Char('\t'), 0, 0);
        action->setText(caption);
        if (caption != paste_caption)
            continue;
        QObject::disconnect(action, &QAction::triggered, field, nullptr);
        const QString clipboard = QGuiApplication::clipboard()->text();
        QString around = field->text();
        if (field->hasSelectedText())
            around.remove(field->selectionStart(), field->selectionLength());
        // Offered only when there is something it would paste.
        const std::optional<QString> inserted = filter_pasted_text(clipboard, field->text(), around, separator());
        action->setEnabled(!field->isReadOnly() && inserted && !inserted->isEmpty());
        connect(action, &QAction::triggered, field, [this, field, clipboard] { paste(field, clipboard); });
    }
    menu->setObjectName(QStringLiteral("coefficientMenu"));
    menu->exec(global_position);
}

bool CoefficientKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (field == nullptr)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        break;
    case QEvent::ContextMenu:
        show_context_menu(field, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    case QEvent::FocusIn:
        entered_by_click_ = static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason ? field : nullptr;
        return false;
    case QEvent::FocusOut:
        entered_by_click_ = nullptr;
        return false;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::MiddleButton) {
            // X11's paste of the selection, past the keys otherwise.
            if (QGuiApplication::clipboard()->supportsSelection())
                paste(field, QGuiApplication::clipboard()->text(QClipboard::Selection));
            return true;
        }
        // The click that gave the focus selects everything, unless it
        // dragged a selection of its own.
        if (mouse->button() == Qt::LeftButton && entered_by_click_ == field) {
            entered_by_click_ = nullptr;
            if (!field->hasSelectedText())
                field->selectAll();
        }
        return false;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
    auto *key = static_cast<QKeyEvent *>(event);

    if (event->type() == QEvent::ShortcutOverride) {
        // The field claims Ctrl+Z, Ctrl+K, Ctrl+V and the like for its own
        // editing, which would keep the window's menu shortcuts from firing
        // while it has the focus. The key is swallowed here anyway, so the
        // field is not asked and the window's shortcuts come first; without
        // one, the key press that follows is swallowed.
        if (!is_enter_key(*key) && classify(key) == Verdict::Swallow) {
            event->ignore();
            return true;
        }
        return false;
    }

    if (is_enter_key(*key)) {
        if (on_enter_)
            on_enter_();
        return true;
    }
    const Verdict verdict = classify(key);
    if (verdict != Verdict::Filter)
        return verdict == Verdict::Swallow;

    const ChosenSeparator separator = this->separator();
    const QString typed = key->text();
    if (typed.size() == 1) {
        const std::optional<QChar> result = filter_coefficient_key(typed.front(), field->text(), separator);
        if (!result)
            return true;
        if (*result == typed.front())
            return false; // the field types it as usual
        field->insert(QString(*result));
        return true;
    }
    // A key that types several characters at once (a compose sequence): each
    // is filtered against the text as the ones before it left it.
    for (const QChar character : typed) {
        const std::optional<QChar> result = filter_coefficient_key(character, field->text(), separator);
        if (!result)
            continue;
        if (result->unicode() == 8)
            field->backspace();
        else
            field->insert(QString(*result));
    }
    return true;
}

} // namespace parvolin
