#include "QelWnd.h"

#include "ButtonAddDlg.h"
#include "CanvasZoom.h"
#include "DialogTemplate.h"
#include "HotspotDlg.h"
#include "ImageBuffer.h"
#include "ImageEntry.h"
#include "Layout.h"
#include "LayoutEdits.h"
#include "LayoutHistory.h"
#include "LayoutImages.h"
#include "MenuTemplate.h"
#include "ObjectClipboard.h"
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

#include <QClipboard>
#include <QCursor>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace
{

// The faces of an object that show a library picture.
std::vector<TUserFace*> PictureFaces(TUserObject& object)
{
    std::vector<TUserFace*> faces;
    const auto add = [&faces](TUserFace& face)
    {
        if (face.type == kFaceImage)
            faces.push_back(&face);
    };
    if (auto* button = ObjectAs<TUserButton>(object))
    {
        add(button->upFace);
        add(button->downFace);
    }
    else if (auto* image = ObjectAs<TUserImage>(object))
        add(image->face);
    return faces;
}

constexpr int ArrangeCommand(EArrange command)
{
    return CQelWnd::kArrange + static_cast<int>(command);
}

constexpr int kArrangeCount = static_cast<int>(EArrange::CentreOnScreenVertically) + 1;

const std::vector<TMenuItem>& CanvasMenu()
{
    static const std::vector<TMenuItem> menu{
        {CQelWnd::kBackground, QT_TRANSLATE_NOOP("Menu", "Background"), {}},
        {0,
         QT_TRANSLATE_NOOP("Menu", "Add"),
         {
             {CQelWnd::kAddImage, QT_TRANSLATE_NOOP("Menu", "Image"), {}},
             {CQelWnd::kAddButton, QT_TRANSLATE_NOOP("Menu", "Button"), {}},
             {CQelWnd::kAddSelection, QT_TRANSLATE_NOOP("Menu", "Selection"), {}},
             {CQelWnd::kAddHotspot, QT_TRANSLATE_NOOP("Menu", "Hot Spot"), {}},
             {CQelWnd::kAddLevelSlider, QT_TRANSLATE_NOOP("Menu", "Level Slider"), {}},
         }},
        {CQelWnd::kProperties, QT_TRANSLATE_NOOP("Menu", "Properties"), {}},
        {CQelWnd::kDelete, QT_TRANSLATE_NOOP("Menu", "Delete"), {}},
        {CQelWnd::kPush, QT_TRANSLATE_NOOP("Menu", "Push"), {}},
        {CQelWnd::kPull, QT_TRANSLATE_NOOP("Menu", "Pull"), {}},
        {CQelWnd::kFitPicture, QT_TRANSLATE_NOOP("Menu", "Fit Picture to Object"), {}},
        TMenuItem::Separator(),
        {CQelWnd::kCut, QT_TRANSLATE_NOOP("Menu", "Cut"), {}},
        {CQelWnd::kCopy, QT_TRANSLATE_NOOP("Menu", "Copy"), {}},
        {CQelWnd::kPaste, QT_TRANSLATE_NOOP("Menu", "Paste"), {}},
        {CQelWnd::kDuplicate, QT_TRANSLATE_NOOP("Menu", "Duplicate"), {}},
        {0,
         QT_TRANSLATE_NOOP("Menu", "Arrange"),
         {
             {ArrangeCommand(EArrange::AlignLeft), QT_TRANSLATE_NOOP("Menu", "Align Left"), {}},
             {ArrangeCommand(EArrange::AlignCentre), QT_TRANSLATE_NOOP("Menu", "Align Centre"), {}},
             {ArrangeCommand(EArrange::AlignRight), QT_TRANSLATE_NOOP("Menu", "Align Right"), {}},
             {ArrangeCommand(EArrange::AlignTop), QT_TRANSLATE_NOOP("Menu", "Align Top"), {}},
             {ArrangeCommand(EArrange::AlignMiddle), QT_TRANSLATE_NOOP("Menu", "Align Middle"), {}},
             {ArrangeCommand(EArrange::AlignBottom), QT_TRANSLATE_NOOP("Menu", "Align Bottom"), {}},
             TMenuItem::Separator(),
             {ArrangeCommand(EArrange::DistributeHorizontally),
              QT_TRANSLATE_NOOP("Menu", "Distribute Horizontally"),
              {}},
             {ArrangeCommand(EArrange::DistributeVertically),
              QT_TRANSLATE_NOOP("Menu", "Distribute Vertically"),
              {}},
             TMenuItem::Separator(),
             {ArrangeCommand(EArrange::SameWidth), QT_TRANSLATE_NOOP("Menu", "Same Width"), {}},
             {ArrangeCommand(EArrange::SameHeight), QT_TRANSLATE_NOOP("Menu", "Same Height"), {}},
             {ArrangeCommand(EArrange::SameSize), QT_TRANSLATE_NOOP("Menu", "Same Size"), {}},
             TMenuItem::Separator(),
             {ArrangeCommand(EArrange::CentreOnScreenHorizontally),
              QT_TRANSLATE_NOOP("Menu", "Centre on Screen Horizontally"),
              {}},
             {ArrangeCommand(EArrange::CentreOnScreenVertically),
              QT_TRANSLATE_NOOP("Menu", "Centre on Screen Vertically"),
              {}},
         }},
        {0,
         QT_TRANSLATE_NOOP("Menu", "Grid"),
         {
             {CQelWnd::kGridOff, QT_TRANSLATE_NOOP("Menu", "Off"), {}},
             {CQelWnd::kGrid5, QT_TRANSLATE_NOOP("Menu", "5 Pixels"), {}},
             {CQelWnd::kGrid10, QT_TRANSLATE_NOOP("Menu", "10 Pixels"), {}},
             {CQelWnd::kGrid20, QT_TRANSLATE_NOOP("Menu", "20 Pixels"), {}},
         }},
    };
    return menu;
}

// The spacing each Grid item sets.
constexpr std::pair<int, int> kGridItems[] = {
    {CQelWnd::kGridOff, 0}, {CQelWnd::kGrid5, 5}, {CQelWnd::kGrid10, 10}, {CQelWnd::kGrid20, 20}};

QString ArrangeName(EArrange command)
{
    static const char* const names[] = {
        QT_TRANSLATE_NOOP("Menu", "Align Left"),
        QT_TRANSLATE_NOOP("Menu", "Align Centre"),
        QT_TRANSLATE_NOOP("Menu", "Align Right"),
        QT_TRANSLATE_NOOP("Menu", "Align Top"),
        QT_TRANSLATE_NOOP("Menu", "Align Middle"),
        QT_TRANSLATE_NOOP("Menu", "Align Bottom"),
        QT_TRANSLATE_NOOP("Menu", "Distribute Horizontally"),
        QT_TRANSLATE_NOOP("Menu", "Distribute Vertically"),
        QT_TRANSLATE_NOOP("Menu", "Same Width"),
        QT_TRANSLATE_NOOP("Menu", "Same Height"),
        QT_TRANSLATE_NOOP("Menu", "Same Size"),
        QT_TRANSLATE_NOOP("Menu", "Centre on Screen Horizontally"),
        QT_TRANSLATE_NOOP("Menu", "Centre on Screen Vertically"),
    };
    return QCoreApplication::translate("Menu", names[static_cast<int>(command)]);
}

// verb is translated already.
QString CountName(const QString& verb, size_t count)
{
    return count == 1 ? QCoreApplication::translate("CQelWnd", "%1 1 Object").arg(verb)
                      : QCoreApplication::translate("CQelWnd", "%1 %2 Objects").arg(verb).arg(count);
}

// Copies from this canvas's page, so that Paste from the keys can tell its
// own page from another.
QString SourceTag(const TUserPage& page)
{
    return QStringLiteral("%1:%2")
        .arg(QCoreApplication::applicationPid())
        .arg(reinterpret_cast<quintptr>(&page));
}

const QString& SourceFormat()
{
    static const QString format = QStringLiteral("application/x-qelmorvane-objects-source");
    return format;
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
    // Objects are placed to the pixel: every panel pixel the same square.
    SetPixelFit(EPixelFit::WholeDevicePixels);
    setAccessibleName(tr("Page canvas"));
    setWindowTitle(QStringLiteral("QelWnd"));
    // Keys reach the canvas once it is clicked or tabbed to; moves without a
    // button held give the pointer's position.
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    SetPainter([this](CRaster& dc) { Paint(dc); });
    m_grid = CanvasGrid();
}

const QString& CQelWnd::ClipboardFormat()
{
    static const QString format = QStringLiteral("application/x-qelmorvane-objects");
    return format;
}

void CQelWnd::Paint(CRaster& dc)
{
    const std::vector<TUserObject*> selection = Selection();
    PaintPage(m_page, LayoutImages(m_layout), dc);
    dc.SaveState();
    dc.IntersectClip(TRect{0, 0, kPageWidth, kPageHeight});
    DrawGrid(dc, m_grid);
    // One object is marked as it always was; of several the key one stands out.
    for (size_t i = selection.size(); i-- > 0;)
    {
        const TUserObject& o = *selection[i];
        DrawSelection(dc, TRect64::OfSize(o.left, o.top, o.width, o.height), i == 0 && selection.size() > 1);
    }
    if (m_banding)
        DrawRubberBand(dc, TRect64(std::min(m_bandStart.x(), m_bandEnd.x()),
                                   std::min(m_bandStart.y(), m_bandEnd.y()),
                                   std::max(m_bandStart.x(), m_bandEnd.x()) + 1,
                                   std::max(m_bandStart.y(), m_bandEnd.y()) + 1));
    if (m_snap)
        DrawGuides(dc, m_snap->guideX, m_snap->guideY);
    dc.RestoreState();
}

void CQelWnd::SetGrid(int grid)
{
    grid = std::max(grid, 0);
    SetCanvasGrid(grid);
    if (grid == m_grid)
        return;
    m_grid = grid;
    update();
}

CQelWnd::~CQelWnd()
{
    // Destroyed without being hidden first: the drag still becomes its step.
    disconnect(&m_history, nullptr, this, nullptr);
    // A rubber band ends with nothing to select.
    m_banding = false;
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
    for (TUserObject* object : m_selection)
        if (IndexOf(object) >= 0)
            return object;
    return nullptr;
}

void CQelWnd::SetSelected(TUserObject* object)
{
    SetSelection(object != nullptr ? std::vector<TUserObject*>{object} : std::vector<TUserObject*>{});
}

std::vector<TUserObject*> CQelWnd::Selection() const
{
    std::vector<TUserObject*> live;
    live.reserve(m_selection.size());
    for (TUserObject* object : m_selection)
        if (IndexOf(object) >= 0)
            live.push_back(object);
    return live;
}

void CQelWnd::SetSelection(std::vector<TUserObject*> objects)
{
    if (objects == m_selection)
        return;
    m_selection = std::move(objects);
    update();
    emit SelectionChanged();
}

bool CQelWnd::IsSelected(const TUserObject* object) const
{
    return object != nullptr &&
           std::find(m_selection.begin(), m_selection.end(), object) != m_selection.end();
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
    {
        emit ZoomChanged(zoom);
        RefreshPointer();
    }
}

void CQelWnd::RefreshPointer()
{
    if (IsDragging())
        return;
    const QPoint at = mapFromGlobal(QCursor::pos());
    SetPointer(rect().contains(at) && isVisible() ? std::optional<QPoint>(ToPanel(QPointF(at))) : std::nullopt);
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
        LeftDown(p, event->modifiers());
    else if (event->button() == Qt::RightButton && !IsDragging())
        ContextMenu(p);
}

void CQelWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = ToPanel(event->position());
    MouseMove(p, event->modifiers());
    SetPointer(p);
}

void CQelWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
    {
        CRasterView::mouseDoubleClickEvent(event);
        return;
    }
    // The first click selected the object; the second opens its properties.
    const QPoint p = ToPanel(event->position());
    LeftUp();
    TUserObject* selected = Selected();
    TUserObject* target =
        selected != nullptr && selected->Contains(p.x(), p.y()) ? selected : m_page.ObjectAt(p.x(), p.y());
    if (target != nullptr)
    {
        EditProperties(*target);
        RefreshPointer();
    }
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
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (held == Qt::ControlModifier && !IsDragging())
    {
        switch (event->key())
        {
        case Qt::Key_A:
        {
            std::vector<TUserObject*> all;
            for (const auto& object : m_page.objects)
                all.push_back(object.get());
            SetSelection(std::move(all));
            return;
        }
        case Qt::Key_C:
            Copy();
            return;
        case Qt::Key_X:
            Cut();
            return;
        case Qt::Key_V:
            Paste(std::nullopt);
            return;
        case Qt::Key_D:
            Duplicate();
            return;
        default:
            break;
        }
    }
    if (held == Qt::NoModifier && event->key() == Qt::Key_F2 && !IsDragging())
    {
        if (!Selection().empty())
            emit EditPositionAsked();
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
        DeleteObjects(Selection(), true, tr("Delete"));
        break;
    default:
        // Escape and Enter go on to the dialog.
        CRasterView::keyPressEvent(event);
        break;
    }
}

void CQelWnd::Nudge(int dx, int dy)
{
    const std::vector<TUserObject*> selection = Selection();
    if (selection.empty())
        return;
    // The selection moves as a whole and stops as a whole at x or y 0.
    std::vector<TObjectRect> rects;
    rects.reserve(selection.size());
    for (const TUserObject* object : selection)
        rects.push_back(object->Rect());
    const TObjectRect bounds = BoundsOf(rects);
    const int64_t ox = int64_t{NotBelowZero(Saturate(int64_t{bounds.left} + dx))} - bounds.left;
    const int64_t oy = int64_t{NotBelowZero(Saturate(int64_t{bounds.top} + dy))} - bounds.top;
    if (ox == 0 && oy == 0)
        return;
    {
        CLayoutEdits::CGroup group(Edits(), CountName(tr("Move"), selection.size()));
        for (TUserObject* object : selection)
        {
            TObjectRect r = object->Rect();
            r.left = Saturate(r.left + ox);
            r.top = Saturate(r.top + oy);
            if (r != object->Rect())
                Edits().Nudge(m_page, static_cast<size_t>(IndexOf(object)), r);
        }
    }
    Changed();
}

void CQelWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A click on one object of a selection, without a move, selects that one.
    TUserObject* clicked = std::exchange(m_clickedInSelection, nullptr);
    const bool still = std::all_of(m_dragStarts.begin(), m_dragStarts.end(),
                                   [this](const auto& start)
                                   { return IndexOf(start.first) < 0 || start.first->Rect() == start.second; });
    LeftUp();
    if (clicked != nullptr && still && IndexOf(clicked) >= 0)
        SetSelected(clicked);
}

void CQelWnd::LeftDown(const QPoint& p, Qt::KeyboardModifiers modifiers)
{
    m_lastX = p.x();
    m_lastY = p.y();
    std::vector<TUserObject*> selection = Selection();
    const auto startBand = [this, &p](bool adds, std::vector<TUserObject*> base)
    {
        m_banding = true;
        m_bandAdds = adds;
        m_bandBase = std::move(base);
        m_bandStart = m_bandEnd = p;
        update();
    };
    if (modifiers & Qt::ShiftModifier)
    {
        // Shift+click adds or removes the object; from empty canvas the
        // rectangle adds what it touches.
        TUserObject* hit = m_page.ObjectAt(p.x(), p.y());
        if (hit == nullptr)
        {
            startBand(true, selection);
            return;
        }
        if (const auto at = std::find(selection.begin(), selection.end(), hit); at != selection.end())
            selection.erase(at);
        else
            selection.push_back(hit);
        SetSelection(std::move(selection));
        return;
    }
    if (selection.size() == 1)
    {
        const int32_t corner = selection.front()->CornerAt(p.x(), p.y());
        if (corner != kCornerNone)
        {
            m_corner = corner;
            m_resizing = true;
            StartDrag();
            return;
        }
    }
    // The selection is preferred over whatever lies on top of it.
    const bool inSelection = std::any_of(selection.begin(), selection.end(),
                                         [&p](const TUserObject* o) { return o->Contains(p.x(), p.y()); });
    m_clickedInSelection = nullptr;
    if (inSelection && selection.size() > 1)
        for (auto object = m_page.objects.rbegin(); object != m_page.objects.rend(); ++object)
            if (IsSelected(object->get()) && (*object)->Contains(p.x(), p.y()))
            {
                m_clickedInSelection = object->get();
                break;
            }
    if (!inSelection)
    {
        TUserObject* chosen = m_page.ObjectAt(p.x(), p.y());
        SetSelected(chosen);
        if (chosen == nullptr)
        {
            startBand(false, {});
            return;
        }
    }
    // Qt keeps sending the mouse to the widget it was pressed on until the
    // button goes up, inside the canvas or not: the drag holds the mouse.
    m_moving = true;
    StartDrag();
}

void CQelWnd::StartDrag()
{
    m_dragStarts.clear();
    std::vector<TObjectRect> rects;
    for (TUserObject* object : Selection())
    {
        m_dragStarts.emplace_back(object, object->Rect());
        rects.push_back(object->Rect());
    }
    m_dragBounds = BoundsOf(rects);
    m_free = m_resizing && !rects.empty() ? rects.front() : m_dragBounds;
    // What the selection may snap to stays put during the drag.
    std::vector<TObjectRect> others;
    for (const auto& object : m_page.objects)
        if (!IsSelected(object.get()))
            others.push_back(object->Rect());
    m_targets = SnapTargetsOf(others, kPageWidth, kPageHeight);
    m_snap.reset();
}

TObjectRect CQelWnd::Snapped(const TObjectRect& free, const TMovingEdges& edges, bool snap)
{
    if (!snap)
    {
        m_snap.reset();
        return free;
    }
    TSnapResult result = Snap(free, edges, m_targets, m_grid);
    const TObjectRect rect = result.rect;
    if (result.guideX || result.guideY)
        m_snap = result;
    else
        m_snap.reset();
    return rect;
}

void CQelWnd::MoveSelectionBy(int64_t dx, int64_t dy)
{
    for (const auto& [object, start] : m_dragStarts)
    {
        const int index = IndexOf(object);
        if (index < 0)
            continue;
        TObjectRect r = start;
        r.left = NotBelowZero(Saturate(start.left + dx));
        r.top = NotBelowZero(Saturate(start.top + dy));
        if (r != object->Rect())
            Edits().MoveResize(m_page, static_cast<size_t>(index), r);
    }
}

void CQelWnd::MouseMove(const QPoint& p, Qt::KeyboardModifiers modifiers)
{
    const int64_t dx = int64_t{p.x()} - m_lastX;
    const int64_t dy = int64_t{p.y()} - m_lastY;
    m_lastX = p.x();
    m_lastY = p.y();
    // Alt held drags freely.
    const bool snap = !(modifiers & Qt::AltModifier);
    if (m_banding)
    {
        m_bandEnd = p;
        update();
    }
    if (m_resizing)
    {
        if (TUserObject* selected = Selected())
        {
            // The pointer carries the free rectangle; the object takes it snapped.
            int64_t x = m_free.left, y = m_free.top, w = m_free.width, h = m_free.height;
            TMovingEdges edges;
            switch (m_corner)
            {
            case kCornerTopLeft:
                x += dx, y += dy, w -= dx, h -= dy;
                edges = {true, false, true, false};
                break;
            case kCornerTopRight:
                y += dy, w += dx, h -= dy;
                edges = {false, true, true, false};
                break;
            case kCornerBottomRight:
                w += dx, h += dy;
                edges = {false, true, false, true};
                break;
            case kCornerBottomLeft:
                x += dx, w -= dx, h += dy;
                edges = {true, false, false, true};
                break;
            default:
                break;
            }
            // A corner dragged past the opposite edge mirrors the rectangle.
            if (w < 0)
                x += w, w = -w, std::swap(edges.left, edges.right);
            if (h < 0)
                y += h, h = -h, std::swap(edges.top, edges.bottom);
            m_free =
                TObjectRect{NotBelowZero(Saturate(x)), NotBelowZero(Saturate(y)), Saturate(w), Saturate(h)};
            Edits().MoveResize(m_page, static_cast<size_t>(IndexOf(selected)), Snapped(m_free, edges, snap));
        }
        Changed();
    }
    if (m_moving)
    {
        if (Selected() != nullptr && !m_dragStarts.empty())
        {
            m_free.left = NotBelowZero(Saturate(m_free.left + dx));
            m_free.top = NotBelowZero(Saturate(m_free.top + dy));
            const TObjectRect r = Snapped(m_free, TMovingEdges::Move(), snap);
            MoveSelectionBy(int64_t{r.left} - m_dragBounds.left, int64_t{r.top} - m_dragBounds.top);
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
    if (m_banding)
    {
        m_banding = false;
        // What the rectangle touches, in drawing order.
        const int64_t l = std::min(m_bandStart.x(), m_bandEnd.x());
        const int64_t t = std::min(m_bandStart.y(), m_bandEnd.y());
        const int64_t r = std::max(m_bandStart.x(), m_bandEnd.x()) + 1;
        const int64_t b = std::max(m_bandStart.y(), m_bandEnd.y()) + 1;
        std::vector<TUserObject*> selection = std::move(m_bandBase);
        m_bandBase.clear();
        for (const auto& object : m_page.objects)
        {
            const int64_t ol = object->left;
            const int64_t ot = object->top;
            const bool touches = ol < r && ol + std::max<int64_t>(object->width, 1) > l && ot < b &&
                                 ot + std::max<int64_t>(object->height, 1) > t;
            if (touches && std::find(selection.begin(), selection.end(), object.get()) == selection.end())
                selection.push_back(object.get());
        }
        SetSelection(std::move(selection));
        update();
        return;
    }
    if (!m_moving && !m_resizing)
        return;
    const bool resized = m_resizing;
    m_moving = false;
    m_resizing = false;
    if (m_snap)
    {
        m_snap.reset();
        update();
    }
    std::vector<std::pair<size_t, TObjectRect>> moved;
    for (const auto& [object, start] : m_dragStarts)
        if (const int index = IndexOf(object); index >= 0 && object->Rect() != start)
            moved.emplace_back(static_cast<size_t>(index), start);
    m_dragStarts.clear();
    if (moved.empty())
        return;
    CLayoutEdits::CGroup group(
        Edits(), CountName(resized ? tr("Resize") : tr("Move"), moved.size()));
    for (const auto& [index, start] : moved)
        Edits().EndMoveResize(m_page, index, start, resized);
}

void CQelWnd::CancelDrag()
{
    m_clickedInSelection = nullptr;
    if (!IsDragging())
        return;
    m_banding = false;
    m_bandBase.clear();
    m_moving = false;
    m_resizing = false;
    m_snap.reset();
    // The moves so far were applied as they came; putting the objects back
    // the same way leaves no step behind.
    bool changed = false;
    for (const auto& [object, start] : m_dragStarts)
        if (const int index = IndexOf(object); index >= 0 && object->Rect() != start)
        {
            Edits().MoveResize(m_page, static_cast<size_t>(index), start);
            changed = true;
        }
    m_dragStarts.clear();
    if (changed)
        Changed();
    else
        update();
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
    // A right click on an object of the selection keeps it, and the
    // commands take the whole selection; on another object they take that
    // one alone, which a selection of several then gives way to (one
    // selected object stays selected, as it always has).
    TUserObject* target = m_page.ObjectAt(p.x(), p.y());
    if (target != nullptr && !IsSelected(target) && Selection().size() > 1)
        SetSelected(target);
    QMenu menu(this);
    BuildMenu(menu, CanvasMenu());
    if (target == nullptr)
    {
        RemoveCommand(menu, kProperties);
        RemoveCommand(menu, kDelete);
    }
    if (target == nullptr || PictureFaces(*target).empty())
        RemoveCommand(menu, kFitPicture);
    const size_t selected = Selection().size();
    for (const int command : {kCut, kCopy, kDuplicate})
        FindCommand(menu, command)->setEnabled(selected > 0);
    // Shown beside the items; the canvas's own keys do the work.
    for (const auto& [command, key] : {std::pair{kCut, Qt::Key_X}, std::pair{kCopy, Qt::Key_C},
                                       std::pair{kPaste, Qt::Key_V}, std::pair{kDuplicate, Qt::Key_D}})
    {
        QAction* item = FindCommand(menu, command);
        item->setShortcut(QKeySequence(Qt::CTRL | key));
        item->setShortcutContext(Qt::WidgetShortcut);
    }
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    FindCommand(menu, kPaste)->setEnabled(clipboard != nullptr && clipboard->hasFormat(ClipboardFormat()));
    for (int i = 0; i < kArrangeCount; ++i)
        FindCommand(menu, kArrange + i)->setEnabled(CanArrange(static_cast<EArrange>(i), selected));
    for (const auto& [command, grid] : kGridItems)
    {
        QAction* item = FindCommand(menu, command);
        item->setCheckable(true);
        item->setChecked(grid == m_grid);
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
    add(kUndo, tr("Undo"), m_history.UndoText(), m_history.CanUndo(),
        QKeySequence(Qt::CTRL | Qt::Key_Z));
    add(kRedo, tr("Redo"), m_history.RedoText(), m_history.CanRedo(),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
}

void CQelWnd::RunCommand(int command, const QPoint& p, TUserObject* target)
{
    // A dialog the command opens may see the pointer move away meanwhile.
    struct TAfter
    {
        CQelWnd& canvas;
        ~TAfter() { canvas.RefreshPointer(); }
    } after{*this};
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
            DeleteObjects(TargetsOf(target), true, tr("Delete"));
        break;
    case kPush:
    case kPull:
        if (target != nullptr)
            Restack(TargetsOf(target), command == kPull);
        break;
    case kCut:
        Cut();
        break;
    case kCopy:
        Copy();
        break;
    case kFitPicture:
        if (target != nullptr)
            FitPicture(*target);
        break;
    case kPaste:
        Paste(p);
        break;
    case kDuplicate:
        Duplicate();
        break;
    case kGridOff:
    case kGrid5:
    case kGrid10:
    case kGrid20:
        for (const auto& [item, grid] : kGridItems)
            if (item == command)
                SetGrid(grid);
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
        if (command >= kArrange && command < kArrange + kArrangeCount)
            ArrangeSelection(static_cast<EArrange>(command - kArrange));
        break;
    }
}

std::vector<TUserObject*> CQelWnd::TargetsOf(TUserObject* target) const
{
    if (target == nullptr)
        return {};
    if (IsSelected(target))
        return Selection();
    return {target};
}

void CQelWnd::Restack(std::vector<TUserObject*> objects, bool toTop)
{
    std::sort(objects.begin(), objects.end(),
              [this](const TUserObject* a, const TUserObject* b) { return IndexOf(a) < IndexOf(b); });
    if (toTop)
        std::reverse(objects.begin(), objects.end());
    bool changed = false;
    {
        CLayoutEdits::CGroup group(
            Edits(), CountName(toTop ? tr("Pull") : tr("Push"), objects.size()));
        const size_t count = m_page.objects.size();
        for (size_t k = 0; k < objects.size(); ++k)
        {
            const auto from = static_cast<size_t>(IndexOf(objects[k]));
            const size_t to = toTop ? count - 1 - k : k;
            if (from != to)
            {
                Edits().Restack(m_page, from, to);
                changed = true;
            }
        }
    }
    if (changed)
        Changed();
}

void CQelWnd::Copy()
{
    std::vector<TUserObject*> selection = Selection();
    if (selection.empty())
        return;
    // In drawing order, so the copies stack as the originals do.
    std::sort(selection.begin(), selection.end(),
              [this](const TUserObject* a, const TUserObject* b) { return IndexOf(a) < IndexOf(b); });
    const std::vector<uint8_t> bytes =
        CopyObjects(m_layout, std::vector<const TUserObject*>(selection.begin(), selection.end()));
    auto* data = new QMimeData;
    data->setData(ClipboardFormat(), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<qsizetype>(bytes.size())));
    data->setData(SourceFormat(), SourceTag(m_page).toUtf8());
    QGuiApplication::clipboard()->setMimeData(data);
}

void CQelWnd::Cut()
{
    if (Selection().empty())
        return;
    Copy();
    DeleteObjects(Selection(), false, tr("Cut"));
}

void CQelWnd::Paste(std::optional<QPoint> at)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasFormat(ClipboardFormat()))
        return;
    const QByteArray bytes = data->data(ClipboardFormat());
    const bool ownPage = data->data(SourceFormat()) == SourceTag(m_page).toUtf8();
    PasteBytes(std::vector<uint8_t>(bytes.begin(), bytes.end()), at, ownPage, tr("Paste"));
}

void CQelWnd::Duplicate()
{
    std::vector<TUserObject*> selection = Selection();
    if (selection.empty())
        return;
    std::sort(selection.begin(), selection.end(),
              [this](const TUserObject* a, const TUserObject* b) { return IndexOf(a) < IndexOf(b); });
    PasteBytes(CopyObjects(m_layout, std::vector<const TUserObject*>(selection.begin(), selection.end())),
               std::nullopt, true, tr("Duplicate"));
}

void CQelWnd::PasteBytes(const std::vector<uint8_t>& bytes, std::optional<QPoint> at, bool offset,
                         const QString& verb)
{
    std::vector<std::unique_ptr<TUserObject>> objects;
    std::vector<TImageEntry*> added;
    if (!PasteObjects(m_layout, bytes.data(), bytes.size(), objects, added))
        return;
    std::vector<TObjectRect> rects;
    rects.reserve(objects.size());
    for (const auto& object : objects)
        rects.push_back(object->Rect());
    const TObjectRect bounds = BoundsOf(rects);
    int64_t dx = offset ? kPasteOffset : 0;
    int64_t dy = dx;
    if (at)
    {
        dx = int64_t{at->x()} - bounds.left;
        dy = int64_t{at->y()} - bounds.top;
    }
    const QString name = CountName(verb, objects.size());
    std::vector<TUserObject*> pasted;
    {
        // The pictures came in with the objects and leave with them on undo.
        CLayoutEdits::CGroup group(Edits(), name);
        Edits().PicturesAdded(std::move(added), name);
        for (auto& object : objects)
        {
            object->left = NotBelowZero(Saturate(object->left + dx));
            object->top = NotBelowZero(Saturate(object->top + dy));
            pasted.push_back(m_page.ObjectAtIndex(Edits().Add(m_page, std::move(object))));
        }
    }
    SetSelection(std::move(pasted));
    Changed();
}

void CQelWnd::ArrangeSelection(EArrange command)
{
    const std::vector<TUserObject*> selection = Selection();
    if (!CanArrange(command, selection.size()) || IsDragging())
        return;
    std::vector<TObjectRect> rects;
    rects.reserve(selection.size());
    for (const TUserObject* object : selection)
        rects.push_back(object->Rect());
    const std::vector<TObjectRect> arranged = Arrange(command, rects, kPageWidth, kPageHeight);
    bool changed = false;
    {
        CLayoutEdits::CGroup group(Edits(), ArrangeName(command));
        for (size_t i = 0; i < selection.size() && i < arranged.size(); ++i)
        {
            if (arranged[i] == rects[i])
                continue;
            const auto index = static_cast<size_t>(IndexOf(selection[i]));
            const bool resized = arranged[i].width != rects[i].width || arranged[i].height != rects[i].height;
            Edits().MoveResize(m_page, index, arranged[i]);
            Edits().EndMoveResize(m_page, index, rects[i], resized);
            changed = true;
        }
    }
    if (changed)
        Changed();
}

void CQelWnd::PlaceSelection(const TObjectRect& rect)
{
    const std::vector<TUserObject*> selection = Selection();
    if (selection.empty() || IsDragging())
        return;
    std::vector<TObjectRect> rects;
    rects.reserve(selection.size());
    for (const TUserObject* object : selection)
        rects.push_back(object->Rect());
    std::vector<TObjectRect> placed;
    if (selection.size() == 1)
    {
        placed.push_back(rect);
    }
    else
    {
        const TObjectRect bounds = BoundsOf(rects);
        for (TObjectRect r : rects)
        {
            r.left = NotBelowZero(Saturate(int64_t{r.left} + rect.left - bounds.left));
            r.top = NotBelowZero(Saturate(int64_t{r.top} + rect.top - bounds.top));
            placed.push_back(r);
        }
    }
    bool changed = false;
    {
        const bool resized =
            placed.front().width != rects.front().width || placed.front().height != rects.front().height;
        CLayoutEdits::CGroup group(
            Edits(),
            CountName(resized ? tr("Resize") : tr("Move"), selection.size()));
        for (size_t i = 0; i < selection.size(); ++i)
        {
            if (placed[i] == rects[i])
                continue;
            const auto index = static_cast<size_t>(IndexOf(selection[i]));
            Edits().MoveResize(m_page, index, placed[i]);
            Edits().EndMoveResize(m_page, index, rects[i], resized);
            changed = true;
        }
    }
    if (changed)
        Changed();
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

void CQelWnd::DeleteObjects(const std::vector<TUserObject*>& objects, bool ask, const QString& verb)
{
    if (objects.empty())
        return;
    if (ask)
    {
        const QString question =
            objects.size() == 1
                ? tr("Are you sure you want to permanently delete this object ?")
                : tr("Are you sure you want to permanently delete these %1 objects ?")
                      .arg(objects.size());
        const EMsgResult answer = UiServices().MessageBox(this, question, tr("Confirm Delete"),
                                                          EMsgButtons::YesNo, EMsgIcon::Question);
        if (answer != EMsgResult::Yes)
            return;
    }
    // From the top down, so that the places still to delete stay put.
    std::vector<size_t> places;
    for (const TUserObject* object : objects)
        if (const int index = IndexOf(object); index >= 0)
            places.push_back(static_cast<size_t>(index));
    std::sort(places.rbegin(), places.rend());
    {
        CLayoutEdits::CGroup group(Edits(), CountName(verb, places.size()));
        for (const size_t index : places)
            Edits().Delete(m_page, index);
    }
    SetSelected(nullptr);
    Changed();
}

void CQelWnd::FitPicture(TUserObject& target)
{
    const int index = IndexOf(&target);
    if (index < 0 || target.width <= 0 || target.height <= 0)
        return;
    std::unique_ptr<TUserObject> changed = target.Clone();
    std::vector<int32_t> replaced;
    std::vector<TImageEntry*> added;
    for (TUserFace* face : PictureFaces(*changed))
    {
        const TImageEntry* entry = m_layout.images.FindImage(face->param);
        if (entry == nullptr || entry->image == nullptr)
            continue;
        auto picture = std::make_unique<CImageBuffer>(*entry->image);
        if (!picture->Resample(target.width, target.height, 2))
            continue;
        TImageEntry* fitted = m_layout.images.AddImage(entry->name, std::move(picture));
        replaced.push_back(face->param);
        added.push_back(fitted);
        face->param = fitted->id;
    }
    if (added.empty())
        return;
    CLayoutEdits::CGroup group(Edits(), tr("Fit Picture to Object"));
    Edits().PicturesAdded(added, tr("Fit Picture to Object"));
    Edits().Replace(m_page, static_cast<size_t>(index), std::move(changed));
    // An old picture goes once nothing shows it any more.
    for (const int32_t id : replaced)
        if (TImageEntry* old = m_layout.images.FindImage(id); old != nullptr && !PictureInUse(m_layout, m_history, id))
            Edits().RemovePicture(*old);
}
