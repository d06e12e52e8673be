#pragma once

#include <string>
#include <string_view>

namespace parvolin::cli {

// A message as it may go to a terminal: every byte of it, none that would
// steer the terminal. Control characters (C0, DEL, C1) and bytes that are
// not UTF-8 are written as \xNN, a backslash as \\, so that the text reads
// back unambiguously; all other UTF-8 passes unchanged.
std::string escaped_for_terminal(std::string_view text);

} // namespace parvolin::cli
