// The "Props Editor" dialog of a property-set variable.  It hosts the
// outside property editor: the variable's attribute component hands out a
// data stream, the stream names the properties class that builds the object
// the editor shows, and every change the editor reports is written back to
// the variable as the attribute set's "CF_ATR" block.  Any step that fails
// leaves the dialog empty.
#pragma once

#include <QDialog>
#include <QPointer>

#include "storage/api/PropertyEditorApi.h"

class CPropsVar;

class CPropsView : public QDialog {
public:
    // Template 215: 490 by 303 dialog units.
    static constexpr int kWidthUnits = 490;
    static constexpr int kHeightUnits = 303;

    // Creates the property editor; the dialog is set up by On_InitDialog.
    CPropsView(CPropsVar* variable, QWidget* owner);
    ~CPropsView() override;

    // Runs the dialog modally; 1 when it was closed.
    int Run();

    // The editor's window, or null when the dialog stayed empty.
    QWidget* GetEditorWindow() const { return editorWindow.data(); }
    bool HasEditor() const { return static_cast<bool>(editor); }

    // The property editor reported a change.
    void OnPropertyChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class CEvent;

    // Steps 1 to 7 of setting up; false at the first that fails.
    bool On_InitDialog();
    void On_Size();

    CPropsVar* variable;
    IPropertyEditorPtr editor;
    CEvent* sink = nullptr;
    QPointer<QWidget> editorWindow;
};
