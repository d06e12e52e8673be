#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

namespace parvolin::cli {

// The longest line that is read, without its line break. A longer one gets
// a message of its own ("line N: the line is longer than ... bytes") and is
// skipped, so that memory stays bounded whatever the input.
inline constexpr std::size_t max_line_length = std::size_t{1} << 20;

struct BatchOptions {
    char decimal_separator = '.';
    bool json = false;
    bool steps = false; // the exact working after each report
};

// Fills the start of `buffer`; returns the number of bytes read, 0 at the end
// of the input, or a negative number when reading failed.
using BatchReader = std::function<std::ptrdiff_t(std::span<char> buffer)>;

// Takes a block of output; returns false when writing failed.
using BatchWriter = std::function<bool(std::string_view bytes)>;

enum class BatchOutcome { Done, ReadFailed, WriteFailed };

// Solves one problem per input line, "A\tB\tC\tREL\tN", and writes one result
// per line in input order. A line ends at "\n" (a "\r" before it is dropped);
// a last line without "\n" counts, an empty input gives no output.
//
// A result is the seven report lines, or "line N: " and the failure's
// display text, or a message for a line that does not have the five fields
// right or is too long; the run goes on after each. With `json` it is one
// object a line, {"lines":[...]} or {"error":"..."}; otherwise the report
// lines followed by an empty line, or "chyba: " + message and an empty line,
// the message's control characters escaped (escaped_for_terminal).
//
// Input is taken in large blocks; the results made so far are handed to
// `write` before each read, so a result never waits for the next line, and
// a failed read has written every result before it.
BatchOutcome run_batch(const BatchReader &read, const BatchWriter &write, const BatchOptions &options);

} // namespace parvolin::cli
