#pragma once

#include "solver/regional_settings.h"

#include <string>
#include <string_view>

namespace parvolin {

// A local moment, to the millisecond. The caller reads the clock, so tests fix it.
struct LocalDateTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The local clock now.
LocalDateTime local_now();

// Writes a moment with a date/time pattern ("d.m.yyyy", "h:mm:ss AMPM", ...).
// The result is cut to 256 characters.
std::string format_date_time(std::string_view pattern, const LocalDateTime &moment,
                             const RegionalSettings &settings);

// The short date pattern and the long time pattern of the settings.
std::string date_text(const LocalDateTime &moment, const RegionalSettings &settings);
std::string time_text(const LocalDateTime &moment, const RegionalSettings &settings);

} // namespace parvolin
