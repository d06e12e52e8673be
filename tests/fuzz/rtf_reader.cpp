#include "tests/fuzz/rtf_reader.h"

#include <array>
#include <cstddef>
#include <iconv.h>

namespace parvolin::fuzz {

namespace {

// From the C library, so that the writer's own table is not checked against
// itself.
std::array<char32_t, 256> make_cp1250_table()
{
    std::array<char32_t, 256> table;
    table.fill(no_character);
    iconv_t decoder = ::iconv_open("UTF-32LE", "CP1250");
    if (decoder == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("the C library has no CP1250");
    for (int byte = 0; byte < 256; ++byte) {
        char in = static_cast<char>(byte);
        unsigned char out[8] = {};
        char *in_at = &in;
        char *out_at = reinterpret_cast<char *>(out);
        std::size_t in_left = 1;
        std::size_t out_left = sizeof out;
        ::iconv(decoder, nullptr, nullptr, nullptr, nullptr);
        if (::iconv(decoder, &in_at, &in_left, &out_at, &out_left) != static_cast<std::size_t>(-1) &&
            out_left == sizeof out - 4)
            table[byte] = out[0] | out[1] << 8 | out[2] << 16 | static_cast<char32_t>(out[3]) << 24;
    }
    ::iconv_close(decoder);
    return table;
}

bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

int hex_value(char c)
{
    if (is_digit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Groups that these words open hold no document text.
bool is_destination(std::string_view word)
{
    for (std::string_view destination : {"fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer",
                                         "headerl", "headerr", "footerl", "footerr", "listtable",
                                         "listoverridetable", "generator"}) {
        if (word == destination)
            return true;
    }
    return false;
}

struct GroupState {
    int unicode_skip = 1; // \ucN: characters after \uN that stand in for it
    bool no_text = false; // a destination: fonts, styles, \* ...
};

class Reader {
public:
    Reader(std::string_view rtf, RtfReaderKind kind) : rtf_(rtf), kind_(kind) {}

    RtfText read();

private:
    void read_control();
    void control_word(std::string_view word, bool has_parameter, long parameter, bool first_in_group);
    bool skipped();
    void put(char32_t character);
    void put_unicode_unit(long unit);
    void end_paragraph();

    std::string_view rtf_;
    RtfReaderKind kind_;
    std::size_t at_ = 0;
    std::vector<GroupState> groups_;
    bool closed_ = false;
    bool group_start_ = false; // the next token is the first of its group
    int to_skip_ = 0;          // stand-in characters after \uN still to skip
    char16_t high_surrogate_ = 0;
    RtfText text_;
};

RtfText Reader::read()
{
    if (rtf_.substr(0, 5) != "{\\rtf")
        throw RtfSyntaxError("does not start with {\\rtf");
    text_.paragraphs.emplace_back();
    while (at_ < rtf_.size()) {
        const char c = rtf_[at_];
        if (closed_) {
            if (c != '\r' && c != '\n' && c != ' ')
                throw RtfSyntaxError("text after the document's group");
            ++at_;
            continue;
        }
        if (c == '{') {
            ++at_;
            to_skip_ = 0;
            groups_.push_back(groups_.empty() ? GroupState{} : groups_.back());
            group_start_ = true;
            continue;
        }
        if (c == '}') {
            ++at_;
            to_skip_ = 0;
            groups_.pop_back();
            closed_ = groups_.empty();
            group_start_ = false;
            continue;
        }
        if (c == '\r' || c == '\n') { // line breaks of the file, not of the text
            ++at_;
            continue;
        }
        if (c == '\\') {
            read_control();
            continue;
        }
        group_start_ = false;
        ++at_;
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            throw RtfSyntaxError("a raw control byte, which readers drop or misread");
        if (skipped())
            continue;
        const char32_t character = cp1250_character(byte);
        if (character == no_character)
            throw RtfSyntaxError("a byte code page 1250 does not define");
        put(character);
    }
    if (!closed_)
        throw RtfSyntaxError("a group is not closed");
    if (high_surrogate_ != 0)
        throw RtfSyntaxError("a high surrogate without its low half");
    return text_;
}

void Reader::read_control()
{
    const bool first_in_group = group_start_;
    group_start_ = false;
    ++at_; // the backslash
    if (at_ >= rtf_.size())
        throw RtfSyntaxError("a backslash ends the document");
    const char c = rtf_[at_];

    if (is_letter(c)) {
        const std::size_t start = at_;
        while (at_ < rtf_.size() && is_letter(rtf_[at_]))
            ++at_;
        const std::string_view word = rtf_.substr(start, at_ - start);
        if (word.size() > 32)
            throw RtfSyntaxError("a control word longer than 32 letters");
        bool negative = false;
        if (at_ < rtf_.size() && rtf_[at_] == '-') {
            negative = true;
            ++at_;
            if (at_ >= rtf_.size() || !is_digit(rtf_[at_]))
                throw RtfSyntaxError("a '-' without digits after a control word");
        }
        const std::size_t digits = at_;
        long parameter = 0;
        while (at_ < rtf_.size() && is_digit(rtf_[at_])) {
            if (at_ - digits >= 10)
                throw RtfSyntaxError("a control word's number longer than 10 digits");
            parameter = parameter * 10 + (rtf_[at_] - '0');
            ++at_;
        }
        if (negative)
            parameter = -parameter;
        const bool has_parameter = at_ > digits;
        if (at_ < rtf_.size() && rtf_[at_] == ' ') // the delimiter belongs to the word
            ++at_;
        if (skipped())
            return;
        control_word(word, has_parameter, parameter, first_in_group);
        return;
    }

    if (c == '\'') {
        if (rtf_.size() - at_ < 3 || hex_value(rtf_[at_ + 1]) < 0 || hex_value(rtf_[at_ + 2]) < 0)
            throw RtfSyntaxError("\\' without two hexadecimal digits");
        const auto byte = static_cast<unsigned char>(hex_value(rtf_[at_ + 1]) * 16 + hex_value(rtf_[at_ + 2]));
        at_ += 3;
        if (skipped())
            return;
        const char32_t character = cp1250_character(byte);
        if (character == no_character)
            throw RtfSyntaxError("\\' of a byte code page 1250 does not define");
        put(character);
        return;
    }

    ++at_;
    if (skipped())
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        put(static_cast<char32_t>(c));
        break;
    case '*':
        groups_.back().no_text = true;
        break;
    case '~':
        put(0x00A0);
        break;
    case '_':
        put(0x2011);
        break;
    case '-': // an optional hyphen shows only at a line's end
        break;
    case '\r':
    case '\n':
        end_paragraph();
        break;
    default:
        throw RtfSyntaxError(std::string("an unknown control symbol \\") + c);
    }
}

void Reader::control_word(std::string_view word, bool has_parameter, long parameter, bool first_in_group)
{
    if (first_in_group && is_destination(word)) {
        groups_.back().no_text = true;
    } else if (word == "par") {
        end_paragraph();
    } else if (word == "tab") {
        put(U'\t');
    } else if (word == "u") {
        if (!has_parameter)
            throw RtfSyntaxError("\\u without a number");
        if (kind_ == RtfReaderKind::Unicode) {
            put_unicode_unit(parameter);
            to_skip_ = groups_.back().unicode_skip;
        }
    } else if (word == "uc") {
        if (!has_parameter || parameter < 0)
            throw RtfSyntaxError("\\uc without a count");
        groups_.back().unicode_skip = static_cast<int>(parameter);
    } else if (word == "ansicpg") {
        text_.code_page = static_cast<int>(parameter);
    } else if (word == "bin") {
        throw RtfSyntaxError("\\bin, which this reader does not take");
    }
    // Every other word sets a format or is unknown: no text either way.
}

// The characters after \uN that stand in for it, one per plain character,
// \'xx, control word or symbol; a brace ends them early.
bool Reader::skipped()
{
    if (to_skip_ == 0)
        return false;
    --to_skip_;
    return true;
}

void Reader::put(char32_t character)
{
    if (groups_.back().no_text)
        return;
    if (high_surrogate_ != 0)
        throw RtfSyntaxError("a high surrogate without its low half");
    text_.paragraphs.back() += character;
}

// \uN takes a signed 16-bit number; a UTF-16 surrogate pair makes one character.
void Reader::put_unicode_unit(long number)
{
    if (number < -32768 || number > 65535)
        throw RtfSyntaxError("\\u beyond 16 bits");
    const auto unit = static_cast<char16_t>(number < 0 ? number + 65536 : number);
    if (groups_.back().no_text)
        return;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (high_surrogate_ != 0)
            throw RtfSyntaxError("two high surrogates");
        high_surrogate_ = unit;
        return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        if (high_surrogate_ == 0)
            throw RtfSyntaxError("a low surrogate without its high half");
        const char32_t character = 0x10000 + ((high_surrogate_ - 0xD800) << 10) + (unit - 0xDC00);
        high_surrogate_ = 0;
        put(character);
        return;
    }
    put(unit);
}

void Reader::end_paragraph()
{
    if (groups_.back().no_text)
        return;
    if (high_surrogate_ != 0)
        throw RtfSyntaxError("a high surrogate without its low half");
    text_.paragraphs.emplace_back();
}

} // namespace

char32_t cp1250_character(unsigned char byte)
{
    static const std::array<char32_t, 256> table = make_cp1250_table();
    return table[byte];
}

RtfText read_rtf(std::string_view rtf, RtfReaderKind kind)
{
    return Reader(rtf, kind).read();
}

} // namespace parvolin::fuzz
