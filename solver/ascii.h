#pragma once

// Letters, case and integers of ASCII text, whatever the process locale
// says: the C library's tolower, strcasecmp and printf follow the locale the
// toolkit sets.

#include <charconv>
#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>

namespace parvolin {

constexpr bool is_ascii_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr char ascii_lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool equal_ignoring_ascii_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    }
    return true;
}

// True when `text` continues at `at` with `word`, in either case.
constexpr bool continues_with_ignoring_ascii_case(std::string_view text, std::size_t at, std::string_view word)
{
    return at <= text.size() && equal_ignoring_ascii_case(text.substr(at, word.size()), word);
}

// An integer in ASCII digits with a leading "-" when negative, never
// grouped: "-1234".
template <std::integral T> std::string integer_text(T value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

} // namespace parvolin
