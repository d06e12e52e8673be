#pragma once

// The Czech texts of practice: what the answer reader cannot read, and the
// verdicts on an answer. "{}" stands for the place or the number filled in.

#include <string_view>

namespace parvolin::practice_texts {

using T = std::string_view;

// The reader; every message names the character where it stopped.
inline constexpr T empty_answer =
    "Odpověď je prázdná. Napište množinu řešení, např. K = { 2 ; 3 }, K = (−oo ; 1) U (4 ; oo), K = R nebo K = ∅.";
inline constexpr T unexpected = "Na {}. místě odpovědi je znak, kterému nerozumím.";
inline constexpr T expected_number = "Na {}. místě má být číslo.";
inline constexpr T expected_semicolon = "Na {}. místě má být středník, který odděluje meze intervalu.";
inline constexpr T expected_close = "Na {}. místě má být pravá závorka intervalu, ) nebo >.";
inline constexpr T expected_brace = "Na {}. místě má být středník před dalším prvkem nebo závorka }, která výčet končí.";
inline constexpr T sqrt_without_paren = "Za sqrt na {}. místě patří číslo v závorce, např. sqrt(5); nebo pište √5.";
inline constexpr T expected_paren = "Na {}. místě chybí zavírací závorka ).";
inline constexpr T trailing = "Za koncem množiny na {}. místě je ještě další text.";
inline constexpr T comma_list = "Na {}. místě je čárka s mezerou: čísla v množině oddělujte středníkem, desetinnou čárku pište bez mezery.";
inline constexpr T division_by_zero = "Na {}. místě se dělí nulou.";
inline constexpr T negative_root = "Na {}. místě je odmocnina ze záporného čísla, ta v oboru reálných čísel neexistuje.";
inline constexpr T two_roots = "Číslo na {}. místě má dvě různé odmocniny; zapište ho jednodušeji.";
inline constexpr T root_of_root = "Na {}. místě je odmocnina z čísla, které samo obsahuje odmocninu; zapište ho jednodušeji.";
inline constexpr T too_deep = "Na {}. místě je v sobě příliš mnoho závorek, znamének nebo odmocnin; zapište číslo jednodušeji.";
inline constexpr T infinity_point = "Nekonečno na {}. místě může být jen mezí intervalu, ne prvkem množiny.";
inline constexpr T infinity_closed = "U nekonečna na {}. místě má být kulatá závorka: nekonečno do intervalu nepatří.";
inline constexpr T infinity_side = "Na {}. místě stojí nekonečno na špatné straně: vlevo se píše −oo, vpravo oo.";
inline constexpr T plus_minus_end =
    "Na {}. místě je ±, ale tady má stát jedno číslo: mez intervalu nebo nerovnosti pište zvlášť.";
inline constexpr T plus_minus_here = "Na {}. místě je ± tam, kde mu nerozumím; obě čísla zapište zvlášť, např. { 1 ; 3 }.";
inline constexpr T expected_relation = "Na {}. místě má za x být =, <, >, ≤, ≥, ≠ nebo ∈.";
inline constexpr T expected_x = "Na {}. místě má být x, např. 1 < x < 2.";
inline constexpr T list_semicolon = "Na {}. místě začíná další číslo: čísla oddělujte středníkem, např. 1 ; 2.";
inline constexpr T mixed_relations = "Znaménko na {}. místě míří jinam než první: pište např. 1 < x < 2 nebo 2 > x > 1.";
inline constexpr T reversed_condition = "Podmínce na {}. místě nevyhovuje žádné x: menší číslo patří vlevo, např. 1 < x < 2.";
inline constexpr T conjunction =
    "Na {}. místě se podmínky spojují „a“: zapište je jako 1 < x < 2 nebo intervalem, např. K = (1 ; 2).";
inline constexpr T reversed = "Interval začatý na {}. místě má levou mez větší nebo rovnou pravé; menší číslo patří vlevo.";

// The verdicts, and what the practice view (and the command line's check)
// puts before a wrong or a rounded one.
inline constexpr T right = "Správně!";
inline constexpr T wrong_lead = "To není správně.";
inline constexpr T rounded_lead = "Skoro.";
inline constexpr T wrong_root = "Číslo {} není kořenem rovnice.";
inline constexpr T wrong_end = "Číslo {} není nulovým bodem levé strany, mezí řešení proto být nemůže.";
inline constexpr T rounded_end = "Číslo {} je jen přibližná hodnota; zapište ho přesně (zlomkem nebo odmocninou).";
inline constexpr T should_be_open = "U čísla {} má být kulatá závorka: do řešení nepatří.";
inline constexpr T should_be_closed = "U čísla {} má být lomená závorka: do řešení patří.";
inline constexpr T missing_root = "Chybí kořen: rovnice má ještě další řešení.";
inline constexpr T missing_part = "Chybí část řešení: například číslo {} nerovnici vyhovuje, ale v odpovědi není.";
inline constexpr T extra_part = "Odpověď obsahuje i čísla, která nevyhovují, například {}.";

} // namespace parvolin::practice_texts

namespace parvolin::worksheet_texts {

using T = std::string_view;

inline constexpr T title_equations = "Kvadratické rovnice";
inline constexpr T title_inequalities = "Kvadratické nerovnice";
inline constexpr T title_both = "Kvadratické rovnice a nerovnice";
inline constexpr T title_linear_equations = "Lineární rovnice";
inline constexpr T title_linear_inequalities = "Lineární nerovnice";
inline constexpr T title_linear_both = "Lineární rovnice a nerovnice";
inline constexpr T name = "Jméno: ______________________________";
inline constexpr T form = "Třída: ________";
inline constexpr T date = "Datum: ";
inline constexpr T number = "Pracovní list č. ";
inline constexpr T task =
    "V oboru reálných čísel řešte. Množinu kořenů K zapište výčtem prvků nebo intervaly, kořeny přesně (zlomkem "
    "nebo odmocninou).";
inline constexpr T key_title = "Výsledky k pracovnímu listu č. ";
inline constexpr T steps_title = "Postup řešení";

} // namespace parvolin::worksheet_texts
