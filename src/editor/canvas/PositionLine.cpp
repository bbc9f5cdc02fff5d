#include "PositionLine.h"

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

void CPositionLine::Show()
{
    setText(Describe(m_canvas.Selected(), m_canvas.Pointer()));
}
