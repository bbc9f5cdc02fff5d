#include "ButtonAddDlg.h"

#include "ImageBuffer.h"
#include "LabelPicture.h"
#include "Layout.h"
#include "LayoutEdits.h"
#include "LayoutHistory.h"
#include "LayoutImages.h"
#include "ListChoice.h"
#include "PageDraw.h"
#include "QelFaceDlg.h"
#include "RasterView.h"
#include "TextDlg.h"
#include "TextFieldEdit.h"
#include "UiServices.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

const TDlgTemplate& CButtonAddDlg::Template()
{
    static const TDlgTemplate tmpl{
        111,
        QT_TRANSLATE_NOOP("Dialog", "Button Object"),
        231,
        262,
        {
            {kPreviewFrame, EControlKind::GroupBox, {}, 7, 7, 217, 156},
            {kUp, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Up"), 20, 166, 25, 10, kStyleGroup},
            {kDown, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Down"), 60, 166, 34, 10},
            {kToggle, EControlKind::CheckBox, QT_TRANSLATE_NOOP("Dialog", "Toggle"),
             109, 167, 37, 10, kStyleGroup},
            {kSelectorLabel, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Selector ID:"),
             149, 168, 39, 8},
            {kSelectorList, EControlKind::ComboBox, {}, 193, 166, 30, 30, kStyleEditable | kStyleVScroll},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Down Event:"), 10, 185, 44, 8},
            {kDownText, EControlKind::Edit, {}, 57, 183, 166, 14, kStyleBorder | kStyleAutoHScroll},
            {kUpEventLabel, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Up Event:"), 17, 204, 37, 8},
            {kUpText, EControlKind::Edit, {}, 57, 202, 166, 14, kStyleBorder | kStyleAutoHScroll},
            {kTopface, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Topface"), 6, 221, 50, 14},
            {kBottomface, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Bottomface"), 61, 221, 50, 14},
            {kLabel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Label..."), 6, 239, 50, 14},
            {kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 116, 221, 50, 14},
            {kOk, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 171, 221, 50, 14},
        },
    };
    return tmpl;
}

CButtonAddDlg::CButtonAddDlg(TLayout* layout, const TButtonProps& props, QWidget* parent)
    : QDialog(parent), m_layout(layout), m_props(props), m_upFace(props.upFace), m_downFace(props.downFace),
      m_selectorId(props.selectorId)
{
    const CDialogUnits units = BuildDialog(this, Template());
    m_toggle = DlgItem<QCheckBox>(this, kToggle);
    m_selectorList = DlgItem<QComboBox>(this, kSelectorList);
    m_downText = CTextFieldEdit::Replace(this, kDownText);
    m_upText = CTextFieldEdit::Replace(this, kUpText);
    auto* warning = new CTextFieldWarning(this);
    // Beside "Label...", the one strip the template leaves free.
    warning->setGeometry(units.ToPixels(61, 242, 163, 8));
    warning->Watch(m_downText);
    warning->Watch(m_upText);

    m_preview = new CRasterView;
    PlaceOverControl(this, kPreviewFrame, m_preview, QMargins(1, 7, 1, 1), kPreview);
    m_preview->SetBackground(WindowColour(this));
    m_preview->SetPainter(
        [this](CRaster& dc)
        {
            const TImageFinder images = m_layout != nullptr ? LayoutImages(*m_layout) : TImageFinder();
            DrawFace(m_previewDown ? m_downFace : m_upFace, images, dc, TRect{0, 0, dc.Width(), dc.Height()});
        });

    SetRadioChecked(this, kUp, true);
    SetRadioChecked(this, kDown, false);
    if (m_props.selectorMode)
    {
        m_toggle->hide();
        for (int32_t id = 1; id <= kSelectorIds; ++id)
            AddComboItem(m_selectorList, QString::number(id), id);
        m_selectorList->setCurrentIndex(m_selectorList->findData(m_selectorId));
    }
    else
    {
        DlgItem<QWidget>(this, kSelectorLabel)->hide();
        m_selectorList->hide();
    }
    m_toggle->setChecked(m_props.toggle);
    m_downText->SetField(m_props.downText);
    m_upText->SetField(m_props.upText);

    const auto preview = [this](bool down)
    {
        m_previewDown = down;
        m_preview->update();
    };
    connect(DlgItem<QRadioButton>(this, kUp), &QRadioButton::clicked, this, [preview] { preview(false); });
    connect(DlgItem<QRadioButton>(this, kDown), &QRadioButton::clicked, this, [preview] { preview(true); });
    connect(DlgItem<QPushButton>(this, kTopface), &QPushButton::clicked, this,
            [this] { EditFace(m_upFace); });
    connect(DlgItem<QPushButton>(this, kBottomface), &QPushButton::clicked, this,
            [this] { EditFace(m_downFace); });
    if (m_layout != nullptr)
        connect(DlgItem<QPushButton>(this, kLabel), &QPushButton::clicked, this, [this] { MakeLabel(); });
    else
        DlgItem<QWidget>(this, kLabel)->hide();
    TakeTypedEntries(m_selectorList);
    connect(m_selectorList, &QComboBox::activated, this,
            [this](int index) { m_selectorId = m_selectorList->itemData(index).toInt(); });
}

void CButtonAddDlg::EditFace(TUserFace& face)
{
    CQelFaceDlg dlg(m_layout, face, this);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    const TUserFace& edited = dlg.Face();
    face.type = edited.type;
    face.param = edited.param;
    face.colour1 = edited.colour1;
    face.colour2 = edited.colour2;
    m_preview->update();
}

void CButtonAddDlg::MakeLabel()
{
    CTextDlg dlg(m_label, this, QCoreApplication::translate("CButtonAddDlg", "Label"));
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    std::unique_ptr<CImageBuffer> up = dlg.TakePicture();
    if (!up)
        return;
    m_label = dlg.Label();
    auto down = std::make_unique<CImageBuffer>();
    std::string error;
    if (!MakeLabelPicture(SwappedLabel(m_label), *down, error))
    {
        UiServices().MessageBox(this,
                                QCoreApplication::translate("CButtonAddDlg", "Cannot make the down face: %1")
                                    .arg(QString::fromStdString(error)),
                                QCoreApplication::translate("CButtonAddDlg", "Label"), EMsgButtons::Ok,
                                EMsgIcon::Warning);
        return;
    }
    const std::u16string name = LabelDescription(m_label);
    // Both pictures are in the library at once, as Add Image's are, and go
    // back together with one undo.
    TImageEntry* upEntry = m_layout->images.AddImage(name + u" (up)", std::move(up));
    TImageEntry* downEntry = m_layout->images.AddImage(name + u" (down)", std::move(down));
    CLayoutHistory::Of(*m_layout).Edits().PicturesAdded(
        {upEntry, downEntry}, QCoreApplication::translate("CButtonAddDlg", "Add Label"));
    m_upFace.type = kFaceImage;
    m_upFace.param = upEntry->id;
    m_downFace.type = kFaceImage;
    m_downFace.param = downEntry->id;
    m_preview->update();
}

void CButtonAddDlg::FitToPictures()
{
    if (m_layout == nullptr)
        return;
    const auto picture = [this](const TUserFace& face) -> const CImageBuffer*
    {
        if (face.type != kFaceImage)
            return nullptr;
        const TImageEntry* entry = m_layout->images.FindImage(face.param);
        return entry != nullptr ? entry->image.get() : nullptr;
    };
    // The up face gives the size; the down face can only make it larger.
    if (const CImageBuffer* up = picture(m_props.upFace))
    {
        m_props.width = static_cast<int32_t>(up->GetWidth());
        m_props.height = static_cast<int32_t>(up->GetHeight());
    }
    if (const CImageBuffer* down = picture(m_props.downFace))
    {
        m_props.width = std::max(m_props.width, static_cast<int32_t>(down->GetWidth()));
        m_props.height = std::max(m_props.height, static_cast<int32_t>(down->GetHeight()));
    }
}

void CButtonAddDlg::accept()
{
    m_props.upFace = m_upFace;
    m_props.downFace = m_downFace;
    // A button of a selection group always toggles, whatever the hidden box held.
    m_props.toggle = m_props.selectorMode || m_toggle->isChecked();
    m_downText->StoreField(m_props.downText);
    m_upText->StoreField(m_props.upText);
    m_props.selectorId = m_selectorId;
    FitToPictures();
    QDialog::accept();
}
