#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace parvolin {

// Where the pages shipped with the program are: the help page and the two
// theory pages that stand in for a web site of the program's own.

// The help page as the help command names it, relative to the current
// directory.
inline constexpr char help_page_relative_path[] = "help/index.html";

// The theory pages, relative to a help folder.
inline constexpr char equations_page[] = "teorie/rovnice.html";
inline constexpr char inequalities_page[] = "teorie/nerovnice.html";

// The folders that may hold the shipped help pages, in the order they are
// tried: the installed share folder (<executable folder>/../share/parvolin/help),
// a help folder beside the executable, and `source_help_folder` (the source
// tree's, for a program run from its build tree) unless it is empty.
QStringList shipped_help_folders(const QString &executable_folder, const QString &source_help_folder);

// The same for this process: its executable's folder and the source help
// folder it was built from.
QStringList shipped_help_folders();

// The file the help command opens: help/index.html of `current_folder` when it
// exists there; otherwise the first index.html of `shipped_folders` that
// exists; when there is none either, the one of `current_folder` all the same,
// so that the desktop has the name the command asked for.
QString resolve_help_page(const QString &current_folder, const QStringList &shipped_folders);

// `relative` in the first of `shipped_folders` that holds it; the first
// folder's (where an installation puts it) when none does. `shipped_folders`
// must not be empty.
QString resolve_shipped_page(const QString &relative, const QStringList &shipped_folders);

// The file:// addresses of the two theory pages of this process's
// installation: the default targets of the two links of the welcome view.
std::string equations_page_address();
std::string inequalities_page_address();

} // namespace parvolin
