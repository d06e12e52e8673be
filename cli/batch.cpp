#include "cli/batch.h"

#include "cli/message_text.h"
#include "cli/problem_fields.h"
#include "cli/steps.h"
#include "solver/ascii.h"
#include "solver/failures.h"
#include "solver/report.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace parvolin::cli {

namespace {

constexpr std::size_t read_block_size = std::size_t{1} << 20;
constexpr std::size_t write_block_size = std::size_t{1} << 20;
constexpr int field_count = 5;

std::string too_long_message()
{
    return "the line is longer than " + integer_text(max_line_length) + " bytes";
}

// Turns one input line into its result and appends that to the output. The
// JSON documents are kept between lines so that their strings keep their
// capacity.
class ResultFormatter {
public:
    explicit ResultFormatter(const BatchOptions &options)
        : options_(options),
          report_document_{{"lines", nlohmann::json::array()}},
          error_document_{{"error", ""}}
    {
        auto &lines = report_document_["lines"];
        for (int i = 0; i < Report::line_count; ++i)
            lines.push_back("");
        report_lines_ = &lines;
        error_text_ = &error_document_["error"].get_ref<std::string &>();
    }

    void append(std::string &out, std::string_view line, std::uint64_t line_number)
    {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        std::string_view fields[field_count];
        int found = 0;
        for (;;) {
            const std::size_t tab = line.find('\t');
            if (found < field_count)
                fields[found] = line.substr(0, tab);
            ++found;
            if (tab == std::string_view::npos)
                break;
            line.remove_prefix(tab + 1);
        }
        if (found != field_count) {
            append_malformed(out, line_number, "expected 5 tab-separated fields, found ", integer_text(found));
            return;
        }
        const auto relation_index = relation_index_from_text(fields[3]);
        if (!relation_index) {
            append_malformed(out, line_number, "the relation must be one of = < > <= >=, found ", quoted(fields[3]));
            return;
        }
        const auto places = places_from_text(fields[4]);
        if (!places) {
            append_malformed(out, line_number, "the decimal places must be a digit from 2 to 6, found ",
                             quoted(fields[4]));
            return;
        }

        const ProblemInput input{fields[0], fields[1], fields[2], *relation_index, *places - min_decimals};
        Report report;
        try {
            report = build_report(input, options_.decimal_separator);
        } catch (const Failure &failure) {
            append_malformed(out, line_number, error_display_text(failure.message()), {});
            return;
        }
        append_report(out, report, input);
    }

    // A line longer than max_line_length, which is not read.
    void append_too_long(std::string &out, std::uint64_t line_number)
    {
        append_malformed(out, line_number, too_long_message(), {});
    }

    void append_out_of_memory(std::string &out, std::uint64_t line_number)
    {
        append_malformed(out, line_number, "not enough memory to solve it", {});
    }

private:
    static std::string quoted(std::string_view text)
    {
        std::string result;
        result.reserve(text.size() + 2);
        result += '\'';
        result += text;
        result += '\'';
        return result;
    }

    void append_malformed(std::string &out, std::uint64_t line_number, std::string_view what, std::string_view found)
    {
        message_.assign("line ");
        message_ += integer_text(line_number);
        message_ += ": ";
        message_ += what;
        message_ += found;
        append_error(out, message_);
    }

    void append_report(std::string &out, Report &report, const ProblemInput &input)
    {
        if (options_.json) {
            for (int i = 0; i < Report::line_count; ++i)
                (*report_lines_)[i].get_ref<std::string &>().swap(report.lines[i]);
            if (options_.steps)
                set_batch_steps_json(report_document_, input, options_.decimal_separator);
            append_json(out, report_document_);
            return;
        }
        for (const auto &line : report.lines) {
            out += line;
            out += '\n';
        }
        if (options_.steps)
            append_batch_steps(out, input, options_.decimal_separator);
        out += '\n';
    }

    void append_error(std::string &out, std::string_view text)
    {
        if (options_.json) {
            error_text_->assign(text);
            append_json(out, error_document_);
            return;
        }
        // JSON escapes control characters itself; the text form may go to a
        // terminal.
        out += "chyba: ";
        out += escaped_for_terminal(text);
        out += "\n\n";
    }

    static void append_json(std::string &out, const nlohmann::json &document)
    {
        // A coefficient text may hold bytes that are not UTF-8; they come out
        // as U+FFFD rather than failing the whole run.
        out += document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        out += '\n';
    }

    BatchOptions options_;
    nlohmann::json report_document_;
    nlohmann::json error_document_;
    nlohmann::json *report_lines_ = nullptr;
    std::string *error_text_ = nullptr;
    std::string message_;
};

} // namespace

BatchOutcome run_batch(const BatchReader &read, const BatchWriter &write, const BatchOptions &options)
{
    ResultFormatter formatter(options);
    std::string out;
    out.reserve(write_block_size + 4096);
    const auto flush = [&] {
        const bool written = out.empty() || write(out);
        out.clear();
        return written;
    };
    // A line's length is counted without its "\r\n" or "\n".
    const auto content_length = [](std::string_view line) {
        return !line.empty() && line.back() == '\r' ? line.size() - 1 : line.size();
    };

    // The bytes from `buffer[0]` to `filled` are the start of a line whose
    // end has not been read yet: at most the longest line and its "\r", so
    // the buffer never grows. While `skipping`, the rest of a line that is
    // too long is read and dropped.
    std::vector<char> buffer(max_line_length + 1 + read_block_size);
    std::size_t filled = 0;
    bool skipping = false;
    std::uint64_t line_number = 0;
    const auto take_line = [&](std::string_view line) {
        ++line_number;
        const std::size_t before = out.size();
        try {
            if (content_length(line) > max_line_length)
                formatter.append_too_long(out, line_number);
            else
                formatter.append(out, line, line_number);
        } catch (const std::bad_alloc &) {
            out.resize(before); // no half result
            formatter.append_out_of_memory(out, line_number);
        }
    };
    for (;;) {
        // Every result is out before more input is waited for.
        if (!flush())
            return BatchOutcome::WriteFailed;
        const std::ptrdiff_t count = read(std::span<char>(buffer.data() + filled, buffer.size() - filled));
        if (count < 0)
            return BatchOutcome::ReadFailed;
        if (count == 0)
            break;

        char *const data = buffer.data();
        char *const end = data + filled + count;
        char *line_start = data;
        char *search_from = data + filled; // the held part has no newline
        while (auto *newline = static_cast<char *>(std::memchr(search_from, '\n', end - search_from))) {
            if (skipping)
                skipping = false; // its message is out already
            else
                take_line(std::string_view(line_start, newline - line_start));
            if (out.size() >= write_block_size && !flush())
                return BatchOutcome::WriteFailed;
            line_start = search_from = newline + 1;
        }
        filled = skipping ? 0 : end - line_start;
        if (filled > max_line_length + 1) {
            // Too long whatever follows: said at once, the rest dropped.
            ++line_number;
            formatter.append_too_long(out, line_number);
            skipping = true;
            filled = 0;
        }
        std::memmove(data, line_start, filled);
    }
    if (filled > 0)
        take_line(std::string_view(buffer.data(), filled));
    return flush() ? BatchOutcome::Done : BatchOutcome::WriteFailed;
}

} // namespace parvolin::cli
