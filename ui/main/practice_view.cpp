#include "ui/main/practice_view.h"

#include "ui/main/error_display.h"
#include "ui/main/seam.h"
#include "ui/main/steps_html.h"
#include "ui/main/steps_view.h"

#include "solver/practice_answer.h"
#include "solver/practice_texts.h"
#include "solver/steps.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <charconv>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

namespace parvolin {

namespace {

// The view's own texts; the verdicts themselves come from the solver.
constexpr char view_title[] = "Procvičování";
constexpr char difficulty_label[] = "&Obtížnost:";
constexpr char small_numbers[] = "malá čísla";
constexpr char large_numbers[] = "větší čísla, i desetinná";
constexpr char relations_label[] = "Pří&klady:";
constexpr char both_relations[] = "rovnice i nerovnice";
constexpr char equations_only[] = "jen rovnice";
constexpr char inequalities_only[] = "jen nerovnice";
constexpr char caption_pattern[] = "%1. příklad – řešte v oboru reálných čísel:";
constexpr char answer_label[] = "K =";
constexpr char answer_placeholder[] = "např. {2; 3}, (-oo; 1) U <4; oo), R, {}";
constexpr char check_text[] = "&Zkontrolovat";
constexpr char check_tip[] = "Zkontroluje odpověď (Enter)";
constexpr char working_text[] = "Ukázat &postup";
constexpr char next_text[] = "&Další příklad";
constexpr char hint[] =
    "Napište množinu kořenů, např. { 2 ; 3 } nebo (-oo ; 1) U <4 ; oo), a stiskněte Enter. Meze pište přesně: "
    "zlomkem (1/2) nebo odmocninou (√5 či sqrt(5)).";
constexpr char wrong_lead[] = "To není správně.";
constexpr char right_again[] = " Do počtu se ale započítává jen první pokus.";
constexpr char score_pattern[] = "Správně vyřešeno: %1 z %2";

constexpr char right_colour[] = "#1b7a1b";
constexpr char wrong_colour[] = "#a01010";
constexpr char mark_background[] = "#ffd0d0";

// Long enough for any set a pupil writes; a pasted novel stops here.
constexpr int answer_max_length = 300;
constexpr int statement_point_size = 13;

// The mixing constant of splitmix64: the generators of one sitting get
// seeds far apart; the first one gets the sitting's own seed, so sitting N
// starts with the problems of worksheet N.
constexpr std::uint64_t seed_step = 0x9E3779B97F4A7C15ull;

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

std::string_view relation_sign(Relation relation)
{
    switch (relation) {
    case Relation::Less: return " < ";
    case Relation::Greater: return " > ";
    case Relation::LessEqual: return " ≤ ";
    case Relation::GreaterEqual: return " ≥ ";
    case Relation::Equal: break;
    }
    return " = ";
}

// The problem in normal form; a constant one keeps its vanished x, as
// textbooks write it (0 · x + 5 > 0), or there would be nothing to solve.
Math statement_math(const GeneratedProblem &p, char separator)
{
    if (p.a != 0 || p.b != 0)
        return problem_math(p.a, p.b, p.c, p.relation, ExactSet{}, separator).normal_form;
    Math math;
    math.text("0 · x");
    if (p.c != 0) {
        math.text(p.c < 0 ? " − " : " + ");
        put_number(math, mpq_class(abs(p.c)), {separator, NumberStyle::Decimals});
    }
    math.text(relation_sign(p.relation)).text("0");
    return math;
}

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

} // namespace

PracticeSeedSource set_practice_seed_source(PracticeSeedSource source)
{
    return seed_source.set(std::move(source));
}

PracticeView::PracticeView(std::function<char()> separator, QWidget *parent)
    : QGroupBox(parent), separator_(std::move(separator))
{
    setObjectName(QStringLiteral("practiceView"));
    setTitle(text(view_title));
    create_widgets();
}

void PracticeView::create_widgets()
{
    auto *options = new QGridLayout;
    difficulty_ = new QComboBox(this);
    difficulty_->setObjectName(QStringLiteral("practiceDifficulty"));
    difficulty_->addItems({text(small_numbers), text(large_numbers)});
    relations_ = new QComboBox(this);
    relations_->setObjectName(QStringLiteral("practiceRelations"));
    relations_->addItems({text(both_relations), text(equations_only), text(inequalities_only)});
    auto *difficulty_caption = new QLabel(text(difficulty_label), this);
    difficulty_caption->setBuddy(difficulty_);
    auto *relations_caption = new QLabel(text(relations_label), this);
    relations_caption->setBuddy(relations_);
    options->addWidget(difficulty_caption, 0, 0);
    options->addWidget(difficulty_, 0, 1);
    options->addWidget(relations_caption, 0, 2);
    options->addWidget(relations_, 0, 3);
    options->setColumnStretch(1, 1);
    options->setColumnStretch(3, 1);

    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("practiceCaption"));
    statement_ = new QLabel(this);
    statement_->setObjectName(QStringLiteral("practiceProblem"));
    statement_->setTextFormat(Qt::RichText);
    statement_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    statement_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont larger = statement_->font();
    larger.setPointSize(statement_point_size);
    statement_->setFont(larger);

    auto *answer_row = new QHBoxLayout;
    answer_ = new QLineEdit(this);
    answer_->setObjectName(QStringLiteral("practiceAnswer"));
    answer_->setPlaceholderText(text(answer_placeholder));
    answer_->setMaxLength(answer_max_length);
    auto *answer_caption = new QLabel(text(answer_label), this);
    answer_caption->setBuddy(answer_);
    check_ = new QPushButton(text(check_text), this);
    check_->setObjectName(QStringLiteral("practiceCheck"));
    check_->setToolTip(text(check_tip));
    answer_row->addWidget(answer_caption);
    answer_row->addWidget(answer_, 1);
    answer_row->addWidget(check_);

    verdict_ = new QLabel(this);
    verdict_->setObjectName(QStringLiteral("practiceVerdict"));
    verdict_->setTextFormat(Qt::RichText);
    verdict_->setWordWrap(true);
    verdict_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *buttons = new QHBoxLayout;
    working_button_ = new QPushButton(text(working_text), this);
    working_button_->setObjectName(QStringLiteral("practiceWorking"));
    next_ = new QPushButton(text(next_text), this);
    next_->setObjectName(QStringLiteral("practiceNext"));
    score_label_ = new QLabel(this);
    score_label_->setObjectName(QStringLiteral("practiceScore"));
    score_label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    buttons->addWidget(working_button_);
    buttons->addWidget(next_);
    buttons->addStretch(1);
    buttons->addWidget(score_label_);
    // Outside a dialog a focused button takes Enter only when told to; after
    // a right answer the keyboard is on "Další příklad", and Enter goes on.
    for (QPushButton *button : {check_, working_button_, next_})
        button->setAutoDefault(true);

    steps_ = new StepsView(this);
    steps_->setObjectName(QStringLiteral("practiceSteps"));
    steps_->hide();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(5);
    column->addLayout(options);
    column->addWidget(caption_);
    column->addWidget(statement_);
    column->addLayout(answer_row);
    column->addWidget(verdict_);
    column->addLayout(buttons);
    column->addWidget(steps_, 1);
    // Holds the room below while the working is hidden.
    column->addStretch(0);

    setTabOrder(difficulty_, relations_);
    setTabOrder(relations_, answer_);
    setTabOrder(answer_, check_);
    setTabOrder(check_, working_button_);
    setTabOrder(working_button_, next_);
    setTabOrder(next_, steps_);

    connect(answer_, &QLineEdit::returnPressed, this, [this] { run_handler([this] { check(); }); });
    connect(check_, &QPushButton::clicked, this, [this] { run_handler([this] { check(); }); });
    connect(working_button_, &QPushButton::clicked, this, [this] { run_handler([this] { show_working(); }); });
    connect(next_, &QPushButton::clicked, this, [this] {
        run_handler([this] {
            next_problem();
            start_typing();
        });
    });
    // Other options make other problems: the one on screen, if unanswered,
    // goes without counting.
    for (QComboBox *choice : {difficulty_, relations_}) {
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
    GeneratorOptions options;
    options.difficulty = difficulty_->currentIndex() == 1 ? Difficulty::Large : Difficulty::Small;
    if (relations_->currentIndex() == 1)
        options.relations = {Relation::Equal};
    else if (relations_->currentIndex() == 2)
        options.relations = {Relation::Less, Relation::Greater, Relation::LessEqual, Relation::GreaterEqual};
    generator_.emplace(seed_ ^ (seed_step * static_cast<std::uint64_t>(generation_)), std::move(options));
    ++generation_;
}

void PracticeView::next_problem()
{
    problem_ = generator_->next();
    exact_ = analyse_exact(problem_.a, problem_.b, problem_.c, problem_.relation);
    ++number_;
    counted_ = false;
    caption_->setText(text(caption_pattern).arg(number_));
    statement_->setText(math_html(statement_math(problem_, separator_()), true));
    answer_->clear();
    answer_->setStyleSheet(QString());
    verdict_->setText(text(hint).toHtmlEscaped());
    steps_->clear_working();
    steps_->hide();
    show_score();
}

void PracticeView::start_typing()
{
    answer_->setFocus(Qt::OtherFocusReason);
    answer_->selectAll();
}

void PracticeView::check()
{
    answer_->setStyleSheet(QString());
    const QString typed = answer_->text();
    RealSet answer;
    try {
        answer = parse_answer(typed.toStdString());
    } catch (const AnswerSyntaxError &error) {
        show_unreadable(QString::fromStdString(error.message()), error.column());
        return;
    }
    const Verdict verdict = judge_answer(exact_, problem_.relation, answer, separator_());
    const bool right = verdict.kind == VerdictKind::Right;
    const bool first = !counted_;
    count(right);
    const QString message = QString::fromStdString(verdict.message).toHtmlEscaped();
    if (right) {
        const QString said = first ? message : message + text(right_again).toHtmlEscaped();
        verdict_->setText(coloured(right_colour, QStringLiteral("<b>") + said + QStringLiteral("</b>")));
        next_->setFocus(Qt::OtherFocusReason);
    } else {
        verdict_->setText(coloured(wrong_colour, QStringLiteral("<b>") + text(wrong_lead) + QStringLiteral("</b> ")) +
                          message);
        answer_->setFocus(Qt::OtherFocusReason);
    }
}

// The message, and the answer once more with the place marked; in the line
// the character there is selected (the cursor stands at the end when the
// reader ran out of text), so that typing replaces it.
void PracticeView::show_unreadable(const QString &message, std::size_t column)
{
    const QString typed = answer_->text();
    const auto [at, length] = place_of(typed, column);
    QString marked = typed.left(at).toHtmlEscaped();
    const QString character = length > 0 ? typed.mid(at, length).toHtmlEscaped() : QStringLiteral("&nbsp;&nbsp;");
    marked += QStringLiteral("<span style=\"background-color: %1; color: %2; text-decoration: underline\"><b>%3</b></span>")
                  .arg(QLatin1String(mark_background), QLatin1String(wrong_colour), character);
    marked += typed.mid(at + length).toHtmlEscaped();
    verdict_->setText(coloured(wrong_colour, message.toHtmlEscaped()) + QStringLiteral("<br><tt>") + marked +
                      QStringLiteral("</tt>"));
    answer_->setFocus(Qt::OtherFocusReason);
    if (length > 0)
        answer_->setSelection(at, length);
    else
        answer_->setCursorPosition(at);
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
    steps_->show_working(build_steps(input, separator).working);
    steps_->show();
    steps_->setFocus(Qt::OtherFocusReason);
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
    score_label_->setText(text(score_pattern).arg(score_.right).arg(score_.counted));
}

} // namespace parvolin
