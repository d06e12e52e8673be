#include "solver/strftime_patterns.h"

#include "solver/ascii.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace parvolin {

namespace {

// ---------------------------------------------------------------------------
// Reading strftime formats

// One conversion, reduced to its letter: flags, field width and the E and O
// modifiers are gone, except that the '-' flag (no padding) is kept.
struct Conversion {
    char letter = 0;
    bool unpadded = false;
};

// A format is a sequence of literal texts and conversions. The walk hands
// them to the visitor in order, with the conversions that stand for other
// formats replaced by those formats: %D, %F, %T and %R always, the locale's
// %x, %X, %r and %c down to two levels (enough for a D_T_FMT whose %r brings
// in T_FMT_AMPM, and a guard against formats that bring in each other).
template <class Visitor>
void walk_strftime(std::string_view format, const StrftimeFormats &formats, Visitor &visitor,
                   int depth = 0)
{
    std::size_t i = 0;
    while (i < format.size()) {
        const std::size_t literal_end = format.find('%', i);
        if (literal_end != i) {
            const std::size_t end = literal_end == std::string_view::npos ? format.size() : literal_end;
            visitor.literal(format.substr(i, end - i));
            i = end;
            continue;
        }
        ++i; // the '%'
        Conversion conversion;
        while (i < format.size() && format[i] != '\0' && std::strchr("_-0^#", format[i]) != nullptr) {
            if (format[i] == '-')
                conversion.unpadded = true;
            ++i;
        }
        while (i < format.size() && format[i] >= '0' && format[i] <= '9')
            ++i;
        if (i < format.size() && (format[i] == 'E' || format[i] == 'O'))
            ++i;
        if (i == format.size()) {
            // A format ending in '%' keeps it as text.
            if (literal_end + 1 == format.size())
                visitor.literal("%");
            break;
        }
        conversion.letter = format[i++];

        const bool may_bring_in = depth < 2;
        switch (conversion.letter) {
        case '%': visitor.literal("%"); break;
        case 'n': visitor.literal("\n"); break;
        case 't': visitor.literal("\t"); break;
        case 'D': walk_strftime("%m/%d/%y", formats, visitor, depth + 1); break;
        case 'F': walk_strftime("%Y-%m-%d", formats, visitor, depth + 1); break;
        case 'T': walk_strftime("%H:%M:%S", formats, visitor, depth + 1); break;
        case 'R': walk_strftime("%H:%M", formats, visitor, depth + 1); break;
        case 'x':
            if (may_bring_in)
                walk_strftime(formats.date, formats, visitor, depth + 1);
            break;
        case 'X':
            if (may_bring_in)
                walk_strftime(formats.time, formats, visitor, depth + 1);
            break;
        case 'r':
            if (may_bring_in)
                walk_strftime(formats.time_12_hour, formats, visitor, depth + 1);
            break;
        case 'c':
            if (may_bring_in)
                walk_strftime(formats.date_time, formats, visitor, depth + 1);
            break;
        default: visitor.conversion(conversion); break;
        }
    }
}

// Our token for a conversion, empty for one the patterns cannot write.
std::string_view token_for(Conversion conversion)
{
    const bool unpadded = conversion.unpadded;
    switch (conversion.letter) {
    case 'd': return unpadded ? "d" : "dd";
    case 'e': return "d";
    case 'm': return unpadded ? "m" : "mm";
    case 'y': return "yy";
    case 'Y': return "yyyy";
    case 'b':
    case 'h': return "mmm";
    case 'B': return "mmmm";
    case 'a': return "ddd";
    case 'A': return "dddd";
    case 'H':
    case 'I': return unpadded ? "h" : "hh";
    case 'k':
    case 'l': return "h";
    // Minutes as n, never m, so that they never depend on the token before
    // them. (A month number straight after an hour, which no locale's date
    // format has, still reads as minutes: the pattern cannot say otherwise.)
    case 'M': return unpadded ? "n" : "nn";
    case 'S': return unpadded ? "s" : "ss";
    case 'p':
    case 'P': return "AMPM";
    default: return {};
    }
}

bool is_date_conversion(char letter)
{
    return letter != '\0' && std::strchr("deymYbhBaA", letter) != nullptr;
}

bool is_hour_conversion(char letter)
{
    return letter == 'H' || letter == 'I' || letter == 'k' || letter == 'l';
}

// Writes literal text and conversions in our pattern language.
class PatternWriter {
public:
    void literal(std::string_view text)
    {
        for (const char c : text) {
            if (is_ascii_letter(c)) {
                if (!quoted_) {
                    pattern_ += '\'';
                    quoted_ = true;
                }
                pattern_ += c;
                continue;
            }
            close_quote();
            if (c == '\'')
                pattern_ += "\"'\"";
            else if (c == '"')
                pattern_ += "'\"'";
            else
                pattern_ += c; // '/' and ':' become the separators, as they are in the locale
        }
    }

    void conversion(Conversion conversion)
    {
        const std::string_view token = token_for(conversion);
        if (token.empty())
            return;
        close_quote();
        // A token right after a run of its own letter would join that run:
        // "%d%e" must not read as "ddd". An empty quote keeps them apart.
        if (!pattern_.empty() && pattern_.back() == token.front())
            pattern_ += "''";
        pattern_ += token;
    }

    std::string finish()
    {
        close_quote();
        return std::move(pattern_);
    }

private:
    void close_quote()
    {
        if (quoted_) {
            pattern_ += '\'';
            quoted_ = false;
        }
    }

    std::string pattern_;
    bool quoted_ = false;
};

// The first literal character that is neither blank nor a letter and stands
// between two conversions: the format's separator.
class SeparatorFinder {
public:
    void literal(std::string_view text)
    {
        if (!after_conversion_ || candidate_ != '\0')
            return;
        for (const char c : text) {
            if (c > ' ' && c < 0x7F && !is_ascii_letter(c)) {
                candidate_ = c;
                return;
            }
        }
    }

    void conversion(Conversion)
    {
        if (found_ == '\0')
            found_ = candidate_;
        after_conversion_ = true;
    }

    char found() const { return found_; }

private:
    bool after_conversion_ = false;
    char candidate_ = '\0';
    char found_ = '\0';
};

// What a time format says about the clock: the first hour conversion decides
// the clock kind and the leading zero, a %p before it puts the marker first.
class ClockReader {
public:
    void literal(std::string_view) {}

    void conversion(Conversion conversion)
    {
        if (hour_found_)
            return;
        if (conversion.letter == 'p' || conversion.letter == 'P') {
            marker_before_hour_ = true;
        } else if (is_hour_conversion(conversion.letter)) {
            hour_found_ = true;
            twelve_hour_ = conversion.letter == 'I' || conversion.letter == 'l';
            leading_zero_ = !conversion.unpadded && (conversion.letter == 'H' || conversion.letter == 'I');
        }
    }

    void apply(RegionalSettings &settings) const
    {
        if (!hour_found_)
            return;
        settings.clock_kind = twelve_hour_ ? 0 : 1;
        settings.hour_leading_zero = leading_zero_ ? 1 : 0;
        settings.marker_position = marker_before_hour_ ? 1 : 0;
    }

private:
    bool hour_found_ = false;
    bool twelve_hour_ = false;
    bool leading_zero_ = false;
    bool marker_before_hour_ = false;
};

// Collects the items of a format, for the long date pattern.
class ItemCollector {
public:
    struct Item {
        std::string_view text; // a literal when conversion.letter is 0
        Conversion conversion;
    };

    void literal(std::string_view text) { items.push_back({text, {}}); }
    void conversion(Conversion conversion) { items.push_back({{}, conversion}); }

    std::vector<Item> items;
};

// POSIX has no long date format. The date part of D_T_FMT comes closest
// ("%a %-d. %B %Y, %H:%M:%S" gives "ddd d. mmmm yyyy"): every conversion that
// is not a date goes, with the literal text just before it, or just after
// it when no date conversion follows. A unit written right after a date
// conversion stays, though: its non-ASCII start ("%d日 %H時" keeps the 日).
// Empty when the format holds no date.
std::string long_date_from_strftime(std::string_view date_time, const StrftimeFormats &formats)
{
    ItemCollector collector;
    walk_strftime(date_time, formats, collector);
    const auto &items = collector.items;
    const auto is_literal = [&](std::size_t k) { return items[k].conversion.letter == 0; };
    const auto is_date = [&](std::size_t k) { return is_date_conversion(items[k].conversion.letter); };

    PatternWriter writer;
    bool any_date = false;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (!is_literal(k)) {
            if (is_date(k)) {
                writer.conversion(items[k].conversion);
                any_date = true;
            }
            continue;
        }
        const std::string_view text = items[k].text;
        std::size_t next = k + 1;
        while (next < items.size() && is_literal(next))
            ++next;
        std::size_t previous = k;
        while (previous > 0 && is_literal(previous - 1))
            --previous;
        const bool after_date = previous > 0 && is_date(previous - 1);

        if (next < items.size() ? is_date(next) : (previous == 0 || after_date)) {
            writer.literal(text);
        } else if (next < items.size() && k > 0 && is_date(k - 1)) {
            std::size_t unit = 0;
            while (unit < text.size() && static_cast<unsigned char>(text[unit]) >= 0x80)
                ++unit;
            writer.literal(text.substr(0, unit));
        }
    }
    if (!any_date)
        return {};

    std::string pattern = writer.finish();
    const std::size_t first = pattern.find_first_not_of(" \t\n");
    const std::size_t last = pattern.find_last_not_of(" \t\n");
    return pattern.substr(first, last - first + 1);
}

} // namespace

std::string pattern_from_strftime(std::string_view format, const StrftimeFormats &formats)
{
    PatternWriter writer;
    walk_strftime(format, formats, writer);
    return writer.finish();
}

void apply_strftime_formats(RegionalSettings &settings, const StrftimeFormats &formats,
                            bool cjk_language)
{
    // POSIX locales use the Gregorian calendar.
    constexpr int gregorian = 1;

    SeparatorFinder date_separator;
    walk_strftime(formats.date, formats, date_separator);
    if (date_separator.found() != '\0')
        settings.date_separator = date_separator.found();

    SeparatorFinder time_separator;
    walk_strftime(formats.time, formats, time_separator);
    if (time_separator.found() != '\0')
        settings.time_separator = time_separator.found();

    const std::string short_date = pattern_from_strftime(formats.date, formats);
    if (!short_date.empty())
        settings.short_date_pattern = translate_date_pattern(short_date, gregorian, cjk_language);

    const std::string long_date = long_date_from_strftime(formats.date_time, formats);
    if (!long_date.empty())
        settings.long_date_pattern = translate_date_pattern(long_date, gregorian, cjk_language);

    ClockReader clock;
    walk_strftime(formats.time, formats, clock);
    clock.apply(settings);
}

std::string translate_date_pattern(std::string_view pattern, int calendar_type, bool cjk_language)
{
    const bool era_calendar = calendar_type >= 3 && calendar_type <= 5;
    if (!era_calendar && !cjk_language)
        return std::string(pattern);

    std::string result;
    result.reserve(pattern.size() + 8);
    if (!era_calendar) {
        for (const char c : pattern) {
            if (c != 'g' && c != 'G')
                result += c;
        }
        return result;
    }

    std::size_t i = 0;
    while (i < pattern.size()) {
        if (continues_with_ignoring_ascii_case(pattern, i, "gg")) {
            result += "ggg";
            i += 2;
        } else if (continues_with_ignoring_ascii_case(pattern, i, "yyyy")) {
            result += "eeee";
            i += 4;
        } else if (continues_with_ignoring_ascii_case(pattern, i, "yy")) {
            result += "ee";
            i += 2;
        } else if (ascii_lower(pattern[i]) == 'y') {
            result += 'e';
            ++i;
        } else {
            result += pattern[i];
            ++i;
        }
    }
    return result;
}

} // namespace parvolin
