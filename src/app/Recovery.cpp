#include "Recovery.h"

#include "AtomicFile.h"
#include "FileMessages.h"
#include "LayoutFile.h"
#include "LayoutHistory.h"
#include "OpenFile.h"
#include "UiServices.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

const QString kCopyExt = QStringLiteral(".qel");
const QString kSourceExt = QStringLiteral(".source");
const QString kLockExt = QStringLiteral(".lock");
const QString kDamagedExt = QStringLiteral(".damaged");

std::string Native(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// Opens (or makes, 0600) a lock file and takes its lock; -1 when another
// program holds it or the file cannot be had.
int TakeLock(const QString& path, bool create)
{
    const int fd = ::open(Native(path).c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
    if (fd < 0)
        return -1;
    if (create)
        ::fchmod(fd, 0600);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
    {
        ::close(fd);
        return -1;
    }
    return fd;
}

void RemoveFiles(const QString& base)
{
    for (const QString& ext : {kCopyExt, kSourceExt})
        QFile::remove(base + ext);
}

// A copy another program left: its files' common name and the lock taken on
// it while it is offered.
struct TLeftCopy
{
    QString base;
    int lock = -1;
    QDateTime written;
};

} // namespace

QString CRecovery::DefaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // The XDG rule: a relative path is to be ignored.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/qelmorvane/recovery");
}

CRecovery::CRecovery(TLayout& layout, CLayoutHistory& history, COpenFile& file, const QString& folder)
    : m_layout(layout), m_history(history), m_file(file), m_folder(folder)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &CRecovery::WriteNow);
    connect(&m_history, &CLayoutHistory::Changed, this, &CRecovery::Schedule);
    connect(&m_file, &COpenFile::Changed, this, &CRecovery::Schedule);

    if (!QDir().mkpath(m_folder))
        return;
    // Whatever the umask made of them: the user's alone.
    ::chmod(Native(m_folder).c_str(), 0700);
    ::chmod(Native(QFileInfo(m_folder).path()).c_str(), 0700);
    // The time as well as the process id: a process id comes back, and a
    // copy left under it must not be taken for this program's.
    m_base = QDir(m_folder).filePath(
        QStringLiteral("%1-%2").arg(::getpid()).arg(QDateTime::currentMSecsSinceEpoch()));
    m_lock = TakeLock(m_base + kLockExt, true);
}

CRecovery::~CRecovery()
{
    if (m_lock < 0)
        return;
    RemoveCopy();
    QFile::remove(m_base + kLockExt);
    ::close(m_lock);
}

QString CRecovery::CopyPath() const
{
    return m_lock >= 0 ? m_base + kCopyExt : QString();
}

QString CRecovery::SourcePath() const
{
    return m_lock >= 0 ? m_base + kSourceExt : QString();
}

void CRecovery::Schedule()
{
    // Not restarted: a steady run of changes must not put the copy off.
    if (m_lock >= 0 && !m_timer.isActive())
        m_timer.start();
}

void CRecovery::RemoveCopy()
{
    RemoveFiles(m_base);
}

void CRecovery::WriteNow()
{
    m_timer.stop();
    if (m_lock < 0)
        return;
    if (!m_file.IsModified())
    {
        RemoveCopy();
        return;
    }
    const QByteArray source = m_file.Path().toUtf8();
    const std::string sourcePath = Native(SourcePath());
    const std::string copyPath = Native(CopyPath());
    // The writer gives a new file the umask's mode for a moment; the folder
    // keeps everyone else out meanwhile.
    if (WriteFileAtomically(sourcePath, {{source.constData(), static_cast<size_t>(source.size())}}))
        ::chmod(sourcePath.c_str(), 0600);
    if (SaveTemplateFile(m_layout, copyPath))
        ::chmod(copyPath.c_str(), 0600);
}

bool CRecovery::OfferLeftCopies(QWidget* parent)
{
    if (m_lock < 0)
        return false;
    const QDir folder(m_folder);
    std::vector<TLeftCopy> left;
    for (const QFileInfo& lock : folder.entryInfoList({QStringLiteral("*") + kLockExt}, QDir::Files))
    {
        const QString base = folder.filePath(lock.completeBaseName());
        if (base == m_base)
            continue;
        const int fd = TakeLock(lock.filePath(), false);
        if (fd < 0)
            continue; // its program still runs
        const QFileInfo copy(base + kCopyExt);
        if (!copy.exists())
        {
            // Gone with nothing unsaved.
            QFile::remove(base + kSourceExt);
            QFile::remove(lock.filePath());
            ::close(fd);
            continue;
        }
        left.push_back({base, fd, copy.lastModified()});
    }
    std::sort(left.begin(), left.end(),
              [](const TLeftCopy& a, const TLeftCopy& b) { return a.written > b.written; });

    bool restored = false;
    for (const TLeftCopy& copy : left)
    {
        // One layout comes back; the others wait for the next start.
        if (!restored)
            restored = Offer(parent, copy.base);
        ::close(copy.lock);
    }
    if (restored)
        WriteNow();
    return restored;
}

bool CRecovery::Offer(QWidget* parent, const QString& base)
{
    const EMsgResult answer = UiServices().MessageBox(
        parent, tr("QELMorvane did not close normally. Restore the layout it was editing?"),
        QStringLiteral("QELMorvane"), EMsgButtons::RestoreDiscard, EMsgIcon::Question);
    bool restored = false;
    if (answer == EMsgResult::Restore)
    {
        const QString path = base + kCopyExt;
        const TFileResult result = LoadTemplateFile(m_layout, Native(path));
        if (result)
        {
            QFile source(base + kSourceExt);
            m_file.Restored(source.open(QIODevice::ReadOnly) ? QString::fromUtf8(source.readAll())
                                                             : QString());
            restored = true;
        }
        else
        {
            // Kept aside: not offered again, and not lost.
            QFile::rename(path, base + kDamagedExt);
            ShowFileError(parent, result, path, EFileKind::Template);
        }
    }
    RemoveFiles(base);
    QFile::remove(base + kLockExt);
    return restored;
}
