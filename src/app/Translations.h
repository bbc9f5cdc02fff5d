#pragma once

#include <QString>

class QCoreApplication;
class QLocale;

// Where the program's translations are installed, found from the program's
// own folder through the install layout (bin/../share/qelmorvane/translations),
// so that an install into any prefix and the Debian package both find them.
QString TranslationsFolder();

// Installs the program's translation for a locale (qelmorvane_de_DE.qm,
// qelmorvane_de.qm, ... from folder, the first that exists) and, with it, Qt's
// own (qtbase_de.qm from Qt's translations) so that standard buttons and
// dialogs follow. Without a translation of the program's texts nothing is
// installed: a window half in one language and half in another helps no one.
// The translators are children of app. Returns whether the program's
// translation was installed.
bool InstallTranslations(QCoreApplication& app, const QString& folder, const QLocale& locale);

// Removes what InstallTranslations installed: texts are English again.
void RemoveTranslations(QCoreApplication& app);
