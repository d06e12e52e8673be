// The RTF writer: any document lines, read back by a reader of our own.
//
// Input: the document's lines, separated by '\n' (no bytes, no lines). The
// lines may hold any bytes; the writer reads a byte that does not start a
// well-formed UTF-8 sequence as U+FFFD, and so does the expectation here.
//
// Read by a reader with Unicode, the file holds one paragraph per line (one
// empty paragraph for no lines) with the lines' characters. Read by an older
// reader, which ignores \uN and takes what follows it, each character comes
// out as itself when code page 1250 has it and as '?' per UTF-16 unit when
// it does not.

#include "solver/problem.h"
#include "solver/rtf_writer.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/rtf_reader.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using parvolin::fuzz::fail;
using parvolin::fuzz::require;
using parvolin::fuzz::RtfReaderKind;

constexpr char32_t replacement_character = 0xFFFD;

std::u32string characters_of(std::string_view line)
{
    std::u32string characters;
    for (std::size_t at = 0; at < line.size();) {
        char32_t character = 0;
        const std::size_t length = parvolin::fuzz::decode_utf8(line, at, character);
        characters += length == 0 ? replacement_character : character;
        at += length == 0 ? 1 : length;
    }
    return characters;
}

bool in_cp1250(char32_t character)
{
    static const std::vector<char32_t> characters = [] {
        std::vector<char32_t> sorted;
        for (int byte = 0; byte < 256; ++byte)
            sorted.push_back(parvolin::fuzz::cp1250_character(static_cast<unsigned char>(byte)));
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }();
    return character != parvolin::fuzz::no_character &&
           std::binary_search(characters.begin(), characters.end(), character);
}

std::u32string as_code_page_reader_sees_it(const std::u32string &characters)
{
    std::u32string seen;
    for (const char32_t character : characters) {
        if (in_cp1250(character))
            seen += character;
        else
            seen += character < 0x10000 ? U"?" : U"??";
    }
    return seen;
}

std::string utf8_of(const std::u32string &characters)
{
    std::string text;
    for (const char32_t c : characters) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | c >> 6);
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | c >> 12);
            text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | c >> 18);
            text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

void require_paragraphs(const std::string &rtf, RtfReaderKind kind, const std::vector<std::u32string> &expected,
                        const char *property)
{
    parvolin::fuzz::RtfText text;
    try {
        text = parvolin::fuzz::read_rtf(rtf, kind);
    } catch (const parvolin::fuzz::RtfSyntaxError &error) {
        fail("the written RTF is well formed", std::string(error.what()) + " in " + rtf);
    }
    require(text.code_page == 1250, "the RTF declares code page 1250", rtf);
    require(text.paragraphs.size() == expected.size(), "one paragraph per line", rtf);
    for (std::size_t k = 0; k < expected.size(); ++k) {
        if (text.paragraphs[k] != expected[k])
            fail(property, "line " + utf8_of(expected[k]) + " read as " + utf8_of(text.paragraphs[k]) + " from " + rtf);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    parvolin::ResultDocument document;
    for (std::size_t at = 0; size > 0 && at <= size;) {
        const std::size_t end = std::min(bytes.find('\n', at), size);
        document.lines.emplace_back(bytes.substr(at, end - at));
        at = end + 1;
    }

    const std::string rtf = parvolin::rtf_document(document);

    std::vector<std::u32string> unicode;
    std::vector<std::u32string> code_page;
    for (const std::string &line : document.lines) {
        unicode.push_back(characters_of(line));
        code_page.push_back(as_code_page_reader_sees_it(unicode.back()));
    }
    if (document.lines.empty()) { // the one paragraph every reader shows
        unicode.emplace_back();
        code_page.emplace_back();
    }
    require_paragraphs(rtf, RtfReaderKind::Unicode, unicode, "a reader with Unicode reads the lines");
    require_paragraphs(rtf, RtfReaderKind::CodePage, code_page,
                       "a reader without Unicode reads the lines in code page 1250, '?' for the rest");
    return 0;
}
