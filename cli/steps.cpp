#include "cli/steps.h"

#include "cli/problem_fields.h"
#include "solver/failures.h"
#include "solver/file_write.h"
#include "solver/regional_settings.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace parvolin::cli {

namespace {

constexpr std::string_view steps_usage =
    R"(Usage:
  parvolin-cli steps [--sep SEP] [--rel REL] [--places N] [--json] [--] A B C

Works A.x^2 + B.x + C REL 0 out step by step, exactly, in Czech (UTF-8): the
coefficient texts are taken as the exact decimals they are. When the report
of `solve` shows a different set, the steps open with a notice saying how and
why. Options as for solve; --json prints one object instead,
{"steps": [lines], "exact": {...}, "agrees_with_report": bool, "notice": text or null}.
)";

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

int fail(std::string_view message)
{
    std::string line(message);
    line += '\n';
    write_all(STDERR_FILENO, line);
    return 1;
}

int usage(std::string_view message)
{
    std::string text = "parvolin-cli: ";
    text += message;
    text += "\n\n";
    text += steps_usage;
    write_all(STDERR_FILENO, text);
    return 2;
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

nlohmann::json batch_steps_json(const ProblemInput &input, char decimal_separator)
{
    try {
        return steps_json(build_steps(input, decimal_separator));
    } catch (const Failure &) {
        return nullptr;
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

int run_steps(const std::vector<std::string_view> &args)
{
    std::optional<char> separator;
    int relation_index = 0;
    int places = min_decimals;
    bool json = false;
    std::vector<std::string_view> positional;
    bool options_ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (options_ended || !arg.starts_with("--")) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_ended = true;
            continue;
        }
        std::string_view name = arg;
        std::optional<std::string_view> inline_value;
        if (const auto equals = arg.find('='); equals != std::string_view::npos) {
            name = arg.substr(0, equals);
            inline_value = arg.substr(equals + 1);
        }
        if (name == "--help" || name == "--json") {
            if (inline_value)
                return usage(std::string(name) + " takes no value");
            if (name == "--help") {
                write_all(STDOUT_FILENO, steps_usage);
                return 0;
            }
            json = true;
            continue;
        }
        std::string_view value;
        if (inline_value)
            value = *inline_value;
        else if (i + 1 < args.size())
            value = args[++i];
        else
            return usage(std::string(name) + " needs a value");

        if (name == "--sep") {
            separator = separator_from_text(value);
            if (!separator)
                return usage("--sep must be \",\" or \".\", not '" + std::string(value) + "'");
        } else if (name == "--rel") {
            const auto index = relation_index_from_text(value);
            if (!index)
                return usage("--rel must be one of = < > <= >=, not '" + std::string(value) + "'");
            relation_index = *index;
        } else if (name == "--places") {
            const auto count = places_from_text(value);
            if (!count)
                return usage("--places must be a digit from 2 to 6, not '" + std::string(value) + "'");
            places = *count;
        } else {
            return usage("unknown option " + std::string(name));
        }
    }
    if (positional.size() != 3)
        return usage("steps needs the three coefficients A B C, found " + std::to_string(positional.size()) +
                     " arguments");

    const char sep = separator ? *separator : load_regional_settings().decimal_separator;
    const ProblemInput input{positional[0], positional[1], positional[2], relation_index, places - min_decimals};
    StepsResult result;
    try {
        result = build_steps(input, sep);
    } catch (const Failure &failure) {
        return fail(error_display_text(failure.what()));
    }

    std::string out;
    if (json) {
        out = dump(steps_json(result));
        out += '\n';
    } else {
        for (const auto &line : plain_lines(result.working)) {
            out += line;
            out += '\n';
        }
    }
    if (!write_all(STDOUT_FILENO, out))
        return fail(std::string("parvolin-cli: cannot write the output: ") + std::strerror(errno));
    return 0;
}

} // namespace parvolin::cli
