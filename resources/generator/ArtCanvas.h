#pragma once

#include "ImageBuffer.h"

#include <cstdint>
#include <vector>

// A colour with straight (not premultiplied) alpha; channels 0 to 255,
// alpha 0 to 1.
struct TPaint
{
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 1;
};

// 0xRRGGBB as written in a style sheet.
TPaint Hex(uint32_t rgb, float alpha = 1.0f);
TPaint Mix(const TPaint& from, const TPaint& to, float t);
float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float v);

// Signed distances: negative inside, in pixels, for shapes in continuous
// coordinates where pixel (x, y) covers [x, x + 1) x [y, y + 1).
float SdCircle(float px, float py, float cx, float cy, float radius);
float SdRoundRect(float px, float py, float left, float top, float right, float bottom, float radius);
// Distance to a segment (never negative); subtract half a width for a stroke.
float DistSegment(float px, float py, float ax, float ay, float bx, float by);
// A closed polygon of any shape, even-odd inside.
float SdPolygon(float px, float py, const std::vector<float>& xy);

// A floating-point drawing surface with premultiplied alpha, transparent when
// made. Shapes are given as distance functions so that every edge is
// anti-aliased by its exact coverage of the pixel.
class CArtCanvas
{
public:
    CArtCanvas(int32_t width, int32_t height);

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }

    // Composes paint over pixel (x, y) with the given coverage.
    void Blend(int32_t x, int32_t y, const TPaint& paint, float coverage = 1.0f);

    // Fills where shape(px, py) < 0 with paint(px, py), both sampled at pixel
    // centres; one pixel of distance fades the edge.
    template <class Shape, class Paint> void Fill(Shape shape, Paint paint)
    {
        for (int32_t y = 0; y < m_height; ++y)
            for (int32_t x = 0; x < m_width; ++x)
            {
                const float px = static_cast<float>(x) + 0.5f;
                const float py = static_cast<float>(y) + 0.5f;
                const float coverage = Clamp01(0.5f - shape(px, py));
                if (coverage > 0.0f)
                    Blend(x, y, paint(px, py), coverage);
            }
    }
    template <class Shape> void FillSolid(Shape shape, const TPaint& paint)
    {
        Fill(shape, [&](float, float) { return paint; });
    }

    // Turns every pixel's alpha to 0 in the rows [top, bottom).
    void ClearRows(int32_t top, int32_t bottom);

    // Straight colour and alpha of a pixel, 8 bits each.
    TPaint At(int32_t x, int32_t y) const;

    // A 24-bit picture, with an alpha plane unless every pixel is opaque.
    // Dithering spreads gradients of opaque pixels over an ordered pattern so
    // that dark ramps do not band.
    CImageBuffer ToImage(bool dither) const;

private:
    struct TPixel
    {
        float r = 0;
        float g = 0;
        float b = 0;
        float a = 0;
    };

    int32_t m_width;
    int32_t m_height;
    std::vector<TPixel> m_pixels;
};
