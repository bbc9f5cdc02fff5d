#include "PositionLine.h"

#include "Arrange.h"
#include "ObjectKind.h"
#include "QelWnd.h"

CPositionLine::CPositionLine(CQelWnd& canvas, QWidget* parent) : QLabel(parent), m_canvas(canvas)
{
    connect(&canvas, &CQelWnd::SelectionChanged, this, &CPositionLine::Show);
    connect(&canvas, &CQelWnd::PageChanged, this, &CPositionLine::Show);
    connect(&canvas, &CQelWnd::PointerMoved, this, &CPositionLine::Show);
    Show();
}

QString CPositionLine::Describe(const TUserObject* selected, std::optional<QPoint> pointer)
{
    if (selected != nullptr)
        return QStringLiteral("%1: x %2, y %3, width %4, height %5")
            .arg(ObjectKindName(*selected))
            .arg(selected->left)
            .arg(selected->top)
            .arg(selected->width)
            .arg(selected->height);
    if (pointer)
        return QStringLiteral("Pointer: x %1, y %2").arg(pointer->x()).arg(pointer->y());
    return {};
}

QString CPositionLine::Describe(const std::vector<TUserObject*>& selection, std::optional<QPoint> pointer)
{
    if (selection.size() < 2)
        return Describe(selection.empty() ? nullptr : selection.front(), pointer);
    std::vector<TObjectRect> rects;
    for (const TUserObject* object : selection)
        rects.push_back(object->Rect());
    const TObjectRect bounds = BoundsOf(rects);
    return QStringLiteral("%1 objects: x %2, y %3, width %4, height %5")
        .arg(selection.size())
        .arg(bounds.left)
        .arg(bounds.top)
        .arg(bounds.width)
        .arg(bounds.height);
}

void CPositionLine::Show()
{
    setText(Describe(m_canvas.Selection(), m_canvas.Pointer()));
}
