// Saving the result document with the save dialog and the notice box
// replaced, so that nothing modal opens.

#include "ui/main/error_display.h"
#include "ui/main/main_window.h"
#include "ui/main/new_file.h"
#include "ui/main/save_document.h"
#include "ui/main/save_folder.h"

#include "solver/rtf_writer.h"

#include "tests/ui/scoped_variable.h"
#include "tests/ui/test_files.h"
#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace parvolin {
namespace {

const ResultDocument sample{{"Datum:5.3.2024", "Řešení rovnice "}};

// The save dialog answers with choice_ and records the path it was shown;
// the notices are recorded as "caption|text".
class SaveTest : public WindowTest {
protected:
    void save(std::optional<QString> choice)
    {
        choice_ = std::move(choice);
        command_.run(nullptr, sample);
    }

    SaveCommand command_;
    std::optional<QString> choice_;
    std::vector<QString> shown_;
    std::vector<QString> notices_;
    ReplacedSeam<SaveDialogs> dialogs_{set_save_dialogs,
                                       {[this](QWidget *, const QString &shown) {
                                            shown_.push_back(shown);
                                            return choice_;
                                        },
                                        [this](const QString &text, const QString &caption) {
                                            notices_.push_back(caption + QLatin1Char('|') + text);
                                        }}};
};

struct TargetRow {
    const char *name;
    const char *typed;
    const char *written;
};

class SaveTarget : public SaveTest, public ::testing::WithParamInterface<TargetRow> {};

TEST_P(SaveTarget, WritesTheRtfUnderTheTargetNameOnly)
{
    save(path(GetParam().typed));
    EXPECT_EQ(file_contents(path(GetParam().written)).toStdString(), rtf_document(sample));
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{QString::fromUtf8(GetParam().written)});
}

INSTANTIATE_TEST_SUITE_P(Names, SaveTarget,
                         ::testing::Values(TargetRow{"plain_name_gets_suffix", "vysledek", "vysledek.rtf"},
                                           TargetRow{"rtf_suffix_kept", "vysledek.rtf", "vysledek.rtf"},
                                           TargetRow{"capital_suffix_kept", "VYSLEDEK.Rtf", "VYSLEDEK.Rtf"},
                                           TargetRow{"rtf_without_dot", "vysledekrtf", "vysledekrtf.rtf"}),
                         row_name);

TEST_F(SaveTest, TakenNameGetsTheNoticeAndCancelKeepsTheLastPath)
{
    save(path("vysledek"));
    ASSERT_EQ(::symlink("nowhere", path("odkaz.rtf").toUtf8().constData()), 0);
    save(std::nullopt);
    save(path("vysledek"));
    save(path("odkaz"));
    EXPECT_TRUE(shown_.front().endsWith('/')) << shown_.front().toStdString(); // a folder, no name
    EXPECT_EQ(std::vector<QString>(shown_.begin() + 1, shown_.end()),
              (std::vector<QString>{path("vysledek"), path("vysledek"), path("vysledek")}));
    const QString end = QString::fromUtf8(" nelze uložit.  Soubor s tímto názvem již existuje , zvolte jiný název.");
    EXPECT_EQ(notices_, (std::vector<QString>{"Parvolin|Soubor " + path("vysledek.rtf") + end,
                                              "Parvolin|Soubor " + path("odkaz.rtf") + end}));
    EXPECT_EQ(file_contents(path("vysledek.rtf")).toStdString(), rtf_document(sample));
    EXPECT_FALSE(QFile::exists(path("nowhere")));
}

// The first dialog of a run opens with no name in the user's documents
// folder, or in the folder another save dialog used last; never in the
// folder the program runs from.
struct FolderRow {
    const char *name;
    bool documents_made;
    const char *saved_before; // a file saved by another dialog, under the home folder; "" none
    bool folder_removed;      // that file's folder deleted since
    const char *expected;     // under the home folder, "" the home folder itself
};

class FirstSaveFolder : public SaveTest, public ::testing::WithParamInterface<FolderRow> {};

TEST_P(FirstSaveFolder, IsTheLastUsedOrTheDocuments)
{
    const FolderRow &row = GetParam();
    const QString home = path("domov");
    ASSERT_TRUE(QDir().mkpath(home + "/.config"));
    const ScopedVariable home_variable{"HOME", QFile::encodeName(home)};
    const ScopedVariable config{"XDG_CONFIG_HOME", QFile::encodeName(home + "/.config")};
    if (row.documents_made) {
        ASSERT_TRUE(QDir().mkpath(home + "/Documents"));
    }
    forget_save_folder();
    if (*row.saved_before != '\0') {
        const QString saved = home + '/' + QString::fromUtf8(row.saved_before);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(saved).absolutePath()));
        remember_save_folder(saved);
        if (row.folder_removed) {
            ASSERT_TRUE(QDir(QFileInfo(saved).absolutePath()).removeRecursively());
        }
    }
    save(std::nullopt);
    const QString expected = *row.expected == '\0' ? home : home + '/' + QString::fromUtf8(row.expected);
    EXPECT_EQ(shown_, (std::vector<QString>{expected + '/'}));
    EXPECT_NE(shown_.front(), QDir::currentPath() + '/');

    // What this dialog returns is where the next one opens.
    ASSERT_TRUE(QDir().mkpath(home + "/ulohy"));
    save(home + "/ulohy/úloha");
    EXPECT_EQ(save_folder(), home + "/ulohy");
    forget_save_folder();
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, FirstSaveFolder,
    ::testing::Values(FolderRow{"documents", true, "", false, "Documents"},
                      FolderRow{"no_documents_folder", false, "", false, ""},
                      FolderRow{"last_used_by_the_worksheet", true, "listy/pracovni-list-1.pdf", false, "listy"},
                      FolderRow{"last_used_since_removed", true, "listy/pracovni-list-1.pdf", true, "Documents"}),
    row_name);

// A name taken between the existence test and the creation is not overwritten.
TEST_F(SaveTest, NewFileNeverReplacesOne)
{
    write_file(path("souboj.rtf"), "cizí");
    EXPECT_EQ(write_new_file(path("souboj.rtf").toStdString(), "{\\rtf1}"), NewFile::Exists);
    EXPECT_EQ(file_contents(path("souboj.rtf")), QByteArray("cizí"));
}

// A write that fails after the first chunk leaves no half-written file.
TEST_F(SaveTest, WriteFailingPartWayRemovesTheFile)
{
    const std::string name = path("cast.rtf").toStdString();
    int calls = 0;
    const auto writer = [&](int fd, const char *data, std::size_t size) -> ssize_t {
        if (calls++ == 0)
            return ::write(fd, data, size);
        errno = ENOSPC;
        return -1;
    };
    EXPECT_THROW(write_new_file(name, std::string(3 * file_chunk_size, 'r'), writer), StreamWriteError);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(name)));
}

// The message stays as it is; the detail names the file and says why, in
// Czech where we have the words, in the system's text otherwise.
struct ReasonRow {
    const char *name;
    int error;
    const char *reason; // nullptr: the system's text
};

class StreamFailure : public SaveTest, public ::testing::WithParamInterface<ReasonRow> {};

TEST_P(StreamFailure, DetailNamesTheFileAndTheReason)
{
    const std::string name = path("plny.rtf").toStdString();
    const auto writer = [](int, const char *, std::size_t) -> ssize_t {
        errno = GetParam().error;
        return -1;
    };
    try {
        write_new_file(name, "{\\rtf1}", writer);
        ADD_FAILURE() << "no failure";
    } catch (const StreamWriteError &failure) {
        EXPECT_STREQ(failure.what(), "Failed to Save Stream");
        const std::string reason = GetParam().reason ? GetParam().reason : std::strerror(GetParam().error);
        EXPECT_EQ(failure.detail(), "Soubor " + name + " se nepodařilo zapsat: " + reason + ".");
    }
}

INSTANTIATE_TEST_SUITE_P(Reasons, StreamFailure,
                         ::testing::Values(ReasonRow{"full_disk", ENOSPC, "na disku není místo"},
                                           ReasonRow{"quota", EDQUOT, "byla překročena disková kvóta"},
                                           ReasonRow{"io_error", EIO, "došlo k chybě při čtení nebo zápisu na disk"},
                                           ReasonRow{"other", ENXIO, nullptr}),
                         row_name);

TEST_F(SaveTest, WindowSavesItsDocumentAndShowsFailures)
{
    open(settings_path(), false);
    find<QLineEdit>("kv_koef")->setText(QStringLiteral("1"));
    solve();
    auto *save_action = find<QAction>("Ulozit");
    choice_ = path("okno");
    save_action->trigger();
    EXPECT_EQ(file_contents(path("okno.rtf")).toStdString(), rtf_document(ResultDocument{window_->document_lines()}));
    save_action->trigger();
    // The existence test does not count a folder; creating the file fails.
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("slozka.rtf")));
    choice_ = path("slozka");
    save_action->trigger();
    window_.reset(); // what it shows on closing counts too
    EXPECT_EQ(notices_.size(), 1u);
    EXPECT_EQ(failures_, std::vector<QString>{QStringLiteral("Cannot create file \"%1\". %2.")
                                                  .arg(path("slozka.rtf"), QString::fromLocal8Bit(std::strerror(EISDIR)))});
    // The reason in Czech as well, as the worksheet dialog gives it.
    EXPECT_EQ(details_, std::vector<QString>{QStringLiteral("Soubor %1 se nepodařilo zapsat: na tomto místě je složka.")
                                                 .arg(path("slozka.rtf"))});
}

} // namespace
} // namespace parvolin
