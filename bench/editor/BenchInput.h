#pragma once

// What the editor's benchmarks do to a widget: show it and wait until the
// window system has exposed it (painting starts only then), and send it the
// mouse as a person's hand would.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

inline void ShowExposed(QWidget& widget)
{
    widget.show();
    while (!widget.windowHandle() || !widget.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

inline void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}
