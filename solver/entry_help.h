#pragma once

#include "solver/failures.h"
#include "solver/problem.h"
#include "solver/report.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace parvolin {

enum class Coefficient { A, B, C };

// A coefficient text that is not a number, and which field it came from. The
// message is ConvertError's fixed English text; the detail explains it in
// Czech (conversion_explanation).
class CoefficientError : public ConvertError {
public:
    CoefficientError(Coefficient coefficient, std::string_view text, std::string detail)
        : ConvertError(text, std::move(detail)), coefficient_(coefficient)
    {
    }
    Coefficient coefficient() const noexcept { return coefficient_; }

private:
    Coefficient coefficient_;
};

// The longest piece of a coefficient text an explanation quotes, in
// characters; a longer text is cut there and ends in "…".
inline constexpr std::size_t quoted_text_limit = 40;

// The line saying that the separator the fields accept (`chosen`) is not
// the one the system reads numbers with (`regional`), and which choice
// fits; empty when the two agree.
std::string separator_disagreement(char chosen, char regional);

// "Kvadratický koeficient a: „-“ není číslo. Zapište číslo s desetinnou
// čárkou, např. 2,5." for `text` (UTF-8) in field `coefficient`, with the
// example in the `regional` separator, followed by separator_disagreement
// on a line of its own when `chosen` differs.
std::string conversion_explanation(Coefficient coefficient, std::string_view text, char chosen, char regional);

// parse_problem for the window: a text that does not convert throws
// CoefficientError with conversion_explanation as its detail. Other failures
// (overflow) are parse_problem's.
Problem parse_entries(const ProblemInput &input, char chosen, char regional);

} // namespace parvolin
