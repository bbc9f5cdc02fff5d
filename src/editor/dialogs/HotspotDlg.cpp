#include "HotspotDlg.h"

#include "Layout.h"
#include "ListChoice.h"
#include "UserHotspot.h"

#include <QCoreApplication>
#include <QComboBox>

const TDlgTemplate& CHotspotDlg::Template()
{
    static const TDlgTemplate tmpl{
        113,
        QT_TRANSLATE_NOOP("Dialog", "Hotspot Properties"),
        171,
        70,
        {
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Page to Switch To:"),
             7, 10, 61, 8},
            {kTargetList,
             EControlKind::ComboBox,
             {},
             7,
             25,
             156,
             30,
             kStyleEditable | kStyleSorted | kStyleVScroll},
            {kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 23, 49, 50, 14},
            {kOk, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 83, 49, 50, 14},
        },
    };
    return tmpl;
}

CHotspotDlg::CHotspotDlg(const TLayout* layout, int32_t target, int32_t pageId, QWidget* parent)
    : QDialog(parent), m_target(target), m_pageId(pageId)
{
    BuildDialog(this, Template());
    m_list = DlgItem<QComboBox>(this, kTargetList);
    if (layout != nullptr)
        Fill(*layout);
    TakeTypedEntries(m_list);
    connect(m_list, &QComboBox::activated, this,
            [this](int index) { m_target = m_list->itemData(index).toInt(); });
}

void CHotspotDlg::Fill(const TLayout& layout)
{
    // Items are inserted in text order, so the index of the entry chosen so
    // far moves along with every insertion in front of it.
    int selected = -1;
    const auto add = [&](const QString& text, int32_t id, bool select)
    {
        const int at = AddComboItem(m_list, text, id);
        if (selected >= at)
            ++selected;
        if (select)
            selected = at;
    };
    add(QCoreApplication::translate("CHotspotDlg", "Return to Previous"), TUserHotspot::kReturnToPrevious,
        m_target == TUserHotspot::kReturnToPrevious);
    for (const auto& page : layout.pages)
    {
        if (page->id == m_pageId)
            continue;
        add(QString::fromStdU16String(page->name), page->id, page->id > 0 && page->id == m_target);
    }
    m_list->setCurrentIndex(selected);
}
