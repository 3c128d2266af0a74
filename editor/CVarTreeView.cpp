#include "editor/CVarTreeView.h"

#include <algorithm>
#include <deque>

#include <QFont>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>

#include "editor/EditorPrompts.h"
#include "editor/NoCase.h"
#include "storage/VarFactory.h"

CVarGroupItem::CVarGroupItem(const std::string& text) : label(text)
{
    setText(0, QString::fromStdString(text));
}

CVarGroupItem* CVarGroupItem::FindChild(const std::string& part) const
{
    auto it = byLowerName.find(LowerAscii(part));
    return it == byLowerName.end() ? nullptr : it->second;
}

CVarGroupItem* CVarGroupItem::AddChild(const std::string& part)
{
    // Alphabetical insertion as the tree control does it: after every
    // sibling that does not sort above the new text.
    int lo = 0, hi = childCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (CompareNoCase(Child(mid)->Label(), part) <= 0) lo = mid + 1;
        else hi = mid;
    }
    auto* item = new CVarGroupItem(part);
    insertChild(lo, item);
    byLowerName.emplace(LowerAscii(part), item);
    return item;
}

void CVarGroupItem::SetBold(bool on)
{
    if (bold == on) return;
    bold = on;
    QFont f = font(0);
    f.setBold(on);
    setFont(0, f);
}

void CVarGroupItem::SetMatch(bool on)
{
    if (match == on) return;
    match = on;
    // A soft background: bold already says "changed".
    setBackground(0, on ? QBrush(QColor(255, 232, 150)) : QBrush());
}

CVarTreeView::CVarTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    hide();
}

CVarTreeView::~CVarTreeView()
{
    // The items go first, unannounced, so that nothing can reach a
    // variable being deleted.
    blockSignals(true);
    clear();
    root = nullptr;
    owned.clear();
}

void CVarTreeView::AddVar(const GLOBAL_VARIABLE_INFO& info, const GUID& listId, CVar::Event* listener)
{
    std::unique_ptr<CVar> var = CreateVar(info);
    if (!var) return;
    if (!root) {
        root = new CVarGroupItem("root");
        addTopLevelItem(root);
    }
    CVarGroupItem* item = root;
    std::string_view path = info.name ? info.name : "";
    for (size_t bar; (bar = path.find('|')) != std::string_view::npos; path.remove_prefix(bar + 1)) {
        const std::string part(path.substr(0, bar));
        CVarGroupItem* child = item->FindChild(part);
        item = child ? child : item->AddChild(part);
    }
    var->Init(listId, listener);
    var->Subscribe(this);
    item->Vars().push_back(var.get());
    owned.push_back(std::move(var));
}

bool CVarTreeView::UpdateChanges() { return root ? UpdateChanges(root) : false; }

bool CVarTreeView::UpdateChanges(CVarGroupItem* item)
{
    bool changed = false;
    for (CVar* var : item->Vars())
        if (!var->IsDefault()) { changed = true; break; }
    // Every subtree gets its marks, even after a change was found.
    for (int i = 0; i < item->childCount(); ++i)
        if (UpdateChanges(item->Child(i))) changed = true;
    item->SetBold(changed);
    return changed;
}

bool CVarTreeView::HasChanges(CVarGroupItem* item) const
{
    if (!item) return false;
    for (CVar* var : item->Vars())
        if (!var->IsDefault()) return true;
    for (int i = 0; i < item->childCount(); ++i)
        if (HasChanges(item->Child(i))) return true;
    return false;
}

void CVarTreeView::SetDefault(CVarGroupItem* item)
{
    if (!item) return;
    for (CVar* var : item->Vars())
        if (!var->IsDefault()) var->SetDefault();
    for (int i = 0; i < item->childCount(); ++i) SetDefault(item->Child(i));
}

CVar* CVarTreeView::FindVar(CVarGroupItem* item, const std::string& fullName) const
{
    if (!item) return nullptr;
    std::string_view name = fullName;
    for (size_t bar; (bar = name.find('|')) != std::string_view::npos; name.remove_prefix(bar + 1)) {
        // The whole group name must match: a shorter name never picks a
        // group that merely begins with it.
        item = item->FindChild(std::string(name.substr(0, bar)));
        if (!item) return nullptr;
    }
    for (CVar* var : item->Vars()) {
        std::string_view own = var->GetName();
        const size_t bar = own.rfind('|');
        if (bar != std::string_view::npos) own.remove_prefix(bar + 1);
        if (EqualNoCase(own, name)) return var;
    }
    return nullptr;
}

bool CVarTreeView::SetVar(CVarGroupItem* item, const std::string& fullName, const void* bytes, unsigned length)
{
    CVar* var = FindVar(item, fullName);
    if (!var) return false;
    var->SetValue(bytes, length);
    return true;
}

void CVarTreeView::GetFullItemName(CVarGroupItem* item, std::string& out) const
{
    out.clear();
    std::deque<const std::string*> parts;
    for (CVarGroupItem* i = item; i && i != root; i = static_cast<CVarGroupItem*>(i->parent()))
        parts.push_front(&i->Label());
    for (const std::string* p : parts) {
        out += *p;
        out += '|';
    }
}

CVarGroupItem* CVarTreeView::SelectedGroup() const { return static_cast<CVarGroupItem*>(currentItem()); }

CVarGroupItem* CVarTreeView::FindGroup(const std::string& path) const
{
    CVarGroupItem* item = root;
    std::string_view rest = path;
    while (item && !rest.empty()) {
        const size_t bar = rest.find('|');
        item = item->FindChild(std::string(rest.substr(0, bar)));
        if (bar == std::string_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
    return item;
}

void CVarTreeView::OnVarChanged(const GUID&, const char*, const void*, unsigned)
{
    if (batching == 0) UpdateChanges();
}

std::unique_ptr<QMenu> CVarTreeView::BuildContextMenu()
{
    CVarGroupItem* item = SelectedGroup();
    if (!item) return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction("Load")->setData(ID_LOAD);
    menu->addAction("Save")->setData(ID_SAVE);
    menu->addSeparator();
    QAction* reset = menu->addAction("Reset to Defaults");
    reset->setData(ID_RESET_DEFAULTS);
    reset->setEnabled(HasChanges(item));
    return menu;
}

void CVarTreeView::On_Command(int id)
{
    switch (id) {
    case ID_SAVE: OnSave(); break;
    case ID_LOAD: OnLoad(); break;
    case ID_RESET_DEFAULTS: OnResetDefaults(); break;
    default: break;
    }
}

void CVarTreeView::OnResetDefaults()
{
    Batch batch(*this);
    SetDefault(SelectedGroup());
}

void CVarTreeView::OnSave()
{
    if (!SelectedGroup()) return;
    int format = EXPORT_BINARY;
    const std::string path = Prompts().saveFile(this, std::string(), &format);
    if (path.empty()) return;
    SaveToFile(path, format);
}

void CVarTreeView::OnLoad()
{
    if (!SelectedGroup()) return;
    const std::string path = Prompts().openFile(this, LastSavedPath());
    if (path.empty()) return;
    LoadFromFile(path);
}

std::string& CVarTreeView::LastSavedPath()
{
    static std::string path;
    return path;
}

void CVarTreeView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && itemAt(event->position().toPoint())) {
        On_RButtonDown(event->position().toPoint());
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CVarTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton && itemAt(event->position().toPoint())) {
        On_RButtonUp(event->position().toPoint(), event->globalPosition().toPoint());
        return;
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void CVarTreeView::On_RButtonDown(const QPoint& pos) { setCurrentItem(itemAt(pos)); }

void CVarTreeView::On_RButtonUp(const QPoint&, const QPoint& globalPos)
{
    std::unique_ptr<QMenu> menu = BuildContextMenu();
    if (!menu) return;
    // Commands run from the action itself, however it was chosen.
    connect(menu.get(), &QMenu::triggered, this, [this](QAction* a) { On_Command(a->data().toInt()); });
    menu->exec(globalPos);
}
