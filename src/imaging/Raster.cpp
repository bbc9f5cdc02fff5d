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
        // Pixels x0, x0 + step, ..., x1 - step.
        int32_t lo = step > 0 ? x0 : x1 + 1;
        int32_t hi = step > 0 ? x1 : x0 + 1; // exclusive
        lo = std::max(lo, clip.left);
        hi = std::min(hi, clip.right);
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
        int32_t lo = step > 0 ? y0 : y1 + 1;
        int32_t hi = step > 0 ? y1 : y0 + 1;
        lo = std::max(lo, clip.top);
        hi = std::min(hi, clip.bottom);
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

    const int32_t dx = std::abs(x1 - x0);
    const int32_t dy = -std::abs(y1 - y0);
    const int32_t sx = x0 < x1 ? 1 : -1;
    const int32_t sy = y0 < y1 ? 1 : -1;
    int32_t err = dx + dy;
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
        const int32_t e2 = 2 * err;
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
    // Narrow the block to what lies inside the source, then to the clip.
    TRect dest = TRect{x, y, x + w, y + h};
    const TRect sourceInDest{x - sx, y - sy, x - sx + source.m_width, y - sy + source.m_height};
    dest = dest.Intersect(sourceInDest).Intersect(m_state.clip);
    if (dest.IsEmpty())
        return;
    const int32_t offsetX = sx - x;
    const int32_t offsetY = sy - y;
    const size_t count = static_cast<size_t>(dest.Width()) * sizeof(TColor);
    // Rows go bottom to top when copying downwards within one raster.
    const bool backwards = &source == this && offsetY < 0;
    for (int32_t i = 0; i < dest.Height(); ++i)
    {
        const int32_t row = backwards ? dest.bottom - 1 - i : dest.top + i;
        TColor* to = m_pixels.data() + static_cast<size_t>(row) * m_width + dest.left;
        const TColor* from = source.m_pixels.data() + static_cast<size_t>(row + offsetY) * source.m_width +
                             dest.left + offsetX;
        std::memmove(to, from, count);
    }
}
