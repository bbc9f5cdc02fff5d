#include "QelFaceDlg.h"

#include "AddImageDlg.h"
#include "ColorButton.h"
#include "ImageBuffer.h"
#include "Layout.h"
#include "LayoutImages.h"
#include "ListChoice.h"
#include "PageDraw.h"
#include "RasterView.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>

namespace
{

// The dialog changes only the red, green and blue bytes of a face's colours.
uint32_t WithRgb(uint32_t colour, uint32_t rgb)
{
    return (colour & 0xFF000000u) | (rgb & 0x00FFFFFFu);
}

} // namespace

const TDlgTemplate& CQelFaceDlg::Template()
{
    static const TDlgTemplate tmpl{
        109,
        QT_TRANSLATE_NOOP("Dialog", "Face Definition"),
        361,
        204,
        {
            {kBlank, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Blank"),
             17, 14, 33, 10, kStyleGroup},
            {kColourOrGradient, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Color or Gradient"),
             17, 29, 71, 10},
            {kGradientList, EControlKind::ComboBox, {}, 25, 45, 89, 30, kStyleEditable | kStyleSorted},
            {kColour1, EControlKind::Button, QStringLiteral("Button1"), 25, 64, 91, 15},
            {kColour2, EControlKind::Button, QStringLiteral("Button2"), 25, 84, 91, 15},
            {kImage, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Image"), 17, 107, 36, 10},
            {kImageList, EControlKind::ComboBox, {}, 22, 124, 95, 30, kStyleEditable | kStyleSorted},
            {kAddImage, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Add Image"), 21, 142, 96, 14},
            {kButtonFace, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Button Face"),
             17, 167, 55, 10},
            {kStyleList, EControlKind::ComboBox, {}, 22, 184, 140, 30, kStyleEditable | kStyleSorted},
            {kPreviewFrame, EControlKind::GroupBox, {}, 137, 15, 217, 156},
            {kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 211, 183, 50, 14},
            {kSave, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "Save"), 280, 183, 50, 14},
        },
    };
    return tmpl;
}

CQelFaceDlg::CQelFaceDlg(TLayout* layout, const TUserFace& face, QWidget* parent)
    : QDialog(parent), m_layout(layout), m_face(face)
{
    BuildDialog(this, Template());
    m_gradientList = DlgItem<QComboBox>(this, kGradientList);
    m_imageList = DlgItem<QComboBox>(this, kImageList);
    m_styleList = DlgItem<QComboBox>(this, kStyleList);
    m_colour1 = new CColorButton;
    ReplaceControl(this, kColour1, m_colour1);
    m_colour2 = new CColorButton;
    ReplaceControl(this, kColour2, m_colour2);
    // A gradient runs from the first colour to the second.
    m_colour1->setAccessibleName(QCoreApplication::translate("CQelFaceDlg", "First colour"));
    m_colour2->setAccessibleName(QCoreApplication::translate("CQelFaceDlg", "Second colour"));

    m_preview = new CRasterView;
    PlaceOverControl(this, kPreviewFrame, m_preview, QMargins(1, 1, 1, 1), kPreview);
    // What the face leaves undrawn shows the dialog, as behind a window.
    m_preview->SetBackground(WindowColour(this));
    m_preview->SetPainter(
        [this](CRaster& dc)
        {
            const TImageFinder images = m_layout != nullptr ? LayoutImages(*m_layout) : TImageFinder();
            DrawFace(Pending(), images, dc, TRect{0, 0, dc.Width(), dc.Height()});
        });

    const std::pair<int, int32_t> kinds[] = {{kBlank, kFaceBlank},
                                             {kColourOrGradient, kFaceColour},
                                             {kImage, kFaceImage},
                                             {kButtonFace, kFaceButton}};
    for (const auto& [id, type] : kinds)
        connect(DlgItem<QRadioButton>(this, id), &QRadioButton::clicked, this,
                [this, type = type] { ChooseKind(type); });
    for (QComboBox* list : {m_gradientList, m_imageList, m_styleList})
        TakeTypedEntries(list);
    connect(m_gradientList, &QComboBox::activated, this,
            [this](int index)
            {
                m_gradientMode = m_gradientList->itemData(index).toInt();
                ShowSecondColour();
                m_preview->update();
            });
    connect(m_imageList, &QComboBox::activated, this,
            [this](int index)
            {
                m_imageId = m_imageList->itemData(index).toInt();
                m_preview->update();
            });
    connect(m_styleList, &QComboBox::activated, this,
            [this](int index)
            {
                m_buttonStyle = m_styleList->itemData(index).toInt();
                m_preview->update();
            });
    connect(m_colour1, &CColorButton::Notify, this, &CQelFaceDlg::OnColour);
    connect(m_colour2, &CColorButton::Notify, this, &CQelFaceDlg::OnColour);
    connect(DlgItem<QPushButton>(this, kAddImage), &QPushButton::clicked, this, &CQelFaceDlg::AddImage);
    connect(DlgItem<QPushButton>(this, kCancel), &QPushButton::clicked, this, &QDialog::reject);
    ShowFace();
}

void CQelFaceDlg::SetSize(int32_t width, int32_t height)
{
    m_width = width;
    m_height = height;
}

void CQelFaceDlg::ShowFace()
{
    // Whatever the kind, the swatches show the colours the face holds and
    // will keep if switched to a colour, as the panel draws them: only the
    // red, green and blue bytes count, so 0 is black, never "Automatic".
    m_colour1->SetColour(m_face.colour1 & 0x00FFFFFFu);
    m_colour2->SetColour(m_face.colour2 & 0x00FFFFFFu);
    switch (m_face.type)
    {
    case kFaceBlank:
        SetRadioChecked(this, kBlank, true);
        EnableFor(kFaceBlank);
        break;
    case kFaceButton:
        SetRadioChecked(this, kButtonFace, true);
        EnableFor(kFaceButton);
        m_buttonStyle = m_face.param;
        break;
    case kFaceImage:
        SetRadioChecked(this, kImage, true);
        EnableFor(kFaceImage);
        m_imageId = m_face.param;
        break;
    case kFaceColour:
        SetRadioChecked(this, kColourOrGradient, true);
        EnableFor(kFaceColour);
        m_gradientMode = m_face.param;
        ShowSecondColour();
        break;
    default:
        // A kind this program does not know (a damaged file): no radio
        // button, every control left enabled.
        break;
    }

    AddColourModes(m_gradientList);
    m_gradientList->setCurrentIndex(m_gradientList->findData(m_gradientMode));

    if (m_layout != nullptr)
        FillImages();
    else
        DlgItem<QWidget>(this, kAddImage)->hide();

    // No style is shown as chosen, even on a button face; its style is kept
    // and previewed all the same.
    AddComboItem(m_styleList, QCoreApplication::translate("CQelFaceDlg", "Rounded Corner Buttons"),
                 kRoundedCorners);
    AddComboItem(m_styleList, QCoreApplication::translate("CQelFaceDlg", "Square Corner Buttons"),
                 kSquareCorners);
    m_styleList->setCurrentIndex(-1);
    m_preview->update();
}

void CQelFaceDlg::FillImages()
{
    for (const auto& entry : m_layout->images)
        AddComboItem(m_imageList, QString::fromStdU16String(entry->name), entry->id);
    m_imageList->setCurrentIndex(m_imageList->findData(m_imageId));
}

void CQelFaceDlg::EnableFor(int32_t type)
{
    const bool colour = type == kFaceColour;
    const bool image = type == kFaceImage;
    m_gradientList->setEnabled(colour);
    m_colour1->setEnabled(colour);
    m_colour2->setEnabled(colour);
    m_imageList->setEnabled(image);
    DlgItem<QWidget>(this, kAddImage)->setEnabled(image);
    m_styleList->setEnabled(type == kFaceButton);
}

void CQelFaceDlg::ShowSecondColour()
{
    m_colour2->setVisible(m_gradientMode != kColourSingle);
}

void CQelFaceDlg::ChooseKind(int32_t type)
{
    m_face.type = type;
    EnableFor(type);
    if (type == kFaceColour)
        ShowSecondColour();
    m_preview->update();
}

void CQelFaceDlg::OnColour(int code, uint32_t colour, int controlId)
{
    uint32_t& target = controlId == kColour1 ? m_face.colour1 : m_face.colour2;
    switch (code)
    {
    case kCpnDropDown:
        m_colourBeforePalette = target;
        return;
    case kCpnSelChange:
    case kCpnSelEndOk:
        // Every colour the palette passes over comes as a select change, so
        // the preview follows the pointer.
        target = WithRgb(target, colour);
        break;
    case kCpnSelEndCancel:
        // Passing over a colour is no choice: a palette closed without one
        // leaves the colour it opened on, to the byte.
        target = m_colourBeforePalette;
        break;
    default:
        return;
    }
    // Once the palette has closed, its button shows what the face will
    // store: black for "Automatic".
    if (code != kCpnSelChange)
        (controlId == kColour1 ? m_colour1 : m_colour2)->SetColour(target & 0x00FFFFFFu);
    m_preview->update();
}

void CQelFaceDlg::AddImage()
{
    if (m_layout == nullptr)
        return;
    // In the library at once, whatever this dialog's outcome.
    const TImageEntry* entry = RunAddImage(this, *m_layout);
    if (entry == nullptr)
        return;
    m_imageList->setCurrentIndex(
        AddComboItem(m_imageList, QString::fromStdU16String(entry->name), entry->id));
    m_imageId = entry->id;
    m_preview->update();
}

TUserFace CQelFaceDlg::Pending() const
{
    TUserFace face = m_face;
    switch (face.type)
    {
    case kFaceButton:
        face.param = m_buttonStyle;
        break;
    case kFaceImage:
        face.param = m_imageId;
        break;
    case kFaceColour:
        face.param = m_gradientMode;
        break;
    default:
        break;
    }
    return face;
}

void CQelFaceDlg::accept()
{
    m_face = Pending();
    if (m_face.type == kFaceImage && m_layout != nullptr)
    {
        const TImageEntry* entry = m_layout->images.FindImage(m_imageId);
        if (entry != nullptr && entry->image != nullptr)
        {
            m_width = static_cast<int32_t>(entry->image->GetWidth());
            m_height = static_cast<int32_t>(entry->image->GetHeight());
        }
    }
    QDialog::accept();
}

void AddColourModes(QComboBox* list)
{
    AddComboItem(list, QCoreApplication::translate("CQelFaceDlg", "Single Color"), kColourSingle);
    AddComboItem(list, QCoreApplication::translate("CQelFaceDlg", "Gradient Left to Right"), kColourLeftToRight);
    AddComboItem(list, QCoreApplication::translate("CQelFaceDlg", "Gradient Top to Bottom"), kColourTopToBottom);
    AddComboItem(list, QCoreApplication::translate("CQelFaceDlg", "Gradient Radial"), kColourRadial);
}
