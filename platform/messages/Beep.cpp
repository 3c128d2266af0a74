#include "platform/messages/Beep.h"

#include <QApplication>

namespace {

std::function<void()>& Handler()
{
    static std::function<void()> handler;
    return handler;
}

}  // namespace

void MessageBeep()
{
    if (Handler())
        Handler()();
    else
        QApplication::beep();
}

std::function<void()> SetBeepHandler(std::function<void()> handler)
{
    std::function<void()> previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}
