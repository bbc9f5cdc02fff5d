#pragma once

#include "DialogTemplate.h"
#include "Label.h"
#include "UiServices.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

class CImageBuffer;
class CRasterView;
class QLabel;
class QLineEdit;
class TImageEntry;
class TLayout;

// "Add Image": a picture file for the image library, scaled down to fit the
// panel's screen, or a picture made from text, and a description that
// becomes its name.
class CAddImageDlg : public QDialog
{
public:
    enum EControl : int
    {
        kOk = 1,
        kCancel = 2,
        kPreviewFrame = 1047,
        kBrowse = 1055,
        kWidth = 1056,
        kHeight = 1057,
        // Opens the text dialog: a picture made from text instead of a file.
        kText = 1060,
        kDescription = 1058,
        // Why the last file chosen gave no picture; empty otherwise.
        kProblem = 1059,
        // The preview over the frame.
        kPreview = 1200,
    };
    static const TDlgTemplate& Template();
    static TFileDialogSpec FileDialog();

    explicit CAddImageDlg(QWidget* parent = nullptr);
    ~CAddImageDlg() override;

    // The picture, at most 320 x 240; null when no picture was loaded or the
    // dialog was cancelled. Ownership passes to the caller.
    std::unique_ptr<CImageBuffer> TakeImage();
    // What was typed when OK was pressed; empty before.
    std::u16string Description() const { return m_description; }

    void accept() override;
    void reject() override;

private:
    void Browse();
    void MakeText();
    void ShowValues();
    void ShowProblem(const QString& text);

    std::unique_ptr<CImageBuffer> m_image;
    // The size the picture file had, before it was fitted to the screen.
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    std::u16string m_description;
    // What the text dialog last made, to start from next time, and the
    // description it offered.
    TLabel m_label;
    QString m_proposed;
    QLineEdit* m_descriptionEdit;
    QLabel* m_widthLabel;
    QLabel* m_heightLabel;
    QLabel* m_problem;
    CRasterView* m_preview;
};

// Runs the add-image dialog and, on OK, adds its picture (or an entry without
// one when no picture was loaded) to the layout's image library under the
// description, with the next added-picture id. Returns the new entry, or null
// when the dialog was cancelled. Every "Add Image" button goes through here.
TImageEntry* RunAddImage(QWidget* parent, TLayout& layout);
