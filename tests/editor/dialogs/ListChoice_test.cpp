#include "ListChoice.h"

#include "ButtonAddDlg.h"
#include "DialogDriver.h"
#include "Faces.h"
#include "HotspotDlg.h"
#include "Layout.h"
#include "QelFaceDlg.h"
#include "ScriptedUiServices.h"
#include "SliderPropDlg.h"
#include "UserPage.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{

// OK, or Save, has id 1 in every dialog.
constexpr int kOk = 1;

// How a person stops typing into a list.
enum class EEnd
{
    Tab,   // the focus moves on to the next control
    Enter, // the dialog's default button closes it
    Ok,    // a click on OK, which takes the focus
};

// Every editable list of the property dialogs follows one rule: typing an
// entry (in any case, or as far as the field completes it) chooses it when
// the typing ends, exactly as picking it would; other text is not taken and
// gives way to the entry chosen before. Typed with keys, left as a person
// leaves a field.
TEST(ListChoice, TypingAnEntryChoosesItAndNothingElseIsShown)
{
    CScriptedUiServices ui;
    CUiServicesOverride use(ui);
    TLayout layout;
    for (const char16_t* name : {u"Lobby", u"Bar", u"Kitchen"})
        layout.pages.InsertPage(std::make_unique<TUserPage>(name, layout.pages.NextPageId()));
    TButtonProps selection;
    selection.selectorMode = true;
    selection.selectorId = 7;

    struct TCase
    {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> make;
        int list;
        QString typed;
        EEnd end;
        // The value the dialog gives back after OK, and the field's text.
        std::function<int32_t(QDialog&)> value;
        int32_t expected;
        QString shown;
    };
    const auto hotspot = [&layout] { return std::make_unique<CHotspotDlg>(&layout, 10001, 10000); };
    const auto target = [](QDialog& d) { return static_cast<CHotspotDlg&>(d).Target(); };
    const auto slider = [&layout] { return std::make_unique<CSliderPropDlg>(&layout, 45, 130, 2, 3); };
    const auto control = [](QDialog& d) { return static_cast<CSliderPropDlg&>(d).ControlId(); };
    const auto image = [](QDialog& d) { return static_cast<CSliderPropDlg&>(d).SliderImageId(); };
    const auto button = [&layout, selection] { return std::make_unique<CButtonAddDlg>(&layout, selection); };
    const auto selector = [](QDialog& d) { return static_cast<CButtonAddDlg&>(d).Props().selectorId; };
    const auto face = [&layout]
    { return std::make_unique<CQelFaceDlg>(&layout, Face(kFaceColour, kColourSingle, 0, 0)); };
    const auto gradient = [](QDialog& d) { return static_cast<CQelFaceDlg&>(d).Face().param; };
    const int32_t kitchen = 10002;

    const std::vector<TCase> cases{
        {"target typed in other case", hotspot, CHotspotDlg::kTargetList, "kitchen", EEnd::Tab, target,
         kitchen, "Kitchen"},
        {"target completed", hotspot, CHotspotDlg::kTargetList, "Kit", EEnd::Ok, target, kitchen, "Kitchen"},
        {"target not listed", hotspot, CHotspotDlg::kTargetList, "Cellar", EEnd::Tab, target, 10001, "Bar"},
        {"the page itself is not listed", hotspot, CHotspotDlg::kTargetList, "Lobby", EEnd::Enter, target,
         10001, "Bar"},
        {"control id", slider, CSliderPropDlg::kControlList, "Line Out", EEnd::Enter, control, 10,
         "Line Out"},
        {"control id erased", slider, CSliderPropDlg::kControlList, "", EEnd::Tab, control, 3, "Input 4"},
        {"slider picture", slider, CSliderPropDlg::kImageList, "zzz: wireframe button composite", EEnd::Enter,
         image, 3, "ZZZ: Wireframe Button Composite"},
        {"slider picture erased", slider, CSliderPropDlg::kImageList, "", EEnd::Ok, image, 2,
         "ZZZ: Slider Composite"},
        {"selector id", button, CButtonAddDlg::kSelectorList, "12", EEnd::Ok, selector, 12, "12"},
        {"selector id out of range", button, CButtonAddDlg::kSelectorList, "21", EEnd::Tab, selector, 7, "7"},
        {"gradient", face, CQelFaceDlg::kGradientList, "gradient radial", EEnd::Tab, gradient, kColourRadial,
         "Gradient Radial"},
    };
    for (const TCase& c : cases)
    {
        std::unique_ptr<QDialog> dlg = c.make();
        dlg->show();
        dlg->activateWindow();
        QApplication::setActiveWindow(dlg.get());
        QComboBox* combo = Combo(dlg.get(), c.list);
        ASSERT_NE(combo, nullptr) << c.name;
        QLineEdit* edit = combo->lineEdit();
        ASSERT_NE(edit, nullptr) << c.name;
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, c.typed);
        switch (c.end)
        {
        case EEnd::Tab:
            QTest::keyClick(edit, Qt::Key_Tab);
            EXPECT_NE(QApplication::focusWidget(), edit) << c.name;
            EXPECT_EQ(edit->text(), c.shown) << c.name;
            Click(dlg.get(), kOk);
            break;
        case EEnd::Enter:
            QTest::keyClick(edit, Qt::Key_Return);
            break;
        case EEnd::Ok:
            Click(dlg.get(), kOk);
            break;
        }
        EXPECT_EQ(dlg->result(), QDialog::Accepted) << c.name;
        EXPECT_EQ(c.value(*dlg), c.expected) << c.name;
        EXPECT_EQ(edit->text(), c.shown) << c.name;
        EXPECT_EQ(Selected(dlg.get(), c.list), c.shown) << c.name;
    }
}

} // namespace
