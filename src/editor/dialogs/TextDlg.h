#pragma once

#include "DialogTemplate.h"
#include "Label.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>

class CColorButton;
class CImageBuffer;
class CRasterView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// "Text": a picture made from text, the way qelctl add-label makes one: the
// text with its line breaks, a font family, a size in pixels, bold, the
// letters' colour, a background colour or none, each line's alignment, and a
// size of its own or what the text needs. The preview shows the picture at
// the panel's scale, one pixel of the picture to one of the screen.
class CTextDlg : public QDialog
{
public:
    enum EControl : int
    {
        kOk = 1,
        kCancel = 2,
        kText = 1301,
        kFont = 1302,
        kSize = 1303,
        kBold = 1304,
        kColour = 1305,
        kNoBackground = 1306,
        kBackground = 1307,
        kBackColour = 1308,
        kLeft = 1309,
        kCentre = 1310,
        kRight = 1311,
        kAutoSize = 1312,
        kWidth = 1313,
        kHeight = 1314,
        kPreviewFrame = 1315,
        // The picture's size, or why there is no picture.
        kPictureSize = 1316,
        kProblem = 1317,
        // One colour or a gradient's mode, and the gradient's second colour.
        kBackMode = 1318,
        kBackColour2 = 1319,
        // The preview over the frame.
        kPreview = 1200,
    };
    static const TDlgTemplate& Template();

    // Starts from the label's options; the title, when given, names what the
    // picture is for (the template's "Text" otherwise).
    explicit CTextDlg(const TLabel& label, QWidget* parent = nullptr, const QString& title = {});
    ~CTextDlg() override;

    // The options as the controls show them.
    const TLabel& Label() const { return m_label; }
    // The picture the options make; null while they make none, and after
    // Cancel. Ownership passes to the caller.
    std::unique_ptr<CImageBuffer> TakePicture();

    void reject() override;

private:
    void ShowLabel();
    void ReadControls();
    void Remake();
    void OnColour(int code, uint32_t colour, int controlId);
    void OnAutoSize();

    TLabel m_label;
    std::unique_ptr<CImageBuffer> m_picture;
    // The background's colours kept while the background is none or of one
    // colour.
    uint32_t m_backColour = 0xFFFFFF;
    uint32_t m_backColour2 = 0x000000;
    uint32_t* ColourOf(int controlId);
    uint32_t m_colourBeforePalette = 0;
    bool m_showing = false;
    QPlainTextEdit* m_text;
    QComboBox* m_font;
    QLineEdit* m_size;
    QCheckBox* m_bold;
    CColorButton* m_colour;
    CColorButton* m_backColourButton;
    CColorButton* m_backColour2Button;
    QComboBox* m_backMode;
    QCheckBox* m_autoSize;
    QLineEdit* m_width;
    QLineEdit* m_height;
    QLabel* m_pictureSize;
    QLabel* m_problem;
    CRasterView* m_preview;
};

// A description for a label's picture: its text on one line, cut short.
std::u16string LabelDescription(const TLabel& label);
// The label that shows the other way round: the letters in the background's
// colour over the letters' colour (a button's face held down).
TLabel SwappedLabel(const TLabel& label);
