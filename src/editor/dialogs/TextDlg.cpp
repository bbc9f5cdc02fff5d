#include "TextDlg.h"

#include "ColorButton.h"
#include "ImageBuffer.h"
#include "LabelPicture.h"
#include "PageDraw.h"
#include "QelFaceDlg.h"
#include "RasterView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <algorithm>

namespace
{

constexpr uint32_t kRgbMask = 0x00FFFFFFu;

// Cut short so that the library's lists stay readable.
constexpr qsizetype kDescriptionLength = 40;

} // namespace

const TDlgTemplate& CTextDlg::Template()
{
    static const TDlgTemplate tmpl{
        113,
        QT_TRANSLATE_NOOP("Dialog", "Text"),
        361,
        226,
        {
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Text:"), 7, 7, 40, 8},
            {kText, EControlKind::Edit, {}, 7, 17, 123, 38, kStyleMultiLine | kStyleBorder | kStyleVScroll},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Font:"), 7, 63, 30, 8},
            {kFont, EControlKind::ComboBox, {}, 40, 61, 90, 100, kStyleEditable | kStyleVScroll},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Size:"), 7, 81, 30, 8},
            {kSize, EControlKind::Edit, {}, 40, 79, 30, 14, kStyleBorder | kStyleNumber},
            {kBold, EControlKind::CheckBox, QT_TRANSLATE_NOOP("Dialog", "Bold"), 82, 81, 40, 10},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Text color:"), 7, 100, 40, 8},
            {kColour, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Color"), 55, 97, 75, 15},
            {kNoBackground, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "No background"),
             7, 118, 70, 10, kStyleGroup},
            {kBackground, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Background:"),
             7, 134, 50, 10},
            {kBackColour, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Background color"),
             64, 131, 32, 15},
            {kBackColour2, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Second color"),
             98, 131, 32, 15},
            {kBackMode, EControlKind::ComboBox, {}, 19, 150, 111, 60},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Align:"), 7, 171, 25, 8},
            {kLeft, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Left"),
             33, 170, 28, 10, kStyleGroup},
            {kCentre, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Centre"), 62, 170, 34, 10},
            {kRight, EControlKind::RadioButton, QT_TRANSLATE_NOOP("Dialog", "Right"), 98, 170, 32, 10},
            {kAutoSize, EControlKind::CheckBox, QT_TRANSLATE_NOOP("Dialog", "Size from the text"),
             7, 187, 100, 10, kStyleGroup},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Width:"), 7, 204, 24, 8},
            {kWidth, EControlKind::Edit, {}, 32, 202, 30, 14, kStyleBorder | kStyleNumber},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Height:"), 68, 204, 26, 8},
            {kHeight, EControlKind::Edit, {}, 98, 202, 30, 14, kStyleBorder | kStyleNumber},
            {kPreviewFrame, EControlKind::GroupBox, {}, 137, 7, 217, 174},
            {kPictureSize, EControlKind::Static, {}, 140, 184, 100, 8},
            {kProblem, EControlKind::Static, {}, 140, 194, 214, 8},
            {kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 244, 206, 50, 14},
            {kOk, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 304, 206, 50, 14},
        },
    };
    return tmpl;
}

CTextDlg::CTextDlg(const TLabel& label, QWidget* parent, const QString& title)
    : QDialog(parent), m_label(label)
{
    BuildDialog(this, Template());
    if (!title.isEmpty())
        setWindowTitle(title);
    m_text = DlgItem<QPlainTextEdit>(this, kText);
    m_font = DlgItem<QComboBox>(this, kFont);
    m_size = DlgItem<QLineEdit>(this, kSize);
    m_bold = DlgItem<QCheckBox>(this, kBold);
    m_autoSize = DlgItem<QCheckBox>(this, kAutoSize);
    m_width = DlgItem<QLineEdit>(this, kWidth);
    m_height = DlgItem<QLineEdit>(this, kHeight);
    m_pictureSize = DlgItem<QLabel>(this, kPictureSize);
    m_problem = DlgItem<QLabel>(this, kProblem);
    m_colour = new CColorButton;
    ReplaceControl(this, kColour, m_colour);
    m_backColourButton = new CColorButton;
    ReplaceControl(this, kBackColour, m_backColourButton);
    m_backColour2Button = new CColorButton;
    ReplaceControl(this, kBackColour2, m_backColour2Button);
    m_colour->setAccessibleName(QCoreApplication::translate("CTextDlg", "Text colour"));
    m_backColourButton->setAccessibleName(QCoreApplication::translate("CTextDlg", "Background colour"));
    m_backColour2Button->setAccessibleName(QCoreApplication::translate("CTextDlg", "Second background colour"));
    m_backMode = DlgItem<QComboBox>(this, kBackMode);
    AddColourModes(m_backMode);

    m_font->addItems(QFontDatabase::families());
    m_font->lineEdit()->setPlaceholderText(QCoreApplication::translate("CTextDlg", "Sans-serif"));

    m_preview = new CRasterView;
    PlaceOverControl(this, kPreviewFrame, m_preview, QMargins(1, 7, 1, 1), kPreview);
    m_preview->SetBackground(WindowColour(this));
    m_preview->SetPainter(
        [this](CRaster& dc)
        {
            if (m_picture)
                DrawPictureCentred(*m_picture, dc, TRect{0, 0, dc.Width(), dc.Height()});
        });

    if (m_label.background.type == kFaceColour || m_label.background.colour1 != 0)
        m_backColour = m_label.background.colour1 & kRgbMask;
    if (m_label.background.type == kFaceColour && m_label.background.param != kColourSingle)
        m_backColour2 = m_label.background.colour2 & kRgbMask;
    ShowLabel();

    const auto changed = [this] { Remake(); };
    connect(m_text, &QPlainTextEdit::textChanged, this, changed);
    connect(m_font, &QComboBox::currentTextChanged, this, changed);
    for (QLineEdit* edit : {m_size, m_width, m_height})
        connect(edit, &QLineEdit::textChanged, this, changed);
    connect(m_bold, &QCheckBox::toggled, this, changed);
    for (const int id : {kNoBackground, kBackground, kLeft, kCentre, kRight})
        connect(DlgItem<QRadioButton>(this, id), &QRadioButton::toggled, this, changed);
    connect(m_autoSize, &QCheckBox::toggled, this, &CTextDlg::OnAutoSize);
    connect(m_colour, &CColorButton::Notify, this, &CTextDlg::OnColour);
    connect(m_backColourButton, &CColorButton::Notify, this, &CTextDlg::OnColour);
    connect(m_backColour2Button, &CColorButton::Notify, this, &CTextDlg::OnColour);
    connect(m_backMode, &QComboBox::currentIndexChanged, this, changed);
    Remake();
}

CTextDlg::~CTextDlg() = default;

std::unique_ptr<CImageBuffer> CTextDlg::TakePicture()
{
    return std::move(m_picture);
}

void CTextDlg::reject()
{
    m_picture.reset();
    QDialog::reject();
}

void CTextDlg::ShowLabel()
{
    m_showing = true;
    const TTextPicture& text = m_label.text;
    m_text->setPlainText(QString::fromStdString(text.text));
    m_font->setCurrentIndex(-1);
    m_font->setEditText(QString::fromStdString(text.family));
    m_size->setText(QString::number(text.size));
    m_bold->setChecked(text.bold);
    m_colour->SetColour(m_label.colour & kRgbMask);
    m_backColourButton->SetColour(m_backColour);
    m_backColour2Button->SetColour(m_backColour2);
    const bool background = m_label.background.type == kFaceColour;
    const int mode = m_backMode->findData(background ? m_label.background.param : kColourSingle);
    m_backMode->setCurrentIndex(std::max(0, mode));
    SetRadioChecked(this, kBackground, background);
    SetRadioChecked(this, kNoBackground, !background);
    SetRadioChecked(this, kLeft, text.align == ETextAlign::Left);
    SetRadioChecked(this, kCentre, text.align == ETextAlign::Centre);
    SetRadioChecked(this, kRight, text.align == ETextAlign::Right);
    const bool automatic = !text.width && !text.height;
    m_autoSize->setChecked(automatic);
    m_width->setText(text.width ? QString::number(*text.width) : QString());
    m_height->setText(text.height ? QString::number(*text.height) : QString());
    m_width->setEnabled(!automatic);
    m_height->setEnabled(!automatic);
    m_showing = false;
}

void CTextDlg::ReadControls()
{
    TTextPicture& text = m_label.text;
    text.text = m_text->toPlainText().toStdString();
    text.family = m_font->currentText().trimmed().toStdString();
    bool ok = false;
    const int size = m_size->text().toInt(&ok);
    // An empty or unreadable size draws nothing rather than a guess.
    text.size = ok ? size : 0;
    text.bold = m_bold->isChecked();
    text.align = IsChecked(this, kLeft)    ? ETextAlign::Left
                 : IsChecked(this, kRight) ? ETextAlign::Right
                                           : ETextAlign::Centre;
    if (m_autoSize->isChecked())
    {
        text.width.reset();
        text.height.reset();
    }
    else
    {
        text.width = m_width->text().toInt();
        text.height = m_height->text().toInt();
    }
    // Without a background its colour is kept all the same, for the face
    // that shows the label the other way round.
    const bool background = IsChecked(this, kBackground);
    const int mode = m_backMode->currentData().toInt();
    const bool gradient = mode != kColourSingle;
    if (background)
        m_label.background = TUserFace{kFaceColour, mode, 0, m_backColour, gradient ? m_backColour2 : 0};
    else
        m_label.background = TUserFace{kFaceBlank, 0, 0, m_backColour, 0};
    m_backMode->setEnabled(background);
    m_backColourButton->setEnabled(background);
    m_backColour2Button->setEnabled(background && gradient);
}

void CTextDlg::Remake()
{
    if (m_showing)
        return;
    ReadControls();
    auto picture = std::make_unique<CImageBuffer>();
    std::string error;
    QString problem;
    if (m_label.text.text.empty())
        picture.reset();
    else if (!MakeLabelPicture(m_label, *picture, error))
    {
        picture.reset();
        problem = QString::fromStdString(error);
    }
    m_picture = std::move(picture);
    m_pictureSize->setText(m_picture ? QCoreApplication::translate("CTextDlg", "%1 \u00D7 %2 pixels")
                                           .arg(m_picture->GetWidth())
                                           .arg(m_picture->GetHeight())
                                     : QString());
    m_problem->setText(m_problem->fontMetrics().elidedText(problem, Qt::ElideRight, m_problem->width()));
    m_problem->setToolTip(problem);
    if (QWidget* ok = DlgItem<QWidget>(this, kOk))
        ok->setEnabled(m_picture != nullptr);
    m_preview->update();
}

uint32_t* CTextDlg::ColourOf(int controlId)
{
    switch (controlId)
    {
    case kColour:
        return &m_label.colour;
    case kBackColour2:
        return &m_backColour2;
    default:
        return &m_backColour;
    }
}

void CTextDlg::OnColour(int code, uint32_t colour, int controlId)
{
    uint32_t* const chosen = ColourOf(controlId);
    switch (code)
    {
    case kCpnDropDown:
        m_colourBeforePalette = *chosen;
        return;
    case kCpnSelChange:
    case kCpnSelEndOk:
        // "Automatic" is black, as on a face.
        *chosen = colour & kRgbMask;
        break;
    case kCpnSelEndCancel:
        *chosen = m_colourBeforePalette;
        break;
    default:
        return;
    }
    // The swatch follows once the palette has closed; the preview at once.
    if (code != kCpnSelChange)
        DlgItem<CColorButton>(this, controlId)->SetColour(*chosen);
    Remake();
}

void CTextDlg::OnAutoSize()
{
    const bool automatic = m_autoSize->isChecked();
    // Turned off, the size starts from what the text needs.
    if (!automatic && m_picture && m_width->text().isEmpty() && m_height->text().isEmpty())
    {
        m_showing = true;
        m_width->setText(QString::number(m_picture->GetWidth()));
        m_height->setText(QString::number(m_picture->GetHeight()));
        m_showing = false;
    }
    m_width->setEnabled(!automatic);
    m_height->setEnabled(!automatic);
    Remake();
}

std::u16string LabelDescription(const TLabel& label)
{
    QString text = QString::fromStdString(label.text.text).simplified();
    if (text.size() > kDescriptionLength)
        text = text.left(kDescriptionLength - 1).trimmed() + QChar(u'\u2026');
    return text.toStdU16String();
}

TLabel SwappedLabel(const TLabel& label)
{
    TLabel swapped = label;
    swapped.colour = label.background.colour1 & kRgbMask;
    swapped.background = TUserFace{kFaceColour, kColourSingle, 0, label.colour & kRgbMask, 0};
    return swapped;
}
