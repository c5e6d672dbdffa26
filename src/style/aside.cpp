#include "aside.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QThread>
#include <QTimer>

#include <memory>

namespace jukora {

namespace {

/// Drops the user's input while work runs aside; Escape asks it to stop.
class InputHold : public QObject
{
public:
    explicit InputHold(const std::function<void()> &stop) : m_stop(stop) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                m_stop();
            return true;
        case QEvent::Close: // a window closed now would go from under the work
            event->ignore();
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
        }
    }

private:
    const std::function<void()> &m_stop;
};

} // namespace

void runAside(const std::function<void()> &work, const std::function<void()> &stop)
{
    std::unique_ptr<QThread> thread(QThread::create(work));
    QEventLoop waiting;
    QObject::connect(thread.get(), &QThread::finished, &waiting, &QEventLoop::quit);
    bool busy = false;
    QTimer::singleShot(100, &waiting, [&] {
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        busy = true;
    });
    InputHold hold(stop);
    if (stop)
        qApp->installEventFilter(&hold);
    thread->start();
    waiting.exec(stop ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    thread->wait();
    if (stop)
        qApp->removeEventFilter(&hold);
    if (busy)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace jukora
