#include "UiServices.h"

#include <QAction>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace
{

IUiServices* g_override = nullptr;

QMessageBox::Icon ToQtIcon(EMsgIcon icon)
{
    switch (icon)
    {
    case EMsgIcon::Information:
        return QMessageBox::Information;
    case EMsgIcon::Warning:
        return QMessageBox::Warning;
    case EMsgIcon::Error:
        return QMessageBox::Critical;
    case EMsgIcon::Question:
        return QMessageBox::Question;
    case EMsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString StripMnemonic(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

QString WithDefaultExtension(const QString& path, const QString& ext)
{
    if (ext.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return ext.startsWith(u'.') ? path + ext : path + u'.' + ext;
}

QPoint PopupTopLeft(const QMenu& menu, const QPoint& anchor, EPopupPlacement placement)
{
    const QSize size = menu.sizeHint();
    switch (placement)
    {
    case EPopupPlacement::LeftVCentre:
        return QPoint(anchor.x(), anchor.y() - size.height() / 2);
    case EPopupPlacement::HCentreAbove:
        return QPoint(anchor.x() - size.width() / 2, anchor.y() - size.height());
    }
    return anchor;
}

QStringList FilterToQt(const QString& filter)
{
    QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        // Qt reads the patterns from the parentheses; the name keeps its own.
        QString name = parts[i];
        if (name.contains(u'('))
            name = name.left(name.indexOf(u'(')).trimmed();
        out << QStringLiteral("%1 (%2)").arg(name, patterns);
    }
    return out;
}

EMsgResult CQtUiServices::MessageBox(QWidget* parent, const QString& text, const QString& caption,
                                     EMsgButtons buttons, EMsgIcon icon)
{
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::NoButton, parent);
    switch (buttons)
    {
    case EMsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case EMsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case EMsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case EMsgButtons::SaveDiscardCancel:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case EMsgButtons::RestoreDiscard:
    {
        QPushButton* restore =
            box.addButton(QCoreApplication::translate("UiServices", "&Restore"), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(QMessageBox::Discard);
        box.setDefaultButton(restore);
        box.exec();
        // Only the two buttons close the box.
        return box.clickedButton() == discard ? EMsgResult::Discard : EMsgResult::Restore;
    }
    }
    switch (box.exec())
    {
    case QMessageBox::Save:
        return EMsgResult::Save;
    case QMessageBox::Discard:
        return EMsgResult::Discard;
    case QMessageBox::Ok:
        return EMsgResult::Ok;
    case QMessageBox::Yes:
        return EMsgResult::Yes;
    case QMessageBox::No:
        return EMsgResult::No;
    default:
        return buttons == EMsgButtons::YesNo ? EMsgResult::No
               : buttons == EMsgButtons::Ok  ? EMsgResult::Ok
                                             : EMsgResult::Cancel;
    }
}

namespace
{

// The file the dialog for spec gives, or nothing when it is cancelled.
std::optional<QString> RunFileDialog(QWidget* parent, const TFileDialogSpec& spec, bool save)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(FilterToQt(spec.filter));
    dialog.setDefaultSuffix(QString(spec.defaultExt).remove(0, spec.defaultExt.startsWith(u'.') ? 1 : 0));
    if (!spec.initialName.isEmpty())
        dialog.selectFile(spec.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

} // namespace

std::optional<QString> CQtUiServices::GetOpenFileName(QWidget* parent, const TFileDialogSpec& spec)
{
    return RunFileDialog(parent, spec, false);
}

std::optional<QString> CQtUiServices::GetSaveFileName(QWidget* parent, const TFileDialogSpec& spec)
{
    const std::optional<QString> path = RunFileDialog(parent, spec, true);
    if (!path)
        return std::nullopt;
    return WithDefaultExtension(*path, spec.defaultExt);
}

std::optional<uint32_t> CQtUiServices::ChooseColor(QWidget* parent, uint32_t initial)
{
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<uint32_t>(chosen.red()) | (static_cast<uint32_t>(chosen.green()) << 8) |
           (static_cast<uint32_t>(chosen.blue()) << 16);
}

QAction* CQtUiServices::PopupMenu(QWidget*, QMenu& menu, const QPoint& globalPos)
{
    return menu.exec(globalPos);
}

int CQtUiServices::ExecDialog(QDialog& dialog)
{
    return dialog.exec();
}

IUiServices& UiServices()
{
    static CQtUiServices real;
    return g_override != nullptr ? *g_override : real;
}

CUiServicesOverride::CUiServicesOverride(IUiServices& services) : m_previous(g_override)
{
    g_override = &services;
}

CUiServicesOverride::~CUiServicesOverride()
{
    g_override = m_previous;
}
