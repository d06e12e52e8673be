#include "ui/aux/help_pages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <filesystem>
#include <system_error>

namespace parvolin {

namespace {

QString executable_folder()
{
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationDirPath();
    // Before the application object exists (it is not needed for reading the
    // settings file) the kernel still knows the executable.
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? QDir::currentPath() : QString::fromStdString(executable.parent_path().string());
}

QString source_help_folder()
{
#ifdef PARVOLIN_SOURCE_HELP_DIR
    return QStringLiteral(PARVOLIN_SOURCE_HELP_DIR);
#else
    return {};
#endif
}

bool is_file(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

std::string page_address(const char *relative)
{
    const QString page = resolve_shipped_page(QString::fromLatin1(relative), shipped_help_folders());
    return QUrl::fromLocalFile(page).toString().toStdString();
}

} // namespace

QStringList shipped_help_folders(const QString &executable_folder, const QString &source_help_folder)
{
    const QDir executable(executable_folder);
    QStringList folders{
        QDir::cleanPath(executable.absoluteFilePath(QStringLiteral("../share/parvolin/help"))),
        QDir::cleanPath(executable.absoluteFilePath(QStringLiteral("help"))),
    };
    if (!source_help_folder.isEmpty())
        folders.append(QDir::cleanPath(source_help_folder));
    return folders;
}

QStringList shipped_help_folders()
{
    return shipped_help_folders(executable_folder(), source_help_folder());
}

QString resolve_help_page(const QString &current_folder, const QStringList &shipped_folders)
{
    const QString own = QDir(current_folder).absoluteFilePath(QString::fromLatin1(help_page_relative_path));
    if (is_file(own))
        return own;
    for (const QString &folder : shipped_folders) {
        const QString page = QDir(folder).absoluteFilePath(QStringLiteral("index.html"));
        if (is_file(page))
            return page;
    }
    return own;
}

QString resolve_shipped_page(const QString &relative, const QStringList &shipped_folders)
{
    for (const QString &folder : shipped_folders) {
        const QString page = QDir(folder).absoluteFilePath(relative);
        if (is_file(page))
            return page;
    }
    return QDir(shipped_folders.front()).absoluteFilePath(relative);
}

std::string equations_page_address()
{
    return page_address(equations_page);
}

std::string inequalities_page_address()
{
    return page_address(inequalities_page);
}

} // namespace parvolin
