#pragma once

// The working of a problem as data: steps, each a Czech sentence and a piece
// of mathematics, with a plain UTF-8 rendering for the command line.

#include <string>
#include <string_view>
#include <vector>

namespace parvolin {

// A piece of mathematics as a flat stream of marks; the Begin/End marks nest.
// A window walks the stream and lays out superscripts, subscripts, stacked
// fractions (numerator, then FractionBar, then denominator) and a root sign
// over its radicand; plain_text() writes the same as one line of text.
enum class MathMark : unsigned char {
    Text,          // plain run: digits with the decimal separator, x, signs, blanks
    Symbol,        // "oo" infinity, "U" union, "R" the reals, "∅" the empty set, "<" and ">" the
                   // brackets of a closed end; written by school_symbol
    PowerBegin,    // superscript up to PowerEnd
    PowerEnd,
    IndexBegin,    // subscript up to IndexEnd (x₁, x₁,₂)
    IndexEnd,
    FractionBegin, // numerator up to FractionBar, denominator up to FractionEnd
    FractionBar,
    FractionEnd,
    RootBegin,     // square root of everything up to RootEnd
    RootEnd,
};

struct MathToken {
    MathMark mark;
    std::string text; // Text and Symbol only
};

struct Math {
    std::vector<MathToken> tokens;

    bool empty() const { return tokens.empty(); }
    Math &text(std::string_view run);
    Math &symbol(std::string_view name);
    Math &mark(MathMark mark);
    Math &append(const Math &other);
};

// One line of a table: a cell per column.
using MathRow = std::vector<Math>;

enum class StepKind {
    Notice, // the exact answer differs from the report; shown first and marked
    Step,   // one line of the working
    Table,  // the sign table of the method of zero points
    Result, // the solution set
};

struct Step {
    StepKind kind = StepKind::Step;
    std::string text; // a Czech sentence, may be empty
    Math math;        // may be empty
    std::vector<MathRow> table; // Table only: the header row first
};

// The whole working, notice first when there is one.
struct Working {
    std::vector<Step> steps;
};

// One line: superscripts and subscripts as Unicode digits where they are
// digits (x², x₁), otherwise ^(...); a fraction as p/q with parentheses
// around a numerator or denominator that is not one term; √ before a radicand
// of digits, √(...) otherwise.
// A symbol as school writes it: ∞, ∪, ℝ, ∅, ⟨ and ⟩.
std::string_view school_symbol(std::string_view name);

std::string plain_text(const Math &math);
void append_plain_text(std::string &out, const Math &math);

// The lines of a step: the sentence and its mathematics on one line, a table
// as one line a row with columns padded to the same width.
void append_plain_lines(std::vector<std::string> &lines, const Step &step);
std::vector<std::string> plain_lines(const Working &working);

} // namespace parvolin
