#include "ui/main/settings_file.h"

#include "solver/ascii.h"
#include "solver/failure_reason.h"
#include "solver/file_write.h"
#include "ui/main/private_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parvolin {
namespace {

// The settings the main window keeps, as they are spelled in the file.
constexpr std::string_view addresses_section = "Adresawebu";
constexpr std::string_view first_address_key = "adresamehowebu";
constexpr std::string_view second_address_key = "adresamehodruhehowebu";
constexpr std::string_view form_section = "Form";
constexpr std::string_view top_key = "Top";
constexpr std::string_view left_key = "Left";
constexpr std::string_view height_key = "Height";
constexpr std::string_view width_key = "Width";
constexpr std::string_view maximized_key = "Maximized";
constexpr std::string_view separator_section = "Oddelovac";
constexpr std::string_view dot_key = "tecka";
constexpr std::string_view document_section = "Dokument";
constexpr std::string_view attach_working_key = "postupagraf";

// A read hands back what a 2048-byte buffer with its terminating zero holds.
constexpr std::size_t max_read_length = 2047;

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// ---------------------------------------------------------------------------
// The file's lines

// One line: its text runs from `begin` to `end` (without the line break);
// the next line starts at `next`.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    bool has_break() const { return next > end; }
};

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;  // section or key, blanks trimmed
    std::string_view value; // of an entry, blanks trimmed
};

// Lines "[name]" open a section; "key=value" lines inside a section are its
// entries; lines starting with ';' are comments. Everything else (blank
// lines, junk) is kept on writing and ignored on reading.
ParsedLine parse_line(std::string_view text)
{
    text = trim(text);
    if (text.empty() || text.front() == ';')
        return {};
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos)
            return {};
        return {LineKind::Section, trim(text.substr(1, close - 1)), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return {};
    return {LineKind::Entry, trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
}

// Walks the lines of a text in one pass.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    std::optional<Line> next()
    {
        if (position_ >= text_.size())
            return std::nullopt;
        Line line;
        line.begin = position_;
        const std::size_t newline = text_.find('\n', position_);
        line.next = newline == std::string_view::npos ? text_.size() : newline + 1;
        line.end = newline == std::string_view::npos ? text_.size() : newline;
        // "\r\n" ends a line as "\n" does. A lone "\r" at the very end is no
        // line break: it stays in the line (reading trims it), so a key
        // appended after that line starts on a line of its own.
        if (newline != std::string_view::npos && line.end > line.begin && text_[line.end - 1] == '\r')
            --line.end;
        position_ = line.next;
        return line;
    }

    std::string_view text_of(const Line &line) const { return text_.substr(line.begin, line.end - line.begin); }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// Where a section and a key sit in the file. Only the first section of a
// name counts, and within it the first entry of a key.
struct Location {
    std::optional<Line> section_header;
    std::optional<Line> entry;
    std::string_view entry_name;
    std::string_view entry_value;
    std::optional<Line> last_content; // last non-blank, non-comment line of the section
};

Location locate(std::string_view text, std::string_view section, std::string_view key)
{
    Location found;
    LineReader reader(text);
    bool inside = false;
    while (const std::optional<Line> line = reader.next()) {
        const ParsedLine parsed = parse_line(reader.text_of(*line));
        if (parsed.kind == LineKind::Section) {
            if (inside)
                break;
            if (equal_ignoring_ascii_case(parsed.name, section)) {
                found.section_header = line;
                inside = true;
            }
            continue;
        }
        if (!inside)
            continue;
        if (parsed.kind == LineKind::Entry && equal_ignoring_ascii_case(parsed.name, key)) {
            found.entry = line;
            found.entry_name = parsed.name;
            found.entry_value = parsed.value;
            break; // the entry is rewritten in place: where the section ends no longer matters
        }
        const std::string_view trimmed = trim(reader.text_of(*line));
        if (!trimmed.empty() && trimmed.front() != ';')
            found.last_content = line;
    }
    return found;
}

// The line break of the file: that of its first line, "\n" for a new file.
std::string_view line_break_of(std::string_view text)
{
    const std::size_t newline = text.find('\n');
    if (newline != std::string_view::npos && newline > 0 && text[newline - 1] == '\r')
        return "\r\n";
    return "\n";
}

// The text with `key` of `section` set to `value`: an existing entry is
// rewritten in place, a new key goes after the last entry of its section, a
// new section at the end of the file.
std::string with_value(std::string_view text, std::string_view section, std::string_view key, std::string_view value)
{
    const Location at = locate(text, section, key);
    const std::string_view line_break = line_break_of(text);
    std::string result;
    result.reserve(text.size() + section.size() + key.size() + value.size() + 8);

    if (at.entry) {
        result.append(text.substr(0, at.entry->begin));
        result.append(at.entry_name); // the file's own spelling of the key
        result.push_back('=');
        result.append(value);
        result.append(text.substr(at.entry->end));
        return result;
    }
    if (at.section_header) {
        const Line &after = at.last_content ? *at.last_content : *at.section_header;
        result.append(text.substr(0, after.next));
        if (!after.has_break())
            result.append(line_break);
        result.append(key);
        result.push_back('=');
        result.append(value);
        result.append(line_break);
        result.append(text.substr(after.next));
        return result;
    }
    result.append(text);
    if (!text.empty() && text.back() != '\n')
        result.append(line_break);
    result.push_back('[');
    result.append(section);
    result.push_back(']');
    result.append(line_break);
    result.append(key);
    result.push_back('=');
    result.append(value);
    result.append(line_break);
    return result;
}

// ---------------------------------------------------------------------------
// Values

// A value written between matching quotes is read without them.
std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// At most max_read_length bytes, never ending inside a UTF-8 character.
std::string limited(std::string_view value)
{
    if (value.size() <= max_read_length)
        return std::string(value);
    std::size_t cut = max_read_length;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(value.substr(0, cut));
}

// Signed decimal, or hexadecimal (no sign) after "0x" when there is more
// than the prefix. The value has to fit an int.
std::optional<int> parse_integer(std::string_view text)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
        if (text.front() == '-')
            return std::nullopt;
    } else if (text.size() > 1 && text[0] == '+' && text[1] != '-') {
        text.remove_prefix(1); // from_chars takes '-' but not '+'
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// ---------------------------------------------------------------------------
// Files

bool too_large(std::string_view text)
{
    return text.size() > max_settings_file_size;
}

struct Loaded {
    std::string text;
    bool oversized = false;
};

// The file, a symbolic link followed; an empty text when it is missing, is
// not a readable regular file (a folder, a pipe, no permission) or is too
// large.
Loaded load(const std::string &path)
{
    Loaded loaded;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return loaded;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        if (status.st_size > static_cast<off_t>(max_settings_file_size))
            loaded.oversized = true;
        else if (!read_bounded(fd, max_settings_file_size, loaded.text))
            loaded.text.clear();
        else if (too_large(loaded.text))
            loaded.oversized = true;
        if (loaded.oversized)
            loaded.text = std::string();
    }
    ::close(fd);
    return loaded;
}

std::optional<std::string_view> find_value(const std::string &path, std::string_view section, std::string_view key,
                                           std::string &storage)
{
    storage = load(path).text;
    const Location at = locate(storage, section, key);
    if (!at.entry)
        return std::nullopt;
    return unquoted(at.entry_value);
}

// ---------------------------------------------------------------------------
// Writing

// Why a write is refused, where the system's error would not say it.
constexpr std::string_view symbolic_link_reason = "je to symbolický odkaz a přes odkazy program nezapisuje";
constexpr std::string_view read_only_reason = "soubor je určen jen pro čtení";
constexpr std::string_view not_a_file_reason = "nejde o obyčejný soubor";
constexpr std::string_view hard_link_reason =
    "soubor je dostupný i pod jiným názvem (pevný odkaz) a zápis by změnil i ten";
constexpr std::string_view changed_reason = "soubor byl mezitím nahrazen jiným";
constexpr std::string_view oversized_reason =
    "soubor je příliš velký (víc než 64 KiB), takový soubor nastavení program nečte ani nepřepisuje";

[[noreturn]] void fail(const std::string &path, std::string_view reason)
{
    throw SettingsWriteError(path, write_failure_detail(path, reason));
}

[[noreturn]] void fail_with_error(const std::string &path, int error)
{
    fail(path, czech_reason(error));
}

bool is_symbolic_link(const std::string &path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

// Closes a descriptor at the end of its scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    // Closes now; false, with errno set, when closing reports an error.
    bool close()
    {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0 || errno == EINTR; // on Linux the descriptor is gone either way
    }

private:
    int fd_;
};

struct OldFile {
    bool exists = false;
    std::string text;
    struct stat status {};
};

// What a write starts from: the file of that name itself. A symbolic link
// there is refused, not followed: a link planted at the settings path must
// not make the program write into the file it points to.
OldFile load_for_writing(const std::string &path)
{
    OldFile old;
    const Descriptor file(open_without_links(path));
    if (file.get() < 0) {
        const int error = errno;
        if (error == ENOENT)
            return old;
        if (error == ELOOP && is_symbolic_link(path))
            fail(path, symbolic_link_reason);
        fail_with_error(path, error);
    }
    if (::fstat(file.get(), &old.status) != 0)
        fail_with_error(path, errno);
    if (S_ISDIR(old.status.st_mode))
        fail_with_error(path, EISDIR);
    if (!S_ISREG(old.status.st_mode))
        fail(path, not_a_file_reason);
    if (old.status.st_size > static_cast<off_t>(max_settings_file_size))
        fail(path, oversized_reason);
    if (!read_bounded(file.get(), max_settings_file_size, old.text))
        fail_with_error(path, errno);
    if (too_large(old.text))
        fail(path, oversized_reason);
    old.exists = true;
    return old;
}

// A file whose owner has no write permission is read-only for everybody:
// root, who may write it anyway, respects the owner's choice. Anyone else
// needs the permission the system gives them.
void check_writable(const std::string &path, const OldFile &old)
{
    if ((old.status.st_mode & S_IWUSR) == 0)
        fail(path, read_only_reason);
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        fail_with_error(path, errno);
}

enum class Replaced { Done, NotHere };

// Writes the new text into a file created beside the old one and renames it
// over the old name, so that a failure leaves the old file whole; the new
// file gets the old one's owner, group and mode first. NotHere when the
// folder takes no new files or the owner cannot be kept: then the file is
// rewritten in place instead.
Replaced replace_file(const std::string &path, std::string_view text, const OldFile &old, const SettingsDisk &disk)
{
    // Until it has the old file's mode, the new file is the writer's alone.
    const mode_t mode = old.exists ? 0600 : 0666;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = path + ".tmp-" + integer_text(::getpid()) + "-" + integer_text(attempt);
        fd = disk.create ? disk.create(temporary, mode)
                         : ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                                  mode);
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS) && old.exists)
            return Replaced::NotHere;
        if (fd < 0 && errno != EEXIST)
            fail_with_error(path, errno);
    }
    if (fd < 0)
        fail_with_error(path, EEXIST);
    Descriptor file(fd);

    const auto give_up = [&](int error) {
        file.close();
        ::unlink(temporary.c_str());
        fail_with_error(path, error);
    };
    if (old.exists) {
        struct stat created {};
        if (::fstat(fd, &created) != 0)
            give_up(errno);
        if ((created.st_uid != old.status.st_uid || created.st_gid != old.status.st_gid) &&
            ::fchown(fd, old.status.st_uid, old.status.st_gid) != 0) {
            file.close();
            ::unlink(temporary.c_str());
            return Replaced::NotHere;
        }
        // After fchown, which clears the set-user-ID and set-group-ID bits.
        if (::fchmod(fd, old.status.st_mode & 07777) != 0)
            give_up(errno);
    } else if (::geteuid() == 0) {
        // Root starting a copy of the program in someone's folder: the new
        // file is theirs, as the folder is, or they could never write it.
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
        struct stat owner {};
        if (::stat(folder.c_str(), &owner) == 0 && (owner.st_uid != 0 || owner.st_gid != 0) &&
            ::fchown(fd, owner.st_uid, owner.st_gid) != 0)
            give_up(errno);
    }
    if (!write_all(fd, text, disk.write) || ::fsync(fd) != 0 || !file.close())
        give_up(errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        give_up(errno);
    return Replaced::Done;
}

// Reserves room for `size` bytes of the file; 0 or the errno value.
int reserve_room(int fd, off_t size, const SettingsDisk &disk)
{
    if (disk.reserve)
        return disk.reserve(fd, size);
    for (;;) {
        if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0)
            return 0;
        if (errno != EINTR)
            return errno;
    }
}

// Rewrites the file itself: for a writable file in a folder that takes no
// new files (a portable copy's settings beside a read-only program). The
// room for a longer text is reserved before anything is overwritten; where
// the file system cannot reserve, or a write fails all the same, the old
// text is put back, into blocks the file already has.
void rewrite_in_place(const std::string &path, std::string_view text, const OldFile &old, const SettingsDisk &disk)
{
    Descriptor file(::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0) {
        const int error = errno;
        if (error == ELOOP && is_symbolic_link(path))
            fail(path, symbolic_link_reason);
        fail_with_error(path, error);
    }
    const int fd = file.get();
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        fail_with_error(path, errno);
    if (now.st_dev != old.status.st_dev || now.st_ino != old.status.st_ino)
        fail(path, changed_reason);
    if (now.st_nlink > 1)
        fail(path, hard_link_reason);

    const auto size = [](std::string_view bytes) { return static_cast<off_t>(bytes.size()); };
    if (size(text) > size(old.text)) {
        const int error = reserve_room(fd, size(text), disk);
        if (error != 0 && error != EOPNOTSUPP && error != ENOSYS)
            fail_with_error(path, error);
    }
    const auto write_from_start = [&](std::string_view bytes) {
        return ::lseek(fd, 0, SEEK_SET) == 0 && write_all(fd, bytes, disk.write) &&
               (size(bytes) >= size(old.text) || ::ftruncate(fd, size(bytes)) == 0) && ::fsync(fd) == 0;
    };
    if (!write_from_start(text)) {
        const int error = errno;
        // Best effort: the failure is reported whatever comes of it.
        const bool restored = ::lseek(fd, 0, SEEK_SET) == 0 && write_all(fd, old.text, disk.write) &&
                              ::ftruncate(fd, size(old.text)) == 0 && ::fsync(fd) == 0;
        static_cast<void>(restored);
        fail_with_error(path, error);
    }
}

// ---------------------------------------------------------------------------
// Where the file lives

bool exists(const std::string &path)
{
    return ::access(path.c_str(), F_OK) == 0;
}

std::string home_folder()
{
    if (const char *home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    struct passwd entry {};
    struct passwd *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr)
        return found->pw_dir;
    return {};
}

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; empty when
// neither can be found.
std::string configuration_folder()
{
    std::string folder;
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        folder = xdg;
    } else {
        const std::string home = home_folder();
        if (home.empty())
            return {};
        folder = home + "/.config";
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// mkdir -p; the folders made are private to the user. Failures are left for
// the first write to report.
void make_folders(const std::string &path)
{
    for (std::size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (!exists(prefix))
            ::mkdir(prefix.c_str(), 0700);
        if (slash == std::string::npos)
            break;
    }
}

} // namespace

// ---------------------------------------------------------------------------

std::string SettingsFile::read_string(std::string_view section, std::string_view key, std::string_view fallback) const
{
    std::string storage;
    const std::optional<std::string_view> value = find_value(path_, section, key, storage);
    return limited(value ? *value : fallback);
}

int SettingsFile::read_integer(std::string_view section, std::string_view key, int fallback) const
{
    return parse_integer(read_string(section, key, {})).value_or(fallback);
}

bool SettingsFile::read_bool(std::string_view section, std::string_view key, bool fallback) const
{
    return read_integer(section, key, fallback ? 1 : 0) != 0;
}

void SettingsFile::write_string(std::string_view section, std::string_view key, std::string_view value)
{
    write_entries({SettingsEntry{section, key, std::string(value)}});
}

void SettingsFile::write_entries(const std::vector<SettingsEntry> &entries)
{
    const OldFile old = load_for_writing(path_);
    if (old.exists)
        check_writable(path_, old);
    std::string text = old.text;
    for (const SettingsEntry &entry : entries)
        text = with_value(text, entry.section, entry.key, entry.value);
    if (replace_file(path_, text, old, disk_) == Replaced::NotHere)
        rewrite_in_place(path_, text, old, disk_);
}

bool SettingsFile::oversized() const
{
    return load(path_).oversized;
}

void SettingsFile::write_integer(std::string_view section, std::string_view key, int value)
{
    write_string(section, key, integer_text(value));
}

void SettingsFile::write_bool(std::string_view section, std::string_view key, bool value)
{
    write_string(section, key, value ? "1" : "0");
}

// The folders an installed program lives in. Root may write them, but a
// settings file has no business there: an installed program run by root keeps
// its settings in root's configuration folder like anyone else's.
// The system's own folders, by the first component of the path: /usr/...,
// /bin, /lib64, ..., but not /library or /binaries.
static bool is_system_folder(const std::string &folder)
{
    const std::string_view path(folder);
    if (path.empty() || path.front() != '/')
        return false;
    const std::string_view first = path.substr(1, path.find('/', 1) - 1);
    for (const char *name : {"usr", "bin", "sbin", "lib", "lib32", "lib64", "libx32"}) {
        if (first == name)
            return true;
    }
    return false;
}

std::string user_configuration_folder() { return configuration_folder(); }

void make_user_folders(const std::string &path) { make_folders(path); }

std::string settings_file_path(const std::string &executable_path)
{
    const std::size_t slash = executable_path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : executable_path.substr(0, slash == 0 ? 1 : slash);
    std::string name = slash == std::string::npos ? executable_path : executable_path.substr(slash + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    const std::string beside = executable_path.substr(0, slash == std::string::npos ? 0 : slash + 1) + name + ".ini";

    // A copy of the program in a folder of its own (a portable copy) keeps
    // its settings beside it; an installed one, in a folder the user cannot
    // write, keeps them in the user's configuration folder.
    if (exists(beside) || (::access(folder.c_str(), W_OK) == 0 && !is_system_folder(folder)))
        return beside;
    const std::string configuration = configuration_folder();
    if (configuration.empty())
        return beside;
    const std::string own_folder = configuration + "/parvolin";
    make_folders(own_folder);
    return own_folder + "/parvolin.ini";
}

WindowSettings read_window_settings(const SettingsFile &file, const WindowSettings &defaults)
{
    WindowSettings settings;
    settings.first_address = file.read_string(addresses_section, first_address_key, defaults.first_address);
    settings.second_address = file.read_string(addresses_section, second_address_key, defaults.second_address);
    settings.top = file.read_integer(form_section, top_key, defaults.top);
    settings.left = file.read_integer(form_section, left_key, defaults.left);
    settings.height = file.read_integer(form_section, height_key, defaults.height);
    settings.width = file.read_integer(form_section, width_key, defaults.width);
    settings.maximized = file.read_bool(form_section, maximized_key, defaults.maximized);
    settings.dot_separator = file.read_bool(separator_section, dot_key, defaults.dot_separator);
    settings.attach_working = file.read_bool(document_section, attach_working_key, defaults.attach_working);
    return settings;
}

namespace {

std::vector<SettingsEntry> entries_on_end(const WindowSettings &settings, bool addresses)
{
    const auto bit = [](bool value) { return std::string(value ? "1" : "0"); };
    std::vector<SettingsEntry> entries{{form_section, top_key, integer_text(settings.top)},
                                       {form_section, left_key, integer_text(settings.left)},
                                       {form_section, height_key, integer_text(settings.height)},
                                       {form_section, width_key, integer_text(settings.width)},
                                       {form_section, maximized_key, bit(settings.maximized)},
                                       {separator_section, dot_key, bit(settings.dot_separator)}};
    if (addresses) {
        entries.push_back({addresses_section, first_address_key, settings.first_address});
        entries.push_back({addresses_section, second_address_key, settings.second_address});
    }
    return entries;
}

SettingsEntry document_entry(const WindowSettings &settings)
{
    return {document_section, attach_working_key, settings.attach_working ? "1" : "0"};
}

} // namespace

void write_settings_on_exit(SettingsFile &file, const WindowSettings &settings)
{
    file.write_entries(entries_on_end(settings, false));
}

void write_settings_on_close(SettingsFile &file, const WindowSettings &settings)
{
    file.write_entries(entries_on_end(settings, true));
}

void write_document_settings(SettingsFile &file, const WindowSettings &settings)
{
    file.write_entries({document_entry(settings)});
}

void write_settings_on_end(SettingsFile &file, const WindowSettings &settings, bool addresses)
{
    std::vector<SettingsEntry> entries = entries_on_end(settings, addresses);
    entries.push_back(document_entry(settings));
    file.write_entries(entries);
}

} // namespace parvolin
