#include "CanvasZoom.h"

#include <QSettings>
#include <QString>

#include <algorithm>
#include <memory>
#include <optional>

namespace
{

int g_zoom = kMinCanvasZoom;
int g_grid = 0;
// Where changes are written; nothing until RememberCanvasSettings.
std::optional<QString> g_settingsFile;

const QString kZoomKey = QStringLiteral("canvas/zoom");
const QString kGridKey = QStringLiteral("canvas/grid");

std::unique_ptr<QSettings> OpenSettings()
{
    if (!g_settingsFile->isEmpty())
        return std::make_unique<QSettings>(*g_settingsFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("qelmorvane"), QStringLiteral("qelmorvane"));
}

void Store(const QString& key, int value)
{
    if (g_settingsFile)
        OpenSettings()->setValue(key, value);
}

} // namespace

int CanvasZoom()
{
    return g_zoom;
}

void SetCanvasZoom(int zoom)
{
    zoom = std::clamp(zoom, kMinCanvasZoom, kMaxCanvasZoom);
    if (zoom == g_zoom)
        return;
    g_zoom = zoom;
    Store(kZoomKey, g_zoom);
}

int CanvasGrid()
{
    return g_grid;
}

void SetCanvasGrid(int grid)
{
    grid = std::clamp(grid, 0, 100);
    if (grid == g_grid)
        return;
    g_grid = grid;
    Store(kGridKey, g_grid);
}

void RememberCanvasSettings(const QString& settingsFile)
{
    g_settingsFile = settingsFile;
    const std::unique_ptr<QSettings> settings = OpenSettings();
    g_zoom = std::clamp(settings->value(kZoomKey, g_zoom).toInt(), kMinCanvasZoom, kMaxCanvasZoom);
    g_grid = std::clamp(settings->value(kGridKey, g_grid).toInt(), 0, 100);
}

void ForgetCanvasSettings()
{
    g_settingsFile.reset();
}
