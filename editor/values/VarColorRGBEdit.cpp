#include "editor/values/VarColorRGBEdit.h"

#include <QColorDialog>

#include "editor/CVarListView.h"
#include "storage/ColorRGBVar.h"

CVarColorRGBEdit::CVarColorRGBEdit(CVarListView* list_) : CButtonCell(list_) {}

void CVarColorRGBEdit::Activate(CVar* var, CVarListView* list_)
{
    variable = var && var->GetType() == VARKIND_COLORRGB && dynamic_cast<CColorRGBVar*>(var) ? var : nullptr;
    Open(list_);
}

void CVarColorRGBEdit::On_Command(int id)
{
    if (id != ID_EDIT || !variable || !list)
        return;
    // The variable may be rebound while the dialog runs; keep this one.
    CVar* var = variable;
    CVarListView* rows = list;
    const uint8_t* rgb = (*static_cast<CColorRGBVar*>(var))();
    // The 16 custom colours belong to this one call: the table starts white
    // and what the user puts there goes when the dialog does.
    QColor saved[16];
    for (int i = 0; i < 16; ++i) {
        saved[i] = QColorDialog::customColor(i);
        QColorDialog::setCustomColor(i, Qt::white);
    }
    QColorDialog dialog(QColor(rgb[0], rgb[1], rgb[2]), rows->parentWidget());
    const int answer = dialog.exec();
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, saved[i]);
    if (answer != QDialog::Accepted)
        return;
    const QColor chosen = dialog.selectedColor();
    const uint8_t bytes[3] = {static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                              static_cast<uint8_t>(chosen.blue())};
    var->SetValue(bytes, 3);
    rows->SetSelectedValueText(var->AsString());
    // The row is painted in its colour: all of it changes, not only the text.
    rows->viewport()->update();
}
