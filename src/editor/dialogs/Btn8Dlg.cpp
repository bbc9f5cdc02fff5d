#include "Btn8Dlg.h"

#include "Btn8Ctrl.h"
#include "TextFieldEdit.h"

#include <QCoreApplication>

namespace
{

TDlgTemplate MakeTemplate()
{
    TDlgTemplate tmpl{130, QT_TRANSLATE_NOOP("Dialog", "8 Button Page"), 493, 213, {}};
    for (int n = 1; n <= CBtn8Dlg::kButtons; ++n)
    {
        const int d = 23 * (n - 1);
        tmpl.controls.push_back(
            {kStaticId, EControlKind::Static, QCoreApplication::translate("Dialog", "Button %1:").arg(n),
             7, 9 + d, 31, 8});
        tmpl.controls.push_back(
            {CBtn8Dlg::NameId(n), EControlKind::Edit, {}, 53, 7 + d, 108, 14, kStyleBorder});
        tmpl.controls.push_back(
            {CBtn8Dlg::TextId(n), EControlKind::Edit, {}, 177, 7 + d, 310, 14, kStyleBorder});
    }
    tmpl.controls.push_back({CBtn8Dlg::kOk, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"),
                             183, 192, 50, 14});
    tmpl.controls.push_back(
        {CBtn8Dlg::kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 258, 192, 50, 14});
    return tmpl;
}

} // namespace

const TDlgTemplate& CBtn8Dlg::Template()
{
    static const TDlgTemplate tmpl = MakeTemplate();
    return tmpl;
}

CBtn8Dlg::CBtn8Dlg(CBtn8Ctrl* page, QWidget* parent) : QDialog(parent), m_page(page)
{
    const CDialogUnits units = BuildDialog(this, Template());
    auto* warning = new CTextFieldWarning(this);
    // Beside the buttons, where the rows leave room.
    warning->setGeometry(units.ToPixels(316, 195, 171, 8));
    for (int n = 1; n <= kButtons; ++n)
    {
        const size_t i = static_cast<size_t>(n - 1);
        m_names[i] = CTextFieldEdit::Replace(this, NameId(n));
        m_texts[i] = CTextFieldEdit::Replace(this, TextId(n));
        if (m_page != nullptr)
        {
            m_names[i]->SetField(m_page->names[i]);
            m_texts[i]->SetField(m_page->texts[i]);
        }
        warning->Watch(m_names[i]);
        warning->Watch(m_texts[i]);
    }
}

void CBtn8Dlg::accept()
{
    if (m_page != nullptr)
    {
        for (size_t i = 0; i < kButtons; ++i)
        {
            m_names[i]->StoreField(m_page->names[i]);
            m_texts[i]->StoreField(m_page->texts[i]);
        }
    }
    QDialog::accept();
}
