#pragma once

#include <string>
#include <vector>

class QPlainTextEdit;

namespace parvolin {

// The memo's text as the memo shows it: one entry per display row, a line
// that the memo wraps giving one entry per row, each row broken where the
// memo breaks it (a row keeps the blank it was broken after). Works on a memo
// that has not been on screen yet: its rows are those it will show.
std::vector<std::string> display_rows(QPlainTextEdit &memo);

} // namespace parvolin
