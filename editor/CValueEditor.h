// The extension point of the value column.  A click in the value cell of a
// row of CVarListView activates the in-place editor registered for the
// variable's kind; the value-editor and spline-editor modules fill it.
//
// How a module plugs in:
//   1. Implement CValueEditor, normally as a QWidget subclass that is its own
//      window (GetWindow() returns this).
//   2. Register a factory for the kinds the editor handles, before the first
//      list view is initialised:
//          RegisterValueEditor({VARKIND_INT, VARKIND_DOUBLE, VARKIND_FLOAT},
//              [](CVarListView* list) -> CValueEditor* { return new CVarSpinEdit(list); });
//      Each list view calls every factory once in CVarListView::Init and
//      reuses the editor it got for all rows of those kinds.
//   3. Provide the header "editor/<module>/Install<Module>Editors.h" with a
//      function that does the registrations; editor/InstallEditors.cpp calls
//      it when the header is present (see there), and link the module's
//      library into quillet_editor.
//
// Ownership: the list view never deletes an editor.  The editor's window must
// be a child of CVarListView::EditorParent() and is deleted with the list
// view by Qt; an editor object that is not its own window must be owned by
// its window.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

class CVar;
class CVarListView;
class QWidget;

class CValueEditor {
public:
    virtual ~CValueEditor() = default;

    // The editor's window: a hidden child of list->EditorParent().
    virtual QWidget* GetWindow() = 0;
    // Binds the variable, places the window over the selected row's value
    // cell (CVarListView::GetValueCellRect), shows it and takes the focus.
    // Accepted values go to the variable with SetValue; the row's text is
    // rewritten with CVarListView::SetSelectedValueText.
    virtual void Activate(CVar* variable, CVarListView* list) = 0;
    // Re-places the window over the selected row's value cell; called when
    // the list is resized or scrolled.
    virtual void Resize() = 0;
    // Writes what the user typed and has not written yet, with the checks
    // of Enter; false when the value is refused (the editor beeped and
    // stays open).  Editors that write every change at once have nothing
    // to commit.
    virtual bool Commit() { return true; }
    // Forgets what was typed and not written: Escape, or a value that
    // arrived from outside for the variable being edited.
    virtual void Discard() {}
};

// Creates one editor for the given list view, or null.
using ValueEditorFactory = std::function<CValueEditor*(CVarListView* list)>;

// Registers a factory for the given kind numbers; a later registration for a
// kind replaces the earlier one.
void RegisterValueEditor(std::initializer_list<int> kinds, ValueEditorFactory factory);
// Forgets every registration (tests).
void ClearValueEditors();

struct ValueEditorRegistration {
    std::vector<int> kinds;
    ValueEditorFactory factory;
};
// The registrations in the order they were made.
const std::vector<ValueEditorRegistration>& RegisteredValueEditors();
