#pragma once

#include "DialogTemplate.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class TLayout;

// "Hotspot Properties": the page a hot spot switches to, chosen among the
// other pages of the layout and "Return to Previous".
class CHotspotDlg : public QDialog
{
public:
    enum EControl : int
    {
        kOk = 1,
        kCancel = 2,
        kTargetList = 1068,
    };
    static const TDlgTemplate& Template();

    // The layout may be null: the list then stays empty. pageId is the page
    // the hot spot lies on, which is never offered.
    CHotspotDlg(const TLayout* layout, int32_t target, int32_t pageId, QWidget* parent = nullptr);

    // A page id, TUserHotspot::kReturnToPrevious or -1.
    int32_t Target() const { return m_target; }

private:
    void Fill(const TLayout& layout);

    int32_t m_target;
    int32_t m_pageId;
    QComboBox* m_list;
};
