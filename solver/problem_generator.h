#pragma once

// Problems for worksheets and practice whose answers come out nicely: each
// one built from its answer, then checked with the exact arithmetic of the
// working. The same seed gives the same problems on every system.

#include "solver/exact_solution.h"
#include "solver/failures.h"
#include "solver/problem.h"

#include "solver/big_number.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace parvolin {

enum class ProblemKind {
    IntegerRoots,   // two different non-zero integer roots, b and c non-zero
    FractionRoots,  // two different rational roots, at least one not an integer
    SurdRoots,      // two irrational roots, b and c non-zero
    DoubleRoot,     // D = 0, b and c non-zero
    NoRealRoot,     // D < 0, b and c non-zero
    NoLinearTerm,   // b = 0, c non-zero
    NoConstantTerm, // c = 0, b non-zero
    Linear,         // a = 0, b non-zero
    Constant,       // a = b = 0
};

inline constexpr ProblemKind all_problem_kinds[] = {
    ProblemKind::IntegerRoots, ProblemKind::FractionRoots, ProblemKind::SurdRoots,
    ProblemKind::DoubleRoot,   ProblemKind::NoRealRoot,    ProblemKind::NoLinearTerm,
    ProblemKind::NoConstantTerm, ProblemKind::Linear,      ProblemKind::Constant,
};

// What a sheet and a practice sitting hold unless asked for more: the
// quadratic kinds, without linear and constant.
inline constexpr ProblemKind quadratic_problem_kinds[] = {
    ProblemKind::IntegerRoots, ProblemKind::FractionRoots, ProblemKind::SurdRoots,     ProblemKind::DoubleRoot,
    ProblemKind::NoRealRoot,   ProblemKind::NoLinearTerm,  ProblemKind::NoConstantTerm,
};

// The names of the command line: "integer", "fraction", "surd", "double",
// "none", "no-b", "no-c", "linear", "constant".
std::string_view kind_name(ProblemKind kind);
std::optional<ProblemKind> kind_from_name(std::string_view name);

enum class Difficulty {
    Small, // integers, |a| <= 5, |b| and |c| <= 30; roots rational or with a radicand up to 20
    Large, // |a| <= 12, |b| and |c| <= 200, some with one decimal place
};

struct GeneratorOptions {
    std::vector<ProblemKind> kinds;  // empty: quadratic_problem_kinds
    std::vector<Relation> relations; // empty: all five
    Difficulty difficulty = Difficulty::Small;
};

struct GeneratedProblem {
    ProblemKind kind = ProblemKind::IntegerRoots;
    Relation relation = Relation::Equal;
    Rational a, b, c;
};

// The coefficient as a pupil types it: "-3", "0,5" (at most one decimal place).
std::string coefficient_text(const Rational &value, char separator);

// The kind the exact analysis finds for a x² + b x + c.
ProblemKind classify(const Rational &a, const Rational &b, const Rational &c);

// A 64-bit Mersenne twister, whose sequence the C++ standard fixes, and a
// mapping onto integer ranges of our own (the standard distributions differ
// between libraries).
class ProblemRandom {
public:
    explicit ProblemRandom(std::uint64_t seed) : engine_(seed) {}
    // Uniform in [low, high], by rejection of the biased top of the range.
    long between(long low, long high);
    // A non-zero integer with |value| <= limit, either sign.
    long nonzero(long limit);
    bool chance(int percent) { return between(1, 100) <= percent; }

private:
    std::mt19937_64 engine_;
};

// A kind that no draw could give (the generator's own fault, never the user's).
using GeneratorGaveUpError = FixedFailure<"Příklad se nepodařilo vytvořit">;
inline constexpr std::string_view generator_gave_up_detail =
    "Ani po sto tisících pokusech nevznikl příklad, jehož zadání by protokol i klíč řešily stejně; druh příkladu „";

// Deals the problems of one sheet: the kinds and relations of the options in
// turns, each turn shuffled, so that a sheet mixes them evenly; no problem twice.
class ProblemGenerator {
public:
    ProblemGenerator(std::uint64_t seed, GeneratorOptions options);
    GeneratedProblem next();

private:
    GeneratedProblem make(ProblemKind kind, Relation relation);
    template <typename T> T deal(std::vector<T> &deck, std::size_t &at, const std::vector<T> &all);

    ProblemRandom random_;
    GeneratorOptions options_;
    std::vector<ProblemKind> kind_deck_;
    std::vector<Relation> relation_deck_;
    std::size_t kind_at_ = 0, relation_at_ = 0;
    std::vector<std::string> seen_;
};

std::vector<GeneratedProblem> generate_problems(std::uint64_t seed, int count, const GeneratorOptions &options);

// Practice, in the window and on the page alike. The choices as their lists
// number them: difficulty 0 small numbers, 1 larger; relations 0 both, 1
// equations only, 2 inequalities only.
GeneratorOptions practice_options(int difficulty, int relations);

// The seed of a sitting's generation (a new one each time the choices
// change): the generations lie far apart (splitmix64's constant), and the
// first has the sitting's own seed, so that sitting N starts with the
// problems of worksheet N.
constexpr std::uint64_t practice_generation_seed(std::uint64_t sitting, int generation)
{
    return sitting ^ (0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(generation));
}

} // namespace parvolin
