#pragma once

#include "RecentTemplates.h"
#include "TemplateFile.h"

#include <QObject>
#include <QString>

class CLayoutHistory;
class TLayout;
class QWidget;

// The template the layout came from or was last saved to, and whether it
// holds changes the file lacks: any step of the history since the last load,
// save or download. Every action that would drop such changes asks first.
class COpenFile : public QObject, public ITemplateFile
{
    Q_OBJECT

public:
    // Recent templates are kept in the settings file given, or in the user's
    // settings when it is empty.
    COpenFile(TLayout& layout, CLayoutHistory& history, const QString& settingsFile = {},
              QObject* parent = nullptr);

    // The file's path; empty while the layout has none.
    const QString& Path() const { return m_path; }
    bool IsModified() const;
    // "QELMorvane" while there is no file and no change; otherwise
    // "NAME — QELMorvane", NAME being the file's name or "Untitled", with "*"
    // after it while changes are unsaved.
    QString WindowTitle() const;
    CRecentTemplates& Recent() { return m_recent; }

    // Before an action that would drop unsaved changes: asks whether to save
    // them first. False when the action must not go on: Cancel, or a save
    // that failed or was cancelled.
    bool MayDropChanges(QWidget* parent);

    // Open Template... and the programming dialog's Load: asks about unsaved
    // changes, then for a template, and loads it.
    bool Load(QWidget* parent) override;
    // A recent template: asks about unsaved changes, then loads it.
    bool LoadRecent(QWidget* parent, const QString& path);
    // Loads a template over the document without asking; a file that cannot
    // be loaded is reported in one message and leaves the document, and the
    // open file, as they were.
    bool LoadFile(QWidget* parent, const QString& path);
    // A copy kept elsewhere (a panel's backup): asks about unsaved changes,
    // then loads it as a layout of no file, so that Save asks for a name and
    // never writes over the copy, which stays out of the recent templates.
    bool LoadCopy(QWidget* parent, const QString& path);
    // Save Template: to the open file, or under a name asked for.
    bool Save(QWidget* parent);
    // Save Template As... and the programming dialog's Save.
    bool SaveAs(QWidget* parent) override;

    // A download replaced the document: it has no file and no changes.
    void Replaced();
    // The document was brought back after a crash: it belongs to path (or to
    // no file) and holds changes that file lacks.
    void Restored(const QString& path);

signals:
    // The file, or whether its changes are saved, has changed.
    void Changed();

private:
    bool SaveTo(QWidget* parent, const QString& path);
    bool Read(QWidget* parent, const QString& path);
    void SetPath(const QString& path);

    TLayout& m_layout;
    CLayoutHistory& m_history;
    CRecentTemplates m_recent;
    QString m_path;
};
