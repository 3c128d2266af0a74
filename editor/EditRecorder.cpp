#include "editor/EditRecorder.h"

#include <cstdlib>

#include "storage/Var.h"

namespace {

std::vector<uint8_t> Bytes(const void* bytes, unsigned length)
{
    const auto* first = static_cast<const uint8_t*>(bytes);
    return std::vector<uint8_t>(first, first + (first ? length : 0));
}

}  // namespace

CEditRecorder::CEditRecorder(std::shared_ptr<CEditHistory> history_) : history(std::move(history_)) {}

void CEditRecorder::Know(const std::vector<std::unique_ptr<CVar>>& vars)
{
    for (const auto& var : vars) {
        auto& values = known[var->GetListId()];  // one list per tab: found once, in effect
        if (values.empty()) values.reserve(vars.size());
        void* bytes = nullptr;
        unsigned length = 0;
        var->GetValue(&bytes, &length);
        values.insert_or_assign(var->GetName(), Bytes(bytes, length));
        std::free(bytes);
    }
}

std::vector<uint8_t>* CEditRecorder::Known(const GUID& listId, const char* name)
{
    auto list = known.find(listId);
    if (list == known.end()) return nullptr;
    auto value = list->second.find(name ? name : "");
    return value == list->second.end() ? nullptr : &value->second;
}

void CEditRecorder::Edited(const GUID& listId, const char* name, const void* bytes, unsigned length)
{
    std::vector<uint8_t>* before = Known(listId, name);
    // A variable this window never loaded has no before to go back to.
    if (!before) return;
    history->Record(listId, name, *before, bytes, length);
    *before = Bytes(bytes, length);
}

void CEditRecorder::Stored(const GUID& listId, const char* name, const void* bytes, unsigned length)
{
    if (std::vector<uint8_t>* before = Known(listId, name)) *before = Bytes(bytes, length);
}
