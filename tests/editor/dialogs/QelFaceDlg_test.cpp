#include "QelFaceDlg.h"

#include "AddImageDlg.h"
#include "DialogDriver.h"
#include "Faces.h"
#include "ImageBuffer.h"
#include "Layout.h"
#include "LayoutHistory.h"
#include "LayoutImages.h"
#include "PageDraw.h"
#include "PictureFiles.h"
#include "RasterView.h"
#include "ScriptedUiServices.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

using D = CQelFaceDlg;

std::unique_ptr<CImageBuffer> Picture(int32_t width, int32_t height)
{
    auto picture = std::make_unique<CImageBuffer>();
    EXPECT_TRUE(picture->Data().Create(width, height, 24));
    return picture;
}

// The controls that depend on the kind, by id, as far as they are enabled.
std::vector<int> Enabled(const QWidget* dlg)
{
    std::vector<int> out;
    for (int id : {D::kGradientList, D::kColour1, D::kColour2, D::kImageList, D::kAddImage, D::kStyleList})
        if (DlgItem<QWidget>(dlg, id)->isEnabled())
            out.push_back(id);
    return out;
}

std::vector<int> Checked(const QWidget* dlg)
{
    std::vector<int> out;
    for (int id : {D::kBlank, D::kColourOrGradient, D::kImage, D::kButtonFace})
        if (IsChecked(dlg, id))
            out.push_back(id);
    return out;
}

bool Shown(const QWidget* dlg, int id)
{
    return !DlgItem<QWidget>(dlg, id)->isHidden();
}

const std::vector<int> kColourControls{D::kGradientList, D::kColour1, D::kColour2};
const std::vector<int> kImageControls{D::kImageList, D::kAddImage};
const std::vector<int> kStyleControls{D::kStyleList};
const std::vector<int> kAllControls{D::kGradientList, D::kColour1,  D::kColour2,
                                    D::kImageList,    D::kAddImage, D::kStyleList};

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;

// The built-in pictures and "Logo", a 90 x 21 picture with id 10000.
class QelFaceDlgTest : public ::testing::Test
{
protected:
    QelFaceDlgTest() : m_use(m_ui) { m_logo = m_layout.images.AddImage(u"Logo", Picture(90, 21))->id; }

    CScriptedUiServices m_ui;
    CUiServicesOverride m_use;
    TLayout m_layout;
    CLayoutHistory m_history{m_layout};
    int32_t m_logo;
};

TEST_F(QelFaceDlgTest, OpensOnTheKindOfTheFace)
{
    struct TCase
    {
        const char* what;
        TUserFace face;
        std::vector<int> checked;
        std::vector<int> enabled;
        QString gradient, image;
    };
    const TCase cases[] = {
        {"blank", Face(kFaceBlank, 3), {D::kBlank}, {}, "Single Color", ""},
        {"colour",
         Face(kFaceColour, kColourTopToBottom, kRed, kBlue),
         {D::kColourOrGradient},
         kColourControls,
         "Gradient Top to Bottom",
         ""},
        {"image", Face(kFaceImage, 10000), {D::kImage}, kImageControls, "Single Color", "Logo"},
        {"square corners",
         Face(kFaceButton, D::kSquareCorners),
         {D::kButtonFace},
         kStyleControls,
         "Single Color",
         ""},
        {"unknown kind", Face(5, 9, kRed, kBlue), {}, kAllControls, "Single Color", ""},
    };
    for (const TCase& c : cases)
    {
        D dlg(&m_layout, c.face);
        EXPECT_EQ(Checked(&dlg), c.checked) << c.what;
        EXPECT_EQ(Enabled(&dlg), c.enabled) << c.what;
        EXPECT_EQ(Selected(&dlg, D::kGradientList), c.gradient) << c.what;
        EXPECT_EQ(Selected(&dlg, D::kImageList), c.image) << c.what;
        EXPECT_EQ(Selected(&dlg, D::kStyleList), QString()) << c.what << ": no style shown, even when chosen";
        EXPECT_TRUE(Shown(&dlg, D::kColour2)) << c.what;
        Click(&dlg, D::kSave);
        ASSERT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.Face(), c.face) << c.what << ": Save keeps what was not changed";
    }
}

TEST_F(QelFaceDlgTest, ListsAreSortedByText)
{
    D dlg(&m_layout, Face(kFaceBlank, 0));
    EXPECT_EQ(Entries(&dlg, D::kGradientList), QStringList({"Gradient Left to Right", "Gradient Radial",
                                                            "Gradient Top to Bottom", "Single Color"}));
    EXPECT_EQ(Entries(&dlg, D::kStyleList), QStringList({"Rounded Corner Buttons", "Square Corner Buttons"}));
    const QStringList images = Entries(&dlg, D::kImageList);
    ASSERT_EQ(images.size(), static_cast<qsizetype>(m_layout.images.Size()));
    EXPECT_EQ(images.front(), QStringLiteral("Logo")) << "built-in pictures sort after what was added";
    QStringList sorted = images;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b)
              { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(images, sorted);

    D without(nullptr, Face(kFaceImage, 10000));
    EXPECT_TRUE(Entries(&without, D::kImageList).isEmpty());
    EXPECT_FALSE(Shown(&without, D::kAddImage)) << "no layout, nowhere to add a picture";
}

TEST_F(QelFaceDlgTest, RadioButtonsEnableTheirControls)
{
    struct TCase
    {
        int radio;
        int32_t type;
        std::vector<int> enabled;
    };
    D dlg(&m_layout, Face(5, 0));
    for (const TCase& c : {TCase{D::kImage, kFaceImage, kImageControls}, TCase{D::kBlank, kFaceBlank, {}},
                           TCase{D::kButtonFace, kFaceButton, kStyleControls},
                           TCase{D::kColourOrGradient, kFaceColour, kColourControls}})
    {
        Click(&dlg, c.radio);
        EXPECT_EQ(Checked(&dlg), std::vector<int>{c.radio});
        EXPECT_EQ(Enabled(&dlg), c.enabled) << c.radio;
        EXPECT_EQ(dlg.Face().type, c.type);
    }
}

TEST_F(QelFaceDlgTest, MovingBetweenKindsKeepsEachChoice)
{
    D dlg(&m_layout, Face(kFaceColour, kColourLeftToRight, kRed, kBlue));
    Choose(&dlg, D::kGradientList, QStringLiteral("Gradient Radial"));
    Click(&dlg, D::kImage);
    Choose(&dlg, D::kImageList, QStringLiteral("Logo"));
    Click(&dlg, D::kButtonFace);
    Choose(&dlg, D::kStyleList, QStringLiteral("Rounded Corner Buttons"));
    Click(&dlg, D::kColourOrGradient);
    EXPECT_EQ(Selected(&dlg, D::kGradientList), QStringLiteral("Gradient Radial"));
    EXPECT_TRUE(Shown(&dlg, D::kColour2));
    EXPECT_EQ(DlgItem<CColorButton>(&dlg, D::kColour1)->Colour(), kRed);
    EXPECT_EQ(DlgItem<CColorButton>(&dlg, D::kColour2)->Colour(), kBlue);

    struct TCase
    {
        int radio;
        TUserFace saved;
    };
    for (const TCase& c : {TCase{D::kColourOrGradient, Face(kFaceColour, kColourRadial, kRed, kBlue)},
                           TCase{D::kImage, Face(kFaceImage, m_logo, kRed, kBlue)},
                           TCase{D::kButtonFace, Face(kFaceButton, D::kRoundedCorners, kRed, kBlue)}})
    {
        Click(&dlg, c.radio);
        dlg.accept();
        EXPECT_EQ(dlg.Face(), c.saved) << c.radio;
    }
}

TEST_F(QelFaceDlgTest, SingleColourHidesTheSecondColour)
{
    D dlg(&m_layout, Face(kFaceColour, kColourSingle, kRed, kBlue));
    EXPECT_FALSE(Shown(&dlg, D::kColour2));
    for (const char* entry :
         {"Gradient Top to Bottom", "Single Color", "Gradient Radial", "Gradient Left to Right"})
    {
        Choose(&dlg, D::kGradientList, QString::fromLatin1(entry));
        EXPECT_EQ(Shown(&dlg, D::kColour2), QString::fromLatin1(entry) != "Single Color") << entry;
    }

    // A face of another kind starts from a single colour.
    D blank(&m_layout, Face(kFaceBlank, 0));
    Click(&blank, D::kColourOrGradient);
    EXPECT_FALSE(Shown(&blank, D::kColour2));
    Choose(&blank, D::kGradientList, QStringLiteral("Gradient Radial"));
    Click(&blank, D::kImage);
    Click(&blank, D::kColourOrGradient);
    EXPECT_TRUE(Shown(&blank, D::kColour2));
}

TEST_F(QelFaceDlgTest, AnImageFaceTakesThePictureSize)
{
    const int32_t empty = m_layout.images.AddImage(u"No picture", nullptr)->id;
    struct TCase
    {
        int32_t image;
        int32_t width, height;
    };
    for (const TCase& c : {TCase{m_logo, 90, 21}, TCase{empty, 45, 30}, TCase{10077, 45, 30}})
    {
        D dlg(&m_layout, Face(kFaceImage, c.image));
        dlg.SetSize(45, 30);
        Click(&dlg, D::kSave);
        EXPECT_EQ(dlg.Face().param, c.image);
        EXPECT_EQ(dlg.Width(), c.width) << c.image;
        EXPECT_EQ(dlg.Height(), c.height) << c.image;
    }

    D cancelled(&m_layout, Face(kFaceImage, m_logo));
    cancelled.SetSize(45, 30);
    Click(&cancelled, D::kCancel);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.Width(), 45);

    D unset(&m_layout, Face(kFaceBlank, 0));
    Click(&unset, D::kImage);
    Click(&unset, D::kSave);
    EXPECT_EQ(unset.Face().param, -1) << "no picture chosen";
    EXPECT_EQ(unset.Width(), 30);
    EXPECT_EQ(unset.Height(), 30);
}

TEST_F(QelFaceDlgTest, ThePreviewFollowsThePaletteAndFillsTheFrame)
{
    D dlg(&m_layout, Face(kFaceColour, kColourSingle, 0x7F000000 | kRed, kBlue));
    dlg.show();
    auto* preview = DlgItem<CRasterView>(&dlg, D::kPreview);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->geometry(), ControlRect(&dlg, D::kPreviewFrame).marginsRemoved(QMargins(1, 1, 1, 1)));
    const auto centre = [&]
    { return preview->Render().GetPixel(preview->width() / 2, preview->height() / 2); };
    EXPECT_EQ(centre(), Rgb(255, 0, 0));

    CColourPalettePopup* popup = OpenPalette(&dlg, D::kColour1);
    ASSERT_NE(popup, nullptr);
    Hover(popup, CColourPalettePopup::kAutomaticBox);
    EXPECT_EQ(dlg.Face().colour1, 0x7F000000u) << "black, the highest byte as it was";
    EXPECT_EQ(centre(), Rgb(0, 0, 0));
    Hover(popup, 26);
    EXPECT_EQ(centre(), Rgb(255, 255, 0));
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(dlg.Face().colour1, 0x7F000000u | kRed)
        << "a cancelled palette leaves the colour it opened with";
    EXPECT_EQ(centre(), Rgb(255, 0, 0));
    EXPECT_EQ(DlgItem<CColorButton>(&dlg, D::kColour1)->Colour(), kRed);
    EXPECT_EQ(dlg.Face().colour2, kBlue);

    popup = OpenPalette(&dlg, D::kColour2);
    Hover(popup, 0);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(dlg.Face().colour2, 0u);
    EXPECT_EQ(dlg.Face().colour1, 0x7F000000u | kRed);

    // Whatever the face, the preview is what the drawing code paints.
    for (const TUserFace& face : {Face(kFaceButton, D::kSquareCorners), Face(kFaceImage, m_logo),
                                  Face(kFaceColour, kColourRadial, kRed, kBlue)})
    {
        D other(&m_layout, face);
        const CRasterView* view = DlgItem<CRasterView>(&other, D::kPreview);
        CRaster expected(view->width(), view->height());
        expected.FillRect(TRect{0, 0, view->width(), view->height()}, WindowColour(&other));
        DrawFace(face, LayoutImages(m_layout), expected, TRect{0, 0, view->width(), view->height()});
        EXPECT_EQ(RasterToImage(view->Render()), RasterToImage(expected)) << face.type;
    }
}

// An add-image run that picks a file (when given) and names the picture.
std::function<void(QDialog&)> AddImageAnswer(CScriptedUiServices& ui, const QString& file,
                                             const QString& name)
{
    return [&ui, file, name](QDialog& d)
    {
        if (!file.isEmpty())
        {
            ui.openAnswers.push_back(file);
            Click(&d, CAddImageDlg::kBrowse);
        }
        Type(&d, CAddImageDlg::kDescription, name);
        Click(&d, CAddImageDlg::kOk);
    };
}

TEST_F(QelFaceDlgTest, AddImageAddsToTheLibraryAtOnce)
{
    const QTemporaryDir dir;
    const QString banner = dir.filePath(QStringLiteral("banner.png"));
    ASSERT_TRUE(WritePng(banner, PatternPicture(90, 21)));
    for (const char16_t* name : {u"One", u"Two", u"Three", u"Four"})
        m_layout.images.AddImage(name, nullptr);
    ASSERT_EQ(m_layout.images.Head()->id, 10004);
    const size_t before = m_layout.images.Size();

    m_ui.dialogAnswers.push_back(AddImageAnswer(m_ui, banner, QStringLiteral("Foyer")));
    m_ui.dialogAnswers.push_back(AddImageAnswer(m_ui, {}, QStringLiteral("Bar")));
    m_ui.dialogAnswers.push_back([](QDialog& d) { Click(&d, CAddImageDlg::kCancel); });
    D dlg(&m_layout, Face(kFaceImage, m_logo));
    Click(&dlg, D::kAddImage);
    EXPECT_EQ(Selected(&dlg, D::kImageList), QStringLiteral("Foyer"));
    Click(&dlg, D::kAddImage);
    EXPECT_EQ(Selected(&dlg, D::kImageList), QStringLiteral("Bar"));
    Click(&dlg, D::kAddImage);
    EXPECT_EQ(Selected(&dlg, D::kImageList), QStringLiteral("Bar"))
        << "a cancelled add-image changes nothing";
    EXPECT_EQ(m_layout.images.Size(), before + 2);
    ASSERT_NE(m_layout.images.FindImage(10005), nullptr);
    EXPECT_EQ(m_layout.images.FindImage(10005)->name, u"Foyer");
    ASSERT_NE(m_layout.images.FindImage(10006), nullptr);
    EXPECT_EQ(m_layout.images.FindImage(10006)->name, u"Bar");
    Click(&dlg, D::kCancel);
    EXPECT_EQ(m_layout.images.Size(), before + 2) << "added pictures stay when the face dialog is cancelled";

    D later(&m_layout, Face(kFaceBlank, 0));
    EXPECT_TRUE(Entries(&later, D::kImageList).contains(QStringLiteral("Foyer")));
    Click(&later, D::kImage);
    Choose(&later, D::kImageList, QStringLiteral("Foyer"));
    Click(&later, D::kSave);
    EXPECT_EQ(later.Face().param, 10005);
    EXPECT_EQ(later.Width(), 90);
    EXPECT_EQ(later.Height(), 21);

    TLayout builtinsOnly;
    CLayoutHistory builtinsHistory(builtinsOnly);
    m_ui.dialogAnswers.push_back(AddImageAnswer(m_ui, {}, QStringLiteral("First")));
    D fresh(&builtinsOnly, Face(kFaceImage, -1));
    Click(&fresh, D::kAddImage);
    Click(&fresh, D::kSave);
    EXPECT_EQ(fresh.Face().param, 10000);
}

// Only a choice changes a colour: a palette closed by Escape, by a click
// outside or by the program losing the focus leaves the face as it opened,
// whatever the pointer passed over; a choice, "Automatic" too, stores the
// colour and its button shows it as the panel will (black for "Automatic").
TEST_F(QelFaceDlgTest, OnlyAChoiceInThePaletteChangesTheColour)
{
    struct TCase
    {
        const char* name;
        int hover;
        std::function<void(CColourPalettePopup*)> close;
        uint32_t stored;
    };
    const auto releaseOutside = [](CColourPalettePopup* popup) {
        SendMouse(popup, QEvent::MouseButtonRelease, {-5, -5});
    };
    const auto releaseOnAutomatic = [](CColourPalettePopup* popup)
    {
        SendMouse(popup, QEvent::MouseButtonRelease,
                  popup->CellRect(CColourPalettePopup::kAutomaticBox).center());
    };
    const std::vector<TCase> cases{
        {"Escape", 26, [](CColourPalettePopup* p) { QTest::keyClick(p, Qt::Key_Escape); }, 0x7F0000FFu},
        {"a click outside", 26, releaseOutside, 0x7F0000FFu},
        {"focus lost", 26, [](CColourPalettePopup* p) { p->hide(); }, 0x7F0000FFu},
        {"Enter on yellow", 26, [](CColourPalettePopup* p) { QTest::keyClick(p, Qt::Key_Return); },
         0x7F00FFFFu},
        {"a click on Automatic", CColourPalettePopup::kAutomaticBox, releaseOnAutomatic, 0x7F000000u},
    };
    for (const TCase& c : cases)
    {
        D dlg(&m_layout, Face(kFaceColour, kColourSingle, 0x7F000000 | kRed, kBlue));
        dlg.show();
        CColourPalettePopup* popup = OpenPalette(&dlg, D::kColour1);
        ASSERT_NE(popup, nullptr) << c.name;
        Hover(popup, c.hover);
        c.close(popup);
        QCoreApplication::processEvents();
        EXPECT_EQ(dlg.Face().colour1, c.stored) << c.name;
        EXPECT_EQ(DlgItem<CColorButton>(&dlg, D::kColour1)->Colour(), c.stored & 0x00FFFFFFu) << c.name;
        EXPECT_FALSE(DlgItem<CColorButton>(&dlg, D::kColour1)->IsPopupOpen()) << c.name;
        Click(&dlg, D::kSave);
        EXPECT_EQ(dlg.Face().colour1, c.stored) << c.name;
    }

    // A face of another kind opens with the colours it holds on the
    // swatches, so "Color or Gradient" shows what it will store.
    D blank(&m_layout, Face(kFaceBlank, 0, 0, 0xFF000000u | kBlue));
    blank.show();
    Click(&blank, D::kColourOrGradient);
    EXPECT_EQ(DlgItem<CColorButton>(&blank, D::kColour1)->Colour(), 0u) << "black, not Automatic";
    EXPECT_EQ(DlgItem<CColorButton>(&blank, D::kColour2)->Colour(), kBlue);
    Click(&blank, D::kSave);
    EXPECT_EQ(blank.Face().colour1, 0u);
    EXPECT_EQ(blank.Face().colour2, 0xFF000000u | kBlue);
}

} // namespace
