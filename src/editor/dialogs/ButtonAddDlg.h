#pragma once

#include "DialogTemplate.h"
#include "Label.h"
#include "TextField.h"
#include "UserFace.h"

#include <QDialog>
#include <QString>

#include <cstdint>

class CRasterView;
class CTextFieldEdit;
class QCheckBox;
class QComboBox;
class TLayout;

// What the button dialog edits of a button: everything but its place.
struct TButtonProps
{
    bool operator==(const TButtonProps&) const = default;

    TUserFace upFace, downFace;
    int32_t width = 45, height = 30;
    bool toggle = false;
    // As the button holds them, so that bytes the code page does not define
    // come back as they were.
    TTextField downText{}, upText{};
    // A button of a selection group, with its group's id (1 to 20).
    bool selectorMode = false;
    int32_t selectorId = -1;
};

// "Button Object": the faces a button shows while up and while held down,
// the event texts it sends going down and coming up, whether it toggles, and
// in a selection group its selector id; a preview shows either face.
// "Label..." makes both faces from one text.
class CButtonAddDlg : public QDialog
{
public:
    enum EControl : int
    {
        kOk = 1,
        kCancel = 2,
        kDownText = 1007,
        kUpText = 1008,
        kSelectorList = 1009,
        kSelectorLabel = 1011,
        kUpEventLabel = 1013,
        kUp = 1025,
        kDown = 1026,
        kPreviewFrame = 1043,
        kTopface = 1061,
        kBottomface = 1062,
        kToggle = 1064,
        // One text makes both faces: the down face has the colours swapped.
        kLabel = 1065,
        // The preview over the frame.
        kPreview = 1200,
    };
    static const TDlgTemplate& Template();
    static constexpr int32_t kSelectorIds = 20;

    // The layout holds the faces' pictures; it may be null.
    CButtonAddDlg(TLayout* layout, const TButtonProps& props, QWidget* parent = nullptr);

    // The props as given until OK, then as edited: both faces, the texts, the
    // toggle (always on in selector mode, where the box is hidden), the
    // selector id, and a size that an image face has fitted to its picture.
    const TButtonProps& Props() const { return m_props; }

    void accept() override;

private:
    void EditFace(TUserFace& face);
    void MakeLabel();
    void FitToPictures();

    TLayout* m_layout;
    TButtonProps m_props;
    // The faces as "Topface" and "Bottomface" left them, kept until OK.
    TUserFace m_upFace;
    TUserFace m_downFace;
    int32_t m_selectorId;
    bool m_previewDown = false;
    // What "Label..." made last, to start from the next time; light letters
    // on a dark face until then.
    TLabel m_label{TTextPicture{}, 0xFFFFFF, TUserFace{kFaceColour, kColourSingle, 0, 0x603000, 0}};
    QCheckBox* m_toggle;
    QComboBox* m_selectorList;
    CTextFieldEdit* m_downText;
    CTextFieldEdit* m_upText;
    CRasterView* m_preview;
};
