#include "solver/report.h"

#include "solver/ascii.h"
#include "solver/czech_texts.h"
#include "solver/number_text.h"
#include "solver/solution.h"

namespace parvolin {

namespace {

double parse_or_zero(std::string_view text, char decimal_separator)
{
    // An empty field counts as 0 without conversion; a field of blanks does not.
    return text.empty() ? 0.0 : parse_coefficient(text, decimal_separator);
}

} // namespace

Problem parse_problem(const ProblemInput &input, char decimal_separator)
{
    Problem problem;
    problem.decimals = decimals_from_index(input.precision_index);
    problem.a = parse_or_zero(input.a_text, decimal_separator);
    problem.b = parse_or_zero(input.b_text, decimal_separator);
    problem.c = parse_or_zero(input.c_text, decimal_separator);
    problem.relation = relation_from_index(input.relation_index);
    return problem;
}

std::string_view header_line(Relation relation)
{
    switch (relation) {
    case Relation::Equal: return texts::equation_header;
    case Relation::LessEqual: return texts::inequality_header_less_equal;
    case Relation::Less:
    case Relation::Greater:
    case Relation::GreaterEqual: break;
    }
    return texts::inequality_header;
}

std::string_view problem_line_ending(Relation relation)
{
    switch (relation) {
    case Relation::Less: return texts::ending_less;
    case Relation::Greater: return texts::ending_greater;
    case Relation::LessEqual: return texts::ending_less_equal;
    case Relation::GreaterEqual: return texts::ending_greater_equal;
    case Relation::Equal: break;
    }
    return texts::ending_equal;
}

// The parsed doubles, not the typed texts: an empty field shows as 0.
std::string problem_line(const Problem &problem, char decimal_separator)
{
    std::string line(texts::problem_open);
    append_number(line, problem.a, decimal_separator);
    line += texts::problem_x_squared;
    append_number(line, problem.b, decimal_separator);
    line += texts::problem_x;
    append_number(line, problem.c, decimal_separator);
    line += problem_line_ending(problem.relation);
    return line;
}

std::string precision_line(int decimals)
{
    std::string line(texts::precision_prefix);
    line += integer_text(decimals);
    line += decimals == 5 || decimals == 6 ? texts::places_many : texts::places_few;
    return line;
}

Report build_report(const Problem &problem, char decimal_separator)
{
    return build_report(problem, analyse(problem), decimal_separator);
}

Report build_report(const Problem &problem, const Solution &solution, char decimal_separator)
{
    Report report;
    auto &lines = report.lines;
    lines[0] = header_line(problem.relation);
    lines[1] = problem_line(problem, decimal_separator);
    lines[2] = texts::domain_line;
    SolutionText text = describe(solution, decimal_separator);
    lines[3] = std::move(text.verdict);
    lines[4] = std::move(text.condition);
    lines[5] = std::move(text.root_set);
    lines[6] = precision_line(problem.decimals);
    return report;
}

Report build_report(const ProblemInput &input, char decimal_separator)
{
    return build_report(parse_problem(input, decimal_separator), decimal_separator);
}

ResultDocument build_document(std::string_view date_text, const std::vector<std::string> &display_rows)
{
    ResultDocument document;
    auto &lines = document.lines;
    std::size_t rows = display_rows.size();
    // A display that ends in an empty row does not pass it on.
    if (rows > 0 && display_rows[rows - 1].empty())
        --rows;
    lines.reserve(rows + 4);
    lines.push_back(std::string(texts::date_prefix) + std::string(date_text));
    lines.emplace_back(texts::rule_top);
    lines.insert(lines.end(), display_rows.begin(), display_rows.begin() + static_cast<std::ptrdiff_t>(rows));
    lines.emplace_back(texts::rule_bottom);
    lines.emplace_back(texts::footer);
    return document;
}

} // namespace parvolin
