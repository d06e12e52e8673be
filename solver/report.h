#pragma once

#include "solver/problem.h"
#include "solver/solution.h"

#include <string>
#include <string_view>
#include <vector>

namespace parvolin {

// What the user entered: the three coefficient texts as typed, and the
// indices of the relation and precision lists.
struct ProblemInput {
    std::string_view a_text;
    std::string_view b_text;
    std::string_view c_text;
    int relation_index = 0;
    int precision_index = 0;
};

// Parses the texts in order a, b, c (an empty text is 0); the first bad one
// throws and the later ones are not read.
Problem parse_problem(const ProblemInput &input, char decimal_separator);

// The header line, e.g. "Řešení rovnice ", and the problem line ending, ") = 0 .".
std::string_view header_line(Relation relation);
std::string_view problem_line_ending(Relation relation);

std::string problem_line(const Problem &problem, char decimal_separator);
std::string precision_line(int decimals);

// The seven report lines; throws the failures of parsing and analysis.
Report build_report(const Problem &problem, char decimal_separator);
// The same from a solution already found for `problem`, so that a caller that
// also draws it works from the one analysis.
Report build_report(const Problem &problem, const Solution &solution, char decimal_separator);
Report build_report(const ProblemInput &input, char decimal_separator);

// The printable document around the report rows as they are displayed
// (one line per display row): "Datum:" + date text, 31 hyphens, the rows,
// 36 hyphens, the footer.
ResultDocument build_document(std::string_view date_text, const std::vector<std::string> &display_rows);

} // namespace parvolin
