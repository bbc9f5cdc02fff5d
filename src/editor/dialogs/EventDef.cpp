#include "EventDef.h"

#include "Layout.h"
#include "TextFieldEdit.h"

#include <QCoreApplication>

namespace
{

TDlgTemplate MakeTemplate()
{
    TDlgTemplate tmpl{131, QT_TRANSLATE_NOOP("Dialog", "User Event Definitions"), 499, 476, {}};
    tmpl.controls.push_back(
        {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Event Description"), 73, 7, 57, 8});
    tmpl.controls.push_back({kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Event Text"),
                             317, 7, 36, 8});
    for (int n = 1; n <= CEventDef::kEvents; ++n)
    {
        const int d = 18 * (n - 1);
        const bool outer = n == 1 || n == CEventDef::kEvents;
        tmpl.controls.push_back({kStaticId, EControlKind::Static,
                                 QCoreApplication::translate("Dialog", "Event #%1").arg(n), 7, 23 + d,
                                 n < 10 ? 31 : 35, 8});
        tmpl.controls.push_back({CEventDef::DescriptionId(n),
                                 EControlKind::Edit,
                                 {},
                                 n == CEventDef::kEvents ? 51 : 52,
                                 20 + d,
                                 132,
                                 14,
                                 kStyleBorder});
        tmpl.controls.push_back(
            {CEventDef::TextId(n), EControlKind::Edit, {}, outer ? 191 : 192, 20 + d, 289, 14, kStyleBorder});
    }
    tmpl.controls.push_back(
        {CEventDef::kOk, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 147, 455, 50, 14});
    tmpl.controls.push_back(
        {CEventDef::kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 240, 455, 50, 14});
    return tmpl;
}

} // namespace

int CEventDef::DescriptionId(int event)
{
    static constexpr int kFirstSix[] = {kDescription1, kDescription2, kDescription3,
                                        kDescription4, kDescription5, kDescription6};
    return event <= 6 ? kFirstSix[event - 1] : kDescription7 + (event - 7);
}

int CEventDef::TextId(int event)
{
    static constexpr int kFirstSix[] = {kText1, kText2, kText3, kText4, kText5, kText6};
    return event <= 6 ? kFirstSix[event - 1] : kText7 + (event - 7);
}

const TDlgTemplate& CEventDef::Template()
{
    static const TDlgTemplate tmpl = MakeTemplate();
    return tmpl;
}

CEventDef::CEventDef(TLayout& layout, QWidget* parent) : CScrollDialog(Template(), parent), m_layout(layout)
{
    auto* warning = new CTextFieldWarning(Content());
    // Beside the buttons, where the rows leave room.
    warning->setGeometry(CDialogUnits(font()).ToPixels(298, 458, 182, 8));
    for (int n = 1; n <= kEvents; ++n)
    {
        const size_t i = static_cast<size_t>(n - 1);
        m_descriptions[i] = CTextFieldEdit::Replace(Content(), DescriptionId(n));
        m_texts[i] = CTextFieldEdit::Replace(Content(), TextId(n));
        m_descriptions[i]->SetField(m_layout.eventDescriptions[i]);
        m_texts[i]->SetField(m_layout.eventTexts[i]);
        warning->Watch(m_descriptions[i]);
        warning->Watch(m_texts[i]);
    }
}

void CEventDef::accept()
{
    for (size_t i = 0; i < kEvents; ++i)
    {
        m_descriptions[i]->StoreField(m_layout.eventDescriptions[i]);
        m_texts[i]->StoreField(m_layout.eventTexts[i]);
    }
    CScrollDialog::accept();
}
