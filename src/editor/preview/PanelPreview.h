#pragma once

#include "LayoutCheck.h"
#include "PanelSession.h"

#include <QDialog>
#include <QPoint>
#include <QStringList>

#include <memory>
#include <vector>

class CPlainText;
class CRaster;
class CRasterView;
class QLabel;
class QListWidget;
class TLayout;
class TListItem;
class TUserObject;

// "QEL-1 Panel Preview": the layout on the panel's 320 x 240 screen at the
// canvas zoom, worked with the mouse as a finger (see CPanelSession), with
// every event the panel raises listed with its time in a pane beside the
// screen, and the layout check's findings below it: selecting one shows its
// page with its object marked. An eight-button page is shown in our own
// plain look, with a note saying so. The window reads the layout and never
// changes it.
class CPanelPreview : public QDialog
{
public:
    enum EControl : int
    {
        kClose = 2,
        kScreen = 1300,
        kPageName = 1301,
        kNote = 1302,
        kEvents = 1303,
        kClearEvents = 1304,
        kCheckTitle = 1305,
        kFindings = 1306,
    };
    // The pane forgets its oldest entries beyond this many.
    static constexpr int kMaxEvents = 2000;

    // Starts on `start` when given: a page of the layout, or one being
    // designed that is not in its list yet, which the check then takes in
    // as its last page; otherwise on the default page. The layout must
    // outlive the window; checking it rebuilds its glyph table.
    explicit CPanelPreview(TLayout& layout, TListItem* start = nullptr, QWidget* parent = nullptr);
    ~CPanelPreview() override;

    const CPanelSession& Session() const { return m_session; }
    CRasterView* Screen() const { return m_screen; }
    // The pane's entries without their times, oldest first.
    QStringList EventTexts() const;
    const std::vector<TCheckFinding>& Findings() const { return m_findings; }
    // The object the selected finding names, while its page is shown.
    const TUserObject* Marked() const;
    // The widget point of the screen at the middle of a panel pixel.
    QPoint ToWidget(const QPoint& panelPoint) const;

    // An event as the pane lists it: `down "LIGHTS ON"`, `level "Speaker A" 40`,
    // `page "Bar"`.
    static QString Describe(const TPanelEvent& event);

private:
    enum class ETouch
    {
        Press,
        Move,
        Release,
    };

    void Paint(CRaster& dc);
    void Touch(ETouch touch, const QPoint& panelPoint);
    void Refresh();
    void FillFindings();
    void ShowFinding(int row);
    const TListItem* PageAt(int32_t pageIndex) const;

    TLayout& m_layout;
    TListItem* m_unsaved;
    CPanelSession m_session;
    std::unique_ptr<CPlainText> m_text;
    std::vector<TCheckFinding> m_findings;
    const TListItem* m_markedPage = nullptr;
    bool m_labelsShown = false;
    const TListItem* m_labelledPage = nullptr;
    int32_t m_markedIndex = -1;
    CRasterView* m_screen;
    QLabel* m_pageName;
    QLabel* m_note;
    QListWidget* m_events;
    QLabel* m_checkTitle;
    QListWidget* m_findingList;
};
