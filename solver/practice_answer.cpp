#include "solver/practice_answer.h"

#include "solver/ascii.h"
#include "solver/practice_texts.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace parvolin {

namespace {

Rational to_q(const Integer &x, const Integer &w) { return ratio(x, w); }

// The sign of p + t·√m for rational p, t and m >= 0.
int sign_of(const Rational &p, const Rational &t, const Rational &m)
{
    const int sp = sgn(p);
    const int st = m == 0 ? 0 : sgn(t);
    if (st == 0 || sp == st)
        return sp != 0 ? sp : st;
    if (sp == 0)
        return st;
    const int c = compare(Rational(p * p), Rational(t * t * m)); // the larger magnitude wins
    return c > 0 ? sp : c < 0 ? st : 0;
}

int compare_ends(const ExactEnd &x, const ExactEnd &y)
{
    if (x.infinity != 0 || y.infinity != 0)
        return (x.infinity > y.infinity) - (x.infinity < y.infinity);
    return compare(x.value, y.value);
}

double approximate(const Surd &v)
{
    return (to_double(v.u) + to_double(v.v) * std::sqrt(to_double(v.m))) / to_double(v.w);
}

bool valid(const RealPiece &p)
{
    const int c = compare_ends(p.lower, p.upper);
    return c < 0 || (c == 0 && p.lower.infinity == 0 && p.lower_closed && p.upper_closed);
}

bool contains(const RealSet &set, const Surd &value)
{
    const ExactEnd v{0, value};
    for (const auto &p : set) {
        const int lo = compare_ends(p.lower, v), hi = compare_ends(v, p.upper);
        if ((lo < 0 || (lo == 0 && p.lower_closed)) && (hi < 0 || (hi == 0 && p.upper_closed)))
            return true;
    }
    return false;
}

RealSet complement(const RealSet &set)
{
    RealSet out;
    ExactEnd from{-1, {}};
    bool from_closed = false;
    for (const auto &p : set) {
        const RealPiece gap{from, from_closed, p.lower, !p.lower_closed};
        if (valid(gap))
            out.push_back(gap);
        from = p.upper;
        from_closed = !p.upper_closed;
    }
    const RealPiece last{from, from_closed, {1, {}}, false};
    if (valid(last))
        out.push_back(last);
    return out;
}

RealSet intersection(const RealSet &x, const RealSet &y)
{
    RealSet out;
    for (const auto &a : x) {
        for (const auto &b : y) {
            RealPiece p;
            const int lo = compare_ends(a.lower, b.lower);
            p.lower = lo >= 0 ? a.lower : b.lower;
            p.lower_closed = lo > 0 ? a.lower_closed : lo < 0 ? b.lower_closed : a.lower_closed && b.lower_closed;
            const int hi = compare_ends(a.upper, b.upper);
            p.upper = hi <= 0 ? a.upper : b.upper;
            p.upper_closed = hi < 0 ? a.upper_closed : hi > 0 ? b.upper_closed : a.upper_closed && b.upper_closed;
            if (valid(p))
                out.push_back(p);
        }
    }
    return normalized(std::move(out));
}

RealSet difference(const RealSet &x, const RealSet &y) { return intersection(x, complement(y)); }

std::vector<Surd> boundary(const RealSet &set)
{
    std::vector<Surd> out;
    const auto add = [&](const ExactEnd &e) {
        if (e.infinity == 0 && (out.empty() || compare(out.back(), e.value) != 0))
            out.push_back(e.value);
    };
    for (const auto &p : set) {
        add(p.lower);
        add(p.upper);
    }
    return out;
}

bool among(const std::vector<Surd> &values, const Surd &v)
{
    return std::any_of(values.begin(), values.end(), [&](const Surd &x) { return compare(x, v) == 0; });
}

// A number a pupil can substitute: the integer nearest to 0 in the piece,
// else a short decimal, else the piece's own end.
Surd sample(const RealPiece &piece)
{
    if (piece.lower.infinity == 0 && piece.upper.infinity == 0 && compare(piece.lower.value, piece.upper.value) == 0)
        return piece.lower.value;
    const double lo = piece.lower.infinity == 0 ? approximate(piece.lower.value) : -1e300;
    const double hi = piece.upper.infinity == 0 ? approximate(piece.upper.value) : 1e300;
    const RealSet set{piece};
    const auto inside = [&](const Rational &q) { return contains(set, make_surd(q)); };
    std::vector<double> starts{0.0, std::ceil(lo), std::floor(hi)};
    for (double start : starts) {
        for (double n : {start, start - 1, start + 1}) {
            if (std::fabs(n) < 1e15 && inside(exact_rational(n)))
                return make_surd(exact_rational(n));
        }
    }
    for (long scale = 10; scale <= 1'000'000; scale *= 10) {
        const double k = std::ceil(lo * static_cast<double>(scale));
        for (double n = k; n <= k + 2; ++n) {
            const Rational q = ratio(Integer(n), Integer(scale));
            if (inside(q))
                return make_surd(q);
        }
    }
    return piece.lower.infinity == 0 ? piece.lower.value : piece.upper.value;
}

std::string filled(std::string_view pattern, const std::string &value)
{
    std::string text(pattern);
    const auto at = text.find("{}");
    if (at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

// The number as a verdict quotes it: a pupil may paste thousands of digits,
// and the message stays a line.
std::string number_text(const Surd &value, char separator)
{
    Math math;
    put_number(math, value, {separator, NumberStyle::Decimals});
    return shortened_for_message(plain_text(math));
}

// ---- the reader ----

RealSet unite(RealSet x, const RealSet &y)
{
    x.insert(x.end(), y.begin(), y.end());
    return normalized(std::move(x));
}

RealSet point(const Surd &v) { return {{{0, v}, true, {0, v}, true}}; }

// Pieces gathered unsorted; the answer is normalized once it is read whole
// (a pasted list of thousands of numbers must not be sorted after each).
void gather(RealSet &into, const RealSet &pieces) { into.insert(into.end(), pieces.begin(), pieces.end()); }

// p + t·√m, m square-free and > 1, or m = 0 for a rational number.
struct Value {
    Rational p, t;
    Integer m;
};

// One number, or the two of "centre ± width" (`both`); `sign_at` is where
// the ± stands.
struct Values {
    Value centre;
    Value width;
    bool both = false;
    std::size_t sign_at = 0;
};

Values one(Value v)
{
    Values r;
    r.centre = std::move(v);
    return r;
}

// How a condition on x relates it to a number.
enum class Bound { Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };

Bound mirrored(Bound bound)
{
    switch (bound) {
    case Bound::Less:
        return Bound::Greater;
    case Bound::LessEqual:
        return Bound::GreaterEqual;
    case Bound::Greater:
        return Bound::Less;
    case Bound::GreaterEqual:
        return Bound::LessEqual;
    default:
        return bound;
    }
}

// Whole answers in words, compared once blanks are single, the case of
// ASCII letters ignored and a closing full stop dropped.
constexpr std::string_view empty_phrases[] = {
    "nemá řešení",           "nemá žádné řešení",   "žádné řešení",          "řešení neexistuje",
    "rovnice nemá řešení",   "nerovnice nemá řešení", "rovnice nemá žádné řešení",
    "nerovnice nemá žádné řešení", "nema reseni",     "nema zadne reseni",     "zadne reseni",
    "prázdná množina",       "prazdna mnozina",
};
constexpr std::string_view all_phrases[] = {
    "všechna x",           "každé x",           "pro všechna x",      "pro každé x",
    "všechna reálná čísla", "každé reálné číslo", "všechna reálná x",   "každé reálné x",
    "libovolné x",         "x libovolné",       "vsechna x",          "kazde x",
    "pro vsechna x",       "pro kazde x",       "vsechna realna cisla", "kazde realne cislo",
    "libovolne x",         "x libovolne",
};

class AnswerReader {
public:
    explicit AnswerReader(std::string_view text)
    {
        while (!text.empty()) {
            const unsigned char lead = static_cast<unsigned char>(text[0]);
            std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            length = std::min(length, text.size());
            chars_.emplace_back(text.substr(0, length));
            text.remove_prefix(length);
        }
    }

    RealSet read()
    {
        blanks();
        if (at_end())
            fail(practice_texts::empty_answer);
        if (const auto said = in_words())
            return *said;
        if (peek_any({"K", "k"})) {
            const std::size_t back = pos_;
            ++pos_;
            blanks();
            if (!take_any({"=", ":"}))
                pos_ = back;
            blanks();
        }
        if (at_end())
            fail(practice_texts::expected_number);
        if (peek_any({"x", "X"}))
            return finished(conditions());
        if (!peek("("))
            return finished(starts_as_number() ? conditions() : whole_set());
        // "(1 ; 2)" is an interval, "(1 + √5)/2" a number: the reading that
        // got further before it stopped says what was wrong.
        const std::size_t start = pos_;
        if (semicolon_in_bracket())
            return finished(whole_set());
        try {
            return finished(whole_set());
        } catch (const AnswerSyntaxError &as_set) {
            const std::size_t set_stopped = stopped_;
            pos_ = start;
            try {
                return finished(conditions());
            } catch (const AnswerSyntaxError &) {
                if (stopped_ > set_stopped)
                    throw;
                throw as_set;
            }
        }
    }

private:
    [[noreturn]] void fail(std::string_view pattern, std::size_t at) const
    {
        stopped_ = pos_;
        throw AnswerSyntaxError(filled(pattern, integer_text(at + 1)), at + 1);
    }
    [[noreturn]] void fail(std::string_view pattern) const { fail(pattern, pos_); }

    bool at_end() const { return pos_ >= chars_.size(); }
    bool peek(std::string_view c, std::size_t ahead = 0) const
    {
        return pos_ + ahead < chars_.size() && chars_[pos_ + ahead] == c;
    }
    bool peek_any(std::initializer_list<std::string_view> options) const
    {
        return std::any_of(options.begin(), options.end(), [&](std::string_view c) { return peek(c); });
    }
    bool take_any(std::initializer_list<std::string_view> options)
    {
        if (!peek_any(options))
            return false;
        ++pos_;
        return true;
    }
    bool is_blank(std::size_t at) const
    {
        if (at >= chars_.size())
            return false;
        const auto &c = chars_[at];
        return c == " " || c == "\t" || c == "\u00a0" || c == "\u202f";
    }
    void blanks()
    {
        while (is_blank(pos_))
            ++pos_;
    }
    bool is_digit(std::size_t at) const
    {
        return at < chars_.size() && chars_[at].size() == 1 && chars_[at][0] >= '0' && chars_[at][0] <= '9';
    }
    bool is_letter(std::size_t at) const
    {
        return at < chars_.size() && chars_[at].size() == 1 && is_ascii_letter(chars_[at][0]);
    }
    // An ASCII word, in either case, not followed by another letter.
    bool take_word(std::string_view word)
    {
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (pos_ + i >= chars_.size() || chars_[pos_ + i].size() != 1 ||
                ascii_lower(chars_[pos_ + i][0]) != word[i])
                return false;
        }
        if (is_letter(pos_ + word.size()))
            return false;
        pos_ += word.size();
        return true;
    }
    bool minus() { return take_any({"-", "−", "–"}); }
    bool plus_minus_ahead() const { return peek("±") || (peek("+") && (peek("-", 1) || peek("−", 1))); }
    void take_plus_minus() { pos_ += peek("±") ? 1 : 2; }
    bool infinity_ahead()
    {
        return peek("∞") || (peek("o") && peek("o", 1)) || (peek("O") && peek("O", 1));
    }
    void take_infinity()
    {
        if (peek("∞"))
            ++pos_;
        else
            pos_ += 2;
    }
    // A ";" inside the bracket that opens here, not in one nested in it: an
    // interval.
    bool semicolon_in_bracket() const
    {
        int depth = 0;
        for (std::size_t at = pos_; at < chars_.size(); ++at) {
            if (chars_[at] == "(")
                ++depth;
            else if (chars_[at] == ")" && --depth == 0)
                return false;
            else if (chars_[at] == ";" && depth == 1)
                return true;
        }
        return false;
    }
    bool starts_as_number() const
    {
        return is_digit(pos_) || peek_any({"-", "−", "–", "+", "±", "√", "(", "s"});
    }

    // After the answer: blanks and a full stop may close it, nothing else.
    RealSet finished(RealSet set)
    {
        blanks();
        if (take_any({"."}))
            blanks();
        if (!at_end())
            fail(practice_texts::trailing);
        return normalized(std::move(set));
    }

    std::optional<RealSet> in_words() const
    {
        std::string said;
        for (std::size_t i = 0; i < chars_.size(); ++i) {
            if (is_blank(i)) {
                if (!said.empty() && said.back() != ' ')
                    said += ' ';
                continue;
            }
            const std::string &c = chars_[i];
            if (c.size() == 1)
                said += ascii_lower(c[0]);
            else
                said += c == "Ž" ? "ž" : c == "Ř" ? "ř" : c == "Š" ? "š" : c;
        }
        while (!said.empty() && (said.back() == ' ' || said.back() == '.'))
            said.pop_back();
        for (std::string_view phrase : empty_phrases) {
            if (said == phrase)
                return RealSet{};
        }
        for (std::string_view phrase : all_phrases) {
            if (said == phrase)
                return RealSet{{{-1, {}}, false, {1, {}}, false}};
        }
        return std::nullopt;
    }

    RealSet whole_set()
    {
        if (take_any({"R", "ℝ"})) {
            RealSet all{{{-1, {}}, false, {1, {}}, false}};
            blanks();
            if (take_any({"\\", "-", "−", "–"})) {
                blanks();
                return complement(normalized(union_of_pieces()));
            }
            return all;
        }
        if (take_any({"∅", "Ø", "ø"}))
            return {};
        return union_of_pieces();
    }

    RealSet union_of_pieces()
    {
        RealSet set;
        for (;;) {
            const RealSet piece = peek("{") ? point_set() : interval();
            set.insert(set.end(), piece.begin(), piece.end());
            blanks();
            if (!take_any({"U", "u", "∪"}))
                return set;
            blanks();
        }
    }

    RealSet point_set()
    {
        if (!peek("{"))
            fail(practice_texts::unexpected);
        ++pos_;
        blanks();
        RealSet set;
        if (take_any({"}"}))
            return set;
        for (;;) {
            if (infinity_ahead() || ((peek("-") || peek("−") || peek("+")) && (peek("o", 1) || peek("∞", 1))))
                fail(practice_texts::infinity_point);
            gather(set, points(expression()));
            blanks();
            if (peek(","))
                fail(practice_texts::comma_list);
            if (take_any({";"})) {
                blanks();
                continue;
            }
            if (take_any({"}"}))
                return set;
            fail(practice_texts::expected_brace);
        }
    }

    RealSet interval()
    {
        const std::size_t start = pos_;
        bool lower_closed;
        if (take_any({"(", "]"}))
            lower_closed = false;
        else if (take_any({"<", "⟨", "["}))
            lower_closed = true;
        else
            fail(at_end() ? practice_texts::expected_number : practice_texts::unexpected);
        blanks();
        const std::size_t lower_at = pos_;
        const ExactEnd lower = end();
        blanks();
        if (!take_any({";"}))
            fail(practice_texts::expected_semicolon);
        blanks();
        const std::size_t upper_at = pos_;
        const ExactEnd upper = end();
        blanks();
        const std::size_t close_at = pos_;
        bool upper_closed;
        if (take_any({")", "["}))
            upper_closed = false;
        else if (take_any({">", "⟩", "]"}))
            upper_closed = true;
        else
            fail(practice_texts::expected_close);
        if (lower.infinity > 0)
            fail(practice_texts::infinity_side, lower_at);
        if (upper.infinity < 0)
            fail(practice_texts::infinity_side, upper_at);
        if (lower.infinity != 0 && lower_closed)
            fail(practice_texts::infinity_closed, start);
        if (upper.infinity != 0 && upper_closed)
            fail(practice_texts::infinity_closed, close_at);
        // <1 ; 1> is the one point 1.
        const int order = compare_ends(lower, upper);
        if (order > 0 || (order == 0 && !(lower_closed && upper_closed)))
            fail(practice_texts::reversed, start);
        return {{lower, lower_closed, upper, upper_closed}};
    }

    ExactEnd end()
    {
        const std::size_t back = pos_;
        int sign = 1;
        if (minus())
            sign = -1;
        else
            take_any({"+"});
        blanks();
        if (infinity_ahead()) {
            take_infinity();
            return {sign, {}};
        }
        pos_ = back;
        return {0, single(expression())};
    }

    // ---- conditions on x and bare numbers ----

    // "x < 1 nebo x > 2", "x1 = 2; x2 = 3", "1; 2", "x ≤ 1 ∨ x ≥ 2".
    RealSet conditions()
    {
        RealSet set = condition();
        for (;;) {
            const std::size_t back = pos_;
            blanks();
            const std::size_t at = pos_;
            if (take_word("nebo") || take_word("or") || take_any({"∨"})) {
                blanks();
                gather(set, condition());
                continue;
            }
            if (take_any({";", ","})) {
                const bool comma = chars_[at] == ",";
                blanks();
                if (peek_any({"x", "X"}) || (!comma && starts_as_number())) {
                    gather(set, condition());
                    continue;
                }
                if (comma && starts_as_number())
                    fail(practice_texts::comma_list, at);
            }
            pos_ = back;
            blanks();
            if (take_word("a") || take_word("and") || take_any({"∧"}))
                fail(practice_texts::conjunction, at);
            pos_ = back;
            return set;
        }
    }

    RealSet condition()
    {
        if (take_any({"x", "X"})) {
            // x, x0, x1,2, x₁,₂, x_1
            while (!at_end() && !peek("=") && !is_blank(pos_) &&
                   (is_digit(pos_) || peek(",") || peek("_") || chars_[pos_].starts_with("\xe2\x82")))
                ++pos_;
            blanks();
            if (take_any({"∈"})) {
                blanks();
                return whole_set();
            }
            const std::size_t at = pos_;
            const auto bound = relation();
            if (!bound)
                fail(practice_texts::expected_relation, at);
            blanks();
            return bounded(*bound, expression());
        }
        const Values first = expression();
        const std::size_t back = pos_;
        blanks();
        const auto first_bound = relation();
        if (!first_bound) {
            if (is_digit(pos_) || peek("√"))
                fail(practice_texts::list_semicolon);
            pos_ = back;
            return points(first);
        }
        blanks();
        if (!take_any({"x", "X"}))
            fail(practice_texts::expected_x);
        const std::size_t second_back = pos_;
        blanks();
        const std::size_t second_at = pos_;
        const auto second_bound = relation();
        if (!second_bound) { // 2 < x
            pos_ = second_back;
            return bounded(mirrored(*first_bound), first);
        }
        blanks();
        const Values last = expression();
        // 1 < x < 2 is x > 1 and x < 2; 2 > x > 1 the same the other way.
        const auto rising = [](Bound b) { return b == Bound::Less || b == Bound::LessEqual; };
        const auto falling = [](Bound b) { return b == Bound::Greater || b == Bound::GreaterEqual; };
        if (!(rising(*first_bound) && rising(*second_bound)) && !(falling(*first_bound) && falling(*second_bound)))
            fail(practice_texts::mixed_relations, second_at);
        const bool up = rising(*first_bound);
        const Surd low = single(up ? first : last), high = single(up ? last : first);
        const bool low_closed = (up ? *first_bound : *second_bound) == (up ? Bound::LessEqual : Bound::GreaterEqual);
        const bool high_closed = (up ? *second_bound : *first_bound) == (up ? Bound::LessEqual : Bound::GreaterEqual);
        const int order = compare(low, high);
        if (order > 0 || (order == 0 && !(low_closed && high_closed)))
            fail(practice_texts::reversed_condition, second_at);
        return {{{0, low}, low_closed, {0, high}, high_closed}};
    }

    std::optional<Bound> relation()
    {
        if (take_any({"≤", "⩽"}))
            return Bound::LessEqual;
        if (take_any({"≥", "⩾"}))
            return Bound::GreaterEqual;
        if (take_any({"≠"}))
            return Bound::NotEqual;
        const auto two = [&](std::string_view first, std::string_view second) {
            if (!(peek(first) && peek(second, 1)))
                return false;
            pos_ += 2;
            return true;
        };
        if (two("<", "=") || two("=", "<"))
            return Bound::LessEqual;
        if (two(">", "=") || two("=", ">"))
            return Bound::GreaterEqual;
        if (two("!", "=") || two("<", ">"))
            return Bound::NotEqual;
        if (take_any({"<"}))
            return Bound::Less;
        if (take_any({">"}))
            return Bound::Greater;
        if (take_any({"="}))
            return Bound::Equal;
        return std::nullopt;
    }

    RealSet bounded(Bound bound, const Values &values)
    {
        if (bound == Bound::Equal)
            return points(values);
        if (bound == Bound::NotEqual)
            return complement(points(values));
        const Surd v = single(values);
        switch (bound) {
        case Bound::Less:
            return {{{-1, {}}, false, {0, v}, false}};
        case Bound::LessEqual:
            return {{{-1, {}}, false, {0, v}, true}};
        case Bound::Greater:
            return {{{0, v}, false, {1, {}}, false}};
        default:
            return {{{0, v}, true, {1, {}}, false}};
        }
    }

    // ---- numbers ----

    Surd surd(const Value &v) const { return make_surd(v.p, v.t, Rational(v.m)); }

    RealSet points(const Values &v) const
    {
        if (!v.both)
            return point(surd(v.centre));
        bool clash = false, other_clash = false;
        const Value low = add(v.centre, Value{-v.width.p, -v.width.t, v.width.m}, clash);
        const Value high = add(v.centre, v.width, other_clash);
        if (clash || other_clash)
            fail(practice_texts::two_roots, v.sign_at);
        return unite(point(surd(low)), point(surd(high)));
    }

    // An interval's end, a bound of a condition: one number.
    Surd single(const Values &v) const
    {
        if (v.both)
            fail(practice_texts::plus_minus_end, v.sign_at);
        return surd(v.centre);
    }

    static Value combine(const Value &x, const Value &y, bool &clash)
    {
        clash = x.t != 0 && y.t != 0 && x.m != y.m;
        return {0, 0, x.t != 0 ? x.m : y.m};
    }

    static Value add(const Value &x, const Value &y, bool &clash)
    {
        Value r = combine(x, y, clash);
        r.p = x.p + y.p;
        r.t = x.t + y.t;
        return r;
    }

    static Value multiply(const Value &x, const Value &y, bool &clash)
    {
        Value r = combine(x, y, clash);
        r.p = x.p * y.p + x.t * y.t * r.m;
        r.t = x.p * y.t + x.t * y.p;
        return r;
    }

    static Values negated(Values v)
    {
        v.centre.p = -v.centre.p;
        v.centre.t = -v.centre.t;
        v.width.p = -v.width.p;
        v.width.t = -v.width.t;
        return v;
    }

    // One ± in a number at most: a second one, or one under a root or in a
    // divisor, stands at `at`.
    void one_plus_minus(const Values &x, const Values &y, std::size_t at) const
    {
        if (x.both && y.both)
            fail(practice_texts::plus_minus_here, y.sign_at > x.sign_at ? y.sign_at : at);
    }

    Values add(const Values &x, const Values &y, std::size_t at) const
    {
        one_plus_minus(x, y, at);
        bool clash = false;
        Values r{add(x.centre, y.centre, clash), x.both ? x.width : y.width, x.both || y.both,
                 x.both ? x.sign_at : y.sign_at};
        if (clash)
            fail(practice_texts::two_roots, at);
        return r;
    }

    Values multiply(const Values &x, const Values &y, std::size_t at) const
    {
        one_plus_minus(x, y, at);
        bool clash = false, width_clash = false;
        Values r{multiply(x.centre, y.centre, clash), {}, x.both || y.both, x.both ? x.sign_at : y.sign_at};
        if (x.both)
            r.width = multiply(x.width, y.centre, width_clash);
        else if (y.both)
            r.width = multiply(x.centre, y.width, width_clash);
        if (clash || width_clash)
            fail(practice_texts::two_roots, at);
        return r;
    }

    Values divide(const Values &x, const Values &y, std::size_t at) const
    {
        if (y.both)
            fail(practice_texts::plus_minus_here, y.sign_at);
        if (y.centre.p == 0 && y.centre.t == 0)
            fail(practice_texts::division_by_zero, at);
        const Value &d = y.centre;
        const Rational norm = d.p * d.p - d.t * d.t * d.m; // d times its conjugate
        return multiply(x, one(Value{d.p / norm, -d.t / norm, d.m}), at);
    }

    Values expression()
    {
        Values v = term();
        for (;;) {
            const std::size_t back = pos_;
            blanks();
            const std::size_t at = pos_;
            if (plus_minus_ahead()) { // "+-" is ±
                take_plus_minus();
                blanks();
                Values width = term();
                if (width.both)
                    fail(practice_texts::plus_minus_here, width.sign_at);
                if (v.both)
                    fail(practice_texts::plus_minus_here, at);
                v = Values{v.centre, width.centre, true, at};
            } else if (take_any({"+"})) {
                blanks();
                v = add(v, term(), at);
            } else if (minus()) {
                blanks();
                v = add(v, negated(term()), at);
            } else {
                pos_ = back;
                return v;
            }
        }
    }

    Values term()
    {
        Values v = unary();
        for (;;) {
            const std::size_t back = pos_;
            blanks();
            const std::size_t at = pos_;
            if (peek(".") && !operand_after(pos_ + 1)) { // the full stop that ends the answer
                pos_ = back;
                return v;
            }
            if (take_any({"*", "·", "⋅", "."})) {
                blanks();
                v = multiply(v, unary(), at);
            } else if (take_any({"/", ":"})) {
                blanks();
                v = divide(v, unary(), at);
            } else if (peek("√") || (peek("s") && peek("q", 1)) || peek("(")) {
                v = multiply(v, unary(), at); // 2√3, 2sqrt(3), 2(1 + √3)
            } else {
                pos_ = back;
                return v;
            }
        }
    }

    bool operand_after(std::size_t at) const
    {
        while (is_blank(at))
            ++at;
        return at < chars_.size();
    }

    // Every bracket, sign and root sign of a number goes one call deeper
    // through here; a pasted wall of them would run the stack out.
    static constexpr int max_nesting = 200;

    Values unary()
    {
        if (nesting_ == max_nesting)
            fail(practice_texts::too_deep);
        ++nesting_;
        struct Leave {
            int &nesting;
            ~Leave() { --nesting; }
        } leave{nesting_};
        const std::size_t at = pos_;
        if (plus_minus_ahead()) { // ±√5
            take_plus_minus();
            blanks();
            const Values width = unary();
            if (width.both)
                fail(practice_texts::plus_minus_here, width.sign_at);
            return Values{{0, 0, 0}, width.centre, true, at};
        }
        if (minus()) {
            blanks();
            return negated(unary());
        }
        if (take_any({"+"})) {
            blanks();
            return unary();
        }
        return primary();
    }

    Values primary()
    {
        const std::size_t at = pos_;
        if (is_digit(pos_))
            return one(number());
        if (take_any({"√"})) {
            blanks();
            return one(root(unary(), at));
        }
        if (peek("s") && peek("q", 1) && peek("r", 2) && peek("t", 3)) {
            pos_ += 4;
            blanks();
            if (!peek("("))
                fail(practice_texts::sqrt_without_paren);
            return one(root(primary(), at));
        }
        if (take_any({"("})) {
            blanks();
            Values v = expression();
            blanks();
            if (!take_any({")"}))
                fail(practice_texts::expected_paren);
            return v;
        }
        // "{1 ± }", "(1 ; )": a number is missing, the bracket is no stranger
        const bool missing = at_end() || peek_any({")", "}", ";", ">", "⟩", "]", ","});
        fail(missing ? practice_texts::expected_number : practice_texts::unexpected);
    }

    Value root(const Values &values, std::size_t at) const
    {
        if (values.both)
            fail(practice_texts::plus_minus_here, values.sign_at);
        const Value &v = values.centre;
        if (v.t != 0)
            fail(practice_texts::root_of_root, at);
        if (v.p < 0)
            fail(practice_texts::negative_root, at);
        const Surd s = make_surd(0, 1, v.p);
        if (s.is_rational())
            return {s.rational(), 0, 0};
        return {to_q(s.u, s.w), to_q(s.v, s.w), s.m};
    }

    // The digits converted at once: one by one, a pasted number of a
    // hundred thousand digits would take quadratic time.
    Value number()
    {
        std::string digits;
        while (is_digit(pos_))
            digits += chars_[pos_++][0];
        std::size_t places = 0;
        if ((peek(",") || peek(".")) && is_digit(pos_ + 1)) {
            ++pos_;
            for (; is_digit(pos_); ++places)
                digits += chars_[pos_++][0];
        }
        const Integer scale = power_of_ten(static_cast<std::uint32_t>(places));
        return {ratio(integer_from_digits(digits), scale), 0, 0};
    }

    std::vector<std::string> chars_;
    std::size_t pos_ = 0;
    int nesting_ = 0;                 // calls of unary() under way
    mutable std::size_t stopped_ = 0; // where the last failure stopped reading
};

} // namespace

int compare(const Surd &x, const Surd &y)
{
    const Rational p = to_q(x.u, x.w) - to_q(y.u, y.w);
    const Rational t1 = to_q(x.v, x.w);
    const Rational t2 = -to_q(y.v, y.w);
    if (t1 == 0 || t2 == 0 || x.m == y.m)
        return sign_of(p, t1 == 0 ? t2 : t2 == 0 ? t1 : t1 + t2, Rational(t1 == 0 ? y.m : x.m));
    // X = p + t1√m1 against Y = t2√m2 of the other sign: compare X² with Y².
    const int sx = sign_of(p, t1, Rational(x.m));
    const int sy = sgn(t2);
    if (sx == 0 || sx == sy)
        return sx != 0 ? sx : sy;
    const int c = sign_of(p * p + t1 * t1 * x.m - t2 * t2 * y.m, 2 * p * t1, Rational(x.m));
    return c > 0 ? sx : c < 0 ? sy : 0;
}

RealSet normalized(RealSet pieces)
{
    std::sort(pieces.begin(), pieces.end(), [](const RealPiece &x, const RealPiece &y) {
        const int c = compare_ends(x.lower, y.lower);
        return c < 0 || (c == 0 && x.lower_closed && !y.lower_closed);
    });
    RealSet out;
    for (const auto &p : pieces) {
        if (!out.empty()) {
            RealPiece &last = out.back();
            const int c = compare_ends(p.lower, last.upper);
            if (c < 0 || (c == 0 && (last.upper_closed || p.lower_closed))) {
                const int u = compare_ends(p.upper, last.upper);
                if (u > 0) {
                    last.upper = p.upper;
                    last.upper_closed = p.upper_closed;
                } else if (u == 0) {
                    last.upper_closed = last.upper_closed || p.upper_closed;
                }
                continue;
            }
        }
        out.push_back(p);
    }
    return out;
}

RealSet real_set(const ExactSet &set)
{
    RealSet out;
    for (const auto &p : set.points)
        out.push_back({{0, p}, true, {0, p}, true});
    for (const auto &i : set.intervals)
        out.push_back({i.lower, i.lower_closed, i.upper, i.upper_closed});
    out = normalized(std::move(out));
    for (const auto &x : set.excluded)
        out = difference(out, {{{0, x}, true, {0, x}, true}});
    return out;
}

bool same_set(const RealSet &x, const RealSet &y)
{
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (compare_ends(x[i].lower, y[i].lower) != 0 || compare_ends(x[i].upper, y[i].upper) != 0 ||
            x[i].lower_closed != y[i].lower_closed || x[i].upper_closed != y[i].upper_closed)
            return false;
    }
    return true;
}

RealSet parse_answer(std::string_view text) { return AnswerReader(text).read(); }

Verdict judge_answer(const ExactAnalysis &exact, Relation relation, const RealSet &given, char separator)
{
    using namespace practice_texts;
    const RealSet answer = real_set(exact.set);
    const RealSet pupil = normalized(given);
    if (same_set(answer, pupil))
        return {VerdictKind::Right, std::string(right)};
    const std::vector<Surd> answer_ends = boundary(answer);
    const std::vector<Surd> pupil_ends = boundary(pupil);
    for (const auto &end : pupil_ends) {
        if (among(answer_ends, end) || among(exact.zeros, end))
            continue;
        const double approx = approximate(end);
        for (const auto &zero : exact.zeros) {
            if (std::fabs(approximate(zero) - approx) < 0.006)
                return {VerdictKind::RoundedEnd, filled(rounded_end, number_text(end, separator))};
        }
        return {VerdictKind::WrongEnd,
                filled(relation == Relation::Equal ? wrong_root : wrong_end, number_text(end, separator))};
    }
    for (const auto &end : pupil_ends) {
        if (!among(answer_ends, end))
            continue;
        const bool in_answer = contains(answer, end);
        if (in_answer != contains(pupil, end))
            return in_answer ? Verdict{VerdictKind::ShouldBeClosed, filled(should_be_closed, number_text(end, separator))}
                             : Verdict{VerdictKind::ShouldBeOpen, filled(should_be_open, number_text(end, separator))};
    }
    const RealSet missing = difference(answer, pupil);
    if (!missing.empty()) {
        if (relation == Relation::Equal)
            return {VerdictKind::MissingPart, std::string(missing_root)};
        return {VerdictKind::MissingPart, filled(missing_part, number_text(sample(missing.front()), separator))};
    }
    const RealSet extra = difference(pupil, answer);
    return {VerdictKind::ExtraPart, filled(extra_part, number_text(sample(extra.front()), separator))};
}

} // namespace parvolin
