// The right pane of an editor tab: the variables of the group selected in
// the tree as rows of name, value and description.  Rows at their default
// are grey, colour rows are painted in their own colour, a click in the
// value column activates the in-place editor of the variable's kind (see
// CValueEditor.h), and the context menu resets one variable to its default.
// From the keyboard: Up and Down move the selection, Enter or F2 open the
// selected row's editor, Tab and Shift+Tab in an editor commit it and open
// the next or previous row's, Backspace or Delete reset the selected row to
// its default.  A changed row carries a marker at its start that a click
// resets, and every row has a tooltip with all there is to know of it.
// The list holds borrowed pointers: the variables belong to the tree view.
#pragma once

#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include <QColor>
#include <QTreeWidget>

#include "storage/Var.h"

class CEditGestures;

class CGUIData;
class CKindImageList;
class CValueEditor;
class QMenu;

class CVarListView : public QTreeWidget {
public:
    enum { ID_SET_DEFAULT = 111 };
    enum Column { COL_NAME = 0, COL_VALUE = 1, COL_DESCRIPTION = 2 };

    explicit CVarListView(QWidget* parent);

    // Columns with their stored widths, the kind icons and the editors.
    void Init(const CKindImageList* images, CGUIData* guiData);
    // Clears the rows and the sort state and hides the editors.
    void Reset();
    // Appends a row for the variable; returns its index.
    int AddVariable(CVar* var);
    // The rows of a filter: the variables as given (already in the order
    // Sort(1) would give them by these names), each named by its full
    // path so that its group shows.  Replaces what the list showed.
    void ShowFound(const std::vector<CVar*>& found);
    // 1 ascending, -1 descending by name; anything else keeps the order.
    void Sort(int direction);
    // The ascending order of rows: the first 255 bytes of their names, as
    // unsigned characters.
    static bool NameBelow(std::string_view a, std::string_view b);
    int SortState() const { return sortState; }

    int RowCount() const { return topLevelItemCount(); }
    CVar* RowVar(int row) const;
    int SelectedRow() const;
    CVar* SelectedVar() const;
    void SelectRow(int row);
    // Rewrites the value column of a row / of the selected row.
    void SetValueText(int row, const char* text);
    void SetSelectedValueText(const char* text);
    // Rewrites every value text from its variable and repaints.
    void Redraw();
    // var got a value from outside this list's editors: an editor open on
    // it would show and act on the old one, so it closes; the rows show
    // the new value.
    void ShowChangedValue(const CVar* var);

    // The colours a row is painted with: text colour, and a background
    // when the row has one of its own.
    struct RowColours {
        QColor text;
        bool hasBackground = false;
        QColor background;
    };
    RowColours On_CustomDraw(int row) const;

    // For the in-place editors: where they live and where the cell is.
    QWidget* EditorParent() const;
    // The value cell of a row in EditorParent() coordinates.
    QRect GetValueCellRect(int row) const;
    // Commits what the open editors hold (a refused value is dropped after
    // its beep), then hides them.
    void HideEditors();
    // Where the value editors bracket a change made of many writes (a
    // slider drag, a curve edited with the mouse); may be null.
    CEditGestures* Gestures() const { return gestures; }
    void SetGestures(CEditGestures* target) { gestures = target; }
    // The editor registered for a kind, or null.
    CValueEditor* EditorForKind(int kind) const;
    // What a click at pos (viewport coordinates) does: selects the row and,
    // in the value column, activates its editor; on a row's reset marker it
    // resets the row.  False when no row is there.
    bool On_LButtonUp(const QPoint& pos);
    // Activates the editor of a row's kind over its value cell; false when
    // the row has none.
    bool OpenEditor(int row);
    // "Set Default" of the selected row, when it is not at its default.
    void ResetSelected();
    // The marker of a changed row, in viewport coordinates; empty for a
    // row at its default.
    QRect ResetMarkerRect(int row) const;
    // The editor that holds the focus, or null.
    CValueEditor* FocusedEditor() const;
    // The "Set Default" menu of the selected row, or null with none.
    std::unique_ptr<QMenu> BuildContextMenu();
    void On_Command(int id);
    void On_ColumnClick(int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void On_Size();
    void On_HeaderItemChanging();

private:
    void ResizeEditors();
    // Tab in an editor: commit it, then the editor of the row next to it.
    void On_EditorTab(bool forward);

    std::vector<CVar*> vars;
    std::vector<CValueEditor*> editors;        // each once
    std::map<int, CValueEditor*> editorByKind;  // kind -> editor
    int sortState = 0;
    CGUIData* guiData = nullptr;
    const CKindImageList* images = nullptr;
    bool initialising = false;
    CEditGestures* gestures = nullptr;
    // An editor refused what it held when a click took the focus from it:
    // that click and its release do nothing, and the editor gets the focus back.
    bool holdClick = false;
    bool swallowRelease = false;
};
