#include "cli/check.h"

#include "cli/message_text.h"
#include "solver/practice_answer.h"
#include "solver/practice_texts.h"
#include "solver/steps.h"

#include <nlohmann/json.hpp>

namespace parvolin::cli {

const std::string_view check_usage =
    R"usage(Usage:
  parvolin-cli check [--sep SEP] [--rel REL] [--json] [--] A B C ANSWER

Judges a pupil's ANSWER to A.x^2 + B.x + C REL 0 exactly, as the practice
view does, and prints the verdict ("right", "wrong", "unreadable" or
"approximate") on one line and the message the practice view would show on
the next. ANSWER is read as pupils write it: "K = { 2 ; 3 }", "(-oo ; 1> U
<4 ; oo)", "x < 1 nebo x > 4", "1 < x < 2", "x1,2 = (1 ± √5)/2", "2; 3",
"R \ {1}", "nemá řešení", with the separator's decimal numbers. Options as
for solve; --json prints {"verdict": "...", "message": "..."} instead.

Exit status: 0 right; 1 wrong; 3 unreadable, or only approximate (rounded
roots: the exact value is asked for); 2 a bad command line, or coefficients
that give no problem (the message says why); 4 the output could not be
written.
)usage";

const char *verdict_name(CheckVerdict verdict)
{
    switch (verdict) {
    case CheckVerdict::Right:
        return "right";
    case CheckVerdict::Wrong:
        return "wrong";
    case CheckVerdict::Unreadable:
        return "unreadable";
    case CheckVerdict::Approximate:
        return "approximate";
    }
    return "wrong";
}

CheckResult check_answer(const ProblemInput &input, std::string_view answer, char decimal_separator)
{
    const ExactAnalysis exact = build_steps(input, decimal_separator).exact;
    const Relation relation = relation_from_index(input.relation_index);
    RealSet read;
    try {
        read = parse_answer(answer);
    } catch (const AnswerSyntaxError &error) {
        return {CheckVerdict::Unreadable, error.message(), {}, error.column()};
    }
    const Verdict verdict = judge_answer(exact, relation, read, decimal_separator);
    switch (verdict.kind) {
    case VerdictKind::Right:
        return {CheckVerdict::Right, verdict.message, {}};
    case VerdictKind::RoundedEnd:
        return {CheckVerdict::Approximate, std::string(practice_texts::rounded_lead) + " " + verdict.message,
                practice_texts::rounded_lead};
    default:
        return {CheckVerdict::Wrong, std::string(practice_texts::wrong_lead) + " " + verdict.message,
                practice_texts::wrong_lead};
    }
}

std::string check_output(const CheckResult &result, bool json)
{
    if (json) {
        const nlohmann::ordered_json document{{"verdict", verdict_name(result.verdict)}, {"message", result.message}};
        return document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    }
    return std::string(verdict_name(result.verdict)) + "\n" + escaped_for_terminal(result.message) + "\n";
}

} // namespace parvolin::cli
