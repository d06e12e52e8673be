#pragma once

#include <QString>
#include <QTranslator>

#include <memory>

namespace parvolin {

// Qt's own Czech texts (dialog buttons, the save and print dialogs, the
// fields' context menus), loaded whatever the user's locale: the program
// speaks Czech only. `folder` is where the translation files are looked for;
// empty means Qt's translations folder (QLibraryInfo::TranslationsPath).
// Returns the installed translator, which uninstalls itself when destroyed,
// or nullptr when no Czech translation is found there.
std::unique_ptr<QTranslator> install_toolkit_translation(const QString &folder = {});

} // namespace parvolin
