#include "ArtCanvas.h"

#include <algorithm>
#include <cmath>

TPaint Hex(uint32_t rgb, float alpha)
{
    return {static_cast<float>((rgb >> 16) & 0xFF), static_cast<float>((rgb >> 8) & 0xFF),
            static_cast<float>(rgb & 0xFF), alpha};
}

TPaint Mix(const TPaint& from, const TPaint& to, float t)
{
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

float Clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

float SmoothStep(float edge0, float edge1, float v)
{
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float SdCircle(float px, float py, float cx, float cy, float radius)
{
    return std::hypot(px - cx, py - cy) - radius;
}

float SdRoundRect(float px, float py, float left, float top, float right, float bottom, float radius)
{
    const float cx = (left + right) * 0.5f;
    const float cy = (top + bottom) * 0.5f;
    const float qx = std::fabs(px - cx) - ((right - left) * 0.5f - radius);
    const float qy = std::fabs(py - cy) - ((bottom - top) * 0.5f - radius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float DistSegment(float px, float py, float ax, float ay, float bx, float by)
{
    const float ex = bx - ax;
    const float ey = by - ay;
    const float wx = px - ax;
    const float wy = py - ay;
    const float len2 = ex * ex + ey * ey;
    const float t = len2 > 0.0f ? std::clamp((wx * ex + wy * ey) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(wx - ex * t, wy - ey * t);
}

float SdPolygon(float px, float py, const std::vector<float>& xy)
{
    const size_t n = xy.size() / 2;
    if (n < 3)
        return 1e9f;
    float best = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++)
    {
        const float xi = xy[2 * i];
        const float yi = xy[2 * i + 1];
        const float xj = xy[2 * j];
        const float yj = xy[2 * j + 1];
        best = std::min(best, DistSegment(px, py, xi, yi, xj, yj));
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside ? -best : best;
}

CArtCanvas::CArtCanvas(int32_t width, int32_t height)
    : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width) * static_cast<size_t>(height))
{
}

void CArtCanvas::Blend(int32_t x, int32_t y, const TPaint& paint, float coverage)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    const float a = Clamp01(paint.a * coverage);
    if (a <= 0.0f)
        return;
    TPixel& p = m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
    const float keep = 1.0f - a;
    p.r = paint.r * a + p.r * keep;
    p.g = paint.g * a + p.g * keep;
    p.b = paint.b * a + p.b * keep;
    p.a = a + p.a * keep;
}

void CArtCanvas::ClearRows(int32_t top, int32_t bottom)
{
    for (int32_t y = std::max(top, 0); y < std::min(bottom, m_height); ++y)
        for (int32_t x = 0; x < m_width; ++x)
            m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)] =
                TPixel{};
}

TPaint CArtCanvas::At(int32_t x, int32_t y) const
{
    const TPixel& p =
        m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
    const float alpha = std::round(Clamp01(p.a) * 255.0f);
    if (alpha <= 0.0f)
        return {0, 0, 0, 0};
    const auto channel = [&](float premultiplied)
    { return std::round(std::clamp(premultiplied / p.a, 0.0f, 255.0f)); };
    return {channel(p.r), channel(p.g), channel(p.b), alpha / 255.0f};
}

namespace
{

// A 4 x 4 ordered-dither threshold in (-0.5, 0.5).
float Threshold(int32_t x, int32_t y)
{
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (static_cast<float>(kBayer[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
}

uint8_t ToByte(float v)
{
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

} // namespace

CImageBuffer CArtCanvas::ToImage(bool dither) const
{
    bool opaque = true;
    for (const TPixel& p : m_pixels)
        if (std::round(Clamp01(p.a) * 255.0f) < 255.0f)
            opaque = false;

    CImageBuffer image;
    TImageData& data = image.Data();
    data.Create(m_width, m_height, 24);
    if (!opaque)
        data.alpha.assign(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), 0);

    for (int32_t y = 0; y < m_height; ++y)
    {
        const int32_t stored = m_height - 1 - y;
        uint8_t* row = data.Row(stored);
        for (int32_t x = 0; x < m_width; ++x)
        {
            const TPixel& p =
                m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
            const float alpha = Clamp01(p.a);
            const uint8_t a8 = ToByte(alpha * 255.0f);
            float r = 0;
            float g = 0;
            float b = 0;
            if (a8 > 0)
            {
                r = p.r / alpha;
                g = p.g / alpha;
                b = p.b / alpha;
                if (dither && a8 == 255)
                {
                    const float t = Threshold(x, y);
                    r += t;
                    g += t;
                    b += t;
                }
            }
            row[3 * x] = ToByte(b);
            row[3 * x + 1] = ToByte(g);
            row[3 * x + 2] = ToByte(r);
            if (!opaque)
                data.alpha[static_cast<size_t>(stored) * static_cast<size_t>(m_width) +
                           static_cast<size_t>(x)] = a8;
        }
    }
    return image;
}
