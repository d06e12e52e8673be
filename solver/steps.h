#pragma once

// The working of one problem, step by step and exactly, beside the report:
// the same coefficient texts taken as exact decimals.

#include "solver/exact_solution.h"
#include "solver/math_text.h"
#include "solver/report.h"

#include <string>

namespace parvolin {

struct StepsResult {
    Working working;
    ExactAnalysis exact;
    // Whether the report shows the same kind of set with the same ends at
    // its number of places.
    bool agrees_with_report = true;
    // The notice that opens the working when they differ; empty otherwise.
    std::string notice;
    // Whether the report's own arithmetic failed (it counts as differing).
    bool report_failed = false;
    // The exact set as the working's result writes it ("K = { 0,3 }"), and
    // rounded to the report's places ("K ≐ { −0,41 ; 2,41 }") where that
    // says something else; empty where it says the same.
    std::string exact_set;
    std::string rounded_set;
};

// Throws what the report's parsing throws (a text it refuses gives no
// working) and TooManyDigitsError for a text too long to work exactly. An
// arithmetic failure of the report's analysis does not stop the working; the
// notice then says that the report failed.
StepsResult build_steps(const ProblemInput &input, char decimal_separator);

// The relation as the working writes it, with its blanks: " ≤ ".
std::string_view relation_sign(Relation relation);

// The problem in normal form ("2x² − 3x + 1 > 0") and its exact set
// ("K = (−oo ; 1/2) U (1 ; oo)"), written as its working writes them.
struct ProblemMath {
    Math normal_form;
    Math set;
};
ProblemMath problem_math(const Rational &a, const Rational &b, const Rational &c, Relation relation,
                         const ExactSet &set, char decimal_separator);

} // namespace parvolin
