#include "ui/main/settings_file.h"

#include "tests/test_rows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

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

TEST(WriteString, KeepsPermissionsAndFollowsALink)
{
    TempFolder folder;
    const std::string real = folder.file("real.ini");
    const std::string link = folder.file("parvolin.ini");
    write_file(real, "[A]\nx=1\n");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, link);
    SettingsFile(link).write_integer("A", "x", 2);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(read_file(real), "[A]\nx=2\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
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

TEST(SettingsFile, TenMegabytesOfJunkAreReadAndWritten)
{
    TempFolder folder;
    const std::string path = folder.file("parvolin.ini");
    std::mt19937 random(7);
    constexpr char alphabet[] = "[]=;\r\n xX0\xC4"; // and its terminating zero byte
    std::string junk(10 << 20, '\0');
    for (char &c : junk)
        c = alphabet[random() % sizeof alphabet];
    write_file(path, junk);
    SettingsFile file(path);
    EXPECT_EQ(file.read_integer("Form", "Width", 490), 490);
    file.write_integer("Form", "Width", 600);
    EXPECT_EQ(file.read_integer("Form", "Width", 490), 600);
    EXPECT_EQ(read_file(path).compare(0, junk.size(), junk), 0);
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
