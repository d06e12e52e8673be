#include "cli/problem_fields.h"

#include "solver/problem.h"

#include <array>

namespace parvolin::cli {

std::optional<int> relation_index_from_text(std::string_view text)
{
    // In the order of the window's list, so the position is the index.
    static constexpr std::array<std::string_view, 5> signs{"=", "<", ">", "<=", ">="};
    for (std::size_t i = 0; i < signs.size(); ++i) {
        if (text == signs[i])
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<int> places_from_text(std::string_view text)
{
    if (text.size() != 1 || text[0] < '0' + min_decimals || text[0] > '0' + max_decimals)
        return std::nullopt;
    return text[0] - '0';
}

std::optional<char> separator_from_text(std::string_view text)
{
    if (text == "," || text == ".")
        return text[0];
    return std::nullopt;
}

} // namespace parvolin::cli
