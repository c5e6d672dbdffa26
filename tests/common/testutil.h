#pragma once

#include "testfiles.h"

#include <QApplication>
#include <QGraphicsView>
#include <QMouseEvent>

namespace jukora::test {

/// Sends a mouse event to the view's viewport at a point of the preview,
/// with the buttons held stated outright (QTest's helpers guess them).
inline void sendMouse(QGraphicsView *view, QEvent::Type type, QPointF scenePos,
                      Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QWidget *viewport = view->viewport();
    const QPointF local = view->viewportTransform().map(scenePos);
    QMouseEvent event(type, local, viewport->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

inline void press(QGraphicsView *view, QPointF pos, Qt::MouseButton button = Qt::LeftButton,
                  Qt::MouseButtons held = {})
{
    sendMouse(view, QEvent::MouseButtonPress, pos, button, held | button);
}

inline void move(QGraphicsView *view, QPointF pos, Qt::MouseButtons held)
{
    sendMouse(view, QEvent::MouseMove, pos, Qt::NoButton, held);
}

inline void release(QGraphicsView *view, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(view, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

/// A whole left drag: press at `from`, move to `to`, release there.
inline void drag(QGraphicsView *view, QPointF from, QPointF to)
{
    press(view, from);
    move(view, to, Qt::LeftButton);
    release(view, to);
}

/// A left click: press and release at the same point.
inline void tap(QGraphicsView *view, QPointF pos)
{
    press(view, pos);
    release(view, pos);
}

} // namespace jukora::test
