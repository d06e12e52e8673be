#include "ui/main/save_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace parvolin {

namespace {

QString last_folder;

} // namespace

QString save_folder()
{
    if (!last_folder.isEmpty() && QFileInfo(last_folder).isDir())
        return last_folder;
    // The desktop names a documents folder even where it was never made.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

void remember_save_folder(const QString &chosen_path)
{
    if (!chosen_path.isEmpty())
        last_folder = QFileInfo(chosen_path).absolutePath();
}

void forget_save_folder() { last_folder.clear(); }

} // namespace parvolin
