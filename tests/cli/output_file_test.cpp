#include "cli/output_file.h"
#include "solver/failures.h"
#include "tests/test_rows.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>

namespace parvolin {
namespace {

namespace fs = std::filesystem;

class OutputFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/parvolin-output-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        fs::permissions(folder_, fs::perms::owner_all);
        fs::remove_all(folder_);
    }
    static std::string read(const fs::path &path)
    {
        std::ifstream in(path);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {})); }
    std::string message_of(const std::string &path, const ChunkWrite &write = {})
    {
        try {
            cli::write_output_file(path, "new", write);
        } catch (const Failure &failure) {
            return failure.message();
        }
        return "written";
    }
    fs::path folder_;
};

TEST_F(OutputFile, CreatesAndReplacesWhole)
{
    const std::string path = (folder_ / "list.rtf").string();
    cli::write_output_file(path, "first");
    cli::write_output_file(path, "second");
    EXPECT_EQ(read(path), "second");
    EXPECT_EQ(entries(), 1u); // no temporary file left beside it
}

TEST_F(OutputFile, AFullDiskLeavesTheOldFileAndNothingElse)
{
    const std::string path = (folder_ / "list.txt").string();
    cli::write_output_file(path, "old");
    const ChunkWrite full_disk = [](int, const char *, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    EXPECT_EQ(message_of(path, full_disk), "Soubor „" + path + "“ nelze zapsat: na disku není místo");
    EXPECT_EQ(read(path), "old");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(OutputFile, NeverWritesThroughALink)
{
    const fs::path target = folder_ / "target";
    std::ofstream(target) << "keep";
    const fs::path link = folder_ / "link";
    fs::create_symlink(target, link);
    EXPECT_EQ(message_of(link.string()),
              "Soubor „" + link.string() + "“ nelze zapsat: je to symbolický odkaz, přes odkaz nezapisuji");
    EXPECT_EQ(read(target), "keep");
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(OutputFile, RefusesAFolderAndAMissingOne)
{
    fs::create_directory(folder_ / "sub");
    EXPECT_EQ(message_of((folder_ / "sub").string()),
              "Soubor „" + (folder_ / "sub").string() + "“ nelze zapsat: není to obyčejný soubor");
    EXPECT_NE(message_of((folder_ / "none" / "x.txt").string()), "written");
    EXPECT_FALSE(fs::exists(folder_ / "none"));
}

TEST_F(OutputFile, AReadOnlyFolderKeepsNothing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_NE(message_of((folder_ / "x.txt").string()), "written");
    fs::permissions(folder_, fs::perms::owner_all);
    EXPECT_EQ(entries(), 0u);
}

struct ReplacedModeRow {
    const char *name;
    mode_t mode;
    const char *outcome; // "written" or the reason after the colon
};

class ReplacedMode : public OutputFile, public ::testing::WithParamInterface<ReplacedModeRow> {};

// A private file stays private; one its owner made read-only is left alone,
// even by root.
TEST_P(ReplacedMode, IsKeptOrTheFileRefused)
{
    const std::string path = (folder_ / "list.txt").string();
    std::ofstream(path) << "old";
    ASSERT_EQ(::chmod(path.c_str(), GetParam().mode), 0);
    const std::string outcome = GetParam().outcome;
    if (outcome == "written") {
        EXPECT_EQ(message_of(path), "written");
        EXPECT_EQ(read(path), "new");
    } else {
        EXPECT_EQ(message_of(path), "Soubor „" + path + "“ nelze zapsat: " + outcome);
        EXPECT_EQ(read(path), "old");
    }
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, GetParam().mode);
    EXPECT_EQ(entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    OutputFile, ReplacedMode,
    ::testing::Values(ReplacedModeRow{"private", 0600, "written"}, ReplacedModeRow{"group_reads", 0640, "written"},
                      ReplacedModeRow{"all_write", 0666, "written"},
                      ReplacedModeRow{"read_only", 0444, "soubor je určen jen pro čtení"},
                      ReplacedModeRow{"owner_reads_only", 0466, "soubor je určen jen pro čtení"}),
    row_name);

// The longest name the folder takes: the temporary file beside it is shorter.
TEST_F(OutputFile, TheLongestNameIsWritten)
{
    const std::string path = (folder_ / (std::string(250, 'n') + ".pdf")).string();
    EXPECT_EQ(message_of(path), "written");
    EXPECT_EQ(read(path), "new");
    EXPECT_EQ(entries(), 1u);
}

} // namespace
} // namespace parvolin
