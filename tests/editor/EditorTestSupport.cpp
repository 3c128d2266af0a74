#include "tests/editor/EditorTestSupport.h"

#include "editor/CVarListView.h"
#include "editor/CVarTreeView.h"

#include <QHeaderView>
#include <QtTest>

#include <fstream>
#include <iterator>

int CallLog::Count(const std::string& who) const
{
    int n = 0;
    for (const Call& c : calls) n += c.who == who;
    return n;
}

HRESULT FakeStorage::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IVariableStorage) {
        *object = static_cast<IVariableStorage*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

int32_t FakeStorage::SetData(const GUID* listId, const char* name, const void* bytes, unsigned length)
{
    const auto* b = static_cast<const uint8_t*>(bytes);
    log.calls.push_back({"SetData", *listId, name, std::vector<uint8_t>(b, b + (b ? length : 0))});
    return 0;
}

HRESULT RecordingSink::QueryInterface(REFIID riid, void** object)
{
    if (riid == IID_IUnknown || riid == IID_IVariableChangedEvent) {
        *object = static_cast<IVariableChangedEvent*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

int32_t RecordingSink::OnVariableChanged(const GUID* listId, const char* name, const void* bytes, unsigned length)
{
    const auto* b = static_cast<const uint8_t*>(bytes);
    log.calls.push_back({"sink", *listId, name, std::vector<uint8_t>(b, b + (b ? length : 0))});
    return 0;
}

DemoList* CreateEveryKindList(const std::string& name)
{
    DemoList* list = DemoList::Create(name);
    list->AddString("a|b|text", "a string", "abc", "abc");
    list->AddInt("a|b|count", "an integer", 5, 5, -100, 100);
    list->AddEnum("a|c|mode", "an enumeration", 1, 1, {"x", "y", "z"});
    list->AddDouble("a|c|ratio", "a double", 0.25, 0.25, 0, 1, 0.05);
    list->AddFloat("a|speed", "a float", 0.5f, 0.5f, 0, 2, 0.1f);
    list->AddSpline("a|c|curve", "a spline", {{0, 0, 1, 1}, {1, 1, 1, 1}}, {{0, 0, 1, 1}, {1, 1, 1, 1}},
                    {0, 0, 0, 0}, {1, 1, 0, 0});
    const uint8_t red[3] = {255, 0, 0};
    list->AddColor("look|tint", "a colour", red, red);
    list->AddProps("look|props", "a property set", GUID_NULL, "item", {});
    list->AddColorSpline("look|ramp", "a colour spline", {{0, 0, 0, 0}, {1, 1, 1, 1}}, {{0, 0, 0, 0}, {1, 1, 1, 1}});
    list->AddInt("top", "at the root", 1, 1, 0, 10);
    return list;
}

DemoList* CreateIntList(const std::string& name, const std::vector<std::string>& paths)
{
    DemoList* list = DemoList::Create(name);
    for (const std::string& p : paths) list->AddInt(p, "", 0, 0, -1000, 1000);
    return list;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

int32_t STDMETHODCALLTYPE ListClient::Callback(const char* name, const void* bytes, unsigned length, void* context)
{
    auto* self = static_cast<ListClient*>(context);
    const auto* b = static_cast<const uint8_t*>(bytes);
    self->calls.push_back({name, std::vector<uint8_t>(b, b + (b ? length : 0))});
    self->list->Apply(name, bytes, length);
    return 1;
}

int ListClient::Count(const std::string& name) const
{
    int n = 0;
    for (const auto& c : calls) n += c.first == name;
    return n;
}

CMainWnd* OpenEditorFor(StorageRef& storage, ListClient& client)
{
    storage.p->UseVariableList(&kListA, client.list);
    storage.p->AttachVariableList(&kListA, &ListClient::Callback, &client);
    auto* wnd = new CMainWnd(nullptr, QRect(0, 0, 700, 400), storage.p, storage.p->GetListsInUse(),
                             &storage.p->GetGUIData(), nullptr);
    wnd->show();
    return wnd;
}

int RowOf(const CVarListView* list, const char* name)
{
    for (int r = 0; r < list->RowCount(); ++r)
        if (std::strcmp(list->RowVar(r)->GetName(), name) == 0) return r;
    return -1;
}

bool EditorOnClient::OpenOn(DemoList* source, const char* group)
{
    client.calls.clear();
    client.list = source;
    storage = new StorageRef;
    wnd = OpenEditorFor(*storage, client);
    if (!QTest::qWaitForWindowActive(wnd)) return false;
    CVarTreeView* tree = wnd->Tree(0);
    tree->setCurrentItem(tree->FindGroup(group));
    list = wnd->List(0);
    list->header()->resizeSection(1, 200);
    beeps = 0;
    SetBeepHandler([this] { ++beeps; });
    return true;
}

void EditorOnClient::CloseEditor()
{
    SetBeepHandler({});
    delete wnd;
    wnd = nullptr;
    delete storage;
    storage = nullptr;
    client.list->Release();
}

QString EditorOnClient::RowText(const char* name) const { return list->topLevelItem(Row(name))->text(1); }

void EditorOnClient::ClickValue(const char* name)
{
    const int row = Row(name);
    QVERIFY(row >= 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->GetValueCellRect(row).center());
}
