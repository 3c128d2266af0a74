#include "editor/VarFilter.h"

#include <algorithm>

#include <QString>

#include "editor/CVarListView.h"
#include "editor/CVarTreeView.h"

namespace {

std::string Folded(const char* text) { return QString::fromUtf8(text).toCaseFolded().toUtf8().toStdString(); }

}  // namespace

CVarFilter::CVarFilter(CVarGroupItem* root)
{
    if (root) Index(root);
    // Equal names keep the order of the tree, as the list's stable sort does.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return CVarListView::NameBelow(a.var->GetName(), b.var->GetName());
    });
}

CVarFilter::~CVarFilter() = default;

void CVarFilter::Index(CVarGroupItem* item)
{
    for (CVar* var : item->Vars()) entries.push_back({var, item, Folded(var->GetName()), Folded(var->GetDescription())});
    for (int i = 0; i < item->childCount(); ++i) Index(item->Child(i));
}

const std::vector<CVar*>& CVarFilter::Apply(const QString& text)
{
    found.clear();
    std::unordered_set<CVarGroupItem*> holding;
    const std::string needle = text.toCaseFolded().toUtf8().toStdString();
    if (!needle.empty()) {
        for (const Entry& e : entries) {
            if (e.name.find(needle) == std::string::npos && e.description.find(needle) == std::string::npos) continue;
            found.push_back(e.var);
            for (auto* g = e.group; g && holding.insert(g).second; g = static_cast<CVarGroupItem*>(g->parent())) {
            }
        }
    }
    for (CVarGroupItem* g : marked)
        if (!holding.count(g)) g->SetMatch(false);
    for (CVarGroupItem* g : holding) g->SetMatch(true);
    marked = std::move(holding);
    return found;
}

void CVarFilter::Clear()
{
    for (CVarGroupItem* g : marked) g->SetMatch(false);
    marked.clear();
    found.clear();
}
