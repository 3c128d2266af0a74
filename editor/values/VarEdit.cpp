#include "editor/values/VarEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "editor/CVarListView.h"
#include "storage/StrVar.h"

CVarEdit::CVarEdit(CVarListView* list_) : QLineEdit(list_->EditorParent()), list(list_)
{
    setFrame(true);
    hide();
}

void CVarEdit::Activate(CVar* var, CVarListView* list_)
{
    list = list_;
    variable = nullptr;
    if (var && var->GetType() == VARKIND_STRING && dynamic_cast<CStrVar*>(var)) {
        variable = var;
        Resize();
        setText(QString::fromUtf8(var->AsString()));
        selectAll();
    }
    show();
    raise();
    setFocus(Qt::MouseFocusReason);
}

void CVarEdit::Resize()
{
    if (!list)
        return;
    const int row = list->SelectedRow();
    if (row >= 0)
        setGeometry(list->GetValueCellRect(row));
}

void CVarEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Taken here, so that a dialog around the editor never sees them.
    event->accept();
    if (!variable)
        return;
    if (key == Qt::Key_Escape) {
        Discard();
        BackToList();
    } else {
        On_Enter();
    }
}

void CVarEdit::On_Enter()
{
    Write();
    BackToList();
}

void CVarEdit::Write()
{
    // The whole text: a long string is written whole, never cut.
    const QByteArray bytes = text().toUtf8();
    setModified(false);
    list->SetSelectedValueText(bytes.constData());
    // The terminating zero goes with the text: an empty text is one zero byte.
    variable->SetValue(bytes.constData(), static_cast<unsigned>(bytes.size()) + 1);
}

bool CVarEdit::Commit()
{
    // Only a text the user changed: leaving an untouched editor writes nothing.
    if (variable && list && isModified())
        Write();
    return true;
}

void CVarEdit::Discard() { setModified(false); }

void CVarEdit::BackToList()
{
    if (list)
        list->setFocus(Qt::OtherFocusReason);
    hide();
}

void CVarEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The text field's own context menu does not end the edit.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    // Into the list, the list commits: it also knows which click moved the focus.
    const QWidget* to = QApplication::focusWidget();
    if (list && to && (to == list || list->isAncestorOf(to)))
        return;
    if (Commit())
        hide();
}
