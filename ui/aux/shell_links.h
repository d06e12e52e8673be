#pragma once

#include "solver/failures.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>
#include <string>

namespace parvolin {

// The ways out of the program to the desktop: the help page and the two web
// addresses, handed to the application the desktop associates with them.

// A link whose text is neither an address nor an existing file: it is not
// handed on, since a launcher or a browser would take a text such as
// "--gpu-launcher=..." for one of its options.
class AddressRefused : public Failure {
public:
    explicit AddressRefused(const std::string &address);
};

// No application could be started for the address or the help page (no
// launcher installed, none associated with it, or one that gave up).
class NothingOpened : public Failure {
public:
    NothingOpened(const QUrl &url, const std::string &reason);
};

// What a shell open does with the address. Tests install one that records
// the addresses instead of starting an application.
using ShellOpener = std::function<void(const QUrl &url)>;

// Installs `opener` in place of the desktop; an empty function puts the
// desktop back. Returns the opener that was installed before.
ShellOpener set_shell_opener(ShellOpener opener);

// Hands `url` to the installed opener. By default that is the desktop's
// launcher, xdg-open, started without waiting for it; when it cannot start,
// or gives up within a few seconds, a NothingOpened message is shown then.
// Without xdg-open, Qt's own choice of browser (QDesktopServices::openUrl)
// is tried, and a NothingOpened is thrown at once when it finds none.
void shell_open(const QUrl &url);

// An address as the settings file holds it, unchanged: not completed to a
// web address, not checked. Only what a URL cannot hold is escaped (a blank
// becomes %20).
QUrl address_url(const std::string &address);

// What a link may hand to the desktop: an http, https or mailto address, or
// a file address of an absolute path, as address_url makes it; or the path of
// an existing file or folder, absolute or relative to `current_folder`, as
// its file address. Nothing for any other text: none of what is handed on
// can begin with "-".
std::optional<QUrl> openable_url(const std::string &address, const QString &current_folder);

// The link labels and the banner of the welcome view. Throws AddressRefused
// when openable_url gives nothing (against the current directory).
void open_address(const std::string &address);

// "Témata nápovědy": help/index.html of the current directory, or the help
// page installed with the program where the current directory has none.
void open_help_page();

} // namespace parvolin
