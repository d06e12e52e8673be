#include "cli/steps.h"

#include "solver/failures.h"


namespace parvolin::cli {

namespace {

} // namespace

const std::string_view steps_usage =
    R"(Usage:
  parvolin-cli steps [--sep SEP] [--rel REL] [--places N] [--json] [--] A B C

Works A.x^2 + B.x + C REL 0 out step by step, exactly, in Czech (UTF-8): the
coefficient texts are taken as the exact decimals they are. When the report
of `solve` shows a different set, the steps open with a notice saying how and
why. Options as for solve; --json prints one object instead,
{"steps": [lines], "exact": {...}, "agrees_with_report": bool, "notice": text or null}.
)";

namespace {

std::string end_text(const ExactEnd &end)
{
    if (end.infinity != 0)
        return end.infinity < 0 ? "-oo" : "oo";
    return sympy_text(end.value);
}

nlohmann::json values_json(const std::vector<Surd> &values)
{
    auto list = nlohmann::json::array();
    for (const auto &value : values)
        list.push_back(sympy_text(value));
    return list;
}

std::string dump(const nlohmann::json &document)
{
    return document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace

nlohmann::json steps_json(const StepsResult &result)
{
    const ExactSet &set = result.exact.set;
    auto intervals = nlohmann::json::array();
    for (const auto &piece : set.intervals)
        intervals.push_back({{"lower", end_text(piece.lower)},
                             {"lower_closed", piece.lower_closed},
                             {"upper", end_text(piece.upper)},
                             {"upper_closed", piece.upper_closed}});
    nlohmann::json exact = {{"kind", set_kind_name(set.kind)},
                            {"intervals", intervals},
                            {"points", values_json(set.points)},
                            {"excluded", values_json(set.excluded)}};
    return {{"steps", plain_lines(result.working)},
            {"exact", exact},
            {"agrees_with_report", result.agrees_with_report},
            {"notice", result.notice.empty() ? nlohmann::json(nullptr) : nlohmann::json(result.notice)}};
}

void set_batch_steps_json(nlohmann::json &result, const ProblemInput &input, char decimal_separator)
{
    try {
        result["steps"] = steps_json(build_steps(input, decimal_separator));
        result.erase("steps_error");
    } catch (const Failure &failure) {
        result["steps"] = nullptr;
        result["steps_error"] = error_display_text(failure.what());
    }
}

void append_batch_steps(std::string &out, const ProblemInput &input, char decimal_separator)
{
    try {
        for (const auto &line : plain_lines(build_steps(input, decimal_separator).working)) {
            out += line;
            out += '\n';
        }
    } catch (const Failure &failure) {
        out += "chyba postupu: ";
        out += error_display_text(failure.what());
        out += '\n';
    }
}

std::string steps_output(const ProblemInput &input, char decimal_separator, bool json)
{
    const StepsResult result = build_steps(input, decimal_separator);
    std::string out;
    if (json) {
        out = dump(steps_json(result));
        out += '\n';
        return out;
    }
    for (const auto &line : plain_lines(result.working)) {
        out += line;
        out += '\n';
    }
    return out;
}

} // namespace parvolin::cli
