// The dialog "Variable List Editor" that hosts the editor window when the
// component shows it as a window of its own, modal or modeless.  While it
// exists its handle sits in the component's open-editor slot, so that only
// one such dialog is open at a time.
#pragma once

#include <functional>

#include <QDialog>

#include "editor/CMainWnd.h"

// What every editor window is opened with.
struct EditorContext {
    IVariableStorage* storage = nullptr;
    CMainWnd::ListMap lists;
    CGUIData* guiData = nullptr;
    IVariableChangedEvent* sink = nullptr;
    // The component's open-editor slot; set to the dialog while it lives.
    std::function<void(HWND)> setOpenEditor;
};

class CMainDlg : public QDialog {
public:
    // 490 by 303 dialog units of the 8-point dialog font.
    static constexpr int kWidth = 735;
    static constexpr int kHeight = 492;
    static constexpr int kMinTrackHeight = 100;

    CMainDlg(QWidget* parent, bool modal, EditorContext context);
    ~CMainDlg() override;

    CMainWnd* Editor() const { return wnd; }
    bool IsModal() const { return modal; }

    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void On_InitDialog();
    void On_Size();
    void On_Close();
    void On_Destroy();

private:
    CMainWnd* wnd = nullptr;
    EditorContext context;
    bool modal;
};
