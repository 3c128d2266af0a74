// The three ways the component opens its editor window.
#include "component/EditorEntry.h"

#include <QApplication>

#include "component/InstallEditors.h"
#include "component/VariableStorageImpl.h"
#include "editor/CMainDlg.h"

namespace {

EditorContext MakeContext(CVariableStorageImpl* storage, IVariableChangedEvent* sink)
{
    EditorContext context;
    context.storage = storage;
    context.lists = storage->GetListsInUse();
    context.guiData = &storage->GetGUIData();
    context.sink = sink;
    context.setOpenEditor = [storage](HWND window) { storage->SetEditorWindow(window); };
    return context;
}

// Windows need the client's application object; without one nothing opens.
bool Ready(CVariableStorageImpl* storage)
{
    if (!storage || !QApplication::instance()) return false;
    InstallEditors();
    return true;
}

}  // namespace

int32_t EditorCreateModal(CVariableStorageImpl* storage, HWND parent, IVariableChangedEvent* sink)
{
    if (!Ready(storage) || storage->GetEditorWindow()) return 0;
    auto* dialog = new CMainDlg(parent, true, MakeContext(storage, sink));
    const int result = dialog->exec();
    delete dialog;
    return result;
}

HWND EditorCreate(CVariableStorageImpl* storage, HWND parent, IVariableChangedEvent* sink)
{
    if (!Ready(storage)) return nullptr;
    if (HWND open = storage->GetEditorWindow()) {
        open->show();
        open->raise();
        open->activateWindow();
        return open;
    }
    auto* dialog = new CMainDlg(parent, false, MakeContext(storage, sink));
    dialog->show();
    return storage->GetEditorWindow();
}

HWND EditorCreateControl(CVariableStorageImpl* storage, HWND parent, const RECT* rectangle,
                         IVariableChangedEvent* sink)
{
    if (!Ready(storage)) return nullptr;
    const QRect rect = rectangle ? QRect(rectangle->left, rectangle->top, rectangle->right - rectangle->left,
                                         rectangle->bottom - rectangle->top)
                                 : (parent ? parent->rect() : QRect(0, 0, 400, 300));
    EditorContext context = MakeContext(storage, sink);
    auto* window = new CMainWnd(parent, rect, context.storage, context.lists, context.guiData, context.sink);
    window->show();
    return window;
}
