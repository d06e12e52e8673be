#pragma once

// The monkey walk's comparison of the window with the expected one after a
// step: the state table (views, result box, enabled commands in menu and
// toolbar, pressed view button, view panel of the status bar), the fields,
// lists and choices, the memo and the document, the messages and the
// addresses given to the shell, the files written, and the layout.

#include "tests/ui/monkey/walk.h"

#include <optional>
#include <string>

namespace parvolin::monkey {

// The first disagreement between the window and the expectation; nothing
// when they agree. After a solve it takes the window's document as the one
// later steps must leave alone; it forgets a shortcut's mismatch it reports.
std::optional<std::string> disagreement(Walk &walk);

} // namespace parvolin::monkey
