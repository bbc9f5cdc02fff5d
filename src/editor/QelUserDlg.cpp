#include "QelUserDlg.h"

#include "FileMessages.h"
#include "Layout.h"
#include "PanelPreview.h"
#include "QelWnd.h"
#include "UiServices.h"
#include "UserPage.h"
#include "UserPageFile.h"

#include <QLineEdit>
#include <QPushButton>

const TDlgTemplate& CQelUserDlg::Template()
{
    static const TDlgTemplate tmpl{
        108,
        QStringLiteral("QEL-1 User Defined Page"),
        231,
        206,
        {
            {kStaticId, EControlKind::Static, QStringLiteral("Page Name:"), 7, 10, 50, 8},
            {kPageName, EControlKind::Edit, {}, 61, 7, 104, 14, kStyleBorder | kStyleAutoHScroll},
            {kTry, EControlKind::Button, QStringLiteral("Try"), 171, 7, 50, 14},
            {kCanvasFrame, EControlKind::GroupBox, {}, 7, 24, 217, 156},
            {kImport, EControlKind::Button, QStringLiteral("Import"), 7, 185, 50, 14},
            {kExport, EControlKind::Button, QStringLiteral("Export"), 63, 185, 50, 14},
            {kCancel, EControlKind::Button, QStringLiteral("Cancel"), 119, 185, 50, 14},
            {kSave, EControlKind::DefButton, QStringLiteral("Save"), 175, 185, 50, 14},
        },
    };
    return tmpl;
}

const TFileDialogSpec& CQelUserDlg::UserPageFileDialog()
{
    static const TFileDialogSpec spec{
        QStringLiteral("QEL-1 User Page (*.qup)|*.qup|All Files (*.*)|*.*||"),
        QStringLiteral(".qup"),
        {},
    };
    return spec;
}

CQelUserDlg::CQelUserDlg(TLayout& layout, TUserPage& page, QWidget* parent)
    : QDialog(parent), m_layout(layout), m_page(page), m_pageName(page.name)
{
    BuildDialog(this, Template());
    m_canvas = CQelWnd::CreateOver(this, kCanvasFrame, layout, page);
    DlgItem<QLineEdit>(this, kPageName)->setText(QString::fromStdU16String(m_pageName));
    connect(DlgItem<QPushButton>(this, kCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(DlgItem<QPushButton>(this, kImport), &QPushButton::clicked, this, [this] { OnImport(); });
    connect(DlgItem<QPushButton>(this, kExport), &QPushButton::clicked, this, [this] { OnExport(); });
    connect(DlgItem<QPushButton>(this, kTry), &QPushButton::clicked, this, [this] { OnTry(); });
}

void CQelUserDlg::OnTry()
{
    // The page as the canvas has it; a new page is tried before Save puts it in the list.
    CPanelPreview preview(m_layout, &m_page, this);
    UiServices().ExecDialog(preview);
}

void CQelUserDlg::accept()
{
    m_pageName = DlgItem<QLineEdit>(this, kPageName)->text().toStdU16String();
    m_page.name = m_pageName;
    QDialog::accept();
}

void CQelUserDlg::OnExport()
{
    const std::optional<QString> path = UiServices().GetSaveFileName(this, UserPageFileDialog());
    if (!path)
        return;
    // The file carries the page as stored: a name typed but not saved stays out.
    const TFileResult result = ExportUserPage(m_layout, m_page, path->toStdString());
    if (!result)
        ShowFileError(this, result, *path, EFileKind::UserPage);
}

void CQelUserDlg::OnImport()
{
    const std::optional<QString> path = UiServices().GetOpenFileName(this, UserPageFileDialog());
    if (!path)
        return;
    const TFileResult result = ImportUserPage(m_layout, m_page, path->toStdString());
    if (!result)
    {
        ShowFileError(this, result, *path, EFileKind::UserPage);
        return;
    }
    // The objects the selection pointed to are gone.
    m_canvas->SetSelected(nullptr);
    m_pageName = m_page.name;
    DlgItem<QLineEdit>(this, kPageName)->setText(QString::fromStdU16String(m_pageName));
    m_canvas->update();
    update();
}
