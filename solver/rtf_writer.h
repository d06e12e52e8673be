#pragma once

#include "solver/math_text.h"
#include "solver/problem.h"

#include <optional>
#include <string>
#include <vector>

namespace parvolin {

// The byte of `character` in Windows code page 1250 (Central European), if
// that code page has the character.
std::optional<unsigned char> cp1250_byte(char32_t character);

// The document as the bytes of an RTF 1.x file: code page 1250, a font table
// holding Arial alone, and one centred paragraph per document line in Arial
// 14 point (28 half-points), regular, automatic colour, in document order.
// No page setup, header or footer. The lines are UTF-8; a character of code
// page 1250 is written both as Unicode and as its code-page byte
// (\uc1\uN\'xx), any other as Unicode with '?' for readers without Unicode.
// The file holds exactly as many paragraphs as the document has lines; an
// empty document still gets the one empty paragraph every reader shows.
std::string rtf_document(const ResultDocument &document);

// A paragraph of a longer document such as a worksheet.
struct RtfParagraph {
    std::string text; // UTF-8, one line
    int half_points = 24;
    bool bold = false;
    bool centred = false;
    int space_after = 0; // twips (1/1440 inch): room to work below a problem
    bool page_break_before = false;
    bool monospaced = false; // Courier New
    bool keep_with_next = false; // on the page of the paragraph after it
    // A working set after the paragraph, `working_indent` twips from the
    // left, in `working_half_points`.
    const Working *working = nullptr;
    int working_indent = 0;
    int working_half_points = 20;
};

// A4 pages with 2 cm margins, Arial (or Courier New), code page 1250 as
// rtf_document writes it; a page break (\page) before each paragraph that
// asks for one. A working: a paragraph a step, indented by the paragraph's
// margin (\li), so that a wrapped line keeps its indent; the sign table a
// table (\trowd) kept on one page with the sentence that leads to it.
std::string rtf_paragraphs(const std::vector<RtfParagraph> &paragraphs);

// A PNG picture as its file's bytes, and its size in pixels and as shown
// (in twips, 1440 to the inch).
struct RtfPicture {
    std::string png;
    int width_px = 0;
    int height_px = 0;
    int width_twips = 0;
    int height_twips = 0;
};

// What a document may carry after the report: the working and the picture.
struct DocumentAttachment {
    Working working;
    RtfPicture picture; // none when `png` is empty
};

// The document as above, then the working, left-aligned in Arial 11 point
// (a paragraph a line, the notice framed, the sign table as a table, the
// result in bold), then the picture centred (\pict\pngblip).
std::string rtf_document(const ResultDocument &document, const DocumentAttachment &attachment);

} // namespace parvolin
