#include "RasterView.h"

#include "PageDraw.h"
#include "UserFace.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

namespace
{

TEST(RasterView, ShowsExactlyWhatTheDrawingCodePaints)
{
    TUserFace face;
    face.type = kFaceColour;
    face.param = kColourRadial;
    face.colour1 = Rgb(200, 10, 30);
    face.colour2 = Rgb(5, 250, 90);

    CRasterView view;
    view.resize(97, 61);
    view.SetBackground(Rgb(1, 2, 3));
    const TRect inner{1, 1, 96, 60};
    view.SetPainter([&](CRaster& dc) { DrawFace(face, {}, dc, inner); });

    CRaster expected(97, 61);
    expected.FillRect(TRect{0, 0, 97, 61}, Rgb(1, 2, 3));
    DrawFace(face, {}, expected, inner);

    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(97, 61));
    EXPECT_EQ(shown, RasterToImage(expected));
}

TEST(RasterView, ScalesByWholeDevicePixelsWithoutSmoothing)
{
    CRasterView view;
    view.SetRasterSize(QSize(2, 1));
    view.SetScale(3);
    view.resize(6, 3);
    view.SetPainter([](CRaster& dc) { dc.SetPixel(1, 0, Rgb(255, 255, 255)); });
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(shown.pixel(x, y), x < 3 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;

    struct TCase
    {
        int scale;
        qreal ratio;
        int block;
    };
    for (const TCase& c : {TCase{1, 1.0, 1}, TCase{3, 1.0, 3}, TCase{2, 1.5, 3}, TCase{1, 1.25, 1},
                           TCase{3, 1.25, 3}, TCase{4, 2.0, 8}})
        EXPECT_EQ(CRasterView::BlockSize(c.scale, c.ratio), c.block) << c.scale << " at " << c.ratio;
}

} // namespace

// Run again by ctest with QT_SCALE_FACTOR at 1.25 and 1.5; at a whole ratio
// there is nothing fractional to show and the test is skipped. A preview
// covers the frame it was laid out for, each device pixel taking its nearest
// raster pixel; the canvas keeps every panel pixel the same whole square.
TEST(FractionalScale, PreviewsFillTheirFrameAndTheCanvasKeepsWholePixels)
{
    CRasterView view;
    const qreal ratio = view.devicePixelRatioF();
    if (ratio == std::floor(ratio))
        GTEST_SKIP() << "device pixel ratio " << ratio;

    const QSize raster(10, 4);
    const auto colourOf = [](int x, int y) { return Rgb(static_cast<uint8_t>(20 * x), static_cast<uint8_t>(50 * y), 7); };
    view.SetRasterSize(raster);
    view.SetPainter(
        [&](CRaster& dc)
        {
            for (int y = 0; y < raster.height(); ++y)
                for (int x = 0; x < raster.width(); ++x)
                    dc.SetPixel(x, y, colourOf(x, y));
        });
    for (const int scale : {1, 2})
    {
        view.SetPixelFit(CRasterView::EPixelFit::Fill);
        view.SetScale(scale);
        view.resize(raster * scale);
        const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QSize device = CRasterView::ShownDeviceSize(raster, scale, ratio, CRasterView::EPixelFit::Fill);
        ASSERT_EQ(device, QSize(qRound(10 * scale * ratio), qRound(4 * scale * ratio)));
        ASSERT_EQ(shown.size(), device) << "scale " << scale;
        // Every device pixel shows one raster pixel unsmoothed; along each
        // axis the raster pixels come in order, none left out, each taking
        // the whole device pixels either side of scale x ratio.
        const auto runsOf = [&](int count, int length, const std::function<QPoint(int)>& at, bool alongX)
        {
            std::vector<int> runs(static_cast<size_t>(count), 0);
            int last = 0;
            for (int i = 0; i < length; ++i)
            {
                const QPoint p = at(i);
                const QRgb rgb = shown.pixel(p);
                const TColor c = colourOf(qRed(rgb) / 20, qGreen(rgb) / 50);
                EXPECT_EQ(rgb, qRgb(RedOf(c), GreenOf(c), BlueOf(c))) << p.x() << "," << p.y();
                const int index = alongX ? qRed(rgb) / 20 : qGreen(rgb) / 50;
                EXPECT_GE(index, last) << p.x() << "," << p.y();
                last = index;
                ++runs[static_cast<size_t>(std::clamp(index, 0, count - 1))];
            }
            const double each = static_cast<double>(length) / count;
            for (const int run : runs)
                EXPECT_TRUE(run == static_cast<int>(std::floor(each)) || run == static_cast<int>(std::ceil(each)))
                    << run << " device pixels where " << each << " fall at scale " << scale;
        };
        for (int y = 0; y < device.height(); ++y)
            runsOf(raster.width(), device.width(), [&](int x) { return QPoint(x, y); }, true);
        for (int x = 0; x < device.width(); ++x)
            runsOf(raster.height(), device.height(), [&](int y) { return QPoint(x, y); }, false);
        EXPECT_DOUBLE_EQ(view.ShownScale(), scale);

        view.SetPixelFit(CRasterView::EPixelFit::WholeDevicePixels);
        const int block = CRasterView::BlockSize(scale, ratio);
        EXPECT_EQ(CRasterView::ShownDeviceSize(raster, scale, ratio, CRasterView::EPixelFit::WholeDevicePixels),
                  raster * block);
        EXPECT_DOUBLE_EQ(view.ShownScale() * ratio, block);
    }
}
