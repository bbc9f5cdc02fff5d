#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace
{

// Marks our translators among the application's children.
const char kTranslatorName[] = "qelTranslator";

bool Install(QCoreApplication& app, const QLocale& locale, const QString& name, const QString& folder)
{
    auto* translator = new QTranslator(&app);
    translator->setObjectName(QString::fromLatin1(kTranslatorName));
    if (!translator->load(locale, name, QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator))
    {
        delete translator;
        return false;
    }
    return true;
}

} // namespace

QString TranslationsFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + u'/' +
                           QStringLiteral(QEL_TRANSLATIONS_FROM_BIN));
}

bool InstallTranslations(QCoreApplication& app, const QString& folder, const QLocale& locale)
{
    if (!Install(app, locale, QStringLiteral("qelmorvane"), folder))
        return false;
    Install(app, locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return true;
}

void RemoveTranslations(QCoreApplication& app)
{
    // A translator removes itself from the application as it goes.
    for (QTranslator* translator :
         app.findChildren<QTranslator*>(QString::fromLatin1(kTranslatorName), Qt::FindDirectChildrenOnly))
        delete translator;
}
