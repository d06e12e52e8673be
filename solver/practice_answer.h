#pragma once

// A pupil's solution set, read from the notation of the report and the
// working, and judged exactly against the answer.

#include "solver/exact_solution.h"
#include "solver/failures.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace parvolin {

// The sign of x − y, exactly, for surds of any two radicands.
int compare(const Surd &x, const Surd &y);

// A set of reals as ascending, disjoint, non-touching pieces; a point is a
// closed piece with equal ends.
struct RealPiece {
    ExactEnd lower;
    bool lower_closed = false;
    ExactEnd upper;
    bool upper_closed = false;
};
using RealSet = std::vector<RealPiece>;

// Sorts and merges overlapping or touching pieces.
RealSet normalized(RealSet pieces);
RealSet real_set(const ExactSet &set);
bool same_set(const RealSet &x, const RealSet &y);

// What the reader could not read: a Czech message naming the place
// (`column`, counted in characters from 1).
class AnswerSyntaxError : public Failure {
public:
    AnswerSyntaxError(std::string message, std::size_t column) : Failure(message), column_(column) {}
    std::size_t column() const { return column_; }

private:
    std::size_t column_;
};

// Reads "K = (-oo ; 1/2) U (1 ; oo)", "<2 ; 3>", "K={ 2 ; 3 }", "R", "{}", "∅",
// "R \ {1}", "x1,2 = 1 ± √3", "x = 2": decimal comma or dot, fractions a/b,
// roots as √5 or sqrt(5), blanks optional. Throws AnswerSyntaxError.
RealSet parse_answer(std::string_view text);

enum class VerdictKind { Right, WrongEnd, RoundedEnd, ShouldBeOpen, ShouldBeClosed, MissingPart, ExtraPart };

struct Verdict {
    VerdictKind kind = VerdictKind::Right;
    std::string message; // Czech
};

// Right, or the first thing wrong, in this order: an end that is no zero of
// the left side, an end open instead of closed (or the reverse), a missing
// part, an extra part.
Verdict judge_answer(const ExactAnalysis &exact, Relation relation, const RealSet &answer, char separator = ',');

} // namespace parvolin
