// The practice view as a pupil meets it: opened by its shortcut, answers typed
// and sent with Enter, the buttons clicked. The sitting's seed is fixed
// (16), printed, and PARVOLIN_PRACTICE_SEED picks another; every expectation
// is worked out from the problem on screen, so it holds for any seed.

#include "ui/main/practice_view.h"
#include "ui/main/steps_view.h"

#include "solver/exact_number.h"
#include "solver/practice_answer.h"
#include "solver/steps.h"

#include "tests/test_rows.h"
#include "tests/ui/scoped_variable.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace parvolin {
namespace {

std::uint64_t test_seed()
{
    static const std::uint64_t seed = [] {
        const char *chosen = std::getenv("PARVOLIN_PRACTICE_SEED");
        const std::uint64_t value = chosen != nullptr ? std::strtoull(chosen, nullptr, 10) : 16;
        std::printf("practice seed %llu (PARVOLIN_PRACTICE_SEED picks another)\n",
                    static_cast<unsigned long long>(value));
        return value;
    }();
    return seed;
}

// What a pupil types on a keyboard without √, −, ∞ and ⟨⟩: "sqrt(5)", "-",
// "{}", "oo", "<".
QString typed_form(std::string plain)
{
    QString text = QString::fromStdString(plain);
    text.replace(QStringLiteral("−"), QStringLiteral("-"));
    text.replace(QStringLiteral("∅"), QStringLiteral("{}"));
    text.replace(QStringLiteral("⟨"), QStringLiteral("<"));
    text.replace(QStringLiteral("⟩"), QStringLiteral(">"));
    text.replace(QStringLiteral("∞"), QStringLiteral("oo"));
    text.replace(QStringLiteral("∪"), QStringLiteral("U"));
    text.replace(QStringLiteral("ℝ"), QStringLiteral("R"));
    text.replace(QRegularExpression(QStringLiteral("√(\\d+)")), QStringLiteral("sqrt(\\1)"));
    text.replace(QStringLiteral("√("), QStringLiteral("sqrt("));
    return text;
}

// As the verdicts write a number: "−3", "0,5".
QString number_shown(const Surd &value, char separator)
{
    Math math;
    put_number(math, value, {separator, NumberStyle::Decimals});
    return QString::fromStdString(plain_text(math));
}

QString number_typed(const Surd &value, char separator)
{
    return typed_form(number_shown(value, separator).toStdString());
}

class PracticeTest : public WindowTest {
protected:
    void open_practice()
    {
        open();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        ASSERT_TRUE(view()->isVisible());
    }

    PracticeView *view() { return find<PracticeView>("practiceView"); }
    QLineEdit *answer() { return find<QLineEdit>("practiceAnswer"); }
    QString verdict() { return find<QLabel>("practiceVerdict")->text(); }
    QString score() { return find<QLabel>("practiceScore")->text(); }
    QString caption() { return find<QLabel>("practiceCaption")->text(); }
    char separator() { return window_->regional_settings().decimal_separator; }

    ExactAnalysis exact()
    {
        const GeneratedProblem &p = view()->problem();
        return analyse_exact(p.a, p.b, p.c, p.relation);
    }
    QString right_answer()
    {
        const GeneratedProblem &p = view()->problem();
        return typed_form(plain_text(problem_math(p.a, p.b, p.c, p.relation, exact().set, separator()).set));
    }

    // Into the line, then Enter, as the pupil sends it.
    void send(const QString &typed)
    {
        answer()->selectAll();
        QTest::keyClick(answer(), Qt::Key_Delete);
        QTest::keyClicks(answer(), typed);
        QTest::keyClick(answer(), Qt::Key_Return);
    }

    void click(const char *button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }

    // "Další příklad" until the problem on screen is what `wanted` asks for.
    void next_until(const std::function<bool(const GeneratedProblem &)> &wanted)
    {
        for (int i = 0; i < 60 && !wanted(view()->problem()); ++i)
            click("practiceNext");
        ASSERT_TRUE(wanted(view()->problem())) << "no such problem in 60";
    }

    ReplacedSeam<PracticeSeedSource> seeds_{set_practice_seed_source, [] { return test_seed(); }};
};

TEST_F(PracticeTest, OpensAsAViewWithTheKeyboardOnTheAnswer)
{
    open_practice();
    EXPECT_FALSE(find<QWidget>("TextTeorie")->isVisible());
    EXPECT_FALSE(find<QWidget>("zadaniBox")->isVisible());
    EXPECT_TRUE(find<QAction>("procvicovani")->isChecked());
    EXPECT_EQ(find<QLabel>("StatusPanel2")->text(), QStringLiteral("Procvičování"));
    EXPECT_EQ(QApplication::focusWidget(), answer());
    EXPECT_EQ(view()->seed(), test_seed());
    EXPECT_EQ(caption(), QStringLiteral("1. příklad – řešte v oboru reálných čísel:"));
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 0 z 0"));
    // The same rendering as the working: x² with a raised 2.
    next_until([](const GeneratedProblem &p) { return p.a != 0; });
    EXPECT_TRUE(find<QLabel>("practiceProblem")->text().contains(QStringLiteral("x<sup>2</sup>")));

    // Back to the computation, the practice view goes; the shortcut brings
    // it back from a coefficient field too, whose filter takes only numbers.
    QTest::keyClick(window_.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(view()->isVisible());
    EXPECT_TRUE(find<QWidget>("zadaniBox")->isVisible());
    ASSERT_EQ(QApplication::focusWidget(), find<QLineEdit>("kv_koef"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(view()->isVisible());
    EXPECT_EQ(find<QLineEdit>("kv_koef")->text(), QStringLiteral("0"));
    EXPECT_TRUE(failures_.empty());
}

// Every choice of the two lists reads whole in its field.
TEST_F(PracticeTest, EveryChoiceFitsItsList)
{
    open_practice();
    for (const char *name : {"practiceDifficulty", "practiceRelations"}) {
        auto *list = find<QComboBox>(name);
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field =
            list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
        for (int i = 0; i < list->count(); ++i)
            EXPECT_LE(list->fontMetrics().horizontalAdvance(list->itemText(i)), field.width())
                << name << ": " << list->itemText(i).toStdString() << " in " << list->width() << " of " << list->parentWidget()->width();
    }
}

// Every caption, button and the answer field's example read whole: a label
// that does not wrap is as wide as its text, a button as its caption, the
// field's example fits inside its frame.
TEST_F(PracticeTest, EveryTextFits)
{
    open_practice();
    for (QLabel *label : view()->findChildren<QLabel *>()) {
        if (label->wordWrap() || label->textFormat() == Qt::RichText || !label->isVisibleTo(view()))
            continue;
        // The mnemonic's "&" is not drawn.
        const QString shown = label->text().remove(QRegularExpression(QStringLiteral("&(?!&)")));
        EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width())
            << label->objectName().toStdString() << ": " << label->text().toStdString();
    }
    for (QPushButton *button : view()->findChildren<QPushButton *>())
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->objectName().toStdString();
    QLineEdit *field = answer();
    EXPECT_LE(field->fontMetrics().horizontalAdvance(field->placeholderText()),
              field->contentsRect().width() - 2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field));
}

TEST_F(PracticeTest, ARightAnswerCountsOnceAndEnterGoesOn)
{
    open_practice();
    const GeneratedProblem first = view()->problem();
    send(right_answer());
    EXPECT_TRUE(verdict().contains(QStringLiteral("Správně!"))) << verdict().toStdString();
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 1 z 1"));
    // Checked again, the same problem adds nothing.
    QTest::mouseClick(find<QPushButton>("practiceCheck"), Qt::LeftButton);
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 1 z 1"));

    // The keyboard waits on "Další příklad"; Enter takes the next problem.
    send(right_answer());
    ASSERT_EQ(QApplication::focusWidget(), find<QPushButton>("practiceNext"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(caption(), QStringLiteral("2. příklad – řešte v oboru reálných čísel:"));
    const GeneratedProblem second = view()->problem();
    EXPECT_FALSE(first.a == second.a && first.b == second.b && first.c == second.c &&
                 first.relation == second.relation);
    EXPECT_TRUE(answer()->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), answer());
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 1 z 1"));
    EXPECT_TRUE(failures_.empty());
}

TEST_F(PracticeTest, OnlyTheFirstAnswerCounts)
{
    open_practice();
    send(QStringLiteral("{123456}"));
    EXPECT_TRUE(verdict().contains(QStringLiteral("To není správně."))) << verdict().toStdString();
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 0 z 1"));
    EXPECT_EQ(QApplication::focusWidget(), answer());
    send(right_answer());
    EXPECT_TRUE(verdict().contains(QStringLiteral("Správně! Do počtu se ale započítává jen první pokus.")))
        << verdict().toStdString();
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 0 z 1"));

    click("practiceNext");
    send(right_answer());
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 1 z 2"));
}

// "Skoro": the rounded roots ask for the exact ones and take nothing from
// the first try.
TEST_F(PracticeTest, ARoundedAnswerAsksForTheExactOneAndDoesNotCount)
{
    open_practice();
    auto *relations = find<QComboBox>("practiceRelations");
    relations->setFocus();
    QTest::keyClick(relations, Qt::Key_Down); // equations only
    next_until([](const GeneratedProblem &p) {
        const ExactAnalysis e = analyse_exact(p.a, p.b, p.c, p.relation);
        return e.zeros.size() == 2 && !e.zeros[0].is_rational();
    });
    const ExactAnalysis analysis = exact();
    QString rounded = QStringLiteral("{");
    for (const Surd &zero : analysis.zeros) {
        rounded += QString::fromStdString(decimal_text(round_to_places(zero, 2).scaled, 2, separator(), false));
        rounded += QStringLiteral(" ; ");
    }
    rounded.chop(3);
    send(rounded.replace(QStringLiteral("−"), QStringLiteral("-")) + QStringLiteral("}"));
    EXPECT_TRUE(verdict().contains(QStringLiteral("jen přibližná hodnota; zapište ho přesně"))) << verdict().toStdString();
    EXPECT_FALSE(verdict().contains(QStringLiteral("To není správně.")));
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 0 z 0"));
    EXPECT_EQ(QApplication::focusWidget(), answer());
    send(right_answer());
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 1 z 1"));
}

// Wrong answers made from the problem on screen, and the first mistake the
// verdict must name.
struct WrongRow {
    const char *name;
    int relations; // 1 equations only, 2 inequalities only
    std::function<bool(const GeneratedProblem &)> wanted;
    std::function<QString(const ExactAnalysis &, const QString &right, char separator)> answer;
    std::function<QString(const ExactAnalysis &, char separator)> verdict;
};

class WrongAnswers : public PracticeTest, public ::testing::WithParamInterface<WrongRow> {};

TEST_P(WrongAnswers, NameTheFirstMistakeAndCount)
{
    const WrongRow &row = GetParam();
    open_practice();
    auto *relations = find<QComboBox>("practiceRelations");
    relations->setFocus();
    // From "rovnice i nerovnice" down to the row's choice, by keyboard.
    for (int i = 0; i < row.relations; ++i)
        QTest::keyClick(relations, Qt::Key_Down);
    ASSERT_EQ(relations->currentIndex(), row.relations);
    next_until(row.wanted);
    const ExactAnalysis analysis = exact();
    send(row.answer(analysis, right_answer(), separator()));
    EXPECT_TRUE(verdict().contains(row.verdict(analysis, separator()))) << verdict().toStdString();
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 0 z 1"));
    EXPECT_TRUE(failures_.empty());
}

bool integer_roots(const GeneratedProblem &p) { return p.kind == ProblemKind::IntegerRoots; }

INSTANTIATE_TEST_SUITE_P(
    Rows, WrongAnswers,
    ::testing::Values(
        WrongRow{"wrong_root", 1, integer_roots,
                 [](const ExactAnalysis &e, const QString &, char s) {
                     return QStringLiteral("{%1 ; %2}").arg(number_typed(e.zeros[0], s),
                                                           number_typed(make_surd(e.zeros[1].rational() + 1), s));
                 },
                 [](const ExactAnalysis &e, char s) {
                     return QStringLiteral("Číslo %1 není kořenem rovnice.")
                         .arg(number_shown(make_surd(e.zeros[1].rational() + 1), s));
                 }},
        WrongRow{"missing_root", 1, integer_roots,
                 [](const ExactAnalysis &e, const QString &, char s) {
                     return QStringLiteral("K = {%1}").arg(number_typed(e.zeros[0], s));
                 },
                 [](const ExactAnalysis &, char) {
                     return QStringLiteral("Chybí kořen: rovnice má ještě další řešení.");
                 }},
        WrongRow{"open_instead_of_closed", 2,
                 [](const GeneratedProblem &p) {
                     // Intervals whose ends are zeros that belong to the set.
                     const bool closed = p.relation == Relation::LessEqual || p.relation == Relation::GreaterEqual;
                     const ExactAnalysis e = analyse_exact(p.a, p.b, p.c, p.relation);
                     return closed && e.set.kind == SetKind::Intervals && !e.zeros.empty();
                 },
                 [](const ExactAnalysis &, const QString &right, char) {
                     QString open = right;
                     open.replace(QLatin1Char('<'), QLatin1Char('('));
                     return open.replace(QLatin1Char('>'), QLatin1Char(')'));
                 },
                 [](const ExactAnalysis &e, char s) {
                     return QStringLiteral("U čísla %1 má být lomená závorka: do řešení patří.")
                         .arg(number_shown(e.zeros[0], s));
                 }}),
    row_name);

// An answer the reader cannot read: its message, the place marked in the
// line (selected, or the cursor at the end), and nothing counted.
struct UnreadableRow {
    const char *name;
    const char *typed;
    const char *message;
    int selection_start; // -1: no selection, the cursor at `cursor`
    int cursor;
};

class UnreadableAnswers : public PracticeTest, public ::testing::WithParamInterface<UnreadableRow> {};

TEST_P(UnreadableAnswers, SayWhatAndMarkWhere)
{
    const UnreadableRow &row = GetParam();
    open_practice();
    send(QString::fromUtf8(row.typed));
    EXPECT_TRUE(verdict().contains(QString::fromUtf8(row.message).toHtmlEscaped())) << verdict().toStdString();
    EXPECT_EQ(QApplication::focusWidget(), answer());
    if (row.selection_start >= 0) {
        EXPECT_EQ(answer()->selectionStart(), row.selection_start);
        EXPECT_EQ(answer()->selectedText().size(), 1);
        // The verdict shows the answer again with that character marked.
        EXPECT_TRUE(verdict().contains(QStringLiteral("text-decoration: underline\"><b>") +
                                       QString::fromUtf8(row.typed).mid(row.selection_start, 1).toHtmlEscaped()))
            << verdict().toStdString();
    } else {
        EXPECT_FALSE(answer()->hasSelectedText());
        EXPECT_EQ(answer()->cursorPosition(), row.cursor);
    }
    EXPECT_EQ(answer()->text(), QString::fromUtf8(row.typed)) << "the answer is kept for mending";
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 0 z 0"));

    // Mended, it counts as the first answer.
    send(right_answer());
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 1 z 1"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UnreadableAnswers,
    ::testing::Values(UnreadableRow{"letter", "(1 ; a)", "Na 6. místě odpovědi je znak, kterému nerozumím.", 5, 6},
                      UnreadableRow{"unclosed", "(1 ; 2", "Na 7. místě má být pravá závorka intervalu, ) nebo >.",
                                    -1, 6},
                      UnreadableRow{"comma_list", "{2, 3}",
                                    "Na 3. místě je čárka s mezerou: čísla v množině oddělujte středníkem", 2, 3},
                      UnreadableRow{"empty", "", "Odpověď je prázdná.", -1, 0}),
    row_name);

// The answer as the verdict shows it again, pasted into the line: every
// character visible, none reversing the rest, the mark within a short line.
struct EchoRow {
    const char *name;
    QString pasted;
    QString marked;    // the marked character as the echo shows it; empty: the mark past the end
    QString echo_text; // the echo as plain text
};

class UnreadableEcho : public PracticeTest, public ::testing::WithParamInterface<EchoRow> {};

TEST_P(UnreadableEcho, ShowsEveryCharacterAndTheMark)
{
    const EchoRow &row = GetParam();
    open_practice();
    answer()->setText(row.pasted);
    QTest::keyClick(answer(), Qt::Key_Return);
    const QString html = verdict();
    const QString mark = QStringLiteral("text-decoration: underline\"><b>");
    EXPECT_TRUE(html.contains(mark + (row.marked.isEmpty() ? QStringLiteral("&nbsp;&nbsp;") : row.marked)))
        << html.toStdString();
    QTextDocument document;
    document.setHtml(html);
    const QString plain = document.toPlainText().replace(QChar(0x2028), QLatin1Char('\n'));
    EXPECT_EQ(plain.mid(plain.indexOf(QLatin1Char('\n')) + 1), row.echo_text) << html.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UnreadableEcho,
    ::testing::Values(
        EchoRow{"direction_override_first", QStringLiteral("\u202E(1 ; 2)"),
                QStringLiteral("<span style=\"color: #707070\">[U+202E]</span>"), QStringLiteral("[U+202E](1 ; 2)")},
        EchoRow{"zero_width_space_marked", QStringLiteral("(1 ;\u200B 2)"),
                QStringLiteral("<span style=\"color: #707070\">[U+200B]</span>"), QStringLiteral("(1 ;[U+200B] 2)")},
        EchoRow{"long_answer_cut_before_the_mark", QStringLiteral("(1 ; ") + QString(295, QLatin1Char('1')), {},
                QStringLiteral("…") + QString(30, QLatin1Char('1')) + QStringLiteral("  ")},
        EchoRow{"long_answer_cut_both_sides", QStringLiteral("x = ") + QString(100, QLatin1Char('1')) +
                                                  QStringLiteral("a") + QString(100, QLatin1Char('1')),
                QStringLiteral("a"),
                QStringLiteral("…") + QString(30, QLatin1Char('1')) + QStringLiteral("a") +
                    QString(15, QLatin1Char('1')) + QStringLiteral("…")}),
    row_name);

TEST_F(PracticeTest, AnotherProblemSkipsWithoutCounting)
{
    open_practice();
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(caption(), QStringLiteral("%1. příklad – řešte v oboru reálných čísel:").arg(i));
        answer()->setText(QStringLiteral("{1}"));
        click("practiceNext");
        EXPECT_TRUE(answer()->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), answer());
    }
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 0 z 0"));
}

TEST_F(PracticeTest, TheWorkingIsOfThisProblemAndCountsItAsNotSolved)
{
    open_practice();
    auto *steps = find<StepsView>("practiceSteps");
    EXPECT_FALSE(steps->isVisible());
    click("practiceWorking");
    ASSERT_TRUE(steps->isVisible());
    ASSERT_FALSE(steps->is_empty());
    const GeneratedProblem &p = view()->problem();
    const std::string set = plain_text(problem_math(p.a, p.b, p.c, p.relation, exact().set, separator()).set);
    const std::vector<std::string> lines = plain_lines(*steps->working());
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [&](const std::string &line) { return line.find(set) != std::string::npos; }))
        << set;
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 0 z 1"));
    send(right_answer());
    EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 0 z 1"));

    click("practiceNext");
    EXPECT_FALSE(steps->isVisible());
    EXPECT_TRUE(steps->is_empty());
}

TEST_F(PracticeTest, TheChoicesReachTheProblems)
{
    open_practice();
    auto *relations = find<QComboBox>("practiceRelations");
    relations->setCurrentIndex(2);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NE(view()->problem().relation, Relation::Equal);
        click("practiceNext");
    }
    relations->setCurrentIndex(1);
    auto *difficulty = find<QComboBox>("practiceDifficulty");
    difficulty->setCurrentIndex(1);
    bool large = false;
    for (int i = 0; i < 12; ++i) {
        const GeneratedProblem &p = view()->problem();
        EXPECT_EQ(p.relation, Relation::Equal);
        large = large || abs(p.b) > 30 || abs(p.c) > 30 || abs(p.a) > 5 || denominator(p.b) != 1 || denominator(p.c) != 1;
        click("practiceNext");
    }
    EXPECT_TRUE(large) << "no problem beyond the small numbers";
}

TEST_F(PracticeTest, TheSittingOutlastsALookAtTheOtherViews)
{
    std::uint64_t next_seed = 100;
    const ReplacedSeam<PracticeSeedSource> counting{set_practice_seed_source, [&] { return next_seed++; }};
    open_practice();
    EXPECT_EQ(view()->seed(), 100u);
    send(right_answer());
    click("practiceNext");
    const GeneratedProblem shown = view()->problem();
    for (const Qt::Key away : {Qt::Key_E, Qt::Key_T, Qt::Key_R}) {
        QTest::keyClick(window_.get(), away, Qt::ControlModifier);
        QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
        EXPECT_EQ(view()->seed(), 100u);
        EXPECT_EQ(view()->problem().a, shown.a);
        EXPECT_EQ(view()->problem().c, shown.c);
        EXPECT_EQ(score(), QStringLiteral("Správně vyřešeno: 1 z 1"));
        EXPECT_EQ(caption(), QStringLiteral("2. příklad – řešte v oboru reálných čísel:"));
    }
}

// Without a source installed, the variable fixes the seed; a value that is
// no number leaves the sitting random.
TEST_F(PracticeTest, TheVariableFixesTheSeed)
{
    const ReplacedSeam<PracticeSeedSource> program_own{set_practice_seed_source, PracticeSeedSource{}};
    const ScopedVariable fixed("PARVOLIN_PRACTICE_SEED", "4242");
    open_practice();
    EXPECT_EQ(view()->seed(), 4242u);
    const ScopedVariable bad("PARVOLIN_PRACTICE_SEED", "12x");
    QTest::keyClick(window_.get(), Qt::Key_T, Qt::ControlModifier);
    QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_NE(view()->seed(), 12u);
    EXPECT_TRUE(view()->isVisible());
}

} // namespace
} // namespace parvolin
