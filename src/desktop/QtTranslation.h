#pragma once

class QCoreApplication;
class QString;

namespace qm {

// Under the Chinese language base, installs Qt's own Chinese translation (qtbase_zh_CN), so
// that the buttons and file dialogs Qt draws speak Chinese too; searched in directory, else
// in Qt's translations directory. False when the base is English or no translation is found.
bool InstallQtTranslation(QCoreApplication& app, int languageBase, const QString& directory);

} // namespace qm
