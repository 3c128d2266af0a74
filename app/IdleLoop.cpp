#include "app/IdleLoop.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QThread>

IdleLoop::IdleLoop(IdleHandler handler)
    : handler(std::move(handler)), outerLevel(QThread::currentThread()->loopLevel())
{
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &IdleLoop::OnTimer);
    QCoreApplication::instance()->installEventFilter(this);
    // The dispatcher reports every turn of whichever loop is running, the
    // one that blocks and the one that only polls; either tells when the
    // outer loop has control again.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &IdleLoop::ResumeAfterInterruption);
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, &IdleLoop::ResumeAfterInterruption);
    }
    Enable();
}

IdleLoop::~IdleLoop()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

int IdleLoop::Run()
{
    const int enclosing = outerLevel;
    outerLevel = QThread::currentThread()->loopLevel() + 1;
    Enable();
    const int code = QCoreApplication::exec();
    outerLevel = enclosing;
    return code;
}

void IdleLoop::Enable()
{
    heldBack = false;
    idleCount = 0;
    timer.start();
}

bool IdleLoop::Interrupted() const
{
    return QThread::currentThread()->loopLevel() > outerLevel ||
           qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr;
}

void IdleLoop::ResumeAfterInterruption()
{
    if (heldBack && !Interrupted())
        Enable();
}

void IdleLoop::OnTimer()
{
    if (Interrupted()) {
        // Stopped rather than skipped: a zero-interval timer left running
        // would keep the nested loop busy for nothing.
        timer.stop();
        heldBack = true;
        return;
    }
    ++idleCount;
    if (!handler())
        timer.stop();
}

bool IdleLoop::eventFilter(QObject* watched, QEvent* event)
{
    // While held back, only the end of the interruption restarts the timer.
    if (!timer.isActive() && !heldBack) {
        switch (event->type()) {
        // Pointer motion and painting do not wake the frame loop.  Qt's caret
        // blink is a plain timer tick, and the loop's own timer ticks too, so
        // timer events are left out as a whole.
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseMove:
        case QEvent::HoverMove:
        case QEvent::Paint:
        case QEvent::UpdateRequest:
        case QEvent::Timer:
            break;
        default:
            Enable();
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
