#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>

namespace jukora::test {

/// The project's source folder (set by CTest), for DB/ and the golden files.
inline QString sourceDir()
{
    const QByteArray dir = qgetenv("JUKORA_SOURCE_DIR");
    return dir.isEmpty() ? QStringLiteral(".") : QString::fromLocal8Bit(dir);
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<missing>");
    return file.readAll();
}

/// Sends a mouse event to the view's viewport at a point of the preview,
/// with the buttons held stated outright (QTest's helpers guess them).
inline void sendMouse(QGraphicsView *view, QEvent::Type type, QPointF scenePos,
                      Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QWidget *viewport = view->viewport();
    const QPointF local = view->viewportTransform().map(scenePos);
    const QPointF global = viewport->mapToGlobal(local);
    QMouseEvent event(type, local, global, button, buttons, Qt::NoModifier);
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

/// A left click: press and release at the same point.
inline void tap(QGraphicsView *view, QPointF pos)
{
    press(view, pos);
    release(view, pos);
}

} // namespace jukora::test
