#include "SliderPropDlg.h"

#include "AddImageDlg.h"
#include "DialogDriver.h"
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

const QStringList kControls{"Input 1",        "Input 2",        "Input 3",   "Input 4",
                            "Input 5",        "DederAzoz In",   "Speaker A", "Speaker B",
                            "Remote Ctnrl 1", "Remote Cntrl 2", "Line Out",  "DederAzoz Out"};

// The built-in pictures and one added picture, "Bar logo" (10000).
class SliderPropDlgTest : public ::testing::Test
{
protected:
    SliderPropDlgTest()
    {
        m_layout.images.AddImage(u"Bar logo", std::make_unique<CImageBuffer>(PatternPicture(45, 76)));
    }

    // What the preview of a slider of w x h drawn with a picture shows.
    QImage ExpectedPreview(const CSliderPropDlg& dlg, int32_t imageId, int32_t w, int32_t h) const
    {
        // Centred in the frame shrunk by one pixel, in the preview's coordinates.
        const QWidget* preview = DlgItem<CRasterView>(&dlg, CSliderPropDlg::kPreview);
        const QRect frame = ControlRect(&dlg, CSliderPropDlg::kPreviewFrame).adjusted(1, 1, -1, -1);
        CRaster dc(preview->width(), preview->height());
        dc.FillRect(TRect{0, 0, dc.Width(), dc.Height()}, WindowColour(&dlg));
        DrawLevelSlider(imageId, LayoutImages(m_layout), dc,
                        frame.y() + (frame.height() - h) / 2 - preview->y(),
                        frame.x() + (frame.width() - w) / 2 - preview->x(), w, h);
        return RasterToImage(dc);
    }

    static QImage Shown(const CSliderPropDlg& dlg)
    {
        return DlgItem<CRasterView>(&dlg, CSliderPropDlg::kPreview)
            ->grab()
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    TLayout m_layout;
    CLayoutHistory m_history{m_layout};
    CScriptedUiServices m_ui;
    CUiServicesOverride m_use{m_ui};
};

TEST_F(SliderPropDlgTest, ANewSliderHasNoControlAndTheBuiltinSliderImage)
{
    CSliderPropDlg dlg(&m_layout, 45, 130);
    EXPECT_EQ(Entries(&dlg, CSliderPropDlg::kControlList), kControls) << "in this order, not sorted";
    EXPECT_EQ(Selected(&dlg, CSliderPropDlg::kControlList), QString());
    EXPECT_EQ(Selected(&dlg, CSliderPropDlg::kImageList), QStringLiteral("ZZZ: Slider Composite"));

    const QStringList images = Entries(&dlg, CSliderPropDlg::kImageList);
    EXPECT_EQ(images.size(), static_cast<qsizetype>(m_layout.images.Size()));
    EXPECT_EQ(images.value(0), QStringLiteral("Bar logo")) << "what the installer added comes first";
    QStringList sorted = images;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b)
              { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(images, sorted);

    Click(&dlg, CSliderPropDlg::kOk);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.ControlId(), -1);
    EXPECT_EQ(dlg.SliderImageId(), 2);
}

TEST_F(SliderPropDlgTest, ChoosingSetsControlAndImage)
{
    CSliderPropDlg dlg(&m_layout, 45, 130, 10000, 8);
    EXPECT_EQ(Selected(&dlg, CSliderPropDlg::kControlList), QStringLiteral("Remote Ctnrl 1"));
    EXPECT_EQ(Selected(&dlg, CSliderPropDlg::kImageList), QStringLiteral("Bar logo"));
    for (int32_t id = 0; id < kControls.size(); ++id)
    {
        Choose(&dlg, CSliderPropDlg::kControlList, kControls[id]);
        EXPECT_EQ(dlg.ControlId(), id) << kControls[id].toStdString();
    }
    Choose(&dlg, CSliderPropDlg::kImageList, QStringLiteral("ZZZ: Square Blue Composite"));
    EXPECT_EQ(dlg.SliderImageId(), 16);
    Click(&dlg, CSliderPropDlg::kCancel);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);

    // A slider of an id the library lacks selects nothing and keeps its id.
    CSliderPropDlg unknown(&m_layout, 45, 130, 10042, 42);
    EXPECT_EQ(Selected(&unknown, CSliderPropDlg::kImageList), QString());
    EXPECT_EQ(Selected(&unknown, CSliderPropDlg::kControlList), QString());
    Click(&unknown, CSliderPropDlg::kOk);
    EXPECT_EQ(unknown.SliderImageId(), 10042);
    EXPECT_EQ(unknown.ControlId(), 42);
}

TEST_F(SliderPropDlgTest, PreviewDrawsTheSliderCentredAtItsOwnSize)
{
    for (const QSize size : {QSize(45, 130), QSize(130, 45), QSize(61, 60)})
    {
        CSliderPropDlg dlg(&m_layout, size.width(), size.height(), 2);
        const auto* preview = DlgItem<CRasterView>(&dlg, CSliderPropDlg::kPreview);
        ASSERT_NE(preview, nullptr);
        EXPECT_TRUE(ControlRect(&dlg, CSliderPropDlg::kPreviewFrame).contains(preview->geometry()));
        EXPECT_EQ(Shown(dlg), ExpectedPreview(dlg, 2, size.width(), size.height()));
        Choose(&dlg, CSliderPropDlg::kImageList, QStringLiteral("Bar logo"));
        EXPECT_EQ(Shown(dlg), ExpectedPreview(dlg, 10000, size.width(), size.height()));
        EXPECT_NE(Shown(dlg), ExpectedPreview(dlg, 2, size.width(), size.height()));
    }
}

TEST_F(SliderPropDlgTest, AddImageSelectsTheNewPicture)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("knob.png"));
    ASSERT_TRUE(WritePng(path, PatternPicture(45, 76)));
    CSliderPropDlg dlg(&m_layout, 45, 130, 2, 3);

    m_ui.dialogAnswers.push_back([](QDialog& shown) { Click(&shown, CAddImageDlg::kCancel); });
    Click(&dlg, CSliderPropDlg::kAddImage);
    EXPECT_EQ(Selected(&dlg, CSliderPropDlg::kImageList), QStringLiteral("ZZZ: Slider Composite"));
    EXPECT_EQ(dlg.SliderImageId(), 2);

    m_ui.openAnswers.push_back(path);
    m_ui.dialogAnswers.push_back(
        [](QDialog& shown)
        {
            Click(&shown, CAddImageDlg::kBrowse);
            Type(&shown, CAddImageDlg::kDescription, QStringLiteral("Chrome knob"));
            Click(&shown, CAddImageDlg::kOk);
        });
    Click(&dlg, CSliderPropDlg::kAddImage);
    EXPECT_EQ(m_ui.dialogsShown, QStringList({"Add Image", "Add Image"}));
    EXPECT_EQ(Selected(&dlg, CSliderPropDlg::kImageList), QStringLiteral("Chrome knob"));
    EXPECT_EQ(Entries(&dlg, CSliderPropDlg::kImageList).mid(0, 2), QStringList({"Bar logo", "Chrome knob"}));
    EXPECT_EQ(dlg.SliderImageId(), 10001);
    ASSERT_NE(m_layout.images.FindImage(10001), nullptr);
    EXPECT_EQ(Shown(dlg), ExpectedPreview(dlg, 10001, 45, 130));

    Click(&dlg, CSliderPropDlg::kCancel);
    EXPECT_NE(m_layout.images.FindImage(10001), nullptr) << "added pictures stay whatever the outcome";
    EXPECT_EQ(dlg.ControlId(), 3);
}

TEST(SliderPropDlg, WithoutALayoutOffersNoPictures)
{
    CSliderPropDlg dlg(nullptr, 45, 130);
    EXPECT_EQ(Entries(&dlg, CSliderPropDlg::kImageList), QStringList());
    EXPECT_FALSE(Button(&dlg, CSliderPropDlg::kAddImage)->isEnabled());
    EXPECT_EQ(Entries(&dlg, CSliderPropDlg::kControlList).size(), 12);
}

} // namespace
