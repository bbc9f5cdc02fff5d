#pragma once

#include "DialogTemplate.h"
#include "UserFace.h"

#include <QDialog>

#include <cstdint>

class CColorButton;
class CRasterView;
class QComboBox;
class TLayout;

// "Face Definition": what fills a page, an image object or one state of a
// button: nothing, a colour or gradient, a picture of the image library, or
// one of the two built-in button faces, with a preview drawn as the panel
// draws it. Works on a copy; only "Add Image" changes the layout at once.
class CQelFaceDlg : public QDialog
{
public:
    enum EControl : int
    {
        kSave = 1,
        kBlank = 1044,
        kColourOrGradient = 1045,
        kImage = 1046,
        kPreviewFrame = 1047,
        kGradientList = 1048,
        kImageList = 1049,
        kAddImage = 1050,
        kButtonFace = 1051,
        kStyleList = 1052,
        kColour1 = 1053,
        kColour2 = 1054,
        kCancel = 1082,
        // The preview over the frame.
        kPreview = 1200,
    };
    static const TDlgTemplate& Template();
    // The two button-face styles: the built-in pictures they are made of.
    static constexpr int32_t kRoundedCorners = 4;
    static constexpr int32_t kSquareCorners = 16;

    // The layout may be null: the image list then stays empty and "Add
    // Image" is hidden.
    CQelFaceDlg(TLayout* layout, const TUserFace& face, QWidget* parent = nullptr);

    // The size of the object the face belongs to (30 x 30 unless set); Save
    // on an image face makes it the picture's size.
    void SetSize(int32_t width, int32_t height);
    // The face as edited; what the opener takes back after Save.
    const TUserFace& Face() const { return m_face; }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }

    void accept() override;

private:
    void ShowFace();
    void FillImages();
    void ChooseKind(int32_t type);
    void EnableFor(int32_t type);
    void ShowSecondColour();
    void OnColour(int code, uint32_t colour, int controlId);
    void AddImage();
    // The face with its param taken from the pending choice for its kind.
    TUserFace Pending() const;

    TLayout* m_layout;
    TUserFace m_face;
    // The pending choice in each list, kept while the user moves between kinds.
    int32_t m_gradientMode = kColourSingle;
    int32_t m_imageId = -1;
    int32_t m_buttonStyle = 0;
    int32_t m_width = 30;
    // The colour being chosen as the palette opened, for a cancel.
    uint32_t m_colourBeforePalette = 0;
    int32_t m_height = 30;
    QComboBox* m_gradientList;
    QComboBox* m_imageList;
    QComboBox* m_styleList;
    CColorButton* m_colour1;
    CColorButton* m_colour2;
    CRasterView* m_preview;
};

// The modes of a colour face, one colour and the three gradients, as entries
// of a list carrying their EColourMode (in text order when the list is sorted).
void AddColourModes(QComboBox* list);
