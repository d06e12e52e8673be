#include "solver/regional_settings.h"

#include "solver/ascii.h"
#include "solver/strftime_patterns.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <optional>

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
// Reading the locale

bool is_utf8_codeset(const char *codeset)
{
    return equal_ignoring_ascii_case(codeset, "UTF-8") || equal_ignoring_ascii_case(codeset, "UTF8");
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

RegionalSettings load_regional_settings()
{
    RegionalSettings settings;
#ifdef __EMSCRIPTEN__
    // No locale data there: the command line's start-up script names the
    // decimal separator of the environment's locale.
    if (const char *separator = std::getenv("PARVOLIN_DECIMAL_SEPARATOR");
        separator != nullptr && (separator[0] == ',' || separator[0] == '.') && separator[1] == '\0')
        settings.decimal_separator = separator[0];
#else
    // A locale object of our own, built from the environment as it is now,
    // so that neither the process's setlocale state nor a later change of it
    // matters.
    locale_t locale = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "", nullptr);
    if (locale == nullptr)
        return settings;
    read_locale(settings, locale);
    freelocale(locale);
#endif
    return settings;
}

} // namespace parvolin
