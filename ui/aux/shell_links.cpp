#include "ui/aux/shell_links.h"

#include "ui/aux/help_pages.h"

#include <QDesktopServices>
#include <QDir>
#include <QString>

#include <utility>

namespace parvolin {

namespace {

ShellOpener &installed_opener()
{
    static ShellOpener opener;
    return opener;
}

} // namespace

ShellOpener set_shell_opener(ShellOpener opener)
{
    return std::exchange(installed_opener(), std::move(opener));
}

void shell_open(const QUrl &url)
{
    if (const ShellOpener &opener = installed_opener())
        opener(url);
    else
        QDesktopServices::openUrl(url);
}

QUrl address_url(const std::string &address)
{
    return QUrl(QString::fromStdString(address), QUrl::TolerantMode);
}

void open_address(const std::string &address)
{
    shell_open(address_url(address));
}

void open_help_page()
{
    // The current directory is read at the moment of the command.
    shell_open(QUrl::fromLocalFile(resolve_help_page(QDir::currentPath(), shipped_help_folders())));
}

} // namespace parvolin
