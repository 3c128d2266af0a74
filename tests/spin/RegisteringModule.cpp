// A module that registers message names, built twice with hidden symbols as
// the component and an attribute server are.
#include "platform/messages/RegisteredMessage.h"

extern "C" __attribute__((visibility("default"))) UINT RegisterFromModule(const char* name)
{
    return RegisterWindowMessage(name);
}
