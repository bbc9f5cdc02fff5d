#include "RasterView.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

CRasterView::CRasterView(QWidget* parent) : QWidget(parent)
{
    // Every paint covers the raster's area with the raster.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A picture to assistive tools; the page canvas and the panel's screen
    // name themselves.
    setAccessibleName(QCoreApplication::translate("CRasterView", "Preview"));
}

void CRasterView::SetPainter(TPainter painter)
{
    m_painter = std::move(painter);
    update();
}

void CRasterView::SetRasterSize(const QSize& size)
{
    m_rasterSize = size;
    update();
}

QSize CRasterView::RasterSize() const
{
    if (m_rasterSize)
        return *m_rasterSize;
    return size();
}

void CRasterView::SetScale(int scale)
{
    m_scale = std::max(1, scale);
    update();
}

void CRasterView::SetPixelFit(EPixelFit fit)
{
    m_fit = fit;
    update();
}

void CRasterView::SetBackground(std::optional<TColor> colour)
{
    m_background = colour;
    update();
}

CRaster CRasterView::Render() const
{
    const QSize size = RasterSize();
    CRaster raster(size.width(), size.height());
    if (m_background)
        raster.FillRect(TRect{0, 0, raster.Width(), raster.Height()}, *m_background);
    if (m_painter)
        m_painter(raster);
    return raster;
}

int CRasterView::BlockSize(int scale, qreal devicePixelRatio)
{
    const qreal device = std::max(1, scale) * devicePixelRatio;
    return std::max(1, static_cast<int>(std::floor(device + 1e-6)));
}

qreal CRasterView::ShownScale(int scale, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    return BlockSize(scale, ratio) / ratio;
}

qreal CRasterView::ShownScale() const
{
    if (m_fit == EPixelFit::Fill)
        return m_scale;
    return ShownScale(m_scale, devicePixelRatioF());
}

QSize CRasterView::ShownDeviceSize(const QSize& rasterSize, int scale, qreal devicePixelRatio, EPixelFit fit)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    if (fit == EPixelFit::WholeDevicePixels)
        return rasterSize * BlockSize(scale, ratio);
    const qreal device = std::max(1, scale) * ratio;
    return QSize(std::max(1, static_cast<int>(std::lround(rasterSize.width() * device))),
                 std::max(1, static_cast<int>(std::lround(rasterSize.height() * device))));
}

void CRasterView::paintEvent(QPaintEvent*)
{
    const CRaster raster = Render();
    QImage image = RasterToImage(raster);
    const qreal ratio = devicePixelRatioF();
    const QSize device = ShownDeviceSize(image.size(), m_scale, ratio, m_fit);
    if (device != image.size())
        image = image.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    image.setDevicePixelRatio(ratio);

    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QSizeF shown = image.deviceIndependentSize();
    // Whatever the raster leaves of the widget shows the window colour.
    if (shown.width() < width() || shown.height() < height())
    {
        const QRegion rest = QRegion(rect()) - QRegion(QRect(QPoint(0, 0), shown.toSize()));
        for (const QRect& r : rest)
            painter.fillRect(r, palette().window());
    }
    painter.drawImage(QPointF(0, 0), image);
}

QImage RasterToImage(const CRaster& raster)
{
    QImage image(raster.Width(), raster.Height(), QImage::Format_RGB32);
    const TColor* source = raster.Pixels();
    for (int y = 0; y < raster.Height(); ++y)
    {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < raster.Width(); ++x)
        {
            const TColor c = *source++;
            row[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
        }
    }
    return image;
}

TColor WindowColour(const QWidget* widget)
{
    const QColor c = widget->palette().color(QPalette::Window);
    return Rgb(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
               static_cast<uint8_t>(c.blue()));
}
