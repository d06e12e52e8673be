#pragma once

#include <optional>
#include <string_view>

namespace parvolin::cli {

// The relation as typed on the command line or in a batch line ("=", "<",
// ">", "<=", ">="), as its index in the window's relation list.
std::optional<int> relation_index_from_text(std::string_view text);

// The number of decimal places, exactly one digit from 2 to 6.
std::optional<int> places_from_text(std::string_view text);

// The decimal separator, exactly "," or ".".
std::optional<char> separator_from_text(std::string_view text);

} // namespace parvolin::cli
