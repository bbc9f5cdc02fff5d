#pragma once

#include <QString>
#include <QStringList>

// The templates opened or saved last, newest first, kept in the desktop
// settings so that the next run offers them too.
class CRecentTemplates
{
public:
    static constexpr int kMaxEntries = 8;

    // Kept in the settings file given, or in the user's settings when empty.
    explicit CRecentTemplates(QString settingsFile = {});

    QStringList Entries() const;
    // Puts the file first, once.
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Store(const QStringList& entries);

    QString m_settingsFile;
};
