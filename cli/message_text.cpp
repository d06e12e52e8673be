#include "cli/message_text.h"

#include <cstddef>
#include <cstdint>

namespace parvolin::cli {

namespace {

// The length of the well-formed UTF-8 character at the start of `text`
// (no overlong forms, no surrogates, nothing above U+10FFFF), with its code
// point; 0 when it is not one.
std::size_t utf8_character(std::string_view text, std::uint32_t &code_point)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t smallest = 0;
    if (lead < 0x80) {
        code_point = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, smallest = 0x80, code_point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, smallest = 0x800, code_point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, smallest = 0x10000, code_point = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code_point = (code_point << 6) | (byte(i) & 0x3F);
    }
    if (code_point < smallest || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF))
        return 0;
    return length;
}

bool is_control(std::uint32_t code_point)
{
    return code_point < 0x20 || (code_point >= 0x7F && code_point <= 0x9F);
}

void append_escaped_byte(std::string &out, unsigned char byte)
{
    static constexpr char digits[] = "0123456789abcdef";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

} // namespace

std::string escaped_for_terminal(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        std::uint32_t code_point = 0;
        const std::size_t length = utf8_character(text, code_point);
        if (length == 0 || is_control(code_point)) {
            for (std::size_t i = 0; i < (length == 0 ? 1 : length); ++i)
                append_escaped_byte(out, static_cast<unsigned char>(text[i]));
            text.remove_prefix(length == 0 ? 1 : length);
            continue;
        }
        if (text.front() == '\\')
            out += '\\';
        out.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return out;
}

} // namespace parvolin::cli
