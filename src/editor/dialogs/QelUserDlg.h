#pragma once

#include "DialogTemplate.h"
#include "LayoutHistory.h"
#include "UiServices.h"

#include <QDialog>
#include <QPoint>
#include <QRect>

#include <string>
#include <utility>
#include <vector>

class CPositionLine;
class CQelWnd;
class QScrollArea;
class TLayout;
class TUserPage;

// "QEL-1 User Defined Page": one user page designed on the page canvas, its
// name, and export and import of user page files. The canvas and Import
// change the page at once, whichever button closes the dialog; only the
// name waits for Save.
//
// With a history, every change is a step and Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y
// undo and redo. The canvas shows the page at the zoom of the run (Ctrl +
// wheel, Ctrl + plus and minus); the dialog grows to hold it, as far as the
// screen allows, and scrolls beyond. A line under the canvas shows where
// the selected object (or the pointer) is.
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
        // The line under the canvas.
        kPositionLine = 1235,
    };
    static const TDlgTemplate& Template();
    static const TFileDialogSpec& UserPageFileDialog();

    // With a history of the dialog's own.
    CQelUserDlg(TLayout& layout, TUserPage& page, QWidget* parent = nullptr);
    // Changes become steps of the history.
    CQelUserDlg(TLayout& layout, TUserPage& page, CLayoutHistory& history, QWidget* parent = nullptr);

    // The name stored by Save (the page's name until then).
    const std::u16string& PageName() const { return m_pageName; }
    CQelWnd* Canvas() const { return m_canvas; }
    CPositionLine* PositionLine() const { return m_position; }

    void OnImport();
    void OnExport();
    void OnTry();

protected:
    void accept() override;

private:
    void AddZoomShortcuts();
    void Zoom(int by);
    // Places the canvas, the position line and the buttons for the zoom.
    void Relayout();
    void OnApplied(const TStepScope& scope);
    void ShowName();

    TLayout& m_layout;
    TUserPage& m_page;
    CLayoutHistory& m_history;
    std::u16string m_pageName;
    CLayoutHistory::COpenPage m_open;
    CQelWnd* m_canvas;
    QScrollArea* m_view;
    CPositionLine* m_position;
    // Where the template puts things, before the canvas grows.
    QSize m_baseSize;
    QRect m_baseFrame;
    std::vector<std::pair<QWidget*, QPoint>> m_below;
};
