#pragma once

#include <QUrl>

#include <functional>
#include <string>

namespace parvolin {

// The ways out of the program to the desktop: the help page and the two web
// addresses, handed to the application the desktop associates with them. The
// desktop's answer is not looked at; nothing is reported when nothing opens.

// What a shell open does with the address. Tests install one that records
// the addresses instead of starting an application.
using ShellOpener = std::function<void(const QUrl &url)>;

// Installs `opener` in place of the desktop; an empty function puts the
// desktop back. Returns the opener that was installed before.
ShellOpener set_shell_opener(ShellOpener opener);

// Hands `url` to the installed opener, by default QDesktopServices::openUrl.
void shell_open(const QUrl &url);

// An address as the settings file holds it, unchanged: not completed to a
// web address, not checked. Only what a URL cannot hold is escaped (a blank
// becomes %20).
QUrl address_url(const std::string &address);

// The link labels and the banner of the welcome view.
void open_address(const std::string &address);

// "Témata nápovědy": help/index.html of the current directory, or the help
// page installed with the program where the current directory has none.
void open_help_page();

} // namespace parvolin
