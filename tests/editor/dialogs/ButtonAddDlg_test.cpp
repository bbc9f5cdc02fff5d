#include "ButtonAddDlg.h"

#include "CodePageGuard.h"
#include "DialogDriver.h"
#include "Faces.h"
#include "ImageBuffer.h"
#include "LabelPicture.h"
#include "Layout.h"
#include "LayoutHistory.h"
#include "LayoutImages.h"
#include "PageDraw.h"
#include "QelFaceDlg.h"
#include "RasterView.h"
#include "ScriptedUiServices.h"
#include "TextDlg.h"
#include "TextFieldEdit.h"

#include <QCheckBox>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace
{

using D = CButtonAddDlg;

std::unique_ptr<CImageBuffer> Picture(int32_t width, int32_t height)
{
    auto picture = std::make_unique<CImageBuffer>();
    EXPECT_TRUE(picture->Data().Create(width, height, 24));
    return picture;
}

bool Shown(const QWidget* dlg, int id)
{
    return !DlgItem<QWidget>(dlg, id)->isHidden();
}

CRaster Painted(const CRasterView* view, const TUserFace& face, const TLayout& layout)
{
    CRaster raster(view->width(), view->height());
    raster.FillRect(TRect{0, 0, raster.Width(), raster.Height()}, WindowColour(view->parentWidget()));
    DrawFace(face, LayoutImages(layout), raster, TRect{0, 0, raster.Width(), raster.Height()});
    return raster;
}

constexpr uint32_t kRed = 0x0000FF;

// Pictures "Square" (31 x 31, id 10000) and "Wide" (40 x 20, id 10001); the
// props of a new button.
class ButtonAddDlgTest : public ::testing::Test
{
protected:
    ButtonAddDlgTest() : m_use(m_ui)
    {
        m_square = m_layout.images.AddImage(u"Square", Picture(31, 31))->id;
        m_wide = m_layout.images.AddImage(u"Wide", Picture(40, 20))->id;
    }

    CCodePageGuard m_codePage{"CP1252"};
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use;
    TLayout m_layout;
    int32_t m_square;
    int32_t m_wide;
    TButtonProps m_props;
};

TEST_F(ButtonAddDlgTest, ImageFacesSizeTheButton)
{
    const TUserFace colour = Face(kFaceColour, kColourSingle, kRed);
    const TUserFace blank = Face(kFaceBlank, 0);
    struct TCase
    {
        const char* what;
        TUserFace up, down;
        int32_t width, height;
    };
    const TCase cases[] = {
        {"square picture up, colour down", Face(kFaceImage, m_square), colour, 31, 31},
        {"square picture up, wide picture down", Face(kFaceImage, m_square), Face(kFaceImage, m_wide), 40,
         31},
        {"colour up, wide picture down", colour, Face(kFaceImage, m_wide), 45, 30},
        {"colour and blank", colour, blank, 45, 30},
        {"blank and blank", blank, blank, 45, 30},
        {"a picture no longer there", Face(kFaceImage, 10077), Face(kFaceImage, 10078), 45, 30},
    };
    for (const TCase& c : cases)
    {
        m_props.upFace = c.up;
        m_props.downFace = c.down;
        D dlg(&m_layout, m_props);
        Click(&dlg, D::kOk);
        ASSERT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.Props().width, c.width) << c.what;
        EXPECT_EQ(dlg.Props().height, c.height) << c.what;
    }
}

TEST_F(ButtonAddDlgTest, SelectorModeOffersTheIdsInsteadOfToggle)
{
    D plain(&m_layout, m_props);
    EXPECT_TRUE(Shown(&plain, D::kToggle));
    EXPECT_FALSE(Shown(&plain, D::kSelectorLabel));
    EXPECT_FALSE(Shown(&plain, D::kSelectorList));
    Click(&plain, D::kToggle);
    Click(&plain, D::kOk);
    EXPECT_TRUE(plain.Props().toggle);
    EXPECT_EQ(plain.Props().selectorId, -1);

    m_props.selectorMode = true;
    m_props.selectorId = 7;
    D dlg(&m_layout, m_props);
    EXPECT_FALSE(Shown(&dlg, D::kToggle));
    EXPECT_TRUE(Shown(&dlg, D::kSelectorLabel));
    QStringList ids;
    for (int n = 1; n <= 20; ++n)
        ids << QString::number(n);
    EXPECT_EQ(Entries(&dlg, D::kSelectorList), ids);
    EXPECT_EQ(Selected(&dlg, D::kSelectorList), QStringLiteral("7"));

    // A number still being typed, the field not left, is no choice yet.
    QLineEdit* edit = Combo(&dlg, D::kSelectorList)->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("12"));
    Click(&dlg, D::kOk);
    EXPECT_EQ(dlg.Props().selectorId, 7);
    EXPECT_TRUE(dlg.Props().toggle) << "a selection button toggles, whatever the hidden box held";

    D chosen(&m_layout, m_props);
    Choose(&chosen, D::kSelectorList, QStringLiteral("12"));
    Click(&chosen, D::kOk);
    EXPECT_EQ(chosen.Props().selectorId, 12);
}

TEST_F(ButtonAddDlgTest, UpAndDownSwitchThePreviewOnly)
{
    m_props.upFace = Face(kFaceColour, kColourLeftToRight, kRed, 0xFFFFFF);
    m_props.downFace = Face(kFaceImage, m_wide);
    m_props.width = 50;
    D dlg(&m_layout, m_props);
    const auto* preview = DlgItem<CRasterView>(&dlg, D::kPreview);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->geometry(), ControlRect(&dlg, D::kPreviewFrame).marginsRemoved(QMargins(1, 7, 1, 1)));
    EXPECT_TRUE(IsChecked(&dlg, D::kUp));
    EXPECT_FALSE(IsChecked(&dlg, D::kDown));
    const QImage up = RasterToImage(Painted(preview, m_props.upFace, m_layout));
    const QImage down = RasterToImage(Painted(preview, m_props.downFace, m_layout));
    EXPECT_EQ(RasterToImage(preview->Render()), up);
    Click(&dlg, D::kDown);
    EXPECT_FALSE(IsChecked(&dlg, D::kUp));
    EXPECT_EQ(RasterToImage(preview->Render()), down);
    Click(&dlg, D::kUp);
    EXPECT_FALSE(IsChecked(&dlg, D::kDown));
    EXPECT_EQ(RasterToImage(preview->Render()), up);
    Click(&dlg, D::kDown);
    Click(&dlg, D::kOk);
    EXPECT_EQ(dlg.Props(), m_props);
}

TEST_F(ButtonAddDlgTest, TopfaceAndBottomfaceEditCopiesThatCancelDiscards)
{
    m_props.upFace = Face(kFaceColour, kColourSingle, kRed);
    for (bool ok : {false, true})
    {
        // Each face dialog opens on its own face, and Topface's changes stay
        // when Bottomface's dialog is cancelled.
        m_ui.dialogAnswers.push_back(
            [&](QDialog& d)
            {
                auto& face = dynamic_cast<CQelFaceDlg&>(d);
                EXPECT_EQ(face.Face(), m_props.upFace);
                Click(&face, CQelFaceDlg::kImage);
                Choose(&face, CQelFaceDlg::kImageList, QStringLiteral("Square"));
                Click(&face, CQelFaceDlg::kSave);
            });
        m_ui.dialogAnswers.push_back(
            [&](QDialog& d)
            {
                EXPECT_EQ(dynamic_cast<CQelFaceDlg&>(d).Face(), m_props.downFace);
                Click(&d, CQelFaceDlg::kColourOrGradient);
                Click(&d, CQelFaceDlg::kCancel);
            });
        m_ui.dialogAnswers.push_back(
            [&](QDialog& d)
            {
                Click(&d, CQelFaceDlg::kButtonFace);
                Choose(&d, CQelFaceDlg::kStyleList, QStringLiteral("Rounded Corner Buttons"));
                Click(&d, CQelFaceDlg::kSave);
            });
        D dlg(&m_layout, m_props);
        Click(&dlg, D::kTopface);
        Click(&dlg, D::kBottomface);
        Click(&dlg, D::kBottomface);
        EXPECT_EQ(m_ui.dialogsShown.size(), ok ? 6u : 3u);
        const TUserFace up = Face(kFaceImage, m_square, kRed);
        const TUserFace down = Face(kFaceButton, CQelFaceDlg::kRoundedCorners);
        const auto* preview = DlgItem<CRasterView>(&dlg, D::kPreview);
        EXPECT_EQ(RasterToImage(preview->Render()), RasterToImage(Painted(preview, up, m_layout)));

        Click(&dlg, ok ? D::kOk : D::kCancel);
        if (!ok)
        {
            EXPECT_EQ(dlg.result(), QDialog::Rejected);
            EXPECT_EQ(dlg.Props(), m_props) << "Cancel leaves the button as it was";
            continue;
        }
        TButtonProps expected = m_props;
        expected.upFace = up;
        expected.downFace = down;
        expected.width = 31;
        expected.height = 31;
        EXPECT_EQ(dlg.Props(), expected);
    }
}

TEST_F(ButtonAddDlgTest, EventTextsAreFieldsOfTheirOwn)
{
    m_props.downText = MakeTextField(u"vol up");
    m_props.upText = MakeTextField(u"vol stop");
    D dlg(&m_layout, m_props);
    EXPECT_EQ(Text(&dlg, D::kDownText), QStringLiteral("vol up"));
    EXPECT_EQ(Text(&dlg, D::kUpText), QStringLiteral("vol stop"));
    ASSERT_NE(DlgItem<CTextFieldEdit>(&dlg, D::kDownText), nullptr);
    ASSERT_NE(DlgItem<CTextFieldEdit>(&dlg, D::kUpText), nullptr);
    const auto* warning = dlg.findChild<CTextFieldWarning*>();
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->isHidden());

    Type(&dlg, D::kDownText, QString(85, u'x'));
    Type(&dlg, D::kUpText, QStringLiteral("stop \u4E2D"));
    EXPECT_FALSE(warning->isHidden()) << "a character the code page lacks";
    Click(&dlg, D::kOk);
    EXPECT_EQ(TextFieldToWide(dlg.Props().downText), std::u16string(79, u'x'))
        << "what a field holds and no more";
    EXPECT_EQ(TextFieldToWide(dlg.Props().upText), u"stop ?");
}

TEST_F(ButtonAddDlgTest, LabelMakesBothFacesWithTheColoursSwappedAsOneStep)
{
    CLayoutHistory history(m_layout);
    const std::vector<uint8_t> before = m_layout.SaveToBytes();
    const size_t pictures = m_layout.images.Size();
    TLabel label;
    m_ui.dialogAnswers.push_back(
        [&](QDialog& text)
        {
            auto* edit = DlgItem<QPlainTextEdit>(&text, CTextDlg::kText);
            ASSERT_NE(edit, nullptr);
            KeyClicks(edit, QStringLiteral("Scenes"));
            label = static_cast<CTextDlg&>(text).Label();
            Click(&text, CTextDlg::kOk);
        });
    D dlg(&m_layout, m_props);
    Click(&dlg, D::kLabel);
    EXPECT_EQ(m_ui.dialogsShown.value(0), QStringLiteral("Label"));
    ASSERT_EQ(m_layout.images.Size(), pictures + 2);
    ASSERT_EQ(history.Stack().count(), 1) << "both pictures, one step";
    Click(&dlg, D::kOk);
    const TButtonProps& props = dlg.Props();
    ASSERT_EQ(props.upFace.type, kFaceImage);
    ASSERT_EQ(props.downFace.type, kFaceImage);
    const TImageEntry* up = m_layout.images.FindImage(props.upFace.param);
    const TImageEntry* down = m_layout.images.FindImage(props.downFace.param);
    ASSERT_TRUE(up != nullptr && down != nullptr && up->image && down->image);
    EXPECT_EQ(up->name, u"Scenes (up)");
    EXPECT_EQ(down->name, u"Scenes (down)");

    // Light letters on a dark face going up; dark letters on a light face held down.
    ASSERT_EQ(label.background.type, kFaceColour);
    TLabel swapped = label;
    std::swap(swapped.colour, swapped.background.colour1);
    for (const auto& [entry, made] : {std::pair{up, label}, std::pair{down, swapped}})
    {
        CImageBuffer expected;
        std::string error;
        ASSERT_TRUE(MakeLabelPicture(made, expected, error)) << error;
        EXPECT_EQ(entry->image->Data().bits, expected.Data().bits);
    }
    EXPECT_EQ(props.width, static_cast<int32_t>(up->image->GetWidth()));
    EXPECT_EQ(props.height, static_cast<int32_t>(up->image->GetHeight()));

    history.Undo();
    EXPECT_EQ(m_layout.SaveToBytes(), before) << "one undo takes both pictures";
}

} // namespace
