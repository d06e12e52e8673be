#include "ui/main/worksheet_choices.h"

#include "solver/ascii.h"
#include "ui/main/private_file.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>
#include <string_view>

namespace parvolin {

namespace {

constexpr std::string_view section = "Pracovni list";
constexpr std::string_view count_key = "Pocet";
constexpr std::string_view kinds_key = "Druhy";
constexpr std::string_view relations_key = "Vztahy";
constexpr std::string_view difficulty_key = "Obtiznost";
constexpr std::string_view key_key = "Vysledky";
constexpr std::string_view steps_key = "Postup";

constexpr std::string_view relation_names[] = {"equal", "less", "greater", "less-equal", "greater-equal"};

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The value of `key` in the section, as the first line that sets it says
// (the one a write changes); names match without regard to case.
std::optional<std::string_view> value_of(std::string_view text, std::string_view key)
{
    bool inside = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.starts_with('[')) {
            inside = line.size() >= 2 && line.back() == ']' &&
                     equal_ignoring_ascii_case(trimmed(line.substr(1, line.size() - 2)), section);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inside && equals != std::string_view::npos && equal_ignoring_ascii_case(trimmed(line.substr(0, equals)), key))
            return trimmed(line.substr(equals + 1));
    }
    return std::nullopt;
}

std::vector<std::string_view> items_of(std::string_view list)
{
    std::vector<std::string_view> items;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        items.push_back(trimmed(list.substr(0, comma)));
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    }
    return items;
}

std::optional<bool> flag_of(std::optional<std::string_view> value)
{
    if (value == "1")
        return true;
    if (value == "0")
        return false;
    return std::nullopt;
}

} // namespace

WorksheetChoices default_worksheet_choices()
{
    WorksheetChoices choices;
    choices.kinds.assign(std::begin(quadratic_problem_kinds), std::end(quadratic_problem_kinds));
    for (int i = 0; i < static_cast<int>(std::size(relation_names)); ++i)
        choices.relations.push_back(static_cast<Relation>(i));
    return choices;
}

std::string worksheet_choices_path()
{
    const std::string folder = user_configuration_folder();
    return folder.empty() ? std::string() : folder + "/parvolin/worksheet.ini";
}

WorksheetChoices read_worksheet_choices(const std::string &path)
{
    WorksheetChoices choices = default_worksheet_choices();
    const std::optional<std::string> text = path.empty() ? std::nullopt : read_trusted_file(path, max_worksheet_choices_size);
    if (!text)
        return choices;

    if (const auto value = value_of(*text, count_key)) {
        int count = 0;
        const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), count);
        if (error == std::errc() && end == value->data() + value->size() && count >= 1 && count <= 60)
            choices.count = count;
    }
    if (const auto value = value_of(*text, kinds_key)) {
        std::vector<ProblemKind> kinds;
        for (const ProblemKind kind : all_problem_kinds) {
            const auto items = items_of(*value);
            if (std::find(items.begin(), items.end(), kind_name(kind)) != items.end())
                kinds.push_back(kind);
        }
        if (!kinds.empty())
            choices.kinds = std::move(kinds);
    }
    if (const auto value = value_of(*text, relations_key)) {
        std::vector<Relation> relations;
        const auto items = items_of(*value);
        for (std::size_t i = 0; i < std::size(relation_names); ++i)
            if (std::find(items.begin(), items.end(), relation_names[i]) != items.end())
                relations.push_back(static_cast<Relation>(i));
        if (!relations.empty())
            choices.relations = std::move(relations);
    }
    if (const auto value = value_of(*text, difficulty_key); value == "small" || value == "large")
        choices.difficulty = value == "large" ? Difficulty::Large : Difficulty::Small;
    if (const auto key = flag_of(value_of(*text, key_key)))
        choices.key = *key;
    if (const auto steps = flag_of(value_of(*text, steps_key)))
        choices.steps = *steps;
    return choices;
}

void write_worksheet_choices(const std::string &path, const WorksheetChoices &choices)
{
    if (const std::size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0)
        make_user_folders(path.substr(0, slash));
    std::string kinds;
    for (const ProblemKind kind : choices.kinds)
        kinds += (kinds.empty() ? "" : ",") + std::string(kind_name(kind));
    std::string relations;
    for (const Relation relation : choices.relations) {
        const auto index = static_cast<std::size_t>(relation);
        if (index < std::size(relation_names))
            relations += (relations.empty() ? "" : ",") + std::string(relation_names[index]);
    }
    SettingsFile file(path);
    file.write_entries({{section, count_key, integer_text(choices.count)},
                        {section, kinds_key, kinds},
                        {section, relations_key, relations},
                        {section, difficulty_key, choices.difficulty == Difficulty::Large ? "large" : "small"},
                        {section, key_key, choices.key ? "1" : "0"},
                        {section, steps_key, choices.steps ? "1" : "0"}});
    // A new file takes its mode from the umask, which may let the group
    // write: the next read would pass it over.
    keep_others_from_writing(path);
}

} // namespace parvolin
