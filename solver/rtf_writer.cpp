#include "solver/rtf_writer.h"

#include "solver/ascii.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>
#include <algorithm>

namespace parvolin {

namespace {

// Unicode of the bytes 0x80 to 0xFF of code page 1250; 0 where the code page
// leaves a byte undefined. The lower half is ASCII.
constexpr std::array<char16_t, 128> cp1250_upper_half = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

constexpr char32_t replacement_character = 0xFFFD;

// Reads one character of UTF-8 from the front of `text` and drops its bytes.
// A byte that does not start a well-formed sequence (stray continuation,
// overlong form, surrogate, beyond U+10FFFF, cut short) is dropped alone and
// read as U+FFFD.
char32_t take_utf8(std::string_view &text)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        text.remove_prefix(1);
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    }
    if (length == 0 || text.size() < length) {
        text.remove_prefix(1);
        return replacement_character;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            text.remove_prefix(1);
            return replacement_character;
        }
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        text.remove_prefix(1);
        return replacement_character;
    }
    text.remove_prefix(length);
    return value;
}

void append_hex_byte(std::string &out, unsigned char byte)
{
    constexpr char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

// \uN takes a signed 16-bit number: UTF-16 units above 32767 are written
// as their negative two's-complement value.
void append_unicode(std::string &out, char16_t unit)
{
    out += "\\u";
    out += integer_text(unit < 0x8000 ? int{unit} : int{unit} - 0x10000);
}

void append_character(std::string &out, char32_t character)
{
    if (character < 0x80) {
        const char c = static_cast<char>(character);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (character < 0x20 || character == 0x7F) {
            // Control characters would otherwise be dropped or, for CR and
            // LF, ignored by the reader; written as bytes they survive.
            append_hex_byte(out, static_cast<unsigned char>(c));
        } else {
            out += c;
        }
        return;
    }
    if (const auto byte = cp1250_byte(character)) {
        // Readers with Unicode take \uN and skip the one byte after it
        // (\uc1); older readers take the byte in the font's code page.
        append_unicode(out, static_cast<char16_t>(character));
        append_hex_byte(out, *byte);
        return;
    }
    if (character < 0x10000) {
        append_unicode(out, static_cast<char16_t>(character));
        out += '?';
        return;
    }
    // Beyond the Basic Multilingual Plane: a UTF-16 surrogate pair.
    const char32_t offset = character - 0x10000;
    append_unicode(out, static_cast<char16_t>(0xD800 + (offset >> 10)));
    out += '?';
    append_unicode(out, static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    out += '?';
}

void append_text(std::string &out, std::string_view utf8)
{
    bool after_blank = false;
    while (!utf8.empty()) {
        const char32_t character = take_utf8(utf8);
        // The program's sentences carry doubled blanks. LibreOffice turns a
        // run of blanks in one stretch of RTF text into alternating narrow
        // and normal spaces; an empty group between each two keeps every
        // blank a plain blank, and other readers skip the group.
        if (character == U' ' && after_blank)
            out += "{}";
        after_blank = character == U' ';
        append_character(out, character);
    }
}

} // namespace

std::optional<unsigned char> cp1250_byte(char32_t character)
{
    if (character < 0x80)
        return static_cast<unsigned char>(character);
    for (std::size_t i = 0; i < cp1250_upper_half.size(); ++i) {
        if (cp1250_upper_half[i] != 0 && cp1250_upper_half[i] == character)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

namespace {

// The working's paragraphs: Arial 11 point, left-aligned.
constexpr std::string_view working_paragraph = "\\par\n\\pard\\plain\\ql\\sa60\\uc1\\f0\\fs22 ";

// Column widths of a table from its longest cell: about a tenth of an inch
// a character, and room around.
std::vector<int> column_edges(const std::vector<std::vector<std::string>> &cells)
{
    std::vector<int> widths;
    for (const auto &row : cells) {
        if (widths.size() < row.size())
            widths.resize(row.size(), 0);
        for (std::size_t i = 0; i < row.size(); ++i) {
            std::size_t characters = 0;
            for (unsigned char c : row[i])
                characters += (c & 0xC0) != 0x80;
            widths[i] = std::max(widths[i], static_cast<int>(characters) * 130 + 300);
        }
    }
    std::vector<int> edges;
    int edge = 0;
    for (int width : widths)
        edges.push_back(edge += width);
    return edges;
}

// The rows of a sign table, `indent` twips from the left, kept on one page
// (each row with the next, no row split).
void append_table_rows(std::string &out, const Step &step, int indent, int half_points)
{
    std::vector<std::vector<std::string>> cells;
    for (const auto &row : step.table) {
        std::vector<std::string> texts;
        for (const auto &cell : row)
            texts.push_back(plain_text(cell));
        cells.push_back(std::move(texts));
    }
    const std::vector<int> edges = column_edges(cells);
    for (std::size_t r = 0; r < cells.size(); ++r) {
        out += "\\trowd\\trgaph70\\trkeep\\trleft";
        out += integer_text(indent);
        for (int edge : edges) {
            out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                   "\\clbrdrr\\brdrs\\brdrw10\\cellx";
            out += integer_text(indent + edge);
        }
        out += "\n\\pard\\plain\\intbl\\qc";
        if (r + 1 < cells.size())
            out += "\\keepn";
        out += "\\uc1\\f0\\fs" + integer_text(half_points);
        if (r == 0)
            out += "\\b";
        out += ' ';
        for (std::size_t i = 0; i < edges.size(); ++i) {
            if (i < cells[r].size())
                append_text(out, cells[r][i]);
            out += "\\cell ";
        }
        out += "\\row\n";
    }
}

void append_table(std::string &out, const Step &step)
{
    out += "\\par\n";
    append_table_rows(out, step, 0, 22);
    // Text after \\row is outside the table; the paragraph that follows
    // starts with \\par, so an empty one closes the table.
    out += "\\pard\\plain\\ql\\uc1\\f0\\fs4 ";
}

// A step's sentence and its mathematics as one line.
std::string step_line(const Step &step)
{
    std::string text = step.text;
    if (!step.math.empty()) {
        if (!text.empty())
            text += ' ';
        append_plain_text(text, step.math);
    }
    return text;
}

void append_working(std::string &out, const Working &working)
{
    for (const Step &step : working.steps) {
        const std::string text = step_line(step);
        out += working_paragraph;
        if (step.kind == StepKind::Notice)
            out += "\\box\\brdrs\\brdrw10\\brsp80 "; // framed, up to the next \pard
        else if (step.kind == StepKind::Result)
            out += "\\b ";
        append_text(out, text);
        if (step.kind == StepKind::Table)
            append_table(out, step);
    }
}

void append_picture(std::string &out, const RtfPicture &picture)
{
    constexpr char digits[] = "0123456789abcdef";
    out += "\\par\n\\pard\\plain\\qc\\f0\\fs22 {\\pict\\pngblip\\picw";
    out += integer_text(picture.width_px);
    out += "\\pich";
    out += integer_text(picture.height_px);
    out += "\\picwgoal";
    out += integer_text(picture.width_twips);
    out += "\\pichgoal";
    out += integer_text(picture.height_twips);
    out += '\n';
    for (std::size_t i = 0; i < picture.png.size(); ++i) {
        const auto byte = static_cast<unsigned char>(picture.png[i]);
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
        if (i % 64 == 63)
            out += '\n';
    }
    out += "}";
}

// The head and the report's paragraphs, the document left open.
std::string open_document(const ResultDocument &document)
{
    // \fcharset238 (Eastern European) matters as much as \ansicpg1250: some
    // readers decode \'xx by the font's character set alone.
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0"
        "{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\n"
        // One paragraph format and one character format for the whole
        // document: centred; Arial, 28 half-points, regular, automatic
        // colour (\plain, and no colour table). \uc1 after \plain, which
        // some readers let reset it.
        "\\pard\\plain\\qc\\uc1\\f0\\fs28 ";
    // The blank above ends the control word; a blank that starts a line is
    // text, as are the doubled and trailing blanks of the program's
    // sentences. \par separates the paragraphs; none follows the last line,
    // which would add an empty paragraph.
    for (std::size_t i = 0; i < document.lines.size(); ++i) {
        if (i > 0)
            out += "\\par\n";
        append_text(out, document.lines[i]);
    }
    return out;
}

} // namespace

std::string rtf_document(const ResultDocument &document)
{
    return open_document(document) + "}\n";
}

std::string rtf_document(const ResultDocument &document, const DocumentAttachment &attachment)
{
    std::string out = open_document(document);
    append_working(out, attachment.working);
    if (!attachment.picture.png.empty())
        append_picture(out, attachment.picture);
    out += "}\n";
    return out;
}

namespace {

// A working inside a longer document: a paragraph a step, `indent` twips
// from the left (a wrapped line keeps it), the sign table a table kept on
// one page with the sentence that leads to it, the result in bold.
void append_indented_working(std::string &out, const Working &working, int indent, int half_points)
{
    const std::string format = "\\pard\\plain\\ql\\li" + integer_text(indent) + "\\sa30\\uc1\\f0\\fs" +
                               integer_text(half_points);
    for (const Step &step : working.steps) {
        out += format;
        if (step.kind == StepKind::Notice)
            out += "\\box\\brdrs\\brdrw10\\brsp80";
        else if (step.kind == StepKind::Result)
            out += "\\b";
        else if (step.kind == StepKind::Table)
            out += "\\keepn";
        out += ' ';
        append_text(out, step_line(step));
        out += "\\par\n";
        if (step.kind == StepKind::Table)
            append_table_rows(out, step, indent, half_points);
    }
}

} // namespace

std::string rtf_paragraphs(const std::vector<RtfParagraph> &paragraphs)
{
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1250\\deff0"
        "{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}{\\f1\\fmodern\\fcharset238 Courier New;}}\n"
        "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\n";
    for (const auto &p : paragraphs) {
        if (p.page_break_before)
            out += "\\page\n";
        out += "\\pard\\plain";
        out += p.centred ? "\\qc" : "\\ql";
        if (p.keep_with_next)
            out += "\\keepn";
        out += p.monospaced ? "\\uc1\\f1\\fs" : "\\uc1\\f0\\fs";
        out += integer_text(p.half_points);
        if (p.bold)
            out += "\\b";
        if (p.space_after > 0)
            out += "\\sa" + integer_text(p.space_after);
        out += ' ';
        append_text(out, p.text);
        out += "\\par\n";
        if (p.working != nullptr)
            append_indented_working(out, *p.working, p.working_indent, p.working_half_points);
    }
    out += "}\n";
    return out;
}

} // namespace parvolin
