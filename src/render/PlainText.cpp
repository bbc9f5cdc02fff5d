#include "PlainText.h"

#include <algorithm>
#include <cmath>

namespace
{

// Glyph rows are counted from this far below their cell's top (the glyph
// record's own rule), and columns from one pixel right of the pen.
int32_t RowOrigin(int32_t cell)
{
    return static_cast<int32_t>(std::trunc(cell * 0.28));
}

uint8_t Mix(uint8_t under, uint8_t over, int level)
{
    return static_cast<uint8_t>((under * (3 - level) + over * level + 1) / 3);
}

} // namespace

CPlainText::CPlainText(int32_t fontSizePixels)
    : m_fontSize(std::max(fontSizePixels, 1)), m_cell(m_fontSize * 7 / 4), m_rasteriser(m_fontSize, m_cell)
{
}

const TGlyphBitmap& CPlainText::Glyph(char16_t c)
{
    auto it = m_glyphs.find(c);
    if (it == m_glyphs.end())
        it = m_glyphs.emplace(c, m_rasteriser.RenderGlyph(c)).first;
    return it->second;
}

template <typename F> void CPlainText::Lay(const std::u16string& text, F place)
{
    int32_t pen = 0;
    for (const char16_t c : text)
    {
        const TGlyphBitmap& glyph = Glyph(c);
        if (glyph.width == 0 || glyph.height == 0)
        {
            // A space, or a character the font lacks.
            pen += m_fontSize / 3;
            continue;
        }
        place(glyph, pen + 1 + glyph.left, glyph.top - RowOrigin(m_cell));
        // The glyph's advance runs from the pen's first sampled column to one
        // pixel past its ink: each letter's own left bearing then spaces it.
        pen += glyph.advance;
    }
}

TRect CPlainText::InkBounds(const std::u16string& text)
{
    TRect ink;
    bool any = false;
    Lay(text,
        [&](const TGlyphBitmap& glyph, int32_t x, int32_t y)
        {
            const TRect box{x, y, x + glyph.width, y + glyph.height};
            if (!any)
                ink = box;
            ink = {std::min(ink.left, box.left), std::min(ink.top, box.top), std::max(ink.right, box.right),
                   std::max(ink.bottom, box.bottom)};
            any = true;
        });
    return ink;
}

void CPlainText::Draw(CRaster& dc, int32_t x, int32_t y, const std::u16string& text, TColor colour)
{
    const TRect clip = dc.GetClip();
    Lay(text,
        [&](const TGlyphBitmap& glyph, int32_t gx, int32_t gy)
        {
            const int32_t rowBytes = glyph.RowBytes();
            for (int32_t m = 0; m < glyph.height; ++m)
            {
                for (int32_t u = 0; u < glyph.width; ++u)
                {
                    const int level =
                        (glyph.bits[static_cast<size_t>(m) * static_cast<size_t>(rowBytes) + static_cast<size_t>(u / 4)] >> ((3 - u % 4) * 2)) & 3;
                    const int32_t px = x + gx + u;
                    const int32_t py = y + gy + m;
                    if (level == 0 || !clip.Contains(px, py))
                        continue;
                    const TColor under = dc.GetPixel(px, py);
                    dc.SetPixel(px, py,
                                Rgb(Mix(RedOf(under), RedOf(colour), level),
                                    Mix(GreenOf(under), GreenOf(colour), level),
                                    Mix(BlueOf(under), BlueOf(colour), level)));
                }
            }
        });
}

void CPlainText::DrawCentred(CRaster& dc, const TRect& rect, const std::u16string& text, TColor colour)
{
    // Across by the text's own ink, its start kept in sight when it is too
    // wide; down by that of capitals and descenders, so that names side by
    // side share a baseline.
    const TRect ink = InkBounds(text);
    const TRect line = InkBounds(u"Ag");
    dc.SaveState();
    dc.IntersectClip(rect);
    Draw(dc, rect.left + std::max(0, (rect.Width() - ink.Width()) / 2) - ink.left,
         rect.top + (rect.Height() - line.Height()) / 2 - line.top, text, colour);
    dc.RestoreState();
}
