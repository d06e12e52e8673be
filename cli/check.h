#pragma once

#include "solver/report.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace parvolin::cli {

enum class CheckVerdict { Right, Wrong, Unreadable, Approximate };

struct CheckResult {
    CheckVerdict verdict = CheckVerdict::Right;
    std::string message; // as the practice view shows it, lead included
    std::string_view lead; // the words the message starts with ("Skoro."), or empty
    std::size_t column = 0; // unreadable: where the reader stopped, in characters from 1
};

// "right", "wrong", "unreadable", "approximate".
const char *verdict_name(CheckVerdict verdict);

// The pupil's answer to A.x^2 + B.x + C REL 0, judged exactly. Throws
// Failure when the coefficient texts give no exact problem (the texts
// `solve` refuses, too many digits).
CheckResult check_answer(const ProblemInput &input, std::string_view answer, char decimal_separator);

// What `check` prints: the verdict's name and the message, a line each
// (the message escaped for a terminal), or with `json` one object,
// {"verdict": name, "message": text}.
std::string check_output(const CheckResult &result, bool json);

extern const std::string_view check_usage;

} // namespace parvolin::cli
