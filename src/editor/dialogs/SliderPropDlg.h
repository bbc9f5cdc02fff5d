#pragma once

#include "DialogTemplate.h"
#include "UserLevel.h"

#include <QDialog>

#include <cstdint>

class CRasterView;
class QComboBox;
class TLayout;

// "Slider Properties": the audio control a level slider drives and the
// library picture it is drawn with, shown at the slider's own size.
class CSliderPropDlg : public QDialog
{
public:
    enum EControl : int
    {
        kOk = 1,
        kCancel = 2,
        kPreviewFrame = 1047,
        kImageList = 1049,
        kAddImage = 1050,
        kControlList = 1063,
        // The preview over the frame.
        kPreview = 1200,
    };
    static const TDlgTemplate& Template();

    // The layout gives the pictures and takes those added here; it may be
    // null, and the picture list then stays empty and "Add Image" disabled.
    CSliderPropDlg(TLayout* layout, int32_t width, int32_t height,
                   int32_t sliderImageId = TUserLevel::kDefaultSliderImage, int32_t controlId = -1,
                   QWidget* parent = nullptr);

    int32_t SliderImageId() const { return m_sliderImageId; }
    // 0 to 11, or -1 for none.
    int32_t ControlId() const { return m_controlId; }

private:
    void FillControls();
    void FillImages();
    void AddImage();

    TLayout* m_layout;
    int32_t m_width;
    int32_t m_height;
    int32_t m_sliderImageId;
    int32_t m_controlId;
    QComboBox* m_images;
    QComboBox* m_controls;
    CRasterView* m_preview;
};
