#include "QelWnd.h"

#include "ButtonAddDlg.h"
#include "CanvasZoom.h"
#include "DialogTemplate.h"
#include "HotspotDlg.h"
#include "Layout.h"
#include "LayoutEdits.h"
#include "LayoutHistory.h"
#include "LayoutImages.h"
#include "MenuTemplate.h"
#include "ObjectVisitor.h"
#include "PageDraw.h"
#include "QelFaceDlg.h"
#include "SliderPropDlg.h"
#include "TextField.h"
#include "UiServices.h"
#include "UserButton.h"
#include "UserHotspot.h"
#include "UserImage.h"
#include "UserLevel.h"
#include "UserPage.h"

#include <QFocusEvent>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

const std::vector<TMenuItem>& CanvasMenu()
{
    static const std::vector<TMenuItem> menu{
        {CQelWnd::kBackground, QStringLiteral("Background"), {}},
        {0,
         QStringLiteral("Add"),
         {
             {CQelWnd::kAddImage, QStringLiteral("Image"), {}},
             {CQelWnd::kAddButton, QStringLiteral("Button"), {}},
             {CQelWnd::kAddSelection, QStringLiteral("Selection"), {}},
             {CQelWnd::kAddHotspot, QStringLiteral("Hot Spot"), {}},
             {CQelWnd::kAddLevelSlider, QStringLiteral("Level Slider"), {}},
         }},
        {CQelWnd::kProperties, QStringLiteral("Properties"), {}},
        {CQelWnd::kDelete, QStringLiteral("Delete"), {}},
        {CQelWnd::kPush, QStringLiteral("Push"), {}},
        {CQelWnd::kPull, QStringLiteral("Pull"), {}},
    };
    return menu;
}

// Positions of damaged files can lie near the ends of 32 bits; drags must
// neither wrap around nor overflow.
int32_t Saturate(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t NotBelowZero(int32_t v)
{
    return std::max<int32_t>(v, 0);
}

TButtonProps PropsOf(const TUserButton& button)
{
    TButtonProps props;
    props.upFace = button.upFace;
    props.downFace = button.downFace;
    props.width = button.width;
    props.height = button.height;
    props.toggle = button.toggle;
    props.downText = button.downText;
    props.upText = button.upText;
    props.selectorMode = button.selectorId >= 0;
    props.selectorId = button.selectorId;
    return props;
}

// What the button dialog gives back, written into a button.
void ApplyProps(const TButtonProps& props, TUserButton& button)
{
    CopyFaceLook(props.upFace, button.upFace);
    CopyFaceLook(props.downFace, button.downFace);
    button.width = props.width;
    button.height = props.height;
    button.toggle = props.selectorMode ? true : props.toggle;
    if (props.selectorMode)
        button.selectorId = props.selectorId;
    button.downText = props.downText;
    button.upText = props.upText;
}

} // namespace

CQelWnd::CQelWnd(TLayout& layout, TUserPage& page, QWidget* parent)
    : CQelWnd(*new CLayoutHistory(layout), page, parent)
{
    // A child, it outlives the child windows that use it.
    m_history.setParent(this);
}

CQelWnd::CQelWnd(CLayoutHistory& history, TUserPage& page, QWidget* parent)
    : CRasterView(parent), m_history(history), m_layout(history.Layout()), m_page(page)
{
    connect(&m_history, &CLayoutHistory::Applied, this, &CQelWnd::OnApplied);
    SetRasterSize(QSize(kPageWidth, kPageHeight));
    setWindowTitle(QStringLiteral("QelWnd"));
    // Keys reach the canvas once it is clicked or tabbed to; moves without a
    // button held give the pointer's position.
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    SetPainter([this](CRaster& dc) { PaintPage(m_page, LayoutImages(m_layout), dc, Selected()); });
}

CQelWnd::~CQelWnd()
{
    // Destroyed without being hidden first: the drag still becomes its step.
    disconnect(&m_history, nullptr, this, nullptr);
    LeftUp();
}

CQelWnd* CQelWnd::CreateOver(QWidget* dialog, int frameId, CLayoutHistory& history, TUserPage& page)
{
    auto* canvas = new CQelWnd(history, page);
    PlaceOverControl(dialog, frameId, canvas, QMargins(3, 12, 0, 0), kControlId);
    canvas->resize(canvas->size().expandedTo(QSize(kPageWidth, kPageHeight)));
    return canvas;
}

TUserObject* CQelWnd::Selected() const
{
    return IndexOf(m_selected) >= 0 ? m_selected : nullptr;
}

void CQelWnd::SetSelected(TUserObject* object)
{
    if (object == m_selected)
        return;
    m_selected = object;
    update();
    emit SelectionChanged();
}

CLayoutEdits& CQelWnd::Edits() const
{
    return m_history.Edits();
}

void CQelWnd::OnApplied(const TStepScope& scope)
{
    // An undo or redo on this page: the selection goes to what the step
    // touched. Any step may have changed a picture the page shows.
    if (scope.page == &m_page && scope.select != TStepScope::kKeepSelection)
        SetSelected(scope.select >= 0 ? m_page.ObjectAtIndex(static_cast<size_t>(scope.select)) : nullptr);
    Changed();
}

void CQelWnd::SetZoom(int zoom)
{
    zoom = std::clamp(zoom, kMinCanvasZoom, kMaxCanvasZoom);
    const bool changed = zoom != Scale();
    SetScale(zoom);
    resize(ShownPageSize());
    if (changed)
        emit ZoomChanged(zoom);
}

QSize CQelWnd::ShownPageSize() const
{
    const qreal s = ShownScale();
    return QSize(static_cast<int>(std::ceil(kPageWidth * s - 1e-6)),
                 static_cast<int>(std::ceil(kPageHeight * s - 1e-6)));
}

int CQelWnd::IndexOf(const TUserObject* object) const
{
    return object != nullptr ? m_page.IndexOfObject(object) : -1;
}

QPoint CQelWnd::ToPanel(const QPointF& widgetPoint) const
{
    // By the size a panel pixel really has on the screen: whole device
    // pixels, which at a fractional device pixel ratio is not the zoom.
    const double s = ShownScale();
    return QPoint(static_cast<int>(std::floor(widgetPoint.x() / s + 1e-9)),
                  static_cast<int>(std::floor(widgetPoint.y() / s + 1e-9)));
}

QPoint CQelWnd::ToWidget(const QPoint& panelPoint) const
{
    const double s = ShownScale();
    return QPoint(static_cast<int>(std::ceil(panelPoint.x() * s - 1e-9)),
                  static_cast<int>(std::ceil(panelPoint.y() * s - 1e-9)));
}

void CQelWnd::Changed()
{
    update();
    emit PageChanged();
}

void CQelWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = ToPanel(event->position());
    if (event->button() == Qt::LeftButton)
        LeftDown(p);
    else if (event->button() == Qt::RightButton && !IsDragging())
        ContextMenu(p);
}

void CQelWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = ToPanel(event->position());
    MouseMove(p);
    SetPointer(p);
}

void CQelWnd::leaveEvent(QEvent* event)
{
    // During a drag the pointer is still the drag's.
    if (!IsDragging())
        SetPointer(std::nullopt);
    CRasterView::leaveEvent(event);
}

void CQelWnd::SetPointer(std::optional<QPoint> pointer)
{
    if (pointer == m_pointer)
        return;
    m_pointer = pointer;
    emit PointerMoved();
}

void CQelWnd::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier))
    {
        event->ignore();
        return;
    }
    // The zoom waits for the drag: the page must not change scale under
    // the held object. Taken, so the view around does not scroll either.
    if (IsDragging())
    {
        event->accept();
        return;
    }
    // A notch is 120; finer wheels add up to one.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / 120;
    m_wheelAngle -= steps * 120;
    if (steps != 0)
    {
        SetZoom(Zoom() + steps);
        SetCanvasZoom(Zoom());
    }
    event->accept();
}

bool CQelWnd::event(QEvent* event)
{
    // Tab and Shift+Tab go from object to object; past the last (or before
    // the first) the focus moves on as usual, so the keyboard can leave.
    if (event->type() == QEvent::KeyPress)
    {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        const bool backwards = key->key() == Qt::Key_Backtab ||
                               (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab))
        {
            if (IsDragging() || SelectNext(!backwards))
                return true;
        }
    }
    return CRasterView::event(event);
}

void CQelWnd::focusInEvent(QFocusEvent* event)
{
    // Tabbing into the canvas selects the first object, back-tabbing the last.
    if (!m_page.objects.empty() && !IsDragging())
    {
        if (event->reason() == Qt::TabFocusReason)
            SetSelected(m_page.objects.front().get());
        else if (event->reason() == Qt::BacktabFocusReason)
            SetSelected(m_page.objects.back().get());
    }
    CRasterView::focusInEvent(event);
}

bool CQelWnd::SelectNext(bool forward)
{
    const int count = static_cast<int>(m_page.objects.size());
    const int current = IndexOf(Selected());
    int next = 0;
    if (current < 0)
        next = forward ? 0 : count - 1;
    else
        next = current + (forward ? 1 : -1);
    if (next < 0 || next >= count)
        return false;
    SetSelected(m_page.objects[static_cast<size_t>(next)].get());
    return true;
}

void CQelWnd::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    if (ctrl &&
        (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal || event->key() == Qt::Key_Minus))
    {
        if (!IsDragging())
        {
            SetZoom(Zoom() + (event->key() == Qt::Key_Minus ? -1 : 1));
            SetCanvasZoom(Zoom());
        }
        return;
    }
    // Escape and Enter during a drag take it back, and go no further: the
    // dialog closes only on a press of its own.
    if (IsDragging() &&
        (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
    {
        CancelDrag();
        return;
    }
    TUserObject* selected = Selected();
    if (selected == nullptr || IsDragging() || ctrl || (event->modifiers() & Qt::AltModifier))
    {
        CRasterView::keyPressEvent(event);
        return;
    }
    switch (event->key())
    {
    case Qt::Key_Left:
        Nudge(-step, 0);
        break;
    case Qt::Key_Right:
        Nudge(step, 0);
        break;
    case Qt::Key_Up:
        Nudge(0, -step);
        break;
    case Qt::Key_Down:
        Nudge(0, step);
        break;
    case Qt::Key_Delete:
        Delete(*selected);
        break;
    default:
        // Escape and Enter go on to the dialog.
        CRasterView::keyPressEvent(event);
        break;
    }
}

void CQelWnd::Nudge(int dx, int dy)
{
    TUserObject* selected = Selected();
    if (selected == nullptr)
        return;
    TObjectRect r = selected->Rect();
    r.left = NotBelowZero(Saturate(int64_t{r.left} + dx));
    r.top = NotBelowZero(Saturate(int64_t{r.top} + dy));
    if (r == selected->Rect())
        return;
    Edits().Nudge(m_page, static_cast<size_t>(IndexOf(selected)), r);
    Changed();
}

void CQelWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        LeftUp();
}

void CQelWnd::LeftDown(const QPoint& p)
{
    TUserObject* selected = Selected();
    m_lastX = p.x();
    m_lastY = p.y();
    if (selected != nullptr)
    {
        const int32_t corner = selected->CornerAt(p.x(), p.y());
        if (corner != kCornerNone)
        {
            m_corner = corner;
            m_resizing = true;
            m_dragStart = selected->Rect();
            return;
        }
    }
    // The selection is preferred over whatever lies on top of it.
    TUserObject* chosen =
        selected != nullptr && selected->Contains(p.x(), p.y()) ? selected : m_page.ObjectAt(p.x(), p.y());
    SetSelected(chosen);
    if (chosen != nullptr)
        m_dragStart = chosen->Rect();
    // Qt keeps sending the mouse to the widget it was pressed on until the
    // button goes up, inside the canvas or not: the drag holds the mouse.
    m_moving = true;
}

void CQelWnd::MouseMove(const QPoint& p)
{
    if (m_resizing)
    {
        const int64_t dx = int64_t{p.x()} - m_lastX;
        const int64_t dy = int64_t{p.y()} - m_lastY;
        m_lastX = p.x();
        m_lastY = p.y();
        if (TUserObject* selected = Selected())
        {
            const TObjectRect r = selected->Rect();
            int64_t x = r.left, y = r.top, w = r.width, h = r.height;
            switch (m_corner)
            {
            case kCornerTopLeft:
                x += dx, y += dy, w -= dx, h -= dy;
                break;
            case kCornerTopRight:
                y += dy, w += dx, h -= dy;
                break;
            case kCornerBottomRight:
                w += dx, h += dy;
                break;
            case kCornerBottomLeft:
                x += dx, w -= dx, h += dy;
                break;
            default:
                break;
            }
            // A corner dragged past the opposite edge mirrors the rectangle.
            if (w < 0)
                x += w, w = -w;
            if (h < 0)
                y += h, h = -h;
            Edits().MoveResize(
                m_page, static_cast<size_t>(IndexOf(selected)),
                TObjectRect{NotBelowZero(Saturate(x)), NotBelowZero(Saturate(y)), Saturate(w), Saturate(h)});
        }
        Changed();
    }
    if (m_moving)
    {
        const int64_t dx = int64_t{p.x()} - m_lastX;
        const int64_t dy = int64_t{p.y()} - m_lastY;
        m_lastX = p.x();
        m_lastY = p.y();
        if (TUserObject* selected = Selected())
        {
            TObjectRect r = selected->Rect();
            r.left = NotBelowZero(Saturate(r.left + dx));
            r.top = NotBelowZero(Saturate(r.top + dy));
            Edits().MoveResize(m_page, static_cast<size_t>(IndexOf(selected)), r);
            Changed();
        }
        else
        {
            update();
        }
    }
}

void CQelWnd::LeftUp()
{
    if (!m_moving && !m_resizing)
        return;
    const bool resized = m_resizing;
    m_moving = false;
    m_resizing = false;
    if (TUserObject* selected = Selected(); selected != nullptr && selected->Rect() != m_dragStart)
        Edits().EndMoveResize(m_page, static_cast<size_t>(IndexOf(selected)), m_dragStart, resized);
}

void CQelWnd::CancelDrag()
{
    if (!IsDragging())
        return;
    m_moving = false;
    m_resizing = false;
    // The moves so far were applied as they came; putting the object back
    // the same way leaves no step behind.
    if (TUserObject* selected = Selected(); selected != nullptr && selected->Rect() != m_dragStart)
    {
        Edits().MoveResize(m_page, static_cast<size_t>(IndexOf(selected)), m_dragStart);
        Changed();
    }
}

void CQelWnd::hideEvent(QHideEvent* event)
{
    // The dialog is closing (or the canvas leaving it) with the button still
    // held: the release will never come, so the drag ends here, while the
    // page is still open in the history.
    LeftUp();
    CRasterView::hideEvent(event);
}

void CQelWnd::ContextMenu(const QPoint& p)
{
    TUserObject* target = m_page.ObjectAt(p.x(), p.y());
    QMenu menu(this);
    BuildMenu(menu, CanvasMenu());
    if (target == nullptr)
    {
        RemoveCommand(menu, kProperties);
        RemoveCommand(menu, kDelete);
    }
    AddHistoryItems(menu);
    const QPoint at = PopupTopLeft(menu, mapToGlobal(ToWidget(p)), EPopupPlacement::LeftVCentre);
    const int command = CommandOf(UiServices().PopupMenu(this, menu, at));
    if (command != 0)
        RunCommand(command, p, target);
}

void CQelWnd::AddHistoryItems(QMenu& menu) const
{
    menu.addSeparator();
    const auto add =
        [&menu](int command, const QString& verb, const QString& name, bool enabled, const QKeySequence& keys)
    {
        QAction* action = menu.addAction(name.isEmpty() ? verb : verb + u' ' + name);
        action->setData(command);
        action->setEnabled(enabled);
        // Shown beside the item; the dialog's own shortcut does the work.
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
    };
    add(kUndo, QStringLiteral("Undo"), m_history.UndoText(), m_history.CanUndo(),
        QKeySequence(Qt::CTRL | Qt::Key_Z));
    add(kRedo, QStringLiteral("Redo"), m_history.RedoText(), m_history.CanRedo(),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
}

void CQelWnd::RunCommand(int command, const QPoint& p, TUserObject* target)
{
    if (target != nullptr && IndexOf(target) < 0)
        target = nullptr;
    switch (command)
    {
    case kBackground:
        EditBackground();
        break;
    case kAddImage:
        AddImage(p);
        break;
    case kAddButton:
        AddButton(p, false);
        break;
    case kAddSelection:
        AddButton(p, true);
        break;
    case kAddHotspot:
        AddHotspot(p);
        break;
    case kAddLevelSlider:
        AddLevelSlider(p);
        break;
    case kProperties:
        if (target != nullptr)
            EditProperties(*target);
        break;
    case kDelete:
        if (target != nullptr)
            Delete(*target);
        break;
    case kPush:
        if (target != nullptr && IndexOf(target) > 0)
        {
            Edits().Restack(m_page, static_cast<size_t>(IndexOf(target)), 0);
            Changed();
        }
        break;
    case kPull:
        if (target != nullptr && static_cast<size_t>(IndexOf(target)) + 1 < m_page.objects.size())
        {
            Edits().Restack(m_page, static_cast<size_t>(IndexOf(target)), m_page.objects.size() - 1);
            Changed();
        }
        break;
    case kUndo:
        if (!IsDragging())
            m_history.Undo();
        break;
    case kRedo:
        if (!IsDragging())
            m_history.Redo();
        break;
    default:
        break;
    }
}

void CQelWnd::AddOnTop(std::unique_ptr<TUserObject> object, const QPoint& p, bool select)
{
    object->left = p.x();
    object->top = p.y();
    const size_t index = Edits().Add(m_page, std::move(object));
    if (select)
        SetSelected(m_page.ObjectAtIndex(index));
    Changed();
}

void CQelWnd::EditBackground()
{
    CQelFaceDlg dlg(&m_layout, m_page.face, this);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    Edits().SetBackground(m_page, dlg.Face());
    Changed();
}

void CQelWnd::AddImage(const QPoint& p)
{
    TUserFace face;
    face.type = kFaceImage;
    face.param = 0;
    CQelFaceDlg dlg(&m_layout, face, this);
    dlg.SetSize(kNewWidth, kNewHeight);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    auto image = std::make_unique<TUserImage>();
    CopyFaceLook(dlg.Face(), image->face);
    image->width = dlg.Width();
    image->height = dlg.Height();
    AddOnTop(std::move(image), p, true);
}

void CQelWnd::AddButton(const QPoint& p, bool selection)
{
    TButtonProps props;
    props.width = kNewWidth;
    props.height = kNewHeight;
    props.selectorMode = selection;
    props.selectorId = selection ? 1 : -1;
    CButtonAddDlg dlg(&m_layout, props, this);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    auto button = std::make_unique<TUserButton>();
    TButtonProps result = dlg.Props();
    if (!selection)
        result.selectorId = -1;
    button->selectorId = -1;
    ApplyProps(result, *button);
    AddOnTop(std::move(button), p, true);
}

void CQelWnd::AddHotspot(const QPoint& p)
{
    CHotspotDlg dlg(&m_layout, -1, m_page.id, this);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    auto hotspot = std::make_unique<TUserHotspot>();
    hotspot->targetPage = dlg.Target();
    hotspot->width = kNewWidth;
    hotspot->height = kNewHeight;
    AddOnTop(std::move(hotspot), p, true);
}

void CQelWnd::AddLevelSlider(const QPoint& p)
{
    CSliderPropDlg dlg(&m_layout, kNewWidth, kNewSliderHeight, TUserLevel::kDefaultSliderImage, -1, this);
    if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
        return;
    auto level = std::make_unique<TUserLevel>();
    level->controlId = dlg.ControlId();
    level->sliderImageId = dlg.SliderImageId();
    level->width = kNewWidth;
    level->height = kNewSliderHeight;
    AddOnTop(std::move(level), p, true);
}

void CQelWnd::EditProperties(TUserObject& target)
{
    const auto index = static_cast<size_t>(IndexOf(&target));
    bool select = true;
    // Each kind's dialog edits a copy, which replaces the object: none when
    // the dialog is cancelled, or when the stored type code does not name the
    // kind too.
    const auto edit = Overloaded{
        [&](const TUserButton& button) -> std::unique_ptr<TUserObject>
        {
            if (target.type != kObjectButton)
                return nullptr;
            CButtonAddDlg dlg(&m_layout, PropsOf(button), this);
            if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
                return nullptr;
            auto copy = std::make_unique<TUserButton>(button);
            ApplyProps(dlg.Props(), *copy);
            select = false;
            return copy;
        },
        [&](const TUserLevel& level) -> std::unique_ptr<TUserObject>
        {
            if (target.type != kObjectLevel)
                return nullptr;
            CSliderPropDlg dlg(&m_layout, level.width, level.height, level.sliderImageId, level.controlId,
                               this);
            if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
                return nullptr;
            auto copy = std::make_unique<TUserLevel>(level);
            copy->sliderImageId = dlg.SliderImageId();
            copy->controlId = dlg.ControlId();
            return copy;
        },
        [&](const TUserImage& image) -> std::unique_ptr<TUserObject>
        {
            if (target.type != kObjectImage)
                return nullptr;
            CQelFaceDlg dlg(&m_layout, image.face, this);
            dlg.SetSize(image.width, image.height);
            if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
                return nullptr;
            auto copy = std::make_unique<TUserImage>(image);
            CopyFaceLook(dlg.Face(), copy->face);
            copy->width = dlg.Width();
            copy->height = dlg.Height();
            return copy;
        },
        [&](const TUserHotspot& hotspot) -> std::unique_ptr<TUserObject>
        {
            if (target.type != kObjectHotspot)
                return nullptr;
            CHotspotDlg dlg(&m_layout, hotspot.targetPage, m_page.id, this);
            if (UiServices().ExecDialog(dlg) != QDialog::Accepted)
                return nullptr;
            auto copy = std::make_unique<TUserHotspot>(hotspot);
            copy->targetPage = dlg.Target();
            return copy;
        },
        [](const TUserObject&) -> std::unique_ptr<TUserObject> { return nullptr; },
    };
    std::unique_ptr<TUserObject> changed = VisitObject(target, edit);
    if (changed == nullptr)
        return;

    // The object is replaced by its changed copy; a selection of it follows.
    const bool wasSelected = Selected() == &target;
    Edits().Replace(m_page, index, std::move(changed));
    if (select || wasSelected)
        SetSelected(m_page.ObjectAtIndex(index));
    Changed();
}

void CQelWnd::Delete(TUserObject& target)
{
    const EMsgResult answer = UiServices().MessageBox(
        this, QStringLiteral("Are you sure you want to permanently delete this object ?"),
        QStringLiteral("Confirm Delete"), EMsgButtons::YesNo, EMsgIcon::Question);
    if (answer != EMsgResult::Yes)
        return;
    Edits().Delete(m_page, static_cast<size_t>(IndexOf(&target)));
    SetSelected(nullptr);
    Changed();
}
