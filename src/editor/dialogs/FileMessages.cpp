#include "FileMessages.h"

#include "AtomicFile.h"
#include "LayoutFile.h"
#include "UiServices.h"
#include "UserPageFile.h"

#include <QCoreApplication>
#include <QFileInfo>

QString FileErrorText(const TFileResult& result, const QString& path, EFileKind kind)
{
    const QString name = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
    const QString reason = QString::fromStdString(result.reason);
    const bool isTemplate = kind == EFileKind::Template;
    switch (result.error)
    {
    case EFileError::NotOurs:
        return isTemplate
                   ? QCoreApplication::translate("FileMessages", "Not a QEL-1 template: %1").arg(name)
                   : QCoreApplication::translate("FileMessages", "Not a QEL-1 user page: %1").arg(name);
    case EFileError::TooLarge:
        return QCoreApplication::translate("FileMessages", "%1 is larger than %2 bytes")
            .arg(name)
            .arg(isTemplate ? kTemplateFileLimit : kUserPageFileLimit);
    case EFileError::Damaged:
        return QCoreApplication::translate("FileMessages", "%1 is damaged and was not loaded").arg(name);
    case EFileError::Unwritable:
        return QCoreApplication::translate("FileMessages", "Could not save %1: %2").arg(name, reason);
    case EFileError::TooLargeToStore:
        if (!isTemplate)
            return QCoreApplication::translate("FileMessages", "Could not save %1: %2; nothing was written")
                .arg(name, reason);
        return QCoreApplication::translate("FileMessages",
                                           "Could not save %1: the layout is larger than a template can hold "
                                           "(%2 bytes); the file was left as it was")
            .arg(name)
            .arg(kTemplateFileLimit);
    case EFileError::Unreadable:
    case EFileError::None:
        break;
    }
    return QCoreApplication::translate("FileMessages", "Could not open %1: %2").arg(name, reason);
}

void ShowFileError(QWidget* parent, const TFileResult& result, const QString& path, EFileKind kind)
{
    UiServices().MessageBox(parent, FileErrorText(result, path, kind), QStringLiteral("QELMorvane"),
                            EMsgButtons::Ok, EMsgIcon::Warning);
}
