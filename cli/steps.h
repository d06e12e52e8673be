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

// The working of a problem whose report succeeded, for a batch result: the
// object above, or null when the texts are too long to work exactly.
nlohmann::json batch_steps_json(const ProblemInput &input, char decimal_separator);
// The same as text lines after the report, or "chyba postupu: " and why.
void append_batch_steps(std::string &out, const ProblemInput &input, char decimal_separator);

// `parvolin-cli steps [--sep SEP] [--rel REL] [--places N] [--json] [--] A B C`,
// with the arguments after "steps"; returns the exit status.
int run_steps(const std::vector<std::string_view> &args);

} // namespace parvolin::cli
