#include "OpenFile.h"

#include "FileMessages.h"
#include "LayoutFile.h"
#include "LayoutHistory.h"
#include "QELProg.h"
#include "UiServices.h"

#include <QFileInfo>

COpenFile::COpenFile(TLayout& layout, CLayoutHistory& history, const QString& settingsFile, QObject* parent)
    : QObject(parent), m_layout(layout), m_history(history), m_recent(settingsFile)
{
    connect(&history, &CLayoutHistory::CleanChanged, this, &COpenFile::Changed);
}

bool COpenFile::IsModified() const
{
    return !m_history.IsClean();
}

QString COpenFile::WindowTitle() const
{
    QString program = QStringLiteral("QELMorvane");
    if (m_path.isEmpty() && !IsModified())
        return program;
    const QString name = m_path.isEmpty() ? tr("Untitled") : QFileInfo(m_path).fileName();
    return name + (IsModified() ? QStringLiteral("*") : QString()) + QStringLiteral(" \u2014 ") + program;
}

bool COpenFile::MayDropChanges(QWidget* parent)
{
    if (!IsModified())
        return true;
    switch (UiServices().MessageBox(parent, tr("The layout has changes that are not saved. Save them first?"),
                                    QStringLiteral("QELMorvane"), EMsgButtons::SaveDiscardCancel,
                                    EMsgIcon::Warning))
    {
    case EMsgResult::Save:
        return Save(parent);
    case EMsgResult::Discard:
        return true;
    default:
        return false;
    }
}

bool COpenFile::Load(QWidget* parent)
{
    if (!MayDropChanges(parent))
        return false;
    const std::optional<QString> path = UiServices().GetOpenFileName(parent, CQELProg::TemplateFileDialog());
    return path && LoadFile(parent, *path);
}

bool COpenFile::LoadRecent(QWidget* parent, const QString& path)
{
    return MayDropChanges(parent) && LoadFile(parent, path);
}

bool COpenFile::LoadFile(QWidget* parent, const QString& path)
{
    if (!Read(parent, path))
        return false;
    m_recent.Add(path);
    SetPath(path);
    return true;
}

bool COpenFile::LoadCopy(QWidget* parent, const QString& path)
{
    if (!MayDropChanges(parent) || !Read(parent, path))
        return false;
    SetPath({});
    return true;
}

bool COpenFile::Read(QWidget* parent, const QString& path)
{
    const TFileResult result = LoadTemplateFile(m_layout, path.toStdString());
    if (!result)
    {
        ShowFileError(parent, result, path, EFileKind::Template);
        return false;
    }
    // Another document: nothing before it can be undone, and it is as saved.
    m_history.Clear();
    return true;
}

bool COpenFile::Save(QWidget* parent)
{
    return m_path.isEmpty() ? SaveAs(parent) : SaveTo(parent, m_path);
}

bool COpenFile::SaveAs(QWidget* parent)
{
    TFileDialogSpec spec = CQELProg::TemplateFileDialog();
    spec.initialName = m_path;
    const std::optional<QString> path = UiServices().GetSaveFileName(parent, spec);
    return path && SaveTo(parent, *path);
}

bool COpenFile::SaveTo(QWidget* parent, const QString& path)
{
    const TFileResult result = SaveTemplateFile(m_layout, path.toStdString());
    if (!result)
    {
        ShowFileError(parent, result, path, EFileKind::Template);
        return false;
    }
    m_history.SetClean();
    m_recent.Add(path);
    SetPath(path);
    return true;
}

void COpenFile::Replaced()
{
    m_history.Clear();
    SetPath({});
}

void COpenFile::Restored(const QString& path)
{
    m_history.Clear();
    m_history.SetUnsaved();
    SetPath(path);
}

void COpenFile::SetPath(const QString& path)
{
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    emit Changed();
}
