#pragma once

// How large the page canvas and the panel preview show a panel pixel: 1 to
// 4 screen pixels a side. One setting for the whole run, so that every
// canvas opens at the zoom the installer chose last.
constexpr int kMinCanvasZoom = 1;
constexpr int kMaxCanvasZoom = 4;

int CanvasZoom();
// Clamped to kMinCanvasZoom .. kMaxCanvasZoom.
void SetCanvasZoom(int zoom);
