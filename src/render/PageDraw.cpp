#include "PageDraw.h"

#include "ImageBuffer.h"
#include "UserButton.h"
#include "UserFace.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserObject.h"
#include "UserPage.h"

#include <vector>

namespace
{

// Colours carry red, green and blue; the top byte (the colour picker's
// "Automatic" mark) is not a colour.
TColor ColourOf(uint32_t value) { return value & 0x00FFFFFFu; }

// Grid and outline spacing of a hot spot.
constexpr int32_t kHotspotStep = 20;

// Nine-slice geometry of the button composite: 15-pixel corners around a
// one-pixel middle row and column at 15.
constexpr int32_t kCorner = 15;
constexpr int32_t kFar = 16;

// Slider composite geometry: 45 pixels wide, 15-pixel caps, a 46 x 46 knob.
constexpr int32_t kSliderSide = 45;
constexpr int32_t kCap = 15;
constexpr int32_t kKnob = 46;
constexpr int32_t kKnobRow = 16;
constexpr int32_t kLowerTrack = 60;
constexpr int32_t kBottomCap = 61;

} // namespace

void DrawGradient(CRaster& dc, int32_t mode, uint32_t colour1, uint32_t colour2, const TRect& rect)
{
    const int32_t w = rect.Width();
    const int32_t h = rect.Height();
    if (w <= 0 || h <= 0)
        return;
    int32_t length = 0;
    switch (mode)
    {
    case kColourLeftToRight:
        length = w;
        break;
    case kColourTopToBottom:
        length = h;
        break;
    case kColourRadial:
        length = w + h;
        break;
    default:
        return;
    }

    const int r1 = RedOf(colour1), g1 = GreenOf(colour1), b1 = BlueOf(colour1);
    const double dR = static_cast<double>(RedOf(colour2) - r1) / length;
    const double dG = static_cast<double>(GreenOf(colour2) - g1) / length;
    const double dB = static_cast<double>(BlueOf(colour2) - b1) / length;

    // The colour depends only on the position along the ramp, so each
    // position is worked out once.
    std::vector<TColor> ramp(static_cast<size_t>(length));
    for (int32_t p = 0; p < length; ++p)
    {
        const double k = static_cast<double>(static_cast<int64_t>(p * (static_cast<double>(p) / length)));
        const auto channel = [k](double d, int base)
        { return static_cast<uint8_t>(static_cast<int64_t>(k * d + base)); };
        ramp[static_cast<size_t>(p)] = Rgb(channel(dR, r1), channel(dG, g1), channel(dB, b1));
    }

    const TRect area = rect.Intersect(dc.GetClip());
    if (area.IsEmpty())
        return;
    TColor* pixels = dc.Pixels();
    for (int32_t y = area.top; y < area.bottom; ++y)
    {
        TColor* row = pixels + static_cast<size_t>(y) * dc.Width();
        const int32_t j = y - rect.top;
        for (int32_t x = area.left; x < area.right; ++x)
        {
            const int32_t i = x - rect.left;
            const int32_t p = mode == kColourLeftToRight ? i : mode == kColourTopToBottom ? j : i + j;
            row[x] = ramp[static_cast<size_t>(p)];
        }
    }
}

void DrawButtonFace(int32_t imageId, const TImageFinder& images, CRaster& dc, int32_t top, int32_t left,
                    int32_t width, int32_t height)
{
    CImageBuffer* source = images ? images(imageId) : nullptr;
    if (source == nullptr || source->GetWidth() == 0 || source->GetHeight() == 0)
        return;
    const int32_t x = left;
    const int32_t y = top;
    const int32_t w = width;
    const int32_t h = height;

    const TRgbQuad middle = source->GetPixelColor(static_cast<int32_t>(source->GetWidth() / 2),
                                                  static_cast<int32_t>(source->GetHeight() / 2), true);
    dc.FillRect(TRect{x + 3, y + 3, x + w - 6, y + h - 6}, Rgb(middle.red, middle.green, middle.blue));

    for (int32_t i = 0; i < w - 2 * kCorner; ++i)
    {
        source->DrawSection(&dc, x + kCorner + i, y, 1, kCorner, kCorner, 0);
        source->DrawSection(&dc, x + kCorner + i, y + h - kCorner, 1, kCorner, kCorner, kFar);
    }
    for (int32_t i = 0; i < h - 2 * kCorner; ++i)
    {
        source->DrawSection(&dc, x, y + kCorner + i, kCorner, 1, 0, kCorner);
        source->DrawSection(&dc, x + w - kCorner, y + kCorner + i, kCorner, 1, kFar, kCorner);
    }
    source->DrawSection(&dc, x, y, kCorner, kCorner, 0, 0);
    source->DrawSection(&dc, x + w - kCorner, y, kCorner, kCorner, kFar, 0);
    source->DrawSection(&dc, x, y + h - kCorner, kCorner, kCorner, 0, kFar);
    source->DrawSection(&dc, x + w - kCorner, y + h - kCorner, kCorner, kCorner, kFar, kFar);
}

void DrawLevelSlider(int32_t imageId, const TImageFinder& images, CRaster& dc, int32_t top, int32_t left,
                     int32_t width, int32_t height)
{
    CImageBuffer* source = images ? images(imageId) : nullptr;
    if (source == nullptr)
        return;
    const int32_t x = left;
    const int32_t y = top;
    const int32_t w = width;
    const int32_t h = height;

    if (w <= h)
    {
        const int32_t xs = x + (w - kSliderSide) / 2;
        const auto k = static_cast<int32_t>((h - 52) * 0.5 + 8);
        for (int32_t i = 0; i < h - 2 * kCap; ++i)
            source->DrawSection(&dc, xs, y + kCap + i, kSliderSide, 1, 0, i < k ? kCap : kLowerTrack);
        source->DrawSection(&dc, xs, y, kSliderSide, kCap, 0, 0);
        source->DrawSection(&dc, xs, y + h - kCap, kSliderSide, kCap, 0, kBottomCap);
        source->DrawSection(&dc, xs, y + k - 3, kKnob, kKnob, 0, kKnobRow);
        return;
    }

    // The composite is drawn for a vertical slider; a quarter turn clockwise
    // brings its bottom cap to the left end.
    CImageBuffer turned;
    if (!source->RotateRight(&turned))
        return;
    const int32_t ys = y + (h - kSliderSide) / 2;
    const auto k = static_cast<int32_t>((w - 52) * 0.5 + 10);
    for (int32_t i = 0; i < w - 2 * kCap; ++i)
        turned.DrawSection(&dc, x + kCap + i, ys, 1, kSliderSide, i < k ? kCap : kBottomCap, 0);
    turned.DrawSection(&dc, x + w - kCap, ys, kCap, kSliderSide, kBottomCap, 0);
    turned.DrawSection(&dc, x, ys, kCap, kSliderSide, 0, 0);
    turned.DrawSection(&dc, x + k - 3, ys, kKnob, kKnob, kKnobRow, 0);
}

void DrawPictureCentred(CImageBuffer& picture, CRaster& dc, const TRect& rect)
{
    const auto w = static_cast<int32_t>(picture.GetWidth());
    const auto h = static_cast<int32_t>(picture.GetHeight());
    picture.Draw(&dc, rect.left + (rect.Width() - w) / 2, rect.top + (rect.Height() - h) / 2, -1, -1, nullptr,
                 false);
}

void DrawFace(const TUserFace& face, const TImageFinder& images, CRaster& dc, const TRect& rect)
{
    switch (face.type)
    {
    case kFaceButton:
        DrawButtonFace(face.param, images, dc, rect.top, rect.left, rect.Width(), rect.Height());
        break;
    case kFaceImage:
        if (CImageBuffer* picture = images ? images(face.param) : nullptr)
            picture->Draw(&dc, rect.left, rect.top, -1, -1, &rect, false);
        break;
    case kFaceColour:
        if (face.param == kColourSingle)
        {
            if (!rect.IsEmpty())
                dc.FillRect(rect, ColourOf(face.colour1));
        }
        else if (face.param >= kColourLeftToRight && face.param <= kColourRadial)
        {
            DrawGradient(dc, face.param, ColourOf(face.colour1), ColourOf(face.colour2), rect);
        }
        break;
    default:
        break;
    }
}

void DrawHotspotGrid(CRaster& dc, int32_t x, int32_t y, int32_t width, int32_t height)
{
    dc.SaveState();
    dc.SetPen(EPenStyle::Dot, Rgb(128, 128, 128));
    for (int32_t d = kHotspotStep; d < width; d += kHotspotStep)
    {
        dc.MoveTo(x + d, y);
        dc.LineTo(x + d, y + height);
    }
    for (int32_t d = kHotspotStep; d < height; d += kHotspotStep)
    {
        dc.MoveTo(x, y + d);
        dc.LineTo(x + width, y + d);
    }
    dc.MoveTo(x, y);
    dc.LineTo(x + width, y);
    dc.LineTo(x + width, y + height);
    dc.LineTo(x, y + height);
    dc.LineTo(x, y);
    dc.RestoreState();
}

void DrawSelection(CRaster& dc, const TRect& rect)
{
    const int32_t l = rect.left - 1;
    const int32_t t = rect.top - 1;
    const int32_t r = rect.right + 1;
    const int32_t b = rect.bottom + 1;

    dc.SaveState();
    dc.SetBackgroundMode(EBackgroundMode::Transparent);
    dc.SetPen(EPenStyle::Dot, Rgb(0, 0, 0));
    dc.MoveTo(l, t);
    dc.LineTo(r - 1, t);
    dc.LineTo(r - 1, b - 1);
    dc.LineTo(l, b - 1);
    dc.LineTo(l, t);

    dc.SetPen(EPenStyle::Solid, Rgb(0, 0, 0));
    dc.SetBrush(Rgb(255, 255, 255));
    const int32_t corners[4][2] = {{l, t}, {l, b}, {r, t}, {r, b}};
    for (const auto& c : corners)
        dc.Rectangle(c[0] - 3, c[1] - 3, c[0] + 3, c[1] + 3);
    dc.RestoreState();
    // Only pen and brush go back; the background mode stays transparent.
    dc.SetBackgroundMode(EBackgroundMode::Transparent);
}

void DrawObject(const TUserObject& object, const TImageFinder& images, CRaster& dc)
{
    const TRect rect{object.left, object.top, object.left + object.width, object.top + object.height};
    switch (object.type)
    {
    case kObjectButton:
        if (const auto* button = dynamic_cast<const TUserButton*>(&object))
            DrawFace(button->upFace, images, dc, rect);
        break;
    case kObjectImage:
        if (const auto* image = dynamic_cast<const TUserImage*>(&object))
            DrawFace(image->face, images, dc, rect);
        break;
    case kObjectLevel:
        if (const auto* level = dynamic_cast<const TUserLevel*>(&object))
            DrawLevelSlider(level->sliderImageId, images, dc, object.top, object.left, object.width,
                            object.height);
        break;
    case kObjectHotspot:
        DrawHotspotGrid(dc, object.left, object.top, object.width, object.height);
        break;
    default:
        break;
    }
}

void PaintPage(const TUserPage& page, const TImageFinder& images, CRaster& dc, const TUserObject* selected)
{
    dc.SaveState();
    dc.IntersectClip(TRect{0, 0, kPageWidth, kPageHeight});
    DrawFace(page.face, images, dc, TRect{0, 0, kPageWidth, kPageHeight});
    for (const auto& object : page.objects)
        DrawObject(*object, images, dc);
    if (selected != nullptr)
        DrawSelection(dc, TRect{selected->left, selected->top, selected->left + selected->width,
                                selected->top + selected->height});
    dc.RestoreState();
}
