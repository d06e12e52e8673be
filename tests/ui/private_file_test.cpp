// The reader of the program's own small files: the bound taken to the byte,
// a pipe never waited on, and a file the umask left open to the group made
// the user's alone. (Links and files others may write: worksheet_choices_test.)

#include "ui/main/private_file.h"

#include "ui/main/worksheet_choices.h"
#include "tests/test_rows.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include <sys/stat.h>

namespace parvolin {
namespace {

struct TrustRow {
    const char *name;
    void (*prepare)(const std::string &path);
    std::optional<std::string> read; // with a bound of 16 bytes
};

class TrustedFile : public ::testing::TestWithParam<TrustRow> {};

TEST_P(TrustedFile, ReadsUpToTheBoundAndNoPipe)
{
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("own.ini")).toStdString();
    GetParam().prepare(path);
    EXPECT_EQ(read_trusted_file(path, 16), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrustedFile,
    ::testing::Values(
        TrustRow{"at_the_bound", [](const std::string &path) { std::ofstream(path) << std::string(16, 'a'); },
                 std::string(16, 'a')},
        TrustRow{"a_byte_past_it", [](const std::string &path) { std::ofstream(path) << std::string(17, 'a'); },
                 std::nullopt},
        // Opening it must not wait for a writer that never comes.
        TrustRow{"a_pipe", [](const std::string &path) { ::mkfifo(path.c_str(), 0600); }, std::nullopt}),
    row_name);

// The group's write permission that the umask gives a new choices file is
// taken back, so that the dialog reads back what it wrote.
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
