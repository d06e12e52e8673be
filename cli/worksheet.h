#pragma once

#include <string_view>
#include <vector>

namespace parvolin::cli {

// `parvolin-cli worksheet [options]` with the arguments after "worksheet";
// returns the exit status.
int run_worksheet(const std::vector<std::string_view> &args);

} // namespace parvolin::cli
