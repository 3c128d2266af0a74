// The storage component object: the client lists in use, one value store
// per list id, the open editor dialog and the editor's layout record.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <vector>

#include "platform/com/Guid.h"
#include "storage/GUIData.h"
#include "storage/ValueWatcher.h"
#include "storage/VariableList.h"
#include "storage/api/VariableStorage.h"

class CEditHistory;

class CVariableStorageImpl : public IVariableStorageAttach, public IVariableStorage, public IVariableStorage2 {
public:
    using ListsInUse = std::map<GUID, IVariableListPtr, CompareGUID>;
    using Stores = std::map<GUID, CVariableList, CompareGUID>;

    CVariableStorageImpl();
    CVariableStorageImpl(const CVariableStorageImpl&) = delete;
    CVariableStorageImpl& operator=(const CVariableStorageImpl&) = delete;

    // IUnknown (all three interfaces share it; IUnknown is the attach pointer)
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IVariableStorageAttach
    STDMETHOD_(int32_t, AttachVariableList)(const GUID* listId, VARIABLE_CALLBACK callback, void* context) override;
    STDMETHOD_(int32_t, DetachVariableList)(const GUID* listId) override;

    // IVariableStorage
    STDMETHOD_(int32_t, Load)(const wchar_t* folder) override;
    STDMETHOD_(int32_t, Save)(const wchar_t* folder) override;
    STDMETHOD_(int32_t, SetData)(const GUID* listId, const char* name, const void* bytes, unsigned length) override;
    STDMETHOD_(int32_t, UseVariableList)(const GUID* listId, IVariableList* list) override;
    STDMETHOD_(int32_t, CreateModal)(HWND parent, int32_t unused, IVariableChangedEvent* sink) override;
    STDMETHOD_(HWND, Create)(HWND parent, int32_t unused, IVariableChangedEvent* sink) override;
    STDMETHOD_(HWND, CreateControl)(HWND parent, const RECT* rectangle, IVariableChangedEvent* sink) override;

    // IVariableStorage2
    STDMETHOD_(int32_t, Save)(const wchar_t* folder, BSTR* errors) override;

    // For the editor window: each editor takes its own copy of the lists.
    ListsInUse GetListsInUse() const { return listsInUse; }
    CGUIData& GetGUIData() { return guiData; }
    HWND GetEditorWindow() const { return editorWindow; }
    void SetEditorWindow(HWND window) { editorWindow = window; }
    // The open editor windows, told of every value stored; each removes
    // itself before it goes.
    void AddWatcher(CValueWatcher* watcher);
    void RemoveWatcher(CValueWatcher* watcher);
    // The undo history the editor windows share: made by the first of them
    // and kept as long as the component lives, so that it outlasts a
    // dialog closed and opened again.
    std::shared_ptr<CEditHistory>& EditHistory() { return editHistory; }

    // The value store of a list id, or null when none exists yet.
    const CVariableList* FindStore(const GUID& listId) const;
    const Stores& GetStores() const { return stores; }

protected:
    virtual ~CVariableStorageImpl();

private:
    void TellWatchers(const GUID& listId, const char* name, const void* bytes, unsigned length);
    // Every value in the stores, after a load.
    void TellWatchersAll();

    std::atomic<ULONG> refCount{0};
    ListsInUse listsInUse;
    Stores stores;
    HWND editorWindow = nullptr;
    CGUIData guiData;
    std::vector<CValueWatcher*> watchers;
    std::shared_ptr<CEditHistory> editHistory;
};
