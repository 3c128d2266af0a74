#include "editor/CMainDlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

CMainDlg::CMainDlg(QWidget* parent, bool isModal, EditorContext ctx)
    : QDialog(parent), context(std::move(ctx)), modal(isModal)
{
    setWindowTitle("Variable List Editor");
    setSizeGripEnabled(false);
    setMinimumSize(0, kMinTrackHeight);
    resize(kWidth, kHeight);
    // Centred on the owner, or on the screen without one.
    const QRect area = parent ? parent->window()->geometry()
                              : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                  : QRect(0, 0, kWidth, kHeight));
    move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    if (!modal) setAttribute(Qt::WA_DeleteOnClose);
    On_InitDialog();
}

CMainDlg::~CMainDlg() { On_Destroy(); }

void CMainDlg::On_InitDialog()
{
    wnd = new CMainWnd(this, rect(), context.storage, context.lists, context.guiData, context.sink);
    if (context.setOpenEditor) context.setOpenEditor(this);
}

void CMainDlg::resizeEvent(QResizeEvent*) { On_Size(); }

void CMainDlg::On_Size()
{
    if (wnd) wnd->setGeometry(rect());
}

void CMainDlg::closeEvent(QCloseEvent* event)
{
    On_Close();
    event->accept();
}

// Escape closes the dialog as its close button does.
void CMainDlg::reject() { close(); }

void CMainDlg::On_Close()
{
    if (modal) done(1);
    // Modeless: the close destroys the dialog (delete on close).
}

void CMainDlg::On_Destroy()
{
    if (context.setOpenEditor) context.setOpenEditor(nullptr);
    context.setOpenEditor = nullptr;
    // The editor goes before the dialog's own teardown: it writes the
    // layout record and drops its reference on the component.
    delete wnd;
    wnd = nullptr;
}
