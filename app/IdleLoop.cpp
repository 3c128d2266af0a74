#include "app/IdleLoop.h"

#include <QCoreApplication>
#include <QEvent>

IdleLoop::IdleLoop(IdleHandler handler) : handler(std::move(handler))
{
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &IdleLoop::OnTimer);
    QCoreApplication::instance()->installEventFilter(this);
    Enable();
}

IdleLoop::~IdleLoop()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

int IdleLoop::Run()
{
    Enable();
    return QCoreApplication::exec();
}

void IdleLoop::Enable()
{
    idleCount = 0;
    timer.start();
}

void IdleLoop::OnTimer()
{
    ++idleCount;
    if (!handler())
        timer.stop();
}

bool IdleLoop::eventFilter(QObject* watched, QEvent* event)
{
    if (!timer.isActive()) {
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
