#include "RecentTemplates.h"

#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace
{

const QString kKey = QStringLiteral("recentTemplates");

std::unique_ptr<QSettings> Open(const QString& file)
{
    if (!file.isEmpty())
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("qelmorvane"), QStringLiteral("qelmorvane"));
}

} // namespace

CRecentTemplates::CRecentTemplates(QString settingsFile) : m_settingsFile(std::move(settingsFile)) {}

QStringList CRecentTemplates::Entries() const
{
    QStringList entries = Open(m_settingsFile)->value(kKey).toStringList();
    entries.removeAll(QString());
    return entries.mid(0, kMaxEntries);
}

void CRecentTemplates::Add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList entries = Entries();
    entries.removeAll(absolute);
    entries.prepend(absolute);
    Store(entries.mid(0, kMaxEntries));
}

void CRecentTemplates::Remove(const QString& path)
{
    QStringList entries = Entries();
    entries.removeAll(QFileInfo(path).absoluteFilePath());
    Store(entries);
}

void CRecentTemplates::Store(const QStringList& entries)
{
    const std::unique_ptr<QSettings> settings = Open(m_settingsFile);
    settings->setValue(kKey, entries);
    settings->sync();
}
