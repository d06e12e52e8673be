#include "solver/math_text.h"

#include <algorithm>
#include <cstddef>

namespace parvolin {

namespace {

// One allocation for a typical piece instead of a growth by doubling.
void push(std::vector<MathToken> &tokens, MathMark mark, std::string_view text = {})
{
    if (tokens.capacity() == 0)
        tokens.reserve(8);
    tokens.push_back(MathToken{mark, std::string(text)}); // an aggregate: no emplace with clang 14
}

} // namespace

Math &Math::text(std::string_view run)
{
    if (!tokens.empty() && tokens.back().mark == MathMark::Text)
        tokens.back().text += run;
    else
        push(tokens, MathMark::Text, run);
    return *this;
}

std::string_view school_symbol(std::string_view name)
{
    if (name == "oo")
        return "∞";
    if (name == "U")
        return "∪";
    if (name == "R")
        return "ℝ";
    if (name == "<")
        return "⟨";
    if (name == ">")
        return "⟩";
    return name;
}

Math &Math::symbol(std::string_view name)
{
    push(tokens, MathMark::Symbol, name);
    return *this;
}

Math &Math::mark(MathMark mark)
{
    push(tokens, mark);
    return *this;
}

Math &Math::append(const Math &other)
{
    if (tokens.capacity() < tokens.size() + other.tokens.size())
        tokens.reserve(std::max<std::size_t>(8, tokens.size() + other.tokens.size()));
    for (const auto &token : other.tokens) {
        if (token.mark == MathMark::Text)
            text(token.text);
        else
            push(tokens, token.mark, token.text);
    }
    return *this;
}

namespace {

constexpr std::string_view kSuperscriptDigits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
constexpr std::string_view kSubscriptDigits[] = {"₀", "₁", "₂", "₃", "₄", "₅", "₆", "₇", "₈", "₉"};
constexpr std::string_view kMinus = "−";

bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }

// Digits, and a leading minus, as superscripts; false when the text has anything else.
bool to_superscript(std::string_view text, std::string &out)
{
    std::string result;
    if (text.starts_with(kMinus)) {
        result += "⁻";
        text.remove_prefix(kMinus.size());
    }
    if (text.empty())
        return false;
    for (char ch : text) {
        if (!is_digit(ch))
            return false;
        result += kSuperscriptDigits[ch - '0'];
    }
    out += result;
    return true;
}

// Digits and commas as subscripts (x₁,₂); false for anything else.
bool to_subscript(std::string_view text, std::string &out)
{
    std::string result;
    for (char ch : text) {
        if (is_digit(ch))
            result += kSubscriptDigits[ch - '0'];
        else if (ch == ',')
            result += ',';
        else
            return false;
    }
    out += result;
    return !text.empty();
}

// One term that a slash may follow or precede without parentheses: a number,
// a letter, a multiple of a root, any with a minus; not "2a" or "3 ± √5".
bool is_one_term(std::string_view text)
{
    if (text.empty() || text.find_first_of(" /") != std::string_view::npos)
        return false;
    bool digits = false;
    bool others = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (is_digit(ch) || ch == ',' || ch == '.')
            digits = true;
        else if (text.compare(i, 3, "√") == 0)
            i += 2; // a root belongs to the term: 4√3/2 is (4√3)/2
        else if (!(i == 0 && text.starts_with(kMinus)) && (static_cast<unsigned char>(ch) & 0xC0) != 0x80)
            others = true;
        if (i == 0 && text.starts_with(kMinus))
            i += kMinus.size() - 1;
    }
    return !(digits && others);
}

// A radicand that needs no parentheses: digits, perhaps with a decimal separator.
bool is_digits(std::string_view text)
{
    return !text.empty() && is_digit(text.front()) && is_digit(text.back()) &&
           std::all_of(text.begin(), text.end(), [](char ch) { return is_digit(ch) || ch == ',' || ch == '.'; });
}

// `part`, in parentheses unless it stands alone.
void bracketed(std::string &out, const std::string &part, bool alone)
{
    if (!alone)
        out += '(';
    out += part;
    if (!alone)
        out += ')';
}

class PlainWriter {
public:
    explicit PlainWriter(const std::vector<MathToken> &tokens) : tokens_(tokens) {}

    // Writes tokens from `at` up to the first mark in `stops` at this level
    // (or the end) and leaves `at` on that mark.
    std::string run(std::initializer_list<MathMark> stops)
    {
        std::string out;
        run(out, stops);
        return out;
    }

    void run(std::string &out, std::initializer_list<MathMark> stops)
    {
        while (at_ < tokens_.size()) {
            const MathToken &token = tokens_[at_];
            if (std::find(stops.begin(), stops.end(), token.mark) != stops.end())
                return;
            ++at_;
            switch (token.mark) {
            case MathMark::Text:
                out += token.text;
                break;
            case MathMark::Symbol:
                out += school_symbol(token.text);
                break;
            case MathMark::PowerBegin: {
                const std::string inner = run({MathMark::PowerEnd});
                ++at_;
                if (!to_superscript(inner, out))
                    out += "^(" + inner + ")";
                break;
            }
            case MathMark::IndexBegin: {
                const std::string inner = run({MathMark::IndexEnd});
                ++at_;
                if (!to_subscript(inner, out))
                    out += "_" + inner;
                break;
            }
            case MathMark::FractionBegin: {
                const std::string numerator = run({MathMark::FractionBar});
                ++at_;
                const std::string denominator = run({MathMark::FractionEnd});
                ++at_;
                bracketed(out, numerator, is_one_term(numerator));
                out += '/';
                bracketed(out, denominator, is_one_term(denominator));
                break;
            }
            case MathMark::RootBegin: {
                const std::string radicand = run({MathMark::RootEnd});
                ++at_;
                out += "√";
                bracketed(out, radicand, is_digits(radicand));
                break;
            }
            case MathMark::PowerEnd:
            case MathMark::IndexEnd:
            case MathMark::FractionBar:
            case MathMark::FractionEnd:
            case MathMark::RootEnd:
                break; // an unpaired closing mark writes nothing
            }
        }
    }

private:
    const std::vector<MathToken> &tokens_;
    std::size_t at_ = 0;
};

// Characters as a terminal shows them, counting each UTF-8 sequence once.
std::size_t display_width(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; }));
}

} // namespace

std::string plain_text(const Math &math)
{
    std::string out;
    append_plain_text(out, math);
    return out;
}

void append_plain_text(std::string &out, const Math &math)
{
    PlainWriter writer(math.tokens);
    writer.run(out, {});
}

void append_plain_lines(std::vector<std::string> &lines, const Step &step)
{
    // Room for a usual line at once, not grown three times over.
    std::string line;
    line.reserve(step.text.size() + 8 * step.math.tokens.size() + 16);
    line = step.text;
    if (!step.math.empty()) {
        if (!line.empty())
            line += ' ';
        append_plain_text(line, step.math);
    }
    if (!line.empty())
        lines.push_back(std::move(line));

    std::vector<std::vector<std::string>> cells;
    std::vector<std::size_t> widths;
    for (const auto &row : step.table) {
        auto &texts = cells.emplace_back();
        for (std::size_t column = 0; column < row.size(); ++column) {
            texts.push_back(plain_text(row[column]));
            if (widths.size() <= column)
                widths.push_back(0);
            widths[column] = std::max(widths[column], display_width(texts.back()));
        }
    }
    for (const auto &texts : cells) {
        std::string row_line;
        for (std::size_t column = 0; column < texts.size(); ++column) {
            if (column > 0)
                row_line += " | ";
            row_line += texts[column];
            if (column + 1 < texts.size())
                row_line.append(widths[column] - display_width(texts[column]), ' ');
        }
        lines.push_back(std::move(row_line));
    }
}

std::vector<std::string> plain_lines(const Working &working)
{
    std::vector<std::string> lines;
    lines.reserve(working.steps.size() + 4);
    for (const auto &step : working.steps)
        append_plain_lines(lines, step);
    return lines;
}

} // namespace parvolin
