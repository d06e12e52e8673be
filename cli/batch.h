#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

namespace parvolin::cli {

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
// A result is the seven report lines, or the failure's display text, or a
// message for a line that does not have the five fields right; the run goes
// on after either. With `json` it is one object a line, {"lines":[...]} or
// {"error":"..."}; otherwise the report lines followed by an empty line, or
// "chyba: " + message and an empty line.
//
// Input is taken in large blocks and output handed to `write` in large
// blocks; a failed read still writes the results made before it.
BatchOutcome run_batch(const BatchReader &read, const BatchWriter &write, const BatchOptions &options);

} // namespace parvolin::cli
