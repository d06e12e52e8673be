#include "solver/steps.h"

#include "solver/ascii.h"
#include "solver/failures.h"
#include "solver/roots.h"
#include "solver/step_texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace parvolin {

namespace {

using namespace step_texts;

constexpr std::string_view kMinus = "−";

// Every number the set names: its points, the finite ends of its intervals,
// the points it leaves out.
// Pointers into `set`, which outlives them: no number is copied.
std::vector<const Surd *> finite_ends(const ExactSet &set)
{
    std::vector<const Surd *> ends;
    ends.reserve(set.points.size() + 2 * set.intervals.size() + set.excluded.size());
    for (const auto &point : set.points)
        ends.push_back(&point);
    for (const auto &piece : set.intervals) {
        if (piece.lower.infinity == 0)
            ends.push_back(&piece.lower.value);
        if (piece.upper.infinity == 0)
            ends.push_back(&piece.upper.value);
    }
    for (const auto &point : set.excluded)
        ends.push_back(&point);
    return ends;
}

// The relation after both sides are divided by a negative number.
Relation turned(Relation relation)
{
    switch (relation) {
    case Relation::Less: return Relation::Greater;
    case Relation::Greater: return Relation::Less;
    case Relation::LessEqual: return Relation::GreaterEqual;
    case Relation::GreaterEqual: return Relation::LessEqual;
    case Relation::Equal: break;
    }
    return Relation::Equal;
}

class StepWriter {
public:
    StepWriter(const Rational &a, const Rational &b, const Rational &c, Relation relation, int places,
               char separator)
        : a_(a), b_(b), c_(c), relation_(relation), places_(places)
    {
        const bool integers = denominator(a) == 1 && denominator(b) == 1 && denominator(c) == 1;
        format_ = {separator, integers ? NumberStyle::Fractions : NumberStyle::Decimals};
        working_.steps.reserve(24);
    }

    Working write(const ExactAnalysis &exact)
    {
        switch (exact.grade) {
        case Grade::Quadratic: quadratic(exact); break;
        case Grade::Linear: linear(exact); break;
        case Grade::Constant: constant(exact); break;
        }
        result(exact.set);
        // A sentence alone does not end in a colon: nothing follows it.
        for (Step &step : working_.steps) {
            if (step.kind == StepKind::Step && step.math.tokens.empty() && step.table.empty() &&
                step.text.ends_with(':'))
                step.text.back() = '.';
        }
        return std::move(working_);
    }

    // K = ... in the report's notation, exact ends, or rounded ones ("K ≐ ...").
    Math set_math(const ExactSet &set, bool rounded = false) const
    {
        const auto value = [&](Math &math, const Surd &v) {
            if (!rounded) {
                number(math, v);
                return;
            }
            const RoundedValue r = round_to_places(v, places_);
            math.text(decimal_text(r.scaled, places_, format_.separator, true));
        };
        Math math;
        math.text(rounded ? "K ≐ " : "K = ");
        switch (set.kind) {
        case SetKind::Empty: math.symbol("∅"); break;
        case SetKind::AllReals: math.symbol("R"); break;
        case SetKind::Points:
            math.text("{ ");
            for (std::size_t i = 0; i < set.points.size(); ++i) {
                if (i > 0)
                    math.text(" ; ");
                value(math, set.points[i]);
            }
            math.text(" }");
            break;
        case SetKind::Intervals:
        case SetKind::AllRealsExcept: {
            std::vector<ExactInterval> around; // the two rays beside the one point left out
            if (set.kind == SetKind::AllRealsExcept) {
                around = {{{-1, {}}, false, {0, set.excluded[0]}, false}, {{0, set.excluded[0]}, false, {1, {}}, false}};
            }
            const std::vector<ExactInterval> &pieces = set.kind == SetKind::AllRealsExcept ? around : set.intervals;
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                if (i > 0)
                    math.text(" ").symbol("U").text(" ");
                const auto &piece = pieces[i];
                if (piece.lower_closed)
                    math.symbol("<");
                else
                    math.text("(");
                const auto bound = [&](const ExactEnd &e) {
                    if (e.infinity == 0)
                        value(math, e.value);
                    else
                        end(math, e);
                };
                bound(piece.lower);
                math.text(" ; ");
                bound(piece.upper);
                if (piece.upper_closed)
                    math.symbol(">");
                else
                    math.text(")");
            }
            break;
        }
        }
        return math;
    }

    const NumberFormat &format() const { return format_; }

    Math normal_form() const { return relation_math(polynomial(a_, b_, c_), relation_, 0); }

private:
    void step(std::string_view text, Math &&math = Math{}, StepKind kind = StepKind::Step)
    {
        working_.steps.push_back({kind, std::string(text), std::move(math), {}});
    }

    void number(Math &math, const Rational &value, Wrap wrap = Wrap::None) const { put_number(math, value, format_, wrap); }
    void number(Math &math, const Surd &value, Wrap wrap = Wrap::None) const { put_number(math, value, format_, wrap); }

    void end(Math &math, const ExactEnd &e) const
    {
        if (e.infinity < 0)
            math.text(kMinus);
        if (e.infinity != 0)
            math.symbol("oo");
        else
            number(math, e.value);
    }

    // The value and, unless it says the same, its decimal: " ≐ 0,38", " = 0,5".
    void number_and_decimal(Math &math, const Surd &value) const
    {
        number(math, value);
        if (value.is_rational() && value.w == 1)
            return;
        const RoundedValue rounded = round_to_places(value, places_);
        if (rounded.exact && format_.style == NumberStyle::Decimals && value.is_rational())
            return;
        math.text(rounded.exact ? " = " : " ≐ ");
        math.text(decimal_text(rounded.scaled, places_, format_.separator, rounded.exact));
    }

    static void x_power(Math &math, int power)
    {
        math.text("x");
        if (power == 2)
            math.mark(MathMark::PowerBegin).text("2").mark(MathMark::PowerEnd);
    }

    // c·x^power as a term; `first` writes a leading minus, later terms " − ".
    void term(Math &math, const Rational &coefficient, int power, bool first) const
    {
        if (coefficient < 0)
            math.text(first ? kMinus : " − ");
        else if (!first)
            math.text(" + ");
        const Rational magnitude = abs(coefficient);
        if (magnitude != 1 || power == 0)
            number(math, magnitude, power == 0 ? Wrap::None : Wrap::Factor);
        if (power > 0)
            x_power(math, power);
    }

    Math polynomial(const Rational &a, const Rational &b, const Rational &c) const
    {
        Math math;
        bool first = true;
        const Rational *coefficients[] = {&a, &b, &c};
        for (int power = 2; power >= 0; --power) {
            const Rational &coefficient = *coefficients[2 - power];
            if (coefficient == 0)
                continue;
            term(math, coefficient, power, first);
            first = false;
        }
        if (first)
            math.text("0");
        return math;
    }

    Math relation_math(Math left, Relation relation, const Rational &right) const
    {
        left.text(relation_sign(relation));
        number(left, right);
        return left;
    }

    static Math index(std::string_view name, std::string_view subscript)
    {
        Math math;
        math.text(name).mark(MathMark::IndexBegin).text(subscript).mark(MathMark::IndexEnd);
        return math;
    }

    // numerator/denominator at the end of `math`, as append(fraction(...)) puts it.
    static Math &put_fraction(Math &math, const Math &numerator, const Math &denominator)
    {
        math.mark(MathMark::FractionBegin).append(numerator).mark(MathMark::FractionBar).append(denominator);
        return math.mark(MathMark::FractionEnd);
    }

    static Math fraction(const Math &numerator, const Math &denominator)
    {
        Math math;
        math.mark(MathMark::FractionBegin).append(numerator).mark(MathMark::FractionBar).append(denominator);
        math.mark(MathMark::FractionEnd);
        return math;
    }

    static Math plain(std::string_view text) { return Math().text(text); }

    // The factor (x − r), written without a double sign.
    void linear_factor(Math &math, const Surd &root) const
    {
        if (sign(root) == 0) {
            math.text("x");
            return;
        }
        math.text("(x");
        if (root.is_rational() || root.w != 1) {
            // x − (−5 − √13)/6 is written x + (5 + √13)/6
            const bool negative = root.u < 0;
            const Wrap wrap = root.is_rational() ? Wrap::None : Wrap::Factor;
            math.text(negative ? " + " : " − ");
            if (negative) {
                Surd opposite = root;
                opposite.u = -root.u;
                opposite.v = -root.v;
                number(math, opposite, wrap);
            } else {
                number(math, root, wrap);
            }
        } else {
            Surd opposite = root;
            opposite.u = -root.u;
            opposite.v = -root.v;
            math.text(opposite.u < 0 || (opposite.u == 0 && opposite.v < 0) ? " " : " + ");
            Math rest;
            number(rest, opposite);
            // "x − 1 + √3": the leading minus of the rest spaced like an operator
            if (!rest.tokens.empty() && rest.tokens[0].mark == MathMark::Text &&
                rest.tokens[0].text.starts_with(kMinus))
                rest.tokens[0].text.replace(0, kMinus.size(), "− ");
            math.append(rest);
        }
        math.text(")");
    }

    // a before the factors: "2", "−", "−2", never "(−2)"
    void leading(Math &math) const
    {
        if (a_ < 0)
            math.text(kMinus);
        if (abs(a_) != 1)
            number(math, abs(a_), Wrap::Factor);
    }

    void quadratic(const ExactAnalysis &exact)
    {
        const bool equation = relation_ == Relation::Equal;
        step(equation ? normal_form_equation : normal_form_inequality,
             relation_math(polynomial(a_, b_, c_), relation_, 0));
        Math coefficient_math;
        coefficient_math.text("a = ");
        number(coefficient_math, a_);
        coefficient_math.text(", b = ");
        number(coefficient_math, b_);
        coefficient_math.text(", c = ");
        number(coefficient_math, c_);
        step(coefficients, std::move(coefficient_math));

        if (b_ == 0)
            without_b(exact);
        else if (c_ == 0)
            without_c();
        else
            with_discriminant(exact);

        if (!exact.zeros.empty())
            factor_and_check(exact);
        if (!equation)
            quadratic_signs(exact);
    }

    void with_discriminant(const ExactAnalysis &exact)
    {
        const bool equation = relation_ == Relation::Equal;
        const Rational &d = exact.discriminant;
        const Rational b_squared = b_ * b_;
        const Rational four_ac = 4 * a_ * c_;
        Math math;
        math.text("D = b").mark(MathMark::PowerBegin).text("2").mark(MathMark::PowerEnd).text(" − 4ac = ");
        number(math, b_, Wrap::Base);
        math.mark(MathMark::PowerBegin).text("2").mark(MathMark::PowerEnd).text(" − 4 · ");
        number(math, a_, Wrap::Factor);
        math.text(" · ");
        number(math, c_, Wrap::Factor);
        math.text(" = ");
        number(math, b_squared);
        math.text(four_ac < 0 ? " + " : " − ");
        number(math, abs(four_ac));
        math.text(" = ");
        number(math, d);
        step(step_texts::discriminant, std::move(math));

        if (d < 0) {
            step(equation ? no_root : no_zero);
            return;
        }
        const Math two_a = [&] {
            Math m;
            m.text("2 · ");
            number(m, a_, Wrap::Factor);
            return m;
        }();
        Math minus_b;
        number(minus_b, -b_);
        if (d == 0) {
            step(equation ? double_root : double_zero);
            Math root = index("x", "0");
            put_fraction(root.text(" = "), plain("−b"), plain("2a")).text(" = ");
            put_fraction(root, minus_b, two_a).text(" = ");
            number_and_decimal(root, exact.zeros[0]);
            step(roots, std::move(root));
            return;
        }
        step(equation ? two_roots : two_zeros);
        const Surd root_d = make_surd(0, 1, d);
        Math formula = index("x", "1,2");
        put_fraction(formula.text(" = "), plain("−b ± √D"), plain("2a")).text(" = ");
        Math top = std::move(minus_b);
        top.text(" ± ").mark(MathMark::RootBegin);
        number(top, d);
        top.mark(MathMark::RootEnd);
        put_fraction(formula, top, two_a);
        const bool simplifies = root_d.is_rational() || root_d.u != 0 || root_d.v != 1 || root_d.w != 1 || root_d.m != d;
        std::string last_form;
        if (simplifies) {
            Math root_math;
            root_math.text("√D = ").mark(MathMark::RootBegin);
            number(root_math, d);
            root_math.mark(MathMark::RootEnd).text(" = ");
            number(root_math, root_d);
            // √9 = 3 is a root taken whole, √48 = 4√3 partly
            step(root_d.is_rational() ? exact_root : simplify_root, std::move(root_math));
            // A negative 2a is multiplied out: (−b ± √D)/(2a) = (b ± √D)/(−2a),
            // the ± standing for both signs either way.
            Math simplified;
            number(simplified, a_ > 0 ? Rational(-b_) : b_);
            simplified.text(" ± ");
            number(simplified, root_d, Wrap::Factor);
            Math denominator;
            number(denominator, abs(2 * a_));
            const Math form = fraction(simplified, denominator);
            last_form = plain_text(form);
            formula.text(" = ").append(form);
        }
        const Surd &larger = exact.zeros[1];
        if (!larger.is_rational()) {
            Math form;
            put_plus_minus(form, larger, format_);
            if (plain_text(form) != last_form) // no "(39 ± 5√53)/2 = (39 ± 5√53)/2"
                formula.text(" = ").append(form);
        }
        step(roots, std::move(formula));

        // x₁ with the plus sign of the last form (its denominator positive):
        // the larger root, as for ±√ without b
        const Surd &first = exact.zeros[1];
        const Surd &second = exact.zeros[0];
        Math each = index("x", "1");
        each.text(" = ");
        number_and_decimal(each, first);
        each.text(", ").append(index("x", "2")).text(" = ");
        number_and_decimal(each, second);
        step({}, std::move(each));
    }

    void without_b(const ExactAnalysis &exact)
    {
        const bool equation = relation_ == Relation::Equal;
        if (c_ == 0) {
            Math math;
            if (a_ != 1) { // not "x² = 0 ⇒ x² = 0"
                leading(math);
                x_power(math, 2);
                math.text(" = 0 ⇒ ");
            }
            x_power(math, 2);
            math.text(" = 0 ⇒ ").append(index("x", "0")).text(" = 0");
            step(no_b_no_c, std::move(math));
            return;
        }
        const Rational square = -c_ / a_;
        Math math;
        leading(math);
        x_power(math, 2);
        math.text(" = ");
        number(math, -c_);
        if (a_ != 1) {
            math.text(" ⇒ ");
            x_power(math, 2);
            math.text(" = ");
            number(math, square);
        }
        step(no_b, std::move(math));
        if (square < 0) {
            step(equation ? no_b_negative_equation : no_b_negative_inequality);
            return;
        }
        Math root = index("x", "1,2");
        root.text(" = ±").mark(MathMark::RootBegin);
        number(root, square);
        root.mark(MathMark::RootEnd);
        const Surd &larger = exact.zeros[1];
        if (larger.is_rational()) {
            root.text(" = ±");
            number(root, larger);
        } else if (!(larger.v == 1 && larger.w == 1 && square == Rational(larger.m))) {
            root.text(" = ");
            put_plus_minus(root, larger, format_);
        }
        step(roots, std::move(root));
        zeros_line(exact);
    }

    void without_c()
    {
        Math math;
        math.text("x(");
        Math inner; // a x + b
        term(inner, a_, 1, true);
        term(inner, b_, 0, false);
        math.append(inner).text(")").text(relation_sign(relation_)).text("0");
        step(no_c, std::move(math));
        Math roots_math = index("x", "1");
        roots_math.text(" = 0, ").append(inner).text(" = 0 ⇒ ").append(index("x", "2")).text(" = ");
        number_and_decimal(roots_math, make_surd(-b_ / a_));
        step(zero_product, std::move(roots_math));
    }

    // x₁,₂ = ±√...: x₁ with the plus sign, as after the discriminant.
    void zeros_line(const ExactAnalysis &exact)
    {
        Math each = index("x", "1");
        each.text(" = ");
        number_and_decimal(each, exact.zeros[1]);
        each.text(", ").append(index("x", "2")).text(" = ");
        number_and_decimal(each, exact.zeros[0]);
        step({}, std::move(each));
    }

    static Rational sum(const Surd &x, const Surd &y)
    {
        // Two roots of one quadratic: rational both, or conjugate surds.
        return ratio(x.u, x.w) + ratio(y.u, y.w);
    }

    static Rational product(const Surd &x, const Surd &y)
    {
        if (x.is_rational())
            return x.rational() * y.rational();
        return ratio(x.u * x.u - x.v * x.v * x.m, x.w * x.w);
    }

    void factor_and_check(const ExactAnalysis &exact)
    {
        Math math = polynomial(a_, b_, c_);
        math.text(" = ");
        leading(math);
        const bool twice = exact.zeros.size() == 1;
        const Surd &x1 = exact.zeros[0];
        const Surd &x2 = twice ? exact.zeros[0] : exact.zeros[1];
        if (twice) {
            linear_factor(math, x1);
            math.mark(MathMark::PowerBegin).text("2").mark(MathMark::PowerEnd);
        } else {
            factor_pair(math, x1, x2);
        }
        step(factored, std::move(math));

        // A double root x₀ is both x₁ and x₂: 2x₀ and x₀² are checked.
        Math check = index("x", "1");
        check.text(" + ").append(index("x", "2")).text(" = ");
        if (twice)
            check.text("2").append(index("x", "0")).text(" = ");
        const Rational roots_sum = sum(x1, x2);
        const Rational roots_product = product(x1, x2);
        number(check, roots_sum);
        check.text(" = −b/a, ").append(index("x", "1")).text(" · ").append(index("x", "2")).text(" = ");
        if (twice)
            check.append(index("x", "0")).mark(MathMark::PowerBegin).text("2").mark(MathMark::PowerEnd).text(" = ");
        number(check, roots_product);
        check.text(" = c/a");
        const bool holds = roots_sum == -b_ / a_ && roots_product == c_ / a_;
        step(vieta, std::move(check));
        if (holds)
            step(twice ? vieta_holds_double : vieta_holds);
    }

    // (x − 2)(x − 3), and x first when one root is 0: x(x + 3).
    void factor_pair(Math &math, const Surd &low, const Surd &high) const
    {
        const bool zero_high = sign(high) == 0;
        linear_factor(math, zero_high ? high : low);
        linear_factor(math, zero_high ? low : high);
    }

    static std::string_view sign_text(int s) { return s > 0 ? "+" : "−"; }

    void quadratic_signs(const ExactAnalysis &exact)
    {
        Math opening;
        opening.text("a = ");
        number(opening, a_);
        opening.text(a_ > 0 ? " > 0" : " < 0");
        step(a_ > 0 ? opens_up : opens_down, std::move(opening));
        // the sentence follows its mathematics here: "a = 2 > 0, parabola ..."
        auto &last = working_.steps.back();
        last.math.text(", ").text(last.text);
        last.text.clear();

        const bool strict = is_strict(relation_);
        const bool positive = relation_ == Relation::Greater || relation_ == Relation::GreaterEqual;
        const int a_sign = a_ > 0 ? 1 : -1;
        if (exact.zeros.size() == 2) {
            Step table{StepKind::Table, std::string(zero_points), {}, {}};
            const Surd &low = exact.zeros[0];
            const Surd &high = exact.zeros[1];
            Math product_header;
            leading(product_header);
            factor_pair(product_header, low, high);
            Math low_factor, high_factor;
            linear_factor(low_factor, low);
            linear_factor(high_factor, high);
            const bool a_column = a_ != 1 && a_ != -1;
            table.table.reserve(4);
            MathRow &header = table.table.emplace_back();
            header.reserve(5);
            header.push_back(plain("x ∈"));
            if (a_column) {
                Math &a_header = header.emplace_back();
                a_header.text("a = ");
                number(a_header, a_);
            }
            header.push_back(std::move(low_factor));
            header.push_back(std::move(high_factor));
            header.push_back(std::move(product_header));
            // −∞, the zeros, ∞
            const auto put_end = [&](Math &math, int which) {
                if (which == 0)
                    math.text(kMinus).symbol("oo");
                else if (which == 3)
                    math.symbol("oo");
                else
                    number(math, which == 1 ? low : high);
            };
            for (int piece = 0; piece < 3; ++piece) {
                Math interval;
                interval.text("(");
                put_end(interval, piece);
                interval.text(" ; ");
                put_end(interval, piece + 1);
                interval.text(")");
                const int low_sign = piece == 0 ? -1 : 1;
                const int high_sign = piece == 2 ? 1 : -1;
                MathRow &row = table.table.emplace_back();
                row.reserve(5);
                row.push_back(std::move(interval));
                if (a_column)
                    row.push_back(plain(sign_text(a_sign)));
                row.push_back(plain(sign_text(low_sign)));
                row.push_back(plain(sign_text(high_sign)));
                row.push_back(plain(sign_text(a_sign * low_sign * high_sign)));
            }
            working_.steps.push_back(std::move(table));
            std::string wanted(positive ? wanted_positive : wanted_negative);
            if (!strict)
                wanted += wanted_zero_too;
            wanted += positive ? take_plus : take_minus;
            wanted += strict ? ends_open : ends_closed;
            step(wanted);
            return;
        }
        if (exact.zeros.size() == 1) {
            step(square_sign);
            step(a_ > 0 ? square_positive : square_negative);
        } else {
            step(a_ > 0 ? above_axis : below_axis);
        }
        switch (exact.set.kind) {
        case SetKind::AllReals: step(every_x); break;
        case SetKind::AllRealsExcept: step(every_x_but_zero); break;
        case SetKind::Points: step(only_zero); break;
        default: step(no_x); break;
        }
    }

    void linear(const ExactAnalysis &exact)
    {
        const bool equation = relation_ == Relation::Equal;
        step(equation ? linear_equation : linear_inequality, relation_math(polynomial(0, b_, c_), relation_, 0));
        Math moved;
        term(moved, b_, 1, true);
        moved = relation_math(moved, relation_, -c_);
        if (c_ != 0)
            step(move_c, std::move(moved));
        const Surd &root = exact.zeros[0];
        if (b_ != 1) {
            Math divided;
            divided.text("x").text(relation_sign(b_ < 0 ? turned(relation_) : relation_));
            number_and_decimal(divided, root);
            std::string sentence(divide);
            Math divisor;
            number(divisor, b_);
            sentence += plain_text(divisor);
            sentence += equation ? std::string_view(":") : b_ < 0 ? divide_negative : divide_positive;
            step(sentence, std::move(divided));
        }
    }

    void constant(const ExactAnalysis &exact)
    {
        const bool equation = relation_ == Relation::Equal;
        step(step_texts::constant, relation_math(polynomial(0, 0, c_), relation_, 0));
        const bool holds = exact.set.kind == SetKind::AllReals;
        if (equation)
            step(holds ? constant_true_equation : constant_false_equation);
        else
            step(holds ? constant_true_inequality : constant_false_inequality);
    }

    void result(const ExactSet &set)
    {
        step(step_texts::result, set_math(set), StepKind::Result);
        const std::vector<const Surd *> values = finite_ends(set);
        Math rounded;
        bool any = false;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const Surd &value = *values[i];
            if (value.is_rational() && (value.w == 1 || format_.style == NumberStyle::Decimals) &&
                round_to_places(value, places_).exact)
                continue;
            if (i > 0 && std::find_if(values.begin(), values.begin() + static_cast<long>(i), [&](const Surd *other_end) {
                    const Surd &other = *other_end;
                    return other.u == value.u && other.v == value.v && other.m == value.m && other.w == value.w;
                }) != values.begin() + static_cast<long>(i))
                continue;
            if (any)
                rounded.text("; ");
            number_and_decimal(rounded, value);
            any = true;
        }
        if (any) {
            std::string sentence(rounded_prefix);
            sentence += integer_text(places_);
            sentence += places_ >= 5 ? rounded_many : rounded_few;
            step(sentence, std::move(rounded));
        }
    }

    const Rational &a_, &b_, &c_; // live in build_steps
    Relation relation_;
    int places_;
    NumberFormat format_;
    Working working_;
};

Rational exact_coefficient(std::string_view text, char separator)
{
    return text.empty() ? Rational(0) : parse_exact(text, separator);
}

// "−1,3 · 10⁻¹⁷": two significant digits of a double.
std::string approximate_text(double value, char separator)
{
    if (value == 0.0)
        return "0";
    const SignificantDigits two = significant_digits(value, 2);
    const int exponent = two.exponent;
    std::string out = value < 0 ? std::string(kMinus) : std::string();
    out += static_cast<char>('0' + two.digits / 10);
    out += separator;
    out += static_cast<char>('0' + two.digits % 10);
    if (exponent == 0)
        return out;
    Math power;
    power.text(out + " · 10").mark(MathMark::PowerBegin);
    if (exponent < 0)
        power.text(kMinus).text(integer_text(-exponent));
    else
        power.text(integer_text(exponent));
    power.mark(MathMark::PowerEnd);
    return plain_text(power);
}

bool is_half_way(const Surd &value, int n)
{
    if (!value.is_rational())
        return false;
    const Integer scale = power_of_ten(static_cast<std::uint32_t>(n));
    const Integer remainder = (abs(value.u) * scale) % value.w;
    return 2 * remainder == value.w;
}

struct Coefficients {
    Rational exact[3];
    double report[3];
};

std::string notice_text(const Coefficients &k, const Problem &problem, const ExactAnalysis &exact,
                        const std::string &report_set, const StepWriter &writer, char separator)
{
    std::string exact_text;
    if (exact.grade == Grade::Quadratic) {
        Math d;
        d.text("D = ");
        put_number(d, exact.discriminant, writer.format());
        exact_text = plain_text(d) + ", ";
    }
    exact_text += plain_text(writer.set_math(exact.set));
    const std::string rounded = plain_text(writer.set_math(exact.set, true));
    if (rounded != plain_text(writer.set_math(exact.set)).replace(2, 1, "≐"))
        exact_text += ", zaokrouhleno " + rounded;

    std::string text(notice_prefix);
    text += report_set;
    text += notice_exact;
    text += exact_text;
    text += '.';

    std::vector<std::string> inexact;
    std::vector<std::string> zeroed;
    for (int i = 0; i < 3; ++i) {
        if (exact_rational(k.report[i]) == k.exact[i])
            continue;
        Math shown;
        put_number(shown, k.exact[i], {separator, NumberStyle::Decimals});
        (k.report[i] == 0.0 ? zeroed : inexact).push_back(plain_text(shown));
    }
    const auto join = [](const std::vector<std::string> &items) {
        std::string out;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i > 0)
                out += i + 1 == items.size() ? " a " : ", ";
            out += items[i];
        }
        return out;
    };

    bool d_differs = false;
    std::string d_part;
    if (exact.grade == Grade::Quadratic && problem.a != 0.0) {
        const double report_d = parvolin::discriminant(problem.a, problem.b, problem.c);
        if ((report_d > 0) - (report_d < 0) != sgn(exact.discriminant)) {
            d_differs = true;
            Math d;
            put_number(d, exact.discriminant, writer.format());
            d_part = std::string(notice_d) + approximate_text(report_d, separator) + std::string(notice_d_instead) +
                     plain_text(d);
        }
    }

    bool half = false;
    for (const Surd *value : finite_ends(exact.set))
        half = half || is_half_way(*value, problem.decimals);

    if (!inexact.empty() || !zeroed.empty()) {
        text += notice_inexact;
        if (!inexact.empty()) {
            text += inexact.size() == 1 ? notice_inexact_one : notice_inexact_many;
            text += join(inexact);
            text += inexact.size() == 1 ? notice_inexact_end_one : notice_inexact_end_many;
        }
        if (!zeroed.empty()) {
            text += inexact.empty() ? ", " : "; ";
            text += notice_inexact_one;
            text += join(zeroed);
            text += notice_zero;
        }
        if (d_differs)
            text += d_part;
        else if (!half && zeroed.empty())
            text += notice_lost_too;
        if (text.back() != '.')
            text += '.';
    } else if (d_differs) {
        text += " Protokol počítá v pohyblivé řádové čárce" + d_part + ".";
    } else if (!half) {
        text += notice_lost;
    }
    if (half)
        text += notice_half;
    return text;
}

} // namespace

StepsResult build_steps(const ProblemInput &input, char decimal_separator)
{
    // The report's own reading first: a text it refuses gives no working.
    const Problem problem = parse_problem(input, decimal_separator);
    Coefficients k{{exact_coefficient(input.a_text, decimal_separator), exact_coefficient(input.b_text, decimal_separator),
                    exact_coefficient(input.c_text, decimal_separator)},
                   {problem.a, problem.b, problem.c}};

    StepsResult result;
    result.exact = analyse_exact(k.exact[0], k.exact[1], k.exact[2], problem.relation);
    StepWriter writer(k.exact[0], k.exact[1], k.exact[2], problem.relation, problem.decimals, decimal_separator);
    result.working = writer.write(result.exact);

    // The result step already holds the set as set_math writes it.
    const auto result_step = std::find_if(result.working.steps.begin(), result.working.steps.end(),
                                          [](const Step &step) { return step.kind == StepKind::Result; });
    result.exact_set = plain_text(result_step->math);
    const std::string rounded = plain_text(writer.set_math(result.exact.set, true));
    if (rounded != std::string(result.exact_set).replace(2, 1, "≐"))
        result.rounded_set = rounded;

    std::string failure;
    Solution solution;
    try {
        solution = analyse(problem);
    } catch (const MathError &error) {
        failure = error.what();
    }
    if (!failure.empty()) {
        result.agrees_with_report = false;
        result.report_failed = true;
        result.notice = std::string(notice_failed_prefix) + failure + std::string(notice_failed_exact) +
                        plain_text(writer.set_math(result.exact.set)) + "." + std::string(notice_failed_reason);
    } else if (rounded_shape(solution) != rounded_shape(result.exact.set, problem.decimals)) {
        result.agrees_with_report = false;
        result.notice = notice_text(k, problem, result.exact, describe(solution, decimal_separator).root_set, writer,
                                    decimal_separator);
    }
    if (!result.notice.empty())
        result.working.steps.insert(result.working.steps.begin(), Step{StepKind::Notice, result.notice, {}, {}});
    return result;
}

std::string_view relation_sign(Relation relation)
{
    switch (relation) {
    case Relation::Less: return " < ";
    case Relation::Greater: return " > ";
    case Relation::LessEqual: return " ≤ ";
    case Relation::GreaterEqual: return " ≥ ";
    case Relation::Equal: break;
    }
    return " = ";
}

ProblemMath problem_math(const Rational &a, const Rational &b, const Rational &c, Relation relation,
                         const ExactSet &set, char decimal_separator)
{
    const StepWriter writer(a, b, c, relation, min_decimals, decimal_separator);
    return {writer.normal_form(), writer.set_math(set)};
}

} // namespace parvolin
