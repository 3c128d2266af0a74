#include "editor/values/VarCombobox.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>

#include "editor/CVarListView.h"
#include "storage/EnumVar.h"

CVarCombobox::CVarCombobox(CVarListView* list_) : QComboBox(list_->EditorParent()), list(list_)
{
    setEditable(false);
    // Only a choice of the user writes; filling the list does not.
    connect(this, &QComboBox::activated, this, [this](int index) { On_SelChange(index); });
    hide();
}

void CVarCombobox::Activate(CVar* var, CVarListView* list_)
{
    list = list_;
    if (var && var->GetType() == VARKIND_ENUM && dynamic_cast<CEnumVar*>(var)) {
        auto* e = static_cast<CEnumVar*>(var);
        clear();
        variable = nullptr;
        for (int i = 0; i < e->GetCount(); ++i) {
            const char* label = e->GetLabel(i);
            addItem(QString::fromUtf8(label ? label : ""));
        }
        variable = var;
        // The drop-down list opens below the cell; it needs no room in the cell.
        Resize();
        setCurrentIndex(e->GetValue() >= 0 && e->GetValue() < count() ? e->GetValue() : -1);
    } else {
        variable = nullptr;
    }
    show();
    raise();
    setFocus(Qt::MouseFocusReason);
}

void CVarCombobox::Resize()
{
    if (!list)
        return;
    const int row = list->SelectedRow();
    if (row >= 0)
        setGeometry(list->GetValueCellRect(row));
}

void CVarCombobox::On_SelChange(int index)
{
    if (!variable || !list || index < 0)
        return;
    list->SetSelectedValueText(itemText(index).toUtf8().constData());
    const int32_t value = index;
    variable->SetValue(&value, 4);
    list->setFocus(Qt::OtherFocusReason);
    hide();
}

void CVarCombobox::keyPressEvent(QKeyEvent* event)
{
    // Taken here, like the text editors do, so that a dialog around the
    // editor never closes while the edit is open.  The drop-down list
    // closes itself on Escape before the key gets here.
    if (event->key() == Qt::Key_Escape && !view()->isVisible()) {
        event->accept();
        if (list)
            list->setFocus(Qt::OtherFocusReason);
        hide();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CVarCombobox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Its own drop-down list takes the keyboard as a popup; where the
    // window system makes that list the active window, the edit stays open
    // as well.
    if (event->reason() != Qt::PopupFocusReason && !view()->isVisible())
        hide();
}
