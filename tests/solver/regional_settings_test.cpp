#include "solver/date_time_text.h"
#include "solver/regional_settings.h"
#include "solver/strftime_patterns.h"
#include "tests/solver/test_support.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <locale.h>
#include <optional>
#include <string>

namespace parvolin {
namespace {

TEST(TimePatterns, AreBuiltFromTheClockItems)
{
    RegionalSettings settings; // 12-hour clock, no leading zero, marker after
    EXPECT_EQ(settings.long_time_pattern() + "|" + settings.short_time_pattern(), "h:mm:ss AMPM|h:mm AMPM");
    settings.marker_position = 1;
    EXPECT_EQ(settings.long_time_pattern() + "|" + settings.short_time_pattern(), "AMPM h:mm:ss|AMPM h:mm");
    settings.hour_leading_zero = 1;
    settings.clock_kind = 2; // any kind but 0 is the 24-hour clock, which has no marker
    EXPECT_EQ(settings.long_time_pattern() + "|" + settings.short_time_pattern(), "hh:mm:ss|hh:mm");
}

// ---------------------------------------------------------------------------
// strftime formats in our pattern language

struct TranslationRow : NamedRow {
    const char *format;
    const char *pattern;
};

class PatternFromStrftime : public ::testing::TestWithParam<TranslationRow> {};

TEST_P(PatternFromStrftime, Translates)
{
    StrftimeFormats formats;
    formats.date = "%d %x"; // brings itself in: must still end
    EXPECT_EQ(pattern_from_strftime(GetParam().format, formats), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PatternFromStrftime,
    ::testing::Values(
        TranslationRow{"hours", "%H %-H %k %I %-I %l %M %-M %S %-S", "hh h h hh h h nn n ss s"},
        TranslationRow{"self_reference_ends", "%x", "dd dd "},
        TranslationRow{"quote_characters", "'%d\"", "\"'\"dd'\"'"},
        TranslationRow{"same_letter_kept_apart", "%d%e%H%k", "dd''dhh''h"},
        TranslationRow{"modifiers_flags_width_ignored", "%Ey %Od %_5d %010Y %^B", "yy dd dd yyyy mmmm"},
        TranslationRow{"unsupported_dropped", "%Z%z%j%U%C%s|", "|"},
        TranslationRow{"odd_ends", "%d%n%t%%%", "dd\n\t%%"},
        TranslationRow{"unfinished_conversion_dropped", "%d %-", "dd "}),
    row_name);

// The translated pattern writes what strftime writes, in the C locale.
struct RoundTripRow : NamedRow {
    const char *format;
};

class StrftimeRoundTrip : public ::testing::TestWithParam<RoundTripRow> {};

TEST_P(StrftimeRoundTrip, WritesWhatStrftimeWrites)
{
    RegionalSettings settings; // the names of the C locale
    settings.am_designator = "AM";
    settings.pm_designator = "PM";
    const std::string pattern = pattern_from_strftime(GetParam().format, StrftimeFormats{});

    locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    ASSERT_NE(c_locale, nullptr);
    // Days from 10 on: %e pads with a blank, which the patterns cannot.
    for (const LocalDateTime moment : {LocalDateTime{2026, 12, 17, 21, 5, 7},
                                       LocalDateTime{2027, 1, 15, 9, 3, 4},
                                       LocalDateTime{2024, 2, 29, 0, 0, 0}}) {
        std::tm fields = calendar_fields(moment);
        timegm(&fields); // fills in the weekday
        char expected[256];
        strftime_l(expected, sizeof expected, GetParam().format, &fields, c_locale);
        EXPECT_EQ(format_date_time(pattern, moment, settings), expected)
            << "pattern " << pattern << ", " << moment.year << "-" << moment.month << "-" << moment.day;
    }
    freelocale(c_locale);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StrftimeRoundTrip,
    ::testing::Values(
        RoundTripRow{"dotted_date", "%d.%m.%Y"},
        RoundTripRow{"unpadded_date", "%-d.%-m.%y"},
        RoundTripRow{"named_date", "%A, %-d. %B %Y (%a %b)"},
        RoundTripRow{"compositions", "%c|%x|%D %F %T %R"},
        RoundTripRow{"twelve_hour", "%r|%-I:%M %p"},
        RoundTripRow{"marker_first", "%p %I:%M"},
        RoundTripRow{"hour_then_minute", "%H%M"},
        RoundTripRow{"same_letter_tokens", "%d%e%H%-H"},
        RoundTripRow{"letters_and_quotes", "it's \"%d\" o'clock at %H, amp %S"},
        RoundTripRow{"percent_d_literal", "%%d %%H"}),
    row_name);

// ---------------------------------------------------------------------------
// Settings from a locale's formats

struct FormatsRow : NamedRow {
    StrftimeFormats formats;
    bool cjk;
    const char *separators; // date, then time
    const char *short_date;
    const char *long_date;
    const char *long_time;
};

class ApplyStrftimeFormats : public ::testing::TestWithParam<FormatsRow> {};

TEST_P(ApplyStrftimeFormats, SetsTheDateAndTimeItems)
{
    const FormatsRow &row = GetParam();
    RegionalSettings settings;
    apply_strftime_formats(settings, row.formats, row.cjk);
    EXPECT_EQ(std::string{settings.date_separator} + settings.time_separator, row.separators);
    EXPECT_EQ(settings.short_date_pattern, row.short_date);
    EXPECT_EQ(settings.long_date_pattern, row.long_date);
    EXPECT_EQ(settings.long_time_pattern(), row.long_time);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ApplyStrftimeFormats,
    ::testing::Values(
        FormatsRow{"c_locale", {}, false, "/:", "mm/dd/yy", "ddd mmm d yyyy", "hh:mm:ss"},
        FormatsRow{"czech", {"%-d.%-m.%Y", "%H:%M:%S", "", "%a %-d. %B %Y, %H:%M:%S"}, false,
                   ".:", "d.m.yyyy", "ddd d. mmmm yyyy", "hh:mm:ss"},
        FormatsRow{"us_english", {"%m/%d/%Y", "%r", "%I:%M:%S %p", "%a %d %b %Y %r %Z"}, false,
                   "/:", "mm/dd/yyyy", "ddd dd mmm yyyy", "hh:mm:ss AMPM"},
        FormatsRow{"marker_first_unpadded", {"%Y-%m-%d", "%p %-I.%M.%S", "", "%H:%M %d.%m."}, false,
                   "-.", "yyyy-mm-dd", "dd.mm.", "AMPM h:mm:ss"},
        FormatsRow{"unpadded_12_hour", {"%D", "%l:%M %p", "", "%x"}, false,
                   "/:", "mm/dd/yy", "mm/dd/yy", "h:mm:ss AMPM"},
        FormatsRow{"unpadded_24_hour", {"%D", "%k:%M", "", "%F"}, false,
                   "/:", "mm/dd/yy", "yyyy-mm-dd", "h:mm:ss"},
        FormatsRow{"nothing_usable_keeps_defaults", {"", "%M:%S", "", "%H:%M"}, false,
                   "/:", "m/d/yy", "mmmm d, yyyy", "h:mm:ss AMPM"},
        FormatsRow{"separator_only_between_conversions", {"(%d - %m)", "%Hh%M", "", "%d"}, false,
                   "-:", "(dd - mm)", "dd", "hh:mm:ss"},
        FormatsRow{"japanese_like", {"%Y年%m月%d日", "%H時%M分", "", "%Y年%m月%d日 %H時%M分"}, true,
                   "/:", "yyyy年mm月dd日", "yyyy年mm月dd日", "hh:mm:ss"}),
    row_name);

// ---------------------------------------------------------------------------
// The calendar's rewrite of date patterns

struct CalendarRow : NamedRow {
    const char *pattern;
    int calendar_type;
    bool cjk;
    const char *expected;
};

class TranslateDatePattern : public ::testing::TestWithParam<CalendarRow> {};

TEST_P(TranslateDatePattern, Rewrites)
{
    const CalendarRow &row = GetParam();
    EXPECT_EQ(translate_date_pattern(row.pattern, row.calendar_type, row.cjk), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TranslateDatePattern,
    ::testing::Values(
        CalendarRow{"era_years", "gg yyyy/M/d yy yyy Y", 3, false, "ggg eeee/M/d ee eee e"},
        CalendarRow{"era_name_any_case", "Gg gG", 4, false, "ggg ggg"},
        CalendarRow{"quotes_not_spared", "'year'", 3, false, "'eear'"},
        CalendarRow{"era_calendar_wins_over_language", "gg yy", 3, true, "ggg ee"},
        CalendarRow{"cjk_drops_era_letters", "gg yyyy/M/d G", 1, true, " yyyy/M/d "},
        CalendarRow{"gregorian_unchanged", "gg yyyy", 1, false, "gg yyyy"},
        CalendarRow{"calendar_6_cjk", "ggyy", 6, true, "yy"}),
    row_name);

// ---------------------------------------------------------------------------
// Loading from the environment's locale

// Sets LC_ALL for one test (nullptr unsets it), and puts it back afterwards.
class LocaleEnvironment {
public:
    explicit LocaleEnvironment(const char *lc_all)
    {
        if (const char *value = std::getenv("LC_ALL"))
            saved_ = value;
        set(lc_all);
    }
    ~LocaleEnvironment() { set(saved_ ? saved_->c_str() : nullptr); }

private:
    static void set(const char *value)
    {
        if (value != nullptr)
            setenv("LC_ALL", value, 1);
        else
            unsetenv("LC_ALL");
    }

    std::optional<std::string> saved_;
};

// What the C locale gives.
RegionalSettings c_locale_settings()
{
    RegionalSettings settings;
    settings.short_date_pattern = "mm/dd/yy";
    settings.long_date_pattern = "ddd mmm d yyyy";
    settings.am_designator = "AM";
    settings.pm_designator = "PM";
    settings.hour_leading_zero = 1;
    settings.clock_kind = 1;
    return settings;
}

void expect_same(const RegionalSettings &actual, const RegionalSettings &expected)
{
    EXPECT_EQ(std::string({actual.decimal_separator, actual.date_separator, actual.time_separator}),
              std::string({expected.decimal_separator, expected.date_separator, expected.time_separator}));
    EXPECT_EQ(actual.short_date_pattern, expected.short_date_pattern);
    EXPECT_EQ(actual.long_date_pattern, expected.long_date_pattern);
    EXPECT_EQ(actual.am_designator + "|" + actual.pm_designator,
              expected.am_designator + "|" + expected.pm_designator);
    EXPECT_EQ(actual.long_time_pattern(), expected.long_time_pattern());
    EXPECT_EQ(actual.long_month_names, expected.long_month_names);
    EXPECT_EQ(actual.short_day_names, expected.short_day_names);
}

struct LoadRow : NamedRow {
    const char *lc_all;
    bool c_locale; // otherwise the defaults
};

class LoadRegionalSettings : public ::testing::TestWithParam<LoadRow> {};

TEST_P(LoadRegionalSettings, ReadsTheEnvironmentsLocale)
{
    const LocaleEnvironment environment(GetParam().lc_all);
    expect_same(load_regional_settings(), GetParam().c_locale ? c_locale_settings() : RegionalSettings{});
}

INSTANTIATE_TEST_SUITE_P(Values, LoadRegionalSettings,
                         ::testing::Values(LoadRow{"c", "C", true}, LoadRow{"posix", "POSIX", true},
                                           LoadRow{"c_utf8", "C.UTF-8", true},
                                           LoadRow{"unknown_locale_gives_defaults", "xx_YY.UTF-8", false}),
                         row_name);

// The process's own locale does not count: the environment does.
TEST(LoadRegionalSettingsProcessLocale, IsIgnored)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    const LocaleEnvironment environment("xx_YY.UTF-8");
    expect_same(load_regional_settings(), RegionalSettings{});
    std::setlocale(LC_ALL, previous.c_str());
}

} // namespace
} // namespace parvolin
