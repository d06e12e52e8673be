#pragma once

// The solver's fixed Czech sentences and sentence pieces, character for
// character. Many carry doubled blanks, a blank before the full stop, or a
// leading or trailing blank; all of them show in the report, the saved
// document and the printout, so none may be "tidied".

#include <string_view>

namespace parvolin::texts {

using T = std::string_view;

// Report frame
inline constexpr T equation_header = "Řešení rovnice ";
inline constexpr T inequality_header = "Řešení nerovnice ";
inline constexpr T inequality_header_less_equal = "Řešení nerovnice"; // no trailing blank
inline constexpr T problem_open = "(";
inline constexpr T problem_x_squared = ") . x^2 + (";
inline constexpr T problem_x = ") . x + (";
inline constexpr T ending_equal = ") = 0 .";
inline constexpr T ending_less = ") < 0";
inline constexpr T ending_greater = ") > 0";
inline constexpr T ending_less_equal = ") <= 0";
inline constexpr T ending_greater_equal = ") >= 0";
inline constexpr T domain_line = "v oboru reálných čísel";
inline constexpr T precision_prefix = "Výpočet byl proveden s přesností na ";
inline constexpr T places_few = "desetinnná místa";   // the tripled "n" is the program's own
inline constexpr T places_many = "desetinnných míst"; // used for 5 and 6

// Document frame
inline constexpr T date_prefix = "Datum:";
inline constexpr T rule_top = "-------------------------------";          // 31
inline constexpr T rule_bottom = "------------------------------------";  // 36
inline constexpr T footer = "Výpočet byl proveden pomocí programu \"Parvolin\" ";

// Shared by several cases
inline constexpr T no_real_x_equation = "Neexistuje reálné číslo x, které vyhovuje zadané rovnici.";
inline constexpr T no_real_x_inequality = "Neexistuje reálné číslo x, které vyhovuje zadané nerovnici.";
inline constexpr T empty_set = "Množina kořenů: prázdná množina K={ }.";
inline constexpr T any_x = "x je libovolné reálné číslo. ";
inline constexpr T all_reals_set = "Množina kořenů : všechna reálná čísla K= R .";

// Equation verdicts
inline constexpr T equation_two_roots = "Zadaná kvadratická rovnice má dva různé reálné kořeny .";
inline constexpr T equation_double_root = "Zadaná kvadratická rovnice má jeden dvojnásobný kořen";
inline constexpr T equation_no_real_root = "Zadaná kvadratická rovnice nemá v oboru reálných čísel řešení .";
inline constexpr T equation_linear = "Zadaná lineární rovnice má  řešení";
inline constexpr T equation_no_solution = "Zadaná lineární rovnice nemá řešení .";
inline constexpr T equation_every_number = "Zadaná lineární rovnice má nekonečně mnoho řešení. ";

// Inequality verdicts
inline constexpr T quadratic_has = "Zadaná kvadratická nerovnice má v oboru reálných čísel řešení .";
inline constexpr T quadratic_has_all = "Zadaná kvadratická nerovnice má v oboru reálných čísel řešení. ";
inline constexpr T quadratic_has_none = "Zadaná kvadratická nerovnice nemá v oboru reálných čísel řešení .";
inline constexpr T quadratic_has_one = "Zadaná kvadratická nerovnice má v oboru reálných čísel jediné řešení .";
inline constexpr T linear_has = "Zadaná lineární nerovnice má v oboru reálných čísel řešení";
inline constexpr T linear_has_above = "Zadaná lineární nerovnice má  v oboru reálných čísel řešení";
inline constexpr T linear_has_all = "Zadaná lineární nerovnice má v oboru reálných čísel řešení. ";
inline constexpr T linear_has_none = "Zadaná lineární nerovnice nemá v oboru reálných čísel řešení .";

} // namespace parvolin::texts
