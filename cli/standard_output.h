#pragma once

#include <string>
#include <string_view>

namespace parvolin::cli {

// Standard input, output and error that the caller left closed are held by
// /dev/null, opened so that a read or a write there fails as it would on
// the closed descriptor (Bad file descriptor). Else the first file a
// library opens later would take their number, and the document, or a
// message, would be written into it (the PDF module's toolkit keeps one).
// Called first thing in main.
void hold_closed_standard_streams();

// A message and a line break on standard error, escaped for a terminal:
// the messages quote what the user gave, and no byte of it may steer the
// terminal.
void print_error(std::string_view text);

// The system's reason for `error` in its own English words ("No space left
// on device"), whatever the locale: a module that loads a toolkit may have
// switched the process to the user's locale since the program started.
std::string system_reason(int error);

// "parvolin-cli: cannot write the output: " and the system's reason for
// `error`, the one message of every command whose output could not be
// written.
void print_write_failure(int error);

// `text` on standard output; when it cannot be written whole, the failure
// is printed (print_write_failure) and the result is false.
bool write_output(std::string_view text);

} // namespace parvolin::cli
