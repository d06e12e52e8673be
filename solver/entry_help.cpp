#include "solver/entry_help.h"

#include "solver/entry_texts.h"
#include "solver/number_text.h"

namespace parvolin {

namespace {

std::string_view field_name(Coefficient coefficient)
{
    switch (coefficient) {
    case Coefficient::A: return entry_texts::field_a;
    case Coefficient::B: return entry_texts::field_b;
    case Coefficient::C: return entry_texts::field_c;
    }
    return entry_texts::field_a;
}

// At most quoted_text_limit characters of UTF-8 `text`, never cut inside one.
void append_quoted(std::string &out, std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool starts_character = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (starts_character && ++characters > quoted_text_limit) {
            out.append(text.substr(0, i));
            out.append(entry_texts::cut_short);
            return;
        }
    }
    out.append(text);
}

double parse_field(Coefficient coefficient, std::string_view text, char chosen, char regional)
{
    // An empty field counts as 0 without conversion, as in parse_problem.
    if (text.empty())
        return 0.0;
    try {
        return parse_coefficient(text, regional);
    } catch (const ConvertError &) {
        // The same fixed message, now with the field and what to do.
        throw CoefficientError(coefficient, text, conversion_explanation(coefficient, text, chosen, regional));
    }
}

} // namespace

std::string separator_disagreement(char chosen, char regional)
{
    if (chosen == regional)
        return {};
    return std::string(regional == '.' ? entry_texts::system_uses_dot : entry_texts::system_uses_comma);
}

std::string conversion_explanation(Coefficient coefficient, std::string_view text, char chosen, char regional)
{
    std::string out(field_name(coefficient));
    out += entry_texts::not_a_number_open;
    append_quoted(out, text);
    out += entry_texts::not_a_number_close;
    out += regional == '.' ? entry_texts::write_with_dot : entry_texts::write_with_comma;
    const std::string disagreement = separator_disagreement(chosen, regional);
    if (!disagreement.empty()) {
        out += '\n';
        out += disagreement;
    }
    return out;
}

Problem parse_entries(const ProblemInput &input, char chosen, char regional)
{
    // The relation and the places as parse_problem reads them; the texts in
    // order a, b, c, the first bad one ending it.
    Problem problem = parse_problem(ProblemInput{{}, {}, {}, input.relation_index, input.precision_index}, regional);
    problem.a = parse_field(Coefficient::A, input.a_text, chosen, regional);
    problem.b = parse_field(Coefficient::B, input.b_text, chosen, regional);
    problem.c = parse_field(Coefficient::C, input.c_text, chosen, regional);
    return problem;
}

} // namespace parvolin
