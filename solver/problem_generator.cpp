#include "solver/problem_generator.h"

#include "solver/ascii.h"
#include "solver/failures.h"
#include "solver/solution.h"
#include "solver/steps.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <utility>

namespace parvolin {

namespace {

struct Bounds {
    long a, bc, root;
};

Bounds bounds(Difficulty difficulty)
{
    return difficulty == Difficulty::Small ? Bounds{5, 30, 9} : Bounds{12, 200, 20};
}

bool within(const Rational &value, long limit) { return abs(value) <= limit; }

long gcd(long x, long y) { return std::gcd(std::labs(x), std::labs(y)); }

constexpr std::pair<ProblemKind, std::string_view> kind_names[] = {
    {ProblemKind::IntegerRoots, "integer"}, {ProblemKind::FractionRoots, "fraction"},
    {ProblemKind::SurdRoots, "surd"},       {ProblemKind::DoubleRoot, "double"},
    {ProblemKind::NoRealRoot, "none"},      {ProblemKind::NoLinearTerm, "no-b"},
    {ProblemKind::NoConstantTerm, "no-c"},  {ProblemKind::Linear, "linear"},
    {ProblemKind::Constant, "constant"},
};

constexpr Relation all_relations[] = {Relation::Equal, Relation::Less, Relation::Greater, Relation::LessEqual,
                                      Relation::GreaterEqual};

// Whether the report shows the same set as the exact answer, judged as the
// key's working judges it: the problem's own texts through the report's
// parser and analysis. A worksheet's answer must not depend on which of the
// two a pupil checks it with.
bool report_agrees(const GeneratedProblem &p)
{
    const std::string a = coefficient_text(p.a, '.');
    const std::string b = coefficient_text(p.b, '.');
    const std::string c = coefficient_text(p.c, '.');
    try {
        return build_steps({a, b, c, static_cast<int>(p.relation), 0}, '.').agrees_with_report;
    } catch (const Failure &) {
        return false;
    }
}

// Roots such as (3 ± √5)/2 rather than (7 ± √113)/4: the square-free part
// of D stays small.
bool small_radicand(const GeneratedProblem &p, long limit)
{
    const Rational d = p.b * p.b - 4 * p.a * p.c;
    Integer k, m;
    split_square(numerator(d) * denominator(d), k, m);
    return m <= limit;
}

} // namespace

std::string_view kind_name(ProblemKind kind)
{
    for (const auto &[k, name] : kind_names)
        if (k == kind)
            return name;
    return {};
}

std::optional<ProblemKind> kind_from_name(std::string_view name)
{
    for (const auto &[k, n] : kind_names)
        if (n == name)
            return k;
    return std::nullopt;
}

std::string coefficient_text(const Rational &value, char separator)
{
    if (denominator(value) == 1)
        return decimal_string(numerator(value));
    // tenths: the generator writes nothing finer
    const Integer tenths = numerator(value) * (10 / denominator(value));
    const Integer magnitude = abs(tenths);
    std::string text = value < 0 ? "-" : "";
    text += decimal_string(Integer(magnitude / 10));
    text += separator;
    text += decimal_string(Integer(magnitude % 10));
    return text;
}

ProblemKind classify(const Rational &a, const Rational &b, const Rational &c)
{
    if (a == 0)
        return b == 0 ? ProblemKind::Constant : ProblemKind::Linear;
    if (b == 0)
        return c == 0 ? ProblemKind::DoubleRoot : ProblemKind::NoLinearTerm; // a x² = 0: the double root 0
    if (c == 0)
        return ProblemKind::NoConstantTerm;
    const ExactAnalysis exact = analyse_exact(a, b, c, Relation::Equal);
    if (exact.discriminant < 0)
        return ProblemKind::NoRealRoot;
    if (exact.discriminant == 0)
        return ProblemKind::DoubleRoot;
    const Surd &x1 = exact.zeros[0];
    const Surd &x2 = exact.zeros[1];
    if (!x1.is_rational())
        return ProblemKind::SurdRoots;
    return x1.w == 1 && x2.w == 1 ? ProblemKind::IntegerRoots : ProblemKind::FractionRoots;
}

long ProblemRandom::between(long low, long high)
{
    const std::uint64_t span = static_cast<std::uint64_t>(high - low) + 1;
    // the largest multiple of span that fits: values at or above it would
    // favour the low end of the range
    const std::uint64_t limit = span == 0 ? 0 : UINT64_MAX - UINT64_MAX % span;
    std::uint64_t value;
    do
        value = engine_();
    while (limit != 0 && value >= limit);
    return low + static_cast<long>(span == 0 ? value : value % span);
}

long ProblemRandom::nonzero(long limit)
{
    const long magnitude = between(1, limit);
    return chance(50) ? magnitude : -magnitude;
}

ProblemGenerator::ProblemGenerator(std::uint64_t seed, GeneratorOptions options)
    : random_(seed), options_(std::move(options))
{
    if (options_.kinds.empty())
        options_.kinds.assign(std::begin(quadratic_problem_kinds), std::end(quadratic_problem_kinds));
    if (options_.relations.empty())
        options_.relations.assign(std::begin(all_relations), std::end(all_relations));
}

template <typename T> T ProblemGenerator::deal(std::vector<T> &deck, std::size_t &at, const std::vector<T> &all)
{
    if (at == deck.size()) {
        deck = all;
        for (std::size_t i = deck.size(); i > 1; --i)
            std::swap(deck[i - 1], deck[static_cast<std::size_t>(random_.between(0, static_cast<long>(i) - 1))]);
        at = 0;
    }
    return deck[at++];
}

GeneratedProblem ProblemGenerator::next()
{
    const ProblemKind kind = deal(kind_deck_, kind_at_, options_.kinds);
    const Relation relation = deal(relation_deck_, relation_at_, options_.relations);
    GeneratedProblem problem;
    // A constant problem has few forms; after enough tries a repeat is allowed.
    for (int attempt = 0; attempt < 50; ++attempt) {
        problem = make(kind, relation);
        std::string key = decimal_string(problem.a) + ' ' + decimal_string(problem.b) + ' ' + decimal_string(problem.c) + ' ' +
                          integer_text(static_cast<int>(relation));
        if (std::find(seen_.begin(), seen_.end(), key) == seen_.end()) {
            seen_.push_back(std::move(key));
            break;
        }
    }
    return problem;
}

GeneratedProblem ProblemGenerator::make(ProblemKind kind, Relation relation)
{
    const Bounds limit = bounds(options_.difficulty);
    ProblemRandom &r = random_;
    // Every kind is found within a few hundred draws; the bound only keeps a
    // filter that could never pass from spinning for ever.
    constexpr long max_draws = 100'000;
    for (long draw = 0;; ++draw) {
        if (draw == max_draws)
            throw GeneratorGaveUpError(std::string(generator_gave_up_detail) + std::string(kind_name(kind)) + "“.");
        long a = 0, b = 0, c = 0;
        switch (kind) {
        case ProblemKind::IntegerRoots: {
            const long x1 = r.nonzero(limit.root), x2 = r.nonzero(limit.root);
            a = r.chance(50) ? (r.chance(70) ? 1 : -1) : r.nonzero(limit.a);
            b = -a * (x1 + x2);
            c = a * x1 * x2;
            break;
        }
        case ProblemKind::FractionRoots: {
            // (q1 x − p1)(q2 x − p2) has no common factor when each root is in lowest terms
            const long q1 = r.between(2, std::min(limit.a, 6L));
            const long q2 = r.between(1, std::max(1L, limit.a / q1));
            const long p1 = r.nonzero(limit.root), p2 = r.nonzero(limit.root);
            if (gcd(p1, q1) != 1 || gcd(p2, q2) != 1)
                continue;
            const long s = r.chance(75) ? 1 : -1;
            a = s * q1 * q2;
            b = -s * (q1 * p2 + q2 * p1);
            c = s * p1 * p2;
            break;
        }
        case ProblemKind::SurdRoots:
        case ProblemKind::NoRealRoot:
            a = r.chance(50) ? 1 : r.nonzero(limit.a);
            b = r.nonzero(limit.bc / 3);
            c = r.nonzero(limit.bc / 2);
            if (gcd(gcd(a, b), c) != 1)
                continue;
            break;
        case ProblemKind::DoubleRoot: {
            const long q = r.chance(70) ? 1 : 2;
            const long p = r.nonzero(limit.root);
            if (gcd(p, q) != 1 || q * q > limit.a)
                continue;
            const long k = r.nonzero(limit.a / (q * q));
            a = k * q * q;
            b = -2 * k * p * q;
            c = k * p * p;
            break;
        }
        case ProblemKind::NoLinearTerm:
            a = r.chance(50) ? 1 : r.nonzero(limit.a);
            if (r.chance(60)) { // x² = (p/q)²: roots ±p/q
                const long q = std::labs(a) == 4 ? 2 : 1;
                const long p = r.between(1, limit.root);
                if (gcd(p, q) != 1)
                    continue;
                c = -(a / (q * q)) * p * p;
            } else {
                c = r.nonzero(limit.bc);
                // Small: real roots only as ±√n with n a small integer, not √105/5
                const bool real_roots = (a > 0) != (c > 0);
                if (options_.difficulty == Difficulty::Small && real_roots &&
                    (c % a != 0 || !small_radicand({kind, relation, a, 0, c}, limit.a * 4)))
                    continue;
            }
            break;
        case ProblemKind::NoConstantTerm:
            a = r.chance(50) ? 1 : r.nonzero(limit.a);
            b = r.chance(60) ? a * r.nonzero(limit.root) : r.nonzero(limit.bc / 2);
            break;
        case ProblemKind::Linear:
            b = r.nonzero(std::min(2 * limit.a, 10L));
            c = r.chance(60) ? -b * r.nonzero(limit.root) : r.nonzero(limit.bc);
            break;
        case ProblemKind::Constant:
            c = r.chance(20) ? 0 : r.nonzero(limit.bc / 3);
            break;
        }
        GeneratedProblem problem{kind, relation, a, b, c};
        if (options_.difficulty == Difficulty::Large && r.chance(25)) {
            problem.a /= 10;
            problem.b /= 10;
            problem.c /= 10;
        }
        if (!within(problem.a, limit.a) || !within(problem.b, limit.bc) || !within(problem.c, limit.bc))
            continue;
        if (classify(problem.a, problem.b, problem.c) != kind)
            continue;
        if (kind == ProblemKind::SurdRoots && !small_radicand(problem, limit.a * 4))
            continue;
        if (!report_agrees(problem))
            continue;
        return problem;
    }
}

std::vector<GeneratedProblem> generate_problems(std::uint64_t seed, int count, const GeneratorOptions &options)
{
    ProblemGenerator generator(seed, options);
    std::vector<GeneratedProblem> problems;
    problems.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        problems.push_back(generator.next());
    return problems;
}

GeneratorOptions practice_options(int difficulty, int relations)
{
    GeneratorOptions options;
    options.difficulty = difficulty == 1 ? Difficulty::Large : Difficulty::Small;
    if (relations == 1)
        options.relations = {Relation::Equal};
    else if (relations == 2)
        options.relations = {Relation::Less, Relation::Greater, Relation::LessEqual, Relation::GreaterEqual};
    return options;
}

} // namespace parvolin
