// The left pane of an editor tab: the tree of groups built from the "|"
// paths of the variables, under one item "root".  It owns the variable
// objects of its tab, marks groups holding changed values in bold, and
// offers "Load", "Save" and "Reset to Defaults" for the selected group.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <QTreeWidget>

#include "editor/EditGestures.h"
#include "storage/Var.h"

class QMenu;

// A tree item with its group record: the variables whose path ends in this
// group, in the order they were added.
class CVarGroupItem : public QTreeWidgetItem {
public:
    explicit CVarGroupItem(const std::string& label);

    const std::string& Label() const { return label; }
    std::vector<CVar*>& Vars() { return vars; }
    CVarGroupItem* Child(int index) const { return static_cast<CVarGroupItem*>(child(index)); }
    // The child whose text equals part case-insensitively, or null.
    CVarGroupItem* FindChild(const std::string& part) const;
    // Inserts a new child in sorted position.
    CVarGroupItem* AddChild(const std::string& part);
    bool IsBold() const { return bold; }
    void SetBold(bool on);
    // The filter's mark: the group holds variables that match it.
    bool IsMatch() const { return match; }
    void SetMatch(bool on);

private:
    std::string label;
    std::vector<CVar*> vars;
    std::unordered_map<std::string, CVarGroupItem*> byLowerName;
    bool bold = false;
    bool match = false;
};

class CVarTreeView : public QTreeWidget, public CVar::Event {
public:
    enum Command { ID_SAVE = 10000, ID_LOAD = 10001, ID_RESET_DEFAULTS = 10002 };

    explicit CVarTreeView(QWidget* parent);
    ~CVarTreeView() override;

    // Adds one variable of the client's record; kinds outside 0..8 are ignored.
    void AddVar(const GLOBAL_VARIABLE_INFO& info, const GUID& listId, CVar::Event* listener);
    // Recomputes the bold marks from "root" down; true when anything is changed.
    bool UpdateChanges();
    bool UpdateChanges(CVarGroupItem* item);
    bool HasChanges(CVarGroupItem* item) const;
    void SetDefault(CVarGroupItem* item);
    // The first variable whose path below item is name, groups and name
    // compared case-insensitively; null when there is none.
    CVar* FindVar(CVarGroupItem* item, const std::string& name) const;
    // Finds the variable by its path below item and stores the bytes;
    // false when there is no such variable.
    bool SetVar(CVarGroupItem* item, const std::string& name, const void* bytes, unsigned length);
    // Writes the subtree of item in the given format; false on a write error.
    bool SaveItem(CVarGroupItem* item, FILE* file, size_t prefixLength, int format, int depth);
    // The texts from below "root" down to item, each followed by "|".
    void GetFullItemName(CVarGroupItem* item, std::string& out) const;

    CVarGroupItem* Root() const { return root; }
    // Every variable of the tab, in the order they were added.
    const std::vector<std::unique_ptr<CVar>>& AllVars() const { return owned; }
    // Where a command that changes many variables announces itself as one
    // gesture; may be null.
    void SetGestures(CEditGestures* target) { gestures = target; }
    CVarGroupItem* SelectedGroup() const;
    // The group of a "|" path (without the variable's name), or null.
    CVarGroupItem* FindGroup(const std::string& path) const;

    // The commands of the context menu, acting on the selected group.
    void OnSave();
    void OnLoad();
    void OnResetDefaults();
    // Exports the selected subtree to path; reports failures to the user.
    bool SaveToFile(const std::string& path, int format);
    // Imports the binary file at path into the selected subtree.
    void LoadFromFile(const std::string& path);
    // The context menu for the selected item (null when none is selected);
    // each action's data is its command id.
    std::unique_ptr<QMenu> BuildContextMenu();
    void On_Command(int id);

    // The path last saved in this process: the next "Load" starts there.
    static std::string& LastSavedPath();

    void OnVarChanged(const GUID& listId, const char* name, const void* bytes, unsigned length) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void On_RButtonDown(const QPoint& pos);
    void On_RButtonUp(const QPoint& pos, const QPoint& globalPos);

private:
    // Reads one record of an import; false at the end or on Cancel.
    enum class ReadResult { Applied, End, Cancelled, Damaged };
    ReadResult ReadVar(FILE* file, long& remaining);

    // While a command changes many variables at once, the marks are
    // recomputed once at its end instead of after every variable.
    class Batch {
    public:
        explicit Batch(CVarTreeView& tree) : tree(tree), gesture(tree.gestures) { ++tree.batching; }
        ~Batch()
        {
            if (--tree.batching == 0) tree.UpdateChanges();
        }

    private:
        CVarTreeView& tree;
        CGestureScope gesture;  // and undo takes the command back whole
    };
    int batching = 0;
    CEditGestures* gestures = nullptr;

    CVarGroupItem* root = nullptr;
    std::vector<std::unique_ptr<CVar>> owned;
};
