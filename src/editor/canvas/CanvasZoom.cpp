#include "CanvasZoom.h"

#include <algorithm>

namespace
{

int g_zoom = kMinCanvasZoom;

} // namespace

int CanvasZoom() { return g_zoom; }

void SetCanvasZoom(int zoom) { g_zoom = std::clamp(zoom, kMinCanvasZoom, kMaxCanvasZoom); }
