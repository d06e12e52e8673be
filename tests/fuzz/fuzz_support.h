#pragma once

// What every fuzz target needs: a broken property stops the run with a
// message (libFuzzer then keeps the input as a crash file), and UTF-8 counted
// and checked the way the program's texts are.

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <string_view>

namespace parvolin::fuzz {

// Run by fail() before it aborts, for a target that leaves files behind.
inline void (*before_abort)() = nullptr;

// Prints the property and the text it was broken for (escaped, so that
// control bytes and invalid UTF-8 stay readable; a long text by its ends),
// then aborts.
[[noreturn]] inline void fail(const char *property, std::string_view detail = {})
{
    std::fprintf(stderr, "\n*** broken: %s\n", property);
    if (!detail.empty()) {
        std::fputs("*** for: \"", stderr);
        for (std::size_t at = 0; at < detail.size(); ++at) {
            if (detail.size() > 400 && at == 200) {
                std::fprintf(stderr, "\" ... %zu bytes ... \"", detail.size() - 400);
                at = detail.size() - 200;
            }
            const char c = detail[at];
            const auto byte = static_cast<unsigned char>(c);
            if (byte == '\\' || byte == '"')
                std::fprintf(stderr, "\\%c", c);
            else if (byte >= 0x20 && byte < 0x7F)
                std::fputc(c, stderr);
            else
                std::fprintf(stderr, "\\x%02X", byte);
        }
        std::fputs("\"\n", stderr);
    }
    if (before_abort != nullptr)
        before_abort();
    std::abort();
}

inline void require(bool holds, const char *property, std::string_view detail = {})
{
    if (!holds)
        fail(property, detail);
}

inline bool is_continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Characters of a UTF-8 text: every byte that does not continue a sequence.
inline std::size_t character_count(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += is_continuation(c) ? 0 : 1;
    return count;
}

// Decodes one well-formed UTF-8 sequence (no overlong forms, no surrogates,
// nothing above U+10FFFF) at `at`; returns its length, 0 when malformed.
// The C library's converter does the decoding, so the checks never share a
// decoder with the code they check.
inline std::size_t decode_utf8(std::string_view text, std::size_t at, char32_t &character)
{
    static const iconv_t converter = iconv_open("UTF-32LE", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        std::fputs("fuzz: no UTF-8 converter in the C library\n", stderr);
        std::abort();
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char input[4];
    const std::size_t available = std::min<std::size_t>(4, text.size() - at);
    std::memcpy(input, text.data() + at, available);
    unsigned char output[4];
    char *in = input;
    char *out = reinterpret_cast<char *>(output);
    std::size_t in_left = available;
    std::size_t out_left = sizeof output;
    // Room for one character only: the converter stops after the first one
    // (E2BIG) or on a malformed or cut-short sequence (EILSEQ, EINVAL).
    iconv(converter, &in, &in_left, &out, &out_left);
    if (out_left != 0)
        return 0;
    character = char32_t(output[0]) | char32_t(output[1]) << 8 | char32_t(output[2]) << 16 |
                char32_t(output[3]) << 24;
    return available - in_left;
}

inline bool is_valid_utf8(std::string_view text)
{
    char32_t character = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = decode_utf8(text, at, character);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

// Splits the bytes at each '\0', as the targets' inputs are laid out: a
// missing field reads as empty and `exhausted` tells it apart.
class Fields {
public:
    Fields(const unsigned char *data, std::size_t size) : rest_(reinterpret_cast<const char *>(data), size) {}

    bool exhausted() const { return done_; }

    std::string_view next()
    {
        if (done_)
            return {};
        const std::size_t end = rest_.find('\0');
        const std::string_view field = rest_.substr(0, end);
        if (end == std::string_view::npos)
            done_ = true;
        else
            rest_.remove_prefix(end + 1);
        return field;
    }

    // Everything not yet taken, NULs included.
    std::string_view rest() const { return done_ ? std::string_view() : rest_; }

private:
    std::string_view rest_;
    bool done_ = false;
};

} // namespace parvolin::fuzz
