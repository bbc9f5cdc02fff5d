#include "PositionLine.h"

#include "Arrange.h"
#include "ObjectKind.h"
#include "QelWnd.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

CPositionLine::CPositionLine(CQelWnd& canvas, QWidget* parent)
    : QLabel(parent), m_canvas(canvas), m_edit(new QLineEdit(this))
{
    m_edit->setObjectName(QString::number(kEditId));
    m_edit->hide();
    m_edit->installEventFilter(this);
    connect(&canvas, &CQelWnd::EditPositionAsked, this, &CPositionLine::BeginEdit);
    connect(&canvas, &CQelWnd::SelectionChanged, this, &CPositionLine::Show);
    connect(&canvas, &CQelWnd::PageChanged, this, &CPositionLine::Show);
    connect(&canvas, &CQelWnd::PointerMoved, this, &CPositionLine::Show);
    Show();
}

QString CPositionLine::Describe(const TUserObject* selected, std::optional<QPoint> pointer)
{
    if (selected != nullptr)
        return QCoreApplication::translate("CPositionLine", "%1: x %2, y %3, width %4, height %5")
            .arg(ObjectKindName(*selected))
            .arg(selected->left)
            .arg(selected->top)
            .arg(selected->width)
            .arg(selected->height);
    if (pointer)
        return QCoreApplication::translate("CPositionLine", "Pointer: x %1, y %2")
            .arg(pointer->x())
            .arg(pointer->y());
    return {};
}

QString CPositionLine::Describe(const std::vector<TUserObject*>& selection, std::optional<QPoint> pointer)
{
    if (selection.size() < 2)
        return Describe(selection.empty() ? nullptr : selection.front(), pointer);
    std::vector<TObjectRect> rects;
    rects.reserve(selection.size());
    for (const TUserObject* object : selection)
        rects.push_back(object->Rect());
    const TObjectRect bounds = BoundsOf(rects);
    return QCoreApplication::translate("CPositionLine", "%1 objects: x %2, y %3, width %4, height %5")
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

void CPositionLine::BeginEdit()
{
    const std::vector<TUserObject*> selection = m_canvas.Selection();
    if (selection.empty())
        return;
    std::vector<TObjectRect> rects;
    rects.reserve(selection.size());
    for (const TUserObject* object : selection)
        rects.push_back(object->Rect());
    const TObjectRect r = BoundsOf(rects);
    m_edit->setText(QStringLiteral("%1, %2, %3, %4").arg(r.left).arg(r.top).arg(r.width).arg(r.height));
    m_edit->setGeometry(rect());
    m_edit->show();
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

bool CPositionLine::IsEditing() const
{
    return m_edit->isVisible();
}

std::optional<std::array<int32_t, 4>> CPositionLine::ParseGeometry(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    const QStringList parts = text.trimmed().split(separators, Qt::SkipEmptyParts);
    if (parts.size() != 4)
        return std::nullopt;
    std::array<int32_t, 4> values{};
    for (size_t i = 0; i < values.size(); ++i)
    {
        bool ok = false;
        const int v = parts[static_cast<qsizetype>(i)].toInt(&ok);
        if (!ok || v < 0)
            return std::nullopt;
        values[i] = v;
    }
    return values;
}

void CPositionLine::EndEdit(bool apply)
{
    if (!m_edit->isVisible())
        return;
    const QString text = m_edit->text();
    m_edit->hide();
    m_canvas.setFocus(Qt::OtherFocusReason);
    if (!apply)
        return;
    if (const auto values = ParseGeometry(text))
        m_canvas.PlaceSelection(TObjectRect{(*values)[0], (*values)[1], (*values)[2], (*values)[3]});
}

bool CPositionLine::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        {
            // Taken here: neither reaches the dialog, which would close.
            EndEdit(key != Qt::Key_Escape);
            return true;
        }
    }
    if (watched == m_edit && event->type() == QEvent::FocusOut)
        EndEdit(false);
    return QLabel::eventFilter(watched, event);
}

void CPositionLine::mousePressEvent(QMouseEvent* event)
{
    BeginEdit();
    QLabel::mousePressEvent(event);
}

void CPositionLine::resizeEvent(QResizeEvent* event)
{
    m_edit->setGeometry(rect());
    QLabel::resizeEvent(event);
}
