// The solver builds for processors whose `long` is 32 bits and for C
// libraries other than GNU's: the sources are read for what would break there.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace parvolin {
namespace {

const std::filesystem::path solver_dir = std::filesystem::path(PARVOLIN_SOURCE_DIR) / "solver";

std::string read_source(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every line of `file` whose code (a line comment cut off) matches
// `pattern`, as "file: line".
std::string matching_lines(const std::filesystem::path &file, const std::regex &pattern)
{
    std::istringstream in(read_source(file));
    std::string found, line;
    while (std::getline(in, line)) {
        const std::string code = line.substr(0, line.find("//"));
        if (std::regex_search(code, pattern))
            found += file.filename().string() + ": " + line + "\n";
    }
    return found;
}

TEST(Portability, ExactNumbersUseFixedWidthIntegers)
{
    // `long` and GMP's word-sized fits/get calls are 32 bits on wasm32 and
    // 32-bit ARM, where a working once lost a factor of its root.
    const std::regex word_sized(R"(\blong\b|fits_[su]long_p|fits_[su]int_p|\bget_[su]i\b)");
    for (const char *name : {"exact_number.cpp", "exact_number.h"}) {
        ASSERT_TRUE(std::filesystem::exists(solver_dir / name));
        EXPECT_EQ(matching_lines(solver_dir / name, word_sized), "");
    }
}

TEST(Portability, NoGnuOnlyLibraryCalls)
{
    // GNU's strerror_r returns the text; the POSIX one returns an int.
    const std::regex gnu_only(R"(\bstrerror_r\b)");
    std::string found;
    for (const auto &entry : std::filesystem::directory_iterator(solver_dir))
        found += matching_lines(entry.path(), gnu_only);
    EXPECT_EQ(found, "");
}

} // namespace
} // namespace parvolin
