// The pages shipped with the program: every worked example of the help page
// is what the program says for it, and the pages hang together offline.

#include "ui/aux/help_pages.h"

#include "solver/report.h"

#include "tests/ui/test_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <string>

namespace parvolin {
namespace {

QString help_folder()
{
    return QFileInfo(resolve_shipped_page(QStringLiteral("index.html"), shipped_help_folders())).absolutePath();
}

QString read_text(const QString &path)
{
    return QString::fromUtf8(file_contents(path));
}

QString unescape(QString text)
{
    return text.replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

int relation_index(const QString &relation)
{
    const QStringList relations = {QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"),
                                   QStringLiteral("<="), QStringLiteral(">=")};
    return static_cast<int>(relations.indexOf(relation));
}

// Each example is a <pre class="vystup"> whose data attributes hold the input.
TEST(HelpPage, ExamplesAreWhatTheProgramSays)
{
    const QString page = read_text(help_folder() + QStringLiteral("/index.html"));
    ASSERT_FALSE(page.isEmpty());
    const QRegularExpression example(
        QStringLiteral("<pre class=\"vystup\" data-a=\"([^\"]*)\" data-b=\"([^\"]*)\" data-c=\"([^\"]*)\" "
                       "data-relace=\"([^\"]*)\" data-mista=\"([2-6])\" data-oddelovac=\"([,.])\">(.*?)</pre>"),
        QRegularExpression::DotMatchesEverythingOption);
    int count = 0;
    for (const QRegularExpressionMatch &match : example.globalMatch(page)) {
        ++count;
        SCOPED_TRACE(match.captured(0).left(120).toStdString());
        const std::string a = unescape(match.captured(1)).toStdString();
        const std::string b = unescape(match.captured(2)).toStdString();
        const std::string c = unescape(match.captured(3)).toStdString();
        const int relation = relation_index(unescape(match.captured(4)));
        ASSERT_GE(relation, 0);
        const ProblemInput input{a, b, c, relation, match.captured(5).toInt() - 2};
        const Report report = build_report(input, match.captured(6).front().toLatin1());

        QStringList expected;
        for (const std::string &line : report.lines)
            expected.append(QString::fromStdString(line));
        EXPECT_EQ(unescape(match.captured(7)).split(QLatin1Char('\n')), expected);
    }
    // Every kind of result has its example, and none was left unparsed.
    EXPECT_GE(count, 20);
    EXPECT_EQ(count, page.count(QLatin1String("class=\"vystup\"")));
}

TEST(HelpPage, PagesLinkOnlyToEachOtherAndRunNoScripts)
{
    const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#]*)(?:#([^\"]*))?\""));
    QDirIterator pages(help_folder(), {QStringLiteral("*.html")}, QDir::Files, QDirIterator::Subdirectories);
    int checked = 0;
    while (pages.hasNext()) {
        const QString path = pages.next();
        SCOPED_TRACE(path.toStdString());
        const QString text = read_text(path);
        EXPECT_FALSE(text.contains(QLatin1String("<script"), Qt::CaseInsensitive));
        for (const QRegularExpressionMatch &match : link.globalMatch(text)) {
            const QString target = match.captured(1);
            if (target.contains(QLatin1Char(':')))
                continue; // a web address written out for the reader
            const QString file = target.isEmpty() ? path : QFileInfo(path).dir().filePath(target);
            EXPECT_TRUE(QFileInfo(file).isFile()) << target.toStdString();
            const QString anchor = match.captured(2);
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(read_text(file).contains(QStringLiteral("id=\"%1\"").arg(anchor))) << anchor.toStdString();
            }
        }
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

} // namespace
} // namespace parvolin
