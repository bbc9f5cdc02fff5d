#include "LabelPicture.h"

#include "ImageBuffer.h"
#include "PageDraw.h"
#include "RasterImage.h"

#include <algorithm>

namespace
{

bool BackgroundAllowed(const TUserFace& face)
{
    if (face.type == kFaceBlank)
        return true;
    return face.type == kFaceColour && face.param >= kColourSingle && face.param <= kColourRadial;
}

} // namespace

bool MakeLabelPicture(const TLabel& label, CImageBuffer& picture, std::string& error,
                      std::string* drawnFamily)
{
    if (!BackgroundAllowed(label.background))
    {
        error = "a label's background is none, a colour or a gradient";
        return false;
    }
    TTextCoverage text;
    if (!RenderTextPicture(label.text, text, error))
        return false;

    CRaster raster(text.width, text.height);
    const bool transparent = label.background.type == kFaceBlank;
    if (transparent)
        raster.FillRect({0, 0, text.width, text.height}, label.colour & 0x00FFFFFFu);
    else
        DrawFace(
            label.background, [](int32_t) -> CImageBuffer* { return nullptr; }, raster,
            TRect{0, 0, text.width, text.height});
    // Over a background the letters are blended in; without one they keep
    // their colour and their coverage becomes the picture's alpha.
    if (!transparent)
        DrawTextCoverage(text, raster, 0, 0, label.colour & 0x00FFFFFFu);

    CImageBuffer made;
    RasterToImage(raster, made);
    TImageData& data = made.Data();
    if (!data.HasPixels())
    {
        error =
            "cannot make a " + std::to_string(text.width) + " x " + std::to_string(text.height) + " picture";
        return false;
    }
    if (transparent)
    {
        data.alpha.resize(text.coverage.size());
        for (int32_t y = 0; y < text.height; ++y)
        {
            // The alpha plane runs from the bottom row up, as the pixels do.
            const uint8_t* row = text.coverage.data() + static_cast<size_t>(y) * text.width;
            std::copy(row, row + text.width,
                      data.alpha.begin() + static_cast<ptrdiff_t>(text.height - 1 - y) * text.width);
        }
    }
    picture = std::move(made);
    if (drawnFamily != nullptr)
        *drawnFamily = text.family;
    return true;
}
