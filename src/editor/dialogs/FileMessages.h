#pragma once

#include <QString>

class QWidget;
struct TFileResult;

// The kinds of file the editor opens and saves, for wording what went wrong.
enum class EFileKind
{
    Template,
    UserPage,
};

// One sentence saying what went wrong with a file and which one ("Not a
// QEL-1 template: Lobby.qel").
QString FileErrorText(const TFileResult& result, const QString& path, EFileKind kind);

// Shows that sentence in a message box over the parent.
void ShowFileError(QWidget* parent, const TFileResult& result, const QString& path, EFileKind kind);
