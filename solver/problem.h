#pragma once

#include <array>
#include <string>
#include <vector>

namespace parvolin {

// The relation sign, by its index in the relation list of the window.
enum class Relation { Equal = 0, Less = 1, Greater = 2, LessEqual = 3, GreaterEqual = 4 };

// Indices 1 to 4 are the inequalities; anything else counts as "=".
constexpr Relation relation_from_index(int index)
{
    return index >= 1 && index <= 4 ? static_cast<Relation>(index) : Relation::Equal;
}

// "<" and ">": the roots themselves do not belong to the solution set.
constexpr bool is_strict(Relation relation)
{
    return relation == Relation::Less || relation == Relation::Greater;
}

constexpr int min_decimals = 2;
constexpr int max_decimals = 6;

// Indices 0 to 4 of the precision list are 2 to 6 places; anything else
// counts as the first entry.
constexpr int decimals_from_index(int index)
{
    return index >= 0 && index <= max_decimals - min_decimals ? index + min_decimals : min_decimals;
}

struct Problem {
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
    Relation relation = Relation::Equal;
    int decimals = min_decimals; // the precision list's index + 2
};

// The three lines an analysis produces.
struct SolutionText {
    std::string verdict;
    std::string condition;
    std::string root_set;
};

// The seven lines of a solved problem, in the order they are shown.
struct Report {
    static constexpr int line_count = 7;
    std::array<std::string, line_count> lines;
};

// The lines of the printable document: date line, rule, the report as the
// display wraps it, rule, footer.
struct ResultDocument {
    std::vector<std::string> lines;
};

} // namespace parvolin
