// The "Variables editor" window: a tab per variable list, each with the
// group tree on the left and the variable list on the right of a splitter.
// Tabs are filled the first time they are shown.  Every change of a
// variable shown here is passed to the client's sink, then to the
// component, then the list on screen is redrawn.  Values the component
// stores from elsewhere (another editor, a client, a load) are shown here
// too, without being passed on again.  Ctrl+Z takes the last change made
// in the component's editor windows back, Ctrl+Shift+Z or Ctrl+Y makes it
// again, each through the same road as an edit.  The filter line above the
// list (Ctrl+F) shows the variables of the whole tab that match it.  Each
// tab opens on the group the user last selected in it (LastGroups.h), or
// on the first group that holds variables.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QWidget>

#include "editor/CKindImageList.h"
#include "editor/EditGestures.h"
#include "editor/EditRecorder.h"
#include "platform/com/Guid.h"
#include "storage/ValueWatcher.h"
#include "storage/Var.h"
#include "storage/api/VariableStorage.h"

class CFilterLine;
class CGUIData;
class CMyTab;
class CVarFilter;
class CVarListView;
class CVarTreeView;
class QSplitter;
class QStackedWidget;
class CVariableStorageImpl;

class CMainWnd : public QWidget, public CVar::Event, public CValueWatcher, public CEditGestures {
public:
    using ListMap = std::map<GUID, IVariableListPtr, CompareGUID>;
    static constexpr int kMinPaneSize = 35;

    // A child of parent at rect; the window holds a reference on storage
    // and on the sink for its whole life.
    CMainWnd(QWidget* parent, const QRect& rect, IVariableStorage* storage, ListMap lists, CGUIData* guiData,
             IVariableChangedEvent* sink);
    ~CMainWnd() override;

    // CVar::Event: sink, then the component, then a redraw.
    void OnVarChanged(const GUID& listId, const char* name, const void* bytes, unsigned length) override;
    // CValueWatcher: the variable of that name in each loaded tab of the
    // list takes the value, and its row and group marks follow.
    void OnValueStored(const GUID& listId, const char* name, const void* bytes, unsigned length) override;
    // CEditGestures: the component's history groups what comes between.
    void BeginGesture() override;
    void EndGesture() override;

    // Takes the last change back / makes the last undone change again;
    // nothing happens when there is none.
    void Undo();
    void Redo();
    CEditHistory& History() const { return recorder.History(); }

    // Appends a tab with its empty tree and list; returns its index.
    int AddTab(const std::string& name);
    void On_TabCtrl_Changed();
    void On_TreeView_SelChanged();
    // The filter line's text changed: with text, the current tab's list
    // shows what matches in the whole tab; empty, the selected group again.
    void On_FilterChanged();
    CFilterLine* FilterLine() const { return filterLine; }

    int TabCount() const { return int(trees.size()); }
    CMyTab* Tab() const { return tab; }
    CVarTreeView* Tree(int index) const { return trees.at(size_t(index)); }
    CVarListView* List(int index) const { return lists.at(size_t(index)); }
    int CurrentTab() const;
    // Selects a tab as the user does.
    void SelectTab(int index);
    bool IsPending(int index) const { return pending.count(index) != 0; }
    QSplitter* Splitter() const { return splitter; }
    // Width of the left pane in pixels.
    int GetSplitterPos() const;
    void SetSplitterPos(int pixels);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void On_Create();
    void On_Size(int width, int height);
    void On_Paint();
    void On_Destroy();

private:
    void InstallShortcuts();
    // Fills tab i's list with the variables of its tree's selected group.
    void FillFromGroup(int i);
    // The filtered tab goes back to its group, its marks off.
    void EndFilter();
    // Selects the group tab i was left on, or its first group with variables.
    void RestoreGroup(int i);
    // The user selected a group in tree: it is where its tab opens next
    // time, once this window closes.
    void RememberGroup(const CVarTreeView* tree);
    // Applies each entry's before (back) or after through this window.
    void ApplyChange(const CEditHistory::Change* change, bool back);
    // The variable of that list and name in a loaded tab, with its tab.
    CVar* LoadedVar(const GUID& listId, const std::string& name, int* tabIndex) const;

    CMyTab* tab = nullptr;
    std::vector<CVarTreeView*> trees;
    std::vector<CVarListView*> lists;
    IVariableChangedEventPtr sink;
    IVariableStoragePtr storage;
    ListMap listMap;
    CKindImageList images;
    QSplitter* splitter = nullptr;
    QStackedWidget* leftPane = nullptr;
    QStackedWidget* rightPane = nullptr;
    CGUIData* guiData = nullptr;
    std::map<int, GUID> pending;
    std::vector<GUID> tabListIds;  // tab index to list id, loaded or not
    CFilterLine* filterLine = nullptr;
    std::map<int, std::unique_ptr<CVarFilter>> filters;  // built on first use per tab
    int filteredTab = -1;
    bool restoringGroup = false;
    std::map<int, std::string> leftOn;  // tab index to the group path the user selected
    CEditRecorder recorder;
    // The component when it is ours to watch; null for any other storage.
    CVariableStorageImpl* watched = nullptr;
    // Set while a value the component already holds is being shown.
    bool showingStored = false;
    int barPos = 0;
    int sizedWidth = 0;  // width the bar position was last laid out for
};
