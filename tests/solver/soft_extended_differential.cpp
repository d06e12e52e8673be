// The software extended type against the x87 hardware and against MPFR at
// precision 64 with the x87 exponent range and subnormals: every result and
// every status flag bit for bit, over random operands drawn to hit ties,
// subnormals, overflow, huge and tiny magnitudes and exact halves.
//
//   soft_extended_differential [--pairs N] [--seed S]
//
// N operand pairs (or operands, for one-operand operations) per operation.
// The seed is fixed unless --seed or PARVOLIN_DIFFERENTIAL_SEED picks another;
// it is printed, so a failure can be repeated.

#include "solver/soft_extended.h"

#include <mpfr.h>

#include <bit>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#if !defined(__x86_64__) && !defined(__i386__)
#error "the differential test compares with the x87 hardware"
#endif

namespace {

using parvolin::SoftExtended;
namespace flags = parvolin::soft_flags;

// ---- operands ---------------------------------------------------------------

// Every operand comes from its own statement: the order in which a compiler
// evaluates function arguments is unspecified and would change the stream.
// xoshiro256** seeded through splitmix64: fast (the standard engines would
// take most of the run's time) and the same stream from every compiler.
class Draw {
public:
    explicit Draw(std::uint64_t seed)
    {
        for (std::uint64_t &word : state_) {
            seed += 0x9E3779B97F4A7C15;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t bits()
    {
        const std::uint64_t result = std::rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = std::rotl(state_[3], 45);
        return result;
    }
    // In [0, n), by the high half of a product rather than a division.
    unsigned below(unsigned n)
    {
        return static_cast<unsigned>((static_cast<unsigned __int128>(bits()) * n) >> 64);
    }

    // A significand whose low bits are often zero or all ones, so products,
    // sums and quotients fall on or next to a rounding tie.
    std::uint64_t significand()
    {
        std::uint64_t m = bits();
        switch (below(6)) {
        case 0: {
            const unsigned keep = 1 + below(64);
            m = keep == 64 ? m : m & ~((std::uint64_t{1} << (64 - keep)) - 1);
            break;
        }
        case 1: {
            const unsigned keep = below(64);
            m |= keep == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << (64 - keep)) - 1;
            break;
        }
        case 2:
            m = std::uint64_t{1} << 63 | (std::uint64_t{1} << below(63));
            break;
        default:
            break;
        }
        return m | std::uint64_t{1} << 63;
    }

    // A binary exponent field: anywhere, or crowded at the ends of the range
    // and around one, where subnormals, overflow and exact halves live.
    int field()
    {
        switch (below(8)) {
        case 0:
            return 1 + static_cast<int>(below(80)); // smallest normals
        case 1:
            return 0x7FFE - static_cast<int>(below(80)); // largest
        case 2:
            return 16383 - 70 + static_cast<int>(below(140)); // near one
        case 3:
            return 0; // subnormal
        default:
            return 1 + static_cast<int>(below(0x7FFE));
        }
    }

    SoftExtended finite()
    {
        const bool negative = below(2) != 0;
        const int f = field();
        std::uint64_t m = significand();
        if (f == 0) {
            const unsigned shift = 1 + below(64);
            m = shift == 64 ? 1 : m >> shift;
        }
        return compose(negative, f, m);
    }

    SoftExtended special()
    {
        const bool negative = below(2) != 0;
        switch (below(6)) {
        case 0:
            return compose(negative, 0, 0);
        case 1:
            return compose(negative, 0x7FFF, std::uint64_t{1} << 63);
        case 2: { // quiet NaN
            const std::uint64_t payload = bits();
            return compose(negative, 0x7FFF, std::uint64_t{3} << 62 | (payload >> 2));
        }
        case 3: { // signalling NaN
            const std::uint64_t payload = bits() >> 2;
            return compose(negative, 0x7FFF, std::uint64_t{1} << 63 | (payload == 0 ? 1 : payload));
        }
        case 4: { // a small integer or an exact half
            const auto k = static_cast<std::int64_t>(below(41)) - 20;
            const SoftExtended whole(k);
            return below(2) != 0 ? whole : whole / SoftExtended(2) + SoftExtended(0.25) * SoftExtended(2);
        }
        default: { // a double, as the solver's operands are
            const double d = std::bit_cast<double>(bits());
            return SoftExtended(d);
        }
        }
    }

    SoftExtended operand() { return below(10) == 0 ? special() : finite(); }

    // A second operand whose exponent is near the first one's: cancellation
    // and the ties of addition happen there.
    SoftExtended near(SoftExtended a)
    {
        if (below(3) != 0)
            return operand();
        const int base = a.sign_exponent() & 0x7FFF;
        const int delta = static_cast<int>(below(141)) - 70;
        int f = base + delta;
        f = f < 1 ? 1 : f > 0x7FFE ? 0x7FFE : f;
        const bool negative = below(2) != 0;
        std::uint64_t m = significand();
        if (below(4) == 0)
            m = (a.significand() ^ std::uint64_t{1} << below(64)) | std::uint64_t{1} << 63;
        return compose(negative, f, m);
    }

    static SoftExtended compose(bool negative, int f, std::uint64_t m)
    {
        // The integer bit is set exactly when the field is not zero.
        if (f == 0)
            m &= ~(std::uint64_t{1} << 63);
        else
            m |= std::uint64_t{1} << 63;
        return SoftExtended::from_bits(static_cast<std::uint16_t>((negative ? 0x8000 : 0) | f), m);
    }

private:
    std::uint64_t state_[4];
};

// ---- the hardware -----------------------------------------------------------

long double to_hardware(SoftExtended x)
{
    unsigned char bytes[sizeof(long double)] = {};
    const std::uint64_t m = x.significand();
    const std::uint16_t se = x.sign_exponent();
    std::memcpy(bytes, &m, 8);
    std::memcpy(bytes + 8, &se, 2);
    long double result;
    std::memcpy(&result, bytes, sizeof result);
    return result;
}

SoftExtended from_hardware(long double x)
{
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &x, sizeof x);
    std::uint64_t m;
    std::uint16_t se;
    std::memcpy(&m, bytes, 8);
    std::memcpy(&se, bytes + 8, 2);
    return SoftExtended::from_bits(se, m);
}

// fnclex and the SSE control word instead of <cfenv>: clearing through
// feclearexcept rewrites the whole x87 environment and would cost more than
// all the rest. The C library computes some results (the root of a negative
// number) in the SSE unit, so both units' flags count, as fetestexcept has it.
inline void clear_hardware()
{
    unsigned control;
    asm volatile("fnclex\n\tstmxcsr %0" : "=m"(control)::"memory");
    control &= ~0x3Fu;
    asm volatile("ldmxcsr %0" ::"m"(control) : "memory");
}
inline unsigned hardware_flags()
{
    unsigned short status;
    unsigned control;
    asm volatile("fnstsw %0\n\tstmxcsr %1" : "=m"(status), "=m"(control)::"memory");
    return (status | control) & flags::all;
}

// ---- MPFR -------------------------------------------------------------------

constexpr int bias = 16383;

class Mpfr {
public:
    Mpfr()
    {
        mpfr_inits2(64, a_, b_, r_, static_cast<mpfr_ptr>(nullptr));
        // Values 0.1xxx * 2^e: the largest finite has e = 16384, the smallest
        // subnormal 2^-16445 has e = -16444.
        mpfr_set_emax(16384);
        mpfr_set_emin(-16444);
    }
    ~Mpfr() { mpfr_clears(a_, b_, r_, static_cast<mpfr_ptr>(nullptr)); }

    static bool usable(SoftExtended x) { return !parvolin::isnan(x); }

    using Binary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
    using Unary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

    // The result and its x87 flags.
    SoftExtended binary(Binary op, SoftExtended a, SoftExtended b, unsigned &raised)
    {
        set(a_, a);
        set(b_, b);
        mpfr_clear_flags();
        return finish(op(r_, a_, b_, MPFR_RNDN), raised);
    }
    SoftExtended unary(Unary op, SoftExtended a, unsigned &raised)
    {
        set(a_, a);
        mpfr_clear_flags();
        return finish(op(r_, a_, MPFR_RNDN), raised);
    }

private:
    static void set(mpfr_ptr target, SoftExtended x)
    {
        const bool negative = parvolin::signbit(x);
        const int f = x.sign_exponent() & 0x7FFF;
        if (f == 0x7FFF)
            mpfr_set_inf(target, 1);
        else if (x.significand() == 0)
            mpfr_set_zero(target, 1);
        else
            mpfr_set_ui_2exp(target, x.significand(), (f == 0 ? 1 : f) - bias - 63, MPFR_RNDN);
        if (negative)
            mpfr_neg(target, target, MPFR_RNDN);
    }

    SoftExtended finish(int ternary, unsigned &raised)
    {
        // Tiny after rounding to 64 bits with an unbounded exponent: below
        // the smallest normal 2^-16382, whose MPFR exponent is -16381.
        const bool tiny = mpfr_underflow_p() || (mpfr_regular_p(r_) && mpfr_get_exp(r_) < -16381);
        ternary = mpfr_subnormalize(r_, ternary, MPFR_RNDN);
        raised = 0;
        if (ternary != 0)
            raised |= flags::inexact;
        if (ternary != 0 && tiny)
            raised |= flags::underflow;
        if (mpfr_overflow_p())
            raised |= flags::overflow;
        if (mpfr_divby0_p())
            raised |= flags::divide_by_zero;
        if (mpfr_nan_p(r_)) {
            raised |= flags::invalid;
            return SoftExtended::from_bits(0xFFFF, 0xC000000000000000);
        }
        const bool negative = mpfr_signbit(r_) != 0;
        const std::uint16_t sign = negative ? 0x8000 : 0;
        if (mpfr_inf_p(r_))
            return SoftExtended::from_bits(sign | 0x7FFF, std::uint64_t{1} << 63);
        if (mpfr_zero_p(r_))
            return SoftExtended::from_bits(sign, 0);
        const auto *limbs = static_cast<const mp_limb_t *>(mpfr_custom_get_significand(r_));
        std::uint64_t m = limbs[0];
        int f = static_cast<int>(mpfr_get_exp(r_)) - 1 + bias;
        if (f <= 0) {
            m >>= 1 - f;
            f = 0;
        }
        return SoftExtended::from_bits(static_cast<std::uint16_t>(sign | f), m);
    }

    mpfr_t a_, b_, r_;
};

// ---- comparing --------------------------------------------------------------

struct Tally {
    const char *name;
    std::uint64_t pairs = 0;
    std::uint64_t mismatches = 0;
    // How often each flag came up, so a run shows it reached the edges.
    std::uint64_t invalid = 0, divide_by_zero = 0, overflow = 0, underflow = 0, inexact = 0;

    void count(unsigned raised)
    {
        ++pairs;
        invalid += (raised & flags::invalid) != 0;
        divide_by_zero += (raised & flags::divide_by_zero) != 0;
        overflow += (raised & flags::overflow) != 0;
        underflow += (raised & flags::underflow) != 0;
        inexact += (raised & flags::inexact) != 0;
    }
};

bool same(SoftExtended x, SoftExtended y)
{
    return x.sign_exponent() == y.sign_exponent() && x.significand() == y.significand();
}

void report(Tally &tally, const char *against, SoftExtended a, SoftExtended b, SoftExtended got, unsigned got_flags,
            SoftExtended want, unsigned want_flags)
{
    if (++tally.mismatches > 5)
        return;
    std::printf("MISMATCH %s vs %s: a=%04x:%016" PRIx64 " b=%04x:%016" PRIx64 " soft=%04x:%016" PRIx64
                " flags %02x, %s=%04x:%016" PRIx64 " flags %02x\n",
                tally.name, against, a.sign_exponent(), a.significand(), b.sign_exponent(), b.significand(),
                got.sign_exponent(), got.significand(), got_flags, against, want.sign_exponent(),
                want.significand(), want_flags);
}

template <typename Soft, typename Hard>
void check_binary(Tally &tally, Draw &draw, std::uint64_t pairs, Soft soft, Hard hard, Mpfr::Binary mpfr_op,
                  Mpfr &mpfr)
{
    for (std::uint64_t i = 0; i < pairs; ++i) {
        const SoftExtended a = draw.operand();
        const SoftExtended b = draw.near(a);
        flags::clear(flags::all);
        const SoftExtended got = soft(a, b);
        const unsigned got_flags = flags::test(flags::all);

        volatile long double ha = to_hardware(a);
        volatile long double hb = to_hardware(b);
        clear_hardware();
        volatile long double hr = hard(ha, hb);
        const unsigned hard_flags = hardware_flags();
        const SoftExtended want = from_hardware(hr);
        if (!same(got, want) || got_flags != hard_flags)
            report(tally, "x87", a, b, got, got_flags, want, hard_flags);

        if (mpfr_op != nullptr && Mpfr::usable(a) && Mpfr::usable(b)) {
            unsigned mpfr_flags = 0;
            const SoftExtended reference = mpfr.binary(mpfr_op, a, b, mpfr_flags);
            if (!same(got, reference) || got_flags != mpfr_flags)
                report(tally, "mpfr", a, b, got, got_flags, reference, mpfr_flags);
        }
        tally.count(got_flags);
    }
}

// A one-operand operation whose result is an extended value.
template <typename Soft, typename Hard>
void check_unary(Tally &tally, Draw &draw, std::uint64_t count, Soft soft, Hard hard, Mpfr::Unary mpfr_op,
                 Mpfr &mpfr)
{
    for (std::uint64_t i = 0; i < count; ++i) {
        const SoftExtended a = draw.operand();
        flags::clear(flags::all);
        const SoftExtended got = soft(a);
        const unsigned got_flags = flags::test(flags::all);

        volatile long double ha = to_hardware(a);
        clear_hardware();
        volatile long double hr = hard(ha);
        const unsigned hard_flags = hardware_flags();
        const SoftExtended want = from_hardware(hr);
        if (!same(got, want) || got_flags != hard_flags)
            report(tally, "x87", a, a, got, got_flags, want, hard_flags);

        if (mpfr_op != nullptr && Mpfr::usable(a)) {
            unsigned mpfr_flags = 0;
            const SoftExtended reference = mpfr.unary(mpfr_op, a, mpfr_flags);
            if (!same(got, reference) || got_flags != mpfr_flags)
                report(tally, "mpfr", a, a, got, got_flags, reference, mpfr_flags);
        }
        tally.count(got_flags);
    }
}

// Results of other types (double, integers, truth values) as 64 bits.
template <typename Soft, typename Hard, typename Admit>
void check_other(Tally &tally, Draw &draw, std::uint64_t pairs, bool two_operands, Soft soft, Hard hard,
                 Admit admit)
{
    for (std::uint64_t i = 0; i < pairs; ++i) {
        const SoftExtended a = draw.operand();
        const SoftExtended b = two_operands ? draw.near(a) : a;
        if (!admit(a)) {
            --i;
            continue;
        }
        flags::clear(flags::all);
        const std::uint64_t got = soft(a, b);
        const unsigned got_flags = flags::test(flags::all);

        volatile long double ha = to_hardware(a);
        volatile long double hb = to_hardware(b);
        clear_hardware();
        volatile std::uint64_t want = hard(ha, hb);
        const unsigned hard_flags = hardware_flags();
        if (got != want || got_flags != hard_flags)
            report(tally, "x87", a, b, SoftExtended::from_bits(0, got), got_flags, SoftExtended::from_bits(0, want),
                   hard_flags);
        tally.count(got_flags);
    }
}

// Doubles in, exact extended values out: a double's bits drawn directly.
void check_from_double(Tally &tally, Draw &draw, std::uint64_t count)
{
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t bits = draw.bits();
        const double d = std::bit_cast<double>(bits);
        flags::clear(flags::all);
        const SoftExtended got(d);
        const unsigned got_flags = flags::test(flags::all);
        volatile double hd = d;
        clear_hardware();
        volatile long double hr = hd;
        const unsigned hard_flags = hardware_flags();
        const SoftExtended want = from_hardware(hr);
        if (!same(got, want) || got_flags != hard_flags)
            report(tally, "x87", SoftExtended::from_bits(0, bits), got, got, got_flags, want, hard_flags);
        tally.count(got_flags);
    }
}

std::uint64_t as_bits(double d) { return std::bit_cast<std::uint64_t>(d); }

bool parse_number(std::string_view text, std::uint64_t &value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

int main(int argc, char **argv)
{
    std::uint64_t pairs = 10'000'000;
    std::uint64_t seed = 20'231'109;
    if (const char *chosen = std::getenv("PARVOLIN_DIFFERENTIAL_SEED"); chosen != nullptr && *chosen != '\0') {
        if (!parse_number(chosen, seed)) {
            std::fprintf(stderr, "PARVOLIN_DIFFERENTIAL_SEED is not a number\n");
            return 2;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::uint64_t *target = arg == "--pairs" ? &pairs : arg == "--seed" ? &seed : nullptr;
        if (target == nullptr || i + 1 == argc || !parse_number(argv[i + 1], *target)) {
            std::fprintf(stderr, "usage: %s [--pairs N] [--seed S]\n", argv[0]);
            return 2;
        }
        ++i;
    }
    std::printf("seed %" PRIu64 ", %" PRIu64 " operand pairs per operation\n", seed, pairs);
    std::fflush(stdout);

    Draw draw(seed);
    Mpfr mpfr;
    const auto any = [](SoftExtended) { return true; };
    using LD = long double;

    Tally tallies[] = {{"add"}, {"subtract"}, {"multiply"}, {"divide"}, {"sqrt"}, {"to double"}, {"from double"},
                       {"trunc"}, {"floor"}, {"ceil"}, {"rint"}, {"to int64"}, {"to uint64"}, {"ilogb"},
                       {"equal"}, {"less"}, {"less or equal"}};
    Tally *t = tallies;
    check_binary(*t++, draw, pairs, [](SoftExtended a, SoftExtended b) { return a + b; },
                 [](LD a, LD b) { return a + b; }, mpfr_add, mpfr);
    check_binary(*t++, draw, pairs, [](SoftExtended a, SoftExtended b) { return a - b; },
                 [](LD a, LD b) { return a - b; }, mpfr_sub, mpfr);
    check_binary(*t++, draw, pairs, [](SoftExtended a, SoftExtended b) { return a * b; },
                 [](LD a, LD b) { return a * b; }, mpfr_mul, mpfr);
    check_binary(*t++, draw, pairs, [](SoftExtended a, SoftExtended b) { return a / b; },
                 [](LD a, LD b) { return a / b; }, mpfr_div, mpfr);
    check_unary(*t++, draw, pairs, [](SoftExtended a) { return sqrt(a); }, [](LD a) { return std::sqrt(a); },
                mpfr_sqrt, mpfr);
    check_other(*t++, draw, pairs, false, [](SoftExtended a, SoftExtended) { return as_bits(static_cast<double>(a)); },
                [](LD a, LD) { return as_bits(static_cast<double>(a)); }, any);
    check_from_double(*t++, draw, pairs);
    // The C library's versions on the hardware.
    check_unary(*t++, draw, pairs, [](SoftExtended a) { return trunc(a); }, [](LD a) { return std::trunc(a); },
                nullptr, mpfr);
    check_unary(*t++, draw, pairs, [](SoftExtended a) { return floor(a); }, [](LD a) { return std::floor(a); },
                nullptr, mpfr);
    check_unary(*t++, draw, pairs, [](SoftExtended a) { return ceil(a); }, [](LD a) { return std::ceil(a); },
                nullptr, mpfr);
    check_unary(*t++, draw, pairs, [](SoftExtended a) { return rint(a); }, [](LD a) { return std::rint(a); },
                nullptr, mpfr);
    // Integer conversions where the language defines them: within range.
    check_other(*t++, draw, pairs, false,
                [](SoftExtended a, SoftExtended) { return static_cast<std::uint64_t>(to_int64(a)); },
                [](LD a, LD) { return static_cast<std::uint64_t>(static_cast<std::int64_t>(a)); },
                [](SoftExtended a) { return a > SoftExtended(-0x1p63) - 1 && a < SoftExtended(0x1p63); });
    check_other(*t++, draw, pairs, false, [](SoftExtended a, SoftExtended) { return to_uint64(a); },
                [](LD a, LD) { return static_cast<std::uint64_t>(a); },
                [](SoftExtended a) { return a > SoftExtended(-1) && a < SoftExtended(0x1p64); });
    check_other(*t++, draw, pairs, false,
                [](SoftExtended a, SoftExtended) { return static_cast<std::uint64_t>(ilogb(a)); },
                [](LD a, LD) { return static_cast<std::uint64_t>(std::ilogb(a)); },
                [](SoftExtended a) { return isfinite(a) && a != SoftExtended(0); });
    check_other(*t++, draw, pairs, true,
                [](SoftExtended a, SoftExtended b) { return std::uint64_t{a == b}; },
                [](LD a, LD b) { return std::uint64_t{a == b}; }, any);
    check_other(*t++, draw, pairs, true, [](SoftExtended a, SoftExtended b) { return std::uint64_t{a < b}; },
                [](LD a, LD b) { return std::uint64_t{a < b}; }, any);
    check_other(*t++, draw, pairs, true,
                [](SoftExtended a, SoftExtended b) { return std::uint64_t{a <= b}; },
                [](LD a, LD b) { return std::uint64_t{a <= b}; }, any);

    std::uint64_t total = 0, mismatches = 0;
    for (const Tally &tally : tallies) {
        std::printf("%-14s %10" PRIu64 " compared, %" PRIu64 " differ; flags raised: invalid %" PRIu64
                    ", division %" PRIu64 ", overflow %" PRIu64 ", underflow %" PRIu64 ", inexact %" PRIu64 "\n",
                    tally.name, tally.pairs, tally.mismatches, tally.invalid, tally.divide_by_zero, tally.overflow,
                    tally.underflow, tally.inexact);
        total += tally.pairs;
        mismatches += tally.mismatches;
    }
    std::printf("%" PRIu64 " operand pairs compared, %" PRIu64 " differ (seed %" PRIu64 ")\n", total, mismatches,
                seed);
    return mismatches == 0 ? 0 : 1;
}
