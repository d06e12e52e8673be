#pragma once

// Table rows with a `name`: the name is the row's test name (row_name, the
// last argument of INSTANTIATE_TEST_SUITE_P) and what gtest prints of it, in
// place of the row's raw bytes.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace parvolin {
// The unnamed namespace the tests keep their rows in, where gtest looks for
// PrintTo beside a row.
namespace {

inline constexpr auto row_name = [](const auto &info) { return std::string(info.param.name); };

template <typename Row>
    requires requires(const Row &row) { row.name; }
void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}

} // namespace
} // namespace parvolin
