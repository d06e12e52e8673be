#include "solver/failures.h"

namespace parvolin {

namespace {
std::string convert_message(std::string_view text)
{
    std::string message;
    message.reserve(text.size() + 40);
    message += '\'';
    message += text;
    message += "' is not a valid floating point value";
    return message;
}
} // namespace

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
