#include "RasterView.h"

#include "PageDraw.h"
#include "UserFace.h"

#include <QImage>

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
