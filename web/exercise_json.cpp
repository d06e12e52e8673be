#include "web/exercise_json.h"

#include "cli/check.h"
#include "solver/ascii.h"
#include "solver/failures.h"
#include "solver/math_html.h"
#include "solver/problem_generator.h"
#include "solver/worksheet.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdint>
#include <iterator>
#include <new>
#include <optional>

namespace parvolin::web {

namespace {

using nlohmann::json;

std::string dumped(const json &document) { return document.dump(-1, ' ', false, json::error_handler_t::replace); }

// What the page shows when a call fails in a way no input should cause.
constexpr char internal_failure[] = "V programu nastala neočekávaná vnitřní chyba.";
constexpr char out_of_memory[] = "Na tuto operaci nemá program dost paměti.";

std::optional<std::uint64_t> decimal(std::string_view text)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Runs `body`, turning a failure into {"error": its text}.
template <typename Body> std::string guarded(Body body)
{
    try {
        return dumped(body());
    } catch (const Failure &failure) {
        return dumped({{"error", failure.message()}, {"detail", failure.detail()}});
    } catch (const std::bad_alloc &) {
        return dumped({{"error", out_of_memory}});
    } catch (const std::exception &) {
        return dumped({{"error", internal_failure}});
    }
}

// The body of a whole HTML document: what lies between <body ...> and </body>.
std::string body_of(const std::string &html, std::string &body_style)
{
    const std::size_t open = html.find("<body");
    const std::size_t start = html.find('>', open);
    const std::size_t end = html.rfind("</body>");
    if (open == std::string::npos || start == std::string::npos || end == std::string::npos || end < start)
        return html;
    const std::string tag = html.substr(open, start - open);
    if (const std::size_t style = tag.find("style=\""); style != std::string::npos)
        body_style = tag.substr(style + 7, tag.find('"', style + 7) - style - 7);
    return html.substr(start + 1, end - start - 1);
}

} // namespace

std::string practice_problem_json(std::string_view seed, int generation, int index, PracticeChoice choice,
                                  char separator)
{
    return guarded([&]() -> json {
        const std::optional<std::uint64_t> sitting = decimal(seed);
        if (!sitting || generation < 0 || index < 0 || index > 100000)
            return {{"error", internal_failure}};
        // The sitting's generator is kept between calls, so the next
        // problem is one more deal; any other is dealt again from the start
        // (a worker started anew has none).
        struct Sitting {
            std::uint64_t seed = 0;
            int generation = -1;
            PracticeChoice choice;
            int next = 0;
            std::optional<ProblemGenerator> generator;
        };
        static Sitting kept;
        const bool same = kept.generator && kept.seed == *sitting && kept.generation == generation &&
                          kept.choice.difficulty == choice.difficulty && kept.choice.relations == choice.relations &&
                          index >= kept.next;
        if (!same) {
            kept = Sitting{*sitting, generation, choice, 0, std::nullopt};
            kept.generator.emplace(practice_generation_seed(*sitting, generation),
                                   practice_options(choice.difficulty, choice.relations));
        }
        GeneratedProblem problem;
        try {
            for (; kept.next <= index; ++kept.next)
                problem = kept.generator->next();
        } catch (...) {
            kept = Sitting{}; // a generator that failed halfway is not used again
            throw;
        }
        return {{"a", coefficient_text(problem.a, separator)},
                {"b", coefficient_text(problem.b, separator)},
                {"c", coefficient_text(problem.c, separator)},
                {"relation", static_cast<int>(problem.relation)},
                {"statement", math_to_html(statement_math(problem, separator), true)}};
    });
}

std::string practice_check_json(std::string_view a, std::string_view b, std::string_view c, int relation,
                                std::string_view answer, char separator)
{
    return guarded([&]() -> json {
        if (relation < 0 || relation > 4)
            return {{"error", internal_failure}};
        const cli::CheckResult result = cli::check_answer({a, b, c, relation, 0}, answer, separator);
        std::string message = result.message;
        if (!result.lead.empty() && message.compare(0, result.lead.size(), result.lead) == 0)
            message.erase(0, result.lead.size() + 1);
        return {{"verdict", cli::verdict_name(result.verdict)},
                {"lead", std::string(result.lead)},
                {"message", message},
                {"column", result.column}};
    });
}

std::string worksheet_json(const WorksheetChoice &choice, std::string_view number, int day, int month, int year,
                           char separator)
{
    return guarded([&]() -> json {
        const std::optional<std::uint64_t> sheet_number = decimal(number);
        if (!sheet_number || number.size() > 18)
            return {{"error", internal_failure}};
        WorksheetOptions options;
        options.count = choice.count;
        for (std::size_t i = 0; i < std::size(all_problem_kinds); ++i)
            if ((choice.kinds >> i) & 1U)
                options.generator.kinds.push_back(all_problem_kinds[i]);
        for (int i = 0; i <= 4; ++i)
            if ((choice.relations >> i) & 1U)
                options.generator.relations.push_back(relation_from_index(i));
        // None chosen would mean all of them to the generator; the page
        // asks for at least one of each.
        if (options.generator.kinds.empty() || options.generator.relations.empty())
            return {{"error", internal_failure}};
        options.generator.difficulty = choice.difficulty == 1 ? Difficulty::Large : Difficulty::Small;
        options.seed = *sheet_number;
        options.key = choice.key || choice.steps;
        options.steps = choice.steps;
        options.date = czech_date(day, month, year);
        options.separator = separator;
        const Worksheet sheet = build_worksheet(options);
        std::string style;
        std::string html = body_of(worksheet_html(sheet), style);
        return {{"html", html}, {"style", style}, {"title", sheet.title}, {"number", integer_text(sheet.number)}};
    });
}

} // namespace parvolin::web
