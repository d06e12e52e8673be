// The date/time pattern writer: any pattern, any moment, any regional texts.
//
// Input, fields separated by NUL bytes (a missing field keeps its default):
//   1. the pattern;
//   2. the moment as numbers in any separators: year month day hour minute
//      second millisecond ("2024-03-05 13:07:09.250");
//   3. five bytes: the date separator, the time separator (0x01 stands for
//      "none", as a field cannot hold NUL), then the hour leading zero, clock
//      kind and marker position, each as the byte less '0';
//   4. the short and the long date pattern, the AM and the PM designator,
//      the 12 short and the 12 long month names, the 7 short and the 7 long
//      day names.
//
// The year is taken as it comes (the header gives it no range); the other
// fields are brought into the ranges the header gives them.

#include "solver/date_time_text.h"
#include "solver/regional_settings.h"
#include "tests/fuzz/fuzz_support.h"

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using parvolin::fuzz::character_count;
using parvolin::fuzz::Fields;
using parvolin::fuzz::is_valid_utf8;
using parvolin::fuzz::require;

constexpr std::size_t max_characters = 256;

// The integers of a text, each saturated to the int range. A '-' makes a
// number negative at the start or after a blank, elsewhere it separates
// ("-44-03-15" is -44, 3, 15).
std::vector<int> numbers_in(std::string_view text)
{
    std::vector<int> numbers;
    for (std::size_t at = 0; at < text.size();) {
        const bool negative = text[at] == '-' && (at == 0 || text[at - 1] == ' ');
        std::size_t digit = negative ? at + 1 : at;
        if (digit >= text.size() || text[digit] < '0' || text[digit] > '9') {
            ++at;
            continue;
        }
        long long value = 0;
        for (; digit < text.size() && text[digit] >= '0' && text[digit] <= '9'; ++digit) {
            if (value <= INT_MAX)
                value = value * 10 + (text[digit] - '0');
        }
        if (negative)
            value = -value;
        numbers.push_back(value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value));
        at = digit;
    }
    return numbers;
}

// `value` brought into [low, low + span) by wrapping around.
int wrapped(int value, int low, int span)
{
    const long long offset = (static_cast<long long>(value) - low) % span;
    return low + static_cast<int>(offset < 0 ? offset + span : offset);
}

parvolin::LocalDateTime moment_from(std::string_view text)
{
    parvolin::LocalDateTime moment;
    const std::vector<int> numbers = numbers_in(text);
    const auto number = [&](std::size_t index, int fallback) {
        return index < numbers.size() ? numbers[index] : fallback;
    };
    moment.year = number(0, moment.year);
    moment.month = wrapped(number(1, 1), 1, 12);
    moment.day = wrapped(number(2, 1), 1, 31);
    moment.hour = wrapped(number(3, 0), 0, 24);
    moment.minute = wrapped(number(4, 0), 0, 60);
    moment.second = wrapped(number(5, 0), 0, 60);
    moment.millisecond = wrapped(number(6, 0), 0, 1000);
    return moment;
}

void read_scalars(std::string_view bytes, parvolin::RegionalSettings &settings)
{
    const auto separator = [](char c) { return c == '\x01' ? '\0' : c; };
    if (bytes.size() > 0)
        settings.date_separator = separator(bytes[0]);
    if (bytes.size() > 1)
        settings.time_separator = separator(bytes[1]);
    if (bytes.size() > 2)
        settings.hour_leading_zero = bytes[2] - '0';
    if (bytes.size() > 3)
        settings.clock_kind = bytes[3] - '0';
    if (bytes.size() > 4)
        settings.marker_position = bytes[4] - '0';
}

// Every text of the settings, in the order the input gives them.
std::vector<std::string *> texts_of(parvolin::RegionalSettings &settings)
{
    std::vector<std::string *> texts{&settings.short_date_pattern, &settings.long_date_pattern,
                                     &settings.am_designator, &settings.pm_designator};
    for (auto *names : {&settings.short_month_names, &settings.long_month_names})
        for (std::string &name : *names)
            texts.push_back(&name);
    for (auto *names : {&settings.short_day_names, &settings.long_day_names})
        for (std::string &name : *names)
            texts.push_back(&name);
    return texts;
}

// The first `count` characters of a UTF-8 text.
std::string_view first_characters(std::string_view text, std::size_t count)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!parvolin::fuzz::is_continuation(text[at]) && characters++ == count)
            return text.substr(0, at);
    }
    return text;
}

// Neither a letter (a token), a quote, nor a separator: written as it stands.
bool is_plain(char c)
{
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return !letter && c != '\'' && c != '"' && c != '/' && c != ':';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fields fields(data, size);
    const std::string_view pattern = fields.next();
    const parvolin::LocalDateTime moment = moment_from(fields.next());
    parvolin::RegionalSettings settings;
    read_scalars(fields.next(), settings);
    bool all_valid = is_valid_utf8(pattern) && static_cast<unsigned char>(settings.date_separator) < 0x80 &&
                     static_cast<unsigned char>(settings.time_separator) < 0x80;
    for (std::string *text : texts_of(settings)) {
        if (fields.exhausted())
            break;
        *text = fields.next();
        all_valid = all_valid && is_valid_utf8(*text);
    }

    const std::string written = parvolin::format_date_time(pattern, moment, settings);

    require(character_count(written) <= max_characters, "at most 256 characters are written", written);
    if (!all_valid)
        return 0;
    // Cut at a character boundary, a whole character never split.
    require(is_valid_utf8(written), "UTF-8 in, UTF-8 out", written);
    bool plain = true;
    for (const char c : pattern)
        plain = plain && is_plain(c);
    if (plain)
        require(written == first_characters(pattern, max_characters),
                "a pattern without tokens, quotes or separators is written as it stands", pattern);
    return 0;
}
