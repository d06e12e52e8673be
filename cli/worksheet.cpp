#include "cli/worksheet.h"

#include "cli/message_text.h"
#include "cli/output_file.h"
#include "cli/standard_output.h"
#include "solver/date_time_text.h"
#include "solver/failures.h"
#include "solver/file_write.h"
#include "solver/worksheet.h"

#ifdef PARVOLIN_WORKSHEET_PDF
#include "cli/worksheet_pdf.h"
#endif

#include <charconv>
#include <optional>
#include <string>

#include <unistd.h>

namespace parvolin::cli {

namespace {

constexpr std::string_view worksheet_usage =
    R"(Usage:
  parvolin-cli worksheet [--count N] [--kinds KIND,...] [--relations REL,...]
                         [--difficulty small|large] [--seed N] [--key] [--steps]
                         [--sep SEP] [--format text|rtf|pdf] [-o FILE]

Writes a worksheet of generated problems whose answers come out nicely, in
Czech (UTF-8 text, or RTF or PDF on A4 pages).

  --count N        problems, 1 to 60 (default 20)
  --kinds LIST     integer, fraction, surd, double, none, no-b, no-c, linear,
                   constant, separated by commas (default all but linear
                   and constant)
  --relations LIST =  <  >  <=  >=, separated by commas (default all)
  --difficulty D   small: integers, |a| <= 5, |b|, |c| <= 30; large: larger,
                   some with one decimal place (default small)
  --seed N         the worksheet number, printed on the sheet; the same number
                   gives the same problems (default: a random one)
  --key            an answer key after the problems, from a new page
  --steps          the key with the full working of each problem
  --sep SEP        decimal separator of the sheet, "," or "." (default ",")
  --format F       text (default), rtf or pdf (A4)
  -o FILE          write FILE (replaced whole, never through a symbolic link)
                   instead of standard output

Exit status: 0 done; 1 the sheet could not be made or written; 2 a bad command line.
)";

struct Usage {
    std::string message;
};

int usage(const std::string &message)
{
    std::string text = "parvolin-cli: " + escaped_for_terminal(message) + "\n\n";
    text += worksheet_usage;
    write_all(STDERR_FILENO, text);
    return 2;
}

std::vector<std::string_view> split(std::string_view list)
{
    std::vector<std::string_view> items;
    while (true) {
        const auto comma = list.find(',');
        items.push_back(list.substr(0, comma));
        if (comma == std::string_view::npos)
            return items;
        list.remove_prefix(comma + 1);
    }
}

std::optional<std::uint64_t> number(std::string_view text)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<Relation> relation(std::string_view text)
{
    constexpr std::pair<std::string_view, Relation> names[] = {{"=", Relation::Equal},
                                                               {"<", Relation::Less},
                                                               {">", Relation::Greater},
                                                               {"<=", Relation::LessEqual},
                                                               {">=", Relation::GreaterEqual}};
    for (const auto &[name, r] : names)
        if (name == text)
            return r;
    return std::nullopt;
}

} // namespace

int run_worksheet(const std::vector<std::string_view> &args)
{
    WorksheetOptions options;
    std::optional<std::uint64_t> seed;
    std::string format = "text";
    std::optional<std::string> output;
    try {
        for (std::size_t i = 0; i < args.size(); ++i) {
            std::string_view name = args[i];
            std::optional<std::string_view> inline_value;
            if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string_view::npos) {
                inline_value = name.substr(equals + 1);
                name = name.substr(0, equals);
            }
            const auto value = [&]() -> std::string_view {
                if (inline_value)
                    return *inline_value;
                if (i + 1 == args.size())
                    throw Usage{std::string(name) + " needs a value"};
                return args[++i];
            };
            const auto flag = [&] {
                if (inline_value)
                    throw Usage{std::string(name) + " takes no value"};
            };
            if (name == "--help") {
                flag();
                return write_output(worksheet_usage) ? 0 : 1;
            } else if (name == "--count") {
                const auto text = value();
                const auto n = number(text);
                if (!n || *n < 1 || *n > max_worksheet_problems)
                    throw Usage{"--count must be a number from 1 to 60, not '" + std::string(text) + "'"};
                options.count = static_cast<int>(*n);
            } else if (name == "--kinds") {
                options.generator.kinds.clear();
                for (const auto item : split(value())) {
                    const auto kind = kind_from_name(item);
                    if (!kind)
                        throw Usage{"unknown kind '" + std::string(item) + "'"};
                    options.generator.kinds.push_back(*kind);
                }
            } else if (name == "--relations") {
                options.generator.relations.clear();
                for (const auto item : split(value())) {
                    const auto r = relation(item);
                    if (!r)
                        throw Usage{"--relations takes = < > <= >=, not '" + std::string(item) + "'"};
                    options.generator.relations.push_back(*r);
                }
            } else if (name == "--difficulty") {
                const auto text = value();
                if (text == "small")
                    options.generator.difficulty = Difficulty::Small;
                else if (text == "large")
                    options.generator.difficulty = Difficulty::Large;
                else
                    throw Usage{"--difficulty must be small or large, not '" + std::string(text) + "'"};
            } else if (name == "--seed") {
                const auto text = value();
                seed = number(text);
                if (!seed)
                    throw Usage{"--seed must be a whole number from 0, not '" + std::string(text) + "'"};
            } else if (name == "--key") {
                flag();
                options.key = true;
            } else if (name == "--steps") {
                flag();
                options.steps = true;
            } else if (name == "--sep") {
                const auto text = value();
                if (text != "," && text != ".")
                    throw Usage{"--sep must be \",\" or \".\", not '" + std::string(text) + "'"};
                options.separator = text[0];
            } else if (name == "--format") {
                format = value();
#ifndef PARVOLIN_WORKSHEET_PDF
                if (format == "pdf")
                    throw Usage{"--format pdf is not available in this build; use rtf or text"};
#endif
                if (format != "text" && format != "rtf" && format != "pdf")
                    throw Usage{"--format must be pdf, rtf or text, not '" + format + "'"};
            } else if (name == "-o" || name == "--output") {
                output = std::string(value());
            } else {
                throw Usage{"unknown option " + std::string(name)};
            }
        }
    } catch (const Usage &error) {
        return usage(error.message);
    }

    options.seed = seed ? *seed : random_worksheet_number();
    const LocalDateTime now = local_now();
    options.date = czech_date(now.day, now.month, now.year);
    const Worksheet sheet = build_worksheet(options);
    std::string document;
    std::string why;
#ifdef PARVOLIN_WORKSHEET_PDF
    if (format == "pdf")
        document = worksheet_pdf(sheet, why);
#endif
    if (format != "pdf")
        document = format == "rtf" ? worksheet_rtf(sheet) : worksheet_text(sheet);
    try {
        if (document.empty())
            throw Failure("Pracovní list ve formátu PDF se nepodařilo vytvořit: " + why);
        if (!output)
            return write_output(document) ? 0 : 1;
        write_output_file(*output, document);
    } catch (const Failure &failure) {
        print_error(error_display_text(failure.message()));
        return 1;
    }
    return 0;
}

} // namespace parvolin::cli
