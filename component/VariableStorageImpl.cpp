#include "component/VariableStorageImpl.h"

#include <QWidget>
#include <algorithm>
#include <utility>

#include "component/EditorEntry.h"
#include "component/ModuleState.h"
#include "platform/com/Com.h"

namespace {
// No exception crosses the binary interface: a method that runs out of
// memory reports its failure value instead.
template <class F>
auto Guarded(decltype(std::declval<F>()()) failure, F&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

// A null or empty folder is the working folder, never the file system's root.
std::string FolderPath(const wchar_t* folder)
{
    std::string path = WideToUtf8(folder);
    return path.empty() ? std::string(".") : path;
}
}  // namespace

CVariableStorageImpl::CVariableStorageImpl() { ++ModuleState::objects; }

CVariableStorageImpl::~CVariableStorageImpl()
{
    // The dialog clears the slot itself as it goes.
    if (HWND window = std::exchange(editorWindow, nullptr)) delete window;
    listsInUse.clear();
    stores.clear();
    --ModuleState::objects;
}

int32_t CVariableStorageImpl::AttachVariableList(const GUID* listId, VARIABLE_CALLBACK callback, void* context)
{
    if (!listId || !callback) return 0;
    return Guarded(0, [&] {
        stores[*listId].SetClient(callback, context);
        return 1;
    });
}

int32_t CVariableStorageImpl::DetachVariableList(const GUID* listId)
{
    if (!listId) return 0;
    auto it = stores.find(*listId);
    if (it == stores.end()) return 0;
    it->second.DropClient();
    return 1;
}

int32_t CVariableStorageImpl::Load(const wchar_t* folder)
{
    Guarded(0, [&] {
        CDataFolder::Load(FolderPath(folder), stores, listsInUse);
        TellWatchersAll();
        return 1;
    });
    return 1;
}

int32_t CVariableStorageImpl::Save(const wchar_t* folder) { return Save(folder, nullptr); }

int32_t CVariableStorageImpl::Save(const wchar_t* folder, BSTR* errors)
{
    if (errors) *errors = nullptr;
    return Guarded(0, [&] {
        std::string messages;
        // A copy: a list's enumeration may hand over further lists meanwhile.
        const ListsInUse lists = listsInUse;
        const bool ok = CDataFolder::Save(FolderPath(folder), lists, messages);
        if (errors) *errors = SysAllocString(Utf8ToWide(messages).c_str());
        return ok ? 1 : 0;
    });
}

int32_t CVariableStorageImpl::SetData(const GUID* listId, const char* name, const void* bytes, unsigned length)
{
    if (!listId) return 0;
    return Guarded(0, [&] {
        const int32_t result = stores[*listId].SetData(name, bytes, length);
        TellWatchers(*listId, name, bytes, length);
        return result;
    });
}

int32_t CVariableStorageImpl::UseVariableList(const GUID* listId, IVariableList* list)
{
    if (!listId) return 0;
    return Guarded(0, [&] {
        IVariableListPtr& slot = listsInUse[*listId];
        if (slot.Get() != list) slot = IVariableListPtr(list);
        return 1;
    });
}

int32_t CVariableStorageImpl::CreateModal(HWND parent, int32_t, IVariableChangedEvent* sink)
{
    if (editorWindow) return 0;
    return EditorCreateModal(this, parent, sink);
}

HWND CVariableStorageImpl::Create(HWND parent, int32_t, IVariableChangedEvent* sink)
{
    return EditorCreate(this, parent, sink);
}

HWND CVariableStorageImpl::CreateControl(HWND parent, const RECT* rectangle, IVariableChangedEvent* sink)
{
    return EditorCreateControl(this, parent, rectangle, sink);
}

void CVariableStorageImpl::AddWatcher(CValueWatcher* watcher)
{
    if (watcher && std::find(watchers.begin(), watchers.end(), watcher) == watchers.end())
        watchers.push_back(watcher);
}

void CVariableStorageImpl::RemoveWatcher(CValueWatcher* watcher)
{
    watchers.erase(std::remove(watchers.begin(), watchers.end(), watcher), watchers.end());
}

void CVariableStorageImpl::TellWatchers(const GUID& listId, const char* name, const void* bytes, unsigned length)
{
    if (watchers.empty()) return;
    if (!name) name = "";
    if (!bytes) length = 0;
    // Each window gets the name and value as stored, independent of the
    // caller's buffers (which may belong to a window that goes meanwhile),
    // and a window that goes while another is told is not told: the walk
    // is over a copy of the list, checked against the list itself.
    const std::string storedName(name);
    const auto* first = static_cast<const uint8_t*>(bytes);
    const std::vector<uint8_t> stored(first, first + length);
    const std::vector<CValueWatcher*> told = watchers;
    for (CValueWatcher* watcher : told)
        if (std::find(watchers.begin(), watchers.end(), watcher) != watchers.end())
            watcher->OnValueStored(listId, storedName.c_str(), length ? stored.data() : nullptr, length);
}

void CVariableStorageImpl::TellWatchersAll()
{
    if (watchers.empty()) return;
    // Names first: the stores stay as they are while the windows are told.
    std::vector<std::pair<GUID, std::string>> names;
    for (const auto& [id, store] : stores)
        for (const auto& entry : store.GetValues()) names.emplace_back(id, entry.first);
    for (const auto& [id, name] : names) {
        const CVariableList* store = FindStore(id);
        if (!store) continue;
        auto it = store->GetValues().find(name);
        if (it == store->GetValues().end()) continue;
        const std::vector<uint8_t>& bytes = it->second;
        TellWatchers(id, name.c_str(), bytes.empty() ? nullptr : bytes.data(), unsigned(bytes.size()));
    }
}

const CVariableList* CVariableStorageImpl::FindStore(const GUID& listId) const
{
    auto it = stores.find(listId);
    return it == stores.end() ? nullptr : &it->second;
}
