#include "solver/math_html.h"

#include "solver/ascii.h"

#include <cstddef>
#include <string_view>

namespace parvolin {

namespace {

// A piece of mathematics with stacked fractions is one table of two rows:
// each fraction is a column whose top cell, the numerator, has the bar as its
// bottom border, and the text between fractions spans both rows, centred on
// the bar. One table for the whole piece keeps the layout light.
constexpr std::string_view row_open = "<table cellspacing=\"0\" cellpadding=\"1\"";
constexpr std::string_view text_cell_open = "<td rowspan=\"2\" valign=\"middle\">";
constexpr std::string_view numerator_open = "<td align=\"center\" style=\"border-bottom: 1px solid black\">";
constexpr std::string_view denominator_open = "<td align=\"center\">";
constexpr std::string_view notice_open =
    "<table border=\"1\" cellspacing=\"0\" cellpadding=\"6\" width=\"100%\" bgcolor=\"#fff3cd\" "
    "style=\"border-color: #b58100; border-style: solid";
constexpr std::string_view sign_table_open =
    "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" style=\"border-collapse: collapse; border-style: solid";

class HtmlWriter {
public:
    HtmlWriter(const std::vector<MathToken> &tokens, std::string_view table_style)
        : tokens_(tokens), table_style_(table_style)
    {
    }

    // The whole piece. With `stacked`, fractions outside roots, powers and
    // indices are stacked; the piece is then a table row of its own when it
    // holds one, and otherwise inline text.
    std::string write(bool stacked)
    {
        at_ = 0;
        std::string out;
        if (!stacked || !has_fraction(tokens_)) {
            inline_run(out, MathMark::RootEnd);
            return out;
        }
        return row_until(MathMark::RootEnd, table_style_);
    }

    static bool has_fraction(const std::vector<MathToken> &tokens)
    {
        for (const auto &token : tokens)
            if (token.mark == MathMark::FractionBegin)
                return true;
        return false;
    }

private:
    // The two rows of one piece: runs of inline text between stacked
    // fractions, up to `stop` at this level or the end; leaves at_ on `stop`.
    std::string row_until(MathMark stop, std::string_view style)
    {
        std::string top(row_open);
        if (!style.empty())
            top += " style=\"" + std::string(style) + "\"";
        top += "><tr>";
        std::string bottom;
        std::string cell;
        const auto flush = [&] {
            if (!cell.empty())
                top += std::string(text_cell_open) + cell + "</td>";
            cell.clear();
        };
        while (at_ < tokens_.size() && tokens_[at_].mark != stop) {
            if (tokens_[at_].mark == MathMark::FractionBegin) {
                ++at_;
                flush();
                top += numerator_open;
                top += part_until(MathMark::FractionBar);
                skip(MathMark::FractionBar);
                top += "</td>";
                bottom += denominator_open;
                bottom += part_until(MathMark::FractionEnd);
                skip(MathMark::FractionEnd);
                bottom += "</td>";
            } else {
                one_inline(cell);
            }
        }
        flush();
        return top + "</tr><tr>" + bottom + "</tr></table>";
    }

    // A numerator or denominator: inline unless it holds a fraction itself.
    std::string part_until(MathMark stop)
    {
        // A fraction inside opens before this part's own end is reached.
        bool nested = false;
        for (std::size_t i = at_; i < tokens_.size() && tokens_[i].mark != stop; ++i) {
            if (tokens_[i].mark == MathMark::FractionBegin) {
                nested = true;
                break;
            }
        }
        if (nested)
            return row_until(stop, {});
        std::string out;
        inline_run(out, stop);
        return out;
    }

    void skip(MathMark mark)
    {
        if (at_ < tokens_.size() && tokens_[at_].mark == mark)
            ++at_;
    }

    // Inline text up to `stop` at this level; fractions become p/q.
    void inline_run(std::string &out, MathMark stop)
    {
        while (at_ < tokens_.size() && tokens_[at_].mark != stop)
            one_inline(out);
    }

    void one_inline(std::string &out)
    {
        const MathToken &token = tokens_[at_++];
        switch (token.mark) {
        case MathMark::Text:
            append_html_escaped(out, token.text);
            break;
        case MathMark::Symbol:
            append_html_escaped(out, school_symbol(token.text));
            break;
        case MathMark::PowerBegin:
            out += "<sup>";
            inline_run(out, MathMark::PowerEnd);
            skip(MathMark::PowerEnd);
            out += "</sup>";
            break;
        case MathMark::IndexBegin:
            out += "<sub>";
            inline_run(out, MathMark::IndexEnd);
            skip(MathMark::IndexEnd);
            out += "</sub>";
            break;
        case MathMark::RootBegin:
            out += "√<span style=\"text-decoration: overline\">";
            inline_run(out, MathMark::RootEnd);
            skip(MathMark::RootEnd);
            out += "</span>";
            break;
        case MathMark::FractionBegin: {
            // Where it cannot stack (under a root, in an exponent): p/q, in
            // parentheses around each part.
            std::string numerator, denominator;
            inline_run(numerator, MathMark::FractionBar);
            skip(MathMark::FractionBar);
            inline_run(denominator, MathMark::FractionEnd);
            skip(MathMark::FractionEnd);
            out += "(" + numerator + ")/(" + denominator + ")";
            break;
        }
        default:
            break; // a stray end mark
        }
    }

    const std::vector<MathToken> &tokens_;
    std::string_view table_style_;
    std::size_t at_ = 0;
};

class WorkingWriter {
public:
    explicit WorkingWriter(const WorkingHtmlStyle &style) : style_(style)
    {
        if (style.indent_px > 0)
            indent_ = "margin-left: " + integer_text(style.indent_px) + "px";
        if (style.spacing_px >= 0)
            spacing_ = "margin-top: " + integer_text(style.spacing_px) + "px; margin-bottom: " +
                       integer_text(style.spacing_px) + "px";
    }

    std::string write(const Working &working)
    {
        std::string out;
        out.reserve(4096);
        for (std::size_t i = 0; i < working.steps.size(); ++i) {
            const Step &step = working.steps[i];
            const bool after_table = out.ends_with("</table>");
            switch (step.kind) {
            case StepKind::Notice:
                out += notice_open;
                if (!indent_.empty())
                    out += "; " + indent_;
                out += "\"><tr><td>";
                out += sentence_and_math(step, i, false, false, false);
                out += "</td></tr></table>";
                break;
            case StepKind::Table:
                out += table(step, i, after_table);
                break;
            case StepKind::Result:
                out += sentence_and_math(step, i, after_table, true, true);
                break;
            case StepKind::Step:
                out += sentence_and_math(step, i, after_table, false, true);
                break;
            }
        }
        return out;
    }

private:
    std::string anchor(std::size_t index) const
    {
        return style_.anchors ? "<a name=\"step" + integer_text(static_cast<long long>(index)) + "\"></a>"
                              : std::string();
    }

    // A sentence: a paragraph of its own, or, right after a table, the line
    // that always follows a table (a paragraph there would leave that line
    // empty, a blank line below every table). That line takes no margin from
    // the HTML; a sheet's pages give it the table's.
    std::string line(const std::string &text, bool after_table, bool indented) const
    {
        if (after_table)
            return text;
        std::string style = spacing_;
        if (indented && !indent_.empty())
            style += (style.empty() ? "" : "; ") + indent_;
        if (style.empty())
            return "<p>" + text + "</p>";
        return "<p style=\"" + style + "\">" + text + "</p>";
    }

    // A sentence and its mathematics: on one line when the mathematics is
    // inline, the mathematics below the sentence when it stacks.
    std::string sentence_and_math(const Step &step, std::size_t index, bool after_table, bool bold,
                                  bool indented) const
    {
        const bool stacks = HtmlWriter::has_fraction(step.math.tokens);
        std::string out;
        if (!stacks || !step.text.empty()) {
            std::string text = anchor(index);
            append_html_escaped(text, step.text);
            if (!stacks && !step.math.empty()) {
                if (!step.text.empty())
                    text += ' ';
                text += math_to_html(step.math, false);
            }
            if (bold)
                text = "<b>" + text + "</b>";
            out = line(text, after_table, indented);
        }
        if (stacks) {
            // A block around the table would open with an empty line.
            std::string style = bold ? "font-weight: bold" : "";
            if (indented && !indent_.empty())
                style += (style.empty() ? "" : "; ") + indent_;
            out += HtmlWriter(step.math.tokens, style).write(true);
        }
        return out;
    }

    std::string table(const Step &step, std::size_t index, bool after_table) const
    {
        std::string text = anchor(index);
        append_html_escaped(text, step.text);
        std::string out = line(text, after_table, true);
        out += sign_table_open;
        if (!indent_.empty())
            out += "; " + indent_;
        out += "\">";
        for (std::size_t row = 0; row < step.table.size(); ++row) {
            out += "<tr>";
            for (const Math &cell : step.table[row]) {
                out += row == 0 ? "<th align=\"center\">" : "<td align=\"center\">";
                out += math_to_html(cell, true);
                out += row == 0 ? "</th>" : "</td>";
            }
            out += "</tr>";
        }
        return out + "</table>";
    }

    const WorkingHtmlStyle &style_;
    std::string indent_;
    std::string spacing_;
};

} // namespace

void append_html_escaped(std::string &out, std::string_view text)
{
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch;
        }
    }
}

std::string math_to_html(const Math &math, bool stacked, std::string_view table_style)
{
    return HtmlWriter(math.tokens, table_style).write(stacked);
}

std::string working_to_html(const Working &working, const WorkingHtmlStyle &style)
{
    return WorkingWriter(style).write(working);
}

} // namespace parvolin
