#pragma once

#include "solver/regional_settings.h"

#include <string>
#include <string_view>

namespace parvolin {

// A locale's strftime formats, in UTF-8, as nl_langinfo gives them: D_FMT,
// T_FMT, T_FMT_AMPM and D_T_FMT. %x, %X, %r and %c bring these in. The
// member defaults are those of the C locale.
struct StrftimeFormats {
    std::string date = "%m/%d/%y";
    std::string time = "%H:%M:%S";
    std::string time_12_hour = "%I:%M:%S %p";
    std::string date_time = "%a %b %e %H:%M:%S %Y";
};

// A strftime format written in our pattern language: "%-d.%-m.%Y" gives
// "d.m.yyyy", "%m/%d/%y" gives "mm/dd/yy" (a literal '/' or ':' becomes the
// separator token), literal letters are quoted so they come out unchanged,
// conversions the patterns cannot write (%Z, %j, ...) are dropped.
std::string pattern_from_strftime(std::string_view format, const StrftimeFormats &formats);

// Sets the date and time items of `settings` from a locale's formats: both
// separators, both date patterns (through translate_date_pattern with the
// Gregorian calendar), and the clock kind, hour leading zero and marker
// position of the time format. Items the formats say nothing about keep
// their values.
void apply_strftime_formats(RegionalSettings &settings, const StrftimeFormats &formats,
                            bool cjk_language);

// The calendar's rewrite of a date pattern. Calendar types 3, 4 and 5 count
// years in eras: from left to right "gg" (any case) becomes "ggg", "yyyy"
// "eeee", "yy" "ee" and any other single y or Y "e". Otherwise a Japanese,
// Chinese or Korean pattern loses every g and G. Otherwise it is unchanged.
std::string translate_date_pattern(std::string_view pattern, int calendar_type,
                                   bool cjk_language);

} // namespace parvolin
