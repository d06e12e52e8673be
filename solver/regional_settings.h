#pragma once

#include <array>
#include <string>
#include <string_view>

namespace parvolin {

// The user's regional number, date and time formats, read once into a record
// that every conversion takes as an argument. The member defaults are the
// values used for an item that cannot be read.
struct RegionalSettings {
    char decimal_separator = '.';
    char date_separator = '/';  // '\0' writes nothing for "/"
    char time_separator = ':';  // '\0' writes nothing for ":"
    std::string short_date_pattern = "m/d/yy";
    std::string long_date_pattern = "mmmm d, yyyy";
    std::string am_designator = "am";
    std::string pm_designator = "pm";
    int hour_leading_zero = 0; // non-zero: "hh"
    int clock_kind = 0;        // 0: 12-hour clock, otherwise 24-hour
    int marker_position = 0;   // 0: AM/PM after the time, otherwise before
    std::array<std::string, 12> short_month_names{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> long_month_names{"January", "February", "March",     "April",
                                                 "May",     "June",     "July",      "August",
                                                 "September", "October", "November", "December"};
    std::array<std::string, 7> short_day_names{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> long_day_names{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

    // Built from the clock kind, leading zero and marker position, e.g.
    // "h:mm:ss AMPM" from the defaults, "hh:mm:ss" for a 24-hour clock.
    std::string long_time_pattern() const;
    // The same with ":mm" in place of ":mm:ss".
    std::string short_time_pattern() const;
};

// Reads the user's POSIX locale (LC_NUMERIC for the separator, LC_TIME for
// the date and time formats, as the environment sets them), whatever the
// process's current C locale is.
RegionalSettings load_regional_settings();

} // namespace parvolin
