#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class CLayoutHistory;
class COpenFile;
class TLayout;
class QWidget;

// A copy of the layout while it holds unsaved changes, so that a crash or a
// killed session loses at most the last second of work. Each running program
// keeps its own copy in the recovery folder: a template, a side record naming
// the file the layout belongs to, and a lock file it holds while it runs, so
// that a copy whose lock can be taken was left by a program that is gone.
// Layouts hold the panel's PINs: the folder is the user's alone (0700) and so
// is every file in it (0600).
class CRecovery : public QObject
{
    Q_OBJECT

public:
    // Written at most this long after a change.
    static constexpr int kDelayMs = 1000;

    // $XDG_STATE_HOME/qelmorvane/recovery, ~/.local/state/... without it.
    static QString DefaultFolder();

    CRecovery(TLayout& layout, CLayoutHistory& history, COpenFile& file,
              const QString& folder = DefaultFolder());
    // A clean end: the copy goes.
    ~CRecovery() override;
    CRecovery(const CRecovery&) = delete;
    CRecovery& operator=(const CRecovery&) = delete;

    // Offers, newest first, the copies left by programs that are gone; the
    // one restored (at most one) becomes this layout's unsaved changes of the
    // file it belongs to. A copy that cannot be read is reported, kept aside
    // and leaves the document as it was. True when one was restored.
    bool OfferLeftCopies(QWidget* parent);

    // Writes the copy now, or removes it when there is nothing unsaved; the
    // program does this within kDelayMs of every change by itself.
    void WriteNow();

    // This program's copy (a template); empty when the folder cannot be used.
    QString CopyPath() const;
    QString SourcePath() const;

private:
    void Schedule();
    void RemoveCopy();
    // Asks about one left copy and restores or drops it; true when restored.
    bool Offer(QWidget* parent, const QString& base);

    TLayout& m_layout;
    CLayoutHistory& m_history;
    COpenFile& m_file;
    QString m_folder;
    // This program's files are named m_base with their own extensions.
    QString m_base;
    int m_lock = -1;
    QTimer m_timer;
};
