#include "Pictures.h"

#include "ArtCanvas.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace
{

// The theme: near-black slate surfaces, one cool blue accent, light ink.
const TPaint kAccent = Hex(0x3FA9F5);
const TPaint kAccentLight = Hex(0x8ED3FF);
const TPaint kInk = Hex(0xDCE5EF);

TPaint Scale(TPaint p, float f)
{
    p.r *= f;
    p.g *= f;
    p.b *= f;
    return p;
}

TPaint WithAlpha(TPaint p, float a)
{
    p.a = a;
    return p;
}

// A ramp through evenly given stops.
TPaint Ramp(std::initializer_list<TPaint> stops, float t)
{
    const auto* first = stops.begin();
    const size_t n = stops.size();
    const float pos = Clamp01(t) * static_cast<float>(n - 1);
    const size_t i = std::min(static_cast<size_t>(pos), n - 2);
    return Mix(first[i], first[i + 1], pos - static_cast<float>(i));
}

// The shape of a stroke of the given width along a distance.
float Stroke(float distance, float width)
{
    return distance - width * 0.5f;
}

float Everywhere(float, float)
{
    return -1.0f;
}

// Backgrounds are opaque and dithered; each is a function of the pixel centre.
template <class Paint> CImageBuffer Background(Paint paint)
{
    CArtCanvas canvas(320, 240);
    canvas.Fill(Everywhere, paint);
    return canvas.ToImage(true);
}

CImageBuffer MainBackground()
{
    return Background(
        [](float px, float py)
        {
            TPaint c = Mix(Hex(0x18202A), Hex(0x0A0D12), py / 240.0f);
            const float gx = (px - 160.0f) / 210.0f;
            const float gy = (py + 30.0f) / 140.0f;
            c = Mix(c, Hex(0x22405E), 0.38f * std::exp(-(gx * gx + gy * gy)));
            const float vx = (px - 160.0f) / 160.0f;
            const float vy = (py - 120.0f) / 120.0f;
            return Scale(c, 1.0f - 0.12f * (vx * vx + vy * vy));
        });
}

// Faint rings spreading from the lower left, like sound leaving a speaker.
CImageBuffer FrontPageBackground()
{
    return Background(
        [](float px, float py)
        {
            TPaint c = Mix(Hex(0x141B25), Hex(0x07090D), Clamp01(px / 320.0f * 0.35f + py / 240.0f * 0.65f));
            const float d = std::hypot(px + 30.0f, py - 270.0f);
            c = Mix(c, Hex(0x0F3A60), 0.6f * std::exp(-(d / 190.0f) * (d / 190.0f)));
            for (float r = 110.0f; r < 420.0f; r += 42.0f)
            {
                const float ring = Clamp01(1.0f - std::fabs(d - r) / 0.9f);
                c = Mix(c, kAccent, ring * 0.11f * (1.0f - r / 460.0f));
            }
            return c;
        });
}

// Slate blue with a fine dot grid that fades downwards.
CImageBuffer Vkx4PageBackground()
{
    return Background(
        [](float px, float py)
        {
            const float t = py / 240.0f;
            TPaint c = Mix(Hex(0x1B2532), Hex(0x0C1118), t);
            const float cx = (px - 160.0f) / 200.0f;
            c = Mix(c, Hex(0x223246), 0.25f * std::exp(-cx * cx) * (1.0f - t));
            const float dx = std::fmod(px, 12.0f) - 6.0f;
            const float dy = std::fmod(py, 12.0f) - 6.0f;
            const float dot = Clamp01(0.5f - (std::hypot(dx, dy) - 0.7f));
            return Mix(c, Hex(0x6A86A6), dot * 0.16f * (1.0f - 0.65f * t));
        });
}

// Graphite with fine scan lines and a cool light from the top right.
CImageBuffer Vkx8PageBackground()
{
    return Background(
        [](float px, float py)
        {
            TPaint c = Mix(Hex(0x1D1F23), Hex(0x0D0E11), Clamp01(0.55f * py / 240.0f + 0.45f * px / 320.0f));
            const float d = std::hypot(px - 330.0f, py + 20.0f) / 170.0f;
            c = Mix(c, Hex(0x1E3D5C), 0.45f * std::exp(-d * d));
            if (static_cast<int32_t>(py) % 3 == 0)
                c = Scale(c, 0.86f);
            return c;
        });
}

// A header band with an accent rule over a quiet body, for list-like pages.
CImageBuffer SelectPageBackground()
{
    constexpr float kRule = 32.0f;
    return Background(
        [](float px, float py)
        {
            if (py < 1.0f)
                return Hex(0x2D3845);
            if (py < kRule)
                return Mix(Hex(0x222B36), Hex(0x161C24), py / kRule);
            if (py < kRule + 1.0f)
            {
                const float u = (px - 160.0f) / 160.0f;
                return Mix(Hex(0x141920), kAccent, 0.9f * (1.0f - 0.8f * u * u));
            }
            TPaint c = Mix(Hex(0x11161D), Hex(0x090B0F), (py - kRule) / (240.0f - kRule));
            return Scale(c, 1.0f - 0.45f * std::exp(-(py - kRule - 1.0f) / 3.0f));
        });
}

// The track is the 9 columns 18 to 26 on the axis of the 45-column caps;
// pixel-aligned sides keep it fully opaque so rows drawn twice stay the same.
constexpr float kTrackLeft = 18.0f;
constexpr float kTrackRight = 27.0f;
constexpr float kTrackAxis = 22.5f;
constexpr float kTrackRadius = 4.5f;

TPaint EmptyTrack(float inner)
{
    if (inner < 1.0f)
        return Hex(0x2B3541);
    if (inner < 2.0f)
        return Hex(0x07090D);
    return Hex(0x0C1016);
}

TPaint FullTrack(float px, float inner)
{
    if (inner < 1.0f)
        return Hex(0x1C5F9C);
    const float u = std::fabs(px - kTrackAxis) / 3.5f;
    return Mix(Hex(0x86CFFF), Hex(0x2D8BD8), std::pow(Clamp01(u), 1.2f));
}

// Top cap and upper track (rows 0 to 15) in the empty style, the knob in rows
// 16 to 59, and the lower track and bottom cap (rows 60 to 75) in the accent
// style. The rows next to the knob (14, 15, 60, 61) look like track, because
// sliders lying on their side draw row 14 as their track and the knob's
// piece takes in rows 14 and 15 or 60 and 61 depending on the orientation.
CImageBuffer SliderComposite()
{
    CArtCanvas canvas(46, 76);

    const auto upper = [](float px, float py)
    {
        if (py > 16.0f)
            return 1.0f;
        return SdRoundRect(px, py, kTrackLeft, 1.0f, kTrackRight, 40.0f, kTrackRadius);
    };
    canvas.Fill(upper, [&](float px, float py) { return EmptyTrack(-upper(px, py)); });

    const auto lower = [](float px, float py)
    {
        if (py < 60.0f)
            return 1.0f;
        return SdRoundRect(px, py, kTrackLeft, 36.0f, kTrackRight, 75.0f, kTrackRadius);
    };
    canvas.Fill(lower, [&](float px, float py) { return FullTrack(px, -lower(px, py)); });

    constexpr float kx = kTrackAxis;
    constexpr float ky = 38.0f;
    constexpr float kRadius = 18.0f;
    const auto dist = [](float px, float py) { return std::hypot(px - kx, py - ky); };
    const auto inKnobRows = [](float py) { return py > 16.0f && py < 60.0f; };

    canvas.Fill([&](float px, float py) { return inKnobRows(py) ? dist(px, py) - (kRadius + 3.5f) : 1.0f; },
                [&](float px, float py)
                {
                    const float e = (dist(px, py) - kRadius) / 1.8f;
                    return Hex(0x000000, 0.55f * std::exp(-e * e));
                });
    canvas.Fill([&](float px, float py) { return dist(px, py) - kRadius; },
                [&](float px, float py)
                {
                    const float t = std::pow(dist(px, py) / kRadius, 1.6f);
                    return Mix(Hex(0x3A4552), Hex(0x1A2029), t);
                });
    canvas.FillSolid([&](float px, float py)
                     { return Stroke(std::fabs(dist(px, py) - (kRadius - 0.5f)), 1.0f); },
                     Hex(0x090C10));
    canvas.FillSolid([&](float px, float py)
                     { return Stroke(std::fabs(dist(px, py) - (kRadius - 1.5f)), 1.0f); },
                     Hex(0x5A6673, 0.4f));
    canvas.Fill([&](float px, float py) { return dist(px, py) - 14.0f; },
                [&](float px, float py)
                {
                    const float e = (dist(px, py) - 10.5f) / 2.2f;
                    return WithAlpha(kAccent, 0.3f * std::exp(-e * e));
                });
    canvas.FillSolid([&](float px, float py) { return Stroke(std::fabs(dist(px, py) - 10.5f), 1.8f); },
                     kAccent);
    canvas.FillSolid([&](float px, float py) { return dist(px, py) - 3.0f; }, kAccentLight);

    return canvas.ToImage(false);
}

// Nine-slice sources (31 x 31): the canvas fills the inside of a button with
// the centre pixel's colour from 3 pixels inside its left and top edges, under
// the corner and edge pieces. Shapes therefore span 1 to 30 and are fully
// opaque from there inwards, and everything 13 or more pixels inside the
// outline is exactly the centre colour.
constexpr float kSliceNear = 1.0f;
constexpr float kSliceFar = 30.0f;

CImageBuffer WireframeButtonComposite()
{
    const TPaint inside = Hex(0x11161D);
    CArtCanvas canvas(31, 31);
    const auto shape = [](float px, float py)
    { return SdRoundRect(px, py, kSliceNear, kSliceNear, kSliceFar, kSliceFar, 4.0f); };
    canvas.Fill(shape, [&](float px, float py)
                { return Mix(Hex(0x8C9DB1), inside, Clamp01(-shape(px, py) - 0.5f)); });
    return canvas.ToImage(false);
}

CImageBuffer BlueGlowButtonComposite()
{
    const TPaint inside = Hex(0x14202D);
    CArtCanvas canvas(31, 31);
    const auto shape = [](float px, float py)
    { return SdRoundRect(px, py, kSliceNear, kSliceNear, kSliceFar, kSliceFar, 6.0f); };
    canvas.Fill([&](float px, float py) { return shape(px, py) - 1.5f; }, [&](float px, float py)
                { return WithAlpha(kAccent, 0.3f * Clamp01(1.0f - std::max(shape(px, py), 0.0f) / 1.5f)); });
    canvas.Fill(shape,
                [&](float px, float py)
                {
                    const float inner = -shape(px, py);
                    TPaint c = inside;
                    if (py < 13.0f)
                    {
                        const float s = 1.0f - Clamp01((py - 1.0f) / 12.0f);
                        c = Mix(c, Hex(0x2A4560), 0.6f * s * s);
                    }
                    const float g = (inner - 1.0f) / 2.4f;
                    c = Mix(c, kAccent, 0.5f * std::exp(-g * g));
                    return Mix(Hex(0x56B9FF), c, Clamp01(inner - 0.5f));
                });
    return canvas.ToImage(false);
}

CImageBuffer SquareBlueComposite()
{
    const TPaint inside = Hex(0x1D5F9F);
    CArtCanvas canvas(31, 31);
    const auto shape = [](float px, float py)
    { return SdRoundRect(px, py, kSliceNear, kSliceNear, kSliceFar, kSliceFar, 0.0f); };
    canvas.FillSolid([&](float px, float py) { return shape(px, py) - 1.0f; }, Hex(0x000000, 0.3f));
    canvas.Fill(shape,
                [&](float px, float py)
                {
                    const float inner = -shape(px, py);
                    TPaint c = inside;
                    if (py < 13.0f)
                    {
                        const float s = 1.0f - Clamp01((py - 2.0f) / 11.0f);
                        c = Mix(c, Hex(0x3D92DA), 0.6f * std::pow(s, 1.5f));
                    }
                    if (py > 19.0f)
                        c = Mix(c, Hex(0x113C68), 0.5f * std::pow(Clamp01((py - 19.0f) / 10.0f), 1.5f));
                    if (inner < 2.0f)
                        c = Mix(c, Hex(0x6CC0FF), 0.3f);
                    if (inner < 1.0f)
                        c = Hex(0x0B2A4A);
                    return c;
                });
    return canvas.ToImage(false);
}

float CheckBoxShape(float px, float py)
{
    return SdRoundRect(px, py, 2.0f, 2.0f, 22.0f, 22.0f, 4.5f);
}

CImageBuffer CheckBoxSelected()
{
    CArtCanvas canvas(24, 24);
    canvas.Fill(
        [](float px, float py) { return CheckBoxShape(px, py) - 1.5f; }, [](float px, float py)
        { return WithAlpha(kAccent, 0.3f * Clamp01(1.0f - std::max(CheckBoxShape(px, py), 0.0f) / 1.5f)); });
    canvas.Fill(CheckBoxShape,
                [](float px, float py)
                {
                    const TPaint c = Mix(Hex(0x5BBBFB), Hex(0x2182D5), (py - 2.0f) / 20.0f);
                    return Mix(Hex(0x9ED9FF), c, Clamp01(-CheckBoxShape(px, py) - 0.5f) * 0.5f + 0.5f);
                });
    canvas.FillSolid(
        [](float px, float py)
        {
            return Stroke(std::min(DistSegment(px, py, 6.8f, 12.2f, 10.3f, 15.7f),
                                   DistSegment(px, py, 10.3f, 15.7f, 17.2f, 8.3f)),
                          2.5f);
        },
        Hex(0xFFFFFF));
    return canvas.ToImage(false);
}

CImageBuffer CheckBoxUnselected()
{
    CArtCanvas canvas(24, 24);
    canvas.Fill(CheckBoxShape, [](float px, float py)
                { return Mix(Hex(0x7E8EA2), Hex(0x0F141A, 0.9f), Clamp01(-CheckBoxShape(px, py) - 1.0f)); });
    return canvas.ToImage(false);
}

// A wedge that narrows downwards, lit like a rounded bar.
CImageBuffer GradientTapper()
{
    CArtCanvas canvas(26, 188);
    const std::vector<float> wedge = {2.5f, 2.5f, 23.5f, 2.5f, 14.5f, 185.5f, 11.5f, 185.5f};
    const auto shape = [&](float px, float py) { return SdPolygon(px, py, wedge) - 1.5f; };
    canvas.Fill(shape,
                [&](float px, float py)
                {
                    const float t = Clamp01((py - 1.0f) / 186.0f);
                    TPaint c = Ramp({Hex(0x9ADBFF), Hex(0x3FA9F5), Hex(0x1F6FB5), Hex(0x0D355C)}, t);
                    const float halfWidth = 12.0f + (3.0f - 12.0f) * t;
                    const float u = std::clamp((px - 13.0f) / halfWidth, -1.0f, 1.0f);
                    const float h = (u + 0.45f) / 0.3f;
                    c = Scale(c, 1.0f - 0.3f * u * u);
                    c = Mix(c, Hex(0xFFFFFF), 0.22f * std::exp(-h * h));
                    return c;
                });
    return canvas.ToImage(false);
}

float Box(float px, float py, float left, float top, float right, float bottom)
{
    return SdRoundRect(px, py, left, top, right, bottom, 0.0f);
}

// "QEL" in 3-pixel geometric strokes on the pixel grid, the tail of the Q in
// the accent colour.
CImageBuffer Logo()
{
    CArtCanvas canvas(90, 21);
    constexpr float qx = 24.5f;
    constexpr float qy = 10.5f;
    canvas.FillSolid(
        [](float px, float py) { return Stroke(std::fabs(SdCircle(px, py, qx, qy, 6.0f)), 3.0f); }, kInk);
    canvas.FillSolid(
        [](float px, float py)
        { return Stroke(DistSegment(px, py, qx + 3.3f, qy + 3.3f, qx + 7.5f, qy + 7.5f), 3.0f); },
        kAccent);
    canvas.FillSolid(
        [](float px, float py)
        {
            return std::min({Box(px, py, 40, 3, 43, 18), Box(px, py, 40, 3, 53, 6),
                             Box(px, py, 40, 9, 51, 12), Box(px, py, 40, 15, 53, 18)});
        },
        kInk);
    canvas.FillSolid([](float px, float py)
                     { return std::min(Box(px, py, 61, 3, 64, 18), Box(px, py, 61, 15, 73, 18)); },
                     kInk);
    return canvas.ToImage(false);
}

CImageBuffer SmallDownIcon()
{
    CArtCanvas canvas(18, 17);
    canvas.FillSolid(
        [](float px, float py)
        {
            return Stroke(std::min(DistSegment(px, py, 4.5f, 6.3f, 9.0f, 10.8f),
                                   DistSegment(px, py, 9.0f, 10.8f, 13.5f, 6.3f)),
                          2.2f);
        },
        kInk);
    return canvas.ToImage(false);
}

// An arrow running left along the top, turning down and back round a
// half circle.
CImageBuffer ReturnIcon()
{
    CArtCanvas canvas(27, 27);
    constexpr float cx = 15.5f;
    constexpr float cy = 15.0f;
    constexpr float r = 5.5f;
    canvas.FillSolid(
        [](float px, float py)
        {
            const float arc =
                px >= cx ? std::fabs(std::hypot(px - cx, py - cy) - r)
                         : std::min(std::hypot(px - cx, py - (cy - r)), std::hypot(px - cx, py - (cy + r)));
            const float d = std::min({arc, DistSegment(px, py, 6.0f, cy - r, cx, cy - r),
                                      DistSegment(px, py, 9.0f, cy + r, cx, cy + r),
                                      DistSegment(px, py, 5.5f, cy - r, 10.0f, cy - r - 4.5f),
                                      DistSegment(px, py, 5.5f, cy - r, 10.0f, cy - r + 4.5f)});
            return Stroke(d, 2.3f);
        },
        kInk);
    return canvas.ToImage(false);
}

// A tag pointing left, as on a delete key, with a cross in it.
CImageBuffer CancelIcon()
{
    CArtCanvas canvas(33, 25);
    const std::vector<float> tag = {3.5f, 12.5f, 11.0f, 4.5f, 29.0f, 4.5f, 29.0f, 20.5f, 11.0f, 20.5f};
    canvas.FillSolid([&](float px, float py) { return Stroke(std::fabs(SdPolygon(px, py, tag)), 2.0f); },
                     kInk);
    canvas.FillSolid(
        [](float px, float py)
        {
            return Stroke(std::min(DistSegment(px, py, 16.5f, 9.0f, 23.5f, 16.0f),
                                   DistSegment(px, py, 16.5f, 16.0f, 23.5f, 9.0f)),
                          2.2f);
        },
        kInk);
    return canvas.ToImage(false);
}

} // namespace

CImageBuffer DrawPicture(int32_t id)
{
    switch (id)
    {
    case 1:
        return MainBackground();
    case 2:
        return SliderComposite();
    case 3:
        return WireframeButtonComposite();
    case 4:
        return BlueGlowButtonComposite();
    case 5:
        return CheckBoxSelected();
    case 6:
        return CheckBoxUnselected();
    case 7:
        return GradientTapper();
    case 8:
        return Logo();
    case 9:
        return SmallDownIcon();
    case 10:
        return ReturnIcon();
    case 11:
        return CancelIcon();
    case 12:
        return FrontPageBackground();
    case 13:
        return Vkx4PageBackground();
    case 14:
        return Vkx8PageBackground();
    case 15:
        return SelectPageBackground();
    case 16:
        return SquareBlueComposite();
    default:
        return CImageBuffer();
    }
}
