#include "solver/disagreement_line.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace parvolin {
namespace {

// The line names the exact set as the working's result does and points to
// the working; nothing is said where the report agrees.
struct LineRow : NamedRow {
    const char *a, *b, *c;
    int relation_index;
    int places;
    const char *line; // "" where the report agrees
};

class DisagreementLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(DisagreementLine, NamesTheExactSet)
{
    const auto &row = GetParam();
    const StepsResult steps = build_steps({row.a, row.b, row.c, row.relation_index, row.places - min_decimals}, ',');
    EXPECT_EQ(disagreement_line(steps), row.line);
}

constexpr int Eq = 0, Lt = 1, Gt = 2, Le = 3, Ge = 4;

INSTANTIATE_TEST_SUITE_P(
    Report, DisagreementLine,
    ::testing::Values(
        LineRow{"touching_equation", "1", "-0,6", "0,09", Eq, 2,
                "Pozor: přesně vychází K = { 0,3 }, protokol se od toho liší. "
                "Důvod vysvětluje záložka Postup."},
        LineRow{"touching_greater", "1", "-0,6", "0,09", Gt, 2,
                "Pozor: přesně vychází K = (−∞ ; 0,3) ∪ (0,3 ; ∞), protokol se od toho liší. "
                "Důvod vysvětluje záložka Postup."},
        LineRow{"touching_less_equal", "1", "-0,6", "0,09", Le, 2,
                "Pozor: přesně vychází K = { 0,3 }, protokol se od toho liší. "
                "Důvod vysvětluje záložka Postup."},
        LineRow{"touching_less_agrees", "1", "-0,6", "0,09", Lt, 2, ""},
        LineRow{"touching_greater_equal_agrees", "1", "-0,6", "0,09", Ge, 2, ""},
        LineRow{"integer_roots_agree", "1", "-5", "6", Eq, 2, ""},
        LineRow{"half_rounded_down", "0", "8", "-1", Eq, 2,
                "Pozor: přesně vychází K = { 1/8 } ≐ { 0,13 }, protokol se od toho liší. "
                "Důvod vysvětluje záložka Postup."},
        LineRow{"report_overflows_radicand_too_long", "1E300", "1E300", "1", Eq, 2,
                "Pozor: protokol výpočet nedokončil, přesně vychází K ≐ { −1 ; 0 }. Důvod vysvětluje záložka Postup."}),
    row_name);

} // namespace
} // namespace parvolin
