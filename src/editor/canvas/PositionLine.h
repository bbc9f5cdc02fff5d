#pragma once

#include <QLabel>
#include <QPoint>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class CQelWnd;
class QLineEdit;
class TUserObject;

// The line under the page canvas: the selected object's kind, position and
// size (of several, their count and bounds), following a drag as it happens; with nothing selected, the panel
// pixel under the pointer. The selection can be placed by typing its
// position and size there.
class CPositionLine : public QLabel
{
public:
    // The editor that F2 on the canvas, or a click on the line, opens over it.
    static constexpr int kEditId = 1236;

    explicit CPositionLine(CQelWnd& canvas, QWidget* parent = nullptr);

    // Opens the editor on the selection's "x, y, width, height"; Enter places
    // the selection there (several objects: x and y move them together),
    // Escape leaves it. Nothing without a selection.
    void BeginEdit();
    bool IsEditing() const;
    // The four numbers of a typed line (commas or spaces between), or nothing.
    static std::optional<std::array<int32_t, 4>> ParseGeometry(const QString& text);

    // "Button: x 35, y 18, width 50, height 40", "Pointer: x 120, y 88", or
    // empty.
    static QString Describe(const TUserObject* selected, std::optional<QPoint> pointer);
    // Several selected: "3 objects: x 10, y 10, width 120, height 60", the
    // rectangle holding them all; fewer as above.
    static QString Describe(const std::vector<TUserObject*>& selection, std::optional<QPoint> pointer);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show();
    void EndEdit(bool apply);

    CQelWnd& m_canvas;
    QLineEdit* m_edit;
};
