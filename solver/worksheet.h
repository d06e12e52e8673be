#pragma once

// A worksheet of generated problems as data, and its renderings as plain
// text and as RTF: a header, the numbered problems with room to work, and on
// request an answer key with the exact sets and the full working.

#include "solver/math_text.h"
#include "solver/problem_generator.h"

#include <cstdint>
#include <string>
#include <vector>

namespace parvolin {

inline constexpr int max_worksheet_problems = 60;

struct WorksheetOptions {
    int count = 20; // 1 to 60
    GeneratorOptions generator;
    std::uint64_t seed = 0; // the worksheet number
    bool key = false;
    bool steps = false;     // the key with the working of each problem
    std::string date;       // as printed, e.g. "9. 12. 2026"
    char separator = ',';
};

struct WorksheetEntry {
    GeneratedProblem problem;
    std::string statement;          // "2x² − 3x + 1 > 0"
    std::string answer;             // "K = (−∞ ; 1/2) ∪ (1 ; ∞)"
    std::vector<std::string> steps; // empty unless asked for
    // The same as mathematics, for the typeset renderings.
    Math statement_math;
    Math answer_math;
    Working working; // empty unless asked for
};

struct Worksheet {
    std::string title;
    std::string date;
    std::uint64_t number = 0;
    bool key = false;
    bool steps = false;
    std::vector<WorksheetEntry> entries;
};

// The count is clamped to 1..60.
Worksheet build_worksheet(const WorksheetOptions &options);

// "Datum: 9. 12. 2026": day, month and year with a blank after each full stop.
std::string czech_date(int day, int month, int year);

// The sheet; the key after a form feed, on a page of its own when printed.
std::string worksheet_text(const Worksheet &sheet);
// The sheet on A4 pages, the key from a new page, set as near to the
// window's working as RTF comes: powers and indices raised and lowered, the
// school signs, the sign table a table, every line of the working indented
// by its paragraph's margin.
std::string worksheet_rtf(const Worksheet &sheet);
// The sheet as the HTML subset Qt's text layout takes, for the PDF and the
// window's preview: the room to work is the space below each problem, the
// key starts a new page and is set as the Postup view sets the working
// (solver/math_html.h), indented by margins, so that a wrapped line keeps its
// indent.
std::string worksheet_html(const Worksheet &sheet);

// A worksheet number when none is given: six digits, easy to copy from the
// sheet.
std::uint64_t random_worksheet_number();

// A generated problem as it is set: its normal form, where a constant one
// keeps its vanished x, as textbooks write it (0 · x + 5 > 0), or there would
// be nothing to solve. The second form takes the normal form made already.
Math statement_math(const GeneratedProblem &problem, char decimal_separator);
Math statement_math(const GeneratedProblem &problem, const Math &normal_form, char decimal_separator);

} // namespace parvolin
