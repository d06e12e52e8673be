#include "solver/date_time_text.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

namespace parvolin {
namespace {

constexpr LocalDateTime december_evening{2026, 12, 7, 21, 5, 7, 45}; // a Monday
constexpr LocalDateTime january_morning{2027, 1, 5, 9, 5, 7, 5};      // a Tuesday
constexpr LocalDateTime after_midnight{2026, 12, 7, 0, 30, 0, 0};
constexpr LocalDateTime midnight{2026, 12, 7, 0, 0, 0, 0};

// A date separator unlike the '/' of the patterns, so that the rows show
// where it is written.
RegionalSettings test_settings()
{
    RegionalSettings settings;
    settings.date_separator = '-';
    settings.time_separator = ':';
    settings.short_date_pattern = "d.M.yyyy";
    settings.long_date_pattern = "dddd d. mmmm yyyy";
    settings.am_designator = "AM";
    settings.pm_designator = "PM";
    return settings; // 12-hour clock: "h:mm:ss AMPM"
}

struct FormatRow : NamedRow {
    const char *pattern;
    LocalDateTime moment;
    const char *expected;
};

class FormatDateTime : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatDateTime, WritesTheMoment)
{
    const FormatRow &row = GetParam();
    EXPECT_EQ(format_date_time(row.pattern, row.moment, test_settings()), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, FormatDateTime,
    ::testing::Values(
        FormatRow{"short_date_december", "d.M.yyyy", december_evening, "7.12.2026"},
        FormatRow{"short_date_january", "d.M.yyyy", january_morning, "5.1.2027"},
        FormatRow{"padded_december", "dd.MM.yy", december_evening, "07.12.26"},
        FormatRow{"padded_january", "dd.MM.yy", january_morning, "05.01.27"},
        FormatRow{"slash_is_date_separator", "d/m/yy", december_evening, "7-12-26"},
        FormatRow{"year_forms", "y yy yyy yyyy yyyyy", december_evening, "26 26 2026 2026 2026"},
        FormatRow{"year_two_digits_padded", "yy", LocalDateTime{2005, 1, 1}, "05"},
        FormatRow{"year_of_era", "e ee", LocalDateTime{5, 1, 1}, "5 05"},
        FormatRow{"day_names", "ddd dddd", december_evening, "Mon Monday"},
        FormatRow{"day_names_by_a", "aaa aaaa AAA AAAAA", january_morning, "Tue Tuesday Tue Tuesday"},
        FormatRow{"sunday_is_first", "dddd", LocalDateTime{2024, 3, 31}, "Sunday"},
        FormatRow{"year_one", "dddd", LocalDateTime{1, 1, 1}, "Monday"},
        FormatRow{"month_names", "mmm mmmm mmmmmm", december_evening, "Dec December December"},
        FormatRow{"month_out_of_range_has_no_name", "[mmm][dddd]", LocalDateTime{2026, 13, 1}, "[][]"}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    Times, FormatDateTime,
    ::testing::Values(
        FormatRow{"24_hour_morning", "h:mm:ss", january_morning, "9:05:07"},
        FormatRow{"24_hour_evening", "h:mm:ss", december_evening, "21:05:07"},
        FormatRow{"leading_zero_hour", "hh:mm:ss", january_morning, "09:05:07"},
        FormatRow{"12_hour_evening", "h:mm:ss AMPM", december_evening, "9:05:07 PM"},
        FormatRow{"12_hour_after_midnight", "h:mm:ss AMPM", after_midnight, "12:30:00 AM"},
        FormatRow{"marker_first", "ampm h:nn", december_evening, "PM 9:05"},
        FormatRow{"lower_am_pm_copied", "h am/pm", december_evening, "9 pm"},
        FormatRow{"mixed_am_pm_copied", "h Am/pM", december_evening, "9 pM"},
        FormatRow{"a_p_upper_evening", "h A/P", december_evening, "9 P"},
        FormatRow{"earlier_marker_holds_for_later_hours", "AMPM hh h", december_evening, "PM 09 9"},
        FormatRow{"lookahead_stops_at_next_hour", "h h AMPM", december_evening, "21 9 PM"},
        FormatRow{"lookahead_skips_quoted_a", "h 'a' AMPM", december_evening, "9 a PM"},
        FormatRow{"quoted_marker_is_text", "h 'AMPM'", december_evening, "21 AMPM"},
        FormatRow{"milliseconds_forms", "z zz zzz zzzz", january_morning, "5 05 005 005"},
        FormatRow{"hour_then_m_is_minute", "h:m", december_evening, "21:5"},
        FormatRow{"m_after_minutes_is_month", "h nn mm", december_evening, "21 05 12"},
        FormatRow{"quoted_text_keeps_hour_state", "h 'x' mm", december_evening, "21 x 05"},
        FormatRow{"other_letter_ends_hour_state", "h x mm", december_evening, "21 x 12"}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    TextAndPatterns, FormatDateTime,
    ::testing::Values(
        FormatRow{"single_quotes", "'d m' d", december_evening, "d m 7"},
        FormatRow{"other_quote_inside", "\"it's\"", december_evening, "it's"},
        FormatRow{"doubled_quote_is_empty", "d''d", december_evening, "77"},
        FormatRow{"unclosed_quote_runs_to_end", "d 'yyyy /", december_evening, "7 yyyy /"},
        FormatRow{"utf8_copied", "d. ří – yyyy", december_evening, "7. ří – 2026"},
        FormatRow{"long_date", "dddddd", december_evening, "Monday 7. December 2026"},
        FormatRow{"long_time", "tt", december_evening, "9:05:07 PM"},
        FormatRow{"date_and_time", "c", december_evening, "7.12.2026 9:05:07 PM"},
        FormatRow{"date_only_at_midnight", "c", midnight, "7.12.2026"}),
    row_name);

// Brought-in patterns that themselves ask for other patterns get nothing
// for those tokens, and start their own 12-hour state.
TEST(FormatDateTimeNesting, BringsInOneLevelOnly)
{
    RegionalSettings settings = test_settings();
    settings.short_date_pattern = "d.M.[ddddd|dddddd|t|tt|c]";
    settings.long_date_pattern = "mmmm[ddddd]";
    settings.clock_kind = 1; // long time pattern "h:mm:ss"
    EXPECT_EQ(format_date_time("ddddd", december_evening, settings), "7.12.[||||]");
    EXPECT_EQ(format_date_time("dddddd", december_evening, settings), "December[]");
    EXPECT_EQ(format_date_time("c", december_evening, settings), "7.12.[||||] 21:05:07");
    EXPECT_EQ(format_date_time("AMPM tt", december_evening, settings), "PM 21:05:07");
}

TEST(FormatDateTimeSeparators, NullSeparatorWritesNothing)
{
    RegionalSettings settings = test_settings();
    settings.date_separator = '\0';
    settings.time_separator = '\0';
    EXPECT_EQ(format_date_time("d/m h:nn", december_evening, settings), "712 2105");
}

TEST(FormatDateTimeCut, KeepsAtMost256Characters)
{
    const auto format = [](const std::string &pattern) {
        return format_date_time(pattern, december_evening, test_settings());
    };
    const std::string e_acute = "é";
    std::string acutes;
    for (int k = 0; k < 300; ++k)
        acutes += e_acute;

    EXPECT_EQ(format(std::string(300, 'x')), std::string(256, 'x'));
    // Characters, not bytes, and never half of one.
    EXPECT_EQ(format(acutes), acutes.substr(0, 2 * 256));
    EXPECT_EQ(format(std::string(255, 'x') + e_acute + e_acute), std::string(255, 'x') + e_acute);
    EXPECT_EQ(format(std::string(250, '_') + "tt"), std::string(250, '_') + "9:05:0");
}

TEST(DateAndTimeText, UseShortDateAndLongTimePatterns)
{
    RegionalSettings settings;
    EXPECT_EQ(date_text(december_evening, settings), "12/7/26");
    EXPECT_EQ(time_text(december_evening, settings), "9:05:07 pm");

    settings = test_settings();
    EXPECT_EQ(date_text(january_morning, settings), "5.1.2027");
    settings.clock_kind = 1;
    settings.hour_leading_zero = 1;
    EXPECT_EQ(time_text(january_morning, settings), "09:05:07");
}

TEST(LocalNow, AgreesWithTheLocalClock)
{
    const std::time_t before = std::time(nullptr);
    const LocalDateTime now = local_now();
    std::tm fields = calendar_fields(now);
    fields.tm_isdst = -1;
    // An hour of slack for the hour that repeats when the clocks go back, and
    // a second above: time() reads a coarse clock, a few milliseconds behind
    // the one local_now reads, so the second may have turned for one only.
    const std::time_t read = std::mktime(&fields);
    EXPECT_TRUE(read >= before - 3600 && read <= std::time(nullptr) + 1) << read - before;
    EXPECT_TRUE(now.millisecond >= 0 && now.millisecond < 1000) << now.millisecond;
}

} // namespace
} // namespace parvolin
