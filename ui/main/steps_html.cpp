#include "ui/main/steps_html.h"

#include <cstddef>
#include <string_view>

namespace parvolin {

namespace {

// A piece of mathematics with stacked fractions is one table of two rows:
// each fraction is a column whose top cell, the numerator, has the bar as its
// bottom border, and the text between fractions spans both rows, centred on
// the bar. One table for the whole piece keeps the layout light.
constexpr std::string_view row_open = "<table cellspacing=\"0\" cellpadding=\"1\"><tr>";
constexpr std::string_view text_cell_open = "<td rowspan=\"2\" valign=\"middle\">";
constexpr std::string_view numerator_open = "<td align=\"center\" style=\"border-bottom: 1px solid black\">";
constexpr std::string_view denominator_open = "<td align=\"center\">";
constexpr std::string_view notice_open =
    "<table border=\"1\" cellspacing=\"0\" cellpadding=\"6\" width=\"100%\" bgcolor=\"#fff3cd\" "
    "style=\"border-color: #b58100; border-style: solid\"><tr><td>";
constexpr std::string_view sign_table_open =
    "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" style=\"border-collapse: collapse; border-style: solid\">";

QLatin1String latin1(std::string_view text)
{
    return QLatin1String(text.data(), static_cast<qsizetype>(text.size()));
}

void append_escaped(QString &out, std::string_view text)
{
    out += QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toHtmlEscaped();
}

std::string_view symbol_text(std::string_view name) { return school_symbol(name); }

class HtmlWriter {
public:
    explicit HtmlWriter(const std::vector<MathToken> &tokens) : tokens_(tokens) {}

    // The whole piece. With `stacked`, fractions outside roots, powers and
    // indices are stacked; the piece is then a table row of its own when it
    // holds one, and otherwise inline text.
    QString write(bool stacked)
    {
        at_ = 0;
        if (!stacked || !has_fraction()) {
            QString out;
            inline_run(out, MathMark::RootEnd);
            return out;
        }
        return row_until(MathMark::RootEnd);
    }

    bool has_fraction() const
    {
        for (const auto &token : tokens_)
            if (token.mark == MathMark::FractionBegin)
                return true;
        return false;
    }

private:
    // The two rows of one piece: runs of inline text between stacked
    // fractions, up to `stop` at this level or the end; leaves at_ on `stop`.
    QString row_until(MathMark stop)
    {
        QString top = latin1(row_open);
        QString bottom;
        QString cell;
        const auto flush = [&] {
            if (!cell.isEmpty())
                top += latin1(text_cell_open) + cell + QStringLiteral("</td>");
            cell.clear();
        };
        while (at_ < tokens_.size() && tokens_[at_].mark != stop) {
            if (tokens_[at_].mark == MathMark::FractionBegin) {
                ++at_;
                flush();
                top += latin1(numerator_open);
                top += part_until(MathMark::FractionBar);
                skip(MathMark::FractionBar);
                top += QStringLiteral("</td>");
                bottom += latin1(denominator_open);
                bottom += part_until(MathMark::FractionEnd);
                skip(MathMark::FractionEnd);
                bottom += QStringLiteral("</td>");
            } else {
                one_inline(cell);
            }
        }
        flush();
        return top + QStringLiteral("</tr><tr>") + bottom + QStringLiteral("</tr></table>");
    }

    // A numerator or denominator: inline unless it holds a fraction itself.
    QString part_until(MathMark stop)
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
            return row_until(stop);
        QString out;
        inline_run(out, stop);
        return out;
    }

    void skip(MathMark mark)
    {
        if (at_ < tokens_.size() && tokens_[at_].mark == mark)
            ++at_;
    }

    // Inline text up to `stop` at this level; fractions become p/q.
    void inline_run(QString &out, MathMark stop)
    {
        while (at_ < tokens_.size() && tokens_[at_].mark != stop)
            one_inline(out);
    }

    void one_inline(QString &out)
    {
        const MathToken &token = tokens_[at_++];
        switch (token.mark) {
        case MathMark::Text:
            append_escaped(out, token.text);
            break;
        case MathMark::Symbol:
            append_escaped(out, symbol_text(token.text));
            break;
        case MathMark::PowerBegin:
            out += QStringLiteral("<sup>");
            inline_run(out, MathMark::PowerEnd);
            skip(MathMark::PowerEnd);
            out += QStringLiteral("</sup>");
            break;
        case MathMark::IndexBegin:
            out += QStringLiteral("<sub>");
            inline_run(out, MathMark::IndexEnd);
            skip(MathMark::IndexEnd);
            out += QStringLiteral("</sub>");
            break;
        case MathMark::RootBegin:
            out += QStringLiteral("√<span style=\"text-decoration: overline\">");
            inline_run(out, MathMark::RootEnd);
            skip(MathMark::RootEnd);
            out += QStringLiteral("</span>");
            break;
        case MathMark::FractionBegin: {
            // Where it cannot stack (under a root, in an exponent): p/q, in
            // parentheses around each part.
            QString numerator, denominator;
            inline_run(numerator, MathMark::FractionBar);
            skip(MathMark::FractionBar);
            inline_run(denominator, MathMark::FractionEnd);
            skip(MathMark::FractionEnd);
            out += QStringLiteral("(") + numerator + QStringLiteral(")/(") + denominator + QStringLiteral(")");
            break;
        }
        default:
            break; // a stray end mark
        }
    }

    const std::vector<MathToken> &tokens_;
    std::size_t at_ = 0;
};

QString anchor(std::size_t index)
{
    return QStringLiteral("<a name=\"step%1\"></a>").arg(index);
}

// A sentence: a paragraph of its own, or, right after a table, the line
// that always follows a table (a paragraph there would leave that line
// empty, a blank line below every table).
QString line_html(const QString &line, bool after_table)
{
    return after_table ? line : QStringLiteral("<p>") + line + QStringLiteral("</p>");
}

// A sentence and its mathematics: on one line when the mathematics is
// inline, the mathematics below the sentence when it stacks.
QString sentence_and_math(const Step &step, std::size_t index, bool after_table, bool bold = false)
{
    const bool stacks = HtmlWriter(step.math.tokens).has_fraction();
    QString out;
    if (!stacks || !step.text.empty()) {
        QString line = anchor(index);
        append_escaped(line, step.text);
        if (!stacks && !step.math.empty()) {
            if (!step.text.empty())
                line += QLatin1Char(' ');
            line += math_html(step.math, false);
        }
        if (bold)
            line = QStringLiteral("<b>") + line + QStringLiteral("</b>");
        out = line_html(line, after_table);
    }
    if (stacks) {
        const QString math = math_html(step.math, true);
        // A block around the table would open with an empty line.
        out += bold ? QString(math).replace(0, 6, QStringLiteral("<table style=\"font-weight: bold\"")) : math;
    }
    return out;
}

QString table_html(const Step &step, std::size_t index, bool after_table)
{
    QString line = anchor(index);
    append_escaped(line, step.text);
    QString out = line_html(line, after_table);
    out += latin1(sign_table_open);
    for (std::size_t row = 0; row < step.table.size(); ++row) {
        out += QStringLiteral("<tr>");
        for (const Math &cell : step.table[row]) {
            out += row == 0 ? QStringLiteral("<th align=\"center\">") : QStringLiteral("<td align=\"center\">");
            out += math_html(cell, true);
            out += row == 0 ? QStringLiteral("</th>") : QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>");
    }
    return out + QStringLiteral("</table>");
}

} // namespace

QString math_html(const Math &math, bool stacked)
{
    return HtmlWriter(math.tokens).write(stacked);
}

QString working_html(const Working &working)
{
    QString out;
    out.reserve(4096);
    for (std::size_t i = 0; i < working.steps.size(); ++i) {
        const Step &step = working.steps[i];
        const bool after_table = out.endsWith(QLatin1String("</table>"));
        switch (step.kind) {
        case StepKind::Notice:
            out += latin1(notice_open);
            out += sentence_and_math(step, i, false);
            out += QStringLiteral("</td></tr></table>");
            break;
        case StepKind::Table:
            out += table_html(step, i, after_table);
            break;
        case StepKind::Result:
            out += sentence_and_math(step, i, after_table, true);
            break;
        case StepKind::Step:
            out += sentence_and_math(step, i, after_table);
            break;
        }
    }
    return out;
}

} // namespace parvolin
