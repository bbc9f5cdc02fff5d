#include "DialogTemplate.h"
#include "Label.h"
#include "Layout.h"
#include "PanelPreview.h"
#include "QelFaceDlg.h"
#include "QelWnd.h"
#include "ScriptedUiServices.h"
#include "TextDlg.h"
#include "UserFace.h"
#include "UserPage.h"

#include <QAccessible>

#include <gtest/gtest.h>

#include <memory>

namespace
{

// What a screen reader says for a widget.
QString SpokenName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(QAccessible::Name) : QString();
}

// The widgets the program draws itself carry no text of their own: each
// gives assistive tools a name that says what it is for.
TEST(AccessibleNames, TheProgramsOwnWidgetsSayWhatTheyAre)
{
    CScriptedUiServices ui;
    CUiServicesOverride use(ui);
    TLayout layout;
    TUserPage& page = static_cast<TUserPage&>(
        *layout.pages.InsertPage(std::make_unique<TUserPage>(u"Lobby", layout.pages.NextPageId())));
    layout.defaultPage = page.id;

    CQelWnd canvas(layout, page);
    CPanelPreview preview(layout);
    TUserFace face;
    CQelFaceDlg faceDlg(&layout, face);
    CTextDlg textDlg(TLabel{});

    struct TCase
    {
        QWidget* widget;
        const char* name;
    };
    for (const TCase& c : {
             TCase{&canvas, "Page canvas"},
             TCase{preview.findChild<QWidget*>(QString::number(CPanelPreview::kScreen)), "Panel screen"},
             TCase{DlgItem<QWidget>(&faceDlg, CQelFaceDlg::kColour1), "First colour"},
             TCase{DlgItem<QWidget>(&faceDlg, CQelFaceDlg::kColour2), "Second colour"},
             TCase{DlgItem<QWidget>(&faceDlg, CQelFaceDlg::kPreview), "Preview"},
             TCase{DlgItem<QWidget>(&textDlg, CTextDlg::kColour), "Text colour"},
             TCase{DlgItem<QWidget>(&textDlg, CTextDlg::kBackColour), "Background colour"},
             TCase{DlgItem<QWidget>(&textDlg, CTextDlg::kPreview), "Preview"},
         })
    {
        ASSERT_NE(c.widget, nullptr) << c.name;
        EXPECT_EQ(SpokenName(c.widget), QString::fromUtf8(c.name));
    }
}

} // namespace
