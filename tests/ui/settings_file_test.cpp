#include "ui/main/settings_file.h"

#include "tests/test_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parvolin {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "parvolin-settings-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { fs::remove_all(path_); }
    std::string file(const std::string &name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

void write_file(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string read_file(const std::string &path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// ---------------------------------------------------------------------------

struct ReadRow {
    const char *name;
    const char *file; // nullptr: no file
    const char *expected;
};

class ReadString : public testing::TestWithParam<ReadRow> {};

TEST_P(ReadString, FindsTheValueOfFormWidth)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    if (GetParam().file != nullptr)
        write_file(path, GetParam().file);
    EXPECT_EQ(SettingsFile(path).read_string("Form", "Width", "fallback"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadString,
    testing::Values(ReadRow{"no_file", nullptr, "fallback"}, ReadRow{"no_section", "[Other]\nWidth=1\n", "fallback"},
                    ReadRow{"no_key", "[Form]\nTop=1\n", "fallback"},
                    ReadRow{"names_ignore_case", "[fORM]\nwIDTH=600\n", "600"},
                    ReadRow{"blanks_trimmed", "  [ Form ]  \n  Width  =  6 0  \t\n", "6 0"},
                    ReadRow{"crlf_lines", "[Form]\r\nWidth=600\r\n", "600"},
                    ReadRow{"last_line_without_break", "[Form]\nWidth=600", "600"},
                    ReadRow{"empty_value_is_a_value", "[Form]\nWidth=\n", ""},
                    ReadRow{"quotes_removed", "[Form]\nWidth=\" 6 \"\n", " 6 "},
                    ReadRow{"equals_sign_in_value", "[Form]\nWidth=a=b?c=d\n", "a=b?c=d"},
                    ReadRow{"comment_skipped", "[Form]\n;Width=1\n  ; Width=2\nWidth=3\n", "3"},
                    ReadRow{"key_of_another_section", "[Form]\nTop=1\n[Other]\nWidth=2\n", "fallback"},
                    ReadRow{"key_before_any_section", "Width=1\n[Form]\n", "fallback"}),
    row_name);

struct IntegerRow {
    const char *name;
    const char *value;
    int expected;
};

class ReadInteger : public testing::TestWithParam<IntegerRow> {};

TEST_P(ReadInteger, FallsBackOnAnythingButAnInteger)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    write_file(path, std::string("[Form]\nWidth=") + GetParam().value + "\n");
    EXPECT_EQ(SettingsFile(path).read_integer("Form", "Width", 490), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReadInteger,
    testing::Values(IntegerRow{"decimal", "600", 600}, IntegerRow{"negative", "-15", -15}, IntegerRow{"plus", "+7", 7},
                    IntegerRow{"hex", "0x200", 512}, IntegerRow{"hex_capital", "0X1f", 31},
                    IntegerRow{"bare_hex_prefix", "0x", 490}, IntegerRow{"bad_hex_digit", "0x1g", 490},
                    IntegerRow{"signed_hex", "-0x10", 490}, IntegerRow{"letters", "abc", 490},
                    IntegerRow{"empty", "", 490}, IntegerRow{"trailing_junk", "12px", 490}, IntegerRow{"largest", "2147483647", 2147483647},
                    IntegerRow{"too_large", "2147483648", 490}, IntegerRow{"smallest", "-2147483648", -2147483647 - 1},
                    IntegerRow{"hex_too_large", "0x80000000", 490}, IntegerRow{"sign_after_hex_prefix", "0x-5", 490},
                    IntegerRow{"two_signs", "+-5", 490}, IntegerRow{"sign_alone", "+", 490}),
    row_name);

TEST(ReadBool, AnyNonZeroIntegerIsTrueAndJunkGivesTheDefault)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    write_file(path, "[Oddelovac]\nfive=5\nminus=-1\nzero=0\nhexzero=0x0\njunk=yes\n");
    const SettingsFile file(path);
    EXPECT_TRUE(file.read_bool("Oddelovac", "five", false));
    EXPECT_TRUE(file.read_bool("Oddelovac", "minus", false));
    EXPECT_FALSE(file.read_bool("Oddelovac", "zero", true));
    EXPECT_FALSE(file.read_bool("Oddelovac", "hexzero", true));
    EXPECT_TRUE(file.read_bool("Oddelovac", "junk", true));
    EXPECT_FALSE(file.read_bool("Oddelovac", "junk", false));
}

TEST(ReadString, LongValueIsCutBeforeAnIncompleteCharacter)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    write_file(path, "[A]\nascii=" + std::string(3000, 'a') + "\nczech=" + std::string(2046, 'a') + "\xC4\x8D" + "\n");
    const SettingsFile file(path);
    EXPECT_EQ(file.read_string("A", "ascii", ""), std::string(2047, 'a'));
    EXPECT_EQ(file.read_string("A", "czech", ""), std::string(2046, 'a'));
}

// ---------------------------------------------------------------------------

struct WriteRow {
    const char *name;
    const char *before;
    const char *section;
    const char *key;
    const char *after;
};

class WriteString : public testing::TestWithParam<WriteRow> {};

TEST_P(WriteString, ChangesOnlyThatKey)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    write_file(path, GetParam().before);
    SettingsFile(path).write_string(GetParam().section, GetParam().key, "v");
    EXPECT_EQ(read_file(path), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WriteString,
    testing::Values(
        WriteRow{"empty_file", "", "S", "k", "[S]\nk=v\n"},
        WriteRow{"existing_key_keeps_its_spelling", "[s]\r\n  K = old \r\nx=1\r\n", "S", "k", "[s]\r\nK=v\r\nx=1\r\n"},
        WriteRow{"new_key_after_last_entry", "[A]\nx=1\n\n; about B\n[B]\ny=2\n", "a", "k",
                 "[A]\nx=1\nk=v\n\n; about B\n[B]\ny=2\n"},
        WriteRow{"new_key_in_empty_section", "[A]\n[B]\n", "A", "k", "[A]\nk=v\n[B]\n"},
        WriteRow{"new_key_at_end_without_break", "[A]\nx=1", "A", "k", "[A]\nx=1\nk=v\n"},
        // A lone CR at the end is no line break: the new key must not be glued to x's value.
        WriteRow{"new_key_after_lone_carriage_return", "[A]\nx=1\r", "A", "k", "[A]\nx=1\r\nk=v\n"},
        WriteRow{"commented_key_left_alone", "[A]\n;k=1\n", "A", "k", "[A]\nk=v\n;k=1\n"},
        WriteRow{"new_section_with_crlf", "; top\r\n[A]\r\nx=1\r\n", "B", "k", "; top\r\n[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        WriteRow{"junk_kept", "\x01junk\n[A\n=\n", "A", "k", "\x01junk\n[A\n=\n[A]\nk=v\n"}),
    row_name);

// A rewrite keeps the file's mode, and (where the writer may give files
// away: root) its owner and group.
TEST(WriteString, KeepsModeOwnerAndGroup)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    write_file(path, "[A]\nx=1\n");
    ::chmod(path.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    }
    struct stat before {};
    ::stat(path.c_str(), &before);
    SettingsFile(path).write_integer("A", "x", 2);
    EXPECT_EQ(read_file(path), "[A]\nx=2\n");
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    if (!root)
        GTEST_SKIP() << "owner and group checked only as root, who can give files away";
}

// Root writing a new settings file in someone else's folder gives it to
// the folder's owner, who must be able to write it on the next run.
TEST(WriteString, NewFileOfRootBelongsToTheFoldersOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root creates files for someone else";
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    ASSERT_EQ(::chown(folder.file("").c_str(), 4321, 4322), 0);
    SettingsFile(path).write_integer("A", "x", 2);
    struct stat created {};
    ASSERT_EQ(::stat(path.c_str(), &created), 0);
    EXPECT_EQ(created.st_uid, 4321u);
    EXPECT_EQ(created.st_gid, 4322u);
}

// The file's owner marked it read-only: nobody rewrites it, root included.
struct ReadOnlyRow {
    const char *name;
    mode_t mode;
    bool written;
};

class WriteReadOnly : public testing::TestWithParam<ReadOnlyRow> {};

TEST_P(WriteReadOnly, OwnersWriteBitDecides)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    write_file(path, "[A]\nx=1\n");
    ::chmod(path.c_str(), GetParam().mode);
    try {
        SettingsFile(path).write_integer("A", "x", 2);
        EXPECT_TRUE(GetParam().written);
    } catch (const SettingsWriteError &failure) {
        EXPECT_FALSE(GetParam().written);
        EXPECT_EQ(failure.detail(), "Soubor " + path + " se nepodařilo zapsat: soubor je určen jen pro čtení.");
    }
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(read_file(path), GetParam().written ? "[A]\nx=2\n" : "[A]\nx=1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.file("")), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteReadOnly,
                         testing::Values(ReadOnlyRow{"read_only_for_all", 0444, false},
                                         ReadOnlyRow{"owner_only_reads", 0400, false},
                                         ReadOnlyRow{"others_may_write_but_not_the_owner", 0466, false},
                                         ReadOnlyRow{"owner_writes", 0644, true}),
                         row_name);

// A settings path that is a symbolic link is never written through, to
// wherever it points; reading follows it.
struct LinkRow {
    const char *name;
    const char *target; // in the test's folder; "" : a dangling link
};

class WriteThroughLink : public testing::TestWithParam<LinkRow> {};

TEST_P(WriteThroughLink, IsRefusedAndTouchesNothing)
{
    TempFolder folder;
    fs::create_directory(folder.file("etc"));
    const std::string target = folder.file(*GetParam().target != '\0' ? GetParam().target : "etc/nowhere");
    if (*GetParam().target != '\0')
        write_file(target, "root:x:0:0:root:/root:/bin/bash\n[A]\nx=1\n");
    const std::string before = read_file(target);
    const std::string link = folder.file("parvolin.ini");
    fs::create_symlink(target, link);

    SettingsFile file(link);
    if (*GetParam().target != '\0') {
        EXPECT_EQ(file.read_integer("A", "x", 0), 1);
    }
    try {
        write_settings_on_close(file, WindowSettings{"http://a", "http://b"});
        ADD_FAILURE() << "written through the link";
    } catch (const SettingsWriteError &failure) {
        EXPECT_EQ(std::string(failure.what()), "Unable to write to " + link);
        EXPECT_EQ(failure.detail(), "Soubor " + link +
                                        " se nepodařilo zapsat: je to symbolický odkaz a přes odkazy program "
                                        "nezapisuje.");
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::exists(target), *GetParam().target != '\0');
    EXPECT_EQ(read_file(target), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.file("")), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.file("etc")), fs::directory_iterator()),
              *GetParam().target != '\0' ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteThroughLink,
                         testing::Values(LinkRow{"to_a_system_file", "etc/passwd"},
                                         LinkRow{"to_an_ini_file", "etc/real.ini"}, LinkRow{"dangling", ""}),
                         row_name);

// The in-place rewrite (the folder takes no new files, the file may be
// written) on a disk that fails: the old file stays whole.
struct InPlaceRow {
    const char *name;
    int reserve_error; // what reserving the room gives: 0, or an errno value
    off_t room;        // how far the file may grow before writes fail
    int write_error;
    bool once;         // only the first write past the room fails (a passing I/O error)
    bool shorter;      // the new text is shorter than the old
    const char *reason; // of the detail; nullptr: the write succeeds
};

class WriteInPlace : public testing::TestWithParam<InPlaceRow> {};

TEST_P(WriteInPlace, OldFileStaysWholeOrNewOneIsWhole)
{
    const InPlaceRow &row = GetParam();
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    const std::string old_text = "[A]\nx=" + std::string(row.shorter ? 5000 : 10, 'o') + "\n; tail\n";
    const std::string value(row.shorter ? 10 : 5000, 'n');
    write_file(path, old_text);
    struct stat before {};
    ::stat(path.c_str(), &before);

    SettingsDisk disk;
    disk.create = [](const std::string &, mode_t) {
        errno = EACCES;
        return -1;
    };
    disk.reserve = [&row](int, off_t) { return row.reserve_error; };
    bool failed = false;
    disk.write = [&](int fd, const char *data, std::size_t size) -> ssize_t {
        const off_t at = ::lseek(fd, 0, SEEK_CUR);
        const std::size_t room = at < row.room ? static_cast<std::size_t>(row.room - at) : 0;
        if (size > room && !(row.once && failed)) {
            if (room == 0) {
                failed = true;
                errno = row.write_error;
                return -1;
            }
            size = room;
        }
        return ::write(fd, data, size);
    };
    const std::string new_text = "[A]\nx=" + value + "\n; tail\n";
    try {
        SettingsFile(path, disk).write_string("A", "x", value);
        EXPECT_EQ(row.reason, nullptr);
        EXPECT_TRUE(read_file(path) == new_text);
    } catch (const SettingsWriteError &failure) {
        ASSERT_NE(row.reason, nullptr);
        EXPECT_EQ(failure.detail(), "Soubor " + path + " se nepodařilo zapsat: " + row.reason + ".");
        EXPECT_TRUE(read_file(path) == old_text) << read_file(path).size() << " bytes";
    }
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino); // rewritten in place, not replaced
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.file("")), fs::directory_iterator()), 1);
}

constexpr off_t no_limit = 1 << 30;
INSTANTIATE_TEST_SUITE_P(
    Rows, WriteInPlace,
    testing::Values(InPlaceRow{"written", 0, no_limit, 0, false, false, nullptr},
                    InPlaceRow{"shorter_written", 0, no_limit, 0, false, true, nullptr},
                    InPlaceRow{"no_room_to_reserve", ENOSPC, no_limit, 0, false, false, "na disku není místo"},
                    InPlaceRow{"quota_to_reserve", EDQUOT, no_limit, 0, false, false, "byla překročena disková kvóta"},
                    // A file system that cannot reserve: the old text is put back.
                    InPlaceRow{"full_midway_without_reserve", EOPNOTSUPP, 3000, ENOSPC, false, false,
                               "na disku není místo"},
                    InPlaceRow{"io_error_midway", 0, 3000, EIO, true, false,
                               "došlo k chybě při čtení nebo zápisu na disk"},
                    InPlaceRow{"io_error_on_shorter", 0, 4, EIO, true, true,
                               "došlo k chybě při čtení nebo zápisu na disk"}),
    row_name);

// A real full disk: a small tmpfs, which root may mount. For the in-place
// rewrite its folder is made immutable, so that not even root can create
// the replacement beside the file.
class FullDisk : public testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting a small tmpfs needs root";
        std::string pattern = (fs::temp_directory_path() / "parvolin-full-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        point_ = pattern;
        if (::mount("tmpfs", point_.c_str(), "tmpfs", 0, "size=64k,mode=0755") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs: " << std::strerror(errno);
        mounted_ = true;
    }
    void TearDown() override
    {
        set_immutable(false);
        if (mounted_)
            ::umount2(point_.c_str(), MNT_DETACH);
        if (!point_.empty())
            ::rmdir(point_.c_str());
    }

    bool set_immutable(bool on)
    {
        if (folder_.empty())
            return true;
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return done;
    }

    // Fills what is left of the disk.
    void fill()
    {
        const int fd = ::open((point_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
    }

    std::string point_;
    std::string folder_;
    bool mounted_ = false;
};

TEST_F(FullDisk, NeitherReplacingNorRewritingInPlaceLosesTheFile)
{
    for (const bool in_place : {false, true}) {
        folder_ = point_ + (in_place ? "/in-place" : "/replaced");
        ASSERT_EQ(::mkdir(folder_.c_str(), 0755), 0);
        const std::string path = folder_ + "/parvolin.ini";
        const std::string old_text = "[A]\nx=1\n; the tail that must not be lost\n";
        write_file(path, old_text);
        fill();
        if (in_place && !set_immutable(true))
            GTEST_SKIP() << "this tmpfs cannot make a folder immutable";
        try {
            SettingsFile(path).write_string("A", "x", std::string(20000, 'n'));
            ADD_FAILURE() << "written on a full disk";
        } catch (const SettingsWriteError &failure) {
            EXPECT_EQ(failure.detail(), "Soubor " + path + " se nepodařilo zapsat: na disku není místo.");
        }
        EXPECT_TRUE(read_file(path) == old_text) << (in_place ? "in place: " : "replaced: ") << read_file(path).size();
        set_immutable(false);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
        ::unlink((point_ + "/filler").c_str());
    }
}

// A file with a second name (a hard link) is not rewritten in place: that
// would change the other file too.
TEST(WriteString, InPlaceRefusesAHardLinkedFile)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    write_file(path, "[A]\nx=1\n");
    ASSERT_EQ(::link(path.c_str(), folder.file("other").c_str()), 0);
    SettingsDisk disk;
    disk.create = [](const std::string &, mode_t) {
        errno = EPERM;
        return -1;
    };
    EXPECT_THROW(SettingsFile(path, disk).write_integer("A", "x", 2), SettingsWriteError);
    EXPECT_EQ(read_file(folder.file("other")), "[A]\nx=1\n");
}

TEST(WriteString, FailureNamesTheFileAndLeavesNothingBehind)
{
    TempFolder folder;
    // A folder where the file should be, and a file in a folder that does
    // not exist: both fail also for root.
    for (const std::string &path : {folder.file("parvolin.ini"), folder.file("missing/parvolin.ini")}) {
        fs::create_directory(folder.file("parvolin.ini"));
        try {
            SettingsFile(path).write_bool("Form", "Maximized", true);
            ADD_FAILURE() << "no failure for " << path;
        } catch (const SettingsWriteError &failure) {
            EXPECT_EQ(std::string(failure.what()), "Unable to write to " + path);
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.file("")), fs::directory_iterator()), 1);
}

// Junk up to the bound is read past and kept; ten megabytes of it are not
// read, and not rewritten either.
TEST(SettingsFile, JunkUpToTheBoundIsReadAndWrittenTenMegabytesNot)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    std::mt19937 random(7);
    constexpr char alphabet[] = "[]=;\r\n xX0\xC4"; // and its terminating zero byte
    for (const std::size_t size : {max_settings_file_size - 64, std::size_t{10} << 20}) {
        std::string junk(size, '\0');
        for (char &c : junk)
            c = alphabet[random() % sizeof alphabet];
        junk += "\n[Form]\nHeight=300\n";
        write_file(path, junk);
        SettingsFile file(path);
        const bool oversized = junk.size() > max_settings_file_size;
        EXPECT_EQ(file.oversized(), oversized);
        EXPECT_EQ(file.read_integer("Form", "Height", 520), oversized ? 520 : 300);
        EXPECT_EQ(file.read_integer("Form", "Width", 490), 490);
        try {
            file.write_integer("Form", "Width", 600);
            EXPECT_FALSE(oversized) << "rewritten";
        } catch (const SettingsWriteError &failure) {
            EXPECT_TRUE(oversized);
            EXPECT_EQ(failure.detail(), "Soubor " + path +
                                            " se nepodařilo zapsat: soubor je příliš velký (víc než 64 KiB), takový "
                                            "soubor nastavení program nečte ani nepřepisuje.");
        }
        EXPECT_EQ(file.read_integer("Form", "Width", 490), oversized ? 490 : 600);
        EXPECT_EQ(read_file(path).compare(0, junk.size(), junk), 0);
        if (oversized) {
            EXPECT_EQ(read_file(path).size(), junk.size());
        }
    }
}

// ---------------------------------------------------------------------------

TEST(WindowSettings, FirstStartGivesTheDefaults)
{
    TempFolder folder;
    WindowSettings defaults;
    defaults.first_address = "file:///first.html";
    defaults.second_address = "file:///second.html";
    const WindowSettings read = read_window_settings(SettingsFile(folder.file("parvolin.ini")), defaults);
    EXPECT_EQ(read.first_address, "file:///first.html");
    EXPECT_EQ(read.second_address, "file:///second.html");
    EXPECT_EQ(read.width, 490);
    EXPECT_EQ(read.height, 520);
    EXPECT_FALSE(read.maximized);
    EXPECT_FALSE(read.dot_separator);
}

TEST(WindowSettings, ClosingWritesEightKeysAndReadsBack)
{
    TempFolder folder;
    SettingsFile file(folder.file("parvolin.ini"));
    const WindowSettings written{"http://a", "http://b", 1, -2, 300, 0x200, true, true};
    write_settings_on_close(file, written);
    EXPECT_EQ(read_file(file.path()), "[Form]\nTop=1\nLeft=-2\nHeight=300\nWidth=512\nMaximized=1\n"
                                      "[Oddelovac]\ntecka=1\n"
                                      "[Adresawebu]\nadresamehowebu=http://a\nadresamehodruhehowebu=http://b\n");
    const WindowSettings read = read_window_settings(file, WindowSettings{});
    EXPECT_EQ(read.first_address, "http://a");
    EXPECT_EQ(read.second_address, "http://b");
    EXPECT_EQ(std::tie(read.top, read.left, read.height, read.width), std::make_tuple(1, -2, 300, 512));
    EXPECT_TRUE(read.maximized);
    EXPECT_TRUE(read.dot_separator);
}

TEST(WindowSettings, ExitWritesSixKeysAndLeavesTheAddresses)
{
    TempFolder folder;
    SettingsFile file(folder.file("parvolin.ini"));
    write_settings_on_exit(file, WindowSettings{"http://a", "http://b"});
    EXPECT_EQ(read_file(file.path()), "[Form]\nTop=50\nLeft=30\nHeight=520\nWidth=490\nMaximized=0\n"
                                      "[Oddelovac]\ntecka=0\n");

    write_file(file.path(), "[Adresawebu]\nadresamehowebu = http://kept\n");
    write_settings_on_exit(file, WindowSettings{"http://a", "http://b"});
    EXPECT_EQ(read_file(file.path()).rfind("[Adresawebu]\nadresamehowebu = http://kept\n[Form]\n", 0), 0u);
}

// ---------------------------------------------------------------------------

class SettingsFilePath : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : {"XDG_CONFIG_HOME", "HOME"}) {
            if (const char *value = std::getenv(name))
                saved_.emplace_back(name, value);
        }
        ::setenv("HOME", folder_.file("home").c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("XDG_CONFIG_HOME");
        for (const auto &[name, value] : saved_)
            ::setenv(name.c_str(), value.c_str(), 1);
    }

    TempFolder folder_;
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(SettingsFilePath, BesideAWritableProgram)
{
    EXPECT_EQ(settings_file_path(folder_.file("parvolin")), folder_.file("parvolin.ini"));
    EXPECT_EQ(settings_file_path(folder_.file("parvolin.bin")), folder_.file("parvolin.ini"));
}

TEST_F(SettingsFilePath, BesideAReadOnlyProgramWhenTheFileIsThere)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write every folder";
    fs::create_directory(folder_.file("bin"));
    write_file(folder_.file("bin/parvolin.ini"), "");
    ::chmod(folder_.file("bin").c_str(), 0555);
    EXPECT_EQ(settings_file_path(folder_.file("bin/parvolin")), folder_.file("bin/parvolin.ini"));
    ::chmod(folder_.file("bin").c_str(), 0755);
}

// An installed program keeps its settings with the user's even when the user
// (root) could write its folder; a settings file has no place in /usr/bin.
TEST_F(SettingsFilePath, NeverBesideAnInstalledProgram)
{
    ::setenv("XDG_CONFIG_HOME", folder_.file("xdg").c_str(), 1);
    for (const char *program : {"/usr/bin/parvolin", "/usr/local/bin/parvolin", "/bin/parvolin"})
        EXPECT_EQ(settings_file_path(program), folder_.file("xdg/parvolin/parvolin.ini")) << program;
}

// Only the system's folders themselves count, not every folder whose name
// begins like one (/library, /binaries).
TEST_F(SettingsFilePath, BesideAProgramInAFolderNamedLikeASystemOne)
{
    const std::string lookalike = "/libparvolin-test-" + std::to_string(::getpid());
    if (::mkdir(lookalike.c_str(), 0755) != 0)
        GTEST_SKIP() << "cannot make " << lookalike << " (not root)";
    ::setenv("XDG_CONFIG_HOME", folder_.file("xdg").c_str(), 1);
    EXPECT_EQ(settings_file_path(lookalike + "/parvolin"), lookalike + "/parvolin.ini");
    ::rmdir(lookalike.c_str());
}

// A program in a folder that cannot be written (here: one that does not
// exist, which holds for root too) keeps its settings with the user's.
TEST_F(SettingsFilePath, ConfigurationFolderOtherwise)
{
    const std::string program = folder_.file("missing/parvolin");
    ::setenv("XDG_CONFIG_HOME", folder_.file("xdg/deeper/").c_str(), 1);
    EXPECT_EQ(settings_file_path(program), folder_.file("xdg/deeper/parvolin/parvolin.ini"));
    EXPECT_TRUE(fs::is_directory(folder_.file("xdg/deeper/parvolin")));

    for (const char *unusable : {"", "relative/config"}) {
        ::setenv("XDG_CONFIG_HOME", unusable, 1);
        EXPECT_EQ(settings_file_path(program), folder_.file("home/.config/parvolin/parvolin.ini")) << unusable;
    }
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(settings_file_path(program), folder_.file("home/.config/parvolin/parvolin.ini"));
    EXPECT_TRUE(fs::is_directory(folder_.file("home/.config/parvolin")));
}

} // namespace
} // namespace parvolin
