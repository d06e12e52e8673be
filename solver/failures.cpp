#include "solver/failures.h"

#include "solver/ascii.h"

#include <string>

namespace parvolin {

namespace {

// A quoted text longer than this many characters is shown by its start and
// its end.
constexpr std::size_t quoted_limit = 64;
constexpr std::size_t quoted_part = 24;

bool starts_character(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

std::string convert_message(std::string_view text)
{
    std::string message;
    message += '\'';
    message += shortened_for_message(text);
    message += "' is not a valid floating point value";
    return message;
}
} // namespace

std::string shortened_for_message(std::string_view text)
{
    std::size_t characters = 0;
    for (const char byte : text)
        characters += starts_character(byte) ? 1 : 0;
    if (characters <= quoted_limit)
        return std::string(text);

    std::size_t head = 0;
    for (std::size_t seen = 0; head < text.size(); ++head) {
        if (starts_character(text[head]) && seen++ == quoted_part)
            break;
    }
    std::size_t tail = text.size();
    for (std::size_t seen = 0; tail > 0 && seen < quoted_part;) {
        --tail;
        if (starts_character(text[tail]))
            ++seen;
    }
    std::string count;
    const std::string digits = integer_text(characters);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            count += ' ';
        count += digits[i];
    }
    std::string out(text.substr(0, head));
    out += "…";
    out += text.substr(tail);
    out += " (";
    out += count;
    out += " znaků)";
    return out;
}

ConvertError::ConvertError(std::string_view text, std::string detail)
    : Failure(convert_message(text), std::move(detail))
{
}

std::string error_display_text(std::string_view message)
{
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

} // namespace parvolin
