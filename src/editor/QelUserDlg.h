#pragma once

#include "DialogTemplate.h"
#include "UiServices.h"

#include <QDialog>

#include <string>

class CQelWnd;
class TLayout;
class TUserPage;

// "QEL-1 User Defined Page": one user page designed on the page canvas, its
// name, and export and import of user page files. The canvas and Import
// change the page at once, whichever button closes the dialog; only the
// name waits for Save.
class CQelUserDlg : public QDialog
{
public:
    enum EControl : int
    {
        kSave = 1,
        kPageName = 1039,
        kCanvasFrame = 1043,
        kCancel = 1081,
        kImport = 1082,
        kExport = 1083,
        // Opens the panel preview on this page; beside the page name.
        kTry = 1090,
    };
    static const TDlgTemplate& Template();
    static const TFileDialogSpec& UserPageFileDialog();

    CQelUserDlg(TLayout& layout, TUserPage& page, QWidget* parent = nullptr);

    // The name stored by Save (the page's name until then).
    const std::u16string& PageName() const { return m_pageName; }
    CQelWnd* Canvas() const { return m_canvas; }

    void OnImport();
    void OnExport();
    void OnTry();

protected:
    void accept() override;

private:
    TLayout& m_layout;
    TUserPage& m_page;
    std::u16string m_pageName;
    CQelWnd* m_canvas;
};
