#pragma once

#include "Arrange.h"
#include "RasterView.h"
#include "Snap.h"
#include "UserObject.h"

#include <QPoint>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CLayoutHistory;
class CLayoutEdits;
class QMenu;
struct TStepScope;
class TLayout;
class TUserPage;

// The page canvas: one user page shown at the panel's 320 x 240 pixels, on
// which objects are selected, moved and resized with the left button and
// added, edited, deleted and restacked from the context menu. Positions are
// panel pixels; every change goes through the page edits.
//
// The page can be shown enlarged (zoom 1 to 4, each panel pixel a square
// block); mouse positions are turned into panel pixels first, so everything
// behaves at every zoom as at 1. With the keyboard: the arrows move the
// selected object by a pixel (Shift: 10), Delete deletes it, Tab and
// Shift+Tab select the next and previous object in stacking order. During a
// drag, Escape and Enter put the object back and end the drag, and the zoom
// keys and wheel wait; a drag cut short by the canvas closing is kept.
//
// Several objects may be selected at once: Shift+click adds or removes one,
// a drag from empty canvas selects those its rectangle touches, Ctrl+A
// selects all. The first selected is the key object (its handles filled),
// which Arrange follows. Drags, arrows, Delete, Push, Pull, Cut, Copy,
// Paste (Ctrl+X, Ctrl+C, Ctrl+V) and Duplicate (Ctrl+D) take the whole
// selection, each as one step. Drags snap to other objects, the screen and
// the grid, with a guide line shown; Alt held drags freely. A double click
// opens an object's properties; F2 asks for the position line to be edited.
class CQelWnd : public CRasterView
{
    Q_OBJECT

public:
    static constexpr int kControlId = 1234;
    // Commands of the context menu (menu 1084).
    enum ECommand : int
    {
        kBackground = 1010,
        kAddImage = 1011,
        kAddButton = 1012,
        kAddSelection = 1018,
        kAddHotspot = 1015,
        kAddLevelSlider = 101,
        kProperties = 1016,
        kDelete = 1017,
        kPush = 1019,
        kPull = 1020,
        // Image objects and buttons with picture faces.
        kFitPicture = 1021,
        // After a separator.
        kCut = 1101,
        kCopy = 1102,
        kPaste = 1103,
        kDuplicate = 1104,
        // The Arrange submenu: kArrange + each EArrange in its order.
        kArrange = 1110,
        // The Grid submenu.
        kGridOff = 1130,
        kGrid5 = 1131,
        kGrid10 = 1132,
        kGrid20 = 1133,
        // After a separator.
        kUndo = 57643,
        kRedo = 57644,
    };
    // Sizes given to new objects.
    static constexpr int32_t kNewWidth = 45;
    static constexpr int32_t kNewHeight = 30;
    static constexpr int32_t kNewSliderHeight = 130;
    // How far Paste from the keys and Duplicate put the copies from the originals.
    static constexpr int32_t kPasteOffset = 10;
    // What Copy puts on the clipboard: CopyObjects' bytes.
    static const QString& ClipboardFormat();

    // Changes become steps of the history, and the canvas follows its undo
    // and redo.
    CQelWnd(CLayoutHistory& history, TUserPage& page, QWidget* parent = nullptr);
    // With a history of the canvas's own.
    CQelWnd(TLayout& layout, TUserPage& page, QWidget* parent = nullptr);
    ~CQelWnd() override;
    // Makes the canvas over a dialog's frame control: the frame's rectangle
    // with its left edge 3 pixels and its top edge 12 pixels further in, and
    // at least large enough for the page.
    static CQelWnd* CreateOver(QWidget* dialog, int frameId, CLayoutHistory& history, TUserPage& page);

    TUserPage& Page() const { return m_page; }
    TLayout& Layout() const { return m_layout; }
    // The selected object (the key object of several), or null (also when
    // it has left the page).
    TUserObject* Selected() const;
    // Selects the object alone, or nothing.
    void SetSelected(TUserObject* object);
    // The selected objects still on the page, the key object first.
    std::vector<TUserObject*> Selection() const;
    void SetSelection(std::vector<TUserObject*> objects);
    bool IsSelected(const TUserObject* object) const;

    // Where changes go.
    CLayoutEdits& Edits() const;
    CLayoutHistory& History() const { return m_history; }

    int Zoom() const { return Scale(); }
    // Clamped to 1 .. 4; the canvas takes the page's size at that zoom.
    void SetZoom(int zoom);
    // The page's size on the screen at the zoom, in logical pixels.
    QSize ShownPageSize() const;
    // The panel pixel under the pointer, or nothing while it is elsewhere.
    std::optional<QPoint> Pointer() const { return m_pointer; }

    // The panel pixel under a point of the widget.
    QPoint ToPanel(const QPointF& widgetPoint) const;
    // The widget point of a panel pixel's top-left corner.
    QPoint ToWidget(const QPoint& panelPoint) const;

    // Carries out a menu command at a panel point on a target (the object
    // under the click, or null).
    void RunCommand(int command, const QPoint& panelPoint, TUserObject* target);
    // Shows the context menu for a right press at a panel point and runs
    // what is chosen.
    void ContextMenu(const QPoint& panelPoint);

    // Grid spacing in panel pixels, 0 for none; the grid is shown dotted and
    // drags snap to it. Remembered for the next run.
    int Grid() const { return m_grid; }
    void SetGrid(int grid);
    // The guide lines of the snap in force during a drag.
    std::optional<int32_t> GuideX() const { return m_snap ? m_snap->guideX : std::nullopt; }
    std::optional<int32_t> GuideY() const { return m_snap ? m_snap->guideY : std::nullopt; }

    // The selection as copies: on the clipboard, and for Cut off the page.
    void Copy();
    void Cut();
    // What the clipboard holds, as the selection: with its top-left at a
    // panel point, or without one kPasteOffset from where it was copied
    // (where it was, on another page).
    void Paste(std::optional<QPoint> at);
    // Copies of the selection kPasteOffset right and down, selected.
    void Duplicate();
    // An Arrange command on the selection, the key object leading.
    void ArrangeSelection(EArrange command);
    // One object takes the rectangle exactly; several move together so
    // that their bounds start at its top-left. One step.
    void PlaceSelection(const TObjectRect& rect);

    bool IsDragging() const { return m_moving || m_resizing || m_banding; }
    // Puts the dragged object back where the drag began and ends the drag.
    void CancelDrag();

signals:
    // The page has changed (an object, its place or the background).
    void PageChanged();
    void SelectionChanged();
    void ZoomChanged(int zoom);
    void PointerMoved();
    // F2: the position line is to be edited.
    void EditPositionAsked();

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void LeftDown(const QPoint& p, Qt::KeyboardModifiers modifiers);
    void MouseMove(const QPoint& p, Qt::KeyboardModifiers modifiers);
    void Paint(CRaster& dc);
    // Where the drag's free rectangle comes to with snapping (or without).
    TObjectRect Snapped(const TObjectRect& free, const TMovingEdges& edges, bool snap);
    void StartDrag();
    // Each selected object at its start rectangle moved by the offset.
    void MoveSelectionBy(int64_t dx, int64_t dy);
    void PasteBytes(const std::vector<uint8_t>& bytes, std::optional<QPoint> at, bool offset,
                    const QString& verb);
    // One step named "VERB N Objects" (or the object's own for one); Delete
    // asks first.
    void DeleteObjects(const std::vector<TUserObject*>& objects, bool ask, const QString& verb);
    // To the bottom (or the top) of the drawing order, keeping their order.
    void Restack(std::vector<TUserObject*> objects, bool toTop);
    void LeftUp();
    void Changed();
    void SetPointer(std::optional<QPoint> pointer);
    // The pointer as it is now, after a zoom or a dialog over the canvas.
    void RefreshPointer();
    void OnApplied(const TStepScope& scope);
    void Nudge(int dx, int dy);
    // Tab and Shift+Tab: false when they pass beyond the first or last
    // object, for the focus to move on.
    bool SelectNext(bool forward);
    void AddHistoryItems(QMenu& menu) const;
    int IndexOf(const TUserObject* object) const;

    void AddImage(const QPoint& p);
    void AddButton(const QPoint& p, bool selection);
    void AddHotspot(const QPoint& p);
    void AddLevelSlider(const QPoint& p);
    void EditProperties(TUserObject& target);
    // Fit Picture to Object: each library picture the object shows, resampled
    // to its size as Add Image fits a picture, as a new picture the object
    // then shows; an old picture nothing else shows leaves the library. One step.
    void FitPicture(TUserObject& target);
    // The objects a command on `target` works on: the selection when the
    // target is one of it, else the target alone.
    std::vector<TUserObject*> TargetsOf(TUserObject* target) const;
    void EditBackground();
    void AddOnTop(std::unique_ptr<TUserObject> object, const QPoint& p, bool select);

    CLayoutHistory& m_history;
    TLayout& m_layout;
    TUserPage& m_page;
    std::vector<TUserObject*> m_selection;
    std::optional<QPoint> m_pointer;
    int m_wheelAngle = 0;
    int32_t m_lastX = 0;
    int32_t m_lastY = 0;
    bool m_moving = false;
    bool m_resizing = false;
    bool m_banding = false;
    int32_t m_corner = 0;
    // Where each dragged object began, the selection's bounds then, and the
    // rectangle the pointer has carried them to before snapping.
    std::vector<std::pair<TUserObject*, TObjectRect>> m_dragStarts;
    // Pressed on this object of a selection of several: a release without a
    // move selects it alone.
    TUserObject* m_clickedInSelection = nullptr;
    TObjectRect m_dragBounds;
    TObjectRect m_free;
    TSnapTargets m_targets;
    std::optional<TSnapResult> m_snap;
    QPoint m_bandStart;
    QPoint m_bandEnd;
    bool m_bandAdds = false;
    std::vector<TUserObject*> m_bandBase;
    int m_grid = 0;
};
