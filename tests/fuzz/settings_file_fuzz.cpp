// The INI settings file: any contents, any section and key names.
//
// Input, fields separated by NUL bytes: section, key, value, another section,
// another key; everything after the fifth NUL (NULs included) is the file.
//
// Reading never throws and gives at most 2047 bytes. When the names are ones
// a write can store (below), writing the key and reading it back gives the
// value as the reader normalises it, and the other keys keep their values.

#include "ui/main/settings_file.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace {

using parvolin::fuzz::fail;
using parvolin::fuzz::Fields;
using parvolin::fuzz::is_continuation;
using parvolin::fuzz::require;

constexpr std::size_t max_read_length = 2047;

std::string folder;
std::string file_path;

void remove_folder()
{
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::remove_all(folder, ignored);
}

// A folder of our own in $TMPDIR (tools/fuzz.sh points it at a folder it
// removes), else in memory when the system has /dev/shm: every write of the
// settings file syncs it to disk. Removed on exit and on a broken property.
void make_folder()
{
    const char *base = std::getenv("TMPDIR");
    if (base == nullptr || *base == '\0')
        base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/parvolin-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    folder = pattern;
    file_path = folder + "/parvolin.ini";
    std::atexit(remove_folder);
    parvolin::fuzz::before_abort = remove_folder;
}

void store(std::string_view contents)
{
    const int fd = ::open(file_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool stored = fd >= 0;
    while (stored && !contents.empty()) {
        const ssize_t count = ::write(fd, contents.data(), contents.size());
        stored = count > 0;
        if (stored)
            contents.remove_prefix(static_cast<std::size_t>(count));
    }
    if (fd < 0 || ::close(fd) != 0 || !stored) {
        std::perror(file_path.c_str());
        std::abort();
    }
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool is_trimmed(std::string_view text)
{
    return text.empty() || (!is_blank(text.front()) && !is_blank(text.back()));
}

bool same_name(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// A section a write can store and a read find again: its "[name]" line ends
// at the first ']' and the reader trims the name.
bool storable_section(std::string_view name)
{
    return name.find_first_of("]\n") == std::string_view::npos && is_trimmed(name);
}

// A key likewise: its "key=value" line ends the name at the first '=', and
// a line starting with ';' is a comment, one starting with '[' a section.
bool storable_key(std::string_view name)
{
    return !name.empty() && name.find_first_of("=\n") == std::string_view::npos && is_trimmed(name) &&
           name.front() != ';' && name.front() != '[';
}

// What a read gives back for a written value: blanks (space, tab, CR, LF, VT,
// FF) trimmed from both ends, then one pair of matching quotes (" or ')
// around the rest removed, then the 2047-byte cut.
std::string normalised(std::string_view value)
{
    while (!value.empty() && is_blank(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && is_blank(value.back()))
        value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// A read cuts a longer value at 2047 bytes, moved back to the start of the
// UTF-8 character the cut would split.
void require_read_back(const std::string &read, const std::string &expected)
{
    if (expected.size() <= max_read_length) {
        require(read == expected, "a written value reads back", read + " instead of " + expected);
        return;
    }
    require(expected.compare(0, read.size(), read) == 0, "a long value reads back as its beginning", read);
    require(read.size() <= max_read_length, "a read gives at most 2047 bytes", read);
    require(!is_continuation(expected[read.size()]), "a long value is cut before a character", read);
    for (std::size_t at = read.size() + 1; at <= max_read_length; ++at)
        require(is_continuation(expected[at]), "a long value is cut at the last character start", read);
}

// The value of a key, std::nullopt when the file has none: a missing key is
// the one that reads as either of two fallbacks.
std::optional<std::string> value_of(const parvolin::SettingsFile &file, std::string_view section,
                                    std::string_view key)
{
    const std::string first = file.read_string(section, key, "\x01 missing");
    require(first.size() <= max_read_length, "a read gives at most 2047 bytes", first);
    const std::string second = file.read_string(section, key, "\x02 missing");
    if (first == second)
        return first;
    require(first == "\x01 missing" && second == "\x02 missing", "a missing key reads as the fallback", first);
    return std::nullopt;
}

struct Key {
    std::string_view section;
    std::string_view key;
};

void check(std::string_view section, std::string_view key, std::string_view value, Key other,
           std::string_view contents)
{
    store(contents);
    parvolin::SettingsFile file(file_path);

    // Three other keys: both names other, and each one of them.
    const Key others[] = {other, {section, other.key}, {other.section, key}};
    std::optional<std::string> before[3];
    for (int k = 0; k < 3; ++k)
        before[k] = value_of(file, others[k].section, others[k].key);
    const int fallback = static_cast<int>(value.size());
    const int number = file.read_integer(section, key, fallback);
    if (!value_of(file, section, key))
        require(number == fallback, "a missing key reads as the fallback number");
    (void)file.read_bool(section, key, true);

    if (!storable_section(section) || !storable_key(key))
        return;
    value = value.substr(0, value.find('\n'));

    // Any int, from the value's first bytes.
    int written_number = 0;
    if (!value.empty())
        std::memcpy(&written_number, value.data(), std::min(value.size(), sizeof written_number));
    file.write_integer(section, key, written_number);
    require(file.read_integer(section, key, written_number ^ 1) == written_number, "a written number reads back",
            std::to_string(written_number));
    require(file.read_bool(section, key, written_number == 0) == (written_number != 0),
            "a written number reads back as a truth value", std::to_string(written_number));

    file.write_string(section, key, value);
    const std::optional<std::string> read = value_of(file, section, key);
    require(read.has_value(), "a written key is found", key);
    require_read_back(*read, normalised(value));

    for (int k = 0; k < 3; ++k) {
        if (same_name(others[k].section, section) && same_name(others[k].key, key))
            continue;
        require(value_of(file, others[k].section, others[k].key) == before[k], "a write keeps the other keys",
                std::string(others[k].section) + "] " + std::string(others[k].key));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    make_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fields fields(data, size);
    const std::string_view section = fields.next();
    const std::string_view key = fields.next();
    const std::string_view value = fields.next();
    const std::string_view other_section = fields.next();
    const std::string_view other_key = fields.next();
    try {
        check(section, key, value, {other_section, other_key}, fields.rest());
    } catch (const std::exception &error) {
        // Reads never throw; a write to our own folder has nothing to fail on.
        fail("the settings file neither throws on reading nor fails to write", error.what());
    }
    return 0;
}
