// The filter of one editor tab: the variables whose full name or
// description contains a text, case-insensitively, in the order the list
// sorts them, and the marks on the groups that hold them.  The tab's texts
// are folded once, when the filter is first used, so that a keystroke on
// thousands of variables costs one pass over prepared text.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

class CVar;
class CVarGroupItem;
class QString;

class CVarFilter {
public:
    // Indexes every variable below root (the tab must be loaded).
    explicit CVarFilter(CVarGroupItem* root);
    ~CVarFilter();
    CVarFilter(const CVarFilter&) = delete;
    CVarFilter& operator=(const CVarFilter&) = delete;

    // The variables that match text, sorted by full name as the list
    // sorts its rows; the groups holding them and their ancestors are
    // marked, the groups marked before and not now are not.  An empty text
    // matches nothing and marks nothing.
    const std::vector<CVar*>& Apply(const QString& text);
    // Takes every mark off.
    void Clear();

private:
    struct Entry {
        CVar* var;
        CVarGroupItem* group;
        std::string name;         // folded
        std::string description;  // folded
    };
    void Index(CVarGroupItem* item);

    std::vector<Entry> entries;  // sorted by full name
    std::vector<CVar*> found;
    std::unordered_set<CVarGroupItem*> marked;
};
