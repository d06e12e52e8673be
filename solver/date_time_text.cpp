#include "solver/date_time_text.h"

#include "solver/ascii.h"

#include <cstddef>
#include <ctime>

namespace parvolin {

namespace {

constexpr std::size_t max_characters = 256;

// Length of the AM/PM, A/P or AMPM token that starts at `at`, 0 if none does.
std::size_t marker_length(std::string_view pattern, std::size_t at)
{
    if (continues_with_ignoring_ascii_case(pattern, at, "am/pm"))
        return 5;
    if (continues_with_ignoring_ascii_case(pattern, at, "a/p"))
        return 3;
    if (continues_with_ignoring_ascii_case(pattern, at, "ampm"))
        return 4;
    return 0;
}

// Whether an hour token that ends at `from` is followed by a marker: the first
// a or A outside quotes must begin one, and no h or H may come before it.
// Either quote character switches "inside quotes" on and off here.
bool marker_follows(std::string_view pattern, std::size_t from)
{
    bool quoted = false;
    for (std::size_t j = from; j < pattern.size(); ++j) {
        const char c = pattern[j];
        if (c == '\'' || c == '"')
            quoted = !quoted;
        else if (c == 'h' || c == 'H')
            return false;
        else if (!quoted && (c == 'a' || c == 'A'))
            return marker_length(pattern, j) != 0;
    }
    return false;
}

// Sunday = 0. Sakamoto's method, with floor division so that years before 1
// still give a weekday.
int day_of_week(long long year, int month, int day)
{
    static constexpr int month_offset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        --year;
    const auto floor_div = [](long long a, long long b) { return a / b - (a % b < 0 ? 1 : 0); };
    const long long sum = year + floor_div(year, 4) - floor_div(year, 100) + floor_div(year, 400) +
                          month_offset[month - 1] + day;
    return static_cast<int>(((sum % 7) + 7) % 7);
}

// The result, built in place: at most 256 characters, each up to four UTF-8
// bytes, so a fixed buffer holds any result and the only allocation is the
// returned string. Stops at a character boundary once the limit is reached.
class Output {
public:
    bool full() const { return full_; }

    void put(char c)
    {
        if (full_)
            return;
        const bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        if (!continuation) {
            if (characters_ == max_characters) {
                full_ = true;
                return;
            }
            ++characters_;
        }
        if (length_ == sizeof buffer_) {
            full_ = true;
            return;
        }
        buffer_[length_++] = c;
    }

    void put(std::string_view text)
    {
        for (const char c : text)
            put(c);
    }

    void put_number(long long value, int min_digits)
    {
        unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
        char digits[24];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0)
            put('-');
        for (int k = count; k < min_digits; ++k)
            put('0');
        while (count > 0)
            put(digits[--count]);
    }

    std::string text() const { return std::string(buffer_, length_); }

private:
    char buffer_[max_characters * 4];
    std::size_t length_ = 0;
    std::size_t characters_ = 0;
    bool full_ = false;
};

class Writer {
public:
    Writer(const LocalDateTime &moment, const RegionalSettings &settings, Output &out)
        : moment_(moment), settings_(settings), out_(out)
    {
    }

    // `nested`: the pattern was brought in by ddddd, dddddd, t, tt or c, and
    // those tokens bring in nothing inside it.
    void write(std::string_view pattern, bool nested);

private:
    void write_marker(std::string_view token);
    void write_month_name(int count);
    void write_day_name(int count);
    void write_hour(int count, bool twelve_hour);
    void write_separator(char separator)
    {
        if (separator != '\0')
            out_.put(separator);
    }
    bool before_noon() const { return moment_.hour < 12; }

    const LocalDateTime &moment_;
    const RegionalSettings &settings_;
    Output &out_;
};

void Writer::write(std::string_view pattern, bool nested)
{
    // Once a marker has stood in this pattern, every later hour is on the
    // 12-hour clock.
    bool marker_seen = false;
    // m and mm are minutes when the last letter token was an hour.
    bool after_hour = false;

    std::size_t i = 0;
    while (i < pattern.size() && !out_.full()) {
        const char c = pattern[i];

        if (c == '\'' || c == '"') {
            std::size_t end = pattern.find(c, i + 1);
            if (end == std::string_view::npos)
                end = pattern.size();
            out_.put(pattern.substr(i + 1, end - i - 1));
            i = end < pattern.size() ? end + 1 : end;
            continue;
        }
        if (!is_ascii_letter(c)) {
            if (c == '/')
                write_separator(settings_.date_separator);
            else if (c == ':')
                write_separator(settings_.time_separator);
            else
                out_.put(c);
            ++i;
            continue;
        }
        if (ascii_lower(c) == 'a') {
            if (const std::size_t length = marker_length(pattern, i)) {
                write_marker(pattern.substr(i, length));
                marker_seen = true;
                after_hour = false;
                i += length;
                continue;
            }
        }

        const std::size_t start = i;
        while (i < pattern.size() && pattern[i] == c)
            ++i;
        const std::size_t run = i - start;
        // Counts past 6 all mean the same as the longest form of a token.
        const int count = run > 6 ? 6 : static_cast<int>(run);
        bool hour_token = false;

        switch (ascii_lower(c)) {
        case 'd':
            if (count <= 2)
                out_.put_number(moment_.day, count);
            else if (count <= 4)
                write_day_name(count);
            else if (!nested)
                write(count == 5 ? settings_.short_date_pattern : settings_.long_date_pattern, true);
            break;
        case 'm':
            if (count <= 2 && after_hour)
                out_.put_number(moment_.minute, count);
            else if (count <= 2)
                out_.put_number(moment_.month, count);
            else
                write_month_name(count);
            break;
        case 'y':
            if (count <= 2)
                out_.put_number(((moment_.year % 100) + 100) % 100, 2);
            else
                out_.put_number(moment_.year, 4);
            break;
        case 'h':
            hour_token = true;
            write_hour(count, marker_seen || marker_follows(pattern, i));
            break;
        case 'n':
            out_.put_number(moment_.minute, count >= 2 ? 2 : 1);
            break;
        case 's':
            out_.put_number(moment_.second, count >= 2 ? 2 : 1);
            break;
        case 'z':
            out_.put_number(moment_.millisecond, count >= 3 ? 3 : count);
            break;
        case 't':
            if (!nested)
                write(count == 1 ? settings_.short_time_pattern() : settings_.long_time_pattern(),
                      true);
            break;
        case 'a':
            if (count >= 3)
                write_day_name(count == 3 ? 3 : 4);
            else
                out_.put(pattern.substr(start, run));
            break;
        case 'c':
            if (!nested) {
                write(settings_.short_date_pattern, true);
                if (moment_.hour != 0 || moment_.minute != 0 || moment_.second != 0) {
                    out_.put(' ');
                    write(settings_.long_time_pattern(), true);
                }
            }
            break;
        case 'e':
            // Our settings always use the Gregorian calendar, whose one era
            // makes the year of the era the year itself.
            out_.put_number(moment_.year, count >= 2 ? 2 : 1);
            break;
        case 'g':
            // The Gregorian calendar's era has no name to write.
            break;
        default:
            out_.put(pattern.substr(start, run));
            break;
        }
        after_hour = hour_token;
    }
}

void Writer::write_marker(std::string_view token)
{
    switch (token.size()) {
    case 5: // AM/PM, letters as the pattern writes them
        out_.put(before_noon() ? token.substr(0, 2) : token.substr(3, 2));
        break;
    case 3: // A/P
        out_.put(before_noon() ? token[0] : token[2]);
        break;
    default: // AMPM
        out_.put(before_noon() ? settings_.am_designator : settings_.pm_designator);
        break;
    }
}

void Writer::write_month_name(int count)
{
    if (moment_.month < 1 || moment_.month > 12)
        return;
    const auto index = static_cast<std::size_t>(moment_.month - 1);
    out_.put(count == 3 ? settings_.short_month_names[index] : settings_.long_month_names[index]);
}

void Writer::write_day_name(int count)
{
    if (moment_.month < 1 || moment_.month > 12)
        return;
    const auto index = static_cast<std::size_t>(day_of_week(moment_.year, moment_.month, moment_.day));
    out_.put(count == 3 ? settings_.short_day_names[index] : settings_.long_day_names[index]);
}

void Writer::write_hour(int count, bool twelve_hour)
{
    int hour = moment_.hour;
    if (twelve_hour) {
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    out_.put_number(hour, count >= 2 ? 2 : 1);
}

} // namespace

LocalDateTime local_now()
{
    LocalDateTime now;
    timespec clock{};
    if (clock_gettime(CLOCK_REALTIME, &clock) != 0)
        return now;
    // tzset picks up a changed TZ; localtime_r alone keeps the first zone it saw.
    tzset();
    tm local{};
    if (localtime_r(&clock.tv_sec, &local) == nullptr)
        return now;
    now.year = local.tm_year + 1900;
    now.month = local.tm_mon + 1;
    now.day = local.tm_mday;
    now.hour = local.tm_hour;
    now.minute = local.tm_min;
    now.second = local.tm_sec;
    // Truncated: milliseconds are never rounded up into the seconds.
    now.millisecond = static_cast<int>(clock.tv_nsec / 1000000);
    return now;
}

std::string format_date_time(std::string_view pattern, const LocalDateTime &moment,
                             const RegionalSettings &settings)
{
    Output out;
    Writer(moment, settings, out).write(pattern, false);
    return out.text();
}

std::string date_text(const LocalDateTime &moment, const RegionalSettings &settings)
{
    return format_date_time(settings.short_date_pattern, moment, settings);
}

std::string time_text(const LocalDateTime &moment, const RegionalSettings &settings)
{
    return format_date_time(settings.long_time_pattern(), moment, settings);
}

} // namespace parvolin
