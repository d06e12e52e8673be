// The worksheet dialog's choices kept between runs: read back as written,
// and a file that is damaged, too large, someone else's to write or reached
// through a link gives the defaults.

#include "ui/main/worksheet_choices.h"

#include "ui/main/settings_file.h"
#include "tests/test_rows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace parvolin {
namespace {

bool same(const WorksheetChoices &a, const WorksheetChoices &b)
{
    return a.count == b.count && a.kinds == b.kinds && a.relations == b.relations && a.difficulty == b.difficulty &&
           a.key == b.key && a.steps == b.steps;
}

WorksheetChoices chosen_by_hand()
{
    WorksheetChoices choices;
    choices.count = 7;
    choices.kinds = {ProblemKind::SurdRoots, ProblemKind::Linear};
    choices.relations = {Relation::Less, Relation::GreaterEqual};
    choices.difficulty = Difficulty::Large;
    choices.key = false;
    choices.steps = true;
    return choices;
}

void write_text(const std::string &path, const std::string &text)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

const std::string good_text = "[Pracovni list]\nPocet=7\nDruhy=surd,linear\nVztahy=less,greater-equal\n"
                              "Obtiznost=large\nVysledky=0\nPostup=1\n";

struct FileRow {
    const char *name;
    // Puts something at `path` in `folder`.
    std::function<void(const std::string &folder, const std::string &path)> prepare;
    bool read_as_written; // else the defaults
};

class ChoicesFile : public ::testing::TestWithParam<FileRow> {};

TEST_P(ChoicesFile, ReadsOnlyAFileOfTheUsersOwn)
{
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("worksheet.ini")).toStdString();
    GetParam().prepare(folder.path().toStdString(), path);
    const WorksheetChoices read = read_worksheet_choices(path);
    EXPECT_TRUE(same(read, GetParam().read_as_written ? chosen_by_hand() : default_worksheet_choices()));
}

INSTANTIATE_TEST_SUITE_P(
    Worksheets, ChoicesFile,
    ::testing::Values(
        FileRow{"as_written", [](const std::string &, const std::string &path) { write_text(path, good_text); }, true},
        FileRow{"written_by_the_dialog",
                [](const std::string &, const std::string &path) { write_worksheet_choices(path, chosen_by_hand()); },
                true},
        FileRow{"missing", [](const std::string &, const std::string &) {}, false},
        FileRow{"damaged_values",
                [](const std::string &, const std::string &path) {
                    write_text(path, "[Pracovni list]\nPocet=61\nDruhy=sure,,\nVztahy=\nObtiznost=huge\n"
                                     "Vysledky=yes\nPostup=2\n");
                },
                false},
        FileRow{"binary", [](const std::string &, const std::string &path) { write_text(path, std::string("\0\xff[\n=\x80", 6)); },
                false},
        FileRow{"too_large",
                [](const std::string &, const std::string &path) {
                    write_text(path, good_text + std::string(max_worksheet_choices_size, ';'));
                },
                false},
        FileRow{"symbolic_link",
                [](const std::string &folder, const std::string &path) {
                    write_text(folder + "/elsewhere.ini", good_text);
                    ASSERT_EQ(::symlink((folder + "/elsewhere.ini").c_str(), path.c_str()), 0);
                },
                false},
        FileRow{"others_may_write",
                [](const std::string &, const std::string &path) {
                    write_text(path, good_text);
                    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
                },
                false},
        FileRow{"a_folder", [](const std::string &, const std::string &path) { ASSERT_TRUE(QDir().mkdir(QString::fromStdString(path))); },
                false}),
    row_name);

// A link planted where the file goes is refused, not written through, and
// the folder is made when it is missing.
TEST(WorksheetChoices, WritesNeverThroughALinkAndMakesTheFolder)
{
    QTemporaryDir folder;
    const std::string target = folder.filePath(QStringLiteral("target")).toStdString();
    write_text(target, "keep");
    const std::string link = folder.filePath(QStringLiteral("worksheet.ini")).toStdString();
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_THROW(write_worksheet_choices(link, chosen_by_hand()), SettingsWriteError);
    QFile kept(QString::fromStdString(target));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep"));

    const std::string nested = folder.filePath(QStringLiteral("config/parvolin/worksheet.ini")).toStdString();
    write_worksheet_choices(nested, chosen_by_hand());
    EXPECT_TRUE(same(read_worksheet_choices(nested), chosen_by_hand()));
}

} // namespace
} // namespace parvolin
