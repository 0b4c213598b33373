#include "desktop/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

#include "res/StringTable.h"

namespace qm {

bool InstallQtTranslation(QCoreApplication& app, int languageBase, const QString& directory) {
    if (languageBase != kLanguageChinese)
        return false;
    // Lives as long as the application, which keeps a pointer to it.
    auto* translator = new QTranslator(&app);
    const QString name = QStringLiteral("qtbase_zh_CN");
    if ((directory.isEmpty() || !translator->load(name, directory)) &&
        !translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace qm
