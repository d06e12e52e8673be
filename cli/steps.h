#pragma once

#include "solver/report.h"
#include "solver/steps.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace parvolin::cli {

// {"steps": [lines], "exact": {"kind", "intervals", "points", "excluded"},
// "agrees_with_report", "notice"}; every number is exact and written so that
// SymPy's sympify reads it ("(3 - sqrt(5))/2", "-1/3", "oo", "-oo").
nlohmann::json steps_json(const StepsResult &result);

// The working of a problem whose report succeeded, as "steps" of its batch
// result: the object above, or null with "steps_error" saying why there is
// none (texts too long to work exactly), as the text mode says it.
void set_batch_steps_json(nlohmann::json &result, const ProblemInput &input, char decimal_separator);
// The same as text lines after the report, or "chyba postupu: " and why.
void append_batch_steps(std::string &out, const ProblemInput &input, char decimal_separator);

// How to call `parvolin-cli steps [--sep SEP] [--rel REL] [--places N]
// [--json] [--] A B C`.
extern const std::string_view steps_usage;

// What `steps` prints for one problem: the working as text lines, or with
// `json` the object of steps_json on one line. Throws Failure when the
// problem has no working (a text the report refuses, too many digits).
std::string steps_output(const ProblemInput &input, char decimal_separator, bool json);

} // namespace parvolin::cli
