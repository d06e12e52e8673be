#include "ui/main/toolkit_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace parvolin {

std::unique_ptr<QTranslator> install_toolkit_translation(const QString &folder)
{
    const QString where = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto translator = std::make_unique<QTranslator>();
    // qtbase_cs rather than qt_cs: the latter is only a list of the modules'
    // files, and the program uses no module beyond the base ones.
    if (!translator->load(QStringLiteral("qtbase_cs"), where) || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

} // namespace parvolin
