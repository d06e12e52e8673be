#pragma once

#include "solver/failures.h"
#include "solver/file_write.h"

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parvolin {

// A write to the settings file failed: "Unable to write to <full path>",
// with the file and the reason in Czech as the detail.
class SettingsWriteError : public Failure {
public:
    explicit SettingsWriteError(const std::string &path, std::string detail = {})
        : Failure("Unable to write to " + path, std::move(detail))
    {
    }
};

// How a write reaches the disk. Empty members are the system's own calls;
// tests put a full disk or a folder that takes no new files in their place.
struct SettingsDisk {
    // Creates the replacement file beside the settings file, exclusively
    // (open with O_CREAT | O_EXCL | O_NOFOLLOW); a descriptor, or -1 with errno.
    std::function<int(const std::string &path, mode_t mode)> create;
    // Reserves room for `size` bytes of the open file without changing its
    // size (fallocate with FALLOC_FL_KEEP_SIZE); 0, or the errno value.
    std::function<int(int fd, off_t size)> reserve;
    // write(2).
    ChunkWrite write;
};

// One key to write.
struct SettingsEntry {
    std::string_view section;
    std::string_view key;
    std::string value;
};

// A settings file is a few hundred bytes; one larger than this is none of
// ours (a mistake, or a file made to exhaust the memory): it is neither read
// nor rewritten.
inline constexpr std::size_t max_settings_file_size = 64 * 1024;

// An INI file read and written by keys, as private-profile files are:
// section and key names match without regard to case; a write keeps every
// other section, key and comment; reading never fails. A file larger than
// max_settings_file_size reads as an empty one and is never rewritten.
class SettingsFile {
public:
    explicit SettingsFile(std::string path, SettingsDisk disk = {}) : path_(std::move(path)), disk_(std::move(disk)) {}

    const std::string &path() const { return path_; }

    // At most 2047 characters; `fallback` when the file, section or key is missing.
    std::string read_string(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal, or hexadecimal after "0x"/"0X" when longer than two characters;
    // anything else (also an empty value) gives `fallback`.
    int read_integer(std::string_view section, std::string_view key, int fallback) const;
    // Read as an integer with default 1 or 0; any non-zero value is true.
    bool read_bool(std::string_view section, std::string_view key, bool fallback) const;

    // Each throws SettingsWriteError when the file cannot be written.
    void write_string(std::string_view section, std::string_view key, std::string_view value);
    void write_integer(std::string_view section, std::string_view key, int value);
    void write_bool(std::string_view section, std::string_view key, bool value); // "1" / "0"
    // All of them, in order, in one rewrite of the file: on a failure none.
    void write_entries(const std::vector<SettingsEntry> &entries);

    // The file is there and larger than max_settings_file_size.
    bool oversized() const;

private:
    std::string path_;
    SettingsDisk disk_;
};

// Where the program keeps its settings: "<executable>.ini" beside the
// program when that file exists or its folder is writable (a portable copy),
// otherwise $XDG_CONFIG_HOME/parvolin/parvolin.ini (~/.config when unset),
// the folder created when needed.
std::string settings_file_path(const std::string &executable_path);

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config; empty when
// neither can be found.
std::string user_configuration_folder();
// Makes the folder and those above it that are missing, private to the
// user; a failure is left for the first write into it to report.
void make_user_folders(const std::string &path);

// What the main window stores. The defaults are those of a first start.
struct WindowSettings {
    std::string first_address;
    std::string second_address;
    int top = 50;
    int left = 30;
    int height = 520;
    int width = 490;
    bool maximized = false;
    bool dot_separator = false; // the user chose the dot
    bool attach_working = false; // documents carry the working and the picture
};

// Reads the addresses, then Top, Left, Height, Width, Maximized, then tecka,
// then the document's options;
// a key that is missing or unreadable takes its value from `defaults` (the
// caller supplies the default addresses, which depend on where the program
// is installed).
WindowSettings read_window_settings(const SettingsFile &file, const WindowSettings &defaults);
// Closing the window: the four bounds, Maximized, tecka, then both addresses.
void write_settings_on_close(SettingsFile &file, const WindowSettings &settings);
// "Konec": the same without the addresses.
void write_settings_on_exit(SettingsFile &file, const WindowSettings &settings);
// The document's options, in a section of their own ("Dokument"), written
// after either of the two above.
void write_document_settings(SettingsFile &file, const WindowSettings &settings);
// What the window writes when it ends: the keys of write_settings_on_close
// (with `addresses`) or of write_settings_on_exit, then the document's
// options, all in one rewrite of the file.
void write_settings_on_end(SettingsFile &file, const WindowSettings &settings, bool addresses);

} // namespace parvolin
