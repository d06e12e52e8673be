// The reader of the program's own small files: the bound taken to the byte,
// and nothing read that someone else could have put there.

#include "ui/main/private_file.h"

#include "ui/main/worksheet_choices.h"
#include "tests/test_rows.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace parvolin {
namespace {

constexpr std::size_t limit = 16;

struct TrustRow {
    const char *name;
    // Puts something at `path` in `folder`.
    void (*prepare)(const std::string &folder, const std::string &path);
    std::optional<std::string> read;
};

void write_text(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class TrustedFile : public ::testing::TestWithParam<TrustRow> {};

TEST_P(TrustedFile, ReadsOnlyWhatNobodyElseCouldHavePutThere)
{
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("own.ini")).toStdString();
    GetParam().prepare(folder.path().toStdString(), path);
    EXPECT_EQ(read_trusted_file(path, limit), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrustedFile,
    ::testing::Values(
        TrustRow{"at_the_bound", [](const std::string &, const std::string &path) { write_text(path, std::string(16, 'a')); },
                 std::string(16, 'a')},
        TrustRow{"a_byte_past_it",
                 [](const std::string &, const std::string &path) { write_text(path, std::string(17, 'a')); },
                 std::nullopt},
        TrustRow{"empty", [](const std::string &, const std::string &path) { write_text(path, ""); }, std::string()},
        TrustRow{"the_group_may_write",
                 [](const std::string &, const std::string &path) {
                     write_text(path, "x");
                     ::chmod(path.c_str(), 0620);
                 },
                 std::nullopt},
        TrustRow{"others_may_write",
                 [](const std::string &, const std::string &path) {
                     write_text(path, "x");
                     ::chmod(path.c_str(), 0602);
                 },
                 std::nullopt},
        TrustRow{"through_a_link",
                 [](const std::string &folder, const std::string &path) {
                     write_text(folder + "/real.ini", "x");
                     ::chmod((folder + "/real.ini").c_str(), 0600);
                     ::symlink((folder + "/real.ini").c_str(), path.c_str());
                 },
                 std::nullopt},
        // Opening a pipe must not wait for a writer that never comes.
        TrustRow{"a_pipe", [](const std::string &, const std::string &path) { ::mkfifo(path.c_str(), 0600); },
                 std::nullopt}),
    row_name);

// A group that may write, given by the umask, is taken from a new choices
// file, so that the dialog reads back what it wrote.
TEST(KeepOthersFromWriting, ChoicesWrittenUnderAGenerousUmaskReadBack)
{
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("worksheet.ini")).toStdString();
    WorksheetChoices choices = default_worksheet_choices();
    choices.count = 7;
    const mode_t umask_before = ::umask(0002);
    write_worksheet_choices(path, choices);
    ::umask(umask_before);
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);
    EXPECT_EQ(read_worksheet_choices(path).count, 7);
}

} // namespace
} // namespace parvolin
