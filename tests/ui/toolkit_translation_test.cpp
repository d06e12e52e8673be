// Qt's own Czech texts: the buttons of message boxes and dialogs and the
// coefficient fields' context menu speak Czech whatever the locale.

#include "ui/main/toolkit_translation.h"

#include "tests/test_rows.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace parvolin {
namespace {

// The text of a standard button of a dialog's button box.
QString button_text(QDialogButtonBox::StandardButton which)
{
    QDialogButtonBox box(which);
    return box.button(which)->text();
}

// An entry of a line edit's context menu by its place (separators count),
// accelerator and shortcut hint left out.
QString menu_entry(int index)
{
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    const QList<QAction *> actions = menu->actions();
    if (index >= actions.size())
        return QStringLiteral("<no entry %1>").arg(index);
    return actions[index]->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
}

struct ToolkitTextCase {
    const char *name;
    std::function<QString()> text;
    const char *english;
    const char *czech;
};

class ToolkitTexts : public ::testing::TestWithParam<ToolkitTextCase> {};

TEST_P(ToolkitTexts, AreCzechOnceTheTranslationIsInstalled)
{
    const ToolkitTextCase &row = GetParam();
    EXPECT_EQ(row.text().toStdString(), row.english);
    {
        const std::unique_ptr<QTranslator> translator = install_toolkit_translation();
        ASSERT_NE(translator, nullptr) << "qtbase_cs.qm missing";
        EXPECT_EQ(row.text().toStdString(), row.czech);
    }
    // Gone with its translator: the other tests see the toolkit's English.
    EXPECT_EQ(row.text().toStdString(), row.english);
}

INSTANTIATE_TEST_SUITE_P(
    Toolkit, ToolkitTexts,
    ::testing::Values(
        ToolkitTextCase{"message_box_cancel", [] { return button_text(QDialogButtonBox::Cancel); }, "Cancel",
                        "Zrušit"},
        ToolkitTextCase{"save_button", [] { return button_text(QDialogButtonBox::Save); }, "Save", "Uložit"},
        ToolkitTextCase{"field_paste", [] { return menu_entry(5); }, "Paste", "Vložit"},
        ToolkitTextCase{"field_select_all", [] { return menu_entry(8); }, "Select All", "Vybrat vše"}),
    row_name);

TEST(ToolkitTranslation, MissingFileInstallsNothing)
{
    const QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    EXPECT_EQ(install_toolkit_translation(empty.path()), nullptr);
    EXPECT_EQ(button_text(QDialogButtonBox::Cancel), QStringLiteral("Cancel"));
}

} // namespace
} // namespace parvolin
