// Help and links: where the help page and the theory pages are found, and
// what the help command, the two link labels and the banner hand to the
// desktop (recorded through the shell opener instead of opened).

#include "ui/aux/help_pages.h"
#include "ui/aux/shell_links.h"
#include "ui/main/error_display.h"
#include "ui/main/main_window.h"
#include "ui/main/settings_file.h"

#include "tests/ui/test_files.h"
#include "tests/test_rows.h"
#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace parvolin {
namespace {

// Places that may hold the shipped pages, in a made-up installation:
// <root>/work is the current directory, <root>/usr/bin the executable's folder.
enum Place { Current = 1, Share = 2, Beside = 4, Source = 8 };

const char *folder_of(Place place)
{
    switch (place) {
    case Current: return "work/help";
    case Share: return "usr/share/parvolin/help";
    case Beside: return "usr/bin/help";
    case Source: return "src/help";
    }
    return "";
}

struct PageCase {
    const char *name;
    int holding;           // the places that hold the pages
    Place help_from;       // where the help command finds index.html
    Place theory_from;     // where a theory page address points
};

class PageResolution : public ::testing::TestWithParam<PageCase> {};

TEST_P(PageResolution, PrefersTheCurrentDirectoryThenTheInstallation)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir base(root.path());
    const auto page_path = [&](Place place, const char *page) {
        return base.filePath(QString::fromLatin1(folder_of(place)) + QLatin1Char('/') + QLatin1String(page));
    };
    for (Place place : {Current, Share, Beside, Source}) {
        ASSERT_TRUE(base.mkpath(QString::fromLatin1(folder_of(place)) + QStringLiteral("/teorie")));
        if (GetParam().holding & place) {
            for (const char *page : {"index.html", equations_page})
                write_file(page_path(place, page), "");
        }
    }
    const auto expected = [&](Place place, const char *page) { return QDir::cleanPath(page_path(place, page)); };

    const QStringList shipped = shipped_help_folders(base.filePath(QStringLiteral("usr/bin")), base.filePath(QStringLiteral("src/help")));
    EXPECT_EQ(resolve_help_page(base.filePath(QStringLiteral("work")), shipped), expected(GetParam().help_from, "index.html"));
    EXPECT_EQ(resolve_shipped_page(QString::fromLatin1(equations_page), shipped), expected(GetParam().theory_from, equations_page));
}

INSTANTIATE_TEST_SUITE_P(
    Help, PageResolution,
    ::testing::Values(PageCase{"everywhere", Current | Share | Beside | Source, Current, Share},
                      PageCase{"installed", Share | Beside | Source, Share, Share},
                      PageCase{"beside_the_executable", Beside | Source, Beside, Beside},
                      PageCase{"build_tree", Source, Source, Source},
                      PageCase{"only_in_the_current_directory", Current, Current, Share},
                      PageCase{"nowhere", 0, Current, Share}),
    row_name);

// What the window hands to the desktop is recorded in opened_; a test
// that shows a message fails.
class Links : public WindowTest {
protected:
    void TearDown() override
    {
        WindowTest::TearDown();
        EXPECT_TRUE(failures_.empty());
    }

    void open(const char *settings)
    {
        write_file(settings_path(), settings);
        WindowTest::open();
    }

    void click(const char *name)
    {
        if (QWidget *widget = find<QWidget>(name))
            click_with_mouse(widget, QPointF(2, 2));
    }

    std::vector<QUrl> opened_;
    ReplacedSeam<ShellOpener> opener_{set_shell_opener, [this](const QUrl &url) { opened_.push_back(url); }};
};

struct LinkCase {
    const char *name;
    const char *first;
    const char *second;
};

class LinkTexts : public Links, public ::testing::WithParamInterface<LinkCase> {};

// An address goes to the desktop as the settings file holds it: not
// completed, not changed.
TEST_P(LinkTexts, AreHandedOnUnchanged)
{
    const std::string settings = std::string("[Adresawebu]\nadresamehowebu=") + GetParam().first
                                 + "\nadresamehodruhehowebu=" + GetParam().second + "\n";
    open(settings.c_str());
    for (const char *name : {"Image1", "Label19", "Label20"})
        click(name);
    ASSERT_EQ(opened_.size(), 3U);
    const QString first = QString::fromUtf8(GetParam().first);
    const QString second = QString::fromUtf8(GetParam().second);
    EXPECT_EQ(opened_[0].toString(), first) << "banner";
    EXPECT_EQ(opened_[1].toString(), first) << "first label";
    EXPECT_EQ(opened_[2].toString(), second) << "second label";
    EXPECT_EQ(window_->findChild<QLabel *>(QStringLiteral("Label19"))->text(), first);
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkTexts,
    ::testing::Values(LinkCase{"web_addresses", "http://www.example.cz/teorie/", "https://example.cz/nerovnice?a=1"},
                      LinkCase{"mail_and_file", "mailto:ucitel@example.cz", "file:///usr/share/doc/teorie.html"}),
    row_name);

struct RefusedCase {
    const char *name;
    const char *address;
};

class RefusedLinks : public WindowTest, public ::testing::WithParamInterface<RefusedCase> {};

// A text that is no address never reaches the desktop, where a launcher or
// a browser could take it for an option; the label says why nothing opens.
TEST_P(RefusedLinks, AreNotHandedOnButExplained)
{
    std::vector<QUrl> opened;
    const ReplacedSeam<ShellOpener> opener(set_shell_opener, [&](const QUrl &url) { opened.push_back(url); });
    std::vector<std::pair<QString, QString>> shown;
    const ReplacedSeam<FailureDisplay> display(
        set_failure_display, [&](const QString &text, const QString &detail) { shown.emplace_back(text, detail); });
    write_file(settings_path(), std::string("[Adresawebu]\nadresamehowebu=") + GetParam().address + "\n");
    open();
    click_with_mouse(find<QWidget>("Label19"), QPointF(2, 2));

    EXPECT_TRUE(opened.empty()) << opened.front().toString().toStdString();
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown[0].first, QString::fromUtf8("Adresu „%1“ nelze otevřít.").arg(QString::fromUtf8(GetParam().address)));
    EXPECT_TRUE(shown[0].second.contains(QStringLiteral("http://"))) << shown[0].second.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Links, RefusedLinks,
    ::testing::Values(RefusedCase{"launcher_option", "--gpu-launcher=/tmp/x.sh"},
                      RefusedCase{"short_option", "-e"},
                      RefusedCase{"without_scheme", "www.example.cz"},
                      RefusedCase{"any_text", "něco jiného"},
                      RefusedCase{"missing_file", "/nonexistent/teorie.html"},
                      RefusedCase{"web_address_without_host", "http:teorie"},
                      RefusedCase{"other_scheme", "javascript:alert(1)"},
                      RefusedCase{"file_of_another_host", "file://server/teorie.html"}),
    row_name);

// Paths of existing files, absolute or relative to the current directory,
// go out as file addresses: even a name beginning with "-" cannot then be
// read as an option.
TEST(OpenableUrl, ExistingPathsBecomeFileAddresses)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    write_file(folder.filePath(QStringLiteral("-teorie.html")), "");
    const QString absolute = folder.filePath(QStringLiteral("-teorie.html"));
    for (const std::string &address : {std::string("-teorie.html"), absolute.toStdString()}) {
        const std::optional<QUrl> url = openable_url(address, folder.path());
        ASSERT_TRUE(url.has_value()) << address;
        EXPECT_EQ(url->toLocalFile(), absolute);
        EXPECT_TRUE(url->toString().startsWith(QLatin1String("file:///"))) << address;
    }
}

// Run from the build tree, the program finds the source tree's pages.
TEST_F(Links, DefaultLinksOpenTheShippedTheoryPages)
{
    open("");
    click("Label19");
    click("Label20");
    ASSERT_EQ(opened_.size(), 2U);
    EXPECT_EQ(opened_[0].toString().toStdString(), equations_page_address());
    EXPECT_EQ(opened_[1].toString().toStdString(), inequalities_page_address());
    for (const auto &[url, page] : {std::pair{opened_[0], equations_page}, std::pair{opened_[1], inequalities_page}}) {
        EXPECT_TRUE(url.toLocalFile().endsWith(QLatin1String(page))) << url.toString().toStdString();
        EXPECT_TRUE(QFileInfo(url.toLocalFile()).isFile()) << url.toString().toStdString();
    }
}

TEST_F(Links, HelpOpensTheCurrentDirectorysPageOrTheShippedOne)
{
    open("");
    auto *help = window_->findChild<QAction *>(QStringLiteral("aaa1"));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));

    const QString before = QDir::currentPath();
    QTemporaryDir current;
    ASSERT_TRUE(current.isValid() && QDir(current.path()).mkdir(QStringLiteral("help")));
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    help->trigger(); // no page here: the shipped one
    const QString shipped = resolve_help_page(current.path(), shipped_help_folders());
    QFile page(current.filePath(QStringLiteral("help/index.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    help->trigger(); // now the current directory's
    QDir::setCurrent(before);

    ASSERT_EQ(opened_.size(), 2U);
    EXPECT_EQ(opened_[0].toLocalFile(), shipped);
    EXPECT_TRUE(QFileInfo(shipped).isFile());
    EXPECT_NE(shipped, QFileInfo(page).absoluteFilePath());
    EXPECT_EQ(opened_[1].toLocalFile(), QFileInfo(page).absoluteFilePath());
}

} // namespace
} // namespace parvolin
