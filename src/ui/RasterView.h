#pragma once

#include "Raster.h"

#include <QImage>
#include <QSize>
#include <QWidget>

#include <functional>
#include <optional>

// Shows what the drawing code paints, pixel for pixel. On every paint the
// painter draws into a fresh raster, which is shown at the widget's top-left
// corner, enlarged by nearest neighbour and never smoothed. Every preview and
// the page canvas paint through one of these, so that what they show and what
// the panel shows never differ.
//
// How a raster pixel meets the screen's device pixels when the device pixel
// ratio is fractional (a desktop scaled by 1.25 or 1.5):
// - Fill (previews): the raster covers exactly scale logical pixels per
//   raster pixel, the frame it was laid out for; its pixels take whole device
//   pixels, some one more than others.
// - WholeDevicePixels (the page canvas, where an object is placed to the
//   pixel): every raster pixel is the same square of whole device pixels, at
//   most what the scale asks for, so the raster may show smaller.
class CRasterView : public QWidget
{
public:
    using TPainter = std::function<void(CRaster&)>;
    enum class EPixelFit
    {
        Fill,
        WholeDevicePixels,
    };

    explicit CRasterView(QWidget* parent = nullptr);

    void SetPainter(TPainter painter);
    // A raster of a fixed size (the page canvas is always 320 x 240). Without
    // one the raster is as large as the widget, at scale 1.
    void SetRasterSize(const QSize& size);
    QSize RasterSize() const;
    // Each raster pixel as a scale x scale block of logical pixels (at least 1).
    void SetScale(int scale);
    int Scale() const { return m_scale; }
    void SetPixelFit(EPixelFit fit);
    // The raster is filled with this colour before the painter draws;
    // without one it starts black, as a new raster does.
    void SetBackground(std::optional<TColor> colour);

    // A raster painted as the next paint will paint it.
    CRaster Render() const;
    // Device pixels per raster pixel at a device pixel ratio: whole, and at
    // least one.
    static int BlockSize(int scale, qreal devicePixelRatio);
    // Logical pixels a raster pixel takes on the screen: the block size at
    // the device pixel ratio, in logical pixels.
    static qreal ShownScale(int scale, qreal devicePixelRatio);
    qreal ShownScale() const;
    // The device pixels a raster of rasterSize covers at a scale and a device
    // pixel ratio.
    static QSize ShownDeviceSize(const QSize& rasterSize, int scale, qreal devicePixelRatio, EPixelFit fit);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPainter m_painter;
    std::optional<QSize> m_rasterSize;
    int m_scale = 1;
    EPixelFit m_fit = EPixelFit::Fill;
    std::optional<TColor> m_background;
};

// The raster's pixels as an image (red in the raster's lowest byte).
QImage RasterToImage(const CRaster& raster);
// The window colour of a widget's palette as a raster colour.
TColor WindowColour(const QWidget* widget);
