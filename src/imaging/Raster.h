#pragma once

#include <cstdint>
#include <vector>

// A rectangle: left <= x < right, top <= y < bottom.
struct TRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    TRect Intersect(const TRect& o) const;
    bool operator==(const TRect&) const = default;
};

// A rectangle that may reach far beyond any raster, such as an object's
// (left, top, left + width, top + height) with 32-bit fields: its edges need
// 64 bits. What of it falls on a raster is an ordinary TRect.
struct TRect64
{
    int64_t left = 0;
    int64_t top = 0;
    int64_t right = 0;
    int64_t bottom = 0;

    constexpr TRect64() = default;
    constexpr TRect64(int64_t l, int64_t t, int64_t r, int64_t b) : left(l), top(t), right(r), bottom(b) {}
    constexpr TRect64(const TRect& r) : left(r.left), top(r.top), right(r.right), bottom(r.bottom) {}
    static constexpr TRect64 OfSize(int32_t left, int32_t top, int32_t width, int32_t height)
    {
        return {left, top, int64_t{left} + width, int64_t{top} + height};
    }

    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // The part inside o; an empty rectangle at o's corner when they do not meet.
    TRect Intersect(const TRect& o) const;
};

// Colours are 32-bit values with red in the lowest byte, then green, then
// blue; the highest byte is 0.
using TColor = uint32_t;
constexpr TColor Rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr uint8_t RedOf(TColor c)
{
    return static_cast<uint8_t>(c);
}
constexpr uint8_t GreenOf(TColor c)
{
    return static_cast<uint8_t>(c >> 8);
}
constexpr uint8_t BlueOf(TColor c)
{
    return static_cast<uint8_t>(c >> 16);
}

enum class EPenStyle
{
    Null,
    Solid,
    Dot,
};

enum class EBackgroundMode
{
    Transparent,
    Opaque,
};

// The drawing surface every paint goes through: a width x height grid of
// colours, black when made, with a clip rectangle, a pen, a brush, a
// background mode and colour, and a stack of saved states.
class CRaster
{
public:
    CRaster(int32_t width, int32_t height);

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }

    // The clip rectangle, always within the raster. SetClip replaces it by the
    // raster's bounds intersected with the given rectangle; IntersectClip
    // narrows it further.
    const TRect& GetClip() const { return m_state.clip; }
    void SetClip(const TRect& rect);
    void IntersectClip(const TRect& rect);
    void ResetClip();

    // Saves the whole drawing state (clip, pen, brush, background, current
    // point) and restores the last one saved.
    void SaveState();
    void RestoreState();

    void SetPen(EPenStyle style, TColor color);
    void SetBrush(TColor color);
    void SetNullBrush();
    void SetBackgroundMode(EBackgroundMode mode);
    void SetBackgroundColor(TColor color);

    // Lines leave out their end pixel. A dotted pen restarts its pattern with
    // a dot at the start of each line.
    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    // Outline with the pen, inside with the brush; right and bottom exclusive.
    // With a null pen the brush fills the whole rectangle. The current point
    // stays where it was.
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Fills with a colour, ignoring pen and brush.
    void FillRect(const TRect& rect, TColor color);

    // Pixel access; SetPixel honours the clip, reads outside give 0.
    void SetPixel(int32_t x, int32_t y, TColor color);
    TColor GetPixel(int32_t x, int32_t y) const;

    // Copies the w x h block at (sx, sy) of source to (x, y), within the clip.
    void CopyFrom(const CRaster& source, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy);

    // Direct access for fast paths: row y starts at Pixels() + y * Width().
    TColor* Pixels() { return m_pixels.data(); }
    const TColor* Pixels() const { return m_pixels.data(); }

private:
    void DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

    struct TState
    {
        TRect clip;
        EPenStyle penStyle = EPenStyle::Solid;
        TColor penColor = 0;
        bool brushNull = false;
        TColor brushColor = Rgb(255, 255, 255);
        EBackgroundMode bkMode = EBackgroundMode::Opaque;
        TColor bkColor = Rgb(255, 255, 255);
        int32_t curX = 0;
        int32_t curY = 0;
    };

    int32_t m_width;
    int32_t m_height;
    std::vector<TColor> m_pixels;
    TState m_state;
    std::vector<TState> m_saved;
};
