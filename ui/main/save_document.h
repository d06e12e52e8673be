#pragma once

#include "solver/problem.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace parvolin {

struct DocumentAttachment;

// The desktop side of the save command. Tests install their own, so that no
// modal window opens; an empty member stands for the real one.
struct SaveDialogs {
    // The save dialog: opens showing `shown_path` (the first time a folder
    // alone, ending in a slash, see save_folder) and returns the full path
    // the user chose, or nothing when cancelled.
    std::function<std::optional<QString>(QWidget *parent, const QString &shown_path)> choose_path;
    // The notice box: text, caption, one OK button, no icon.
    std::function<void(const QString &text, const QString &caption)> notice;
};

// Installs `dialogs` and returns those installed before.
SaveDialogs set_save_dialogs(SaveDialogs dialogs);

// The file the chosen path is saved to: ".rtf" appended, unless the name
// already ends in ".rtf" in any letter case.
QString rtf_target_name(const QString &chosen_path);
// The same with another suffix (".pdf").
QString target_name(const QString &chosen_path, const QString &suffix);

// Writes what `content` returns as the new file `target`, by the rules of the
// save command: a name that is taken gets the notice and nothing else (and
// `content` is not asked), nothing is ever replaced, and failures to create or
// write the file are thrown (FileCreateError, StreamWriteError).
void save_new_file(const QString &target, const std::function<std::string()> &content);

// "Uložit do souboru". The dialog reopens on the path it returned last, for
// as long as the command lives (the run of the program).
class SaveCommand {
public:
    // Asks for a name and writes `document` there as a new RTF file. A name
    // that is taken gets the notice and nothing else; failures to create or
    // write the file are thrown (FileCreateError, StreamWriteError). With
    // `attachment`, the file carries it after the document.
    void run(QWidget *window, const ResultDocument &document, const DocumentAttachment *attachment = nullptr);

private:
    QString last_path_;
};

} // namespace parvolin
