#include "ContactSheet.h"

#include "Raster.h"

#include <algorithm>

namespace
{

constexpr int32_t kMargin = 12;
constexpr int32_t kPageWidth = 320;
constexpr int32_t kPageHeight = 240;

// Copies of the canvas's nine-slice and slider cuts, so that the sheet shows
// the composites as installers will see them.
void MockButton(CImageBuffer& s, CRaster& r, int32_t x, int32_t y, int32_t w, int32_t h)
{
    const TRgbQuad c = s.GetPixelColor(static_cast<int32_t>(s.GetWidth() / 2),
                                       static_cast<int32_t>(s.GetHeight() / 2), true);
    r.FillRect({x + 3, y + 3, x + w - 6, y + h - 6}, Rgb(c.red, c.green, c.blue));
    for (int32_t i = 0; i < w - 30; ++i)
    {
        s.DrawSection(&r, x + 15 + i, y, 1, 15, 15, 0);
        s.DrawSection(&r, x + 15 + i, y + h - 15, 1, 15, 15, 16);
    }
    for (int32_t i = 0; i < h - 30; ++i)
    {
        s.DrawSection(&r, x, y + 15 + i, 15, 1, 0, 15);
        s.DrawSection(&r, x + w - 15, y + 15 + i, 15, 1, 16, 15);
    }
    s.DrawSection(&r, x, y, 15, 15, 0, 0);
    s.DrawSection(&r, x + w - 15, y, 15, 15, 16, 0);
    s.DrawSection(&r, x, y + h - 15, 15, 15, 0, 16);
    s.DrawSection(&r, x + w - 15, y + h - 15, 15, 15, 16, 16);
}

void MockSlider(const CImageBuffer& slider, CRaster& r, int32_t x, int32_t y, int32_t w, int32_t h)
{
    CImageBuffer s(slider);
    if (w <= h)
    {
        const int32_t left = x + (w - 45) / 2;
        const auto k = static_cast<int32_t>((h - 52) * 0.5 + 8);
        for (int32_t i = 0; i < h - 30; ++i)
            s.DrawSection(&r, left, y + 15 + i, 45, 1, 0, i < k ? 15 : 60);
        s.DrawSection(&r, left, y, 45, 15, 0, 0);
        s.DrawSection(&r, left, y + h - 15, 45, 15, 0, 61);
        s.DrawSection(&r, left, y + k - 3, 46, 46, 0, 16);
        return;
    }
    s.RotateRight();
    const int32_t top = y + (h - 45) / 2;
    const auto k = static_cast<int32_t>((w - 52) * 0.5 + 10);
    for (int32_t i = 0; i < w - 30; ++i)
        s.DrawSection(&r, x + 15 + i, top, 1, 45, i < k ? 15 : 61, 0);
    s.DrawSection(&r, x + w - 15, top, 15, 45, 61, 0);
    s.DrawSection(&r, x, top, 15, 45, 0, 0);
    s.DrawSection(&r, x + k - 3, top, 46, 46, 16, 0);
}

void Centred(CImageBuffer& picture, CRaster& r, int32_t x, int32_t y, int32_t w, int32_t h)
{
    picture.Draw(&r, x + (w - static_cast<int32_t>(picture.GetWidth())) / 2,
                 y + (h - static_cast<int32_t>(picture.GetHeight())) / 2);
}

void MockPageOne(std::vector<CImageBuffer>& p, CRaster& r, int32_t x, int32_t y)
{
    r.SaveState();
    r.SetClip({x, y, x + kPageWidth, y + kPageHeight});
    p[1].Draw(&r, x, y);
    p[8].Draw(&r, x + 8, y + 6);
    MockButton(p[4], r, x + 16, y + 38, 130, 46);
    Centred(p[10], r, x + 16, y + 38, 130, 46);
    MockButton(p[16], r, x + 162, y + 38, 130, 46);
    Centred(p[11], r, x + 162, y + 38, 130, 46);
    MockButton(p[3], r, x + 16, y + 98, 90, 40);
    Centred(p[9], r, x + 16, y + 98, 90, 40);
    p[5].Draw(&r, x + 124, y + 106);
    p[6].Draw(&r, x + 156, y + 106);
    MockButton(p[4], r, x + 190, y + 98, 28, 28);
    MockSlider(p[2], r, x + 262, y + 96, 45, 130);
    MockSlider(p[2], r, x + 12, y + 168, 230, 45);
    r.RestoreState();
}

void MockPageTwo(std::vector<CImageBuffer>& p, CRaster& r, int32_t x, int32_t y)
{
    r.SaveState();
    r.SetClip({x, y, x + kPageWidth, y + kPageHeight});
    p[12].Draw(&r, x, y);
    for (int32_t i = 0; i < 3; ++i)
    {
        MockButton(p[4], r, x + 12 + 88 * i, y + 16, 80, 56);
        MockButton(p[16], r, x + 12 + 88 * i, y + 84, 80, 40);
        MockButton(p[3], r, x + 12 + 88 * i, y + 136, 80, 32);
    }
    p[7].Draw(&r, x + 284, y + 20);
    MockSlider(p[2], r, x + 10, y + 182, 260, 45);
    r.RestoreState();
}

// Draws a picture enlarged by a whole factor over a checkerboard.
void Zoomed(CImageBuffer& picture, CRaster& r, int32_t x, int32_t y, int32_t zoom)
{
    const auto w = static_cast<int32_t>(picture.GetWidth());
    const auto h = static_cast<int32_t>(picture.GetHeight());
    CRaster tile(w, h);
    for (int32_t ty = 0; ty < h; ++ty)
        for (int32_t tx = 0; tx < w; ++tx)
            tile.SetPixel(tx, ty,
                          ((tx / 4 + ty / 4) % 2) != 0 ? Rgb(0x2A, 0x2E, 0x34) : Rgb(0x4A, 0x50, 0x58));
    picture.Draw(&tile, 0, 0);
    for (int32_t ty = 0; ty < h * zoom; ++ty)
        for (int32_t tx = 0; tx < w * zoom; ++tx)
            r.SetPixel(x + tx, y + ty, tile.GetPixel(tx / zoom, ty / zoom));
}

struct TPlacement
{
    int32_t id;
    int32_t zoom;
    int32_t x = 0;
    int32_t y = 0;
};

} // namespace

CImageBuffer MakeContactSheet(const std::vector<CImageBuffer>& pictures)
{
    std::vector<CImageBuffer> p(pictures);
    p.resize(17);

    const int32_t sheetWidth = kMargin + 3 * (kPageWidth + kMargin);
    // The enlarged pictures flow beside the second mock page, then below it.
    const int32_t flowTop = kMargin + 2 * (kPageHeight + kMargin);
    const int32_t besidePage = kMargin + kPageWidth + kMargin;
    const int32_t pageBottom = flowTop + kPageHeight;

    std::vector<TPlacement> small = {{3, 3}, {4, 3},  {16, 3}, {5, 3}, {6, 3}, {8, 3},
                                     {9, 3}, {10, 3}, {11, 3}, {2, 3}, {7, 2}};
    int32_t x = besidePage;
    int32_t y = flowTop;
    int32_t rowHeight = 0;
    for (TPlacement& s : small)
    {
        const auto w = static_cast<int32_t>(p[s.id].GetWidth()) * s.zoom;
        const auto h = static_cast<int32_t>(p[s.id].GetHeight()) * s.zoom;
        if (x + w > sheetWidth - kMargin)
        {
            y += rowHeight + kMargin;
            x = y < pageBottom ? besidePage : kMargin;
            rowHeight = 0;
        }
        s.x = x;
        s.y = y;
        x += w + kMargin;
        rowHeight = std::max(rowHeight, h);
    }
    const int32_t sheetHeight = std::max(y + rowHeight, pageBottom) + kMargin;

    CRaster r(sheetWidth, sheetHeight);
    r.FillRect({0, 0, sheetWidth, sheetHeight}, Rgb(0x3A, 0x3F, 0x47));

    const int32_t backgrounds[] = {1, 12, 13, 14, 15};
    for (int32_t i = 0; i < 5; ++i)
        p[backgrounds[i]].Draw(&r, kMargin + (i % 3) * (kPageWidth + kMargin),
                               kMargin + (i / 3) * (kPageHeight + kMargin));
    MockPageOne(p, r, kMargin + 2 * (kPageWidth + kMargin), kMargin + kPageHeight + kMargin);
    MockPageTwo(p, r, kMargin, kMargin + 2 * (kPageHeight + kMargin));
    for (const TPlacement& s : small)
        Zoomed(p[s.id], r, s.x, s.y, s.zoom);

    CImageBuffer sheet;
    TImageData& data = sheet.Data();
    data.Create(sheetWidth, sheetHeight, 24);
    for (int32_t row = 0; row < sheetHeight; ++row)
    {
        uint8_t* out = data.Row(sheetHeight - 1 - row);
        for (int32_t col = 0; col < sheetWidth; ++col)
        {
            const TColor c = r.GetPixel(col, row);
            out[3 * col] = BlueOf(c);
            out[3 * col + 1] = GreenOf(c);
            out[3 * col + 2] = RedOf(c);
        }
    }
    return sheet;
}
