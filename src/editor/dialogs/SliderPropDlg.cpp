#include "SliderPropDlg.h"

#include "AddImageDlg.h"
#include "AudioControls.h"
#include "Layout.h"
#include "LayoutImages.h"
#include "ListChoice.h"
#include "PageDraw.h"
#include "RasterView.h"

#include <QComboBox>
#include <QPushButton>

const TDlgTemplate& CSliderPropDlg::Template()
{
    static const TDlgTemplate tmpl{
        112,
        QT_TRANSLATE_NOOP("Dialog", "Slider Properties"),
        231,
        248,
        {
            {kPreviewFrame, EControlKind::GroupBox, {}, 7, 7, 217, 156},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Slider Image:"), 26, 172, 43, 8},
            {kImageList,
             EControlKind::ComboBox,
             {},
             76,
             169,
             95,
             30,
             kStyleEditable | kStyleSorted | kStyleVScroll},
            {kAddImage, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Add Image"), 76, 188, 96, 14},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Control ID:"), 32, 209, 40, 8},
            {kControlList, EControlKind::ComboBox, {}, 76, 207, 118, 30, kStyleEditable | kStyleVScroll},
            {kOk, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 59, 227, 50, 14},
            {kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 113, 227, 50, 14},
        },
    };
    return tmpl;
}

CSliderPropDlg::CSliderPropDlg(TLayout* layout, int32_t width, int32_t height, int32_t sliderImageId,
                               int32_t controlId, QWidget* parent)
    : QDialog(parent), m_layout(layout), m_width(width), m_height(height), m_sliderImageId(sliderImageId),
      m_controlId(controlId)
{
    BuildDialog(this, Template());
    m_images = DlgItem<QComboBox>(this, kImageList);
    m_controls = DlgItem<QComboBox>(this, kControlList);

    // The preview stands inside the frame's lines so that they stay drawn;
    // the slider is centred in the frame shrunk by one pixel all the same.
    m_preview = new CRasterView;
    PlaceOverControl(this, kPreviewFrame, m_preview, QMargins(3, 3, 3, 3), kPreview);
    m_preview->SetBackground(WindowColour(this));
    m_preview->SetPainter(
        [this](CRaster& dc)
        {
            const QRect frame =
                ControlRect(this, kPreviewFrame).adjusted(1, 1, -1, -1).translated(-m_preview->pos());
            const TImageFinder images = m_layout != nullptr ? LayoutImages(*m_layout) : TImageFinder();
            DrawLevelSlider(m_sliderImageId, images, dc, frame.top() + (frame.height() - m_height) / 2,
                            frame.left() + (frame.width() - m_width) / 2, m_width, m_height);
        });

    FillControls();
    if (m_layout != nullptr)
        FillImages();
    auto* addImage = DlgItem<QPushButton>(this, kAddImage);
    addImage->setEnabled(m_layout != nullptr);

    TakeTypedEntries(m_controls);
    TakeTypedEntries(m_images);
    connect(m_controls, &QComboBox::activated, this,
            [this](int index) { m_controlId = m_controls->itemData(index).toInt(); });
    connect(m_images, &QComboBox::activated, this,
            [this](int index)
            {
                m_sliderImageId = m_images->itemData(index).toInt();
                // The preview follows the choice rather than waiting for the
                // next time the dialog is painted anyway.
                m_preview->update();
            });
    connect(addImage, &QPushButton::clicked, this, [this] { AddImage(); });
}

void CSliderPropDlg::FillControls()
{
    for (int32_t id = 0; id < kAudioControls; ++id)
        AddComboItem(m_controls, QString::fromUtf16(AudioControlName(id)), id);
    m_controls->setCurrentIndex(m_controls->findData(m_controlId));
}

void CSliderPropDlg::FillImages()
{
    for (const auto& entry : m_layout->images)
        AddComboItem(m_images, QString::fromStdU16String(entry->name), entry->id);
    m_images->setCurrentIndex(m_images->findData(m_sliderImageId));
}

void CSliderPropDlg::AddImage()
{
    if (m_layout == nullptr)
        return;
    const TImageEntry* entry = RunAddImage(this, *m_layout);
    if (entry == nullptr)
        return;
    m_images->setCurrentIndex(AddComboItem(m_images, QString::fromStdU16String(entry->name), entry->id));
    m_sliderImageId = entry->id;
    m_preview->update();
}
