// What the editor tests share: a registry of their own, a component stand-in
// that records what reaches it, a recording change sink, and lists built
// with the demo client's list class.
#pragma once

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "demo/DemoList.h"
#include "editor/CMainWnd.h"
#include "platform/messages/Beep.h"
#include "storage/GUIData.h"
#include "storage/VariableStorageImpl.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

class CVarListView;

struct Call {
    std::string who;  // "sink" or "SetData"
    GUID listId;
    std::string name;
    std::vector<uint8_t> bytes;
};

// Records the calls of sink and component in one sequence.
struct CallLog {
    std::vector<Call> calls;
    int Count(const std::string& who) const;
};

class FakeStorage final : public IVariableStorage {
public:
    explicit FakeStorage(CallLog& log) : log(log) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD_(int32_t, Load)(const wchar_t*) override { return 1; }
    STDMETHOD_(int32_t, Save)(const wchar_t*) override { return 1; }
    STDMETHOD_(int32_t, SetData)(const GUID* listId, const char* name, const void* bytes, unsigned length) override;
    STDMETHOD_(int32_t, UseVariableList)(const GUID*, IVariableList*) override { return 0; }
    STDMETHOD_(int32_t, CreateModal)(HWND, int32_t, IVariableChangedEvent*) override { return 0; }
    STDMETHOD_(HWND, Create)(HWND, int32_t, IVariableChangedEvent*) override { return nullptr; }
    STDMETHOD_(HWND, CreateControl)(HWND, const RECT*, IVariableChangedEvent*) override { return nullptr; }

    ULONG refs = 1;  // lives on the test's stack; counts only

private:
    CallLog& log;
};

class RecordingSink final : public IVariableChangedEvent {
public:
    explicit RecordingSink(CallLog& log) : log(log) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD_(int32_t, OnVariableChanged)(const GUID* listId, const char* name, const void* bytes,
                                           unsigned length) override;
    ULONG refs = 1;

private:
    CallLog& log;
};

// A client of the real component: records what its callback receives and
// applies it to its list, as a program does.
struct ListClient {
    DemoList* list = nullptr;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> calls;

    static int32_t STDMETHODCALLTYPE Callback(const char* name, const void* bytes, unsigned length, void* context);
    int Count(const std::string& name) const;
    template <class T>
    T Last() const
    {
        T value{};
        std::memcpy(&value, calls.back().second.data(), sizeof value);
        return value;
    }
};

// The component object has a protected destructor: it goes by Release.
struct StorageRef {
    CVariableStorageImpl* p = new CVariableStorageImpl;
    StorageRef() { p->AddRef(); }
    ~StorageRef() { p->Release(); }
};

// Hands the client's list to the component as kListA, routes its edits to
// the client and opens the editor window (700 x 400) on it, shown.
CMainWnd* OpenEditorFor(StorageRef& storage, ListClient& client);

// The row of the list view that shows the named variable, or -1.
int RowOf(const CVarListView* list, const char* name);

// An editor window over the real component for a client whose list the
// test builds, as the value-editor and gesture tests use it; refusal beeps
// are counted while it is open.
struct EditorOnClient {
    StorageRef* storage = nullptr;
    ListClient client;
    CMainWnd* wnd = nullptr;
    CVarListView* list = nullptr;
    int beeps = 0;

    // Opens the window on list (whose reference it takes), shown and
    // active, with group selected and the value column widened; false when
    // the window does not become active.
    bool OpenOn(DemoList* list, const char* group);
    void CloseEditor();
    int Row(const char* name) const { return RowOf(list, name); }
    QString RowText(const char* name) const;
    // Clicks the value cell of a variable's row as the user does.
    void ClickValue(const char* name);
};

// A list with one variable of every kind, in nested groups, each at its default.
DemoList* CreateEveryKindList(const std::string& name);
// A list holding the given paths as integer variables (value = default = 0).
DemoList* CreateIntList(const std::string& name, const std::vector<std::string>& paths);

// Reads a whole file as bytes.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

inline constexpr GUID kListA = {0x11111111, 0x1111, 0x1111, {1, 1, 1, 1, 1, 1, 1, 1}};
inline constexpr GUID kListB = {0x22222222, 0x2222, 0x2222, {2, 2, 2, 2, 2, 2, 2, 2}};
inline constexpr GUID kListC = {0x33333333, 0x3333, 0x3333, {3, 3, 3, 3, 3, 3, 3, 3}};
