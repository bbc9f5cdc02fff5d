#include "AddImageDlg.h"

#include "ImageBuffer.h"
#include "ImageLibrary.h"
#include "Layout.h"
#include "LayoutEdits.h"
#include "LayoutHistory.h"
#include "PageDraw.h"
#include "PictureFile.h"
#include "RasterView.h"
#include "TextDlg.h"
#include "UiServices.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

const TDlgTemplate& CAddImageDlg::Template()
{
    static const TDlgTemplate tmpl{
        110,
        QT_TRANSLATE_NOOP("Dialog", "Add Image"),
        301,
        // Ten units taller than the classic layout, for the line under the
        // preview that says why a file gave no picture.
        204,
        {
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Description:"), 21, 12, 39, 8},
            {kDescription, EControlKind::Edit, {}, 78, 9, 216, 14, kStyleBorder | kStyleAutoHScroll},
            {kPreviewFrame, EControlKind::GroupBox, {}, 77, 30, 217, 156},
            {kBrowse, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Browse"), 16, 46, 50, 14},
            {kText, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Text..."), 16, 64, 50, 14},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Width:"), 17, 85, 22, 8},
            {kWidth, EControlKind::Static, QStringLiteral("Static"), 18, 96, 42, 8},
            {kStaticId, EControlKind::Static, QT_TRANSLATE_NOOP("Dialog", "Height:"), 17, 112, 24, 8},
            {kHeight, EControlKind::Static, QStringLiteral("Static"), 18, 123, 42, 8},
            {kCancel, EControlKind::Button, QT_TRANSLATE_NOOP("Dialog", "Cancel"), 15, 153, 50, 14},
            {kOk, EControlKind::DefButton, QT_TRANSLATE_NOOP("Dialog", "OK"), 15, 173, 50, 14},
            {kProblem, EControlKind::Static, {}, 77, 190, 217, 8},
        },
    };
    return tmpl;
}

TFileDialogSpec CAddImageDlg::FileDialog()
{
    // Every format read by content first; PNG alone, as the panel keeps
    // pictures, and everything after it.
    return {
        QCoreApplication::translate("FileDialog", "Pictures") +
            QStringLiteral(
                " (*.png *.jpg *.jpeg *.gif *.tif *.tiff *.jp2 *.j2k *.j2c *.jpc *.webp *.bmp *.dib)|"
                "*.png;*.jpg;*.jpeg;*.gif;*.tif;*.tiff;*.jp2;*.j2k;*.j2c;*.jpc;*.webp;*.bmp;*.dib|") +
            QCoreApplication::translate("FileDialog", "PNG Graphics files") +
            QStringLiteral(" (*.png)|*.png|") + QCoreApplication::translate("FileDialog", "All Files") +
            QStringLiteral(" (*.*)|*.*||"),
        QStringLiteral(".png"),
        {},
    };
}

CAddImageDlg::CAddImageDlg(QWidget* parent) : QDialog(parent)
{
    BuildDialog(this, Template());
    m_descriptionEdit = DlgItem<QLineEdit>(this, kDescription);
    m_widthLabel = DlgItem<QLabel>(this, kWidth);
    m_heightLabel = DlgItem<QLabel>(this, kHeight);
    m_problem = DlgItem<QLabel>(this, kProblem);

    m_preview = new CRasterView;
    PlaceOverControl(this, kPreviewFrame, m_preview, QMargins(3, 10, 3, 10), kPreview);
    m_preview->SetBackground(WindowColour(this));
    m_preview->SetPainter(
        [this](CRaster& dc)
        {
            if (m_image)
                DrawPictureCentred(*m_image, dc, TRect{0, 0, dc.Width(), dc.Height()});
        });

    connect(DlgItem<QPushButton>(this, kBrowse), &QPushButton::clicked, this, [this] { Browse(); });
    connect(DlgItem<QPushButton>(this, kText), &QPushButton::clicked, this, [this] { MakeText(); });
    ShowValues();
}

CAddImageDlg::~CAddImageDlg() = default;

std::unique_ptr<CImageBuffer> CAddImageDlg::TakeImage()
{
    return std::move(m_image);
}

void CAddImageDlg::accept()
{
    m_description = m_descriptionEdit->text().toStdU16String();
    QDialog::accept();
}

void CAddImageDlg::reject()
{
    m_image.reset();
    QDialog::reject();
}

void CAddImageDlg::Browse()
{
    const std::optional<QString> path = UiServices().GetOpenFileName(this, FileDialog());
    if (!path)
        return;
    const QFileInfo file(*path);
    TPictureFile picture;
    const TFileResult read = LoadPictureFile(QFile::encodeName(*path).toStdString(), picture);
    QString problem;
    if (read)
    {
        // Fitted as it was read, so that the preview and the library only
        // ever see the picture as the panel will; the file's size is shown.
        m_width = static_cast<uint32_t>(picture.fileWidth);
        m_height = static_cast<uint32_t>(picture.fileHeight);
        m_image = std::move(picture.image);
        // What was typed stays; with nothing typed, the file's name is offered.
        if (m_descriptionEdit->text().isEmpty())
            m_descriptionEdit->setText(file.completeBaseName());
    }
    else
    {
        problem = QStringLiteral("%1: %2").arg(file.fileName(), QString::fromStdString(read.reason));
        if (m_image)
        {
            // The earlier picture stays, already fitted; its size is what shows.
            m_width = m_image->GetWidth();
            m_height = m_image->GetHeight();
        }
    }
    ShowProblem(problem);
    ShowValues();
    m_preview->update();
}

void CAddImageDlg::MakeText()
{
    CTextDlg dlg(m_label, this);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    std::unique_ptr<CImageBuffer> picture = dlg.TakePicture();
    if (!picture)
        return;
    m_label = dlg.Label();
    // As a file would be: the picture and its size; the description offered
    // from the text unless something else was typed.
    m_width = picture->GetWidth();
    m_height = picture->GetHeight();
    m_image = std::move(picture);
    const QString proposed = QString::fromStdU16String(LabelDescription(m_label));
    if (m_descriptionEdit->text().isEmpty() || m_descriptionEdit->text() == m_proposed)
        m_descriptionEdit->setText(proposed);
    m_proposed = proposed;
    ShowProblem({});
    ShowValues();
    m_preview->update();
}

void CAddImageDlg::ShowValues()
{
    m_widthLabel->setText(QString::number(m_width));
    m_heightLabel->setText(QString::number(m_height));
}

void CAddImageDlg::ShowProblem(const QString& text)
{
    // One line: a long file name gives way in the middle.
    m_problem->setText(m_problem->fontMetrics().elidedText(text, Qt::ElideMiddle, m_problem->width()));
    m_problem->setToolTip(text);
}

TImageEntry* RunAddImage(QWidget* parent, TLayout& layout)
{
    CLayoutHistory& history = CLayoutHistory::Of(layout);
    CAddImageDlg dlg(parent);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return nullptr;
    TImageEntry* entry = layout.images.AddImage(dlg.Description(), dlg.TakeImage());
    // The picture is in the library at once, whatever the dialog that asked
    // for it does next; its history keeps it as a step of its own.
    history.Edits().PicturesAdded({entry}, QCoreApplication::translate("CAddImageDlg", "Add Image"));
    return entry;
}
