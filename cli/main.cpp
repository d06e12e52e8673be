// parvolin-cli: the solver without the window, for scripts and for checking
// many problems at once.

#include "cli/batch.h"
#include "cli/check.h"
#include "cli/message_text.h"
#include "cli/problem_fields.h"
#include "cli/standard_output.h"
#include "cli/steps.h"
#include "cli/worksheet.h"
#include "solver/ascii.h"
#include "solver/failures.h"
#include "solver/file_write.h"
#include "solver/fp_env.h"
#include "solver/regional_settings.h"
#include "solver/report.h"

#include <cerrno>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

using namespace parvolin;
using cli::print_error;

constexpr int exit_ok = 0;
constexpr int exit_failure = 1;
constexpr int exit_usage = 2;

constexpr std::string_view usage_text =
    R"(Usage:
  parvolin-cli solve [--sep SEP] [--rel REL] [--places N] [--] A B C
  parvolin-cli batch [--sep SEP] [--json] [--steps]
  parvolin-cli steps [--sep SEP] [--rel REL] [--places N] [--json] [--] A B C
  parvolin-cli check [--sep SEP] [--rel REL] [--json] [--] A B C ANSWER
  parvolin-cli worksheet [options]   (see worksheet --help)
  parvolin-cli --help

Solves A.x^2 + B.x + C REL 0 over the real numbers and writes the report in
Czech (UTF-8).

solve   Prints the seven report lines. A, B and C are the coefficient texts as
        typed in the window; an empty text counts as 0. Only arguments that
        start with "--" are options, so -3 is a coefficient; "--" ends the
        options. A failure is written to standard error and nothing to
        standard output. Control characters in a message are written as
        \xNN, a backslash as \\.
batch   Reads one problem a line from standard input, five fields separated
        by tabs: A, B, C, REL and N (texts as for solve). Writes one result
        per input line, in order: the seven report lines and an empty line,
        or "chyba: " and the message and an empty line. A message starts
        with the number of its line. A line without the five fields right,
        or longer than 1 MiB, gets a message of its own; the batch goes on.
        Each result is written before the next line is waited for.
check   Judges a pupil's answer to the problem (see check --help).

Options:
  --sep SEP     decimal separator, "," or "." (default: the locale's)
  --rel REL     relation: =  <  >  <=  >=  (default =)
  --places N    decimal places of the roots, 2 to 6 (default 2)
  --json        batch: one JSON object a line instead,
                {"lines":[seven lines]} or {"error":"message"}
  --steps       batch: the exact working after each report (see steps --help)
  --help        this text

Exit status: 0 done; 1 the problem failed (solve), or reading or writing
failed; 2 a bad command line.
)";

struct UsageError {
    std::string message;
};

// Standard output, or a message why not and status 1.
int write_output(std::string_view text)
{
    return cli::write_output(text) ? exit_ok : exit_failure;
}

int usage_error(std::string_view message, std::string_view usage = usage_text)
{
    std::string text = "parvolin-cli: ";
    text += cli::escaped_for_terminal(message);
    text += "\n\n";
    text += usage;
    write_all(STDERR_FILENO, text);
    return exit_usage;
}

// The arguments after the command: options ("--name VALUE" or "--name=VALUE",
// flags without a value) and, in order, the rest.
struct Arguments {
    std::optional<char> separator;
    std::optional<int> relation_index;
    std::optional<int> places;
    bool json = false;
    bool steps = false;
    bool help = false;
    std::vector<std::string_view> positional;
};

enum class Command { Solve, Batch, Steps, Check };

Arguments parse_arguments(Command command, const std::vector<std::string_view> &args)
{
    Arguments parsed;
    bool options_ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (options_ended || !arg.starts_with("--")) {
            parsed.positional.push_back(arg);
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
        const auto flag = [&] {
            if (inline_value)
                throw UsageError{std::string(name) + " takes no value"};
        };
        const auto value = [&] {
            if (inline_value)
                return *inline_value;
            if (i + 1 == args.size())
                throw UsageError{std::string(name) + " needs a value"};
            return args[++i];
        };

        if (name == "--help") {
            flag();
            parsed.help = true;
        } else if (name == "--sep") {
            const auto text = value();
            parsed.separator = cli::separator_from_text(text);
            if (!parsed.separator)
                throw UsageError{"--sep must be \",\" or \".\", not '" + std::string(text) + "'"};
        } else if (name == "--json" && command != Command::Solve) {
            flag();
            parsed.json = true;
        } else if (name == "--steps" && command == Command::Batch) {
            flag();
            parsed.steps = true;
        } else if (name == "--rel" && command != Command::Batch) {
            const auto text = value();
            parsed.relation_index = cli::relation_index_from_text(text);
            if (!parsed.relation_index)
                throw UsageError{"--rel must be one of = < > <= >=, not '" + std::string(text) + "'"};
        } else if (name == "--places" && command != Command::Batch && command != Command::Check) {
            const auto text = value();
            parsed.places = cli::places_from_text(text);
            if (!parsed.places)
                throw UsageError{"--places must be a digit from 2 to 6, not '" + std::string(text) + "'"};
        } else {
            throw UsageError{"unknown option " + std::string(name)};
        }
    }
    return parsed;
}

char default_separator()
{
    return load_regional_settings().decimal_separator;
}

// The output of one problem given as A B C (solve, steps): written, or its
// failure as a message and status 1.
template <typename Make>
int run_one_problem(const char *command, const Arguments &args, Make &&make)
{
    if (args.positional.size() != 3)
        throw UsageError{std::string(command) + " needs the three coefficients A B C, found " +
                         integer_text(args.positional.size()) + " arguments"};

    const ProblemInput input{args.positional[0], args.positional[1], args.positional[2],
                             args.relation_index.value_or(0),
                             args.places.value_or(min_decimals) - min_decimals};
    std::string out;
    try {
        out = std::forward<Make>(make)(input, args.separator ? *args.separator : default_separator());
    } catch (const Failure &failure) {
        print_error(error_display_text(failure.message()));
        return exit_failure;
    }
    return write_output(out);
}

int run_solve(const Arguments &args)
{
    return run_one_problem("solve", args, [](const ProblemInput &input, char separator) {
        std::string out;
        for (const auto &line : build_report(input, separator).lines) {
            out += line;
            out += '\n';
        }
        return out;
    });
}

int run_steps(const Arguments &args)
{
    return run_one_problem("steps", args, [&args](const ProblemInput &input, char separator) {
        return cli::steps_output(input, separator, args.json);
    });
}

constexpr int exit_check_wrong = 1;
constexpr int exit_check_unreadable = 3;
constexpr int exit_check_unwritten = 4;

// The verdict in the exit status; a problem that cannot be judged counts as
// a bad command line, not as a wrong answer.
int run_check(const Arguments &args)
{
    if (args.positional.size() != 4)
        throw UsageError{"check needs the three coefficients A B C and the answer, found " +
                         integer_text(args.positional.size()) + " arguments"};
    const ProblemInput input{args.positional[0], args.positional[1], args.positional[2],
                             args.relation_index.value_or(0), 0};
    cli::CheckResult result;
    try {
        result = cli::check_answer(input, args.positional[3], args.separator ? *args.separator : default_separator());
    } catch (const Failure &failure) {
        print_error(error_display_text(failure.message()));
        return exit_usage;
    }
    if (write_output(cli::check_output(result, args.json)) != exit_ok)
        return exit_check_unwritten;
    switch (result.verdict) {
    case cli::CheckVerdict::Right:
        return exit_ok;
    case cli::CheckVerdict::Wrong:
        return exit_check_wrong;
    case cli::CheckVerdict::Unreadable:
    case cli::CheckVerdict::Approximate:
        return exit_check_unreadable;
    }
    return exit_check_wrong;
}

int run_batch(const Arguments &args)
{
    if (!args.positional.empty())
        throw UsageError{"batch reads its problems from standard input, not from '" +
                         std::string(args.positional.front()) + "'"};

    const cli::BatchOptions options{args.separator ? *args.separator : default_separator(), args.json, args.steps};
    int saved_errno = 0;
    const auto read_stdin = [&](std::span<char> buffer) -> std::ptrdiff_t {
        for (;;) {
            const ssize_t count = ::read(STDIN_FILENO, buffer.data(), buffer.size());
            if (count >= 0 || errno != EINTR) {
                saved_errno = errno;
                return count;
            }
        }
    };
    const auto write_stdout = [&](std::string_view bytes) {
        const bool written = write_all(STDOUT_FILENO, bytes);
        saved_errno = errno;
        return written;
    };

    switch (cli::run_batch(read_stdin, write_stdout, options)) {
    case cli::BatchOutcome::Done:
        return exit_ok;
    case cli::BatchOutcome::ReadFailed:
        print_error("parvolin-cli: cannot read the input: " + cli::system_reason(saved_errno));
        return exit_failure;
    case cli::BatchOutcome::WriteFailed:
        cli::print_write_failure(saved_errno);
        return exit_failure;
    }
    return exit_failure;
}

int run(int argc, char **argv)
{
    if (argc < 2)
        return usage_error("no command given");

    const std::string_view command_name = argv[1];
    if (command_name == "--help")
        return write_output(usage_text);
    if (command_name == "worksheet")
        return cli::run_worksheet(std::vector<std::string_view>(argv + 2, argv + argc));
    Command command;
    if (command_name == "solve")
        command = Command::Solve;
    else if (command_name == "batch")
        command = Command::Batch;
    else if (command_name == "steps")
        command = Command::Steps;
    else if (command_name == "check")
        command = Command::Check;
    else
        return usage_error("unknown command '" + std::string(command_name) + "'");

    const std::string_view usage = command == Command::Steps   ? cli::steps_usage
                                   : command == Command::Check ? cli::check_usage
                                                               : usage_text;
    try {
        const Arguments args = parse_arguments(command, std::vector<std::string_view>(argv + 2, argv + argc));
        if (args.help)
            return write_output(usage);
        switch (command) {
        case Command::Solve:
            return run_solve(args);
        case Command::Batch:
            return run_batch(args);
        case Command::Steps:
            return run_steps(args);
        case Command::Check:
            return run_check(args);
        }
        return exit_failure;
    } catch (const UsageError &error) {
        return usage_error(error.message, usage);
    }
}

} // namespace

int main(int argc, char **argv)
{
    parvolin::cli::hold_closed_standard_streams();
    parvolin::fp::establish_environment();
    // The user gets the program's words, never a library's exception text.
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc &) {
        print_error("parvolin-cli: not enough memory");
    } catch (const std::exception &) {
        print_error("parvolin-cli: an unexpected internal failure");
    }
    return exit_failure;
}
