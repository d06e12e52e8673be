#include "solver/worksheet.h"

#include "solver/ascii.h"
#include "solver/math_html.h"
#include "solver/practice_texts.h"
#include "solver/rtf_writer.h"
#include "solver/steps.h"

#include <algorithm>
#include <random>

namespace parvolin {

namespace {

using namespace worksheet_texts;

std::string_view title_for(const std::vector<GeneratedProblem> &problems)
{
    const bool equations = std::any_of(problems.begin(), problems.end(),
                                       [](const GeneratedProblem &p) { return p.relation == Relation::Equal; });
    const bool inequalities = std::any_of(problems.begin(), problems.end(),
                                          [](const GeneratedProblem &p) { return p.relation != Relation::Equal; });
    const bool quadratic = std::any_of(problems.begin(), problems.end(), [](const GeneratedProblem &p) { return p.a != 0; });
    if (quadratic)
        return equations && inequalities ? title_both : equations ? title_equations : title_inequalities;
    return equations && inequalities ? title_linear_both : equations ? title_linear_equations : title_linear_inequalities;
}

std::string header_line(const Worksheet &sheet)
{
    return std::string(name) + "   " + std::string(form) + "   " + std::string(date) + sheet.date;
}

std::string number_line(const Worksheet &sheet) { return std::string(number) + integer_text(sheet.number); }

std::string numbered(int n, const std::string &text) { return integer_text(n) + ")  " + text; }

std::string paragraph(const std::string &text, const char *style)
{
    std::string out = std::string("<p style=\"") + style + "\">";
    append_html_escaped(out, text);
    return out + "</p>\n";
}

// The key's line of one problem as mathematics: "3)  x² − 1 = 0:   K = ...".
// `stacked`: with non-breaking blanks after the number and the colon, for a
// set with a fraction puts the line into table cells, where runs of blanks
// collapse.
Math key_line(int n, const WorksheetEntry &entry, bool stacked)
{
    Math line;
    line.text(integer_text(n) + (stacked ? ")\u00a0 " : ")  ")).append(entry.statement_math);
    return line.text(stacked ? ":\u00a0\u00a0 " : ":   ").append(entry.answer_math);
}

// The room the working of a key sits in from the left: in 96-dpi pixels,
// and the same in twips.
constexpr int key_working_indent_px = 28;
constexpr int key_working_indent_twips = key_working_indent_px * 15;

} // namespace

std::string czech_date(int day, int month, int year)
{
    return integer_text(day) + ". " + integer_text(month) + ". " + integer_text(year);
}

Worksheet build_worksheet(const WorksheetOptions &options)
{
    const int count = std::clamp(options.count, 1, max_worksheet_problems);
    const std::vector<GeneratedProblem> problems = generate_problems(options.seed, count, options.generator);
    Worksheet sheet;
    sheet.title = title_for(problems);
    sheet.date = options.date;
    sheet.number = options.seed;
    sheet.key = options.key || options.steps;
    sheet.steps = options.steps;
    sheet.entries.reserve(problems.size());
    for (const auto &p : problems) {
        WorksheetEntry entry;
        entry.problem = p;
        const ExactAnalysis exact = analyse_exact(p.a, p.b, p.c, p.relation);
        const ProblemMath math = problem_math(p.a, p.b, p.c, p.relation, exact.set, options.separator);
        entry.statement_math = statement_math(p, math.normal_form, options.separator);
        entry.answer_math = math.set;
        entry.statement = plain_text(entry.statement_math);
        entry.answer = plain_text(entry.answer_math);
        if (options.steps) {
            const std::string a = coefficient_text(p.a, options.separator);
            const std::string b = coefficient_text(p.b, options.separator);
            const std::string c = coefficient_text(p.c, options.separator);
            const ProblemInput input{a, b, c, static_cast<int>(p.relation), 0};
            entry.working = build_steps(input, options.separator).working;
            entry.steps = plain_lines(entry.working);
        }
        sheet.entries.push_back(std::move(entry));
    }
    return sheet;
}

std::string worksheet_text(const Worksheet &sheet)
{
    std::string out = sheet.title + "\n" + number_line(sheet) + "\n\n" + header_line(sheet) + "\n\n" +
                      std::string(task) + "\n\n";
    for (std::size_t i = 0; i < sheet.entries.size(); ++i)
        out += numbered(static_cast<int>(i + 1), sheet.entries[i].statement) + "\n\n\n\n\n";
    if (!sheet.key)
        return out;
    out += "\f\n";
    out += std::string(key_title) + integer_text(sheet.number) + "\n\n";
    for (std::size_t i = 0; i < sheet.entries.size(); ++i) {
        const auto &entry = sheet.entries[i];
        out += numbered(static_cast<int>(i + 1), entry.statement + ":   " + entry.answer) + "\n";
        if (entry.steps.empty())
            continue;
        for (const auto &line : entry.steps)
            out += "    " + line + "\n";
        out += "\n";
    }
    return out;
}

std::string worksheet_rtf(const Worksheet &sheet)
{
    std::vector<RtfParagraph> paragraphs;
    paragraphs.push_back({sheet.title, 32, true, true, 60, false});
    paragraphs.push_back({number_line(sheet), 22, false, true, 240, false});
    paragraphs.push_back({header_line(sheet), 22, false, false, 240, false});
    paragraphs.push_back({std::string(task), 22, false, false, 240, false});
    for (std::size_t i = 0; i < sheet.entries.size(); ++i)
        paragraphs.push_back({numbered(static_cast<int>(i + 1), sheet.entries[i].statement), 26, false, false, 2000, false});
    if (sheet.key) {
        paragraphs.push_back({std::string(key_title) + integer_text(sheet.number), 28, true, true, 240, true});
        for (std::size_t i = 0; i < sheet.entries.size(); ++i) {
            const auto &entry = sheet.entries[i];
            RtfParagraph line{numbered(static_cast<int>(i + 1), entry.statement + ":   " + entry.answer), 22,
                              !entry.working.steps.empty(), false, entry.working.steps.empty() ? 80 : 60, false};
            if (!entry.working.steps.empty()) {
                line.keep_with_next = true;
                line.working = &entry.working;
                line.working_indent = key_working_indent_twips;
                line.working_half_points = 19;
            }
            paragraphs.push_back(std::move(line));
        }
    }
    return rtf_paragraphs(paragraphs);
}

std::string worksheet_html(const Worksheet &sheet)
{
    std::string html = "<html><body style=\"font-family: 'DejaVu Sans'; font-size: 11pt\">\n";
    html += paragraph(sheet.title, "font-size: 16pt; font-weight: bold; text-align: center");
    html += paragraph(number_line(sheet), "text-align: center");
    html += paragraph(header_line(sheet), "margin-top: 12px; white-space: pre");
    html += paragraph(std::string(task), "margin-top: 12px; margin-bottom: 12px");
    // The room below the last problem is the rest of its page: a margin
    // there would open the key's page instead, above its title.
    for (std::size_t i = 0; i < sheet.entries.size(); ++i)
        html += paragraph(numbered(static_cast<int>(i + 1), sheet.entries[i].statement),
                          sheet.key && i + 1 == sheet.entries.size() ? "font-size: 13pt; white-space: pre"
                                                                      : "font-size: 13pt; margin-bottom: 110px; white-space: pre");
    if (sheet.key) {
        html += paragraph(std::string(key_title) + integer_text(sheet.number),
                          "page-break-before: always; font-size: 14pt; font-weight: bold; text-align: center; "
                          "margin-top: 0; margin-bottom: 8px");
        for (std::size_t i = 0; i < sheet.entries.size(); ++i) {
            const auto &entry = sheet.entries[i];
            const bool working = !entry.working.steps.empty();
            const std::string style = working ? "margin-top: 10px; font-weight: bold" : "margin-top: 6px";
            const bool stacked = std::any_of(entry.answer_math.tokens.begin(), entry.answer_math.tokens.end(),
                                             [](const MathToken &token) { return token.mark == MathMark::FractionBegin; });
            std::string set = math_to_html(key_line(static_cast<int>(i + 1), entry, stacked), true, style);
            if (!stacked)
                set = "<p style=\"margin-bottom: 0; white-space: pre-wrap; " + style + "\">" + set + "</p>";
            html += set + "\n";
            if (working)
                html += "<div style=\"font-size: 9pt\">" +
                        working_to_html(entry.working, {key_working_indent_px, false, 2}) + "</div>\n";
        }
    }
    html += "</body></html>";
    return html;
}

std::uint64_t random_worksheet_number()
{
    std::random_device device;
    return 100000 + (static_cast<std::uint64_t>(device()) % 900000);
}

Math statement_math(const GeneratedProblem &problem, char decimal_separator)
{
    return statement_math(
        problem, problem_math(problem.a, problem.b, problem.c, problem.relation, ExactSet{}, decimal_separator).normal_form,
        decimal_separator);
}

Math statement_math(const GeneratedProblem &problem, const Math &normal_form, char decimal_separator)
{
    if (problem.a != 0 || problem.b != 0)
        return normal_form;
    Math math;
    math.text("0 · x");
    if (problem.c != 0) {
        math.text(problem.c < 0 ? " − " : " + ");
        put_number(math, Rational(abs(problem.c)), {decimal_separator, NumberStyle::Decimals});
    }
    math.text(relation_sign(problem.relation)).text("0");
    return math;
}

} // namespace parvolin
