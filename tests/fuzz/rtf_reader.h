#pragma once

// A small RTF reader for checking what the program writes: it takes the text
// of a document the way a word processor does, independently of the writer.
//
// It knows groups, control words and symbols, \'xx in code page 1250 (the
// C library's table), \uN with \ucN skipping, \par, \tab and the escaped
// '\', '{' and '}'. The font, colour and style tables, \info and any \*
// destination hold no text. Other control words are ignored, as RTF says.
// Anything a reader could not take (unbalanced braces, text after the
// document, a cut escape, a lone surrogate, an undefined code-page byte)
// throws RtfSyntaxError.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace parvolin::fuzz {

class RtfSyntaxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class RtfReaderKind {
    Unicode, // takes \uN and skips the \ucN characters after it
    CodePage // an older reader: ignores \uN and takes what follows it
};

struct RtfText {
    int code_page = 0;                  // \ansicpgN, 0 when missing
    std::vector<std::u32string> paragraphs; // at least one, maybe empty
};

RtfText read_rtf(std::string_view rtf, RtfReaderKind kind);

// What cp1250_character gives for the bytes the code page leaves undefined:
// no character at all (U+FFFF is one).
inline constexpr char32_t no_character = 0xFFFFFFFF;

// The character of a byte in code page 1250, no_character where it has none.
char32_t cp1250_character(unsigned char byte);

} // namespace parvolin::fuzz
