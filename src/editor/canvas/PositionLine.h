#pragma once

#include <QLabel>
#include <QPoint>

#include <optional>
#include <vector>

class CQelWnd;
class TUserObject;

// The line under the page canvas: the selected object's kind, position and
// size (of several, their count and bounds), following a drag as it happens; with nothing selected, the panel
// pixel under the pointer.
class CPositionLine : public QLabel
{
public:
    explicit CPositionLine(CQelWnd& canvas, QWidget* parent = nullptr);

    // "Button: x 35, y 18, width 50, height 40", "Pointer: x 120, y 88", or
    // empty.
    static QString Describe(const TUserObject* selected, std::optional<QPoint> pointer);
    // Several selected: "3 objects: x 10, y 10, width 120, height 60", the
    // rectangle holding them all; fewer as above.
    static QString Describe(const std::vector<TUserObject*>& selection, std::optional<QPoint> pointer);

private:
    void Show();

    CQelWnd& m_canvas;
};
