#pragma once

// The Czech explanations that go with a coefficient the window could not
// read: which field, what is wrong, how to write a number. Beside the fixed
// English failure texts, they tell a pupil what to do.

#include <string_view>

namespace parvolin::entry_texts {

using T = std::string_view;

// The fields as their tooltips name them, with the letter of the general form.
inline constexpr T field_a = "Kvadratický koeficient a";
inline constexpr T field_b = "Lineární koeficient b";
inline constexpr T field_c = "Absolutní koeficient c";

// "<field>: „<text>“ není číslo. Zapište číslo s desetinnou čárkou, např. 2,5."
inline constexpr T not_a_number_open = ": „";
inline constexpr T not_a_number_close = "“ není číslo. ";
inline constexpr T write_with_comma = "Zapište číslo s desetinnou čárkou, např. 2,5.";
inline constexpr T write_with_dot = "Zapište číslo s desetinnou tečkou, např. 2.5.";
// A text too long to quote whole ends in this.
inline constexpr T cut_short = "…";

// The fields accept one separator, the system reads numbers with the other.
inline constexpr T system_uses_dot = "Systém píše čísla s desetinnou tečkou, zvolte „Windows používá tečku“.";
inline constexpr T system_uses_comma = "Systém píše čísla s desetinnou čárkou, zvolte „Windows používá čárku“.";

} // namespace parvolin::entry_texts
