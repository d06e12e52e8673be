#pragma once

#include "solver/exact_solution.h"
#include "solver/problem_generator.h"

#include <QGroupBox>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class PracticeView;
}

namespace parvolin {

// Where the seed of a sitting comes from. The program draws one from the
// system's random source, or takes PARVOLIN_PRACTICE_SEED when that is set
// (a decimal number), so a sitting can be replayed; tests install a source
// of their own. Returns the source installed before; an empty one stands
// for the program's own.
using PracticeSeedSource = std::function<std::uint64_t()>;
PracticeSeedSource set_practice_seed_source(PracticeSeedSource source);

// The right answers and the problems counted in one sitting.
struct PracticeScore {
    int right = 0;
    int counted = 0;
};

// The "Procvičování" view: a generated problem of the chosen difficulty in
// normal form, a line for the pupil's solution set, its verdict, the working
// on request, and the score of the sitting.
//
// Each problem counts once, by the first answer the reader can read: right
// at the first go counts as right, wrong as counted and not right; further
// checks only tell what is still wrong. An answer it cannot read does not
// count, so a slip of the keyboard costs nothing. Showing the working before
// any answer counts the problem as not solved. A problem skipped with "Další
// příklad" before any answer does not count.
class PracticeView : public QGroupBox {
    Q_OBJECT

public:
    // `separator`: the decimal separator of the numbers shown (problem,
    // verdict, working), asked at each new problem and check.
    explicit PracticeView(std::function<char()> separator, QWidget *parent = nullptr);
    ~PracticeView() override;

    // A new sitting: a fresh seed, the score back to nothing, the first problem.
    void start_sitting();
    // Whether a sitting has begun (it lasts until the program ends).
    bool in_sitting() const { return number_ != 0; }
    // The keyboard to the answer line, its text selected.
    void start_typing();

    std::uint64_t seed() const { return seed_; }
    const GeneratedProblem &problem() const { return problem_; }
    PracticeScore score() const { return score_; }

private:
    void connect_commands();
    void restart_generator();
    void next_problem();
    void check();
    void show_working();
    void count(bool right);
    void show_score();
    void show_unreadable(const QString &message, std::size_t column);

    std::function<char()> separator_;
    std::uint64_t seed_ = 0;
    int generation_ = 0; // generators made in this sitting; each choice of options makes one
    std::optional<ProblemGenerator> generator_;
    GeneratedProblem problem_;
    ExactAnalysis exact_;
    int number_ = 0;      // the problem's number in the sitting
    bool counted_ = false; // the problem is in the score already
    PracticeScore score_;

    std::unique_ptr<Ui::PracticeView> ui_;
    // The layout's texts with their blanks to fill: the caption with the
    // problem's number, the score, and the hint shown before a check.
    QString caption_pattern_;
    QString score_pattern_;
    QString hint_;
};

} // namespace parvolin
