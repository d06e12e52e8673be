#include "ui/main/save_document.h"

#include "ui/main/application_title.h"
#include "ui/main/new_file.h"
#include "ui/main/output_texts.h"
#include "ui/main/save_folder.h"
#include "ui/main/seam.h"

#include "solver/rtf_writer.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include <string>
#include <utility>

namespace parvolin {

namespace {

Seam<SaveDialogs> save_dialogs_seam;

std::optional<QString> run_save_dialog(QWidget *parent, const QString &shown_path)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // One file type, shown by its label alone.
    dialog.setNameFilter(QStringLiteral("%1 (%2)").arg(QLatin1String(save_filter_label),
                                                       QLatin1String(save_filter_pattern)));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // The name comes back as typed; the command adds the suffix and tests
    // for an existing file itself.
    dialog.setDefaultSuffix(QString());
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setWindowModality(Qt::ApplicationModal);
    // A folder alone (ending in a slash) opens there with no name offered.
    if (shown_path.endsWith(QLatin1Char('/')))
        dialog.setDirectory(shown_path);
    else if (!shown_path.isEmpty())
        dialog.selectFile(shown_path);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return chosen.first();
}

void show_notice(const QString &text, const QString &caption)
{
    // Owned by no window, so it opens centred on the screen.
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void notify_existing(const QString &target)
{
    const QString text = QString::fromUtf8(existing_file_notice_start) + target
                         + QString::fromUtf8(existing_file_notice_end);
    const QString caption = QString::fromUtf8(application_title);
    if (const auto &notice = save_dialogs_seam.installed().notice)
        notice(text, caption);
    else
        show_notice(text, caption);
}

} // namespace

SaveDialogs set_save_dialogs(SaveDialogs dialogs)
{
    return save_dialogs_seam.set(std::move(dialogs));
}

QString rtf_target_name(const QString &chosen_path)
{
    return target_name(chosen_path, QLatin1String(saved_file_suffix));
}

QString target_name(const QString &chosen_path, const QString &suffix)
{
    return chosen_path.endsWith(suffix, Qt::CaseInsensitive) ? chosen_path : chosen_path + suffix;
}

void save_new_file(const QString &target, const std::function<std::string()> &content)
{
    const std::string name = QFile::encodeName(target).toStdString();
    // The test first, so that a taken name gets the notice before anything
    // is built; the exclusive creation then covers a file that appears in
    // between.
    if (file_exists(name) || write_new_file(name, content()) == NewFile::Exists)
        notify_existing(target);
}

void SaveCommand::run(QWidget *window, const ResultDocument &document, const DocumentAttachment *attachment)
{
    const auto &choose = save_dialogs_seam.installed().choose_path;
    // The first time no name, in the folder the program's saves use.
    const QString shown = last_path_.isEmpty() ? save_folder() + QLatin1Char('/') : last_path_;
    const std::optional<QString> chosen = choose ? choose(window, shown) : run_save_dialog(window, shown);
    if (!chosen)
        return;
    last_path_ = *chosen;
    remember_save_folder(*chosen);

    save_new_file(rtf_target_name(*chosen), [&] {
        return attachment ? rtf_document(document, *attachment) : rtf_document(document);
    });
}

} // namespace parvolin
