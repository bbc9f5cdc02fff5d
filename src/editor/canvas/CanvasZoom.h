#pragma once

class QString;

// How large the page canvas and the panel preview show a panel pixel: 1 to
// 4 screen pixels a side. One setting for the whole run, so that every
// canvas opens at the zoom the installer chose last.
constexpr int kMinCanvasZoom = 1;
constexpr int kMaxCanvasZoom = 4;

int CanvasZoom();
// Clamped to kMinCanvasZoom .. kMaxCanvasZoom.
void SetCanvasZoom(int zoom);

// The canvas's grid spacing in panel pixels, 0 for none; one setting for the
// whole run too.
int CanvasGrid();
void SetCanvasGrid(int grid);

// Zoom and grid are read from the settings file (empty: the user's own
// settings) and from then on written to it as they change, so that the next
// run opens as this one left off.
void RememberCanvasSettings(const QString& settingsFile);
// Changes are no longer written anywhere.
void ForgetCanvasSettings();
