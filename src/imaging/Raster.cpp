#include "Raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

TRect TRect::Intersect(const TRect& o) const
{
    TRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

TRect TRect64::Intersect(const TRect& o) const
{
    const int64_t l = std::max<int64_t>(left, o.left);
    const int64_t t = std::max<int64_t>(top, o.top);
    const int64_t r = std::min<int64_t>(right, o.right);
    const int64_t b = std::min<int64_t>(bottom, o.bottom);
    if (r <= l || b <= t)
        return TRect{o.left, o.top, o.left, o.top};
    // Within o, so within 32 bits.
    return TRect{static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r),
                 static_cast<int32_t>(b)};
}

CRaster::CRaster(int32_t width, int32_t height)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), 0)
{
    m_state.clip = TRect{0, 0, m_width, m_height};
}

void CRaster::SetClip(const TRect& rect)
{
    m_state.clip = TRect{0, 0, m_width, m_height}.Intersect(rect);
}

void CRaster::IntersectClip(const TRect& rect)
{
    m_state.clip = m_state.clip.Intersect(rect);
}

void CRaster::ResetClip()
{
    m_state.clip = TRect{0, 0, m_width, m_height};
}

void CRaster::SaveState()
{
    m_saved.push_back(m_state);
}

void CRaster::RestoreState()
{
    if (m_saved.empty())
        return;
    m_state = m_saved.back();
    m_saved.pop_back();
}

void CRaster::SetPen(EPenStyle style, TColor color)
{
    m_state.penStyle = style;
    m_state.penColor = color;
}

void CRaster::SetBrush(TColor color)
{
    m_state.brushNull = false;
    m_state.brushColor = color;
}

void CRaster::SetNullBrush()
{
    m_state.brushNull = true;
}

void CRaster::SetBackgroundMode(EBackgroundMode mode)
{
    m_state.bkMode = mode;
}

void CRaster::SetBackgroundColor(TColor color)
{
    m_state.bkColor = color;
}

void CRaster::MoveTo(int32_t x, int32_t y)
{
    m_state.curX = x;
    m_state.curY = y;
}

void CRaster::LineTo(int32_t x, int32_t y)
{
    DrawLine(m_state.curX, m_state.curY, x, y);
    m_state.curX = x;
    m_state.curY = y;
}

// Pixel i along a line (counted from its start) is ink when the pen is solid
// or i is even; odd pixels of a dotted line are background in opaque mode.
void CRaster::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const EPenStyle style = m_state.penStyle;
    if (style == EPenStyle::Null || (x0 == x1 && y0 == y1))
        return;
    const TRect& clip = m_state.clip;
    if (clip.IsEmpty())
        return;
    const TColor ink = m_state.penColor;
    const bool dotted = style == EPenStyle::Dot;
    const bool gapsPainted = dotted && m_state.bkMode == EBackgroundMode::Opaque;
    const TColor gap = m_state.bkColor;
    TColor* pixels = m_pixels.data();

    if (y0 == y1)
    {
        if (y0 < clip.top || y0 >= clip.bottom)
            return;
        const int32_t step = x1 > x0 ? 1 : -1;
        // Pixels x0, x0 + step, ..., x1 - step; 64-bit so that no end overflows.
        const auto lo = static_cast<int32_t>(std::max<int64_t>(step > 0 ? x0 : int64_t{x1} + 1, clip.left));
        const auto hi = static_cast<int32_t>(std::min<int64_t>(step > 0 ? x1 : int64_t{x0} + 1, clip.right));
        TColor* row = pixels + static_cast<size_t>(y0) * m_width;
        if (!dotted)
        {
            if (lo < hi)
                std::fill(row + lo, row + hi, ink);
            return;
        }
        for (int32_t px = lo; px < hi; ++px)
        {
            const bool even = ((px - x0) & 1) == 0;
            if (even)
                row[px] = ink;
            else if (gapsPainted)
                row[px] = gap;
        }
        return;
    }
    if (x0 == x1)
    {
        if (x0 < clip.left || x0 >= clip.right)
            return;
        const int32_t step = y1 > y0 ? 1 : -1;
        const auto lo = static_cast<int32_t>(std::max<int64_t>(step > 0 ? y0 : int64_t{y1} + 1, clip.top));
        const auto hi = static_cast<int32_t>(std::min<int64_t>(step > 0 ? y1 : int64_t{y0} + 1, clip.bottom));
        TColor* p = pixels + static_cast<size_t>(lo) * m_width + x0;
        for (int32_t py = lo; py < hi; ++py, p += m_width)
        {
            if (!dotted || ((py - y0) & 1) == 0)
                *p = ink;
            else if (gapsPainted)
                *p = gap;
        }
        return;
    }

    const int64_t dx = std::abs(int64_t{x1} - x0);
    const int64_t dy = -std::abs(int64_t{y1} - y0);
    const int32_t sx = x0 < x1 ? 1 : -1;
    const int32_t sy = y0 < y1 ? 1 : -1;
    int64_t err = dx + dy;
    int32_t px = x0;
    int32_t py = y0;
    for (int32_t i = 0; !(px == x1 && py == y1); ++i)
    {
        if (clip.Contains(px, py))
        {
            TColor& target = pixels[static_cast<size_t>(py) * m_width + px];
            if (!dotted || (i & 1) == 0)
                target = ink;
            else if (gapsPainted)
                target = gap;
        }
        const int64_t e2 = 2 * err;
        if (e2 >= dy)
        {
            err += dy;
            px += sx;
        }
        if (e2 <= dx)
        {
            err += dx;
            py += sy;
        }
    }
}

void CRaster::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right <= left || bottom <= top)
        return;
    const bool outlined = m_state.penStyle != EPenStyle::Null;
    if (!m_state.brushNull)
    {
        TRect inside{left, top, right, bottom};
        if (outlined)
            inside = TRect{left + 1, top + 1, right - 1, bottom - 1};
        if (!inside.IsEmpty())
            FillRect(inside, m_state.brushColor);
    }
    if (!outlined)
        return;
    const int32_t r = right - 1;
    const int32_t b = bottom - 1;
    if (r == left && b == top)
    {
        // A single pixel: a closed outline of one point.
        if (m_state.clip.Contains(left, top))
            m_pixels[static_cast<size_t>(top) * m_width + left] = m_state.penColor;
        return;
    }
    // Four edges, each leaving out its end pixel, so every outline pixel is
    // painted exactly once.
    DrawLine(left, top, r, top);
    DrawLine(r, top, r, b);
    DrawLine(r, b, left, b);
    DrawLine(left, b, left, top);
}

void CRaster::FillRect(const TRect& rect, TColor color)
{
    const TRect area = m_state.clip.Intersect(rect);
    if (area.IsEmpty())
        return;
    for (int32_t y = area.top; y < area.bottom; ++y)
    {
        TColor* row = m_pixels.data() + static_cast<size_t>(y) * m_width;
        std::fill(row + area.left, row + area.right, color);
    }
}

void CRaster::SetPixel(int32_t x, int32_t y, TColor color)
{
    if (m_state.clip.Contains(x, y))
        m_pixels[static_cast<size_t>(y) * m_width + x] = color;
}

TColor CRaster::GetPixel(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[static_cast<size_t>(y) * m_width + x];
}

void CRaster::CopyFrom(const CRaster& source, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx,
                       int32_t sy)
{
    // Narrow the block to the clip, then to what lies inside the source.
    const TRect dest = TRect64::OfSize(x, y, w, h).Intersect(m_state.clip);
    const int64_t offsetX = int64_t{sx} - x;
    const int64_t offsetY = int64_t{sy} - y;
    const TRect64 sourceInDest{-offsetX, -offsetY, source.m_width - offsetX, source.m_height - offsetY};
    const TRect area = sourceInDest.Intersect(dest);
    if (dest.IsEmpty() || area.IsEmpty())
        return;
    const size_t count = static_cast<size_t>(area.Width()) * sizeof(TColor);
    // Rows go bottom to top when copying downwards within one raster.
    const bool backwards = &source == this && offsetY < 0;
    for (int32_t i = 0; i < area.Height(); ++i)
    {
        const int32_t row = backwards ? area.bottom - 1 - i : area.top + i;
        TColor* to = m_pixels.data() + static_cast<size_t>(row) * m_width + area.left;
        const TColor* from = source.m_pixels.data() + static_cast<size_t>(row + offsetY) * source.m_width +
                             static_cast<size_t>(area.left + offsetX);
        std::memmove(to, from, count);
    }
}
