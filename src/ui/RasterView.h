#pragma once

#include "Raster.h"

#include <QImage>
#include <QSize>
#include <QWidget>

#include <functional>
#include <optional>

// Shows what the drawing code paints, pixel for pixel. On every paint the
// painter draws into a fresh raster, which is shown at the widget's top-left
// corner with each of its pixels as a square block of whole device pixels
// (nearest neighbour, never smoothed). Every preview and the page canvas
// paint through one of these, so that what they show and what the panel
// shows never differ.
class CRasterView : public QWidget
{
public:
    using TPainter = std::function<void(CRaster&)>;

    explicit CRasterView(QWidget* parent = nullptr);

    void SetPainter(TPainter painter);
    // A raster of a fixed size (the page canvas is always 320 x 240). Without
    // one the raster is as large as the widget, at scale 1.
    void SetRasterSize(const QSize& size);
    QSize RasterSize() const;
    // Each raster pixel as a scale x scale block of logical pixels (at least 1).
    void SetScale(int scale);
    int Scale() const { return m_scale; }
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPainter m_painter;
    std::optional<QSize> m_rasterSize;
    int m_scale = 1;
    std::optional<TColor> m_background;
};

// The raster's pixels as an image (red in the raster's lowest byte).
QImage RasterToImage(const CRaster& raster);
// The window colour of a widget's palette as a raster colour.
TColor WindowColour(const QWidget* widget);
