#pragma once

// The Czech sentences of the working, as a teacher writes them on the board.

#include <string_view>

namespace parvolin::step_texts {

using T = std::string_view;

inline constexpr T normal_form_equation = "Rovnice v základním tvaru:";
inline constexpr T normal_form_inequality = "Nerovnice v základním tvaru:";
inline constexpr T coefficients = "Koeficienty:";
inline constexpr T discriminant = "Diskriminant:";
inline constexpr T two_roots = "D > 0, rovnice má dva různé reálné kořeny.";
inline constexpr T two_zeros = "D > 0, levá strana má dva různé nulové body.";
inline constexpr T double_root = "D = 0, rovnice má jeden dvojnásobný kořen x₀.";
inline constexpr T double_zero = "D = 0, levá strana má jeden dvojnásobný nulový bod x₀.";
inline constexpr T no_root = "D < 0, rovnice nemá v oboru reálných čísel řešení (odmocnina ze záporného čísla neexistuje).";
inline constexpr T no_zero = "D < 0, levá strana nemá žádný nulový bod: parabola osu x neprotíná.";
inline constexpr T simplify_root = "Částečné odmocnění:";
inline constexpr T exact_root = "Odmocnina z diskriminantu vychází přesně:";
inline constexpr T roots = "Kořeny:";
inline constexpr T factored = "Rozklad na součin kořenových činitelů:";
inline constexpr T vieta = "Zkouška podle Viètových vzorců:";
inline constexpr T vieta_holds = "Součet i součin kořenů souhlasí.";
inline constexpr T vieta_holds_double = "Součet i součin kořenů souhlasí (x₁ = x₂ = x₀).";
inline constexpr T no_b_no_c = "Chybí lineární i absolutní člen (b = 0, c = 0):";
inline constexpr T no_b = "Chybí lineární člen (b = 0), diskriminant nepotřebujeme:";
inline constexpr T no_b_negative_equation =
    "Druhá mocnina reálného čísla nemůže být záporná, rovnice nemá v oboru reálných čísel řešení.";
inline constexpr T no_b_negative_inequality =
    "Druhá mocnina reálného čísla nemůže být záporná, levá strana nemá žádný nulový bod.";
inline constexpr T no_c = "Chybí absolutní člen (c = 0), vytkneme x:";
inline constexpr T zero_product = "Součin je roven nule, právě když je roven nule některý z činitelů:";
inline constexpr T opens_up = "parabola je otevřená nahoru.";
inline constexpr T opens_down = "parabola je otevřená dolů.";
inline constexpr T zero_points = "Metoda nulových bodů: nulové body rozdělí číselnou osu na tři intervaly, v nichž mají činitelé tato znaménka:";
inline constexpr T wanted_positive = "Hledáme, kde je výraz kladný";
inline constexpr T wanted_negative = "Hledáme, kde je výraz záporný";
inline constexpr T wanted_zero_too = " nebo roven nule";
inline constexpr T take_plus = ": vyhovují intervaly se znaménkem +";
inline constexpr T take_minus = ": vyhovují intervaly se znaménkem −";
inline constexpr T ends_open = "; nulové body do řešení nepatří (nerovnost je ostrá), intervaly jsou otevřené.";
inline constexpr T ends_closed = "; nulové body do řešení patří (nerovnost není ostrá), intervaly jsou v nich uzavřené.";
inline constexpr T square_sign = "Levá strana je a(x − x₀)²: druhá mocnina je kladná pro každé x ≠ x₀ a nulová pro x = x₀.";
inline constexpr T square_positive = "Výraz je proto kladný pro každé x ≠ x₀.";
inline constexpr T square_negative = "Výraz je proto záporný pro každé x ≠ x₀.";
inline constexpr T above_axis = "Parabola leží celá nad osou x, výraz je kladný pro každé x.";
inline constexpr T below_axis = "Parabola leží celá pod osou x, výraz je záporný pro každé x.";
inline constexpr T every_x = "Nerovnici proto vyhovuje každé reálné číslo x.";
inline constexpr T every_x_but_zero = "Nerovnici proto vyhovuje každé reálné číslo x kromě nulového bodu.";
inline constexpr T only_zero = "Nerovnici proto vyhovuje jen nulový bod, v němž je výraz roven nule.";
inline constexpr T no_x = "Nerovnici proto nevyhovuje žádné reálné číslo x.";
inline constexpr T linear_equation = "a = 0, nejde o kvadratickou, ale o lineární rovnici:";
inline constexpr T linear_inequality = "a = 0, nejde o kvadratickou, ale o lineární nerovnici:";
inline constexpr T move_c = "Absolutní člen převedeme na pravou stranu:";
inline constexpr T divide = "Obě strany vydělíme číslem ";
inline constexpr T divide_positive = " (kladným, znak nerovnosti se nemění):";
inline constexpr T divide_negative = " (záporným, proto se znak nerovnosti obrací):";
inline constexpr T constant = "a = 0 a b = 0: na levé straně zůstává jen číslo, které na x nezávisí:";
inline constexpr T constant_true_equation = "Rovnost platí pro každé x, rovnice má nekonečně mnoho řešení.";
inline constexpr T constant_false_equation = "Rovnost neplatí pro žádné x, rovnice nemá řešení.";
inline constexpr T constant_true_inequality = "Nerovnost platí, ať je x jakékoli: vyhovuje každé reálné číslo.";
inline constexpr T constant_false_inequality = "Nerovnost neplatí, ať je x jakékoli: nevyhovuje žádné reálné číslo.";
inline constexpr T result = "Výsledek:";
inline constexpr T rounded_few = " desetinná místa:";
inline constexpr T rounded_many = " desetinných míst:";
inline constexpr T rounded_prefix = "Zaokrouhleno na ";

// The notice for a report that differs from the exact answer.
inline constexpr T notice_prefix = "Pozor: přesný výpočet se liší od protokolu. Protokol uvádí „";
inline constexpr T notice_exact = "“, přesně vychází ";
inline constexpr T notice_failed_prefix = "Pozor: protokol výpočet nedokončil (";
inline constexpr T notice_failed_exact = "), přesně vychází ";
inline constexpr T notice_failed_reason =
    " Protokol počítá s čísly v pohyblivé řádové čárce, jejichž rozsah zde nestačil.";
inline constexpr T notice_inexact = " Protokol počítá ve dvojkové soustavě s pohyblivou řádovou čárkou, v níž ";
inline constexpr T notice_inexact_one = "číslo ";
inline constexpr T notice_inexact_many = "čísla ";
inline constexpr T notice_inexact_end_one = " nelze zapsat přesně";
inline constexpr T notice_inexact_end_many = " nelze zapsat přesně";
inline constexpr T notice_zero = " je pro protokol tak malé, že s ním počítá jako s nulou";
inline constexpr T notice_d = "; vyšel mu proto diskriminant D ≈ ";
inline constexpr T notice_d_instead = " místo D = ";
inline constexpr T notice_lost = " Při odčítání blízkých čísel v pohyblivé řádové čárce se ztratily platné číslice a kořen se posunul.";
inline constexpr T notice_lost_too = "; při odčítání blízkých čísel se navíc ztratily platné číslice a kořen se posunul.";
inline constexpr T notice_half =
    " Přesná hodnota leží přesně v polovině mezi dvěma zaokrouhlenými; protokol pětku na konci zaokrouhluje k nule, zde od nuly (v absolutní hodnotě nahoru).";

// The line above the report and under the picture where the report differs
// from the exact result; the exact set goes between the two halves.
inline constexpr T banner_prefix = "Pozor: přesně vychází ";
inline constexpr T banner_end = ", protokol se od toho liší. Důvod vysvětluje záložka Postup.";
inline constexpr T banner_failed = "Pozor: protokol výpočet nedokončil, přesně vychází ";
inline constexpr T banner_failed_end = ". Důvod vysvětluje záložka Postup.";

} // namespace parvolin::step_texts
