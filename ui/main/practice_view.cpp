#include "ui/main/practice_view.h"

#include "ui/main/error_display.h"
#include "ui/main/seam.h"
#include "ui/main/steps_html.h"
#include "ui/main/steps_view.h"
#include "ui_practice_view.h"

#include "solver/practice_answer.h"
#include "solver/practice_texts.h"
#include "solver/steps.h"
#include "solver/worksheet.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parvolin {

namespace {

// What the view adds to the solver's verdicts; the rest of its texts are
// in its layout.
constexpr char right_again[] = " Do počtu se ale započítává jen první pokus.";

constexpr char right_colour[] = "#1b7a1b";
constexpr char wrong_colour[] = "#a01010";
constexpr char rounded_colour[] = "#8a5a00";
constexpr char mark_background[] = "#ffd0d0";

Seam<PracticeSeedSource> seed_source;

std::uint64_t draw_seed()
{
    if (const PracticeSeedSource &source = seed_source.installed())
        return source();
    if (const char *fixed = std::getenv("PARVOLIN_PRACTICE_SEED")) {
        const std::string_view text(fixed);
        std::uint64_t seed = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
        if (error == std::errc() && end == text.data() + text.size() && !text.empty())
            return seed;
    }
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}

QString text(const char *utf8) { return QString::fromUtf8(utf8); }
QString qt_text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QString coloured(const char *colour, const QString &html)
{
    return QStringLiteral("<span style=\"color: %1\">%2</span>").arg(QLatin1String(colour), html);
}

// Where the reader's column (characters from 1) falls in the line edit's
// text, and how many UTF-16 units that character takes (0 past the end).
std::pair<int, int> place_of(const QString &answer, std::size_t column)
{
    int at = 0;
    for (std::size_t i = 1; i < column && at < answer.size(); ++i)
        at += answer.at(at).isHighSurrogate() && at + 1 < answer.size() ? 2 : 1;
    if (at >= answer.size())
        return {static_cast<int>(answer.size()), 0};
    return {at, answer.at(at).isHighSurrogate() && at + 1 < answer.size() ? 2 : 1};
}

// A character that shows nothing, or steers the direction of what follows:
// controls, format characters (direction marks and overrides, zero-width
// ones), line and paragraph separators, spaces other than the plain one.
bool is_invisible(char32_t code)
{
    switch (QChar::category(code)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    case QChar::Separator_Space:
        return code != U' ';
    default:
        return false;
    }
}

// One character of the echo: itself, or its code in grey brackets.
QString shown(const QString &character)
{
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                                : character[0].unicode();
    if (!is_invisible(code))
        return character.toHtmlEscaped();
    return QStringLiteral("<span style=\"color: #707070\">[U+%1]</span>")
        .arg(QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

// Characters of the echo before and after the marked one: a longer answer
// is cut around it, so that the mark is always in the view's width.
constexpr int echo_before = 30;
constexpr int echo_after = 15;

// The answer as the verdict shows it: the character at `at` (`length` UTF-16
// units, 0 past the end) marked, characters that cannot be seen as their
// codes (so that nothing reverses or hides the rest), and "…" where a long
// answer is cut.
QString echo_html(const QString &typed, int at, int length)
{
    std::vector<std::pair<int, int>> characters; // start and size in UTF-16 units
    for (int i = 0; i < typed.size();) {
        const int size = typed.at(i).isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
        characters.emplace_back(i, size);
        i += size;
    }
    int marked = static_cast<int>(characters.size());
    for (int k = 0; k < static_cast<int>(characters.size()); ++k) {
        if (characters[static_cast<std::size_t>(k)].first == at) {
            marked = k;
            break;
        }
    }
    const int first = std::max(0, marked - echo_before);
    const int last = std::min(static_cast<int>(characters.size()), marked + 1 + echo_after);
    QString html;
    if (first > 0)
        html += QStringLiteral("…");
    for (int k = first; k < last; ++k) {
        const auto [start, size] = characters[static_cast<std::size_t>(k)];
        const QString character = shown(typed.mid(start, size));
        if (k == marked && length > 0)
            html += QStringLiteral(
                        "<span style=\"background-color: %1; color: %2; text-decoration: underline\"><b>%3</b></span>")
                        .arg(QLatin1String(mark_background), QLatin1String(wrong_colour), character);
        else
            html += character;
    }
    if (marked == static_cast<int>(characters.size()))
        html += QStringLiteral("<span style=\"background-color: %1; text-decoration: underline\"><b>&nbsp;&nbsp;</b></span>")
                    .arg(QLatin1String(mark_background));
    if (last < static_cast<int>(characters.size()))
        html += QStringLiteral("…");
    return html;
}

} // namespace

PracticeSeedSource set_practice_seed_source(PracticeSeedSource source)
{
    return seed_source.set(std::move(source));
}

PracticeView::PracticeView(std::function<char()> separator, QWidget *parent)
    : QGroupBox(parent), separator_(std::move(separator)), ui_(std::make_unique<Ui::PracticeView>())
{
    ui_->setupUi(this);
    caption_pattern_ = ui_->practiceCaption->text();
    score_pattern_ = ui_->practiceScore->text();
    hint_ = ui_->practiceVerdict->text();
    // The hint is plain text; verdicts mark and colour.
    ui_->practiceVerdict->setTextFormat(Qt::RichText);
    connect_commands();
}

PracticeView::~PracticeView() = default;

void PracticeView::connect_commands()
{
    connect(ui_->practiceAnswer, &QLineEdit::returnPressed, this, [this] { run_handler([this] { check(); }); });
    connect(ui_->practiceCheck, &QPushButton::clicked, this, [this] { run_handler([this] { check(); }); });
    connect(ui_->practiceWorking, &QPushButton::clicked, this, [this] { run_handler([this] { show_working(); }); });
    connect(ui_->practiceNext, &QPushButton::clicked, this, [this] {
        run_handler([this] {
            next_problem();
            start_typing();
        });
    });
    // Other options make other problems: the one on screen, if unanswered,
    // goes without counting.
    for (QComboBox *choice : {ui_->practiceDifficulty, ui_->practiceRelations}) {
        connect(choice, &QComboBox::currentIndexChanged, this, [this] {
            run_handler([this] {
                restart_generator();
                next_problem();
            });
        });
    }
}

void PracticeView::start_sitting()
{
    seed_ = draw_seed();
    generation_ = 0;
    score_ = {};
    number_ = 0;
    restart_generator();
    next_problem();
}

void PracticeView::restart_generator()
{
    generator_.emplace(practice_generation_seed(seed_, generation_),
                       practice_options(ui_->practiceDifficulty->currentIndex(), ui_->practiceRelations->currentIndex()));
    ++generation_;
}

void PracticeView::next_problem()
{
    problem_ = generator_->next();
    exact_ = analyse_exact(problem_.a, problem_.b, problem_.c, problem_.relation);
    ++number_;
    counted_ = false;
    ui_->practiceCaption->setText(caption_pattern_.arg(number_));
    ui_->practiceProblem->setText(math_html(statement_math(problem_, separator_()), true));
    ui_->practiceAnswer->clear();
    ui_->practiceVerdict->setText(hint_.toHtmlEscaped());
    ui_->practiceSteps->clear_working();
    ui_->practiceSteps->hide();
    show_score();
}

void PracticeView::start_typing()
{
    ui_->practiceAnswer->setFocus(Qt::OtherFocusReason);
    ui_->practiceAnswer->selectAll();
}

void PracticeView::check()
{
    const QString typed = ui_->practiceAnswer->text();
    RealSet answer;
    try {
        answer = parse_answer(typed.toStdString());
    } catch (const AnswerSyntaxError &error) {
        show_unreadable(QString::fromStdString(error.message()), error.column());
        return;
    }
    const Verdict verdict = judge_answer(exact_, problem_.relation, answer, separator_());
    if (verdict.kind == VerdictKind::RoundedEnd) {
        // Nearly there: the exact value is asked for, and the pupil's first
        // try is still to come.
        const QString lead = QStringLiteral("<b>") + qt_text(practice_texts::rounded_lead) + QStringLiteral("</b> ");
        ui_->practiceVerdict->setText(coloured(rounded_colour, lead) +
                                      QString::fromStdString(verdict.message).toHtmlEscaped());
        ui_->practiceAnswer->setFocus(Qt::OtherFocusReason);
        return;
    }
    const bool right = verdict.kind == VerdictKind::Right;
    const bool first = !counted_;
    count(right);
    const QString message = QString::fromStdString(verdict.message).toHtmlEscaped();
    if (right) {
        const QString said = first ? message : message + text(right_again).toHtmlEscaped();
        ui_->practiceVerdict->setText(coloured(right_colour, QStringLiteral("<b>") + said + QStringLiteral("</b>")));
        ui_->practiceNext->setFocus(Qt::OtherFocusReason);
    } else {
        const QString lead = QStringLiteral("<b>") + qt_text(practice_texts::wrong_lead) + QStringLiteral("</b> ");
        ui_->practiceVerdict->setText(coloured(wrong_colour, lead) + message);
        ui_->practiceAnswer->setFocus(Qt::OtherFocusReason);
    }
}

// The message, and the answer once more with the place marked; in the line
// the character there is selected (the cursor stands at the end when the
// reader ran out of text), so that typing replaces it.
void PracticeView::show_unreadable(const QString &message, std::size_t column)
{
    const QString typed = ui_->practiceAnswer->text();
    const auto [at, length] = place_of(typed, column);
    ui_->practiceVerdict->setText(coloured(wrong_colour, message.toHtmlEscaped()) + QStringLiteral("<br><tt>") +
                                  echo_html(typed, at, length) + QStringLiteral("</tt>"));
    ui_->practiceAnswer->setFocus(Qt::OtherFocusReason);
    if (length > 0)
        ui_->practiceAnswer->setSelection(at, length);
    else
        ui_->practiceAnswer->setCursorPosition(at);
}

void PracticeView::show_working()
{
    // Seen before any answer, the problem is not solved by the pupil.
    if (!counted_)
        count(false);
    const char separator = separator_();
    const std::string a = coefficient_text(problem_.a, separator);
    const std::string b = coefficient_text(problem_.b, separator);
    const std::string c = coefficient_text(problem_.c, separator);
    const ProblemInput input{a, b, c, static_cast<int>(problem_.relation), 0};
    ui_->practiceSteps->show_working(build_steps(input, separator).working);
    ui_->practiceSteps->show();
    ui_->practiceSteps->setFocus(Qt::OtherFocusReason);
}

void PracticeView::count(bool right)
{
    if (counted_)
        return;
    counted_ = true;
    ++score_.counted;
    if (right)
        ++score_.right;
    show_score();
}

void PracticeView::show_score()
{
    ui_->practiceScore->setText(score_pattern_.arg(score_.right).arg(score_.counted));
}

} // namespace parvolin
