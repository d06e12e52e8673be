#include "solver/disagreement_line.h"

#include "solver/step_texts.h"

#include <algorithm>

namespace parvolin {

namespace {

// An exact set longer than this, in characters, is too long to read in one
// line (coefficients like 1E300 give radicands of hundreds of digits); the
// line then names its rounded form alone, and the working gives it whole.
constexpr long longest_exact_set = 60;

long characters(const std::string &text)
{
    return std::count_if(text.begin(), text.end(), [](char byte) { return (byte & 0xC0) != 0x80; });
}

} // namespace

std::string disagreement_line(const StepsResult &steps)
{
    using namespace step_texts;
    if (steps.agrees_with_report)
        return {};
    std::string line(steps.report_failed ? banner_failed : banner_prefix);
    constexpr std::string_view rounded_lead = "K ≐ ";
    const bool rounded = steps.rounded_set.starts_with(rounded_lead);
    if (rounded && characters(steps.exact_set) > longest_exact_set) {
        line += steps.rounded_set;
    } else {
        line += steps.exact_set;
        // "K = { 1/8 } ≐ { 0,13 }": the rounded set without its own "K ≐ ".
        if (rounded)
            line.append(" ≐ ").append(steps.rounded_set, rounded_lead.size());
    }
    line += steps.report_failed ? banner_failed_end : banner_end;
    return line;
}

} // namespace parvolin
