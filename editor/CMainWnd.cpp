#include "editor/CMainWnd.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "editor/CFilterLine.h"
#include "editor/CMyTab.h"
#include "editor/CVarListView.h"
#include "editor/CVarTreeView.h"
#include "editor/LastGroups.h"
#include "editor/NoCase.h"
#include "editor/VarFilter.h"
#include "platform/com/ComRuntime.h"
#include "storage/CreateVariableList.h"
#include "storage/GUIData.h"
#include "storage/VariableStorageImpl.h"

namespace {

// Lists by display name, case-insensitively: equal names are one entry.
struct CompareVlist {
    bool operator()(const IVariableListPtr& a, const IVariableListPtr& b) const
    {
        const char* x = a->GetListName();
        const char* y = b->GetListName();
        return CompareNoCase(x ? x : "", y ? y : "") < 0;
    }
};

// The list object of an entry: the client's own, or one created by its class id.
IVariableListPtr ObtainList(const GUID& id, const IVariableListPtr& given)
{
    return given ? given : CreateVariableList(id);
}

// Whether the variable holds exactly these value bytes.
bool HoldsValue(const CVar* var, const void* bytes, unsigned length)
{
    void* own = nullptr;
    unsigned ownLength = 0;
    var->GetValue(&own, &ownLength);
    const bool same = ownLength == length && (length == 0 || std::memcmp(own, bytes, length) == 0);
    std::free(own);
    return same;
}

// One history for every editor window of the component, so that a change
// made in one can be taken back in another; a window on any other storage
// keeps one of its own.
std::shared_ptr<CEditHistory> SharedHistory(IVariableStorage* storage)
{
    auto* component = dynamic_cast<CVariableStorageImpl*>(storage);
    if (!component) return std::make_shared<CEditHistory>();
    std::shared_ptr<CEditHistory>& slot = component->EditHistory();
    if (!slot) slot = std::make_shared<CEditHistory>();
    return slot;
}

// The first group, in tree order, that holds variables of its own.
CVarGroupItem* FirstGroupWithVariables(CVarGroupItem* item)
{
    if (!item->Vars().empty()) return item;
    for (int i = 0; i < item->childCount(); ++i)
        if (CVarGroupItem* found = FirstGroupWithVariables(item->Child(i))) return found;
    return nullptr;
}

// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

CMainWnd::CMainWnd(QWidget* parent, const QRect& rect, IVariableStorage* storagePtr, ListMap listsInUse,
                   CGUIData* data, IVariableChangedEvent* sinkPtr)
    : QWidget(parent),
      sink(sinkPtr),
      storage(storagePtr),
      listMap(std::move(listsInUse)),
      guiData(data),
      recorder(SharedHistory(storagePtr))
{
    setWindowTitle("Variables editor");
    setGeometry(rect);
    On_Create();
    // Every editor opened by the component hears of the values stored in
    // it, so that two editors of one list never show different values.
    watched = dynamic_cast<CVariableStorageImpl*>(storagePtr);
    if (watched) watched->AddWatcher(this);
}

CMainWnd::~CMainWnd() { On_Destroy(); }

void CMainWnd::On_Create()
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    tab = new CMyTab(this);
    tab->onSelChange = [this] { On_TabCtrl_Changed(); };
    splitter = new QSplitter(Qt::Horizontal, tab);
    splitter->setOpaqueResize(false);
    splitter->setChildrenCollapsible(false);
    leftPane = new QStackedWidget(splitter);
    // The right pane: the filter line over the lists.
    auto* rightSide = new QWidget(splitter);
    auto* column = new QVBoxLayout(rightSide);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    filterLine = new CFilterLine(rightSide);
    filterLine->setMinimumWidth(1);  // the pane's minimum is the list's
    rightPane = new QStackedWidget(rightSide);
    column->addWidget(filterLine);
    column->addWidget(rightPane, 1);
    connect(filterLine, &QLineEdit::textChanged, this, [this] { On_FilterChanged(); });
    leftPane->setMinimumWidth(kMinPaneSize);
    rightPane->setMinimumWidth(kMinPaneSize);
    rightSide->setMinimumWidth(kMinPaneSize);
    splitter->addWidget(leftPane);
    splitter->addWidget(rightSide);
    // The tree keeps its width when the window is resized.
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    connect(splitter, &QSplitter::splitterMoved, this, [this](int pos, int) { barPos = pos; });
    On_Size(width(), height());
    const double fraction = guiData ? guiData->getSplitterPos() : 0.5;
    // Rounded, not truncated: a close and reopen must give the same pixel.
    SetSplitterPos(int(std::lround(fraction * width())));

    // Only lists that deliver at least one variable get a tab.
    std::map<IVariableListPtr, GUID, CompareVlist> named;
    for (const auto& [id, given] : listMap) {
        IVariableListPtr list = ObtainList(id, given);
        if (!list) continue;
        GLOBAL_VARIABLE_INFO info{};
        list->Reset();
        if (list->Next(&info)) named.emplace(list, id);
    }
    for (const auto& [list, id] : named) {
        const char* name = list->GetListName();
        const int index = AddTab(name ? name : "");
        pending[index] = id;
        tabListIds[size_t(index)] = id;
    }
    // Tabs that wrap push the splitter down.
    if (tab->GetRowCount() > 1) On_Size(width(), height());
    if (tab->GetItemCount() > 0) {
        tab->SetCurSel(0);
        On_TabCtrl_Changed();
    }
    named.clear();
    CoFreeUnusedLibraries();
    InstallShortcuts();
}

void CMainWnd::InstallShortcuts()
{
    const auto add = [this](const QKeySequence& keys, void (CMainWnd::*action)()) {
        auto* shortcut = new QShortcut(keys, this);
        // Only while the focus is in this editor: a client's window may
        // hold several, and keys of its own.
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_Z), &CMainWnd::Undo);
    add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &CMainWnd::Redo);
    add(QKeySequence(Qt::CTRL | Qt::Key_Y), &CMainWnd::Redo);
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        filterLine->setFocus(Qt::ShortcutFocusReason);
        filterLine->selectAll();
    });
}

int CMainWnd::AddTab(const std::string& name)
{
    // Tab texts are cut to 255 bytes.
    const int index = tab->AddTab(name.substr(0, 255));
    auto* tree = new CVarTreeView(leftPane);
    leftPane->addWidget(tree);
    trees.push_back(tree);
    tree->SetGestures(this);
    connect(tree, &QTreeWidget::currentItemChanged, this, [this, tree](QTreeWidgetItem*, QTreeWidgetItem*) {
        // A group picked while the list is filtered is a group to look
        // at: the filter goes, and clearing it shows the group.
        const int i = CurrentTab();
        if (filteredTab == i && i >= 0 && trees[size_t(i)] == tree && !filterLine->text().isEmpty())
            filterLine->clear();
        else
            On_TreeView_SelChanged();
        if (!restoringGroup) RememberGroup(tree);
    });
    auto* list = new CVarListView(rightPane);
    rightPane->addWidget(list);
    lists.push_back(list);
    list->Init(&images, guiData);
    list->SetGestures(this);
    tabListIds.resize(size_t(index) + 1);
    return index;
}

int CMainWnd::CurrentTab() const { return tab ? tab->GetCurSel() : -1; }

void CMainWnd::SelectTab(int index)
{
    tab->SetCurSel(index);
    On_TabCtrl_Changed();
}

void CMainWnd::On_TabCtrl_Changed()
{
    const int i = tab->GetCurSel();
    if (i < 0 || i >= TabCount()) return;
    leftPane->setCurrentWidget(trees[size_t(i)]);
    rightPane->setCurrentWidget(lists[size_t(i)]);
    for (size_t k = 0; k < trees.size(); ++k) {
        trees[k]->hide();
        lists[k]->hide();
    }
    auto it = pending.find(i);
    if (it != pending.end()) {
        const GUID id = it->second;
        auto entry = listMap.find(id);
        IVariableListPtr list = ObtainList(id, entry != listMap.end() ? entry->second : IVariableListPtr());
        // A list that cannot be obtained leaves its tab pending and hidden.
        if (!list) return;
        WaitCursor wait;
        CVarTreeView* tree = trees[size_t(i)];
        GLOBAL_VARIABLE_INFO info{};
        list->Reset();
        while (list->Next(&info)) {
            tree->AddVar(info, id, this);
            info = GLOBAL_VARIABLE_INFO{};
        }
        tree->UpdateChanges();
        recorder.Know(tree->AllVars());
        // The first level of groups is in sight at once.
        if (tree->Root()) tree->Root()->setExpanded(true);
        pending.erase(it);
        RestoreGroup(i);
    }
    trees[size_t(i)]->show();
    lists[size_t(i)]->show();
    // The filter goes with the user to the new tab.
    if (filteredTab >= 0 && filteredTab != i) EndFilter();
    if (!filterLine->text().isEmpty()) On_FilterChanged();
}

void CMainWnd::On_TreeView_SelChanged()
{
    if (lists.empty()) return;
    FillFromGroup(CurrentTab());
}

void CMainWnd::On_FilterChanged()
{
    const int i = CurrentTab();
    const QString text = filterLine->text();
    if (text.isEmpty()) {
        if (filteredTab >= 0) EndFilter();
        return;
    }
    if (i < 0 || i >= TabCount() || IsPending(i)) return;
    std::unique_ptr<CVarFilter>& filter = filters[i];
    if (!filter) filter = std::make_unique<CVarFilter>(trees[size_t(i)]->Root());
    CVarListView* list = lists[size_t(i)];
    list->setUpdatesEnabled(false);
    list->ShowFound(filter->Apply(text));
    list->setUpdatesEnabled(true);
    filteredTab = i;
}

void CMainWnd::EndFilter()
{
    const int i = std::exchange(filteredTab, -1);
    auto filter = filters.find(i);
    if (filter != filters.end() && filter->second) filter->second->Clear();
    FillFromGroup(i);
}

void CMainWnd::RestoreGroup(int i)
{
    CVarTreeView* tree = trees[size_t(i)];
    if (!tree->Root()) return;
    std::string path;
    // What the registry says is only a name to look for: a group that is
    // gone leaves the first one.
    CVarGroupItem* group = RecallLastGroup(tabListIds[size_t(i)], path) ? tree->FindGroup(path) : nullptr;
    if (!group) group = FirstGroupWithVariables(tree->Root());
    if (!group) return;
    for (QTreeWidgetItem* up = group->parent(); up; up = up->parent()) up->setExpanded(true);
    const QScopedValueRollback<bool> restoring(restoringGroup, true);
    tree->setCurrentItem(group);
    tree->scrollToItem(group);
}

void CMainWnd::RememberGroup(const CVarTreeView* tree)
{
    const auto at = std::find(trees.begin(), trees.end(), tree);
    CVarGroupItem* group = tree->SelectedGroup();
    if (at == trees.end() || !group) return;
    std::string path;
    tree->GetFullItemName(group, path);
    if (!path.empty()) path.pop_back();  // the last "|"
    leftOn[int(at - trees.begin())] = path;
}

void CMainWnd::FillFromGroup(int i)
{
    if (i < 0 || i >= TabCount()) return;
    CVarListView* list = lists[size_t(i)];
    list->setUpdatesEnabled(false);
    list->Reset();
    if (CVarGroupItem* item = trees[size_t(i)]->SelectedGroup())
        for (CVar* var : item->Vars()) list->AddVariable(var);
    list->Sort(1);
    list->setUpdatesEnabled(true);
}

void CMainWnd::OnVarChanged(const GUID& listId, const char* name, const void* bytes, unsigned length)
{
    // A value the component already holds is shown, never edited again:
    // sending it on would make editors of one list echo each other.  Its
    // list is redrawn where it is shown.
    if (showingStored) return;
    recorder.Edited(listId, name, bytes, length);
    if (sink) sink->OnVariableChanged(&listId, name, bytes, length);
    if (storage) storage->SetData(&listId, name, bytes, length);
    const int i = CurrentTab();
    if (i >= 0 && i < TabCount()) lists[size_t(i)]->Redraw();
}

void CMainWnd::OnValueStored(const GUID& listId, const char* name, const void* bytes, unsigned length)
{
    for (size_t i = 0; i < trees.size(); ++i) {
        CVar* var = trees[i]->FindVar(trees[i]->Root(), name ? name : "");
        // The variable that made the change already holds the value.
        if (!var || var->GetListId() != listId || HoldsValue(var, bytes, length)) continue;
        {
            const QScopedValueRollback<bool> showing(showingStored, true);
            // Stored through the variable as an import is: its kind reads
            // what it can of the bytes, and the tree redoes its marks.
            var->SetValue(bytes, length);
        }
        recorder.Stored(listId, name, bytes, length);
        lists[i]->ShowChangedValue(var);
    }
}

void CMainWnd::BeginGesture() { recorder.History().BeginGesture(); }

void CMainWnd::EndGesture() { recorder.History().EndGesture(); }

void CMainWnd::Undo() { ApplyChange(recorder.History().Undo(), true); }

void CMainWnd::Redo() { ApplyChange(recorder.History().Redo(), false); }

void CMainWnd::ApplyChange(const CEditHistory::Change* change, bool back)
{
    if (!change) return;
    // A copy: applying reaches the client and the other windows, and
    // nothing they do may pull the entries from under this loop.
    const CEditHistory::Change entries = *change;
    const CEditHistory::Replay replay(recorder.History());
    const auto apply = [this, back](const CEditHistory::Entry& entry) {
        const std::vector<uint8_t>& value = back ? entry.before : entry.after;
        const void* bytes = value.empty() ? nullptr : value.data();
        const auto length = unsigned(value.size());
        int tabIndex = -1;
        if (CVar* var = LoadedVar(entry.listId, entry.name, &tabIndex)) {
            // Stored as an edit is: sink, component, client, marks.
            var->SetValue(bytes, length);
            lists[size_t(tabIndex)]->ShowChangedValue(var);
        } else {
            // Made in another window, on a tab this one has not loaded:
            // the same road, without a variable object here.
            OnVarChanged(entry.listId, entry.name.c_str(), bytes, length);
        }
    };
    if (back)
        for (auto it = entries.rbegin(); it != entries.rend(); ++it) apply(*it);
    else
        for (const CEditHistory::Entry& entry : entries) apply(entry);
}

CVar* CMainWnd::LoadedVar(const GUID& listId, const std::string& name, int* tabIndex) const
{
    for (size_t i = 0; i < trees.size(); ++i) {
        if (i >= tabListIds.size() || !(tabListIds[i] == listId) || IsPending(int(i))) continue;
        CVar* var = trees[i]->FindVar(trees[i]->Root(), name);
        if (var && var->GetListId() == listId) {
            *tabIndex = int(i);
            return var;
        }
    }
    return nullptr;
}

int CMainWnd::GetSplitterPos() const
{
    if (splitter->isVisible()) return splitter->sizes().value(0, barPos);
    return barPos;
}

void CMainWnd::SetSplitterPos(int pixels)
{
    const int total = splitter->width() - splitter->handleWidth();
    barPos = std::max(kMinPaneSize, std::min(pixels, total - kMinPaneSize));
    if (total < 2 * kMinPaneSize) barPos = std::max(0, pixels);
    splitter->setSizes({barPos, std::max(0, total - barPos)});
}

void CMainWnd::resizeEvent(QResizeEvent* event)
{
    On_Size(event->size().width(), event->size().height());
}

void CMainWnd::On_Size(int w, int h)
{
    if (!tab) return;
    // The bar keeps its place as a fraction of the width, as the stored
    // layout does: a control created small and then widened by its host
    // must not leave the tree squeezed against the edge.
    const int oldWidth = sizedWidth;
    const int oldPos = GetSplitterPos();
    tab->setGeometry(5, 5, w - 10, h - 10);
    const int strip = tab->RowHeight() * tab->GetRowCount();
    splitter->setGeometry(10, strip + 12, tab->width() - 20, tab->height() - strip - 22);
    if (oldWidth > 0 && w > 0 && w != oldWidth)
        SetSplitterPos(int(std::lround(double(oldPos) * w / oldWidth)));
    sizedWidth = w;
}

void CMainWnd::paintEvent(QPaintEvent*) { On_Paint(); }

void CMainWnd::On_Paint()
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
}

void CMainWnd::On_Destroy()
{
    // Nothing reaches a window being taken down.
    if (watched) watched->RemoveWatcher(this);
    watched = nullptr;
    // Kept as a fraction of the width; a window that never had a width
    // keeps the stored fraction.
    if (guiData && width() > 0) guiData->setSplitterPos(double(GetSplitterPos()) / double(width()));
    std::vector<std::pair<GUID, std::string>> groups;
    for (const auto& [index, path] : leftOn) groups.emplace_back(tabListIds[size_t(index)], path);
    if (!groups.empty()) RememberLastGroups(groups);
    // Everything falls silent first: clearing a tree would select nothing
    // in a list already gone, and the children outlive this object's own
    // part while Qt tears them down.
    tab->onSelChange = nullptr;
    splitter->disconnect(this);
    filterLine->disconnect(this);
    for (CVarTreeView* tree : trees) tree->disconnect(this);
    filters.clear();
    for (CVarListView* list : lists) delete list;
    for (CVarTreeView* tree : trees) delete tree;
    lists.clear();
    trees.clear();
    pending.clear();
}
