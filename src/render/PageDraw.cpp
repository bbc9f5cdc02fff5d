#include "PageDraw.h"

#include "ImageBuffer.h"
#include "ObjectVisitor.h"
#include "SliderKnob.h"
#include "UserButton.h"
#include "UserFace.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserObject.h"
#include "UserPage.h"

#include <algorithm>
#include <climits>
#include <utility>
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

// The indices i from 0 to count - 1 whose pixel start + i lies in [lo, hi):
// loops over the pixels of an object visit only those that can show.
std::pair<int64_t, int64_t> VisibleRange(int64_t start, int64_t count, int32_t lo, int32_t hi)
{
    const int64_t first = std::max<int64_t>(0, lo - start);
    const int64_t last = std::min<int64_t>(count, hi - start);
    return {first, std::max(first, last)};
}

// Draws the w x h piece at (sx, sy) of a picture to (x, y) when any of it
// falls inside the clip; pieces further off are never handed on, so their
// positions need not fit 32 bits.
void DrawPiece(CImageBuffer& picture, CRaster& dc, int64_t x, int64_t y, int32_t w, int32_t h, int32_t sx,
               int32_t sy)
{
    const TRect& clip = dc.GetClip();
    if (x + w <= clip.left || x >= clip.right || y + h <= clip.top || y >= clip.bottom)
        return;
    picture.DrawSection(&dc, static_cast<int32_t>(x), static_cast<int32_t>(y), w, h, sx, sy);
}

// A run of pixels on one axis from a towards b, b left out, narrowed to what
// can fall in [lo, hi). The start moves by an even number of pixels, so a
// dotted pen, whose pattern starts at the run's first pixel, puts its dots
// where the whole run would. False when no pixel of it falls there.
bool NarrowRun(int64_t a, int64_t b, int32_t lo, int32_t hi, int32_t& from, int32_t& to)
{
    if (a < b)
    {
        // Pixels a to b - 1.
        if (b <= lo || a >= hi)
            return false;
        if (a < int64_t{lo} - 1)
            a += (lo - a) / 2 * 2;
        b = std::min<int64_t>(b, hi);
    }
    else if (a > b)
    {
        // Pixels a down to b + 1.
        if (a < lo || b >= int64_t{hi} - 1)
            return false;
        if (a > hi)
            a -= (a - hi) / 2 * 2;
        b = std::max<int64_t>(b, int64_t{lo} - 1);
    }
    else
    {
        return false;
    }
    from = static_cast<int32_t>(a);
    to = static_cast<int32_t>(b);
    return true;
}

// A horizontal or vertical line from (x0, y0) to (x1, y1) with the current
// pen, end pixel left out, as LineTo draws it, for ends of any size. Page
// drawing draws no other lines.
void DrawSegment(CRaster& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    const TRect clip = dc.GetClip();
    int32_t from = 0;
    int32_t to = 0;
    if (y0 == y1)
    {
        if (y0 < clip.top || y0 >= clip.bottom || !NarrowRun(x0, x1, clip.left, clip.right, from, to))
            return;
        dc.MoveTo(from, static_cast<int32_t>(y0));
        dc.LineTo(to, static_cast<int32_t>(y0));
    }
    else if (x0 == x1)
    {
        if (x0 < clip.left || x0 >= clip.right || !NarrowRun(y0, y1, clip.top, clip.bottom, from, to))
            return;
        dc.MoveTo(static_cast<int32_t>(x0), from);
        dc.LineTo(static_cast<int32_t>(x0), to);
    }
}

// The first multiple of step from step on at which start + d reaches lo.
int64_t FirstStepReaching(int64_t start, int32_t lo, int32_t step)
{
    const int64_t gap = lo - start;
    return gap <= step ? step : (gap + step - 1) / step * step;
}

} // namespace

void DrawGradient(CRaster& dc, int32_t mode, uint32_t colour1, uint32_t colour2, const TRect64& rect)
{
    const int64_t w = rect.Width();
    const int64_t h = rect.Height();
    if (w <= 0 || h <= 0)
        return;
    int64_t length = 0;
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
    const TRect area = rect.Intersect(dc.GetClip());
    if (area.IsEmpty())
        return;

    const int r1 = RedOf(colour1), g1 = GreenOf(colour1), b1 = BlueOf(colour1);
    const auto span = static_cast<double>(length);
    const double dR = static_cast<double>(RedOf(colour2) - r1) / span;
    const double dG = static_cast<double>(GreenOf(colour2) - g1) / span;
    const double dB = static_cast<double>(BlueOf(colour2) - b1) / span;

    // The colour depends only on the position along the ramp, so each
    // position that shows is worked out once; the object may be far larger
    // than what shows of it.
    const int64_t i0 = area.left - rect.left;
    const int64_t j0 = area.top - rect.top;
    int64_t first = 0;
    int64_t count = 0;
    switch (mode)
    {
    case kColourLeftToRight:
        first = i0;
        count = area.Width();
        break;
    case kColourTopToBottom:
        first = j0;
        count = area.Height();
        break;
    default:
        first = i0 + j0;
        count = int64_t{area.Width()} + area.Height() - 1;
        break;
    }
    std::vector<TColor> ramp(static_cast<size_t>(count));
    for (int64_t q = 0; q < count; ++q)
    {
        const auto p = static_cast<double>(first + q);
        const double k = static_cast<double>(static_cast<int64_t>(p * (p / span)));
        const auto channel = [k](double d, int base)
        { return static_cast<uint8_t>(static_cast<int64_t>(k * d + base)); };
        ramp[static_cast<size_t>(q)] = Rgb(channel(dR, r1), channel(dG, g1), channel(dB, b1));
    }

    TColor* pixels = dc.Pixels();
    for (int32_t y = area.top; y < area.bottom; ++y)
    {
        TColor* row = pixels + static_cast<size_t>(y) * dc.Width();
        const int32_t j = y - area.top;
        for (int32_t x = area.left; x < area.right; ++x)
        {
            const int32_t i = x - area.left;
            const int32_t q = mode == kColourLeftToRight ? i : mode == kColourTopToBottom ? j : i + j;
            row[x] = ramp[static_cast<size_t>(q)];
        }
    }
}

void DrawButtonFace(int32_t imageId, const TImageFinder& images, CRaster& dc, int64_t top, int64_t left,
                    int64_t width, int64_t height)
{
    CImageBuffer* source = images ? images(imageId) : nullptr;
    if (source == nullptr || source->GetWidth() == 0 || source->GetHeight() == 0)
        return;
    const int64_t x = left;
    const int64_t y = top;
    const int64_t w = width;
    const int64_t h = height;
    const TRect clip = dc.GetClip();

    const TRgbQuad middle = source->GetPixelColor(static_cast<int32_t>(source->GetWidth() / 2),
                                                  static_cast<int32_t>(source->GetHeight() / 2), true);
    dc.FillRect(TRect64{x + 3, y + 3, x + w - 6, y + h - 6}.Intersect(clip),
                Rgb(middle.red, middle.green, middle.blue));

    const auto [columnFrom, columnTo] = VisibleRange(x + kCorner, w - 2 * kCorner, clip.left, clip.right);
    for (int64_t i = columnFrom; i < columnTo; ++i)
    {
        DrawPiece(*source, dc, x + kCorner + i, y, 1, kCorner, kCorner, 0);
        DrawPiece(*source, dc, x + kCorner + i, y + h - kCorner, 1, kCorner, kCorner, kFar);
    }
    const auto [rowFrom, rowTo] = VisibleRange(y + kCorner, h - 2 * kCorner, clip.top, clip.bottom);
    for (int64_t i = rowFrom; i < rowTo; ++i)
    {
        DrawPiece(*source, dc, x, y + kCorner + i, kCorner, 1, 0, kCorner);
        DrawPiece(*source, dc, x + w - kCorner, y + kCorner + i, kCorner, 1, kFar, kCorner);
    }
    DrawPiece(*source, dc, x, y, kCorner, kCorner, 0, 0);
    DrawPiece(*source, dc, x + w - kCorner, y, kCorner, kCorner, kFar, 0);
    DrawPiece(*source, dc, x, y + h - kCorner, kCorner, kCorner, 0, kFar);
    DrawPiece(*source, dc, x + w - kCorner, y + h - kCorner, kCorner, kCorner, kFar, kFar);
}

void DrawLevelSlider(int32_t imageId, const TImageFinder& images, CRaster& dc, int64_t top, int64_t left,
                     int64_t width, int64_t height)
{
    DrawLevelSlider(imageId, images, dc, top, left, width, height, SliderKnobRest(width, height));
}

void DrawLevelSlider(int32_t imageId, const TImageFinder& images, CRaster& dc, int64_t top, int64_t left,
                     int64_t width, int64_t height, int64_t k)
{
    CImageBuffer* source = images ? images(imageId) : nullptr;
    if (source == nullptr)
        return;
    const int64_t x = left;
    const int64_t y = top;
    const int64_t w = width;
    const int64_t h = height;
    const TRect clip = dc.GetClip();

    if (!IsHorizontalSlider(w, h))
    {
        const int64_t xs = x + (w - kSliderSide) / 2;
        const auto [from, to] = VisibleRange(y + kCap, h - 2 * kCap, clip.top, clip.bottom);
        for (int64_t i = from; i < to; ++i)
            DrawPiece(*source, dc, xs, y + kCap + i, kSliderSide, 1, 0, i < k ? kCap : kLowerTrack);
        DrawPiece(*source, dc, xs, y, kSliderSide, kCap, 0, 0);
        DrawPiece(*source, dc, xs, y + h - kCap, kSliderSide, kCap, 0, kBottomCap);
        DrawPiece(*source, dc, xs, y + k - 3, kKnob, kKnob, 0, kKnobRow);
        return;
    }

    // The composite is drawn for a vertical slider; a quarter turn clockwise
    // brings its bottom cap to the left end.
    CImageBuffer turned;
    if (!source->RotateRight(&turned))
        return;
    const int64_t ys = y + (h - kSliderSide) / 2;
    const auto [from, to] = VisibleRange(x + kCap, w - 2 * kCap, clip.left, clip.right);
    for (int64_t i = from; i < to; ++i)
        DrawPiece(turned, dc, x + kCap + i, ys, 1, kSliderSide, i < k ? kCap : kBottomCap, 0);
    DrawPiece(turned, dc, x + w - kCap, ys, kCap, kSliderSide, kBottomCap, 0);
    DrawPiece(turned, dc, x, ys, kCap, kSliderSide, 0, 0);
    DrawPiece(turned, dc, x + k - 3, ys, kKnob, kKnob, kKnobRow, 0);
}

void DrawPictureCentred(CImageBuffer& picture, CRaster& dc, const TRect& rect)
{
    const auto w = static_cast<int32_t>(picture.GetWidth());
    const auto h = static_cast<int32_t>(picture.GetHeight());
    picture.Draw(&dc, rect.left + (rect.Width() - w) / 2, rect.top + (rect.Height() - h) / 2, -1, -1, nullptr,
                 false);
}

void DrawFace(const TUserFace& face, const TImageFinder& images, CRaster& dc, const TRect64& rect)
{
    switch (face.type)
    {
    case kFaceButton:
        DrawButtonFace(face.param, images, dc, rect.top, rect.left, rect.Width(), rect.Height());
        break;
    case kFaceImage:
    {
        // A picture is at most 32 bits wide: from a corner beyond 32 bits none of it reaches a raster.
        const TRect area = rect.Intersect(dc.GetClip());
        const bool reachable = rect.left >= INT32_MIN && rect.left <= INT32_MAX && rect.top >= INT32_MIN &&
                               rect.top <= INT32_MAX;
        if (CImageBuffer* picture = images && reachable && !area.IsEmpty() ? images(face.param) : nullptr)
            picture->Draw(&dc, static_cast<int32_t>(rect.left), static_cast<int32_t>(rect.top), -1, -1, &area,
                          false);
        break;
    }
    case kFaceColour:
        if (face.param == kColourSingle)
        {
            dc.FillRect(rect.Intersect(dc.GetClip()), ColourOf(face.colour1));
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
    const int64_t right = int64_t{x} + width;
    const int64_t bottom = int64_t{y} + height;
    const TRect clip = dc.GetClip();
    dc.SaveState();
    dc.SetPen(EPenStyle::Dot, Rgb(128, 128, 128));
    // Only the grid lines that cross the clip: a huge hot spot has millions.
    const int64_t columnsTo = std::min<int64_t>(width, int64_t{clip.right} - x);
    for (int64_t d = FirstStepReaching(x, clip.left, kHotspotStep); d < columnsTo; d += kHotspotStep)
        DrawSegment(dc, x + d, y, x + d, bottom);
    const int64_t rowsTo = std::min<int64_t>(height, int64_t{clip.bottom} - y);
    for (int64_t d = FirstStepReaching(y, clip.top, kHotspotStep); d < rowsTo; d += kHotspotStep)
        DrawSegment(dc, x, y + d, right, y + d);
    DrawSegment(dc, x, y, right, y);
    DrawSegment(dc, right, y, right, bottom);
    DrawSegment(dc, right, bottom, x, bottom);
    DrawSegment(dc, x, bottom, x, y);
    dc.RestoreState();
}

void DrawSelection(CRaster& dc, const TRect64& rect, bool key)
{
    const int64_t l = rect.left - 1;
    const int64_t t = rect.top - 1;
    const int64_t r = rect.right + 1;
    const int64_t b = rect.bottom + 1;

    dc.SaveState();
    dc.SetBackgroundMode(EBackgroundMode::Transparent);
    dc.SetPen(EPenStyle::Dot, Rgb(0, 0, 0));
    DrawSegment(dc, l, t, r - 1, t);
    DrawSegment(dc, r - 1, t, r - 1, b - 1);
    DrawSegment(dc, r - 1, b - 1, l, b - 1);
    DrawSegment(dc, l, b - 1, l, t);

    dc.SetPen(EPenStyle::Solid, Rgb(0, 0, 0));
    dc.SetBrush(key ? Rgb(0, 0, 0) : Rgb(255, 255, 255));
    const TRect clip = dc.GetClip();
    const int64_t corners[4][2] = {{l, t}, {l, b}, {r, t}, {r, b}};
    for (const auto& c : corners)
    {
        // A handle that cannot show is left out; one that can lies within 32 bits.
        if (TRect64{c[0] - 3, c[1] - 3, c[0] + 3, c[1] + 3}.Intersect(clip).IsEmpty())
            continue;
        dc.Rectangle(static_cast<int32_t>(c[0] - 3), static_cast<int32_t>(c[1] - 3),
                     static_cast<int32_t>(c[0] + 3), static_cast<int32_t>(c[1] + 3));
    }
    dc.RestoreState();
    // Only pen and brush go back; the background mode stays transparent.
    dc.SetBackgroundMode(EBackgroundMode::Transparent);
}

void DrawObject(const TUserObject& object, const TImageFinder& images, CRaster& dc)
{
    DrawObject(object, images, dc, TObjectLook{});
}

void DrawObject(const TUserObject& object, const TImageFinder& images, CRaster& dc, const TObjectLook& look)
{
    const TRect64 rect = TRect64::OfSize(object.left, object.top, object.width, object.height);
    // Each kind draws only when the stored type code names it too.
    const auto draw = Overloaded{
        [&](const TUserButton& button)
        {
            if (object.type != kObjectButton)
                return;
            // The panel draws the down face over the button as it stood: what
            // that face leaves undrawn (all of it, for a blank one) still
            // shows the up face.
            DrawFace(button.upFace, images, dc, rect);
            if (look.down)
                DrawFace(button.downFace, images, dc, rect);
        },
        [&](const TUserImage& image)
        {
            if (object.type == kObjectImage)
                DrawFace(image.face, images, dc, rect);
        },
        [&](const TUserLevel& level)
        {
            if (object.type == kObjectLevel)
                DrawLevelSlider(level.sliderImageId, images, dc, object.top, object.left, object.width,
                                object.height,
                                look.knob.value_or(SliderKnobRest(object.width, object.height)));
        },
        [&](const TUserHotspot&)
        {
            if (object.type == kObjectHotspot)
                DrawHotspotGrid(dc, object.left, object.top, object.width, object.height);
        },
        [](const TUserObject&) {},
    };
    VisitObject(object, draw);
}

void DrawRubberBand(CRaster& dc, const TRect64& rect)
{
    if (rect.IsEmpty())
        return;
    dc.SaveState();
    dc.SetBackgroundMode(EBackgroundMode::Opaque);
    dc.SetBackgroundColor(Rgb(255, 255, 255));
    dc.SetPen(EPenStyle::Dot, Rgb(0, 0, 0));
    const int64_t r = rect.right - 1;
    const int64_t b = rect.bottom - 1;
    DrawSegment(dc, rect.left, rect.top, r, rect.top);
    DrawSegment(dc, r, rect.top, r, b);
    DrawSegment(dc, r, b, rect.left, b);
    DrawSegment(dc, rect.left, b, rect.left, rect.top);
    dc.RestoreState();
}

void DrawGuides(CRaster& dc, std::optional<int32_t> x, std::optional<int32_t> y)
{
    dc.SaveState();
    dc.SetPen(EPenStyle::Solid, Rgb(255, 0, 255));
    if (x)
        DrawSegment(dc, *x, 0, *x, kPageHeight);
    if (y)
        DrawSegment(dc, 0, *y, kPageWidth, *y);
    dc.RestoreState();
}

void DrawGrid(CRaster& dc, int32_t step)
{
    if (step <= 0)
        return;
    const TRect clip = dc.GetClip().Intersect(TRect{0, 0, kPageWidth, kPageHeight});
    for (int32_t y = 0; y < clip.bottom; y += step)
    {
        if (y < clip.top)
            continue;
        for (int32_t x = 0; x < clip.right; x += step)
        {
            if (x < clip.left)
                continue;
            // Seen on light and dark pages alike.
            const TColor under = dc.GetPixel(x, y);
            const int light = RedOf(under) + GreenOf(under) + BlueOf(under);
            dc.SetPixel(x, y, light > 384 ? Rgb(0, 0, 0) : Rgb(255, 255, 255));
        }
    }
}

void PaintPage(const TUserPage& page, const TImageFinder& images, CRaster& dc, const TUserObject* selected)
{
    PaintPage(page, images, dc, TPageLook{}, selected);
}

void PaintPage(const TUserPage& page, const TImageFinder& images, CRaster& dc, const TPageLook& look,
               const TUserObject* selected)
{
    dc.SaveState();
    dc.IntersectClip(TRect{0, 0, kPageWidth, kPageHeight});
    DrawFace(page.face, images, dc, TRect{0, 0, kPageWidth, kPageHeight});
    for (size_t i = 0; i < page.objects.size(); ++i)
        DrawObject(*page.objects[i], images, dc, i < look.size() ? look[i] : TObjectLook{});
    if (selected != nullptr)
        DrawSelection(dc, TRect64::OfSize(selected->left, selected->top, selected->width, selected->height));
    dc.RestoreState();
}
