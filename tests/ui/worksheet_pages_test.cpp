// The worksheet's pages as Qt lays them out for the PDF and the printer: the
// key set as the Postup view sets the working, its tables never cut by a
// page's end, its title at the top of its page, its working indented by
// margins; and the PDF's own text, read back with pdftotext.

#include "ui/main/worksheet_pages.h"

#include "solver/worksheet.h"
#include "tests/test_rows.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>

namespace parvolin {
namespace {

struct PagesRow {
    const char *name;
    int count;
    std::vector<Relation> relations;
    Difficulty difficulty;
    bool steps;
    std::uint64_t seed;
};

Worksheet sheet_of(const PagesRow &row)
{
    WorksheetOptions options;
    options.count = row.count;
    options.generator.relations = row.relations;
    options.generator.difficulty = row.difficulty;
    options.key = true;
    options.steps = row.steps;
    options.seed = row.seed;
    options.date = czech_date(9, 12, 2026);
    return build_worksheet(options);
}

class SheetPages : public ::testing::TestWithParam<PagesRow> {};

TEST_P(SheetPages, KeepTablesWholeTheTitleAtTheTopAndTheWorkingIndented)
{
    const Worksheet sheet = sheet_of(GetParam());
    QBuffer buffer;
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(300);
    QTextDocument document;
    const int pages = set_sheet_pages(document, QString::fromStdString(worksheet_html(sheet)), writer);
    const qreal page = document.pageSize().height();
    const qreal margin = 20 / 25.4 * writer.logicalDpiY();
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    ASSERT_GT(pages, 1);

    int tables = 0;
    bool in_key = false;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            const QRectF box = layout->frameBoundingRect(frame);
            ++tables;
            if (box.height() < page - 2 * margin) {
                EXPECT_EQ(std::floor(box.top() / page), std::floor((box.bottom() - 1) / page))
                    << "a table cut at the end of page " << std::floor(box.top() / page) + 1;
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        const QString text = block.text();
        if (text.startsWith(QString::fromUtf8("Výsledky k pracovnímu listu"))) {
            in_key = true;
            const qreal top = layout->blockBoundingRect(block).top();
            EXPECT_LT(top - std::floor(top / page) * page, margin + 0.5 / 2.54 * writer.logicalDpiY())
                << "room above the key's title";
            continue;
        }
        // Every line of the working, also one that follows a table, is
        // indented by its margin, so that its wrapped lines keep the indent.
        if (in_key && GetParam().steps && !text.isEmpty() &&
            !text.contains(QRegularExpression(QStringLiteral("^[0-9]+\\)")))) {
            EXPECT_GT(block.blockFormat().leftMargin(), 0) << text.toStdString();
        }
    }
    if (GetParam().steps) {
        EXPECT_GT(tables, GetParam().count);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Worksheets, SheetPages,
    ::testing::Values(PagesRow{"inequalities_with_working", 60, {Relation::Less, Relation::GreaterEqual},
                               Difficulty::Small, true, 31},
                      PagesRow{"large_numbers_with_working", 40, {}, Difficulty::Large, true, 5},
                      PagesRow{"key_alone", 60, {}, Difficulty::Small, false, 77}),
    row_name);

// What a reader of the PDF finds in the key: fractions stacked, never p/q;
// no root with its radicand in parentheses; the school signs.
TEST(SheetPdf, KeyHoldsNoLinearFractions)
{
    if (::access("/usr/bin/pdftotext", X_OK) != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const Worksheet sheet =
        sheet_of(PagesRow{"", 30, {Relation::Less, Relation::Equal, Relation::GreaterEqual}, Difficulty::Small, true, 4242});
    const QByteArray pdf = html_pdf(QString::fromStdString(worksheet_html(sheet)), QStringLiteral("list"));
    ASSERT_FALSE(pdf.isEmpty());
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("list.pdf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {file.fileName(), QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    const qsizetype key = text.indexOf(QString::fromUtf8("Výsledky k pracovnímu listu"));
    ASSERT_GE(key, 0);
    const QString key_text = text.mid(key);
    EXPECT_FALSE(key_text.contains(QRegularExpression(QStringLiteral("[0-9)]\\s*/\\s*[0-9(]"))))
        << key_text.toStdString();
    EXPECT_FALSE(key_text.contains(QString::fromUtf8("√("))) << key_text.toStdString();
    EXPECT_FALSE(key_text.contains(QStringLiteral("sqrt")));
    EXPECT_TRUE(key_text.contains(QString::fromUtf8("∞")));
    EXPECT_TRUE(key_text.contains(QString::fromUtf8("√")));
}

} // namespace
} // namespace parvolin
