#include "storage/Var.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
std::string TextOrEmpty(const char* text) { return text ? std::string(text) : std::string(); }
}  // namespace

CVar::CVar(const GLOBAL_VARIABLE_INFO& info)
    : name(TextOrEmpty(info.name)),
      description(TextOrEmpty(info.description)),
      type(info.type),
      modified(info.modified)
{
}

CVar::~CVar() = default;

void CVar::SetValue(const void* bytes, unsigned length)
{
    // Index loop: a listener may subscribe another one while being told.
    for (size_t i = 0; i < listeners.size(); ++i)
        listeners[i]->OnVarChanged(listId, name.c_str(), bytes, length);
}

void CVar::Init(const GUID& id, Event* listener)
{
    listId = id;
    Subscribe(listener);
}

void CVar::Subscribe(Event* listener)
{
    if (listener) listeners.push_back(listener);
}

void CVar::CopyOut(const void* source, unsigned length, void** bytes, unsigned* length_out)
{
    void* copy = nullptr;
    if (length > 0 && source) {
        copy = std::malloc(length);
        if (!copy) throw std::bad_alloc();
        std::memcpy(copy, source, length);
    } else {
        length = 0;
    }
    if (bytes) *bytes = copy;
    else std::free(copy);
    if (length_out) *length_out = length;
}
