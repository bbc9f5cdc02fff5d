#include "DialogDriver.h"
#include "Layout.h"
#include "MorvaneDlg.h"
#include "Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace
{

// A German catalogue of three texts: one the main window sets itself, one
// of its template, and one that only Qt's own catalogue could have. Every
// other text has no translation.
const char kGerman[] = R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CMorvaneDlg</name>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>Edit Layout</source>
        <translation>Layout bearbeiten</translation>
    </message>
</context>
</TS>
)";

// The catalogue compiled by lrelease into a folder of the test's own, as the
// build compiles translations/qelmorvane_de.ts; the translators installed
// from it are removed again, so that every other test sees English.
class Translations : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString ts = m_dir.filePath(QStringLiteral("qelmorvane_de.ts"));
        QFile file(ts);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kGerman);
        file.close();
        QProcess lrelease;
        lrelease.start(QStringLiteral(QEL_LRELEASE), {QStringLiteral("-silent"), ts, QStringLiteral("-qm"),
                                                      Folder() + QStringLiteral("/qelmorvane_de.qm")});
        ASSERT_TRUE(lrelease.waitForFinished(30000)) << lrelease.errorString().toStdString();
        ASSERT_EQ(lrelease.exitCode(), 0) << lrelease.readAllStandardError().toStdString();
    }

    void TearDown() override { RemoveTranslations(*qApp); }

    QString Folder() const { return m_dir.path(); }

    // The main window as the program builds it, on ports of its own.
    std::unique_ptr<CMorvaneDlg> Window()
    {
        TMainOptions options;
        options.ports = std::vector<std::string>{};
        options.settingsFile = m_dir.filePath(QStringLiteral("settings.ini"));
        return std::make_unique<CMorvaneDlg>(m_layout, options);
    }

    static QString Text(const QWidget* dialog, int id)
    {
        const QAbstractButton* button = Button(dialog, id);
        return button != nullptr ? button->text() : QString();
    }

    QTemporaryDir m_dir;
    TLayout m_layout;
};

TEST_F(Translations, TheMainWindowShowsTheLocalesTextsAndEnglishWhereNoneIsTranslated)
{
    ASSERT_TRUE(InstallTranslations(*qApp, Folder(), QLocale(QStringLiteral("de_DE"))));
    {
        const std::unique_ptr<CMorvaneDlg> dlg = Window();
        using enum CMorvaneDlg::EControl;
        EXPECT_EQ(Text(dlg.get(), kConnect), QStringLiteral("Verbinden"));
        EXPECT_EQ(Text(dlg.get(), kEditLayout), QStringLiteral("Layout bearbeiten"));
        EXPECT_EQ(Text(dlg.get(), kUploadLayout), QStringLiteral("Upload Layout"));
        EXPECT_EQ(Text(dlg.get(), kExit), QStringLiteral("Exit"));
    }

    // Removed, the translations leave the next window English.
    RemoveTranslations(*qApp);
    const std::unique_ptr<CMorvaneDlg> dlg = Window();
    EXPECT_EQ(Text(dlg.get(), CMorvaneDlg::kConnect), QStringLiteral("Connect"));
    EXPECT_EQ(Text(dlg.get(), CMorvaneDlg::kEditLayout), QStringLiteral("Edit Layout"));
}

TEST_F(Translations, ALocaleFindsItsLanguagesCatalogueAndNoOtherInstallsNothing)
{
    const struct
    {
        const char* locale;
        bool installed;
        const char* connect;
    } cases[] = {
        {"de_DE", true, "Verbinden"},
        {"de_AT", true, "Verbinden"}, // the language's catalogue serves every country
        {"fr_FR", false, "Connect"},
        {"en_GB", false, "Connect"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(InstallTranslations(*qApp, Folder(), QLocale(QString::fromLatin1(c.locale))), c.installed);
        EXPECT_EQ(QCoreApplication::translate("CMorvaneDlg", "Connect"), QString::fromLatin1(c.connect));
        RemoveTranslations(*qApp);
    }
    // A folder without catalogues installs nothing either.
    EXPECT_FALSE(
        InstallTranslations(*qApp, Folder() + QStringLiteral("/none"), QLocale(QStringLiteral("de_DE"))));
}

} // namespace
