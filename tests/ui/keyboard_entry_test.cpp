// The computation view by keyboard and mouse as a pupil uses it: where the
// focus goes, what a click or Tab selects, what the context menu pastes, what
// a failed conversion says and where it leaves the keyboard, and the line
// that warns of a separator the system does not read.

#include "ui/main/coefficient_filter.h"
#include "ui/main/save_document.h"

#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace parvolin {
namespace {

// --- The rule for pasted text --------------------------------------------------

struct PasteCase {
    const char *name;
    const char *pasted;
    const char *current; // the field's text, the selection (in brackets) included
    ChosenSeparator separator;
    const char *inserted; // nullptr: nothing is pasted
};

class PastedText : public ::testing::TestWithParam<PasteCase> {};

TEST_P(PastedText, IsWhatTypingItWouldGiveOrNothing)
{
    const PasteCase &row = GetParam();
    // "1[23]4": text 1234 with 23 selected.
    QString current = QString::fromUtf8(row.current);
    const qsizetype open = current.indexOf(QLatin1Char('['));
    const qsizetype close = current.indexOf(QLatin1Char(']'));
    QString around = current;
    if (open >= 0) {
        around = current.left(open) + current.mid(close + 1);
        current.remove(close, 1).remove(open, 1);
    }
    const std::optional<QString> inserted =
        filter_pasted_text(QString::fromUtf8(row.pasted), current, around, row.separator);
    if (row.inserted == nullptr)
        EXPECT_FALSE(inserted.has_value()) << inserted->toStdString();
    else
        EXPECT_EQ(inserted.value_or(QStringLiteral("<refused>")).toStdString(), row.inserted);
}

INSTANTIATE_TEST_SUITE_P(
    CoefficientField, PastedText,
    ::testing::Values(
        PasteCase{"number", "-2,5", "[0]", ChosenSeparator::Comma, "-2,5"},
        PasteCase{"dot_typed_as_comma", "2.5", "[0]", ChosenSeparator::Comma, "2,5"},
        PasteCase{"comma_typed_as_dot", "2,5", "", ChosenSeparator::Dot, "2.5"},
        PasteCase{"letter_refuses_all", "2,5a", "[0]", ChosenSeparator::Comma, nullptr},
        PasteCase{"exponent_refused", "1E5", "", ChosenSeparator::Comma, nullptr},
        PasteCase{"blank_refused", " 7", "", ChosenSeparator::Comma, nullptr},
        PasteCase{"second_separator_refused", "1,2,3", "", ChosenSeparator::Comma, nullptr},
        PasteCase{"separator_already_outside_selection", "5,", "1,[2]", ChosenSeparator::Comma, nullptr},
        // The first character sees the whole text, as a typed key does:
        // the separator in the selection still counts for it.
        PasteCase{"separator_inside_selection", ",5", "[1,2]", ChosenSeparator::Comma, nullptr},
        PasteCase{"separator_after_first_character", "5,5", "[1,2]", ChosenSeparator::Comma, "5,5"},
        PasteCase{"separator_first_into_empty", ",5", "", ChosenSeparator::Comma, nullptr},
        PasteCase{"backspace_is_no_erasure", "1\b", "", ChosenSeparator::Comma, nullptr},
        PasteCase{"line_break", "12\n", "", ChosenSeparator::Comma, nullptr},
        PasteCase{"nothing", "", "0", ChosenSeparator::Comma, ""}),
    row_name);

// --- The window -------------------------------------------------------------------

class KeyboardEntry : public WindowTest {
protected:
    void open_active()
    {
        open();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    QLineEdit *field(const char *name) { return find<QLineEdit>(name); }

    // The field with the focus, and whether all its text is selected.
    std::string focus() const
    {
        QWidget *widget = QApplication::focusWidget();
        return widget != nullptr ? widget->objectName().toStdString() : std::string("<none>");
    }
    static bool all_selected(const QLineEdit *edit) { return edit->selectedText() == edit->text(); }

    std::vector<QString> details_;
    ReplacedSeam<FailureDisplay> detailed_display_{set_failure_display,
                                                   [this](const QString &text, const QString &detail) {
                                                       failures_.push_back(text);
                                                       details_.push_back(detail);
                                                   }};
};

TEST_F(KeyboardEntry, ComputationViewAndNewTaskPutTheKeyboardInTheFirstField)
{
    open_active();
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(focus(), "kv_koef");
    EXPECT_TRUE(all_selected(field("kv_koef")));

    field("kv_koef")->setText(QStringLiteral("7"));
    QTest::mouseClick(find<QWidget>("BitBtnNove"), Qt::LeftButton);
    EXPECT_EQ(focus(), "kv_koef");
    EXPECT_EQ(field("kv_koef")->text(), QStringLiteral("0"));
    EXPECT_TRUE(all_selected(field("kv_koef")));
}

// F10 opens the first menu, so that commands with no shortcut of their own
// ("Pracovní list…") are reached without a mouse.
TEST_F(KeyboardEntry, F10OpensTheMenus)
{
    open_active();
    QTest::keyClick(window_.get(), Qt::Key_F10);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("Rovnice"));
    menu->close();
}

struct EnteringCase {
    const char *name;
    bool by_click;
    const char *field;
};

class EnteringAField : public KeyboardEntry, public ::testing::WithParamInterface<EnteringCase> {};

TEST_P(EnteringAField, SelectsItsTextSoTypingReplacesIt)
{
    const EnteringCase &row = GetParam();
    open_active();
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
    field("lin_koef")->setText(QStringLiteral("12"));
    if (row.by_click) {
        QTest::mouseClick(field(row.field), Qt::LeftButton, Qt::NoModifier, QPoint(4, 10));
    } else {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (std::string(row.field) == "abs_koef")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    ASSERT_EQ(focus(), row.field);
    QTest::keyClicks(field(row.field), QStringLiteral("5"));
    EXPECT_EQ(field(row.field)->text(), QStringLiteral("5"));
    // A second click in the field places the cursor as usual.
    QTest::mouseClick(field(row.field), Qt::LeftButton, Qt::NoModifier, QPoint(2, 10));
    QTest::keyClicks(field(row.field), QStringLiteral("3"));
    EXPECT_EQ(field(row.field)->text(), QStringLiteral("35"));
}

INSTANTIATE_TEST_SUITE_P(MainWindow, EnteringAField,
                         ::testing::Values(EnteringCase{"tab_to_b", false, "lin_koef"},
                                           EnteringCase{"tab_tab_to_c", false, "abs_koef"},
                                           EnteringCase{"click_into_b", true, "lin_koef"},
                                           EnteringCase{"click_into_c", true, "abs_koef"}),
                         row_name);

// Ctrl+R, a, Tab, b, Tab, c, Enter, Ctrl+U, a name, Enter.
TEST_F(KeyboardEntry, AWholeTaskByKeyboardAlone)
{
    QString saved_to;
    const ReplacedSeam<SaveDialogs> dialogs{set_save_dialogs,
                                            {[&](QWidget *, const QString &) -> std::optional<QString> {
                                                 saved_to = path("úloha");
                                                 return saved_to;
                                             },
                                             {}}};
    open_active();
    RegionalSettings regional;
    regional.decimal_separator = ',';
    window_->set_regional_settings(regional);
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
    for (const char *typed : {"1", "\t", "-3", "\t", "2,5"}) {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        if (typed[0] == '\t')
            QTest::keyClick(target, Qt::Key_Tab);
        else
            QTest::keyClicks(target, QString::fromUtf8(typed));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(failures_.empty()) << failures_.front().toStdString();
    ASSERT_FALSE(window_->document_lines().empty());
    EXPECT_EQ(window_->document_lines()[3], "(1) . x^2 + (-3) . x + (2,5) = 0 .");

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(saved_to, path("úloha"));
    EXPECT_GT(QFileInfo(path("úloha.rtf")).size(), 0);
}

struct ConversionCase {
    const char *name;
    const char *a;
    const char *b;
    const char *c;
    bool dot_chosen;
    char regional;
    const char *field;
    const char *message;
    const char *detail;
};

class ConversionFailure : public KeyboardEntry, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(ConversionFailure, ExplainsInCzechAndSelectsTheField)
{
    const ConversionCase &row = GetParam();
    open_active();
    RegionalSettings regional;
    regional.decimal_separator = row.regional;
    window_->set_regional_settings(regional);
    find<QRadioButton>(row.dot_chosen ? "RadioButton2" : "RadioButton1")->click();
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
    field("kv_koef")->setText(QString::fromUtf8(row.a));
    field("lin_koef")->setText(QString::fromUtf8(row.b));
    field("abs_koef")->setText(QString::fromUtf8(row.c));
    QTest::keyClick(field("kv_koef"), Qt::Key_Return);

    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0].toStdString(), row.message);
    EXPECT_EQ(details_[0].toStdString(), row.detail);
    EXPECT_EQ(focus(), row.field);
    EXPECT_TRUE(all_selected(field(row.field)));
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, ConversionFailure,
    ::testing::Values(
        ConversionCase{"minus_alone", "-", "0", "0", false, ',', "kv_koef", "'-' is not a valid floating point value.",
                       "Kvadratický koeficient a: „-“ není číslo. Zapište číslo s desetinnou čárkou, např. 2,5."},
        ConversionCase{"comma_chosen_for_a_dot_system", "1", "0", "0,5", false, '.', "abs_koef",
                       "'0,5' is not a valid floating point value.",
                       "Absolutní koeficient c: „0,5“ není číslo. Zapište číslo s desetinnou tečkou, např. 2.5.\n"
                       "Systém píše čísla s desetinnou tečkou, zvolte „Windows používá tečku“."},
        ConversionCase{"dot_chosen_for_a_comma_system", "1", "-1.5", "0", true, ',', "lin_koef",
                       "'-1.5' is not a valid floating point value.",
                       "Lineární koeficient b: „-1.5“ není číslo. Zapište číslo s desetinnou čárkou, např. 2,5.\n"
                       "Systém píše čísla s desetinnou čárkou, zvolte „Windows používá čárku“."}),
    row_name);

// The separator page warns while the choice and the system disagree, and
// stops as soon as they agree again, whichever side changed.
TEST_F(KeyboardEntry, SeparatorPageWarnsOfADisagreement)
{
    open_active();
    QTest::keyClick(window_.get(), Qt::Key_D, Qt::ControlModifier);
    auto *warning = find<QLabel>("separatorWarning");
    const auto regional_separator = [this](char separator) {
        RegionalSettings regional;
        regional.decimal_separator = separator;
        window_->set_regional_settings(regional);
    };
    const struct {
        const char *step;
        std::function<void()> run;
        const char *line; // empty: no warning shown
    } steps[] = {
        {"system comma, comma chosen", [&] { regional_separator(','); }, ""},
        {"dot chosen",
         [&] { QTest::mouseClick(find<QRadioButton>("RadioButton2"), Qt::LeftButton); },
         "Systém píše čísla s desetinnou čárkou, zvolte „Windows používá čárku“."},
        {"system dot", [&] { regional_separator('.'); }, ""},
        {"comma chosen",
         [&] { QTest::mouseClick(find<QRadioButton>("RadioButton1"), Qt::LeftButton); },
         "Systém píše čísla s desetinnou tečkou, zvolte „Windows používá tečku“."},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.step);
        step.run();
        EXPECT_EQ(warning->isVisibleTo(window_.get()), step.line[0] != '\0');
        if (step.line[0] != '\0') {
            EXPECT_EQ(warning->text().toStdString(), step.line);
            // Whole inside the page, not cut off at its bottom.
            const QRect needed = warning->fontMetrics().boundingRect(warning->rect(), Qt::TextWordWrap, warning->text());
            EXPECT_LE(needed.height(), warning->height());
            EXPECT_LE(warning->geometry().bottom(), warning->parentWidget()->height());
        }
    }
}

// The context menu pastes only what could have been typed, and its entries
// do what they say.
TEST_F(KeyboardEntry, ContextMenuPastesOnlyWhatCouldBeTyped)
{
    open_active();
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
    QLineEdit *a = field("kv_koef");
    const struct {
        const char *clipboard;
        bool offered;
        const char *after;
    } rows[] = {{"-2.5", true, "-2,5"}, {"12abc", false, "0"}, {"1e5", false, "0"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.clipboard);
        a->setText(QStringLiteral("0"));
        a->selectAll();
        QGuiApplication::clipboard()->setText(QString::fromUtf8(row.clipboard));
        bool offered = false;
        bool hints = false;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            const QList<QAction *> actions = menu->actions();
            for (QAction *action : actions)
                hints = hints || action->text().contains(QLatin1Char('\t'));
            // Undo, Redo, -, Cut, Copy, Paste, Delete, -, Select All.
            ASSERT_GE(actions.size(), 6);
            QAction *paste = actions[5];
            offered = paste->isEnabled();
            if (offered)
                paste->trigger();
            menu->close();
        });
        // A right click through the window, which turns it into the
        // field's context menu event as the platform's click would.
        QTest::mouseClick(window_->windowHandle(), Qt::RightButton, Qt::NoModifier,
                          a->mapTo(window_.get(), QPoint(5, 5)));
        EXPECT_EQ(offered, row.offered);
        EXPECT_FALSE(hints) << "a menu entry names a key the field swallows";
        EXPECT_EQ(a->text().toStdString(), row.after);
    }
}

// Tab walks the computation view in the order of the entry row, the result,
// the places and the two buttons, then the relation; every stop is a control
// the pupil sees take the keyboard, none is a frame around the others.
struct TabCase {
    const char *name;
    bool solved;
    std::vector<std::string> stops;
};

class TabOrder : public KeyboardEntry, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabOrder, VisitsTheControlsInTheirOrderAndNothingElse)
{
    const TabCase &row = GetParam();
    open_active();
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
    if (row.solved) {
        field("kv_koef")->setText(QStringLiteral("1"));
        solve();
        field("kv_koef")->setFocus();
    }
    for (bool backwards : {false, true}) {
        std::vector<std::string> visited{focus()};
        for (std::size_t i = 0; i < row.stops.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                            backwards ? Qt::ShiftModifier : Qt::NoModifier);
            visited.push_back(focus());
            ASSERT_TRUE(QApplication::focusWidget()->isVisible()) << focus();
        }
        std::vector<std::string> expected{row.stops.front()};
        if (backwards)
            expected.insert(expected.end(), row.stops.rbegin(), row.stops.rend());
        else
            expected.insert(expected.end(), row.stops.begin() + 1, row.stops.end()), expected.push_back(row.stops.front());
        EXPECT_EQ(visited, expected) << (backwards ? "Shift+Tab" : "Tab");
    }
}

INSTANTIATE_TEST_SUITE_P(
    ComputationView, TabOrder,
    ::testing::Values(TabCase{"entry",
                              false,
                              {"kv_koef", "lin_koef", "abs_koef", "desmista", "BitBtnVyresit", "BitBtnNove", "ListBox1"}},
                      TabCase{"result",
                              true,
                              {"kv_koef", "lin_koef", "abs_koef", "vypisreseni", "desmista", "BitBtnVyresit",
                               "BitBtnNove", "ListBox1", "graphTabs"}}),
    row_name);

} // namespace
} // namespace parvolin
