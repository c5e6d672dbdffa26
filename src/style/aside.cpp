#include "aside.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace jukora {

namespace {

/// Drops the user's input while work runs aside; Escape asks it to stop.
class InputHold : public QObject
{
public:
    explicit InputHold(const std::function<void()> &stop) : m_stop(stop) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                m_stop();
            return true;
        case QEvent::Close: {
            // A main window closed now would go from under the work: the
            // work is stopped, and the window closed once it has ended. A
            // window of its own (a help page) just closes. (The close
            // reaches the platform window first, then its widget.)
            auto *window = qobject_cast<QWidget *>(watched);
            if (!window || !window->isWindow() || window->parentWidget())
                return false;
            m_closing = window;
            m_stop();
            event->ignore();
            return true;
        }
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

public:
    /// The window whose closing waits for the work to end.
    QPointer<QWidget> m_closing;

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
    if (hold.m_closing)
        QMetaObject::invokeMethod(hold.m_closing, &QWidget::close, Qt::QueuedConnection);
    if (busy)
        QGuiApplication::restoreOverrideCursor();
}

} // namespace jukora
