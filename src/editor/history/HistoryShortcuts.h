#pragma once

#include <functional>

class CLayoutHistory;
class QWidget;

// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, in a window of the editor
// (a text field keeps Ctrl+Z for its own text); `busy` (when given) holds
// them off, as during a drag.
void AddHistoryShortcuts(QWidget& window, CLayoutHistory& history, const std::function<bool()>& busy = {});
