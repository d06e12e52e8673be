#include "solver/regional_settings.h"

#include "solver/ascii.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <optional>
#include <strings.h>
#include <vector>

namespace parvolin {

namespace {

std::string time_pattern(const RegionalSettings &settings, std::string_view minutes_and_seconds)
{
    const bool twelve_hour = settings.clock_kind == 0;
    std::string pattern;
    if (twelve_hour && settings.marker_position != 0)
        pattern += "AMPM ";
    pattern += settings.hour_leading_zero != 0 ? "hh" : "h";
    pattern += minutes_and_seconds;
    if (twelve_hour && settings.marker_position == 0)
        pattern += " AMPM";
    return pattern;
}

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

// ---------------------------------------------------------------------------
// Reading the locale

bool is_utf8_codeset(const char *codeset)
{
    return strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0;
}

bool is_ascii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// The text items of one locale, converted to UTF-8 when its code set is
// another one.
class LocaleTexts {
public:
    explicit LocaleTexts(locale_t locale) : locale_(locale)
    {
        // CODESET belongs to LC_CTYPE, which our locale object leaves at "C";
        // glibc also names the code set of the LC_TIME data itself. Without a
        // known code set only ASCII text is taken as it is.
#ifdef __GLIBC__
        const char *codeset = nl_langinfo_l(_NL_TIME_CODESET, locale);
#else
        const char *codeset = nl_langinfo_l(CODESET, locale);
#endif
        if (codeset == nullptr || *codeset == '\0')
            return;
        if (is_utf8_codeset(codeset))
            utf8_ = true;
        else
            converter_ = iconv_open("UTF-8", codeset);
    }

    ~LocaleTexts()
    {
        if (converter_ != invalid())
            iconv_close(converter_);
    }

    LocaleTexts(const LocaleTexts &) = delete;
    LocaleTexts &operator=(const LocaleTexts &) = delete;

    // Empty when the item is missing or cannot be converted.
    std::optional<std::string> text(nl_item item) const
    {
        const char *raw = nl_langinfo_l(item, locale_);
        if (raw == nullptr)
            return std::nullopt;
        const std::string_view value(raw);
        if (utf8_ || is_ascii(value))
            return std::string(value);
        if (converter_ == invalid())
            return std::nullopt;
        return convert(value);
    }

    // Like text(), but an empty item counts as missing too.
    std::optional<std::string> name(nl_item item) const
    {
        auto value = text(item);
        if (value && value->empty())
            return std::nullopt;
        return value;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> convert(std::string_view value) const
    {
        iconv(converter_, nullptr, nullptr, nullptr, nullptr);
        std::string result(value.size() * 4 + 8, '\0');
        char *in = const_cast<char *>(value.data());
        std::size_t in_left = value.size();
        char *out = result.data();
        std::size_t out_left = result.size();
        if (iconv(converter_, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1) ||
            iconv(converter_, nullptr, nullptr, &out, &out_left) == static_cast<std::size_t>(-1))
            return std::nullopt;
        result.resize(result.size() - out_left);
        return result;
    }

    locale_t locale_;
    iconv_t converter_ = invalid();
    bool utf8_ = false;
};

// The language of LC_TIME is Japanese, Chinese or Korean: its locale name is
// "ja", "zh" or "ko", alone or followed by a territory, code set or modifier.
bool is_cjk_locale_name(std::string_view name)
{
    if (name.size() < 2)
        return false;
    const std::string_view language = name.substr(0, 2);
    if (language != "ja" && language != "zh" && language != "ko")
        return false;
    return name.size() == 2 || name[2] == '_' || name[2] == '.' || name[2] == '@';
}

std::string_view time_locale_name(locale_t locale)
{
#ifdef _NL_LOCALE_NAME
    if (const char *name = nl_langinfo_l(_NL_LOCALE_NAME(LC_TIME), locale))
        return name;
#endif
    (void)locale;
    for (const char *variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char *value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

template <std::size_t N>
void read_names(std::array<std::string, N> &names, const LocaleTexts &texts, nl_item first)
{
    for (std::size_t k = 0; k < N; ++k) {
        if (auto name = texts.name(static_cast<nl_item>(first + static_cast<int>(k))))
            names[k] = std::move(*name);
    }
}

void read_locale(RegionalSettings &settings, locale_t locale)
{
    const char *radix = nl_langinfo_l(RADIXCHAR, locale);
    if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0' &&
        static_cast<unsigned char>(radix[0]) < 0x80)
        settings.decimal_separator = radix[0];

    const LocaleTexts texts(locale);
    StrftimeFormats formats;
    if (auto value = texts.text(D_FMT))
        formats.date = std::move(*value);
    if (auto value = texts.text(T_FMT))
        formats.time = std::move(*value);
    if (auto value = texts.text(T_FMT_AMPM))
        formats.time_12_hour = std::move(*value);
    if (auto value = texts.text(D_T_FMT))
        formats.date_time = std::move(*value);
    apply_strftime_formats(settings, formats, is_cjk_locale_name(time_locale_name(locale)));

    // An empty designator is what a locale without a 12-hour clock gives,
    // and is kept.
    if (auto value = texts.text(AM_STR))
        settings.am_designator = std::move(*value);
    if (auto value = texts.text(PM_STR))
        settings.pm_designator = std::move(*value);

    // nl_langinfo numbers the days from Sunday, as our tables do.
    read_names(settings.short_month_names, texts, ABMON_1);
    read_names(settings.long_month_names, texts, MON_1);
    read_names(settings.short_day_names, texts, ABDAY_1);
    read_names(settings.long_day_names, texts, DAY_1);
}

} // namespace

std::string RegionalSettings::long_time_pattern() const
{
    return time_pattern(*this, ":mm:ss");
}

std::string RegionalSettings::short_time_pattern() const
{
    return time_pattern(*this, ":mm");
}

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

RegionalSettings load_regional_settings()
{
    RegionalSettings settings;
    // A locale object of our own, built from the environment as it is now,
    // so that neither the process's setlocale state nor a later change of it
    // matters.
    locale_t locale = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "", nullptr);
    if (locale == nullptr)
        return settings;
    read_locale(settings, locale);
    freelocale(locale);
    return settings;
}

} // namespace parvolin
