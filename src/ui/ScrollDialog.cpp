#include "ScrollDialog.h"

#include <QApplication>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

CGripper::CGripper(QWidget* parent) : QSizeGrip(parent)
{
    // As large as the corner between two scroll bars.
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    resize(extent, extent);
}

CScrollDialog::CScrollDialog(const TDlgTemplate& tmpl, QWidget* parent)
    : QDialog(parent), m_content(new QWidget(this))
{
    BuildDialog(m_content, tmpl);
    setWindowTitle(tmpl.title);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(false);
    m_designed = m_content->size();
    m_client = m_designed;
    resize(m_designed);

    if (auto* ok = DlgItem<QPushButton>(m_content, 1))
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    if (auto* cancel = DlgItem<QPushButton>(m_content, 2))
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_hBar = new QScrollBar(Qt::Horizontal, this);
    m_vBar = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {m_hBar, m_vBar})
    {
        bar->setRange(0, 0);
        bar->hide();
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { BarAction(bar->orientation(), action); });
    }
    m_refit.setSingleShot(true);
    connect(&m_refit, &QTimer::timeout, this, [this] { FitToScreen(this); });
    m_gripper = new CGripper(this);
    m_gripper->setObjectName(QString::number(kGripperId));

    SizeChanged();
}

QScrollBar* CScrollDialog::ScrollBar(Qt::Orientation bar) const
{
    return bar == Qt::Vertical ? m_vBar : m_hBar;
}

void CScrollDialog::setVisible(bool visible)
{
    const bool first = visible && !m_fitted && !isVisible();
    if (first)
    {
        m_fitted = true;
        // The window manager's frame is not known before the first show:
        // the owner's frame tells how much it adds, and once shown the
        // window is fitted again by its own.
        QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        FitToScreen(owner != nullptr && owner->isVisible() ? owner : nullptr);
    }
    QDialog::setVisible(visible);
    if (first)
        m_refit.start(0);
}

void CScrollDialog::FitToScreen(const QWidget* framed)
{
    const QScreen* shownOn = screen();
    if (shownOn == nullptr)
        return;
    QMargins frame;
    if (framed != nullptr)
    {
        const QRect outer = framed->frameGeometry();
        const QRect inner = framed->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    }
    const QRect free = shownOn->availableGeometry();
    const QSize room = free.size().shrunkBy(frame);
    QSize fitted = size().boundedTo(room);
    // Cut in one direction, the window makes room for the scroll bar that
    // brings, where the screen has it, so as not to need the other bar too.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_vBar);
    if (fitted.height() < size().height() && fitted.width() == m_designed.width())
        fitted.setWidth(std::min(room.width(), fitted.width() + bar));
    if (fitted.width() < size().width() && fitted.height() == m_designed.height())
        fitted.setHeight(std::min(room.height(), fitted.height() + bar));
    fitted = fitted.expandedTo(minimumSize());
    if (fitted != size())
        resize(fitted);
    if (isVisible())
    {
        // Moved, when need be, so that the whole frame lies in the free area.
        const QRect outer = frameGeometry();
        const int x = std::clamp(outer.left(), free.left(), std::max(free.left(), free.right() - outer.width() + 1));
        const int y = std::clamp(outer.top(), free.top(), std::max(free.top(), free.bottom() - outer.height() + 1));
        if (x != outer.left() || y != outer.top())
            move(x, y);
    }
}

void CScrollDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    SizeChanged();
}

void CScrollDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        SizeChanged();
}

bool CScrollDialog::focusNextPrevChild(bool next)
{
    // A control reached with Tab while scrolled out of sight is brought in.
    const bool moved = QDialog::focusNextPrevChild(next);
    ShowFocused(focusWidget());
    return moved;
}

void CScrollDialog::wheelEvent(QWheelEvent* event)
{
    // The wheel over the controls scrolls as it would over the bar.
    const QPoint delta = event->angleDelta();
    QScrollBar* bar = std::abs(delta.x()) > std::abs(delta.y()) ? m_hBar : m_vBar;
    if (bar->isVisible())
        QApplication::sendEvent(bar, event);
    else
        event->ignore();
}

void CScrollDialog::SizeChanged()
{
    // Back to the origin first, so that no size leaves the controls offset.
    m_hPosition = 0;
    m_vPosition = 0;
    m_content->move(0, 0);

    // A bar that is shown takes its room from the client area, which may make
    // the other direction overflow too; adding bars only ever adds overflow,
    // so this settles within three rounds.
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_vBar);
    const int barHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_hBar);
    bool hShown = false;
    bool vShown = false;
    for (;;)
    {
        m_client = QSize(std::max(0, width() - (vShown ? barWidth : 0)),
                         std::max(0, height() - (hShown ? barHeight : 0)));
        m_hOverflow = (m_designed.width() - m_client.width()) / kStepX;
        m_vOverflow = (m_designed.height() - m_client.height()) / kStepY;
        const bool hNeeded = m_hOverflow > 0;
        const bool vNeeded = m_vOverflow > 0;
        if (hNeeded == hShown && vNeeded == vShown)
            break;
        hShown = hShown || hNeeded;
        vShown = vShown || vNeeded;
    }

    const bool maximised = isMaximized();
    m_gripper->setVisible(m_hOverflow <= 0 && m_vOverflow <= 0 && !maximised);

    m_hMaximum = std::max(m_hOverflow, 0);
    m_vMaximum = std::max(m_vOverflow, 0);
    m_hPosition = std::min(m_hPosition, m_hMaximum);
    m_vPosition = std::min(m_vPosition, m_vMaximum);
    const struct
    {
        QScrollBar* bar;
        int maximum;
        int position;
        int visibleSteps;
        QRect place;
    } bars[] = {
        {m_hBar, m_hMaximum, m_hPosition, m_client.width() / kStepX,
         QRect(0, m_client.height(), m_client.width(), barHeight)},
        {m_vBar, m_vMaximum, m_vPosition, m_client.height() / kStepY,
         QRect(m_client.width(), 0, barWidth, m_client.height())},
    };
    for (const auto& b : bars)
    {
        b.bar->setRange(0, b.maximum);
        // Only the thumb's size: the requests decide how far a page goes.
        b.bar->setPageStep(std::max(b.visibleSteps, 1));
        b.bar->setValue(b.position);
        b.bar->setGeometry(b.place);
        b.bar->setVisible(b.maximum > 0);
        b.bar->raise();
    }

    if (!maximised)
    {
        m_gripper->move(m_client.width() - m_gripper->width(), m_client.height() - m_gripper->height());
        m_gripper->raise();
        m_gripper->update();
    }
}

void CScrollDialog::ScrollRequest(Qt::Orientation bar, EScroll code, int thumb)
{
    const bool vertical = bar == Qt::Vertical;
    int& position = vertical ? m_vPosition : m_hPosition;
    const int maximum = vertical ? m_vMaximum : m_hMaximum;
    // A page down is the whole overflow, so that one reaches the end.
    const long long page = vertical ? std::max(m_vOverflow, 1) : kPageX;
    long long d = 0;
    switch (code)
    {
    case EScroll::LineBack:
        d = -1;
        break;
    case EScroll::LineForward:
        d = 1;
        break;
    case EScroll::PageBack:
        d = -page;
        break;
    case EScroll::PageForward:
        d = page;
        break;
    case EScroll::ThumbTrack:
        d = static_cast<long long>(thumb) - position;
        break;
    case EScroll::ToStart:
        d = -position;
        break;
    case EScroll::ToEnd:
        d = maximum - position;
        break;
    case EScroll::EndScroll:
        break;
    }
    d = std::clamp<long long>(d, -position, maximum - position);
    if (d != 0)
    {
        position += static_cast<int>(d);
        m_content->move(-m_hPosition * kStepX, -m_vPosition * kStepY);
    }
    ScrollBar(bar)->setValue(position);
}

void CScrollDialog::BarAction(Qt::Orientation bar, int action)
{
    // Qt has already moved the slider by its own rule; the request sets it
    // where this dialog's rule puts it.
    switch (action)
    {
    case QAbstractSlider::SliderSingleStepSub:
        ScrollRequest(bar, EScroll::LineBack);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        ScrollRequest(bar, EScroll::LineForward);
        break;
    case QAbstractSlider::SliderPageStepSub:
        ScrollRequest(bar, EScroll::PageBack);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        ScrollRequest(bar, EScroll::PageForward);
        break;
    case QAbstractSlider::SliderToMinimum:
        ScrollRequest(bar, EScroll::ToStart);
        break;
    case QAbstractSlider::SliderToMaximum:
        ScrollRequest(bar, EScroll::ToEnd);
        break;
    case QAbstractSlider::SliderMove:
        ScrollRequest(bar, EScroll::ThumbTrack, ScrollBar(bar)->sliderPosition());
        break;
    default:
        break;
    }
}

void CScrollDialog::ShowFocused(QWidget* widget)
{
    if (widget == nullptr || !m_content->isAncestorOf(widget))
        return;
    const QRect r(widget->mapTo(m_content, QPoint(0, 0)), widget->size());
    // The nearest position, in steps, at which [first, last) lies inside the
    // client extent, its start first when it is larger; the current one when
    // it already lies inside.
    const auto wanted = [](int position, int step, int first, int last, int extent)
    {
        const int shownFirst = position * step;
        if (first < shownFirst)
            return first / step;
        if (last > shownFirst + extent)
            return std::min((last - extent + step - 1) / step, first / step);
        return position;
    };
    ScrollRequest(Qt::Horizontal, EScroll::ThumbTrack,
                  wanted(m_hPosition, kStepX, r.left(), r.left() + r.width(), m_client.width()));
    ScrollRequest(Qt::Vertical, EScroll::ThumbTrack,
                  wanted(m_vPosition, kStepY, r.top(), r.top() + r.height(), m_client.height()));
}
