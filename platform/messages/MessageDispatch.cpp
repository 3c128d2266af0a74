#include "platform/messages/MessageDispatch.h"

#include <QWidget>

#include "platform/messages/MessageHook.h"
#include "platform/messages/MessageTarget.h"

LRESULT SendMessage(QWidget* target, UINT id, WPARAM wParam, LPARAM lParam)
{
    if (!target || id == 0)
        return 0;
    LRESULT result = 0;
    if (DispatchToHooks(target, id, wParam, lParam, result))
        return result;
    if (auto* receiver = dynamic_cast<MessageTarget*>(target)) {
        result = 0;
        if (receiver->OnRegisteredMessage(id, wParam, lParam, result))
            return result;
    }
    return 0;
}
