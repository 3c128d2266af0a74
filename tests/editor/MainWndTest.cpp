// The editor window: tabs and lazy loading, the road of one edit, the
// splitter and column widths across a close and reopen, and the three ways
// the component opens the editor.
#include <QHeaderView>
#include <QMenu>
#include <QSplitter>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "editor/CMainDlg.h"
#include "editor/CMyTab.h"
#include "editor/CTabRows.h"
#include "editor/CVarListView.h"
#include "editor/CVarTreeView.h"
#include "editor/spin/UpDown.h"
#include "editor/values/VarSpinEdit.h"
#include "platform/com/Utf8.h"
#include "storage/DataFolder.h"
#include "storage/EditorEntry.h"
#include "storage/VariableStorageFactory.h"
#include "storage/VariableStorageImpl.h"
#include "tests/editor/EditorTestSupport.h"

namespace {

CMainWnd::ListMap Lists(std::initializer_list<std::pair<GUID, DemoList*>> entries)
{
    CMainWnd::ListMap map;
    for (auto& [id, list] : entries) {
        map[id] = IVariableListPtr(list);
        list->Release();
    }
    return map;
}

CVar* FindVar(CVarTreeView* tree, const std::string& group, const char* name)
{
    for (CVar* v : tree->FindGroup(group)->Vars())
        if (std::string(v->GetName()) == name) return v;
    return nullptr;
}

// The value column's text of a variable's row.
QString Shown(CMainWnd* wnd, const char* name)
{
    CVarListView* list = wnd->List(0);
    const int row = RowOf(list, name);
    return row < 0 ? QString() : list->topLevelItem(row)->text(1);
}

// A client that closes an editor window when it receives a value for "top".
struct ClosingClient {
    QWidget* victim = nullptr;
    static int32_t STDMETHODCALLTYPE Callback(const char* name, const void*, unsigned, void* context)
    {
        auto* self = static_cast<ClosingClient*>(context);
        if (std::string(name) == "top") delete std::exchange(self->victim, nullptr);
        return 1;
    }
};

}  // namespace

class MainWndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseSandboxRegistry(); }

    void tabsInNameOrderLoadedWhenShown()
    {
        CallLog log;
        FakeStorage storage(log);
        CGUIData gui;
        DemoList* flow = CreateIntList("Flow", {"f|a", "f|b"});
        DemoList* camera = CreateIntList("camera", {"c|x"});
        DemoList* empty = CreateIntList("Empty", {});
        flow->AddRef();
        camera->AddRef();
        {
            CMainWnd wnd(nullptr, QRect(0, 0, 600, 400), &storage,
                         Lists({{kListA, flow}, {kListB, camera}, {kListC, empty}}), &gui, nullptr);
            QCOMPARE(wnd.TabCount(), 2);
            QCOMPARE(wnd.Tab()->GetItemText(0), std::string("camera"));
            QCOMPARE(wnd.Tab()->GetItemText(1), std::string("Flow"));
            QCOMPARE(wnd.CurrentTab(), 0);
            QVERIFY(!wnd.IsPending(0) && wnd.IsPending(1));
            // Flow was asked for one variable only.
            QCOMPARE(flow->NextCalls(), 1);
            QVERIFY(!wnd.Tree(1)->Root());
            QCOMPARE(wnd.Tree(0)->Root()->childCount(), 1);

            wnd.SelectTab(1);
            QVERIFY(!wnd.IsPending(1));
            QCOMPARE(wnd.Tree(1)->FindGroup("f")->Vars().size(), size_t(2));
            const int calls = flow->NextCalls();
            wnd.SelectTab(0);
            wnd.SelectTab(1);
            QCOMPARE(flow->NextCalls(), calls);  // loaded once
            QCOMPARE(storage.refs, ULONG(2));     // the window's reference
        }
        QCOMPARE(storage.refs, ULONG(1));
        flow->Release();
        camera->Release();
    }

    void equalNamesGiveOneTab()
    {
        CallLog log;
        FakeStorage storage(log);
        CGUIData gui;
        CMainWnd wnd(nullptr, QRect(0, 0, 600, 400), &storage,
                     Lists({{kListA, CreateIntList("Flow", {"x"})}, {kListB, CreateIntList("FLOW", {"y"})}}), &gui,
                     nullptr);
        QCOMPARE(wnd.TabCount(), 1);
    }

    void listsThatCannotBeCreatedGetNoTab()
    {
        CallLog log;
        FakeStorage storage(log);
        CGUIData gui;
        CMainWnd::ListMap map = Lists({{kListA, CreateIntList("Flow", {"x"})}});
        map[kListB] = nullptr;  // to be created by a class id nobody registered
        CMainWnd wnd(nullptr, QRect(0, 0, 600, 400), &storage, map, &gui, nullptr);
        QCOMPARE(wnd.TabCount(), 1);
        QCOMPARE(wnd.Tab()->GetItemText(0), std::string("Flow"));
    }

    void noListsNoTabs()
    {
        CallLog log;
        FakeStorage storage(log);
        CGUIData gui;
        CMainWnd wnd(nullptr, QRect(0, 0, 600, 400), &storage, {}, &gui, nullptr);
        QCOMPARE(wnd.TabCount(), 0);
        QCOMPARE(wnd.CurrentTab(), -1);
        wnd.On_TabCtrl_Changed();
        wnd.On_TreeView_SelChanged();
    }

    void groupSelectionFillsTheList()
    {
        CallLog log;
        FakeStorage storage(log);
        CGUIData gui;
        CMainWnd wnd(nullptr, QRect(0, 0, 600, 400), &storage, Lists({{kListA, CreateEveryKindList("L")}}), &gui,
                     nullptr);
        CVarTreeView* tree = wnd.Tree(0);
        CVarListView* list = wnd.List(0);
        tree->setCurrentItem(tree->FindGroup("a|c"));
        QCOMPARE(list->RowCount(), 3);
        QCOMPARE(list->topLevelItem(0)->text(0), QString("curve"));
        QCOMPARE(list->SortState(), 1);
        // Only the group's own variables, not those of sub-groups.
        tree->setCurrentItem(tree->FindGroup("a"));
        QCOMPARE(list->RowCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QString("speed"));
    }

    void oneEditReachesSinkThenComponentOnce()
    {
        CallLog log;
        FakeStorage storage(log);
        RecordingSink sink(log);
        CGUIData gui;
        {
            CMainWnd wnd(nullptr, QRect(0, 0, 600, 400), &storage, Lists({{kListA, CreateEveryKindList("L")}}), &gui,
                         &sink);
            QCOMPARE(sink.refs, ULONG(2));
            CVarTreeView* tree = wnd.Tree(0);
            tree->setCurrentItem(tree->FindGroup("a|b"));
            CVar* count = FindVar(tree, "a|b", "a|b|count");
            const int32_t value = 42;
            count->SetValue(&value, 4);
            QCOMPARE(log.calls.size(), size_t(2));
            QCOMPARE(log.calls[0].who, std::string("sink"));
            QCOMPARE(log.calls[1].who, std::string("SetData"));
            for (const Call& c : log.calls) {
                QVERIFY(c.listId == kListA);
                QCOMPARE(c.name, std::string("a|b|count"));
                QCOMPARE(c.bytes, (std::vector<uint8_t>{42, 0, 0, 0}));
            }
            // Then the marks and the list on screen follow.
            QVERIFY(tree->FindGroup("a|b")->IsBold() && tree->Root()->IsBold());
            CVarListView* list = wnd.List(0);
            bool shown = false;
            for (int r = 0; r < list->RowCount(); ++r)
                shown |= list->RowVar(r) == count && list->topLevelItem(r)->text(1) == "42";
            QVERIFY(shown);
            // A reset of a group travels the same road for each changed variable.
            tree->OnResetDefaults();
            QCOMPARE(log.Count("sink"), 2);
            QCOMPARE(log.Count("SetData"), 2);
            QCOMPARE(log.calls.back().bytes, (std::vector<uint8_t>{5, 0, 0, 0}));
            QVERIFY(!tree->Root()->IsBold());
        }
        QCOMPARE(sink.refs, ULONG(1));
    }

    void everyOpenEditorShowsTheStoredValue()
    {
        IVariableStoragePtr storage;
        QVERIFY(SUCCEEDED(CreateVariableStorage(IID_IVariableStorage, storage.AsOut())));
        auto* impl = static_cast<CVariableStorageImpl*>(storage.Get());
        ListClient client;
        client.list = CreateEveryKindList("L");
        storage->UseVariableList(&kListA, client.list);
        impl->AttachVariableList(&kListA, &ListClient::Callback, &client);
        CallLog dialogLog, controlLog;
        RecordingSink dialogSink(dialogLog), controlSink(controlLog);
        QWidget owner;
        owner.resize(800, 500);
        const RECT r = {0, 0, 700, 400};
        auto* control = static_cast<CMainWnd*>(storage->CreateControl(&owner, &r, &controlSink));
        CMainWnd* dialog = dynamic_cast<CMainDlg*>(storage->Create(&owner, 0, &dialogSink))->Editor();
        for (CMainWnd* w : {control, dialog}) w->Tree(0)->setCurrentItem(w->Tree(0)->FindGroup("a|b"));
        owner.show();
        owner.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&owner));

        // One step of the arrow in the control.
        CVarListView* rows = control->List(0);
        rows->header()->resizeSection(1, 200);
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->GetValueCellRect(RowOf(rows, "a|b|count")).center());
        auto* spin = dynamic_cast<CVarSpinEdit*>(rows->EditorForKind(VARKIND_INT));
        QVERIFY(spin && spin->isVisible());
        QTest::mouseClick(spin->GetUpDown()->GetUpArrow(), Qt::LeftButton);
        using Calls = decltype(client.calls);
        QCOMPARE(client.calls, (Calls{{"a|b|count", {6, 0, 0, 0}}}));
        QCOMPARE(controlLog.Count("sink"), 1);
        QVERIFY(dialogLog.calls.empty());
        QVERIFY(spin->isVisible());
        QCOMPARE(Shown(dialog, "a|b|count"), QString("6"));
        QVERIFY(dialog->Tree(0)->FindGroup("a")->IsBold());

        // "Set Default" in the dialog acts on the value it now shows; the
        // control's editor open on that variable closes.
        CVarListView* dialogRows = dialog->List(0);
        dialogRows->SelectRow(RowOf(dialogRows, "a|b|count"));
        QVERIFY(dialogRows->BuildContextMenu()->actions().front()->isEnabled());
        dialogRows->On_Command(CVarListView::ID_SET_DEFAULT);
        QCOMPARE(client.calls, (Calls{{"a|b|count", {6, 0, 0, 0}}, {"a|b|count", {5, 0, 0, 0}}}));
        QCOMPARE(dialogLog.Count("sink"), 1);
        QCOMPARE(controlLog.Count("sink"), 1);
        QCOMPARE(Shown(control, "a|b|count"), QString("5"));
        QVERIFY(!control->Tree(0)->FindGroup("a")->IsBold());
        QVERIFY(!spin->isVisible());

        // A load reaches both, and no sink.
        const std::string folder = MakeTempFolder();
        const std::string record = std::string("a|b|count", 10) + std::string("\x04\0\0\0\x09\0\0\0", 8);
        WriteFile(folder + "/" + CDataFolder::FileNameOf(kListA), record);
        storage->Load(Utf8ToWide(folder).c_str());
        std::filesystem::remove_all(folder);
        QCOMPARE(client.calls.back(), (Calls::value_type{"a|b|count", {9, 0, 0, 0}}));
        QCOMPARE(Shown(control, "a|b|count"), QString("9"));
        QCOMPARE(Shown(dialog, "a|b|count"), QString("9"));
        QCOMPARE(dialogLog.calls.size() + controlLog.calls.size(), size_t(2));

        // A client that closes the control on hearing of a value: the
        // dialog is still told.
        ClosingClient closer{control};
        impl->AttachVariableList(&kListA, &ClosingClient::Callback, &closer);
        const int32_t seven = 7;
        storage->SetData(&kListA, "top", &seven, 4);
        QVERIFY(!closer.victim);
        dialog->Tree(0)->setCurrentItem(dialog->Tree(0)->Root());
        QCOMPARE(Shown(dialog, "top"), QString("7"));
        dialog->window()->close();
        QTRY_VERIFY(!impl->GetEditorWindow());

        // The modal dialog too; the load emptied the lists in use.
        storage->UseVariableList(&kListA, client.list);
        QString modalShown;
        QTimer::singleShot(0, [&] {
            auto* modal = dynamic_cast<CMainDlg*>(impl->GetEditorWindow());
            if (!modal) return;
            modal->Editor()->Tree(0)->setCurrentItem(modal->Editor()->Tree(0)->FindGroup("a|b"));
            const int32_t three = 3;
            storage->SetData(&kListA, "a|b|count", &three, 4);
            modalShown = Shown(modal->Editor(), "a|b|count");
            modal->close();
        });
        QCOMPARE(storage->CreateModal(&owner, 0, nullptr), 1);
        QCOMPARE(modalShown, QString("3"));
        impl->DetachVariableList(&kListA);
        client.list->Release();
    }

    void splitterAndColumnsSurviveReopen()
    {
        UseSandboxRegistry();  // a fresh record: first opening at 0.5
        CallLog log;
        FakeStorage storage(log);
        const QRect rect(0, 0, 700, 400);
        {
            CGUIData gui;
            QCOMPARE(gui.getSplitterPos(), 0.5);
            CMainWnd wnd(nullptr, rect, &storage, Lists({{kListA, CreateEveryKindList("L")}}), &gui, nullptr);
            wnd.show();
            QVERIFY(QTest::qWaitForWindowExposed(&wnd));
            QCOMPARE(wnd.GetSplitterPos(), 350);
            // The user drags the bar and a column divider.
            wnd.Splitter()->handle(1)->setFocus();
            wnd.SetSplitterPos(177);  // 177 / 700 * 700 is a hair below 177
            wnd.List(0)->header()->resizeSection(2, 177);
        }
        for (int round = 0; round < 3; ++round) {
            CGUIData gui;  // read back from the registry
            QCOMPARE(gui.getCol(2), 177);
            QCOMPARE(gui.getSplitterPos(), 177.0 / 700.0);
            CMainWnd wnd(nullptr, rect, &storage, Lists({{kListA, CreateEveryKindList("L")}}), &gui, nullptr);
            wnd.show();
            QVERIFY(QTest::qWaitForWindowExposed(&wnd));
            QCOMPARE(wnd.GetSplitterPos(), 177);
            QCOMPARE(wnd.List(0)->header()->sectionSize(2), 177);
        }
    }

    void panesKeepTheirMinimum()
    {
        CallLog log;
        FakeStorage storage(log);
        CGUIData gui;
        CMainWnd wnd(nullptr, QRect(0, 0, 500, 300), &storage, Lists({{kListA, CreateEveryKindList("L")}}), &gui,
                     nullptr);
        wnd.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wnd));
        QVERIFY(!wnd.Splitter()->opaqueResize());
        wnd.SetSplitterPos(3);
        QCOMPARE(wnd.GetSplitterPos(), CMainWnd::kMinPaneSize);
        wnd.SetSplitterPos(10000);
        QCOMPARE(wnd.Splitter()->sizes()[1], CMainWnd::kMinPaneSize);
    }

    void tabsWrapIntoRowsAndPushThePanesDown()
    {
        CallLog log;
        FakeStorage storage(log);
        CGUIData gui;
        CMainWnd::ListMap map;
        for (int k = 0; k < 6; ++k) {
            GUID id = kListA;
            id.Data4[7] = uint8_t(k);
            map[id] = IVariableListPtr(CreateIntList("a list with a long name " + std::to_string(k), {"g|x"}));
            map[id]->Release();
        }
        CMainWnd wnd(nullptr, QRect(0, 0, 2000, 400), &storage, map, &gui, nullptr);
        wnd.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wnd));
        CMyTab* tab = wnd.Tab();
        QCOMPARE(tab->GetRowCount(), 1);
        QVERIFY(tab->Bar()->isVisible());
        const int row = tab->RowHeight();
        const int top = wnd.Splitter()->y(), height = wnd.Splitter()->height();

        wnd.resize(500, 400);
        const int rows = tab->GetRowCount();
        QVERIFY(rows >= 2);
        QVERIFY(!tab->Bar()->isVisible() && tab->Rows()->isVisible());
        QCOMPARE(wnd.Splitter()->y(), top + (rows - 1) * row);
        QCOMPARE(wnd.Splitter()->height(), height - (rows - 1) * row);
        // Every tab is in sight, and a click on the last selects it.
        for (int i = 0; i < tab->GetItemCount(); ++i)
            QVERIFY(tab->Rows()->rect().contains(tab->Rows()->TabRect(i)));
        const int last = tab->GetItemCount() - 1;
        QTest::mouseClick(tab->Rows(), Qt::LeftButton, {}, tab->Rows()->TabRect(last).center());
        QCOMPARE(wnd.CurrentTab(), last);
        QVERIFY(!wnd.IsPending(last));

        wnd.resize(2000, 400);
        QCOMPARE(tab->GetRowCount(), 1);
        QCOMPARE(wnd.Splitter()->y(), top);
    }

    void componentOpensDialogsAndControls()
    {
        IVariableStoragePtr storage;
        QVERIFY(SUCCEEDED(CreateVariableStorage(IID_IVariableStorage, storage.AsOut())));
        auto* impl = static_cast<CVariableStorageImpl*>(storage.Get());
        DemoList* list = CreateEveryKindList("L");
        storage->UseVariableList(&kListA, list);
        list->Release();
        QWidget owner;
        owner.resize(800, 600);

        HWND first = storage->Create(&owner, 0, nullptr);
        QVERIFY(first);
        QCOMPARE(impl->GetEditorWindow(), first);
        QCOMPARE(first->windowTitle(), QString("Variable List Editor"));
        auto* dialog = dynamic_cast<CMainDlg*>(first);
        QVERIFY(dialog && !dialog->IsModal());
        QCOMPARE(dialog->Editor()->windowTitle(), QString("Variables editor"));
        QCOMPARE(dialog->Editor()->TabCount(), 1);
        QCOMPARE(storage->Create(&owner, 0, nullptr), first);
        // A modal request while a dialog is open does nothing and returns at once.
        QCOMPARE(storage->CreateModal(&owner, 0, nullptr), 0);
        QVERIFY(QTest::qWaitForWindowExposed(first));
        first->close();
        QTRY_VERIFY(impl->GetEditorWindow() == nullptr);

        // The modal dialog holds the slot while it runs and ends with 1.
        HWND seen = nullptr;
        QTimer::singleShot(50, [&] {
            seen = impl->GetEditorWindow();
            if (seen) seen->close();
        });
        QCOMPARE(storage->CreateModal(&owner, 0, nullptr), 1);
        QVERIFY(seen);
        QVERIFY(impl->GetEditorWindow() == nullptr);

        // Controls: any number, outside the slot, each holding the component.
        const RECT r = {10, 20, 410, 320};
        HWND c1 = storage->CreateControl(&owner, &r, nullptr);
        HWND c2 = storage->CreateControl(&owner, &r, nullptr);
        QVERIFY(c1 && c2 && c1 != c2);
        QVERIFY(impl->GetEditorWindow() == nullptr);
        QCOMPARE(c1->windowTitle(), QString("Variables editor"));
        QCOMPARE(c1->parentWidget(), &owner);
        QCOMPARE(c1->geometry(), QRect(10, 20, 400, 300));
        const ULONG held = storage->AddRef();
        storage->Release();
        delete c1;
        const ULONG after = storage->AddRef();
        storage->Release();
        QCOMPARE(after, held - 1);
        delete c2;
    }
};

QTEST_MAIN(MainWndTest)
#include "MainWndTest.moc"
